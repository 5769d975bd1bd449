#pragma once
// The program's message boxes. Every message goes through message() or
// notice(): one title, one hook for tests and screenshots, and a question that
// offers "No" or "Cancel" has it as its default button, so a stray Enter never
// confirms a destructive step.

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace roadtally::kit {

// The title of the program's messages.
inline const QString Title = QStringLiteral("Roadtally");

// Takes the place of every message box while installed (tests, screenshots):
// it gets the shown title and text and returns the button "chosen".
using MessageHook = std::function<QMessageBox::StandardButton(
    QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
    QMessageBox::StandardButtons buttons)>;
MessageHook &messageHook();

// Shows a modal message box and returns the button chosen. An empty title is
// Title. The default button is "No", else "Cancel", when the buttons hold one.
// details, when given, is shown only on asking for the box's "Details" (a
// database engine's own words); the hook gets the text without it.
QMessageBox::StandardButton message(QWidget *parent, const QString &text,
                                    const QString &title = QString(),
                                    QMessageBox::Icon icon = QMessageBox::NoIcon,
                                    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                    const QString &details = QString());

// A message with Title and an OK button that does not block the handler
// showing it (for views that go on drawing behind it).
void notice(QWidget *parent, const QString &text, QMessageBox::Icon icon = QMessageBox::Warning,
            const QString &details = QString());

// message() once the window is on screen, not from inside its showing or painting.
void messageLater(QWidget *parent, const QString &text,
                  QMessageBox::Icon icon = QMessageBox::Warning,
                  const QString &details = QString());

} // namespace roadtally::kit

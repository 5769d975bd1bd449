#pragma once
// The message boxes of the intake windows go through one function, so the
// windows can be driven without a person at the screen (tests, screenshots).

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace roadtally {

// The program's title for message boxes that name no other.
inline constexpr const char *ProgramTitle = "Roadtally";

using IntakeMessageFunction = std::function<QMessageBox::StandardButton(
    QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
    QMessageBox::StandardButtons buttons)>;

// The function in use; empty means a real message box.
IntakeMessageFunction &intakeMessageFunction();

// Shows a message box (or hands it to the installed function) and returns the
// button chosen.
QMessageBox::StandardButton intakeMessage(QWidget *parent, const QString &text,
                                          const QString &title = QString::fromLatin1(ProgramTitle),
                                          QMessageBox::Icon icon = QMessageBox::NoIcon,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok);

} // namespace roadtally

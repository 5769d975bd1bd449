#include "gui/kit/Message.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace roadtally::kit {

namespace {

QMessageBox *makeBox(QWidget *parent, const QString &text, const QString &title,
                     QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                     const QString &details)
{
    // The program's texts break their lines with CR LF; a label wants one break.
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    auto *box = new QMessageBox(icon, title, plain, buttons, parent);
    if (!details.isEmpty())
        box->setDetailedText(details);
    if (buttons.testFlag(QMessageBox::No))
        box->setDefaultButton(QMessageBox::No);
    else if (buttons.testFlag(QMessageBox::Cancel))
        box->setDefaultButton(QMessageBox::Cancel);
    return box;
}

} // namespace

MessageHook &messageHook()
{
    static MessageHook hook;
    return hook;
}

QMessageBox::StandardButton message(QWidget *parent, const QString &text, const QString &title,
                                    QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                    const QString &details)
{
    const QString shownTitle = title.isEmpty() ? Title : title;
    if (const MessageHook &hook = messageHook())
        return hook(parent, icon, shownTitle, text, buttons);
    // A message box shows the normal pointer even over a busy window.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox *box = makeBox(parent, text, shownTitle, icon, buttons, details);
    const auto chosen = static_cast<QMessageBox::StandardButton>(box->exec());
    delete box;
    if (busy)
        QApplication::restoreOverrideCursor();
    return chosen;
}

void notice(QWidget *parent, const QString &text, QMessageBox::Icon icon, const QString &details)
{
    if (const MessageHook &hook = messageHook()) {
        hook(parent, icon, Title, text, QMessageBox::Ok);
        return;
    }
    QMessageBox *box = makeBox(parent, text, Title, icon, QMessageBox::Ok, details);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void messageLater(QWidget *parent, const QString &text, QMessageBox::Icon icon,
                  const QString &details)
{
    QPointer<QWidget> self(parent);
    QTimer::singleShot(0, parent, [self, text, icon, details] {
        if (self)
            message(self, text, QString(), icon, QMessageBox::Ok, details);
    });
}

} // namespace roadtally::kit

#include "gui/kit/AdminMessage.h"

#include <QApplication>

namespace roadtally {

AdminMessageFunction &adminMessageFunction()
{
    static AdminMessageFunction function;
    return function;
}

QMessageBox::StandardButton adminMessage(QWidget *parent, const QString &text, const QString &title,
                                         QMessageBox::Icon icon,
                                         QMessageBox::StandardButtons buttons)
{
    const QString shownTitle = title.isEmpty() ? QStringLiteral("Roadtally") : title;
    if (const AdminMessageFunction &function = adminMessageFunction())
        return function(parent, icon, shownTitle, text, buttons);
    // A message box shows the normal pointer even over a busy window.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    // The program's texts break their lines with CR LF; a label wants one break.
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, shownTitle, plain, buttons, parent);
    if (buttons.testFlag(QMessageBox::No))
        box.setDefaultButton(QMessageBox::No);
    else if (buttons.testFlag(QMessageBox::Cancel))
        box.setDefaultButton(QMessageBox::Cancel);
    const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    if (busy)
        QApplication::restoreOverrideCursor();
    return chosen;
}

BusyPointer::BusyPointer()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer()
{
    release();
}

void BusyPointer::release()
{
    if (m_active) {
        m_active = false;
        QApplication::restoreOverrideCursor();
    }
}

} // namespace roadtally

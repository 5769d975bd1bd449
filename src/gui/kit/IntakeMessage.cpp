#include "gui/kit/IntakeMessage.h"

#include <QApplication>

namespace roadtally {

IntakeMessageFunction &intakeMessageFunction()
{
    static IntakeMessageFunction function;
    return function;
}

QMessageBox::StandardButton intakeMessage(QWidget *parent, const QString &text,
                                          const QString &title, QMessageBox::Icon icon,
                                          QMessageBox::StandardButtons buttons)
{
    if (const IntakeMessageFunction &function = intakeMessageFunction())
        return function(parent, icon, title, text, buttons);
    // A message box must show the normal pointer even over a busy window.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(icon, title, text, buttons, parent);
    const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    if (busy)
        QApplication::restoreOverrideCursor();
    return chosen;
}

} // namespace roadtally

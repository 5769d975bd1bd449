#include "gui/admin/Blankform.h"

#include "gui/kit/WindowPlacement.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace roadtally {

Blankform::Blankform(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QString());
    setWindowFlag(Qt::Window);
    setAutoFillBackground(true);
    // Most of the screen, so the desktop behind stays out of the way while the
    // main window is closed.
    QScreen *screen = QGuiApplication::primaryScreen();
    const QSize area = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    resize(area.width() * 9 / 10, area.height() * 9 / 10);
    placeOnScreen(this);
}

void Blankform::Form_Click()
{
    Q_EMIT databaseManagementRequested();
}

void Blankform::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Form_Click();
    QWidget::mouseReleaseEvent(event);
}

} // namespace roadtally

#include "gui/kit/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace roadtally {

void placeOnScreen(QWidget *window, int extraTwips)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    // The frame is known once the platform window exists; the placement is of the
    // whole window, frame included.
    if (window->isWindow() && !window->testAttribute(Qt::WA_WState_Created))
        window->winId();
    const QSize size = window->frameGeometry().size();
    const int extra = extraTwips * window->logicalDpiY() / 1440;
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height() + extra) / 2);
}

} // namespace roadtally

#include "gui/kit/ClickLabel.h"

#include <QMouseEvent>

namespace roadtally {

ClickLabel::ClickLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setClickable(true);
}

void ClickLabel::setClickable(bool on)
{
    m_clickable = on;
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (m_clickable && isEnabled() && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

} // namespace roadtally

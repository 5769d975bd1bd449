#include "gui/kit/BusyPointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace roadtally::kit {

BusyPointer::BusyPointer()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyPointer::~BusyPointer()
{
    release();
}

void BusyPointer::release()
{
    if (m_active) {
        m_active = false;
        QGuiApplication::restoreOverrideCursor();
    }
}

} // namespace roadtally::kit

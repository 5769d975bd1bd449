#include "gui/kit/EnterKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace roadtally::kit {

namespace {

class EnterKeyFilter : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        // Push and tool buttons only: a check box or an option is set with Space.
        auto *button = qobject_cast<QAbstractButton *>(watched);
        if (!button ||
            !(qobject_cast<QPushButton *>(button) || qobject_cast<QToolButton *>(button)))
            return false;
        if (!button->hasFocus() || !button->isEnabled())
            return false;
        button->animateClick();
        return true;
    }
};

} // namespace

void installEnterKey()
{
    static EnterKeyFilter *filter = nullptr;
    if (filter)
        return;
    filter = new EnterKeyFilter;
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
}

} // namespace roadtally::kit

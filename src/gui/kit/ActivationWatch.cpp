#include "gui/kit/ActivationWatch.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QWidget>

namespace roadtally {

namespace {

// What the program's active window was, recorded when it became active: the
// window may be gone (a message box deleted on close) by the time the next
// window becomes active.
struct ActiveWindow
{
    bool present = false; // false: no window of the program was active
    QPointer<QWidget> window;
    QPointer<QWidget> owner; // the window a dialog belongs to
    bool ownerless = false;
    bool dialog = false;
    bool transient = false; // popup or tool tip
};

ActiveWindow describe(QWidget *window)
{
    ActiveWindow d;
    d.present = true;
    d.window = window;
    d.dialog = qobject_cast<QDialog *>(window) != nullptr;
    const Qt::WindowType type = window->windowType();
    d.transient = type == Qt::Popup || type == Qt::ToolTip;
    QWidget *parent = window->parentWidget();
    d.owner = parent ? parent->window() : nullptr;
    d.ownerless = parent == nullptr;
    return d;
}

// Follows which top-level window of the program is active. As an application
// filter it sees a window's activation before the window's own filters do, so
// a watch finds in from() the window the activation came from.
//
// Hiding or closing the active window leaves the program without an active
// window until the next one is activated: that gap still comes from the
// window that went away. Only a window that stays on screen while the program
// loses the activation (the user went to another application, or minimised the
// window) makes the next activation one from outside the program.
class ActiveWindowTracker : public QObject
{
public:
    static ActiveWindowTracker &instance()
    {
        static ActiveWindowTracker *tracker = [] {
            auto *t = new ActiveWindowTracker(qApp);
            qApp->installEventFilter(t);
            return t;
        }();
        return *tracker;
    }

    const ActiveWindow &from() const { return m_from; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::WindowActivate && type != QEvent::WindowDeactivate)
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || !widget->isWindow())
            return false;
        if (type == QEvent::WindowActivate) {
            m_from = m_lostToOutside ? ActiveWindow() : m_last;
            m_last = describe(widget);
            m_lostToOutside = false;
        } else if (!QApplication::activeWindow() && m_last.window == widget &&
                   !widget->isHidden()) {
            m_lostToOutside = true; // still on screen (perhaps minimised), yet inactive
        }
        return false;
    }

private:
    using QObject::QObject;
    ActiveWindow m_last; // the program's active window, or the last one
    ActiveWindow m_from; // where the latest activation came from
    bool m_lostToOutside = false;
};

bool comesFromAnotherProgramWindow(const ActiveWindow &from, const QWidget *window)
{
    if (!from.present || from.transient)
        return false;
    if (from.window == window)
        return false;
    if (from.dialog && (from.ownerless || from.owner == window))
        return false;
    return true;
}

} // namespace

ActivationWatch::ActivationWatch(QWidget *window, std::function<void()> step, Trigger trigger)
    : QObject(window), m_window(window), m_step(std::move(step)), m_trigger(trigger)
{
    ActiveWindowTracker::instance();
    window->installEventFilter(this);
    m_firstActivationPending = window->isVisible();
}

bool ActivationWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        // Shown by the program (not a window system's re-show of a minimised window).
        if (!event->spontaneous()) {
            if (m_trigger == WhenShown)
                run();
            else
                m_firstActivationPending = true;
        }
        break;
    case QEvent::Hide:
        if (!event->spontaneous())
            m_firstActivationPending = false;
        break;
    case QEvent::WindowActivate:
        if (m_trigger != WhenActivated)
            break;
        if (m_firstActivationPending) {
            m_firstActivationPending = false;
            run();
        } else if (comesFromAnotherProgramWindow(ActiveWindowTracker::instance().from(),
                                                 m_window)) {
            run();
        }
        break;
    default:
        break;
    }
    return false;
}

void ActivationWatch::run()
{
    ++m_runs;
    if (m_step)
        m_step();
}

} // namespace roadtally

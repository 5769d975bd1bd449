#pragma once
// Decides when a window's activation step (its Form_Activate) runs. The step
// belongs to the window becoming the program's active window: it runs
//  - the first time the window becomes active after it was shown, and
//  - whenever it becomes active coming from another window of this program;
// not when the user comes back from another application, and not when a dialog
// over the window closes (a message box, a file or print dialog: any QDialog
// owned by the window, or one without an owner), nor after a popup.
//
// Use: in the window's constructor, new ActivationWatch(this, [this] { Form_Activate(); });
// Windows whose step must have run by the time show() returns (their lists
// filled before the user sees them) pass WhenShown: the step then runs each
// time the program shows the window, and at no activation.

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace roadtally {

class ActivationWatch : public QObject
{
    Q_OBJECT
public:
    enum Trigger { WhenActivated, WhenShown };

    ActivationWatch(QWidget *window, std::function<void()> step, Trigger trigger = WhenActivated);

    // How often the step ran (for tests and diagnostics).
    int runs() const { return m_runs; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void run();

    QPointer<QWidget> m_window;
    std::function<void()> m_step;
    Trigger m_trigger;
    bool m_firstActivationPending = false;
    int m_runs = 0;
};

} // namespace roadtally

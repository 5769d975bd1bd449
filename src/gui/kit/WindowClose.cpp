#include "gui/kit/WindowClose.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QShortcut>
#include <QWidget>

namespace roadtally::kit {

namespace {

// Turns the frame's close of a shown window into the window's command.
class CloseThroughCommand : public QObject
{
public:
    CloseThroughCommand(QWidget *window, std::function<void()> command)
        : QObject(window), m_window(window), m_command(std::move(command))
    {
        window->installEventFilter(this);
    }

    void run()
    {
        if (m_running)
            return;
        m_running = true;
        m_command();
        m_running = false;
    }

    // Escape closes what is open on top first: a drop-down list or a menu
    // takes it, and the window and what was typed in it stay.
    void escape()
    {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            if (auto *combo = qobject_cast<QComboBox *>(popup->parentWidget()))
                combo->hidePopup();
            else
                popup->close();
            return;
        }
        run();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::KeyPress) {
            // Escape that no control of the window took (the shortcut takes it
            // first while the window is the active one).
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                escape();
                return true;
            }
        }
        if (watched == m_window && event->type() == QEvent::Close && !m_running &&
            m_window->isVisible()) {
            run();
            // Closed when the command hid the window; refused when it left it
            // shown (a Cancel that is out of reach, or a step the user declined).
            event->setAccepted(!m_window->isVisible());
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
    std::function<void()> m_command;
    bool m_running = false;
};

} // namespace

void closeThrough(QWidget *window, QAbstractButton *button)
{
    closeThrough(window, [button] { button->click(); });
}

void closeThrough(QWidget *window, std::function<void()> command)
{
    auto *filter = new CloseThroughCommand(window, std::move(command));
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, filter, [filter] { filter->escape(); });
}

} // namespace roadtally::kit

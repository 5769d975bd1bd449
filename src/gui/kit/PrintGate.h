#pragma once
// A view's print button: enabled only while the view shows a current chart or
// table (the view says so) and its window allows printing (the window only
// gates; it never enables a button whose view has nothing current to print).

#include <QAbstractButton>
#include <QPointer>

namespace roadtally::kit {

class PrintGate
{
public:
    explicit PrintGate(QAbstractButton *button = nullptr) : m_button(button) { update(); }

    void setButton(QAbstractButton *button)
    {
        m_button = button;
        update();
    }
    // The view: what it shows is current (drawn for its choices as they stand).
    void setCurrent(bool current)
    {
        m_current = current;
        update();
    }
    // The window: printing allowed at all.
    void setAllowed(bool allowed)
    {
        m_allowed = allowed;
        update();
    }
    bool isCurrent() const { return m_current; }
    bool isAllowed() const { return m_allowed; }

private:
    void update()
    {
        if (m_button)
            m_button->setEnabled(m_current && m_allowed);
    }

    QPointer<QAbstractButton> m_button;
    bool m_current = false;
    bool m_allowed = true;
};

} // namespace roadtally::kit

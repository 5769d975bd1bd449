#pragma once
// The message boxes and the busy pointer of the administration windows. Message
// boxes go through one function, so the windows can be driven without a person
// at the screen (tests, screenshots).

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace roadtally {

using AdminMessageFunction = std::function<QMessageBox::StandardButton(
    QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
    QMessageBox::StandardButtons buttons)>;

// The function in use; empty means a real message box.
AdminMessageFunction &adminMessageFunction();

// Shows a message box (or hands it to the installed function) and returns the
// button chosen. An empty title is the program's title "Roadtally". The
// default button is the last of the buttons: "No" or "Cancel" where a question
// asks for a destructive step, so a stray Enter destroys nothing.
QMessageBox::StandardButton adminMessage(QWidget *parent, const QString &text,
                                         const QString &title = {},
                                         QMessageBox::Icon icon = QMessageBox::NoIcon,
                                         QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// The busy pointer over every window of the program for as long as it lives.
class BusyPointer
{
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
    // The normal pointer again before the object ends.
    void release();

private:
    bool m_active = true;
};

} // namespace roadtally

#pragma once
// The empty backdrop shown behind the "Database Management" window while the
// main window is closed.

#include <QWidget>

namespace roadtally {

class Blankform : public QWidget
{
    Q_OBJECT
public:
    explicit Blankform(QWidget *parent = nullptr);

    // A click on the backdrop: the "Database Management" window comes to the front.
    void Form_Click();

Q_SIGNALS:
    // Emitted by a click; the "Database Management" window connects here to raise
    // itself above the backdrop. Nothing happens while nobody is connected.
    void databaseManagementRequested();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace roadtally

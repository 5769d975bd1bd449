#pragma once
// "Delete Database": after a question, erases every survey (all rows of the six
// survey tables) in one step. It tells the main window what happened; it never
// sets the main window's controls.

#include <QWidget>

class QLabel;
class QPushButton;

namespace roadtally {

class DeleteDB : public QWidget
{
    Q_OBJECT
public:
    explicit DeleteDB(QWidget *parent = nullptr);

    QPushButton *Command2 = nullptr; // "Delete Complete Database"
    QPushButton *Command1 = nullptr; // "Close"

    void Command2_Click();
    void Command1_Click();

Q_SIGNALS:
    // Every survey was erased (anythingDeleted: whether there were rows to erase);
    // the main window stops showing the survey it showed.
    void databaseErased(bool anythingDeleted);
    // The window closed; the main window takes input again. The start panel is
    // never asked for: a deleted survey the main window showed is its own business.
    void closed(bool showStartPanel);

private:
    void Form_Load();
};

} // namespace roadtally

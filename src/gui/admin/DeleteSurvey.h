#pragma once
// "Delete Survey": lists the stored batch numbers and deletes the chosen survey
// from its per-survey tables. It tells the main window what it deleted; it never
// sets the main window's controls.

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace roadtally {

class DeleteSurvey : public QWidget
{
    Q_OBJECT
public:
    explicit DeleteSurvey(QWidget *parent = nullptr);

    QListWidget *Batch_List = nullptr;
    QGroupBox *Frame1 = nullptr; // "Delete Batch"
    QLineEdit *Choice = nullptr;
    QPushButton *Command5 = nullptr; // "Delete Selected "
    QPushButton *Command1 = nullptr; // "Close"

    // Event handlers, public so that the program and its tests drive them alike.
    void Batch_List_Click(QListWidgetItem *item);
    void Command5_Click();
    void Command1_Click();

    // Fills the list with the surveys stored now; a database that cannot be read is told.
    void fillList();

Q_SIGNALS:
    // A survey was deleted; the main window stops showing it if it is the one shown.
    void surveyDeleted(const QString &batch);
    // The window closed; the main window takes input again. The start panel is
    // never asked for: a deleted survey the main window showed is its own business.
    void closed(bool showStartPanel);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
};

} // namespace roadtally

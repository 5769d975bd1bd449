#pragma once
// "Open / Select Survey": lists the stored surveys and makes the chosen one the
// current survey of the main window (moves its Data2 and Data3 to the survey).

#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace roadtally {

class frmOpenSurvey : public QWidget
{
    Q_OBJECT
public:
    explicit frmOpenSurvey(QWidget *parent = nullptr);

    QListWidget *Batch_List = nullptr;
    QLineEdit *BatchChoice = nullptr;
    QPushButton *Command2 = nullptr; // "Name" (column heading)
    QPushButton *Command3 = nullptr; // "Date"
    QPushButton *Command4 = nullptr; // "Time"
    QPushButton *Command5 = nullptr; // "Location / Description"
    QPushButton *Command6 = nullptr; // "Open Selected"
    QPushButton *Command1 = nullptr; // "Cancel"

    // Event handlers, public so that the program and its tests drive them alike.
    void Form_Activate();
    void Batch_List_Click(QListWidgetItem *item);
    void Batch_List_DblClick(QListWidgetItem *item);
    void Command6_Click();
    void Command1_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void place(int extraTwips);
    void fillList();
    // Steps of choosing a survey: refresh the main window's sources, then move
    // them to the batch number in BatchChoice.
    void findChosenSurvey();
    // Steps of opening: hide, show the summary panel, reset the main window's views.
    void openChosenSurvey();
    void alignHeadings();
};

} // namespace roadtally

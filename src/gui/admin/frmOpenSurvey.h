#pragma once
// "Open / Select Survey": lists the stored surveys and makes the chosen one the
// current survey of the main window. It tells the main window what the user
// did (surveySelected, surveyChosen, closed); the main window moves its own
// sources and resets its own views.

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

signals:
    // A line was chosen (click, keys or double click): the batch number of the
    // line (its first 10 characters). The survey's sources follow at once.
    void surveySelected(const QString &batch);
    // The chosen survey was opened (double click or "Open Selected"); the
    // window has hidden itself.
    void surveyChosen(const QString &batch);
    // "Cancel": the window has hidden itself without opening a survey.
    void closed(bool showStartPanel);

private:
    void Form_Load();
    void place(int extraTwips);
    void fillList();
    // Steps of choosing a survey: BatchChoice cut to the batch number, which
    // the main window's sources move to.
    void findChosenSurvey();
    // BatchChoice shows the batch number of a list line.
    void showChoice(const QString &line);
    // Steps of opening: hide and tell the main window.
    void openChosenSurvey();
    void alignHeadings();
};

} // namespace roadtally

#pragma once
// "Load Radar Data File": picks a raw data file (*.ovd) of the survey folder,
// loads it into the processing window or deletes it; "Browse..." and a file
// dropped on the window bring one in from elsewhere. It tells the main window
// what happened (closed, fileDeleted); it never reaches into it.

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace roadtally {

class frmLoadDataFile : public QWidget
{
    Q_OBJECT
public:
    explicit frmLoadDataFile(QWidget *parent = nullptr);

    // Controls (the program's own names).
    QListWidget *File1 = nullptr; // the *.ovd files of the survey folder
    QLineEdit *FileName = nullptr;
    QPushButton *File = nullptr; // "Load File"
    QPushButton *DeleteFile = nullptr;
    QPushButton *Cancel = nullptr;
    QPushButton *Browse = nullptr; // "Browse...": a data file from another folder
    QLabel *Prompt = nullptr;
    QLabel *Label3 = nullptr; // folder of the chosen file
    QLabel *Label1 = nullptr; // "Path:"
    QLabel *Label6 = nullptr; // "File Type: *.ovd"

    // Shows the window in load mode, as the main window's load commands do:
    // list enabled, "Load File", delete disabled.
    void showLoadMode();

    // The data files of a folder as the list shows them: regular files whose
    // name ends in ".ovd" in any case, sorted without regard to case.
    static QStringList dataFilesIn(const QString &folder);

    // True when name is a file the list may show: a plain data file name that
    // exists in the survey folder.
    static bool isListedDataFile(const QString &folder, const QString &name);

    void Form_Load();
    void Form_Activate();
    void File1_Click();
    void File_Click();
    void DeleteFile_Click();
    void Cancel_Click();
    void Browse_Click();

    // Copies a raw data file from anywhere into the survey folder (never moves
    // it; a different file of the same name is replaced only when the user
    // agrees, an identical one is just chosen), lists it and loads it as a click
    // on it and "Load File" would. False, after saying why, when it was not loaded.
    bool takeDataFile(const QString &path);

signals:
    // The window has hidden itself (Cancel, or the processing window it handed
    // a loaded file to was closed): the main window is usable again and, when
    // asked, shows its start panel.
    void closed(bool showStartPanel);
    // The processing window this window handed a loaded file to stored a survey.
    void surveyStored(const QString &batch, int vehicles);
    // A data file was deleted; the window stays open.
    void fileDeleted(const QString &name);

protected:
    // Enter in the file list loads the file under the cursor.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool loadFile();
    void refreshList();
};

} // namespace roadtally

#pragma once
// "Database Management": backup with compaction, repair, replacement by the
// blank database and restore from the backup, on the files of the program
// folder. The main window is closed while it is open; its Close button hides it
// and the backdrop and signals that the main window is to be created anew.

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

namespace roadtally {

class DBManagement : public QWidget
{
    Q_OBJECT
public:
    explicit DBManagement(QWidget *parent = nullptr);

    QFrame *Imprint2 = nullptr;       // holds the four action buttons
    QPushButton *Command15 = nullptr; // "Backup Database"
    QPushButton *Command18 = nullptr; // "Repair Database"
    QPushButton *ReplaceDB = nullptr; // "Replace Database"
    QPushButton *RestoreDB = nullptr; // "Restore Backup Database"
    QPushButton *Command1 = nullptr;  // "Close"
    QLabel *Label29 = nullptr;        // "CAUTION: Repair Database Before Backup"
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;

    void Command15_Click();
    void Command18_Click();
    void ReplaceDB_Click();
    void RestoreDB_Click();
    void Command1_Click();

Q_SIGNALS:
    // Before a file step: every window lets go of the database (bound sources,
    // cursors, pending edits).
    void releaseDatabase();
    // After a file step that changed OV97.mdb: windows that show data read it anew.
    void databaseChanged();
    // The window closed; the main window is to be created anew.
    void closed();

private:
    void Form_Load();
    // Lets go of the database everywhere in the program before a file step.
    void release();
    void comeToFront();
    QString folder() const;
};

} // namespace roadtally

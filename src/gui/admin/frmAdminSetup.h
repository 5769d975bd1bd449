#pragma once
// "Administration Setup": the agency name and address that head the reports, the
// officers who may sign them and the two report options. It keeps the agency
// row, the officer rows and the settings row through AgencySettings and tells the
// main window what happened by signals; it never touches the main window.

#include "core/store/DatabaseSession.h"
#include "core/survey/AgencySettings.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace roadtally {

class frmAdminSetup : public QWidget
{
    Q_OBJECT
public:
    explicit frmAdminSetup(QWidget *parent = nullptr);

    QLineEdit *Text1 = nullptr; // agency name, under "Name of agency"
    QLineEdit *Text2 = nullptr; // "Address 1"
    QLineEdit *Text3 = nullptr; // "Address 2"
    QListWidget *List1 = nullptr;
    QLineEdit *InputOfficer = nullptr; // the chosen officer's name, or a new one
    QPushButton *AddOfficer = nullptr;
    QPushButton *DeleteOfficer = nullptr;
    QPushButton *Refresh = nullptr;
    QCheckBox *Check1 = nullptr; // "Include officer name on all forms and reports"
    QCheckBox *Check2 = nullptr; // "Include system date on all forms and reports"
    QLabel *chk1 = nullptr;      // Print_Name as stored, "0" or "1" (hidden)
    QLabel *chk2 = nullptr;      // Print_Date as stored (hidden)
    QPushButton *AdminUpdate = nullptr;
    QPushButton *AdminCancel = nullptr; // "Cancel": leaves without storing the agency
    QLabel *Label2 = nullptr;           // "Names of officers involved in report production"
    QLabel *Label6 = nullptr;           // "  Program and  Report Title"

    // Event handlers, public so that the program and its tests drive them alike.
    void Form_Activate();
    void Check1_Click();
    void Check2_Click();
    void AddOfficer_Click();
    void List1_Click(QListWidgetItem *item);
    void DeleteOfficer_Click();
    void Refresh_Click();
    void AdminUpdate_Click();
    void AdminCancel_Click();

    // True while the agency texts differ from the stored ones or an officer's
    // name is typed and not yet stored.
    bool hasUnsavedEdits() const;

    // The officer the list's click chose (none after a refresh or a deletion).
    std::optional<OfficerRow> chosenOfficer() const { return m_current; }

Q_SIGNALS:
    // A name of the list was chosen: the main window shows it as the officer.
    void officerChosen(const QString &name);
    // "Update" stored the agency: the main window reads its agency and officer again.
    void agencyUpdated();
    // The window was hidden ("Update", "Cancel", Escape or its frame): the main
    // window takes over. showStartPanel is always false, as for every window that leaves the
    // main window as it was.
    void closed(bool showStartPanel);

private:
    enum class Input { None, Adding, Renaming };

    void Form_Load();
    // Stores the name typed into InputOfficer (a new officer or the chosen one's
    // new name). False, with a message, when it cannot be stored.
    bool storeInput();
    void fillList(const QVector<OfficerRow> &rows);
    void forgetChoice();
    void readOptions();
    void storeOption(QCheckBox *box, QLabel *mirror, bool printName);
    // Stores everything and hides; false (window stays) when storing fails.
    bool updateAndHide();
    void tell(const QString &text);
    void tellFailure(const QString &what, const DatabaseError &e, bool writing);

    std::optional<OfficerRow> m_current;
    AgencyInfo m_storedAgency; // as read on showing or stored by "Update"
    Input m_input = Input::None;
};

} // namespace roadtally

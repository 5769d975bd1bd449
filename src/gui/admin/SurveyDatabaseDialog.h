#pragma once
// Options > "Survey Database...": the survey database on this computer or the
// agency server (host, port, database, user), a connection test, and a
// password prompt whose answer is kept in memory for this session only. The
// main window applies the choice.

#include "core/store/DatabaseChoice.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace roadtally {

class SurveyDatabaseDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SurveyDatabaseDialog(const DatabaseChoice &choice, QWidget *parent = nullptr);

    // The choice as the controls stand.
    DatabaseChoice choice() const;

    QRadioButton *ThisComputer = nullptr;
    QRadioButton *AgencyServer = nullptr;
    QLineEdit *Host = nullptr;
    QSpinBox *Port = nullptr;
    QLineEdit *DatabaseName = nullptr;
    QLineEdit *User = nullptr;
    QPushButton *TestButton = nullptr;
    QLabel *TestResult = nullptr;

    // Connects with the fields as they stand; asks for a password when the
    // server wants one. Returns true when the survey tables answered.
    bool testConnection();

    void accept() override;

private:
    void updateFields();
};

} // namespace roadtally

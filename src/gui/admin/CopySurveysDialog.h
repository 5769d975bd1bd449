#pragma once
// File > "Copy Surveys To...": copies chosen surveys of the database in use to
// a folder on this computer (a snapshot for the field) or to the agency server.

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace roadtally {

class CopySurveysDialog : public QDialog
{
    Q_OBJECT
public:
    // source: the database in use; server: the agency server's URI, "" when none is set.
    CopySurveysDialog(const QString &source, const QString &server, QWidget *parent = nullptr);

    QRadioButton *ToFolder = nullptr;
    QLineEdit *Folder = nullptr;
    QPushButton *Browse = nullptr;
    QRadioButton *ToServer = nullptr;
    QListWidget *Surveys = nullptr;
    QPushButton *CopyButton = nullptr;

    // Copies the ticked surveys; says what happened. True when it worked.
    bool copy();

private:
    QString m_source;
    QString m_server;
};

} // namespace roadtally

#include "gui/admin/SurveyDatabaseDialog.h"

#include "core/store/DatabaseLocation.h"
#include "core/store/DatabaseSession.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/Message.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace roadtally {

SurveyDatabaseDialog::SurveyDatabaseDialog(const DatabaseChoice &choice, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Survey Database"));

    ThisComputer = new QRadioButton(
        QStringLiteral("&This computer (the survey folder's database file)"), this);
    AgencyServer = new QRadioButton(QStringLiteral("&Agency server"), this);

    auto *server = new QGroupBox(this);
    Host = new QLineEdit(choice.host, server);
    Host->setPlaceholderText(QStringLiteral("records.example.org"));
    Port = new QSpinBox(server);
    Port->setRange(1, 65535);
    Port->setValue(choice.port);
    DatabaseName = new QLineEdit(choice.databaseName, server);
    User = new QLineEdit(choice.user, server);
    auto *form = new QFormLayout(server);
    form->addRow(QStringLiteral("&Host:"), Host);
    form->addRow(QStringLiteral("&Port:"), Port);
    form->addRow(QStringLiteral("&Database:"), DatabaseName);
    form->addRow(QStringLiteral("&User:"), User);

    auto *note = new QLabel(
        QStringLiteral("The password is never stored by Roadtally: it comes from the password "
                       "file ~/.pgpass, or Roadtally asks for it and keeps it until it ends."),
        this);
    note->setWordWrap(true);

    TestButton = new QPushButton(QStringLiteral("Test &Connection"), this);
    TestButton->setAutoDefault(false);
    TestResult = new QLabel(this);
    TestResult->setWordWrap(true);
    TestResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    TestResult->setMinimumHeight(TestResult->fontMetrics().lineSpacing() * 3);
    TestResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ThisComputer);
    layout->addWidget(AgencyServer);
    layout->addWidget(server);
    layout->addWidget(note);
    auto *test = new QHBoxLayout;
    test->addWidget(TestButton);
    test->addStretch(1);
    layout->addLayout(test);
    layout->addWidget(TestResult);
    layout->addWidget(buttons);

    (choice.server ? AgencyServer : ThisComputer)->setChecked(true);
    connect(ThisComputer, &QRadioButton::toggled, this, &SurveyDatabaseDialog::updateFields);
    connect(TestButton, &QPushButton::clicked, this, [this] { testConnection(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &SurveyDatabaseDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SurveyDatabaseDialog::reject);
    updateFields();
    resize(460, sizeHint().height());
}

DatabaseChoice SurveyDatabaseDialog::choice() const
{
    DatabaseChoice c;
    c.server = AgencyServer->isChecked();
    c.host = Host->text().trimmed();
    c.port = Port->value();
    c.databaseName = DatabaseName->text().trimmed();
    c.user = User->text().trimmed();
    return c;
}

void SurveyDatabaseDialog::updateFields()
{
    const bool server = AgencyServer->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(Host), static_cast<QWidget *>(Port),
                       static_cast<QWidget *>(DatabaseName), static_cast<QWidget *>(User),
                       static_cast<QWidget *>(TestButton)})
        w->setEnabled(server);
    TestResult->clear();
}

bool SurveyDatabaseDialog::testConnection()
{
    const QString uri = choice().uri();
    if (uri.isEmpty()) {
        TestResult->setText(QStringLiteral("Enter the server's host and the database's name."));
        return false;
    }
    for (;;) {
        QString error;
        DatabaseFault fault = DatabaseFault::Other;
        qint64 surveys = 0;
        {
            kit::BusyPointer busy;
            DatabaseSession session(uri);
            if (session.isOpen()) {
                try {
                    surveys = session
                                  .scalar(QStringLiteral("SELECT count(DISTINCT [Batch_Number]) "
                                                         "FROM [Header]"))
                                  .toLongLong();
                } catch (const DatabaseError &e) {
                    error = QString::fromUtf8(e.what());
                    fault = e.fault();
                }
            } else {
                error = session.errorText();
                fault = session.openFault();
                // No password, or a wrong one: ask (the answer stays in memory only).
                if (fault == DatabaseFault::PasswordNeeded ||
                    (fault == DatabaseFault::Denied &&
                     error.contains(QLatin1String("password"), Qt::CaseInsensitive))) {
                    busy.release();
                    bool ok = false;
                    const QString password = QInputDialog::getText(
                        this, QStringLiteral("Survey Database"),
                        QStringLiteral("Password of %1 for %2:")
                            .arg(choice().user.isEmpty() ? QStringLiteral("your user")
                                                         : choice().user,
                                 databaseDisplayName(uri)),
                        QLineEdit::Password, QString(), &ok);
                    if (ok && !password.isEmpty()) {
                        setSessionPassword(uri, password);
                        continue;
                    }
                }
            }
        }
        if (!error.isEmpty()) {
            // In words with advice, as every failure is told; the server's own
            // text on the tooltip.
            TestResult->setText(kit::databaseFailureMessage(
                kit::databaseFailureText(uri, kit::DatabaseAccess::Read, fault), fault, true));
            TestResult->setToolTip(error);
            return false;
        }
        TestResult->setToolTip(QString());
        TestResult->setText(
            QStringLiteral("Connected to %1: %2 %3 stored.")
                .arg(databaseDisplayName(uri))
                .arg(surveys)
                .arg(surveys == 1 ? QStringLiteral("survey") : QStringLiteral("surveys")));
        return true;
    }
}

void SurveyDatabaseDialog::accept()
{
    // A server that does not answer is not taken: the program would start
    // every action with a failure.
    if (AgencyServer->isChecked() && !testConnection())
        return;
    choice().save();
    QDialog::accept();
}

} // namespace roadtally

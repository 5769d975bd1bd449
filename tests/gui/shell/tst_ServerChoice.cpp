// The agency server in the program: the Survey Database window tests and
// remembers the choice, the main window names the database in use, keeps the
// one-file upkeep out of reach on a server, and shows surveys stored there;
// Copy Surveys To copies them into a folder.

#include "fixtures/TestServer.h"

#include "core/intake/ImportRequest.h"
#include "core/intake/VehicleImport.h"
#include "core/store/DatabaseChoice.h"
#include "core/store/DatabaseLocation.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "core/upkeep/SurveyCopy.h"
#include "core/upkeep/SurveyDeletion.h"
#include "gui/admin/CopySurveysDialog.h"
#include "gui/admin/SurveyDatabaseDialog.h"
#include "gui/kit/Forms.h"
#include "gui/kit/Message.h"
#include "gui/shell/frmRoadtally.h"
#include "sample/SampleSurvey.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;

class tst_ServerChoice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void dialogTestsAndRemembers();
    void dialogRefusesAServerThatDoesNotAnswer();
    void mainWindowOnTheServer();
    void copySurveysToAFolder();

private:
    std::unique_ptr<test::TestServer> m_server;
    QTemporaryDir m_dir;
    QString m_uri;
    QStringList m_messages;
};

void tst_ServerChoice::initTestCase()
{
    // The user's settings of this test stay in its own folder.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    m_server = std::make_unique<test::TestServer>();
    QVERIFY2(m_server->isRunning(), qPrintable(m_server->error()));
    m_uri = m_server->createDatabase();
    QVERIFY(!m_uri.isEmpty());
    QCOMPARE(createServerDatabase(m_uri), QString());
    sharedState().setProgramFolder(m_dir.path());
    QCOMPARE(createBlankDatabase(databasePathIn(m_dir.path())), QString());
    kit::messageHook() = [this](QWidget *, QMessageBox::Icon, const QString &, const QString &text,
                                QMessageBox::StandardButtons) {
        m_messages << text;
        return QMessageBox::Ok;
    };
}

void tst_ServerChoice::cleanupTestCase()
{
    kit::messageHook() = {};
    sharedState().setServerDatabase(QString());
}

void tst_ServerChoice::dialogTestsAndRemembers()
{
    const DatabaseChoice wanted = DatabaseChoice::fromUri(m_uri);
    SurveyDatabaseDialog dialog(DatabaseChoice{});
    QVERIFY(dialog.ThisComputer->isChecked());
    QVERIFY(!dialog.Host->isEnabled());
    dialog.AgencyServer->setChecked(true);
    QVERIFY(dialog.Host->isEnabled());
    dialog.Host->setText(wanted.host);
    dialog.Port->setValue(wanted.port);
    dialog.DatabaseName->setText(wanted.databaseName);
    dialog.User->setText(wanted.user);
    QVERIFY(dialog.testConnection());
    QVERIFY2(dialog.TestResult->text().contains(QStringLiteral("0 surveys")),
             qPrintable(dialog.TestResult->text()));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(DatabaseChoice::load().uri(), m_uri);
    QCOMPARE(startupServerDatabase(), m_uri);
    // The environment comes first.
    qputenv("ROADTALLY_DATABASE", "postgresql://someone@elsewhere:5432/surveys");
    QCOMPARE(startupServerDatabase(),
             QStringLiteral("postgresql://someone@elsewhere:5432/surveys"));
    qunsetenv("ROADTALLY_DATABASE");
}

void tst_ServerChoice::dialogRefusesAServerThatDoesNotAnswer()
{
    DatabaseChoice choice = DatabaseChoice::fromUri(m_uri);
    choice.databaseName = QStringLiteral("nosuchdb");
    SurveyDatabaseDialog dialog(choice);
    QVERIFY(dialog.AgencyServer->isChecked());
    dialog.accept();
    QVERIFY(dialog.result() != int(QDialog::Accepted));
    QVERIFY2(dialog.TestResult->text().contains(QStringLiteral("nosuchdb")),
             qPrintable(dialog.TestResult->text()));
    if (const QString out = qEnvironmentVariable("ROADTALLY_SHOTS"); !out.isEmpty())
        dialog.grab().save(out + QStringLiteral("/survey-database-refused.png"));
    // The remembered choice is the one that worked.
    QCOMPARE(DatabaseChoice::load().uri(), m_uri);
}

void tst_ServerChoice::mainWindowOnTheServer()
{
    SampleOptions options;
    const QString file = m_dir.filePath(QStringLiteral("one.ovd"));
    QCOMPARE(writeSampleSurvey(generateSampleSurvey(options), file), QString());
    ImportRequest request;
    request.location = QStringLiteral("Elm Street");
    request.direction = QStringLiteral("North");
    request.zone = QStringLiteral("School");
    const ImportInput input = buildImportInput(loadRawDataPath(file).text, request);
    QCOMPARE(importSurvey(m_uri, input).outcome, ImportOutcome::Stored);

    frmRoadtally &local = form<frmRoadtally>();
    QVERIFY(local.DatabaseInUse->text().contains(QStringLiteral("this computer")));
    QVERIFY(local.mnuManageDatabase->isEnabled());
    delete &local;

    sharedState().setServerDatabase(m_uri);
    frmRoadtally &w = form<frmRoadtally>();
    QVERIFY2(w.DatabaseInUse->text().contains(databaseDisplayName(m_uri)),
             qPrintable(w.DatabaseInUse->text()));
    QVERIFY(w.DatabaseInUse->text().contains(QStringLiteral("agency server")));
    QVERIFY(!w.mnuManageDatabase->isEnabled());
    QCOMPARE(w.mnuManageDatabase->toolTip(), serverUpkeepRefusal());
    // The survey list of the program reads the server.
    QCOMPARE(surveyBatchNumbers(sharedState().deriveDatabasePath()),
             QStringList{input.batchNumber});
    delete &w;
}

void tst_ServerChoice::copySurveysToAFolder()
{
    const QString target = m_dir.filePath(QStringLiteral("field"));
    QVERIFY(QDir().mkpath(target));
    CopySurveysDialog dialog(m_uri, m_uri);
    QVERIFY(!dialog.ToServer->isEnabled()); // the server is the source
    QCOMPARE(dialog.Surveys->count(), 1);
    dialog.Folder->setText(target);
    m_messages.clear();
    QVERIFY(dialog.copy());
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.first().startsWith(QStringLiteral("Copied 1 survey")),
             qPrintable(m_messages.first()));
    QCOMPARE(surveyBatchNumbers(databasePathIn(target)), surveyBatchNumbers(m_uri));
}

QTEST_MAIN(tst_ServerChoice)
#include "tst_ServerChoice.moc"

// The "Delete Survey", "Delete Database" and "Database Management" windows
// clicked through as a user does: their captions, questions and messages, what
// they change, and what they tell the main window.
#include "fixtures/AdminFixture.h"
#include "fixtures/DatabaseTrouble.h"
#include "fixtures/MessageRecorder.h"

#include "core/upkeep/DatabaseMaintenance.h"
#include "core/upkeep/SurveyDeletion.h"
#include "gui/admin/Blankform.h"
#include "gui/admin/CopySurveysDialog.h"
#include "gui/admin/DBManagement.h"
#include "gui/admin/DeleteDB.h"
#include "gui/admin/DeleteSurvey.h"
#include "gui/kit/Forms.h"
#include "gui/kit/Message.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace roadtally;
using namespace roadtally::testing;

namespace {

QString withoutAccessKey(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

} // namespace

class tst_AdminWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void deleteSurveyCaptions();
    void deleteSurveyListsSurveysOfNow();
    void deleteSurveyAsksFirst_data();
    void deleteSurveyAsksFirst();
    void deleteSurveyKeysChooseAndEscapeCloses();
    void deleteSurveyFailureIsReported();
    void readOnlyDatabaseToldInWords_data();
    void readOnlyDatabaseToldInWords();
    void copyToReadOnlyDatabaseToldInWords();

    void deleteDbCaptions();
    void deleteDbNoChangesNothing();
    void deleteDbYesErasesThenFindsEmpty();

    void dbManagementCaptions();
    void backupAndRepairMessages();
    void backupFailureIsReported();
    void unreadableDatabaseToldWithoutEngineText();
    void replaceCancelThenOk();
    void replaceWithoutBlankAsksNothing();
    void restoreWithoutBackupThenRestore();
    void closeHidesBackdropAndSignals_data();
    void closeHidesBackdropAndSignals();
    void backdropClickBringsWindowBack();

private:
    QString folder() const { return m_folder->folder(); }
    QString database() const { return m_folder->databasePath(); }
    QString backup() const { return QDir(folder()).filePath(QStringLiteral("OV97.BAK")); }
    QString blank() const { return QDir(folder()).filePath(QStringLiteral("ov97.emp")); }
    static void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    void clickLine(QListWidget *list, int row);

    std::unique_ptr<SurveyFolder> m_folder;
    MessageRecorder m_shown;
};

void tst_AdminWindows::init()
{
    m_folder = std::make_unique<SurveyFolder>();
    sharedState().setProgramFolder(folder());
    QVERIFY(createBlankDatabase(blank()).isEmpty());
    storeSettings(database());
    storeFullSurvey(database(), {QStringLiteral("052401-A"), 20, 2, 1, false});
    storeFullSurvey(database(), {QStringLiteral("052401-B"), 20, 0, 1, true});
    m_shown.install();
}

void tst_AdminWindows::cleanup()
{
    MessageRecorder::uninstall();
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    if (formExists<DeleteSurvey>())
        delete &form<DeleteSurvey>();
    if (formExists<DeleteDB>())
        delete &form<DeleteDB>();
    if (formExists<DBManagement>())
        delete &form<DBManagement>();
    if (formExists<Blankform>())
        delete &form<Blankform>();
    QVERIFY(!QApplication::overrideCursor());
    m_folder.reset();
}

void tst_AdminWindows::clickLine(QListWidget *list, int row)
{
    QListWidgetItem *item = list->item(row);
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// ---------------------------------------------------------------------------
// Delete Survey

void tst_AdminWindows::deleteSurveyCaptions()
{
    DeleteSurvey &w = form<DeleteSurvey>();
    QCOMPARE(w.windowTitle(), QStringLiteral("Delete Survey"));
    QCOMPARE(w.Frame1->title(), QStringLiteral("Delete Batch"));
    QCOMPARE(withoutAccessKey(w.Command5->text()), QStringLiteral("Delete Selected "));
    QCOMPARE(withoutAccessKey(w.Command1->text()), QStringLiteral("Close"));
    QVERIFY(w.Command5->parentWidget() == w.Frame1);
}

void tst_AdminWindows::deleteSurveyListsSurveysOfNow()
{
    DeleteSurvey &w = form<DeleteSurvey>();
    w.show();
    QCOMPARE(w.Batch_List->count(), 2);
    clickLine(w.Batch_List, 1);
    QCOMPARE(w.Choice->text(), QStringLiteral("052401-B"));
    w.Command1_Click();
    // A survey processed while the window was hidden can be chosen at once, and
    // the earlier choice is gone.
    storeFullSurvey(database(), {QStringLiteral("060101-A"), 5, 1, 1, true});
    w.show();
    QCOMPARE(w.Batch_List->count(), 3);
    // Each survey with its start date and location beside its batch number.
    QCOMPARE(w.Batch_List->item(2)->text(), QStringLiteral("060101-A   05/24/2001   Main Street"));
    QVERIFY(w.Choice->text().isEmpty());
    QVERIFY(!w.Command5->isEnabled());
}

void tst_AdminWindows::deleteSurveyAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deletes");
    QTest::newRow("No keeps the survey") << int(QMessageBox::No) << false;
    QTest::newRow("closing the question keeps it") << int(QMessageBox::Escape) << false;
    QTest::newRow("Yes deletes it") << int(QMessageBox::Yes) << true;
}

void tst_AdminWindows::deleteSurveyAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, deletes);
    DeleteSurvey &w = form<DeleteSurvey>();
    QSignalSpy deleted(&w, &DeleteSurvey::surveyDeleted);
    w.show();
    QVERIFY(!w.Command5->isEnabled());
    clickLine(w.Batch_List, 0);
    QCOMPARE(w.Choice->text(), QStringLiteral("052401-A"));
    QVERIFY(w.Command5->isEnabled());
    const int vehicles = rowCount(database(), QStringLiteral("Veh_Data"));

    m_shown.answers << QMessageBox::StandardButton(answer);
    click(w.Command5);
    // The question names the survey; No is offered (and is the default).
    QVERIFY(!m_shown.messages.isEmpty());
    const ShownMessage question = m_shown.messages.first();
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.title, QStringLiteral("Roadtally"));
    QVERIFY2(question.text.startsWith(QStringLiteral(
                 "Delete survey 052401-A?\n\nLocation: Main Street\nStart date: 05/24/2001\n"
                 "Vehicles: 20")),
             qPrintable(question.text));
    if (!deletes) {
        QCOMPARE(m_shown.messages.size(), 1);
        QCOMPARE(deleted.count(), 0);
        QCOMPARE(rowCount(database(), QStringLiteral("Header"), QStringLiteral("052401-A")), 1);
        QCOMPARE(w.Choice->text(), QStringLiteral("052401-A"));
        QCOMPARE(w.Batch_List->count(), 2);
        return;
    }
    QCOMPARE(deleted.count(), 1);
    QCOMPARE(deleted.first().first().toString(), QStringLiteral("052401-A"));
    // Afterwards it says what was deleted.
    QCOMPARE(m_shown.messages.size(), 2);
    QCOMPARE(m_shown.messages.at(1).text,
             QStringLiteral("Survey 052401-A (Main Street, 05/24/2001, 20 vehicles) was deleted."));
    QCOMPARE(w.Batch_List->count(), 1);
    QCOMPARE(w.Batch_List->item(0)->data(Qt::UserRole).toString(), QStringLiteral("052401-B"));
    QVERIFY(w.Choice->text().isEmpty());
    QVERIFY(!w.Command5->isEnabled());
    for (const QString &table : surveyDeletionTables())
        QCOMPARE(rowCount(database(), table, QStringLiteral("052401-A")), 0);
    QCOMPARE(rowCount(database(), QStringLiteral("Header"), QStringLiteral("052401-B")), 1);
    QCOMPARE(rowCount(database(), QStringLiteral("Veh_Data")), vehicles);
}

void tst_AdminWindows::deleteSurveyKeysChooseAndEscapeCloses()
{
    DeleteSurvey &w = form<DeleteSurvey>();
    QSignalSpy closed(&w, &DeleteSurvey::closed);
    w.show();
    QVERIFY(w.Choice->text().isEmpty()); // focus alone chooses nothing
    QTest::keyClick(w.Batch_List, Qt::Key_Down);
    QTest::keyClick(w.Batch_List, Qt::Key_Down);
    QCOMPARE(w.Choice->text(), QStringLiteral("052401-B"));
    QVERIFY(w.Command5->isEnabled());
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.first().first().toBool(), false);
    // Closing by the frame also gives the main window its input back.
    w.show();
    w.close();
    QCOMPARE(closed.count(), 2);
}

void tst_AdminWindows::deleteSurveyFailureIsReported()
{
    DeleteSurvey &w = form<DeleteSurvey>();
    QSignalSpy deleted(&w, &DeleteSurvey::surveyDeleted);
    w.show();
    clickLine(w.Batch_List, 0);
    m_shown.answers << QMessageBox::Yes << QMessageBox::Yes;
    {
        OtherConnection other(database(), "BEGIN EXCLUSIVE");
        click(w.Command5);
    }
    QCOMPARE(deleted.count(), 0);
    // Whether the survey could not be read for the question or not be deleted
    // after it, one warning says so.
    QCOMPARE(m_shown.messages.constLast().icon, QMessageBox::Warning);
    QVERIFY2(m_shown.messages.constLast().text.contains(QLatin1String("could not be")),
             qPrintable(m_shown.messages.constLast().text));
    QCOMPARE(rowCount(database(), QStringLiteral("Header")), 2);
    // Nothing was deleted, so the choice stands for another try.
    QCOMPARE(w.Choice->text(), QStringLiteral("052401-A"));
    QCOMPARE(w.Batch_List->count(), 2);
    click(w.Command5);
    QCOMPARE(deleted.count(), 1);
}

void tst_AdminWindows::readOnlyDatabaseToldInWords_data()
{
    QTest::addColumn<bool>("wholeDatabase");
    QTest::newRow("Delete Survey") << false;
    QTest::newRow("Delete Database") << true;
}

void tst_AdminWindows::readOnlyDatabaseToldInWords()
{
    QFETCH(bool, wholeDatabase);
    QVERIFY(test::makeReadOnly(database()));
    m_shown.answers << QMessageBox::Yes;
    if (wholeDatabase) {
        DeleteDB &w = form<DeleteDB>();
        w.show();
        click(w.Command2);
    } else {
        DeleteSurvey &w = form<DeleteSurvey>();
        w.show();
        clickLine(w.Batch_List, 0);
        click(w.Command5);
    }
    // The database and the reason in words, then advice; the engine's own text
    // ("attempt to write a readonly database ...") only under "Details".
    const QString told = m_shown.messages.constLast().text;
    QCOMPARE(m_shown.messages.constLast().icon, QMessageBox::Warning);
    for (const QString &part :
         {QDir::toNativeSeparators(database()), QStringLiteral("it is read-only"),
          QStringLiteral("Nothing was deleted."),
          QStringLiteral("Make the file and its folder writable")})
        QVERIFY2(told.contains(part), qPrintable(told));
    QVERIFY2(!told.contains(QLatin1String("readonly")), qPrintable(told));
    QVERIFY2(!told.contains(QLatin1String("DELETE")), qPrintable(told));
    QCOMPARE(rowCount(database(), QStringLiteral("Header")), 2);
}

void tst_AdminWindows::copyToReadOnlyDatabaseToldInWords()
{
    QTemporaryDir other;
    const QString target = QDir(other.path()).filePath(QStringLiteral("OV97.mdb"));
    QVERIFY(createBlankDatabase(target).isEmpty());
    QVERIFY(test::makeReadOnly(target));
    CopySurveysDialog dialog(database(), QString());
    dialog.Folder->setText(other.path());
    QVERIFY(!dialog.copy());
    const QString told = m_shown.messages.constLast().text;
    for (const QString &part : {QDir::toNativeSeparators(target), QStringLiteral("read-only"),
                                QStringLiteral("Nothing was copied."),
                                QStringLiteral("Make the file and its folder writable")})
        QVERIFY2(told.contains(part), qPrintable(told));
    QVERIFY2(!told.contains(QLatin1String("readonly")), qPrintable(told));
    QCOMPARE(rowCount(target, QStringLiteral("Header")), 0);
}

// ---------------------------------------------------------------------------
// Delete Database

void tst_AdminWindows::deleteDbCaptions()
{
    DeleteDB &w = form<DeleteDB>();
    QCOMPARE(w.windowTitle(), QStringLiteral("Delete Database"));
    QCOMPARE(withoutAccessKey(w.Command2->text()),
             QStringLiteral("            Delete               Complete Database"));
    QCOMPARE(withoutAccessKey(w.Command1->text()), QStringLiteral("Close"));
    QSignalSpy closed(&w, &DeleteDB::closed);
    w.show();
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(closed.count(), 1);
}

void tst_AdminWindows::deleteDbNoChangesNothing()
{
    DeleteDB &w = form<DeleteDB>();
    QSignalSpy erased(&w, &DeleteDB::databaseErased);
    w.show();
    const QByteArray before = fileBytes(database());
    m_shown.answers << QMessageBox::No;
    click(w.Command2);
    QCOMPARE(m_shown.messages.size(), 1);
    const ShownMessage &question = m_shown.messages.first();
    QCOMPARE(question.title, QStringLiteral("Roadtally"));
    QCOMPARE(
        question.text,
        QStringLiteral("This will ERASE the existing DATABASE file!  Do You want to continue?"));
    QCOMPARE(question.icon, QMessageBox::Critical);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(erased.count(), 0);
    QCOMPARE(fileBytes(database()), before);
}

void tst_AdminWindows::deleteDbYesErasesThenFindsEmpty()
{
    DeleteDB &w = form<DeleteDB>();
    QSignalSpy erased(&w, &DeleteDB::databaseErased);
    w.show();
    const QString settings = settingsContent(database());
    m_shown.answers << QMessageBox::Yes << QMessageBox::Yes;
    click(w.Command2);
    QCOMPARE(m_shown.messages.size(), 2);
    QCOMPARE(m_shown.messages.at(1).text, QStringLiteral("Finished Deleting Database"));
    QCOMPARE(m_shown.messages.at(1).title, QStringLiteral("Roadtally"));
    QCOMPARE(m_shown.messages.at(1).buttons, QMessageBox::Ok);
    QCOMPARE(erased.count(), 1);
    QCOMPARE(erased.first().first().toBool(), true);
    for (const char *table : {"Header", "Speed", "Speed_Profile", "Summary", "Time_15", "Veh_Data"})
        QCOMPARE(rowCount(database(), QLatin1String(table)), 0);
    QCOMPARE(settingsContent(database()), settings);

    click(w.Command2);
    QCOMPARE(m_shown.messages.size(), 4);
    QCOMPARE(m_shown.messages.at(3).text, QStringLiteral("Database is empty."));
    QCOMPARE(erased.count(), 2);
    QCOMPARE(erased.at(1).first().toBool(), false);
}

// ---------------------------------------------------------------------------
// Database Management

void tst_AdminWindows::dbManagementCaptions()
{
    DBManagement &w = form<DBManagement>();
    QCOMPARE(w.windowTitle(), QStringLiteral("Database Management"));
    QCOMPARE(withoutAccessKey(w.Command15->text()), QStringLiteral("Backup Database"));
    QCOMPARE(withoutAccessKey(w.Command18->text()), QStringLiteral("Repair Database"));
    QCOMPARE(withoutAccessKey(w.ReplaceDB->text()), QStringLiteral("Replace Database"));
    QCOMPARE(withoutAccessKey(w.RestoreDB->text()), QStringLiteral("Restore Backup Database"));
    QCOMPARE(withoutAccessKey(w.Command1->text()), QStringLiteral("Close"));
    QCOMPARE(w.Label29->text(), QStringLiteral("CAUTION: Repair Database Before Backup"));
    for (QPushButton *b : {w.Command15, w.Command18, w.ReplaceDB, w.RestoreDB})
        QVERIFY(w.Imprint2->isAncestorOf(b));
    // Every button has its own access key.
    QSet<QChar> keys;
    for (QPushButton *b : {w.Command15, w.Command18, w.ReplaceDB, w.RestoreDB, w.Command1}) {
        const qsizetype amp = b->text().indexOf(QLatin1Char('&'));
        QVERIFY(amp >= 0);
        keys.insert(b->text().at(amp + 1).toLower());
    }
    QCOMPARE(keys.size(), 5);
}

void tst_AdminWindows::backupAndRepairMessages()
{
    DBManagement &w = form<DBManagement>();
    QSignalSpy changed(&w, &DBManagement::databaseChanged);
    bool backupBeforeRelease = true;
    connect(&w, &DBManagement::releaseDatabase, this,
            [&] { backupBeforeRelease = QFileInfo::exists(backup()); });
    w.show();
    const QByteArray before = fileBytes(database());

    click(w.Command15);
    QVERIFY(!backupBeforeRelease); // the windows let go before the files change
    QCOMPARE(m_shown.messages.size(), 1);
    QCOMPARE(m_shown.messages.first().text, QStringLiteral("Backup and compacting are complete."));
    QCOMPARE(m_shown.messages.first().title, QStringLiteral("Roadtally"));
    QCOMPARE(m_shown.messages.first().buttons, QMessageBox::Ok);
    QCOMPARE(fileBytes(backup()), before);
    QCOMPARE(changed.count(), 1);

    click(w.Command18);
    QCOMPARE(m_shown.messages.size(), 2);
    QCOMPARE(m_shown.messages.at(1).text, QStringLiteral("Repair of the database is complete."));
    QCOMPARE(changed.count(), 2);
}

void tst_AdminWindows::backupFailureIsReported()
{
    DBManagement &w = form<DBManagement>();
    QSignalSpy changed(&w, &DBManagement::databaseChanged);
    w.show();
    const QByteArray before = fileBytes(database());
    {
        OtherConnection other(database(), "BEGIN EXCLUSIVE");
        click(w.Command15);
    }
    QCOMPARE(m_shown.messages.size(), 1);
    QCOMPARE(m_shown.messages.first().icon, QMessageBox::Warning);
    QVERIFY(m_shown.messages.first().text.contains(QLatin1String("in use by another program")));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(fileBytes(database()), before);
    QVERIFY(!QFileInfo::exists(backup()));
}

void tst_AdminWindows::unreadableDatabaseToldWithoutEngineText()
{
    writeBytes(database(), QByteArray("this is no database, only words\n").repeated(200));
    DBManagement &w = form<DBManagement>();
    w.show();
    for (QPushButton *button : {w.Command15, w.Command18}) {
        click(button);
        const QString told = m_shown.messages.constLast().text;
        QCOMPARE(m_shown.messages.constLast().icon, QMessageBox::Warning);
        QVERIFY2(told.contains(QLatin1String("cannot be opened as a database.")), qPrintable(told));
        // The engine's "file is not a database" goes under "Details" only.
        QVERIFY2(!told.contains(QLatin1String("file is not a database")), qPrintable(told));
    }
}

void tst_AdminWindows::replaceCancelThenOk()
{
    DBManagement &w = form<DBManagement>();
    QSignalSpy changed(&w, &DBManagement::databaseChanged);
    w.show();
    const QByteArray before = fileBytes(database());
    m_shown.answers << QMessageBox::Cancel;
    click(w.ReplaceDB);
    QCOMPARE(m_shown.messages.size(), 1);
    const ShownMessage &question = m_shown.messages.first();
    QCOMPARE(question.title, QStringLiteral("Replace Database"));
    QCOMPARE(question.text, QStringLiteral("Replace current database with new blank database? \r\n"
                                           "         Current database data will be lost!"));
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(fileBytes(database()), before);
    QCOMPARE(changed.count(), 0);

    m_shown.answers << QMessageBox::Ok;
    click(w.ReplaceDB);
    // The question, then what was done.
    QCOMPARE(m_shown.messages.size(), 3);
    QCOMPARE(m_shown.messages.at(2).icon, QMessageBox::Information);
    QCOMPARE(m_shown.messages.at(2).text,
             QStringLiteral("Database replaced with the blank database ov97.emp: 0 surveys."));
    QCOMPARE(fileBytes(database()), fileBytes(blank()));
    QCOMPARE(changed.count(), 1);
}

void tst_AdminWindows::replaceWithoutBlankAsksNothing()
{
    QVERIFY(QFile::remove(blank()));
    DBManagement &w = form<DBManagement>();
    w.show();
    const QByteArray before = fileBytes(database());
    click(w.ReplaceDB);
    QCOMPARE(m_shown.messages.size(), 1);
    QCOMPARE(m_shown.messages.first().buttons, QMessageBox::Ok);
    QVERIFY(m_shown.messages.first().text.startsWith(
        QLatin1String("The blank database ov97.emp is not in the program")));
    QCOMPARE(fileBytes(database()), before);
}

void tst_AdminWindows::restoreWithoutBackupThenRestore()
{
    DBManagement &w = form<DBManagement>();
    w.show();
    click(w.RestoreDB);
    QCOMPARE(m_shown.messages.size(), 1);
    QCOMPARE(m_shown.messages.first().text,
             QStringLiteral("        Backup database does not exist\r\n"
                            "You must first create a backup of OV97.mdb"));
    QCOMPARE(m_shown.messages.first().title, QStringLiteral("Roadtally"));
    QCOMPARE(m_shown.messages.first().buttons, QMessageBox::Ok);

    click(w.Command15);
    const QByteArray backedUp = fileBytes(backup());
    storeFullSurvey(database(), {QStringLiteral("060101-A"), 5, 1, 1, true});
    m_shown.messages.clear();
    m_shown.answers << QMessageBox::Cancel << QMessageBox::Ok;
    const QByteArray changedFile = fileBytes(database());
    click(w.RestoreDB);
    QCOMPARE(m_shown.messages.size(), 1);
    QCOMPARE(m_shown.messages.first().title, QStringLiteral("Replace Database"));
    QCOMPARE(m_shown.messages.first().text,
             QStringLiteral("Restore database with data from last performed backup? \r\n"
                            "             Current database data will be lost!"));
    QCOMPARE(fileBytes(database()), changedFile);
    const QString made =
        QFileInfo(backup()).lastModified().toString(QStringLiteral("MM/dd/yy hh:mm"));
    click(w.RestoreDB);
    // The question, then what was done: the backup's time and the surveys it brought back.
    QCOMPARE(m_shown.messages.size(), 3);
    QCOMPARE(m_shown.messages.at(2).icon, QMessageBox::Information);
    QCOMPARE(m_shown.messages.at(2).text,
             QStringLiteral("Database restored from the backup of %1: 2 surveys.").arg(made));
    QCOMPARE(fileBytes(database()), backedUp);
}

void tst_AdminWindows::closeHidesBackdropAndSignals_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("Close") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("the frame") << 2;
}

void tst_AdminWindows::closeHidesBackdropAndSignals()
{
    QFETCH(int, how);
    Blankform &backdrop = form<Blankform>();
    backdrop.show();
    DBManagement &w = form<DBManagement>();
    QSignalSpy closed(&w, &DBManagement::closed);
    w.show();
    if (how == 0)
        click(w.Command1);
    else if (how == 1)
        QTest::keyClick(&w, Qt::Key_Escape);
    else
        w.close();
    QVERIFY(!w.isVisible());
    QVERIFY(!backdrop.isVisible());
    QCOMPARE(closed.count(), 1);
}

void tst_AdminWindows::backdropClickBringsWindowBack()
{
    Blankform &backdrop = form<Blankform>();
    backdrop.show();
    DBManagement &w = form<DBManagement>();
    w.show();
    backdrop.activateWindow();
    QTRY_VERIFY(backdrop.isActiveWindow());
    QTest::mouseClick(&backdrop, Qt::LeftButton, {}, QPoint(10, 10));
    QTRY_VERIFY(w.isActiveWindow());
}

QTEST_MAIN(tst_AdminWindows)
#include "tst_AdminWindows.moc"

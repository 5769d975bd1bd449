// Deleting one survey and erasing all of them: which rows go, which stay, and
// that a failure leaves every row in place.
#include "fixtures/AdminFixture.h"

#include "core/store/DatabaseSession.h"
#include "core/upkeep/SurveyDeletion.h"

#include <QTest>

#include <memory>

using namespace roadtally;
using namespace roadtally::testing;

class tst_SurveyDeletion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void batchNumbersInOrder();
    void surveysNamedForDeletion();
    void deleteRemovesOnlyThatSurvey_data();
    void deleteRemovesOnlyThatSurvey();
    void deleteWithTrailingBlanks();
    void deleteUnknownBatchDeletesNothing();
    void deleteFailureKeepsEveryRow();
    void erase_data();
    void erase();
    void eraseTwice();
    void eraseFailureKeepsEveryRow();

private:
    QString path() const { return m_folder->databasePath(); }
    std::unique_ptr<SurveyFolder> m_folder;
};

void tst_SurveyDeletion::init()
{
    m_folder = std::make_unique<SurveyFolder>();
    storeSettings(path());
}

void tst_SurveyDeletion::cleanup()
{
    m_folder.reset();
}

void tst_SurveyDeletion::batchNumbersInOrder()
{
    for (const char *batch : {"052401-B", "052401-A", "010299-C "})
        storeFullSurvey(path(), {QString::fromLatin1(batch), 5, 1, 1, false});
    QString error;
    QCOMPARE(surveyBatchNumbers(path(), &error),
             (QStringList{QStringLiteral("010299-C "), QStringLiteral("052401-A"),
                          QStringLiteral("052401-B")}));
    QVERIFY(error.isEmpty());
    QVERIFY(
        surveyBatchNumbers(m_folder->folder() + QStringLiteral("/missing.mdb"), &error).isEmpty());
    QVERIFY(!error.isEmpty());
}

void tst_SurveyDeletion::surveysNamedForDeletion()
{
    storeFullSurvey(path(), {QStringLiteral("052401-B"), 6953, 1, 1, false});
    storeFullSurvey(path(), {QStringLiteral("052401-A "), 12, 1, 1, false});
    QString error;
    const QVector<SurveyToDelete> surveys = surveysToDelete(path(), &error);
    QVERIFY(error.isEmpty());
    QCOMPARE(surveys.size(), 2);
    QCOMPARE(surveys[0].batch, QStringLiteral("052401-A"));
    QCOMPARE(deletionListLine(surveys[0]), QStringLiteral("052401-A   05/24/2001   Main Street"));
    DatabaseSession session(path());
    const SurveyToDelete b = surveyToDelete(session, QStringLiteral("052401-B"));
    QCOMPARE(b.vehicles, 6953);
    QCOMPARE(deletionQuestion(b),
             QStringLiteral("Delete survey 052401-B?\n\nLocation: Main Street\nStart date: "
                            "05/24/2001\nVehicles: 6,953\n\nIts figures are removed from the "
                            "database for good."));
    QCOMPARE(deletionDoneText(b),
             QStringLiteral("Survey 052401-B (Main Street, 05/24/2001, 6,953 vehicles) was "
                            "deleted."));
    // A survey without a summary row is still named; its vehicles are not counted.
    session.exec(QStringLiteral("DELETE FROM [Summary] WHERE [Batch_Number] = '052401-A'"));
    QVERIFY(deletionQuestion(surveyToDelete(session, QStringLiteral("052401-A")))
                .contains(QStringLiteral("Vehicles: none counted")));
}

void tst_SurveyDeletion::deleteRemovesOnlyThatSurvey_data()
{
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<bool>("deletedIsLastProcessed");
    // The last processed survey's vehicles are the ones in Veh_Data; they stay.
    QTest::newRow("the last processed survey") << QStringLiteral("052401-B") << true;
    QTest::newRow("an earlier survey") << QStringLiteral("052401-A") << false;
}

void tst_SurveyDeletion::deleteRemovesOnlyThatSurvey()
{
    QFETCH(QString, deleted);
    QFETCH(bool, deletedIsLastProcessed);
    storeFullSurvey(path(), {QStringLiteral("052401-A"), 30, 4, 2, false});
    storeFullSurvey(path(), {QStringLiteral("052401-B"), 25, 3, 1, true});
    const QString kept = deleted == QLatin1String("052401-A") ? QStringLiteral("052401-B")
                                                              : QStringLiteral("052401-A");
    const QString settings = settingsContent(path());
    const int vehicles = rowCount(path(), QStringLiteral("Veh_Data"));
    QCOMPARE(vehicles, 25);
    QCOMPARE(rowCount(path(), QStringLiteral("Veh_Data"), deleted) > 0, deletedIsLastProcessed);
    QHash<QString, int> keptRows;
    for (const QString &table : surveyDeletionTables())
        keptRows[table] = rowCount(path(), table, kept);

    const DeletionResult result = deleteSurvey(path(), deleted);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(result.deleted.size(), 5);
    for (const TableRows &t : result.deleted)
        QVERIFY2(t.rows > 0, qPrintable(t.table));
    for (const QString &table : surveyDeletionTables()) {
        QCOMPARE(rowCount(path(), table, deleted), 0);
        QCOMPARE(rowCount(path(), table, kept), keptRows.value(table));
    }
    QCOMPARE(rowCount(path(), QStringLiteral("Veh_Data")), vehicles);
    QCOMPARE(settingsContent(path()), settings);
}

void tst_SurveyDeletion::deleteWithTrailingBlanks()
{
    storeFullSurvey(path(), {QStringLiteral("052401-A"), 5, 1, 1, false});
    // The survey list pads the batch number; the padding is not significant.
    const DeletionResult result = deleteSurvey(path(), QStringLiteral("052401-A  "));
    QVERIFY(result.ok);
    QCOMPARE(result.deleted.first().rows, 1);
    QCOMPARE(rowCount(path(), QStringLiteral("Header")), 0);
    QCOMPARE(rowCount(path(), QStringLiteral("Time_15")), 0);
}

void tst_SurveyDeletion::deleteUnknownBatchDeletesNothing()
{
    storeFullSurvey(path(), {QStringLiteral("052401-A"), 5, 1, 1, false});
    const QString before = databaseContent(path());
    const DeletionResult result = deleteSurvey(path(), QStringLiteral("052401-Z"));
    QVERIFY(result.ok);
    QCOMPARE(result.total(), 0);
    QCOMPARE(databaseContent(path()), before);
}

void tst_SurveyDeletion::deleteFailureKeepsEveryRow()
{
    storeFullSurvey(path(), {QStringLiteral("052401-A"), 5, 1, 1, true});
    const QByteArray before = fileBytes(path());
    {
        OtherConnection other(path(), "BEGIN EXCLUSIVE");
        QVERIFY(other.holds());
        const DeletionResult result = deleteSurvey(path(), QStringLiteral("052401-A"));
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(QLatin1String("052401-A")), qPrintable(result.message));
        QVERIFY(result.message.contains(QLatin1String("Nothing was deleted")));
    }
    QCOMPARE(fileBytes(path()), before);
}

void tst_SurveyDeletion::erase_data()
{
    QTest::addColumn<int>("speeding"); // speeding vehicles of each survey
    QTest::addColumn<bool>("withVehicles");
    QTest::addColumn<QString>("message");
    QTest::newRow("surveys with speeding vehicles")
        << 3 << true << QStringLiteral("Finished Deleting Database");
    // Without a speeding vehicle Speed_Profile is empty; the rest goes all the same.
    QTest::newRow("no speeding vehicle")
        << 0 << true << QStringLiteral("Finished Deleting Database");
    QTest::newRow("vehicles already gone")
        << 2 << false << QStringLiteral("Finished Deleting Database");
}

void tst_SurveyDeletion::erase()
{
    QFETCH(int, speeding);
    QFETCH(bool, withVehicles);
    QFETCH(QString, message);
    storeFullSurvey(path(), {QStringLiteral("052401-A"), 10, speeding, 2, false});
    storeFullSurvey(path(), {QStringLiteral("052401-B"), 12, speeding, 1, withVehicles});
    const QString settings = settingsContent(path());

    const EraseResult result = eraseDatabase(path());
    QVERIFY2(result.ok, qPrintable(result.message));
    QVERIFY(result.anythingDeleted());
    QCOMPARE(result.doneText(), message);
    for (const QString &table : eraseTables())
        QCOMPARE(rowCount(path(), table), 0);
    QCOMPARE(result.deleted.at(0).rows, 2);            // Header
    QCOMPARE(result.deleted.at(2).rows, 2 * speeding); // Speed_Profile
    QCOMPARE(result.deleted.at(4).rows, 3 * 48);       // Time_15
    QCOMPARE(result.deleted.at(5).rows, withVehicles ? 12 : 0);
    QCOMPARE(settingsContent(path()), settings);
}

void tst_SurveyDeletion::eraseTwice()
{
    storeFullSurvey(path(), {QStringLiteral("052401-A"), 10, 1, 1, true});
    QVERIFY(eraseDatabase(path()).anythingDeleted());
    const QString settings = settingsContent(path());
    const EraseResult second = eraseDatabase(path());
    QVERIFY(second.ok);
    QVERIFY(!second.anythingDeleted());
    QCOMPARE(second.doneText(), QStringLiteral("Database is empty."));
    QCOMPARE(settingsContent(path()), settings);
}

void tst_SurveyDeletion::eraseFailureKeepsEveryRow()
{
    storeFullSurvey(path(), {QStringLiteral("052401-A"), 10, 1, 1, true});
    const QString before = databaseContent(path());
    {
        OtherConnection other(path(), "BEGIN EXCLUSIVE");
        QVERIFY(other.holds());
        const EraseResult result = eraseDatabase(path());
        QVERIFY(!result.ok);
        QVERIFY(result.message.contains(QLatin1String("Nothing was deleted")));
    }
    QCOMPARE(databaseContent(path()), before);
}

QTEST_GUILESS_MAIN(tst_SurveyDeletion)
#include "tst_SurveyDeletion.moc"

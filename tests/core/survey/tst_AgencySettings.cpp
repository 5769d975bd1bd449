// The agency, officer and report option rows as the administration window and
// the command-line reports read and write them.
#include "fixtures/SurveyFixture.h"

#include "core/reports/ReportFrame.h"
#include "core/survey/AgencySettings.h"

#include <QSqlQuery>

#include <memory>

using namespace roadtally;
using namespace roadtally::testing;

class tst_AgencySettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void blankDatabase();
    void agencyRoundTrip_data();
    void agencyRoundTrip();
    void agencyRowAddedWhenMissing();
    void storedOptionReadsAsTick_data();
    void storedOptionReadsAsTick();
    void optionsStoredAsOneAndZero_data();
    void optionsStoredAsOneAndZero();
    void oneOptionLeavesTheOther();
    void placeholderOnlyForEmptyTable();
    void officerNamesRoundTrip_data();
    void officerNamesRoundTrip();
    void findIsExactAndFirst();
    void duplicateOfficerName_data();
    void duplicateOfficerName();
    void rowWithoutNameIsFoundAsEmpty();
    void renameAndDeleteByRow();
    void reportsReadWhatTheWindowStores();

private:
    DatabaseSession &session();
    QStringList officerNames();

    std::unique_ptr<SurveyFolder> m_folder;
    std::unique_ptr<DatabaseSession> m_session;
};

void tst_AgencySettings::init()
{
    m_folder = std::make_unique<SurveyFolder>();
    m_session = std::make_unique<DatabaseSession>(m_folder->databasePath());
    QVERIFY(m_session->isOpen());
}

void tst_AgencySettings::cleanup()
{
    m_session.reset();
    m_folder.reset();
}

DatabaseSession &tst_AgencySettings::session()
{
    return *m_session;
}

QStringList tst_AgencySettings::officerNames()
{
    QStringList names;
    for (const OfficerRow &row : readOfficers(session()))
        names << row.name;
    return names;
}

void tst_AgencySettings::blankDatabase()
{
    QCOMPARE(readAgency(session()), (AgencyInfo{QStringLiteral("Name of Municipality"), {}, {}}));
    QCOMPARE(readReportOptions(session()), ReportOptions{});
    QCOMPARE(readOfficers(session()), QVector<OfficerRow>{});
}

void tst_AgencySettings::agencyRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address1");
    QTest::addColumn<QString>("address2");
    QTest::newRow("plain") << "City of Springfield"
                           << "742 Evergreen Terrace"
                           << "Springfield, OR";
    QTest::newRow("quotes") << "O'Fallon Police Dept."
                            << "1 \"Main\" St"
                            << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("statement text") << "x'); DELETE FROM [Agency]; --"
                                    << "a"
                                    << "b";
    QTest::newRow("accents") << QStringLiteral("Municipalité de Québec")
                             << QStringLiteral("Rue Saint-Jean") << "G1R 1R5";
}

void tst_AgencySettings::agencyRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(QString, address1);
    QFETCH(QString, address2);
    writeAgency(session(), {name, address1, address2});
    QCOMPARE(readAgency(session()), (AgencyInfo{name, address1, address2}));
    // Still the one row: the window edits the agency, it never adds another.
    QCOMPARE(session().scalar(QStringLiteral("SELECT count(*) FROM [Agency]")).toInt(), 1);
}

void tst_AgencySettings::agencyRowAddedWhenMissing()
{
    session().deleteAll(QStringLiteral("Agency"));
    QCOMPARE(readAgency(session()), AgencyInfo{});
    writeAgency(session(), {QStringLiteral("Shelbyville"), QStringLiteral("1 Elm"), QString()});
    QCOMPARE(readAgency(session()).name, QStringLiteral("Shelbyville"));
    QCOMPARE(session().scalar(QStringLiteral("SELECT count(*) FROM [Agency]")).toInt(), 1);
}

void tst_AgencySettings::storedOptionReadsAsTick_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("on");
    QTest::newRow("1") << QVariant(QStringLiteral("1")) << true;
    QTest::newRow("0") << QVariant(QStringLiteral("0")) << false;
    QTest::newRow("null") << QVariant() << false;
    QTest::newRow("empty") << QVariant(QStringLiteral("")) << false;
    QTest::newRow("leading blank") << QVariant(QStringLiteral(" 1")) << true;
    QTest::newRow("2 is no tick") << QVariant(QStringLiteral("2")) << false;
    QTest::newRow("number 1") << QVariant(1) << true;
}

void tst_AgencySettings::storedOptionReadsAsTick()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, on);
    session().exec(QStringLiteral("UPDATE [Radar] SET [Print_Name] = ?, [Print_Date] = ?"),
                   {stored, stored});
    const ReportOptions options = readReportOptions(session());
    QCOMPARE(options.printName, on);
    QCOMPARE(options.printDate, on);
}

void tst_AgencySettings::optionsStoredAsOneAndZero_data()
{
    QTest::addColumn<bool>("printName");
    QTest::addColumn<bool>("printDate");
    QTest::newRow("both") << true << true;
    QTest::newRow("name only") << true << false;
    QTest::newRow("date only") << false << true;
    QTest::newRow("none") << false << false;
}

void tst_AgencySettings::optionsStoredAsOneAndZero()
{
    QFETCH(bool, printName);
    QFETCH(bool, printDate);
    writeReportOptions(session(), {printName, printDate});
    QSqlQuery q = session().exec(
        QStringLiteral("SELECT [Print_Name], [Print_Date], [radar_mode] FROM [Radar]"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), printName ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(q.value(1).toString(), printDate ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("MPH")); // the unit is the import's
    QVERIFY(!q.next());
    QCOMPARE(readReportOptions(session()), (ReportOptions{printName, printDate}));
}

void tst_AgencySettings::oneOptionLeavesTheOther()
{
    writePrintDate(session(), true);
    QCOMPARE(readReportOptions(session()), (ReportOptions{false, true}));
    writePrintName(session(), true);
    writePrintDate(session(), false);
    QCOMPARE(readReportOptions(session()), (ReportOptions{true, false}));
}

void tst_AgencySettings::placeholderOnlyForEmptyTable()
{
    QCOMPARE(readOfficers(session()).size(), 0);
    const QVector<OfficerRow> first = rebuildOfficerList(session());
    QCOMPARE(first.size(), 1);
    QCOMPARE(first.first().name, QStringLiteral("(Officer Name)"));
    // The placeholder is a row now: another rebuild adds nothing.
    QCOMPARE(rebuildOfficerList(session()), first);

    addOfficer(session(), QStringLiteral("Sgt. Pepper"));
    QCOMPARE(officerNames(),
             (QStringList{QStringLiteral("(Officer Name)"), QStringLiteral("Sgt. Pepper")}));
}

void tst_AgencySettings::officerNamesRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Lt. Frank Drebin";
    QTest::newRow("single quote") << "O'Brien";
    QTest::newRow("two quotes") << "D'Angelo-O'Neil";
    QTest::newRow("quote at the end") << "Jones'";
    QTest::newRow("statement text") << "x'; DELETE FROM [Officer]; --";
    QTest::newRow("double quote") << "\"Dirty\" Harry";
    QTest::newRow("percent and underscore") << "100%_sure";
    QTest::newRow("accents") << QStringLiteral("Zoë Ørsted");
}

void tst_AgencySettings::officerNamesRoundTrip()
{
    QFETCH(QString, name);
    addOfficer(session(), QStringLiteral("Before"));
    const OfficerRow added = addOfficer(session(), name);
    addOfficer(session(), QStringLiteral("After"));
    QCOMPARE(officerNames(),
             (QStringList{QStringLiteral("Before"), name, QStringLiteral("After")}));

    const std::optional<OfficerRow> found = findOfficer(session(), name);
    QVERIFY(found);
    QCOMPARE(*found, added);

    QVERIFY(deleteOfficer(session(), found->id));
    QCOMPARE(officerNames(), (QStringList{QStringLiteral("Before"), QStringLiteral("After")}));
    QVERIFY(!findOfficer(session(), name));
}

void tst_AgencySettings::findIsExactAndFirst()
{
    const OfficerRow first = addOfficer(session(), QStringLiteral("Smith"));
    addOfficer(session(), QStringLiteral("Smith"));
    addOfficer(session(), QStringLiteral("smith"));
    QCOMPARE(findOfficer(session(), QStringLiteral("Smith"))->id, first.id);
    QVERIFY(findOfficer(session(), QStringLiteral("smith"))->id != first.id);
    QVERIFY(!findOfficer(session(), QStringLiteral("Smit")));
    QVERIFY(!findOfficer(session(), QStringLiteral("Smith ")));
    // Deleting one of two namesakes leaves the other.
    QVERIFY(deleteOfficer(session(), first.id));
    QCOMPARE(officerNames(), (QStringList{QStringLiteral("Smith"), QStringLiteral("smith")}));
    QVERIFY(!deleteOfficer(session(), first.id));
}

void tst_AgencySettings::duplicateOfficerName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("taken");
    QTest::newRow("same name") << "Sgt. Smith" << true;
    QTest::newRow("other case") << "SGT. SMITH" << true;
    QTest::newRow("blanks around") << "  Sgt. Smith " << true;
    QTest::newRow("another name") << "Sgt. Smithers" << false;
    QTest::newRow("the row's own name") << "Lt. Jones" << false;
}

void tst_AgencySettings::duplicateOfficerName()
{
    QFETCH(QString, name);
    QFETCH(bool, taken);
    addOfficer(session(), QStringLiteral("Sgt. Smith"));
    const OfficerRow own = addOfficer(session(), QStringLiteral("Lt. Jones"));
    // Checked as the window checks a rename of the row own.
    const QString problem = officerNameProblem(session(), name, own.id);
    QCOMPARE(!problem.isEmpty(), taken);
    if (taken)
        QVERIFY(problem.contains(name.trimmed()));
    // A new officer of the row's own name is a namesake.
    QVERIFY(!officerNameProblem(session(), QStringLiteral("lt. jones")).isEmpty());
}

void tst_AgencySettings::rowWithoutNameIsFoundAsEmpty()
{
    session().exec(QStringLiteral("INSERT INTO [Officer] ([Admin_Officer]) VALUES (NULL)"));
    const QVector<OfficerRow> rows = rebuildOfficerList(session()); // not empty: no placeholder
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().name, QString());
    QCOMPARE(findOfficer(session(), QString())->id, rows.first().id);
}

void tst_AgencySettings::renameAndDeleteByRow()
{
    const OfficerRow row = addOfficer(session(), QStringLiteral("Obrien"));
    QVERIFY(renameOfficer(session(), row.id, QStringLiteral("O'Brien")));
    QCOMPARE(officerNames(), QStringList{QStringLiteral("O'Brien")});
    QVERIFY(deleteOfficer(session(), row.id));
    QVERIFY(!renameOfficer(session(), row.id, QStringLiteral("Gone")));
    QCOMPARE(officerNames(), QStringList{});
}

void tst_AgencySettings::reportsReadWhatTheWindowStores()
{
    writeAgency(session(), {QStringLiteral("Town of O'Hare"), QStringLiteral("Suite 1"),
                            QStringLiteral("Box 2")});
    writeReportOptions(session(), {true, false});
    addOfficer(session(), QStringLiteral("O'Brien"));
    addOfficer(session(), QStringLiteral("Second"));

    ReportFrame frame = readReportFrame(session());
    QCOMPARE(frame.agency, QStringLiteral("Town of O'Hare"));
    QCOMPARE(frame.address1, QStringLiteral("Suite 1"));
    QCOMPARE(frame.address2, QStringLiteral("Box 2"));
    QVERIFY(frame.includeOfficer);
    QVERIFY(!frame.includeDate);
    QCOMPARE(frame.officer, QStringLiteral("O'Brien")); // the first row, as the main window shows
    QCOMPARE(signatureFooterText(frame), QStringLiteral("Report Prepared By: O'Brien"));

    writeReportOptions(session(), {false, true});
    frame = readReportFrame(session(), QStringLiteral("Second"));
    QCOMPARE(frame.officer, QStringLiteral("Second"));
    QVERIFY(!frame.includeOfficer);
    QVERIFY(frame.includeDate);
}

QTEST_GUILESS_MAIN(tst_AgencySettings)
#include "tst_AgencySettings.moc"

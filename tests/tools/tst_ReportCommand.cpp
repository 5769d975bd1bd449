// roadtally-cli report, run in process on the known surveys: options, clear
// failures that leave nothing behind, and what the PDF says.
#include "cli/CommandLineTool.h"
#include "fixtures/ViewsFixture.h"

#include "core/reports/ReportCaptions.h"
#include "core/reports/SpeedProfile.h"
#include "core/reports/SpeedZoneStudy.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace roadtally;
using namespace roadtally::testing;

class tst_ReportCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void usageErrors_data();
    void usageErrors();
    void failures_data();
    void failures();
    void failureKeepsAnExistingFile();
    void onePagePdf_data();
    void onePagePdf();
    void profilePdf();
    void studyInputOfTheStoredSurvey();
    void captionsOfTheStoredSurvey();
    void frameFromTheDatabase();

private:
    int run(const QStringList &arguments);
    QString pdfText(const QString &path);

    QTemporaryDir m_dir;
    QString m_out;
    QString m_err;
};

void tst_ReportCommand::init()
{
    QVERIFY(m_dir.isValid());
    const QString database = m_dir.filePath(QStringLiteral("OV97.mdb"));
    if (!QFile::exists(database)) {
        QCOMPARE(writeKnownSurveys(database), QString());
        DatabaseSession s(database);
        s.exec(QStringLiteral("UPDATE [Radar] SET [Print_Name] = '1', [Print_Date] = '1'"));
        s.exec(QStringLiteral("UPDATE [Agency] SET [Addr1] = ?, [Addr2] = ?"),
               {QStringLiteral("12 Harbor Road"), QStringLiteral("Brookhaven, NY 11719")});
        // A second officer, who may sign with --officer.
        s.exec(QStringLiteral("INSERT INTO [Officer] ([Admin_Officer]) VALUES (?)"),
               {QStringLiteral("Officer Pat O'Neil")});
        // Three speeding vehicles, stored in this order: "?" only with both directions.
        const QVariantList rows[] = {
            {MphBatch, QStringLiteral("12/30/25"), QStringLiteral("08:01:10 AM"),
             QStringLiteral("40"), QStringLiteral("--"), QStringLiteral("--"), QStringLiteral("+")},
            {MphBatch, QStringLiteral("12/30/25"), QStringLiteral("08:00:05 AM"),
             QStringLiteral("--"), QStringLiteral("47"), QStringLiteral("--"), QStringLiteral("-")},
            {MphBatch, QStringLiteral("12/31/25"), QStringLiteral("11:59:59 PM"),
             QStringLiteral("--"), QStringLiteral("--"), QStringLiteral("73"), QStringLiteral("?")},
        };
        for (const QVariantList &row : rows)
            s.exec(QStringLiteral(
                       "INSERT INTO [Speed_Profile] ([Batch_Number], [Date], [Time], [speed_Over], "
                       "[Plus10], [Plus20], [Dir]) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                   row);
    }
    m_out.clear();
    m_err.clear();
}

int tst_ReportCommand::run(const QStringList &arguments)
{
    QTextStream out(&m_out), err(&m_err);
    const int code =
        CommandLineTool(out, err).run(QStringList{QStringLiteral("report")} + arguments);
    out.flush();
    err.flush();
    return code;
}

QString tst_ReportCommand::pdfText(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

void tst_ReportCommand::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString folder = QStringLiteral("--folder=x");
    QTest::newRow("no pdf") << QStringList{folder, QStringLiteral("--batch=B"),
                                           QStringLiteral("--report=summary")}
                            << "missing --pdf";
    QTest::newRow("no report") << QStringList{folder, QStringLiteral("--batch=B"),
                                              QStringLiteral("--pdf=o.pdf")}
                               << "missing --report";
    QTest::newRow("unknown report")
        << QStringList{folder, QStringLiteral("--batch=B"), QStringLiteral("--pdf=o.pdf"),
                       QStringLiteral("--report=monthly")}
        << "--report must be one of";
    QTest::newRow("bad direction")
        << QStringList{folder, QStringLiteral("--batch=B"), QStringLiteral("--pdf=o.pdf"),
                       QStringLiteral("--report=summary"), QStringLiteral("--direction=north")}
        << "--direction must be";
    QTest::newRow("bad printer") << QStringList{folder, QStringLiteral("--batch=B"),
                                                QStringLiteral("--pdf=o.pdf"),
                                                QStringLiteral("--report=summary"),
                                                QStringLiteral("--printer=mono")}
                                 << "--printer must be";
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--colour")} << "unknown option";
}

void tst_ReportCommand::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QCOMPARE(run(arguments), 2);
    QVERIFY2(m_err.contains(message), qPrintable(m_err));
}

void tst_ReportCommand::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown batch")
        << QStringList{QStringLiteral("--batch"), QStringLiteral("010101-Z")}
        << "there is no survey 010101-Z in ";
    QTest::newRow("scheme of the other unit")
        << QStringList{QStringLiteral("--scheme"), QStringLiteral("35 to 90 by 5 KPH")}
        << "no display scheme \"35 to 90 by 5 KPH\" for a MPH survey; choose one of: 1 to 25 by 2 "
           "MPH";
    QTest::newRow("officer not on the list")
        << QStringList{QStringLiteral("--officer"), QStringLiteral("Lt. Nobody")}
        << "Lt. Nobody is not on the officer list";
    QTest::newRow("unwritable output")
        << QStringList{QStringLiteral("--pdf"), QStringLiteral("no/such/folder/out.pdf")}
        << "cannot write";
}

void tst_ReportCommand::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QStringList all{QStringLiteral("--folder"), m_dir.path(), QStringLiteral("--report"),
                    QStringLiteral("summary")};
    if (!arguments.contains(QStringLiteral("--batch")))
        all << QStringLiteral("--batch") << MphBatch;
    if (!arguments.contains(QStringLiteral("--pdf")))
        all << QStringLiteral("--pdf") << m_dir.filePath(QStringLiteral("failed.pdf"));
    QCOMPARE(run(all + arguments), 1);
    QVERIFY2(m_err.contains(message), qPrintable(m_err));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("failed.pdf"))));
}

void tst_ReportCommand::failureKeepsAnExistingFile()
{
    const QString pdf = m_dir.filePath(QStringLiteral("kept.pdf"));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("earlier report");
    file.close();
    QCOMPARE(run({QStringLiteral("--folder"), m_dir.path(), QStringLiteral("--batch"),
                  QStringLiteral("999999-Q"), QStringLiteral("--report"), QStringLiteral("summary"),
                  QStringLiteral("--pdf"), pdf}),
             1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("earlier report"));
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("*.pdf*")}, QDir::Files),
             QStringList{QStringLiteral("kept.pdf")});
}

void tst_ReportCommand::onePagePdf_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("expected");
    const QString address = QStringLiteral("Brookhaven, NY 11719");
    QTest::newRow("summary defaults: approaching, scheme A")
        << QStringLiteral("summary") << QStringList{}
        << QStringList{address, QStringLiteral("Display Scheme: 15 to 70 by 5 MPH"),
                       QStringLiteral("Approaching Vehicles Only"),
                       QStringLiteral("Total Vehicles: 113"),
                       QStringLiteral("Report Prepared By: Sgt. Dana Whitfield")};
    QTest::newRow("summary both, another scheme and officer")
        << QStringLiteral("summary")
        << QStringList{QStringLiteral("--direction"), QStringLiteral("both"),
                       QStringLiteral("--scheme"),    QStringLiteral("20 to 42 by 2 MPH"),
                       QStringLiteral("--officer"),   QStringLiteral("Officer Pat O'Neil")}
        << QStringList{address, QStringLiteral("Display Scheme: 20 to 42 by 2 MPH"),
                       QStringLiteral("Vehicles Both Directions"),
                       QStringLiteral("Report Prepared By: Officer Pat O'Neil"),
                       QStringLiteral("29 to 39")};
    // As the tab opens: approaching vehicles.
    QTest::newRow("study default: approaching")
        << QStringLiteral("study") << QStringList{}
        << QStringList{QStringLiteral("Speed Zone Study"),
                       QStringLiteral("Vehicles Studied: Approaching Vehicles Only"),
                       QStringLiteral("Posted Speed Limit: 035"),
                       QStringLiteral("Report Prepared By: Sgt. Dana Whitfield")};
    QTest::newRow("study receding")
        << QStringLiteral("study")
        << QStringList{QStringLiteral("--direction"), QStringLiteral("receding")}
        << QStringList{QStringLiteral("Receding Vehicles Only"), QStringLiteral("31 to 41 mph")};
}

void tst_ReportCommand::onePagePdf()
{
    QFETCH(QString, report);
    QFETCH(QStringList, options);
    QFETCH(QStringList, expected);
    const QString pdf = m_dir.filePath(report + QStringLiteral(".pdf"));
    QCOMPARE(run(QStringList{QStringLiteral("--folder"), m_dir.path(), QStringLiteral("--batch"),
                             MphBatch, QStringLiteral("--report"), report, QStringLiteral("--pdf"),
                             pdf} +
                 options),
             0);
    QVERIFY2(m_out.contains(QStringLiteral("(1 page)")), qPrintable(m_out + m_err));
    const QString text = pdfText(pdf);
    if (text.isEmpty())
        QSKIP("pdftotext is not installed");
    for (const QString &words : expected)
        QVERIFY2(text.contains(words), qPrintable(words + QStringLiteral("\n") + text));
    QVERIFY(text.contains(QStringLiteral("City of Brookhaven Police Department")));
}

void tst_ReportCommand::profilePdf()
{
    const QString pdf = m_dir.filePath(QStringLiteral("profile.pdf"));
    QCOMPARE(
        run({QStringLiteral("--folder"), m_dir.path(), QStringLiteral("--batch"), MphBatch,
             QStringLiteral("--report"), QStringLiteral("profile"), QStringLiteral("--direction"),
             QStringLiteral("receding"), QStringLiteral("--pdf"), pdf}),
        0);
    const QString text = pdfText(pdf);
    if (text.isEmpty())
        QSKIP("pdftotext is not installed");
    QVERIFY(text.contains(QStringLiteral("Batch # 123025-A")));
    QVERIFY(text.contains(QStringLiteral("035+")));
    QVERIFY(text.contains(QStringLiteral("08:00:05 AM")));
    QVERIFY(!text.contains(QStringLiteral("08:01:10 AM"))); // approaching
    QVERIFY(!text.contains(QStringLiteral("11:59:59 PM"))); // no direction: only with both
    QVERIFY(text.contains(QStringLiteral("035+ mph")));
    QVERIFY(text.contains(QStringLiteral("Page 1 of 1")));
}

void tst_ReportCommand::studyInputOfTheStoredSurvey()
{
    DatabaseSession s(m_dir.filePath(QStringLiteral("OV97.mdb")));
    const std::optional<SpeedZoneStudyInput> in = readSpeedZoneStudyInput(
        s, MphBatch + QStringLiteral(" "), SurveyDirection::Both, QStringLiteral("Lt. Kim"));
    QVERIFY(in);
    QCOMPARE(in->direction, SurveyDirection::Both);
    QCOMPARE(in->study.direction, SurveyDirection::Both);
    QCOMPARE(in->study.n, qint64(113));
    QCOMPARE(in->facts.batch, MphBatch);
    QCOMPARE(in->frame.officer, QStringLiteral("Lt. Kim"));
    QCOMPARE(in->study.programP85.text, QStringLiteral("40"));
    QVERIFY(!readSpeedZoneStudyInput(s, QStringLiteral("999999-Z"), SurveyDirection::Both));
}

void tst_ReportCommand::captionsOfTheStoredSurvey()
{
    DatabaseSession s(m_dir.filePath(QStringLiteral("OV97.mdb")));
    const std::optional<SurveyCaptions> survey =
        readSurveyCaptions(s, MphBatch + QStringLiteral("  "));
    QVERIFY(survey); // trailing blanks do not count
    const SurveyFacts facts = surveyFacts(*survey);
    QCOMPARE(facts.location, QStringLiteral("Maple Avenue at 5th Street"));
    QCOMPARE(facts.direction, QStringLiteral("Northbound"));
    QCOMPARE(facts.postedLimit, QStringLiteral("035"));
    QCOMPARE(facts.endDate, QStringLiteral("01/02/26"));
    QCOMPARE(facts.totalTime, QStringLiteral("72:00"));
    const SpeedStatistics a = speedStatistics(*survey, SurveyDirection::Approaching);
    QCOMPARE(a.over, QStringLiteral("32"));
    QCOMPARE(a.atOrUnder, QStringLiteral("68"));
    QCOMPARE(a.average, QStringLiteral("34.0"));
    QCOMPARE(a.bandHeadings[0], QStringLiteral("035+"));
    QCOMPARE(a.bandHeadings[2], QStringLiteral("55+"));
    QCOMPARE(a.bandNumbers[3], QStringLiteral("32"));
    const SpeedStatistics r = speedStatistics(*survey, SurveyDirection::Receding);
    QCOMPARE(r.pace, QStringLiteral("31 to 41"));
    QCOMPARE(r.atOrUnder, QStringLiteral("4"));
    QCOMPARE(directionTotal(surveyTotals(*survey), SurveyDirection::Receding),
             QStringLiteral("12"));
    // Rows of the speeding profile in the order stored.
    const TextRecords both = speedProfileRows(s, MphBatch, SurveyDirection::Both);
    QCOMPARE(both.rows(), 3);
    QCOMPARE(both.field(0, 1), QStringLiteral("08:01:10 AM"));
    QCOMPARE(both.field(2, 5), QStringLiteral("?"));
    QCOMPARE(speedProfileRows(s, MphBatch, SurveyDirection::Approaching).rows(), 1);
}

void tst_ReportCommand::frameFromTheDatabase()
{
    DatabaseSession s(m_dir.filePath(QStringLiteral("OV97.mdb")));
    ReportFrame frame = readReportFrame(s);
    QCOMPARE(frame.agency, QStringLiteral("City of Brookhaven Police Department"));
    QCOMPARE(frame.address1, QStringLiteral("12 Harbor Road"));
    QCOMPARE(frame.officer, QStringLiteral("Sgt. Dana Whitfield"));
    QVERIFY(frame.includeOfficer && frame.includeDate);
    s.exec(QStringLiteral("UPDATE [Radar] SET [Print_Name] = '0'"));
    frame = readReportFrame(s, QStringLiteral("Lt. Kim"));
    QVERIFY(!frame.includeOfficer);
    QCOMPARE(frame.officer, QStringLiteral("Lt. Kim"));
    s.exec(QStringLiteral("UPDATE [Radar] SET [Print_Name] = '1'"));
}

QTEST_MAIN(tst_ReportCommand)
#include "tst_ReportCommand.moc"

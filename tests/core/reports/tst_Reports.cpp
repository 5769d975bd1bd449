// Every report on a fixed input, item by item against a golden dump under
// tests/data/reports/<case>/ (set ROADTALLY_UPDATE_GOLDEN=1 to write a missing or
// changed dump, then read it against the report's layout before committing),
// and the shared frame: the signature footer's options, the stop on an engine error.
#include "fixtures/ReportInputs.h"

#include "core/reports/PageDump.h"
#include "core/reports/PagePainter.h"
#include "core/reports/PdfOutput.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::testing;

namespace {

using Build = std::function<bool(DocumentEngine &)>;

QString goldenPath(const QString &name)
{
    return QStringLiteral(ROADTALLY_TEST_DATA "/reports/%1/pages.txt").arg(name);
}

QString build(const Build &report, bool *built = nullptr, const QString &name = QString())
{
    DocumentEngine vp;
    SetDefaultStyle(vp);
    const bool ok = report(vp);
    if (built)
        *built = ok;
    // ROADTALLY_REPORT_PDF_DIR=DIR also writes each golden report as DIR/<name>.pdf, to look at.
    const QString pdfFolder = qEnvironmentVariable("ROADTALLY_REPORT_PDF_DIR");
    if (!name.isEmpty() && !pdfFolder.isEmpty() && vp.document())
        writePdf(*vp.document(), QDir(pdfFolder).filePath(name + QStringLiteral(".pdf")), name);
    return vp.document() ? dumpDocument(*vp.document()) : QString();
}

} // namespace

class tst_Reports : public QObject
{
    Q_OBJECT

private slots:
    void golden_data();
    void golden();
    void footer_data();
    void footer();
    void engineErrorStopsTheReport_data();
    void engineErrorStopsTheReport();
    void summaryCaptionFollowsTheDirection_data();
    void summaryCaptionFollowsTheDirection();
    void fifteenMinuteDayWithoutRowsEndsAfterTheDateLine();
    void profileOfAnySize();
    void pagesPaintWithoutFault();
    void cellTextsPaintAsText_data();
    void cellTextsPaintAsText();
    void everyRowInThePdfText();
    void studyStaysOnOnePage_data();
    void studyStaysOnOnePage();
};

void tst_Reports::golden_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Build>("report");
    QTest::newRow("summary") << "summary" << Build([](DocumentEngine &vp) {
        return ReportSummary(vp, summaryInput());
    });
    QTest::newRow("fifteen both") << "fifteen-both" << Build([](DocumentEngine &vp) {
        return Report15min(vp, fifteenInput(SurveyDirection::Both));
    });
    QTest::newRow("fifteen approaching") << "fifteen-approaching" << Build([](DocumentEngine &vp) {
        return Report15min(vp, fifteenInput(SurveyDirection::Approaching));
    });
    QTest::newRow("weekly") << "weekly" << Build([](DocumentEngine &vp) {
        return ReportWeekly(vp, weeklyInput());
    });
    QTest::newRow("percentile") << "percentile" << Build([](DocumentEngine &vp) {
        return Percent85_Graph(vp, chartInput());
    });
    QTest::newRow("speeds") << "speeds" << Build([](DocumentEngine &vp) {
        return TrafficFlow_Graph(vp, chartInput());
    });
    QTest::newRow("volume") << "volume" << Build([](DocumentEngine &vp) {
        return DailyVolume_Graph(vp, dailyVolumeInput());
    });
    QTest::newRow("profile") << "profile" << Build([](DocumentEngine &vp) {
        SpeedProfile(vp, profileInput(130));
        return true;
    });
    QTest::newRow("profile empty") << "profile-empty" << Build([](DocumentEngine &vp) {
        SpeedProfile(vp, profileInput(0));
        return true;
    });
    QTest::newRow("study") << "study" << Build([](DocumentEngine &vp) {
        return SpeedZoneStudy(vp, studyInput(fixedStudyCounts()));
    });
    QTest::newRow("study without vehicles")
        << "study-empty"
        << Build([](DocumentEngine &vp) { return SpeedZoneStudy(vp, studyInput({})); });
}

void tst_Reports::golden()
{
    QFETCH(QString, name);
    QFETCH(Build, report);
    bool built = false;
    const QString dump = build(report, &built, name);
    QVERIFY(built);
    QFile file(goldenPath(name));
    const bool write = qEnvironmentVariableIntValue("ROADTALLY_UPDATE_GOLDEN") == 1;
    if (write) {
        QDir().mkpath(QFileInfo(file).path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(dump.toUtf8());
        file.close();
    }
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QStringList expected = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    const QStringList actual = dump.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i)
        QVERIFY2(expected.at(i) == actual.at(i),
                 qPrintable(QStringLiteral("line %1\n expected: %2\n actual:   %3")
                                .arg(i + 1)
                                .arg(expected.at(i), actual.at(i))));
    QCOMPARE(actual.size(), expected.size());
}

void tst_Reports::footer_data()
{
    QTest::addColumn<bool>("officer");
    QTest::addColumn<bool>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("both") << true << true
                          << "Report Prepared By: Sgt. Dana O'Brien,    Mar 05, 2004";
    QTest::newRow("officer only") << true << false << "Report Prepared By: Sgt. Dana O'Brien";
    QTest::newRow("date only") << false << true << ",    Mar 05, 2004";
    QTest::newRow("none") << false << false << "";
}

void tst_Reports::footer()
{
    QFETCH(bool, officer);
    QFETCH(bool, date);
    QFETCH(QString, text);
    ReportSummaryInput in = summaryInput();
    in.frame.includeOfficer = officer;
    in.frame.includeDate = date;
    QCOMPARE(signatureFooterText(in.frame), text);
    DocumentEngine vp;
    SetDefaultStyle(vp);
    QVERIFY(ReportSummary(vp, in));
    const Document &doc = *vp.document();
    const std::vector<TextRun> runs = headerFooterRuns(doc, 1);
    if (text.isEmpty()) {
        QVERIFY(runs.empty());
        return;
    }
    QCOMPARE(runs.size(), size_t(1));
    QCOMPARE(runs[0].text, text);
    QCOMPARE(runs[0].x, 1008.0); // the left part, at the report's left margin
    QCOMPARE(doc.fonts.spec(runs[0].font), (FontSpec{QStringLiteral("Arial"), 9, false, false}));
}

void tst_Reports::engineErrorStopsTheReport_data()
{
    QTest::addColumn<Build>("report");
    QTest::newRow("summary") << Build(
        [](DocumentEngine &vp) { return ReportSummary(vp, summaryInput()); });
    QTest::newRow("fifteen") << Build(
        [](DocumentEngine &vp) { return Report15min(vp, fifteenInput(SurveyDirection::Both)); });
    QTest::newRow("weekly") << Build(
        [](DocumentEngine &vp) { return ReportWeekly(vp, weeklyInput()); });
    QTest::newRow("percentile") << Build(
        [](DocumentEngine &vp) { return Percent85_Graph(vp, chartInput()); });
    QTest::newRow("speeds") << Build(
        [](DocumentEngine &vp) { return TrafficFlow_Graph(vp, chartInput()); });
    QTest::newRow("volume") << Build(
        [](DocumentEngine &vp) { return DailyVolume_Graph(vp, dailyVolumeInput()); });
    QTest::newRow("study") << Build(
        [](DocumentEngine &vp) { return SpeedZoneStudy(vp, studyInput(fixedStudyCounts())); });
}

void tst_Reports::engineErrorStopsTheReport()
{
    QFETCH(Build, report);
    DocumentEngine vp;
    SetDefaultStyle(vp);
    vp.setDeviceError(DocumentEngine::DeviceFailure);
    QVERIFY(!report(vp));
    QVERIFY(!vp.document()); // nothing drawn
    // The same engine builds the report once the device is ready again.
    vp.setDeviceError(0);
    QVERIFY(report(vp));
    QCOMPARE(vp.pageCount(), 1);
}

void tst_Reports::summaryCaptionFollowsTheDirection_data()
{
    QTest::addColumn<int>("direction"); // -1 none
    QTest::addColumn<QString>("caption");
    QTest::newRow("approaching")
        << 0 << "Display Scheme: 15 to 70 by 5 MPH         -         Approaching Vehicles Only";
    QTest::newRow("receding")
        << 1 << "Display Scheme: 15 to 70 by 5 MPH         -         Receding Vehicles Only";
    QTest::newRow("both")
        << 2 << "Display Scheme: 15 to 70 by 5 MPH         -         Vehicles Both Directions";
    QTest::newRow("none") << -1 << "";
}

void tst_Reports::summaryCaptionFollowsTheDirection()
{
    QFETCH(int, direction);
    QFETCH(QString, caption);
    ReportSummaryInput in = summaryInput();
    in.direction = direction < 0 ? DirectionChoice() : DirectionChoice(SurveyDirection(direction));
    in.statistics.bandNumbers = {};
    in.volumes = {}; // empty values leave empty cells; the shape stays
    const QString dump = build([&](DocumentEngine &vp) { return ReportSummary(vp, in); });
    QCOMPARE(dump.contains(QStringLiteral("Display Scheme: ")), !caption.isEmpty());
    if (!caption.isEmpty())
        QVERIFY(dump.contains(QStringLiteral("\"%1\"\n").arg(caption)));
    QCOMPARE(dump.count(QStringLiteral("  cell ")), 14 * 3 + 1 + 6 + 5 + 4 * 11);
}

void tst_Reports::fifteenMinuteDayWithoutRowsEndsAfterTheDateLine()
{
    Report15minInput in = fifteenInput(SurveyDirection::Receding);
    in.rows = TextRecords(6);
    const QString dump = build([&](DocumentEngine &vp) { return Report15min(vp, in); });
    QVERIFY(dump.contains(QStringLiteral("\"Date: Wednesday, Dec 31\"")));
    QVERIFY(dump.contains(QStringLiteral("\"(Receding Vehicles Only)\"")));
    QVERIFY(!dump.contains(QStringLiteral("table ")));
    QVERIFY(!dump.contains(QStringLiteral("Total AM")));
    QVERIFY(!dump.contains(QStringLiteral("page-footer")));
}

void tst_Reports::profileOfAnySize()
{
    // Past the 16-bit count of the original: every row prints.
    const int n = 33000;
    DocumentEngine vp;
    SetDefaultStyle(vp);
    SpeedProfileInput in = profileInput(n);
    SpeedProfile(vp, in);
    const Document &doc = *vp.document();
    const DocumentTable &table = *doc.tables.at(0);
    QCOMPARE(table.bodyRows(), n);
    // Two columns of equal rows a page.
    const TableSlice &first = std::get<TableSlice>(doc.pages[0].items.at(0));
    const int perColumn = first.lastRow;
    QCOMPARE(doc.pageCount(), (n + 2 * perColumn - 1) / (2 * perColumn));
    const QString last = dumpPage(doc, doc.pageCount() - 1);
    QVERIFY(last.contains(QStringLiteral("  cell %1,2 ").arg(n)));
    QVERIFY(last.contains(QStringLiteral("\"%1\"").arg(in.rows.field(n - 1, 1))));
    QVERIFY(last.contains(QStringLiteral("page-footer")));
    QVERIFY(last.contains(QStringLiteral("Page %1 of %1\"").arg(doc.pageCount())));
}

void tst_Reports::pagesPaintWithoutFault()
{
    // Every report paints onto an image with ink where its items are.
    const Build reports[] = {
        [](DocumentEngine &vp) { return ReportSummary(vp, summaryInput()); },
        [](DocumentEngine &vp) { return Report15min(vp, fifteenInput(SurveyDirection::Both)); },
        [](DocumentEngine &vp) { return ReportWeekly(vp, weeklyInput()); },
        [](DocumentEngine &vp) { return DailyVolume_Graph(vp, dailyVolumeInput()); },
    };
    for (const Build &report : reports) {
        DocumentEngine vp;
        SetDefaultStyle(vp);
        QVERIFY(report(vp));
        const QImage image = renderPage(*vp.document(), 0, 60);
        QCOMPARE(image.size(), QSize(510, 660));
        int ink = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                ink += image.pixelColor(x, y) != QColor(Qt::white);
        QVERIFY(ink > 500);
    }
}

void tst_Reports::cellTextsPaintAsText_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("profile cells")
        << QStringList{u"12/30/25"_s, u"08:00:00 AM"_s, u"--"_s, u"36"_s, u"+"_s, u"?"_s};
    QTest::newRow("kerned pairs and blanks")
        << QStringList{u"AV To"_s, u" Ay "_s, u"PM"_s, u"Wa. Yo"_s, u"LT ff fi"_s, u"a  b"_s};
    QTest::newRow("other scripts")
        << QStringList{u"\u00c5ngstr\u00f6m"_s, u"\u03a9\u03bc\u03ad\u03b3\u03b1"_s,
                       u"\u8eca\u9053"_s, u"e\u0301"_s, u"\u05e9\u05dc\u05d5\u05dd"_s};
    QTest::newRow("wider than the cell") << QStringList{u"a text far wider than its narrow cell"_s,
                                                        u"ok"_s, u"WWWWWWWWWWWWWWWWWW"_s};
}

void tst_Reports::cellTextsPaintAsText()
{
    // The cells' glyphs, drawn many at a time, land where drawing each text
    // on its own puts them.
    QFETCH(QStringList, texts);
    DocumentEngine vp;
    SetDefaultStyle(vp);
    vp.BeginDocument();
    vp.setTableRules(0);
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("1400|^1400|1400"), QStringLiteral("Head|Centred|Right;"),
                   QString());
    TextRecords rows(3);
    for (int i = 0; i < texts.size() * 3; ++i)
        rows.append(QStringList{texts[i % texts.size()], texts[(i + 1) % texts.size()],
                                texts[(i + 2) % texts.size()]});
    vp.AppendTableRows(QString(), QString(), rows);
    vp.SetCell(DocumentEngine::RowEmphasis, 0, true);
    vp.SetCell(DocumentEngine::CellAlignment, -1, 3, 8);
    vp.FinishTable();
    vp.FinishDocument();
    const Document &doc = *vp.document();

    const double dpi = 150;
    const QImage painted = renderPage(doc, 0, dpi);
    QImage expected(painted.size(), painted.format());
    expected.fill(Qt::white);
    {
        QPainter p(&expected);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(dpi / TwipsPerInch, dpi / TwipsPerInch);
        p.setPen(Qt::black);
        for (const PageItem &item : doc.pages[0].items) {
            const auto *slice = std::get_if<TableSlice>(&item);
            if (!slice)
                continue;
            const DocumentTable &table = *doc.tables[slice->table];
            forEachCell(table, *slice, [&](const CellPlace &cell) {
                const QString text = table.text(cell.row, cell.column);
                const CellTextPlace place = cellTextPlace(doc, table, cell, text);
                p.save();
                p.setClipRect(cell.rect);
                p.setFont(doc.fonts.font(place.font));
                p.drawText(place.baseline, text);
                p.restore();
            });
        }
    }
    int differing = 0, ink = 0;
    for (int y = 0; y < painted.height(); ++y)
        for (int x = 0; x < painted.width(); ++x) {
            const QRgb a = painted.pixel(x, y), b = expected.pixel(x, y);
            ink += qGray(b) < 128;
            differing += qAbs(qGray(a) - qGray(b)) > 96;
        }
    QVERIFY(ink > 200);
    QVERIFY2(differing * 50 < ink, qPrintable(QStringLiteral("%1 of %2").arg(differing).arg(ink)));
}

void tst_Reports::everyRowInThePdfText()
{
    // Every row of a long list can be read back from the PDF, the texts on the
    // right page: glyphs drawn many at a time keep their characters.
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    const int n = 500;
    DocumentEngine vp;
    SetDefaultStyle(vp);
    const SpeedProfileInput in = profileInput(n);
    SpeedProfile(vp, in);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("profile.pdf"));
    QCOMPARE(writePdf(*vp.document(), pdf), QString());
    const DocumentTable &table = *vp.document()->tables.at(0);
    for (int page = 0; page < vp.pageCount(); ++page) {
        QProcess p;
        p.start(pdftotext,
                {QStringLiteral("-f"), QString::number(page + 1), QStringLiteral("-l"),
                 QString::number(page + 1), QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY(text.contains(QStringLiteral("Date        Time")) ||
                text.contains(QStringLiteral("Date")));
        QVERIFY(text.contains(QStringLiteral("Page %1 of %2").arg(page + 1).arg(vp.pageCount())));
        for (const PageItem &item : vp.document()->pages[size_t(page)].items) {
            const auto *slice = std::get_if<TableSlice>(&item);
            QVERIFY(slice);
            for (int row = slice->firstRow; row <= slice->lastRow; ++row) {
                const QString time = table.text(row, 1);
                QVERIFY2(text.count(time) == 1, qPrintable(time));
                // The speed stands in its row, after the time.
                const int band = in.rows.field(row - 1, 2) != QLatin1String("--")   ? 2
                                 : in.rows.field(row - 1, 3) != QLatin1String("--") ? 3
                                                                                    : 4;
                const QString line = text.mid(text.indexOf(time), 60);
                QVERIFY2(line.contains(table.text(row, band)), qPrintable(line));
            }
        }
    }
}

void tst_Reports::studyStaysOnOnePage_data()
{
    QTest::addColumn<QString>("limit");
    QTest::addColumn<QString>("counts"); // "speed:vehicles ..."
    QTest::addColumn<bool>("noDays");
    QTest::newRow("fixed") << "035"
                           << "" << false;
    // Every note the study can give at once: catch-all rows at both ends, a
    // spread too wide for the sample, no complete day.
    QTest::newRow("catch-all rows, no complete day") << "035"
                                                     << "14:40 73:45 30:1" << true;
    QTest::newRow("one vehicle, no limit") << ""
                                           << "73:1" << true;
    QTest::newRow("no vehicles") << ""
                                 << "-" << true;
}

void tst_Reports::studyStaysOnOnePage()
{
    QFETCH(QString, limit);
    QFETCH(QString, counts);
    QFETCH(bool, noDays);
    QMap<int, qint64> c = fixedStudyCounts();
    if (!counts.isEmpty()) {
        c.clear();
        for (const QString &pair : counts.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            if (pair.contains(QLatin1Char(':')))
                c[pair.section(QLatin1Char(':'), 0, 0).toInt()] =
                    pair.section(QLatin1Char(':'), 1).toLongLong();
    }
    SpeedZoneStudyInput in = studyInput(c);
    if (noDays || !limit.isEmpty()) {
        // Recompute with the changed facts.
        SpeedStudyInput s;
        s.unit = QStringLiteral("MPH");
        s.postedLimit = limit;
        s.counts = c;
        if (!noDays) {
            s.startDate = QStringLiteral("12/30/25");
            s.stopDate = QStringLiteral("01/02/26");
            s.dailyTotals = {{QDate(2025, 12, 31), 41}};
        }
        in.study = computeSpeedStudy(s);
    }
    DocumentEngine vp;
    SetDefaultStyle(vp);
    QVERIFY(SpeedZoneStudy(vp, in));
    QCOMPARE(vp.pageCount(), 1);
    // Nothing is written below the bottom rule but the footer.
    const QString dump = dumpDocument(*vp.document());
    for (const QString &line : dump.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("text ")))
            continue;
        const double y = line.section(QLatin1Char(' '), 2, 2).toDouble();
        QVERIFY2(y < 14400 - 100, qPrintable(line));
    }
    QCOMPARE(dump.count(QStringLiteral("picture ")), 2);
    QVERIFY(!dump.contains(QStringLiteral(" empty\n")));
}

QTEST_MAIN(tst_Reports)
#include "tst_Reports.moc"

// The "Before and After Speed Study" page: item by item against golden dumps
// under tests/data/reports/<case>/ (ROADTALLY_UPDATE_GOLDEN=1 writes them;
// ROADTALLY_REPORT_PDF_DIR=DIR also writes DIR/<case>.pdf to look at), one page
// whatever the notes, and nothing drawn when the engine cannot begin.
#include "fixtures/ReportInputs.h"

#include "core/reports/BeforeAfterSpeedStudy.h"
#include "core/reports/PageDump.h"
#include "core/reports/PdfOutput.h"
#include "core/text/TextPatterns.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace roadtally;
using namespace roadtally::testing;

namespace {

// A 35 mph street; shift moves every vehicle, scale multiplies the counts.
QMap<int, qint64> street(int shift, int scale = 1)
{
    const QMap<int, qint64> shape = {{22, 3},  {25, 9},  {27, 18}, {29, 31}, {30, 40},
                                     {31, 44}, {32, 52}, {33, 55}, {34, 57}, {35, 54},
                                     {36, 48}, {37, 41}, {38, 33}, {40, 24}, {42, 16},
                                     {45, 10}, {48, 6},  {52, 3},  {58, 1}};
    QMap<int, qint64> out;
    for (auto it = shape.cbegin(); it != shape.cend(); ++it)
        out[it.key() + shift] += it.value() * scale;
    return out;
}

SpeedStudy study(const QString &batch, const QString &location, const QMap<int, qint64> &counts,
                 const QString &start, const QString &stop,
                 const QString &limit = QStringLiteral("035"))
{
    SpeedStudyInput in;
    in.batchNumber = batch;
    in.location = location;
    in.unit = QStringLiteral("MPH");
    in.postedLimit = limit;
    in.counts = counts;
    in.startDate = start;
    in.stopDate = stop;
    QDate day = parseDate(start).addDays(1);
    for (; day < parseDate(stop); day = day.addDays(1))
        in.dailyTotals.append({day, 600 + day.day()});
    return computeSpeedStudy(in);
}

SurveyFacts facts(const SpeedStudy &s)
{
    SurveyFacts f = fixedFacts();
    f.batch = s.batchNumber;
    f.location = s.location;
    f.startDate = s.startDate;
    f.endDate = s.stopDate;
    return f;
}

enum class Case { Pair, Control, Few };

BeforeAfterStudyInput input(Case kind)
{
    const QString maple = QStringLiteral("Maple Avenue at 5th Street");
    const SpeedStudy before = study(QStringLiteral("052025-A"), maple,
                                    kind == Case::Few ? QMap<int, qint64>{{33, 40}} : street(0),
                                    QStringLiteral("05/20/25"), QStringLiteral("05/27/25"));
    const SpeedStudy after = study(QStringLiteral("071525-A"), maple, street(-3),
                                   QStringLiteral("07/15/25"), QStringLiteral("07/19/25"));
    ComparisonOutcome out;
    if (kind == Case::Control) {
        const QString oak = QStringLiteral("Oak Street at Mill Road");
        const SpeedStudy cb = study(QStringLiteral("052025-B"), oak, street(1, 2),
                                    QStringLiteral("05/20/25"), QStringLiteral("05/27/25"));
        const SpeedStudy ca =
            study(QStringLiteral("071525-B"), oak, street(0, 2), QStringLiteral("07/15/25"),
                  QStringLiteral("07/22/25"), QStringLiteral("030"));
        out = compareStudies(before, after, &cb, &ca);
    } else {
        out = compareStudies(before, after);
    }
    BeforeAfterStudyInput in;
    in.frame = fixedFrame();
    in.before = facts(out.comparison->before);
    in.after = facts(out.comparison->after);
    in.comparison = *out.comparison;
    return in;
}

QString build(const BeforeAfterStudyInput &in, const QString &name, bool *built)
{
    DocumentEngine vp;
    SetDefaultStyle(vp);
    *built = BeforeAfterSpeedStudy(vp, in);
    const QString pdfFolder = qEnvironmentVariable("ROADTALLY_REPORT_PDF_DIR");
    if (!pdfFolder.isEmpty() && vp.document())
        writePdf(*vp.document(), QDir(pdfFolder).filePath(name + QStringLiteral(".pdf")), name);
    if (vp.document() && vp.pageCount() != 1)
        return QStringLiteral("%1 pages").arg(vp.pageCount());
    return vp.document() ? dumpDocument(*vp.document()) : QString();
}

} // namespace

Q_DECLARE_METATYPE(Case)

class tst_BeforeAfterReport : public QObject
{
    Q_OBJECT

private slots:
    void golden_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Case>("kind");
        QTest::newRow("pair") << "compare" << Case::Pair;
        QTest::newRow("control pair") << "compare-control" << Case::Control;
        QTest::newRow("too few vehicles") << "compare-few" << Case::Few;
    }
    void golden()
    {
        QFETCH(QString, name);
        QFETCH(Case, kind);
        bool built = false;
        const QString dump = build(input(kind), name, &built);
        QVERIFY(built);
        // Nothing below the bottom rule but the footer; both charts placed.
        for (const QString &line : dump.split(u'\n'))
            if (line.startsWith(QLatin1String("text ")))
                QVERIFY2(line.section(u' ', 2, 2).toDouble() < 14400 - 100, qPrintable(line));
        QCOMPARE(dump.count(QStringLiteral("picture ")), 2);

        QFile file(QStringLiteral(ROADTALLY_TEST_DATA "/reports/%1/pages.txt").arg(name));
        if (qEnvironmentVariableIntValue("ROADTALLY_UPDATE_GOLDEN") == 1) {
            QDir().mkpath(QFileInfo(file).path());
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(dump.toUtf8());
            file.close();
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QStringList expected = QString::fromUtf8(file.readAll()).split(u'\n');
        const QStringList actual = dump.split(u'\n');
        for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i)
            QVERIFY2(expected.at(i) == actual.at(i),
                     qPrintable(QStringLiteral("line %1\n expected: %2\n actual:   %3")
                                    .arg(i + 1)
                                    .arg(expected.at(i), actual.at(i))));
        QCOMPARE(actual.size(), expected.size());
    }

    void engineErrorDrawsNothing()
    {
        DocumentEngine vp;
        SetDefaultStyle(vp);
        vp.setDeviceError(DocumentEngine::DeviceFailure);
        QVERIFY(!BeforeAfterSpeedStudy(vp, input(Case::Pair)));
        QVERIFY(!vp.document());
    }
};

QTEST_MAIN(tst_BeforeAfterReport)
#include "tst_BeforeAfterReport.moc"

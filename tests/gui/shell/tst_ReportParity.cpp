// Every report kind printed from the main window and from the command line
// for the same survey and the same choices: every item of every page must be
// the same, in the same place. The
// window builds its report inputs from what its tabs show; the command line
// builds them from the stored survey.

#include "cli/CommandLineTool.h"
#include "fixtures/SampleImport.h"
#include "sample/SampleSurvey.h"

#include "core/analysis/SpeedStudy.h"
#include "core/intake/RawDataFile.h"
#include "core/intake/VehicleImport.h"
#include "core/reports/PageDump.h"
#include "core/reports/ReportFrame.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "gui/shell/DailyVolumeTab.h"
#include "gui/shell/FifteenMinuteTab.h"
#include "gui/shell/SpeedChartTab.h"
#include "gui/shell/SpeedStudyTab.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/WeeklyTab.h"
#include "gui/shell/frmRoadtally.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace roadtally;
using namespace roadtally::testing;

Q_DECLARE_METATYPE(roadtally::ReportKind)
Q_DECLARE_METATYPE(roadtally::SurveyDirection)

class tst_ReportParity : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_batch;
    QString m_date;
    std::unique_ptr<frmRoadtally> m_window;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        sharedState().setProgramFolder(m_dir.path());
        SampleOptions options;
        options.vehicles = 1500;
        options.days = 2;
        options.startDate = QDate(2025, 12, 30);
        const ImportedSurvey survey =
            importSample(m_dir.path(), options, QStringLiteral("Maple Avenue"));
        QCOMPARE(survey.error, QString());
        m_batch = survey.batch;

        m_window = std::make_unique<frmRoadtally>();
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
        m_window->show();
        m_window->surveySelected(m_batch);
        m_window->surveyChosen(m_batch);
        m_window->SSTab->setCurrentIndex(1); // a tab change fills the date lists
        QVERIFY(m_window->volume->DateVolume->count() > 1);
        m_date = m_window->volume->DateVolume->itemText(1);
    }

    void init() { sharedState().setProgramFolder(m_dir.path()); }

    void samePages_data()
    {
        QTest::addColumn<ReportKind>("kind");
        QTest::addColumn<SurveyDirection>("direction");  // of the report's own choice
        QTest::addColumn<SurveyDirection>("statistics"); // of the summary tab
        const auto A = SurveyDirection::Approaching;
        const auto R = SurveyDirection::Receding;
        const auto B = SurveyDirection::Both;
        QTest::newRow("summary approaching") << ReportKind::Summary << A << A;
        QTest::newRow("summary both") << ReportKind::Summary << B << B;
        QTest::newRow("fifteen receding") << ReportKind::FifteenMinute << R << A;
        QTest::newRow("weekly") << ReportKind::Weekly << B << A;
        QTest::newRow("speeds both") << ReportKind::TrafficFlow << B << A;
        QTest::newRow("speeds approaching, receding statistics")
            << ReportKind::TrafficFlow << A << R;
        QTest::newRow("percentile receding") << ReportKind::Percentile85 << R << B;
        QTest::newRow("volume both") << ReportKind::DailyVolume << B << A;
        QTest::newRow("profile receding") << ReportKind::SpeedProfile << R << R;
        QTest::newRow("profile both") << ReportKind::SpeedProfile << B << B;
        QTest::newRow("study approaching") << ReportKind::SpeedZoneStudy << A << A;
    }

    void samePages()
    {
        QFETCH(ReportKind, kind);
        QFETCH(SurveyDirection, direction);
        QFETCH(SurveyDirection, statistics);
        frmRoadtally &w = *m_window;

        // The window, driven to the same choices.
        w.summary->selectDirection(statistics);
        QString scheme;
        QStringList arguments = {
            QStringLiteral("--folder=") + m_dir.path(),
            QStringLiteral("--batch=") + m_batch,
            QStringLiteral("--direction=") + directionName(direction),
            QStringLiteral("--criteria=") + directionName(statistics),
        };
        const auto report = [&arguments](const char *name) {
            arguments << QStringLiteral("--report=") + QLatin1String(name);
        };
        switch (kind) {
        case ReportKind::Summary:
            scheme = w.summary->schemeNames().value(1);
            QVERIFY(w.summary->prepareReport(scheme));
            report("summary");
            arguments << QStringLiteral("--scheme=") + scheme;
            break;
        case ReportKind::FifteenMinute:
            w.fifteen->selectDirection(direction);
            QVERIFY(w.fifteen->prepareReport(direction, m_date));
            report("fifteen");
            arguments << QStringLiteral("--date=") + m_date;
            break;
        case ReportKind::Weekly:
            w.weekly->ClearWeekData();
            QVERIFY(w.weekly->calculateWeeklyTotals());
            report("weekly");
            break;
        case ReportKind::TrafficFlow:
            QVERIFY(w.speeds->prepareReport(direction));
            report("speeds");
            break;
        case ReportKind::Percentile85:
            QVERIFY(w.percentile->prepareReport(direction));
            report("percentile");
            break;
        case ReportKind::DailyVolume:
            w.volume->selectDirection(direction);
            QVERIFY(w.volume->prepareReport(direction, m_date));
            report("volume");
            arguments << QStringLiteral("--date=") + m_date;
            break;
        case ReportKind::SpeedProfile:
            report("profile");
            break;
        case ReportKind::SpeedZoneStudy:
            QCOMPARE(w.study->direction(), direction);
            report("study");
            break;
        }
        DocumentEngine vp;
        SetDefaultStyle(vp);
        w.buildReport(kind, vp);
        QVERIFY(vp.document() && vp.document()->finished);
        const QString fromWindow = dumpDocument(*vp.document());
        QVERIFY(fromWindow.contains(m_batch));

        // The command line, with every page item written as text beside the PDF.
        const QString pages = m_dir.filePath(QStringLiteral("cli-pages.txt"));
        arguments << QStringLiteral("--pdf=") + m_dir.filePath(QStringLiteral("cli.pdf"))
                  << QStringLiteral("--pages=") + pages;
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        QCOMPARE(CommandLineTool(outStream, errStream)
                     .run(QStringList{QStringLiteral("report")} + arguments),
                 0);
        QFile file(pages);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList windowLines = fromWindow.split(QLatin1Char('\n'));
        const QStringList cliLines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        // The first differing item, rather than two whole documents.
        for (qsizetype i = 0; i < qMin(windowLines.size(), cliLines.size()); ++i)
            QCOMPARE(windowLines[i], cliLines[i]);
        QCOMPARE(windowLines.size(), cliLines.size());
    }
};

QTEST_MAIN(tst_ReportParity)
#include "tst_ReportParity.moc"

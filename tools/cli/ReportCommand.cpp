// roadtally-cli report: one report of a stored survey as a PDF file, built by
// the same builders and engine as the print preview, from the captions the
// main window would show after the same choices.
#include "Commands.h"
#include "ProgressLine.h"

#include "core/analysis/DailyVolume.h"
#include "core/analysis/DisplayScheme.h"
#include "core/analysis/FifteenMinute.h"
#include "core/analysis/SpeedCharts.h"
#include "core/analysis/SurveyCriteria.h"
#include "core/analysis/WeeklyGrid.h"
#include "core/reports/BeforeAfterSpeedStudy.h"
#include "core/reports/DailyVolume_Graph.h"
#include "core/reports/PageDump.h"
#include "core/reports/PdfOutput.h"
#include "core/reports/Percent85_Graph.h"
#include "core/reports/Report15min.h"
#include "core/reports/ReportCaptions.h"
#include "core/reports/ReportSummary.h"
#include "core/reports/ReportWeekly.h"
#include "core/reports/SpeedProfile.h"
#include "core/reports/SpeedZoneStudy.h"
#include "core/reports/SurveyAsShown.h"
#include "core/reports/TrafficFlow_Graph.h"
#include "core/store/DatabaseSession.h"
#include "core/survey/AgencySettings.h"
#include "core/survey/SurveyDates.h"
#include "core/text/TextPatterns.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>

#include <optional>
#include <utility>

namespace roadtally {

namespace {

// One report of one survey, built as the print preview builds it.
class ReportBuilder
{
public:
    ReportBuilder(const Invocation &invocation, QString kind, SurveyDirection direction,
                  SurveyDirection criteria, PrinterMode printer, QString officer)
        : m_invocation(invocation), m_kind(std::move(kind)), m_direction(direction),
          m_criteria(criteria), m_printer(printer), m_officer(std::move(officer))
    {
        SetDefaultStyle(m_vp);
    }

    // Builds the report of the survey; "" or what failed.
    QString build(DatabaseSession &session, const SurveyCaptions &survey);
    DocumentEngine &engine() { return m_vp; }

private:
    // Each builds its report into m_vp; "" or what failed.
    QString summary(DatabaseSession &session);
    QString fifteen(DatabaseSession &session);
    QString weekly(DatabaseSession &session);
    QString chart(DatabaseSession &session);
    QString volume(DatabaseSession &session);
    QString profile(DatabaseSession &session);
    QString study(DatabaseSession &session);

    QString surveyDate(DatabaseSession &session, QString &problem);
    ChartReportInput chartInput(DatabaseSession &session) const;

    const Invocation &m_invocation;
    QString m_kind;
    SurveyDirection m_direction = SurveyDirection::Both;
    SurveyDirection m_criteria = SurveyDirection::Approaching;
    PrinterMode m_printer = PrinterMode::Color;
    QString m_officer; // null: the first of the list
    std::optional<SurveyCaptions> m_survey;
    DocumentEngine m_vp;
};

QString ReportBuilder::build(DatabaseSession &session, const SurveyCaptions &survey)
{
    m_survey = survey;
    if (m_kind == QLatin1String("summary"))
        return summary(session);
    if (m_kind == QLatin1String("fifteen"))
        return fifteen(session);
    if (m_kind == QLatin1String("weekly"))
        return weekly(session);
    if (m_kind == QLatin1String("volume"))
        return volume(session);
    if (m_kind == QLatin1String("profile"))
        return profile(session);
    if (m_kind == QLatin1String("study"))
        return study(session);
    return chart(session);
}

QString ReportBuilder::surveyDate(DatabaseSession &session, QString &problem)
{
    const QString given = m_invocation.value(QStringLiteral("date"));
    const QStringList dates = surveyDates(session, m_survey->batch());
    if (dates.contains(given))
        return given;
    const QDate wanted = parseDate(given.trimmed());
    if (wanted.isValid())
        for (const QString &d : dates)
            if (parseDate(d) == wanted)
                return d;
    problem = dates.isEmpty()
                  ? QStringLiteral("the survey %1 has no dates in its fifteen-minute table")
                        .arg(m_survey->batch())
                  : QStringLiteral("the survey %1 has no date %2 (its dates: %3)")
                        .arg(m_survey->batch(), given, dates.join(QStringLiteral(", ")));
    return {};
}

QString ReportBuilder::summary(DatabaseSession &session)
{
    const SurveyCaptions &survey = *m_survey;
    const QStringList offered = displaySchemeNames(survey.radarMode());
    QString name = m_invocation.value(QStringLiteral("scheme"));
    if (name.isEmpty()) {
        // The scheme the distribution grid is designed with, in the survey's unit.
        for (const QString &candidate : offered) {
            const QString procedure = findDisplayScheme(candidate)->procedure;
            if (procedure == QLatin1String("schemeA") || procedure == QLatin1String("schemeK"))
                name = candidate;
        }
    }
    const DisplayScheme *scheme = findDisplayScheme(name);
    if (!scheme || !offered.contains(name))
        return offered.isEmpty()
                   ? QStringLiteral("the survey's unit \"%1\" has no display schemes")
                         .arg(survey.radarMode())
                   : QStringLiteral("no display scheme \"%1\" for a %2 survey; choose one of: %3")
                         .arg(name, survey.radarMode(), offered.join(QStringLiteral(", ")));
    const SurveyAsShown shown = surveyAsShown(survey, m_direction);
    ReportSummaryInput in;
    in.frame = readReportFrame(session, m_officer);
    in.facts = shown.facts;
    in.totals = shown.totals;
    in.statistics = shown.statistics;
    in.direction = m_direction;
    in.schemeName = scheme->name;
    const SchemeResult bins = computeScheme(session, survey.batch(), *scheme, m_direction,
                                            directionTotal(in.totals, m_direction));
    for (int i = 0; i < 13; ++i) {
        in.binHeadings[size_t(i)] = scheme->bins.at(i).label;
        in.volumes[size_t(i)] = bins.volumeTexts.value(i);
        in.percents[size_t(i)] = bins.percentTexts.value(i);
    }
    ReportSummary(m_vp, in);
    return {};
}

QString ReportBuilder::fifteen(DatabaseSession &session)
{
    QString problem;
    const QString date = surveyDate(session, problem);
    if (date.isEmpty())
        return problem;
    Report15minInput in;
    in.frame = readReportFrame(session, m_officer);
    in.facts = surveyFacts(*m_survey);
    in.chosenDate = date;
    in.direction = m_direction;
    in.rows = fifteenMinuteRows(session, m_survey->batch(), date, m_direction);
    // The tab's analysis of the same date and direction: Label21(0) .. Label21(9).
    const FifteenMinuteResult analysis =
        fifteenMinute(session, {m_survey->batch(), date, m_direction});
    for (int i = 0; i < 5; ++i) {
        in.morning[size_t(i)] = analysis.label21.value(i);
        in.afternoon[size_t(i)] = analysis.label21.value(9 - i);
    }
    Report15min(m_vp, in);
    return {};
}

QString ReportBuilder::weekly(DatabaseSession &session)
{
    const SurveyCaptions &survey = *m_survey;
    // As after opening the survey: a cleared grid, then "Calculate Weekly Totals".
    WeeklyGrid cleared = WeeklyGrid::designState();
    clearWeekData(cleared);
    const WeeklyResult r = computeWeeklyGrid(session, weeklyInputOf(survey, cleared));
    if (!r.computed())
        return r.message;
    ReportWeeklyInput in;
    in.frame = readReportFrame(session, m_officer);
    in.facts = surveyFacts(survey);
    fillFromGrid(in, r.grid);
    ReportWeekly(m_vp, in);
    return {};
}

ChartReportInput ReportBuilder::chartInput(DatabaseSession &session) const
{
    const SurveyAsShown shown = surveyAsShown(*m_survey, m_criteria);
    ChartReportInput in;
    in.frame = readReportFrame(session, m_officer);
    in.facts = shown.facts;
    in.totals = shown.totals;
    in.statistics = shown.statistics;
    in.statisticsDirection = m_criteria;
    return in;
}

QString ReportBuilder::chart(DatabaseSession &session)
{
    const bool percentile = m_kind == QLatin1String("percentile");
    ChartReportInput in = chartInput(session);
    SpeedChartInput chart;
    chart.batch = m_survey->batch();
    chart.postedLimit = m_survey->postedLimit();
    chart.radarMode = m_survey->radarMode();
    chart.pace = in.statistics.pace;
    chart.percentile85 = in.statistics.percentile85;
    chart.direction = m_direction;
    chart.mode = m_printer;
    const SpeedChartResult r =
        percentile ? percent85Chart(session, chart) : trafficFlowChart(session, chart);
    if (!r.hasChart())
        return r.message;
    in.chart = speedChartForPage(chartData(r.chart));
    if (percentile)
        Percent85_Graph(m_vp, in);
    else
        TrafficFlow_Graph(m_vp, in);
    return {};
}

QString ReportBuilder::volume(DatabaseSession &session)
{
    QString problem;
    const QString date = surveyDate(session, problem);
    if (date.isEmpty())
        return problem;
    const DailyVolumeResult r = dailyVolume(session, {m_survey->batch(), date, m_direction});
    if (!r.hasChart())
        return r.message;
    DailyVolumeChartInput in;
    static_cast<ChartReportInput &>(in) = chartInput(session);
    in.direction = m_direction;
    in.date = date;
    in.chart = volumeChartForPage(chartData(r.chart));
    DailyVolume_Graph(m_vp, in);
    return {};
}

QString ReportBuilder::profile(DatabaseSession &session)
{
    SpeedProfileInput in;
    in.batch = m_survey->batch();
    in.startDate = m_survey->startDate();
    in.endDate = m_survey->stopDate();
    const BandHeaders bands = bandHeaders(m_survey->postedLimit());
    in.bandHeadings = {bands.first, bands.second, bands.third};
    in.postedLimit = m_survey->postedLimit();
    in.unit = m_survey->radarMode();
    in.rows = speedProfileRows(session, m_survey->batch(), m_direction);
    SpeedProfile(m_vp, in);
    return {};
}

QString ReportBuilder::study(DatabaseSession &session)
{
    // As the Speed Study tab prints it for the direction chosen there.
    const std::optional<SpeedZoneStudyInput> in =
        readSpeedZoneStudyInput(session, m_survey->batch(), m_direction, m_officer);
    if (!in)
        return unknownSurveyText(m_survey->batch(), session.path());
    SpeedZoneStudy(m_vp, *in);
    return {};
}

// Writes the laid-out document as the PDF file --pdf names, and says so.
ExitCode writeReport(const Invocation &invocation, const DocumentEngine &vp, const QString &title)
{
    if (!vp.document() || !vp.document()->finished)
        return invocation.fail(QStringLiteral("the report could not be laid out (engine error %1)")
                                   .arg(vp.EngineError()));
    const QString pdf = invocation.value(QStringLiteral("pdf"));
    QString written;
    {
        ProgressLine line(invocation.err, invocation.progress && vp.pageCount() > 10,
                          QStringLiteral("Writing %1 pages to %2")
                              .arg(vp.pageCount())
                              .arg(QFileInfo(pdf).fileName()));
        written = writePdf(*vp.document(), pdf, title);
    }
    if (!written.isEmpty())
        return invocation.fail(written);
    if (const QString pages = invocation.value(QStringLiteral("pages")); !pages.isEmpty()) {
        QSaveFile file(pages);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text) ||
            file.write(dumpDocument(*vp.document()).toUtf8()) < 0 || !file.commit())
            return invocation.fail(QStringLiteral("cannot write %1: %2")
                                       .arg(QDir::toNativeSeparators(pages), file.errorString()));
    }
    invocation.out << "Report written: " << QDir::toNativeSeparators(pdf) << " (" << vp.pageCount()
                   << (vp.pageCount() == 1 ? " page" : " pages") << ")\n";
    return ExitCode::Success;
}

// The "Before and After Speed Study" of the surveys --before and --after name.
ExitCode compareReport(const Invocation &invocation)
{
    for (const char *name : {"before", "after"})
        if (invocation.value(QLatin1String(name)).trimmed().isEmpty())
            return invocation.usage(
                QStringLiteral("the compare report needs --%1 B").arg(QLatin1String(name)));
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return invocation.fail(
            QStringLiteral("reports need the program's fonts; run it as roadtally-cli report"));
    ExitCode code = ExitCode::Success;
    const std::optional<SurveyComparison> comparison = loadComparison(invocation, code);
    if (!comparison)
        return code;
    DocumentEngine vp;
    SetDefaultStyle(vp);
    try {
        DatabaseSession session(invocation.database());
        session.requireOpen();
        const BeforeAfterStudyInput in = readBeforeAfterStudyInput(
            session, *comparison,
            invocation.has(QStringLiteral("officer")) ? invocation.value(QStringLiteral("officer"))
                                                      : QString());
        BeforeAfterSpeedStudy(vp, in);
    } catch (const DatabaseError &error) {
        return invocation.fail(QStringLiteral("the survey database cannot be read: %1")
                                   .arg(QString::fromUtf8(error.what())));
    }
    return writeReport(invocation, vp,
                       QStringLiteral("Roadtally compare report, batches %1 and %2")
                           .arg(comparison->before.batchNumber, comparison->after.batchNumber));
}

} // namespace

ExitCode reportCommand(const Invocation &invocation)
{
    static const QStringList kinds = {
        QStringLiteral("summary"), QStringLiteral("fifteen"),    QStringLiteral("weekly"),
        QStringLiteral("speeds"),  QStringLiteral("percentile"), QStringLiteral("volume"),
        QStringLiteral("profile"), QStringLiteral("study"),      QStringLiteral("compare")};
    const QString kind = invocation.value(QStringLiteral("report")).toLower();
    if (!kinds.contains(kind))
        return invocation.usage(
            QStringLiteral("--report must be one of %1").arg(kinds.join(QStringLiteral(", "))));
    if (kind == QLatin1String("compare"))
        return compareReport(invocation);
    if (invocation.value(QStringLiteral("batch")).trimmed().isEmpty())
        return invocation.usage(QStringLiteral("missing --batch B"));
    // The choices a freshly opened survey shows: approaching on the summary
    // panel, both directions on the other tabs.
    SurveyDirection direction = kind == QLatin1String("summary") || kind == QLatin1String("study")
                                    ? SurveyDirection::Approaching
                                    : SurveyDirection::Both;
    if (invocation.has(QStringLiteral("direction"))) {
        const auto d = surveyDirectionFromName(invocation.value(QStringLiteral("direction")));
        if (!d)
            return invocation.usage(
                QStringLiteral("--direction must be approaching, receding or both"));
        direction = *d;
    }
    // The statistics beside a chart describe the chart's own direction unless
    // asked otherwise.
    SurveyDirection criteria = direction;
    if (invocation.has(QStringLiteral("criteria"))) {
        const auto d = surveyDirectionFromName(invocation.value(QStringLiteral("criteria")));
        if (!d)
            return invocation.usage(
                QStringLiteral("--criteria must be approaching, receding or both"));
        criteria = *d;
    }
    PrinterMode printer = PrinterMode::Color;
    if (invocation.has(QStringLiteral("printer"))) {
        const QString p = invocation.value(QStringLiteral("printer")).toLower();
        if (p != QLatin1String("color") && p != QLatin1String("bw"))
            return invocation.usage(QStringLiteral("--printer must be color or bw"));
        printer = p == QLatin1String("bw") ? PrinterMode::BlackWhite : PrinterMode::Color;
    }
    if ((kind == QLatin1String("fifteen") || kind == QLatin1String("volume")) &&
        !invocation.has(QStringLiteral("date")))
        return invocation.usage(QStringLiteral("the %1 report needs --date mm/dd/yy").arg(kind));
    QString officer; // null: the first of the list
    if (invocation.has(QStringLiteral("officer")))
        officer = invocation.value(QStringLiteral("officer"));
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return invocation.fail(
            QStringLiteral("reports need the program's fonts; run it as roadtally-cli report"));

    const QString database = invocation.database();
    if (database.isEmpty())
        return ExitCode::Failure;

    ReportBuilder builder(invocation, kind, direction, criteria, printer, officer);
    const QString batch = invocation.value(QStringLiteral("batch"));
    QString problem;
    QString surveyBatch;
    try {
        DatabaseSession session(database);
        if (!session.isOpen())
            return invocation.fail(session.errorText());
        const std::optional<SurveyCaptions> survey = readSurveyCaptions(session, batch);
        if (!survey)
            return invocation.unknownSurvey(batch, database);
        surveyBatch = survey->batch();
        // As the window's list: only an officer on the list signs a report.
        if (!officer.isNull() && !findOfficer(session, officer))
            return invocation.fail(
                QStringLiteral("%1 is not on the officer list (roadtally-cli officer list "
                               "shows it)")
                    .arg(officer));
        ProgressLine line(invocation.err, invocation.progress,
                          QStringLiteral("Laying out the %1 report").arg(kind));
        problem = builder.build(session, *survey);
    } catch (const DatabaseError &error) {
        problem = QStringLiteral("the survey database cannot be read: %1")
                      .arg(QString::fromUtf8(error.what()));
    }
    if (!problem.isEmpty())
        return invocation.fail(problem);
    return writeReport(invocation, builder.engine(),
                       QStringLiteral("Roadtally %1 report, batch %2").arg(kind, surveyBatch));
}

} // namespace roadtally

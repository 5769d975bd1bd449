// roadtally-cli report: one report of a stored survey as a PDF file, built by
// the same builders and engine as the print preview, from the captions the
// main window would show after the same choices.
#include "CliArguments.h"
#include "Commands.h"

#include "core/analysis/DailyVolume.h"
#include "core/analysis/DisplayScheme.h"
#include "core/analysis/FifteenMinute.h"
#include "core/analysis/SpeedCharts.h"
#include "core/analysis/SurveyCriteria.h"
#include "core/analysis/WeeklyGrid.h"
#include "core/reports/DailyVolume_Graph.h"
#include "core/reports/PdfOutput.h"
#include "core/reports/Percent85_Graph.h"
#include "core/reports/Report15min.h"
#include "core/reports/ReportCaptions.h"
#include "core/reports/ReportSummary.h"
#include "core/reports/ReportWeekly.h"
#include "core/reports/SpeedProfile.h"
#include "core/reports/SpeedZoneStudy.h"
#include "core/reports/TrafficFlow_Graph.h"
#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyDates.h"
#include "core/text/TextPatterns.h"

#include <QDir>
#include <QGuiApplication>

#include <optional>

namespace roadtally {

namespace {

const QVector<OptionSpec> &reportOptions()
{
    static const QVector<OptionSpec> specs = {
        {QStringLiteral("folder"), 1, QStringLiteral("DIR"),
         QStringLiteral("the program folder that holds OV97.mdb")},
        {QStringLiteral("batch"), 1, QStringLiteral("B"),
         QStringLiteral("batch number of the survey (required)")},
        {QStringLiteral("report"), 1, QStringLiteral("KIND"),
         QStringLiteral(
             "summary, fifteen, weekly, speeds, percentile, volume, profile or study (required)")},
        {QStringLiteral("pdf"), 1, QStringLiteral("OUT.pdf"),
         QStringLiteral("the PDF file to write (required)")},
        {QStringLiteral("scheme"), 1, QStringLiteral("NAME"),
         QStringLiteral(
             "summary: display scheme (default \"15 to 70 by 5 MPH\" or \"35 to 90 by 5 KPH\")")},
        {QStringLiteral("direction"), 1, QStringLiteral("DIR"),
         QStringLiteral(
             "approaching, receding or both (default: approaching for summary and study, both "
             "otherwise)")},
        {QStringLiteral("date"), 1, QStringLiteral("mm/dd/yy"),
         QStringLiteral("fifteen, volume: a date of the survey")},
        {QStringLiteral("printer"), 1, QStringLiteral("color|bw"),
         QStringLiteral("speeds, percentile: chart colours (default color)")},
        {QStringLiteral("criteria"), 1, QStringLiteral("DIR"),
         QStringLiteral(
             "speeds, percentile, volume: the direction of the statistics printed beside the chart "
             "(default approaching)")},
        {QStringLiteral("officer"), 1, QStringLiteral("NAME"),
         QStringLiteral(
             "officer who prepares the report (default: the first of the officer list)")},
    };
    return specs;
}

QString help()
{
    return QStringLiteral(
               "Usage: roadtally-cli report --folder DIR --batch B --report KIND --pdf OUT.pdf\n"
               "                           [--scheme NAME] [--direction "
               "approaching|receding|both]\n"
               "                           [--date mm/dd/yy] [--printer color|bw] [--criteria "
               "DIR]\n"
               "                           [--officer NAME]\n"
               "\n"
               "Builds one report of the survey B in DIR/OV97.mdb as the print preview builds it "
               "and\n"
               "writes it as a PDF file (US Letter):\n"
               "  summary     survey summary in a display scheme (--scheme, --direction)\n"
               "  fifteen     fifteen-minute flow of one date (--date, --direction)\n"
               "  weekly      weekly summary\n"
               "  speeds      vehicle speed comparison chart (--direction, --printer)\n"
               "  percentile  85th percentile speed and pace chart (--direction, --printer)\n"
               "  volume      daily volume chart of one date (--date, --direction)\n"
               "  profile     every speeding vehicle (--direction), any number of pages\n"
               "  study       speed zone study: ranked percentiles, pace, spread, sample size\n"
               "              (--direction)\n"
               "The agency heading, the address and the two report options come from the "
               "database,\n"
               "as the administration window keeps them. An existing OUT.pdf is replaced only "
               "when\n"
               "the new file is complete.\n\nOptions:\n") +
           optionHelp(reportOptions());
}

class ReportCommand
{
public:
    ReportCommand(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}
    int run(const QStringList &arguments);

private:
    int usage(const QString &problem)
    {
        m_err << "roadtally-cli report: " << problem
              << "\n(roadtally-cli report --help shows the options)\n";
        return 2;
    }
    int fail(const QString &problem)
    {
        m_err << "roadtally-cli report: " << problem << "\n";
        return 1;
    }

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
    QPicture chartPicture(const ChartData &data, const QSizeF &size) const;

    QTextStream &m_out;
    QTextStream &m_err;
    ParsedArguments m_args;
    QString m_kind;
    SurveyDirection m_direction = SurveyDirection::Both;
    SurveyDirection m_criteria = SurveyDirection::Approaching;
    PrinterMode m_printer = PrinterMode::Color;
    QString m_officer; // null: the first of the list
    std::optional<SurveyCaptions> m_survey;
    DocumentEngine m_vp;
};

int ReportCommand::run(const QStringList &arguments)
{
    m_args = parseArguments(arguments, reportOptions());
    if (m_args.help) {
        m_out << help();
        return 0;
    }
    if (!m_args.error.isEmpty())
        return usage(m_args.error);
    if (!m_args.positional.isEmpty())
        return usage(QStringLiteral("unexpected argument %1").arg(m_args.positional.first()));
    for (const char *required : {"folder", "batch", "report", "pdf"}) {
        const QString name = QString::fromLatin1(required);
        if (m_args.value(name).trimmed().isEmpty())
            return usage(QStringLiteral("missing --%1 %2")
                             .arg(name, name == QLatin1String("pdf") ? QStringLiteral("OUT.pdf")
                                                                     : name.toUpper()));
    }
    static const QStringList kinds = {QStringLiteral("summary"),    QStringLiteral("fifteen"),
                                      QStringLiteral("weekly"),     QStringLiteral("speeds"),
                                      QStringLiteral("percentile"), QStringLiteral("volume"),
                                      QStringLiteral("profile"),    QStringLiteral("study")};
    m_kind = m_args.value(QStringLiteral("report")).toLower();
    if (!kinds.contains(m_kind))
        return usage(
            QStringLiteral("--report must be one of %1").arg(kinds.join(QStringLiteral(", "))));
    // The choices a freshly opened survey shows: approaching on the summary
    // panel, both directions on the other tabs.
    m_direction = m_kind == QLatin1String("summary") || m_kind == QLatin1String("study")
                      ? SurveyDirection::Approaching
                      : SurveyDirection::Both;
    if (m_args.has(QStringLiteral("direction"))) {
        const auto d = surveyDirectionFromName(m_args.value(QStringLiteral("direction")));
        if (!d)
            return usage(QStringLiteral("--direction must be approaching, receding or both"));
        m_direction = *d;
    }
    if (m_args.has(QStringLiteral("criteria"))) {
        const auto d = surveyDirectionFromName(m_args.value(QStringLiteral("criteria")));
        if (!d)
            return usage(QStringLiteral("--criteria must be approaching, receding or both"));
        m_criteria = *d;
    }
    if (m_args.has(QStringLiteral("printer"))) {
        const QString p = m_args.value(QStringLiteral("printer")).toLower();
        if (p != QLatin1String("color") && p != QLatin1String("bw"))
            return usage(QStringLiteral("--printer must be color or bw"));
        m_printer = p == QLatin1String("bw") ? PrinterMode::BlackWhite : PrinterMode::Color;
    }
    if ((m_kind == QLatin1String("fifteen") || m_kind == QLatin1String("volume")) &&
        !m_args.has(QStringLiteral("date")))
        return usage(QStringLiteral("the %1 report needs --date mm/dd/yy").arg(m_kind));
    if (m_args.has(QStringLiteral("officer")))
        m_officer = m_args.value(QStringLiteral("officer"));
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return fail(
            QStringLiteral("reports need the program's fonts; run it as roadtally-cli report"));

    const QString folder = m_args.value(QStringLiteral("folder"));
    const QString database = existingDatabase(folder);
    if (database.isEmpty())
        return fail(QStringLiteral("there is no survey database OV97.mdb in %1")
                        .arg(QDir::toNativeSeparators(folder)));

    SetDefaultStyle(m_vp);
    QString problem;
    try {
        DatabaseSession session(database);
        if (!session.isOpen())
            return fail(session.errorText());
        const QString batch = m_args.value(QStringLiteral("batch"));
        m_survey = readSurveyCaptions(session, batch);
        if (!m_survey)
            return fail(QStringLiteral("there is no survey with batch number %1 in %2")
                            .arg(batch, QDir::toNativeSeparators(database)));
        if (m_kind == QLatin1String("summary"))
            problem = summary(session);
        else if (m_kind == QLatin1String("fifteen"))
            problem = fifteen(session);
        else if (m_kind == QLatin1String("weekly"))
            problem = weekly(session);
        else if (m_kind == QLatin1String("volume"))
            problem = volume(session);
        else if (m_kind == QLatin1String("profile"))
            problem = profile(session);
        else if (m_kind == QLatin1String("study"))
            problem = study(session);
        else
            problem = chart(session);
    } catch (const DatabaseError &error) {
        problem = QStringLiteral("the survey database cannot be read: %1")
                      .arg(QString::fromUtf8(error.what()));
    }
    if (!problem.isEmpty())
        return fail(problem);
    if (!m_vp.document() || !m_vp.document()->finished)
        return fail(QStringLiteral("the report could not be laid out (engine error %1)")
                        .arg(m_vp.EngineError()));

    const QString pdf = m_args.value(QStringLiteral("pdf"));
    const QString written =
        writePdf(*m_vp.document(), pdf,
                 QStringLiteral("Roadtally %1 report, batch %2").arg(m_kind, m_survey->batch()));
    if (!written.isEmpty())
        return fail(written);
    m_out << "Report written: " << QDir::toNativeSeparators(pdf) << " (" << m_vp.pageCount()
          << (m_vp.pageCount() == 1 ? " page" : " pages") << ")\n";
    return 0;
}

QString ReportCommand::surveyDate(DatabaseSession &session, QString &problem)
{
    const QString given = m_args.value(QStringLiteral("date"));
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

QString ReportCommand::summary(DatabaseSession &session)
{
    const SurveyCaptions &survey = *m_survey;
    const QStringList offered = displaySchemeNames(survey.radarMode());
    QString name = m_args.value(QStringLiteral("scheme"));
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
    ReportSummaryInput in;
    in.frame = readReportFrame(session, m_officer);
    in.facts = surveyFacts(survey);
    in.totals = surveyTotals(survey);
    in.statistics = speedStatistics(survey, m_direction);
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

QString ReportCommand::fifteen(DatabaseSession &session)
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

QString ReportCommand::weekly(DatabaseSession &session)
{
    const SurveyCaptions &survey = *m_survey;
    // As after opening the survey: a cleared grid, then "Calculate Weekly Totals".
    WeeklyGrid cleared = WeeklyGrid::designState();
    clearWeekData(cleared);
    const WeeklyResult r = computeWeeklyGrid(
        session, {survey.batch(), survey.startDate(), survey.stopDate(), cleared});
    if (!r.computed())
        return r.message;
    ReportWeeklyInput in;
    in.frame = readReportFrame(session, m_officer);
    in.facts = surveyFacts(survey);
    fillFromGrid(in, r.grid);
    ReportWeekly(m_vp, in);
    return {};
}

ChartReportInput ReportCommand::chartInput(DatabaseSession &session) const
{
    ChartReportInput in;
    in.frame = readReportFrame(session, m_officer);
    in.facts = surveyFacts(*m_survey);
    in.totals = surveyTotals(*m_survey);
    in.statistics = speedStatistics(*m_survey, m_criteria);
    return in;
}

QPicture ReportCommand::chartPicture(const ChartData &data, const QSizeF &size) const
{
    // As the chart view copies it: the drawn chart as a vector picture.
    return recordChart(data, size).picture;
}

QString ReportCommand::chart(DatabaseSession &session)
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
    // Recorded in the proportions of the page's picture rectangle (8640 x 5472 twips).
    in.chart = chartPicture(chartData(r.chart), QSizeF(864, 547.2));
    if (percentile)
        Percent85_Graph(m_vp, in);
    else
        TrafficFlow_Graph(m_vp, in);
    return {};
}

QString ReportCommand::volume(DatabaseSession &session)
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
    // In the proportions of the page's picture rectangle (11520 x 5040 twips).
    in.chart = chartPicture(chartData(r.chart), QSizeF(1152, 504));
    DailyVolume_Graph(m_vp, in);
    return {};
}

QString ReportCommand::profile(DatabaseSession &session)
{
    SpeedProfileInput in;
    in.batch = m_survey->batch();
    in.startDate = m_survey->startDate();
    in.endDate = m_survey->stopDate();
    const BandHeaders bands = bandHeaders(m_survey->postedLimit());
    in.bandHeadings = {bands.first, bands.second, bands.third};
    in.rows = speedProfileRows(session, m_survey->batch(), m_direction);
    SpeedProfile(m_vp, in);
    return {};
}

QString ReportCommand::study(DatabaseSession &session)
{
    // As the Speed Study tab prints it for the direction chosen there.
    const std::optional<SpeedZoneStudyInput> in =
        readSpeedZoneStudyInput(session, m_survey->batch(), m_direction, m_officer);
    if (!in)
        return QStringLiteral("there is no survey with batch number %1").arg(m_survey->batch());
    SpeedZoneStudy(m_vp, *in);
    return {};
}

} // namespace

int reportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    return ReportCommand(out, err).run(arguments);
}

} // namespace roadtally

// roadtally-cli show: any view of a stored survey without the windows, from the
// same core functions the tabs call; a readable table, or JSON with --json.
#include "CliArguments.h"
#include "Commands.h"

#include "core/analysis/DailyVolume.h"
#include "core/analysis/DisplayScheme.h"
#include "core/analysis/FifteenMinute.h"
#include "core/analysis/SpeedCharts.h"
#include "core/analysis/SpeedStudy.h"
#include "core/analysis/SpeedStudyText.h"
#include "core/analysis/SurveyCaptions.h"
#include "core/analysis/SurveyCriteria.h"
#include "core/analysis/WeeklyGrid.h"
#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyDates.h"
#include "core/text/TextPatterns.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>
#include <optional>

namespace roadtally {

namespace {

const QVector<OptionSpec> &showOptions()
{
    static const QVector<OptionSpec> specs = {
        {QStringLiteral("folder"), 1, QStringLiteral("DIR"),
         QStringLiteral("the program folder that holds OV97.mdb")},
        {QStringLiteral("batch"), 1, QStringLiteral("BATCH"),
         QStringLiteral("the survey's batch number, e.g. 052401-A")},
        {QStringLiteral("direction"), 1, QStringLiteral("DIR"),
         QStringLiteral(
             "approaching, receding or both (default: approaching for summary and study, "
             "both otherwise)")},
        {QStringLiteral("scheme"), 1, QStringLiteral("NAME"),
         QStringLiteral("summary: the display scheme, e.g. \"15 to 70 by 5 MPH\"")},
        {QStringLiteral("date"), 1, QStringLiteral("mm/dd/yy"),
         QStringLiteral("fifteen, volume: a date of the survey")},
        {QStringLiteral("printer"), 1, QStringLiteral("MODE"),
         QStringLiteral("speeds, percentile: color or bw (default color)")},
        {QStringLiteral("criteria"), 1, QStringLiteral("DIR"),
         QStringLiteral(
             "percentile: the summary direction whose pace and 85th percentile are marked "
             "(default approaching)")},
        {QStringLiteral("json"), 0, QString(), QStringLiteral("write JSON instead of a table")},
    };
    return specs;
}

QString showHelp()
{
    return QStringLiteral(
               "Usage: roadtally-cli show --folder DIR --batch BATCH KIND [options] [--json]\n"
               "\n"
               "Prints a view of a stored survey as the main window shows it:\n"
               "  summary     speed distribution (with --scheme) and the survey criteria\n"
               "  fifteen     the 48 fifteen-minute rows of --date and the peak-hour analysis\n"
               "  volume      the 24 hourly volumes of --date (the daily volume chart)\n"
               "  weekly      the weekly summary grid, computed from a cleared grid\n"
               "  speeds      the vehicle speeds chart\n"
               "  percentile  the 85th percentile chart\n"
               "  study       the speed zone study: ranked and interpolated percentiles, the best\n"
               "              pace, spread, shares over the limit, sample size and daily traffic,\n"
               "              beside the program's own estimates\n"
               "Values are the texts the window shows. Exit status 1 for an unknown batch,\n"
               "scheme or date.\n\nOptions:\n") +
           optionHelp(showOptions());
}

const QStringList &kinds()
{
    static const QStringList k{QStringLiteral("summary"), QStringLiteral("fifteen"),
                               QStringLiteral("volume"),  QStringLiteral("weekly"),
                               QStringLiteral("speeds"),  QStringLiteral("percentile"),
                               QStringLiteral("study")};
    return k;
}

// Which options a kind takes (besides --folder, --batch and --json).
QStringList kindOptions(const QString &kind)
{
    if (kind == QLatin1String("summary"))
        return {QStringLiteral("scheme"), QStringLiteral("direction")};
    if (kind == QLatin1String("fifteen") || kind == QLatin1String("volume"))
        return {QStringLiteral("date"), QStringLiteral("direction")};
    if (kind == QLatin1String("speeds"))
        return {QStringLiteral("direction"), QStringLiteral("printer")};
    if (kind == QLatin1String("percentile"))
        return {QStringLiteral("direction"), QStringLiteral("printer"), QStringLiteral("criteria")};
    if (kind == QLatin1String("study"))
        return {QStringLiteral("direction")};
    return {};
}

QString colourName(int index)
{
    static const char *const names[16] = {"black",     "blue",          "green",       "cyan",
                                          "red",       "magenta",       "brown",       "light grey",
                                          "dark grey", "light blue",    "light green", "light cyan",
                                          "light red", "light magenta", "yellow",      "white"};
    return index >= 0 && index < 16 ? QString::fromLatin1(names[index]) : QString();
}

QJsonArray jsonArray(const QStringList &texts)
{
    QJsonArray a;
    for (const QString &t : texts)
        a.append(t);
    return a;
}

// A plain text table: columns padded to their widest cell; align holds 'L' or
// 'R' per column (columns beyond it are right-aligned).
QString textTable(const QVector<QStringList> &rows, const QString &align = QStringLiteral("L"))
{
    QVector<int> widths;
    for (const QStringList &row : rows)
        for (int c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths.append(0);
            widths[c] = std::max(widths[c], int(row.at(c).size()));
        }
    QString text;
    for (const QStringList &row : rows) {
        QStringList cells;
        for (int c = 0; c < row.size(); ++c)
            cells << (c < align.size() && align.at(c) == QLatin1Char('L')
                          ? row.at(c).leftJustified(widths[c])
                          : row.at(c).rightJustified(widths[c]));
        QString line = cells.join(QStringLiteral("  "));
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        text += line + QLatin1Char('\n');
    }
    return text;
}

class ShowCommand
{
public:
    ShowCommand(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}
    int run(const QStringList &arguments);

private:
    int usage(const QString &problem)
    {
        m_err << "roadtally-cli show: " << problem
              << "\n(roadtally-cli show --help shows the options)\n";
        return 2;
    }
    int fail(const QString &problem)
    {
        m_err << "roadtally-cli show: " << problem << "\n";
        return 1;
    }
    void writeJson(const QJsonObject &o)
    {
        m_out << QJsonDocument(o).toJson(QJsonDocument::Indented);
    }

    // Resolves --date against the survey's dates ("" and a message when it is not one).
    QString surveyDate(DatabaseSession &session, const QString &given, QString &problem);

    int summary(DatabaseSession &session, const SurveyCaptions &survey);
    int fifteen(DatabaseSession &session, const SurveyCaptions &survey);
    int volume(DatabaseSession &session, const SurveyCaptions &survey);
    int weekly(DatabaseSession &session, const SurveyCaptions &survey);
    int chart(DatabaseSession &session, const SurveyCaptions &survey, bool percentile);
    int study(DatabaseSession &session);

    QTextStream &m_out;
    QTextStream &m_err;
    ParsedArguments m_args;
    QString m_batch;
    bool m_json = false;
    SurveyDirection m_direction = SurveyDirection::Both;
};

int ShowCommand::run(const QStringList &arguments)
{
    m_args = parseArguments(arguments, showOptions());
    if (m_args.help) {
        m_out << showHelp();
        return 0;
    }
    if (!m_args.error.isEmpty())
        return usage(m_args.error);
    if (m_args.positional.isEmpty())
        return usage(
            QStringLiteral("missing the KIND (%1)").arg(kinds().join(QStringLiteral(", "))));
    if (m_args.positional.size() > 1)
        return usage(
            QStringLiteral("unexpected argument %1 (only one KIND)").arg(m_args.positional.at(1)));
    const QString kind = m_args.positional.first();
    if (!kinds().contains(kind))
        return usage(QStringLiteral("unknown kind %1 (one of %2)")
                         .arg(kind, kinds().join(QStringLiteral(", "))));
    if (m_args.value(QStringLiteral("folder")).isEmpty())
        return usage(QStringLiteral("missing --folder DIR"));
    if (m_args.value(QStringLiteral("batch")).trimmed().isEmpty())
        return usage(QStringLiteral("missing --batch BATCH"));
    const QStringList allowed =
        kindOptions(kind) +
        QStringList{QStringLiteral("folder"), QStringLiteral("batch"), QStringLiteral("json")};
    for (auto it = m_args.options.cbegin(); it != m_args.options.cend(); ++it)
        if (!allowed.contains(it.key()))
            return usage(QStringLiteral("--%1 is not used by %2").arg(it.key(), kind));
    if ((kind == QLatin1String("fifteen") || kind == QLatin1String("volume")) &&
        !m_args.has(QStringLiteral("date")))
        return usage(QStringLiteral("%1 needs --date mm/dd/yy").arg(kind));

    // The defaults a freshly opened survey shows: approaching on the summary
    // panel, both directions on the other tabs. The study looks at the
    // approaching traffic, the traffic the sign speaks to.
    m_direction = kind == QLatin1String("summary") || kind == QLatin1String("study")
                      ? SurveyDirection::Approaching
                      : SurveyDirection::Both;
    if (m_args.has(QStringLiteral("direction"))) {
        const auto d = surveyDirectionFromName(m_args.value(QStringLiteral("direction")));
        if (!d)
            return usage(QStringLiteral("--direction must be approaching, receding or both"));
        m_direction = *d;
    }
    m_json = m_args.has(QStringLiteral("json"));

    const QString folder = m_args.value(QStringLiteral("folder"));
    const QString database = existingDatabase(folder);
    if (database.isEmpty())
        return fail(QStringLiteral("there is no survey database OV97.mdb in %1")
                        .arg(QDir::toNativeSeparators(folder)));
    try {
        DatabaseSession session(database);
        if (!session.isOpen())
            return fail(session.errorText());
        const QString batch = m_args.value(QStringLiteral("batch"));
        const std::optional<SurveyCaptions> survey = readSurveyCaptions(session, batch);
        if (!survey)
            return fail(QStringLiteral("there is no survey %1 in %2")
                            .arg(batch, QDir::toNativeSeparators(database)));
        m_batch = survey->batch();
        if (kind == QLatin1String("summary"))
            return summary(session, *survey);
        if (kind == QLatin1String("fifteen"))
            return fifteen(session, *survey);
        if (kind == QLatin1String("volume"))
            return volume(session, *survey);
        if (kind == QLatin1String("weekly"))
            return weekly(session, *survey);
        if (kind == QLatin1String("study"))
            return study(session);
        return chart(session, *survey, kind == QLatin1String("percentile"));
    } catch (const DatabaseError &e) {
        return fail(QStringLiteral("the survey database cannot be read: %1")
                        .arg(QString::fromUtf8(e.what())));
    }
}

QString ShowCommand::surveyDate(DatabaseSession &session, const QString &given, QString &problem)
{
    const QStringList dates = surveyDates(session, m_batch);
    if (dates.contains(given))
        return given;
    const QDate wanted = parseDate(given.trimmed());
    if (wanted.isValid())
        for (const QString &d : dates)
            if (parseDate(d) == wanted)
                return d;
    problem =
        dates.isEmpty()
            ? QStringLiteral("the survey %1 has no dates in its fifteen-minute table").arg(m_batch)
            : QStringLiteral("the survey %1 has no date %2 (its dates: %3)")
                  .arg(m_batch, given, dates.join(QStringLiteral(", ")));
    return QString();
}

int ShowCommand::summary(DatabaseSession &session, const SurveyCaptions &survey)
{
    const SurveyDirection d = m_direction;
    const QString s = summarySuffix(d);
    const QString total = survey.summaryField(summaryTotalField(d));
    std::optional<SchemeResult> scheme;
    QString schemeName;
    if (m_args.has(QStringLiteral("scheme"))) {
        schemeName = m_args.value(QStringLiteral("scheme"));
        const QStringList offered = displaySchemeNames(survey.radarMode());
        const DisplayScheme *found = findDisplayScheme(schemeName);
        if (!found || !offered.contains(schemeName))
            return fail(
                offered.isEmpty()
                    ? QStringLiteral("the survey %1 (unit \"%2\") has no display schemes")
                          .arg(m_batch, survey.radarMode())
                    : QStringLiteral(
                          "unknown display scheme \"%1\" for the %2 survey %3 (its schemes: %4)")
                          .arg(schemeName, survey.radarMode(), m_batch,
                               offered.join(QStringLiteral(", "))));
        scheme = computeScheme(session, m_batch, *found, d, total);
    }
    const CriteriaResult c = computeCriteria(criteriaInputFromSummary(survey.summary, d), d);
    auto field = [&](const QString &name) { return survey.summaryField(name); };
    const QString over = field(QStringLiteral("Number_Over") + s);
    const QStringList bands{field(QStringLiteral("Number_Over") + s + QStringLiteral("10")),
                            field(QStringLiteral("Number_Over") + s + QStringLiteral("20")),
                            field(QStringLiteral("Number_Over") + s + QStringLiteral("30")), over};
    const QStringList bandPercents{c.percentBands[0], c.percentBands[1], c.percentBands[2],
                                   c.percentBands[3]};
    const QStringList headers{c.headers.first, c.headers.second, c.headers.third};

    if (m_json) {
        QJsonArray bins;
        if (scheme)
            for (int i = 0; i < scheme->labels.size(); ++i)
                bins.append(QJsonObject{{QStringLiteral("label"), scheme->labels.at(i)},
                                        {QStringLiteral("volume"), scheme->volumeTexts.at(i)},
                                        {QStringLiteral("percent"), scheme->percentTexts.at(i)}});
        QJsonObject criteria{
            {QStringLiteral("at_under"), c.atOrUnder},
            {QStringLiteral("over"), over},
            {QStringLiteral("at_under_percent"), c.percentAtOrUnder},
            {QStringLiteral("over_percent"), c.percentOver},
            {QStringLiteral("average"), field(QStringLiteral("50th_Percentile") + s)},
            {QStringLiteral("p85"), field(QStringLiteral("85th_Percentile") + s)},
            {QStringLiteral("max"), field(QStringLiteral("Max_Speed"))},
            {QStringLiteral("pace"), field(QStringLiteral("Pace") + s)},
            {QStringLiteral("pace_count"), field(QStringLiteral("Pace_Total") + s)},
            {QStringLiteral("pace_percent"), field(QStringLiteral("Pace_Percent") + s)},
            {QStringLiteral("band_headers"), jsonArray(headers)},
            {QStringLiteral("bands"), jsonArray(bands)},
            {QStringLiteral("band_percents"), jsonArray(bandPercents)},
        };
        writeJson({{QStringLiteral("batch"), m_batch},
                   {QStringLiteral("scheme"), scheme ? QJsonValue(schemeName) : QJsonValue()},
                   {QStringLiteral("direction"), directionName(d)},
                   {QStringLiteral("bins"), bins},
                   {QStringLiteral("criteria"), criteria}});
        return 0;
    }

    m_out << "Survey " << m_batch << ", " << directionName(d) << "\n";
    if (scheme) {
        m_out << "\nDisplay scheme " << schemeName << "\n";
        QVector<QStringList> rows{
            {QStringLiteral("Speed"), QStringLiteral("Volume"), QStringLiteral("% of Total")}};
        for (int i = 0; i < scheme->labels.size(); ++i)
            rows.append(
                {scheme->labels.at(i), scheme->volumeTexts.at(i), scheme->percentTexts.at(i)});
        m_out << textTable(rows);
    }
    m_out << "\nSpeed Statistics\n"
          << textTable(
                 {{QStringLiteral("Posted Limit"), field(QStringLiteral("Posted_Limit")),
                   QString()},
                  {QStringLiteral("At/Under Limit"), c.atOrUnder, c.percentAtOrUnder},
                  {QStringLiteral("Number Over Limit"), over, c.percentOver},
                  {QStringLiteral("Average Speed"), field(QStringLiteral("50th_Percentile") + s),
                   QString()},
                  {QStringLiteral("85th Percentile"), field(QStringLiteral("85th_Percentile") + s),
                   QString()},
                  {QStringLiteral("Maximum Speed"), field(QStringLiteral("Max_Speed")), QString()}})
          << "(" << c.percentCaption << " in the last column)\n"
          << "\nPace\n"
          << textTable(
                 {{QStringLiteral("Pace Range"), field(QStringLiteral("Pace") + s)},
                  {QStringLiteral("Number in Pace"), field(QStringLiteral("Pace_Total") + s)},
                  {QStringLiteral("Percent in Pace"), field(QStringLiteral("Pace_Percent") + s)}})
          << "\nNumber Exceeding Limit\n"
          << textTable({QStringList{QStringLiteral("Speed")} + headers +
                            QStringList{QStringLiteral("Total")},
                        QStringList{QStringLiteral("Number")} + bands,
                        QStringList{QStringLiteral("Percent")} + bandPercents});
    return 0;
}

int ShowCommand::fifteen(DatabaseSession &session, const SurveyCaptions &)
{
    QString problem;
    const QString date = surveyDate(session, m_args.value(QStringLiteral("date")), problem);
    if (date.isEmpty())
        return fail(problem);
    const FifteenMinuteResult r = fifteenMinute(session, {m_batch, date, m_direction});
    if (m_json) {
        QJsonArray rows;
        for (const QStringList &row : r.rows)
            rows.append(jsonArray(row));
        auto half = [](const PeakAnalysis &a) {
            return QJsonObject{{QStringLiteral("total"), a.total},
                               {QStringLiteral("peak_hour"), a.peakHour},
                               {QStringLiteral("peak_flow"), a.peakFlow},
                               {QStringLiteral("peak_share"), a.peakShare},
                               {QStringLiteral("day_share"), a.dayShare}};
        };
        writeJson({{QStringLiteral("date"), date},
                   {QStringLiteral("direction"), directionName(m_direction)},
                   {QStringLiteral("headers"), jsonArray(r.layout.headers)},
                   {QStringLiteral("rows"), rows},
                   {QStringLiteral("am"), half(r.am)},
                   {QStringLiteral("pm"), half(r.pm)}});
        return 0;
    }
    m_out << "Survey " << m_batch << ", " << date << ", " << directionName(m_direction) << "\n\n";
    QVector<QStringList> rows{r.layout.headers};
    rows += r.rows;
    m_out << textTable(rows, QStringLiteral("RRRRRRRR"));
    const QStringList &captions = analysisCaptions();
    m_out << "\n" << AMAnalysisCaption << "\n";
    QVector<QStringList> am, pm;
    for (int i = 0; i <= 4; ++i)
        am.append({captions.at(i), r.label21.at(i)});
    for (int i = 9; i >= 5; --i)
        pm.append({captions.at(i), r.label21.at(i)});
    m_out << textTable(am, QStringLiteral("LL")) << "\n"
          << PMAnalysisCaption << "\n"
          << textTable(pm, QStringLiteral("LL"));
    return 0;
}

int ShowCommand::volume(DatabaseSession &session, const SurveyCaptions &)
{
    QString problem;
    const QString date = surveyDate(session, m_args.value(QStringLiteral("date")), problem);
    if (date.isEmpty())
        return fail(problem);
    const DailyVolumeResult r = dailyVolume(session, {m_batch, date, m_direction});
    if (!r.hasChart())
        return fail(r.message);
    if (m_json) {
        QJsonArray points;
        for (double v : r.points)
            points.append(v);
        writeJson({{QStringLiteral("date"), date},
                   {QStringLiteral("direction"), directionName(m_direction)},
                   {QStringLiteral("title"), r.title},
                   {QStringLiteral("points"), points},
                   {QStringLiteral("labels"), jsonArray(r.labels)}});
        return 0;
    }
    m_out << r.title << "\n" << date << ", " << directionName(m_direction) << "\n\n";
    QVector<QStringList> rows{{QString(), r.amCaption, r.pmCaption}};
    for (int k = 0; k < 12; ++k)
        rows.append(
            {r.labels.at(k), plainNumber(r.points.at(k)), plainNumber(r.points.at(k + 12))});
    m_out << textTable(rows) << "\n" << r.caption << "\n";
    return 0;
}

int ShowCommand::weekly(DatabaseSession &session, const SurveyCaptions &survey)
{
    const WeeklyResult r = weeklyGridOfSurvey(session, m_batch);
    if (!r.computed())
        return fail(r.message);
    const WeeklyGrid &g = r.grid;
    const QStringList &names = weeklyColumnNames();
    if (m_json) {
        QJsonObject columns;
        for (int c = 0; c < WeeklyGrid::ColumnCount; ++c)
            columns.insert(names.at(c), jsonArray(g.columns.at(c)));
        writeJson({{QStringLiteral("headers"), jsonArray(g.headers)},
                   {QStringLiteral("columns"), columns},
                   {QStringLiteral("combined"), jsonArray(g.combined)},
                   {QStringLiteral("split"), jsonArray(g.split)}});
        return 0;
    }
    m_out << "Survey " << m_batch << ", " << survey.startDate() << " - " << survey.stopDate()
          << "\n\n";
    // Each day and average is a column pair; the header spans the pair.
    QStringList top{QStringLiteral("Interval")};
    QStringList second{QStringLiteral("Direction")};
    const QStringList groups = g.headers + QStringList{QString::fromLatin1(WeekdayAverageCaption),
                                                       QString::fromLatin1(WeekendAverageCaption)};
    const int pairWidth = 13;
    QString head = top.first().leftJustified(9);
    QString sub = second.first().leftJustified(9);
    for (const QString &group : groups) {
        const int pad = std::max(0, int(pairWidth - group.size()) / 2);
        head += QStringLiteral("  ") +
                (QString(pad, QLatin1Char(' ')) + group).leftJustified(pairWidth);
        sub += QStringLiteral("  ") + QStringLiteral("A").rightJustified(6) + QLatin1Char(' ') +
               QStringLiteral("R").rightJustified(6);
    }
    auto line = [&](const QString &caption, const std::function<QString(int)> &pair) {
        QString text = caption.leftJustified(9);
        for (int p = 0; p < 9; ++p)
            text += QStringLiteral("  ") + pair(p);
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        return text + QLatin1Char('\n');
    };
    while (head.endsWith(QLatin1Char(' ')))
        head.chop(1);
    m_out << head << "\n" << sub << "\n";
    const QStringList &captions = weeklyRowCaptions();
    for (int row = 0; row < WeeklyGrid::RowCount; ++row)
        m_out << line(captions.at(row), [&](int p) {
            return g.cell(2 * p, row).rightJustified(6) + QLatin1Char(' ') +
                   g.cell(2 * p + 1, row).rightJustified(6);
        });
    m_out << line(QString::fromLatin1(WeeklyCombinedCaption),
                  [&](int p) { return g.combined.at(p).rightJustified(pairWidth); })
          << line(QString::fromLatin1(WeeklySplitCaption),
                  [&](int p) { return g.split.at(p).rightJustified(pairWidth); });
    return 0;
}

int ShowCommand::chart(DatabaseSession &session, const SurveyCaptions &survey, bool percentile)
{
    SpeedChartInput in;
    in.batch = m_batch;
    in.postedLimit = survey.postedLimit();
    in.radarMode = survey.radarMode();
    in.direction = m_direction;
    const QString printer = m_args.has(QStringLiteral("printer"))
                                ? m_args.value(QStringLiteral("printer")).toLower()
                                : QStringLiteral("color");
    if (printer == QLatin1String("bw"))
        in.mode = PrinterMode::BlackWhite;
    else if (printer != QLatin1String("color"))
        return usage(QStringLiteral("--printer must be color or bw"));
    SurveyDirection criteria = SurveyDirection::Approaching;
    if (m_args.has(QStringLiteral("criteria"))) {
        const auto d = surveyDirectionFromName(m_args.value(QStringLiteral("criteria")));
        if (!d)
            return usage(QStringLiteral("--criteria must be approaching, receding or both"));
        criteria = *d;
    }
    // The summary panel's labels for its direction: Label2(36) and Label2(28).
    in.pace = survey.summaryField(QStringLiteral("Pace") + summarySuffix(criteria));
    in.percentile85 =
        survey.summaryField(QStringLiteral("85th_Percentile") + summarySuffix(criteria));

    const SpeedChartResult r =
        percentile ? percent85Chart(session, in) : trafficFlowChart(session, in);
    if (!r.hasChart())
        return fail(r.message);
    const ChartData data = chartData(r.chart);
    if (m_json) {
        QJsonArray points;
        for (int i = 0; i < data.numPoints(); ++i)
            points.append(QJsonObject{{QStringLiteral("label"), data.axisLabel(i)},
                                      {QStringLiteral("value"), data.values.at(i)},
                                      {QStringLiteral("colour"), data.colours.at(i)}});
        writeJson({{QStringLiteral("title"), r.title},
                   {QStringLiteral("bottom_title"), r.chart.bottomTitle},
                   {QStringLiteral("points"), points}});
        return 0;
    }
    m_out << r.title << "\n"
          << r.chart.bottomTitle << " (" << (in.mode == PrinterMode::Color ? "color" : "bw")
          << " printer mode)\n\n";
    QVector<QStringList> rows{
        {QStringLiteral("Speed"), r.chart.leftTitle, QStringLiteral("Colour")}};
    for (int i = 0; i < data.numPoints(); ++i)
        rows.append(
            {data.axisLabel(i), plainNumber(data.values.at(i)),
             QStringLiteral("%1 %2").arg(data.colours.at(i)).arg(colourName(data.colours.at(i)))});
    m_out << textTable(rows, QStringLiteral("RRL"));
    return 0;
}

int ShowCommand::study(DatabaseSession &session)
{
    const SpeedStudy s = loadSpeedStudy(session, m_batch, m_direction);
    if (m_json)
        writeJson(speedStudyJson(s));
    else
        m_out << speedStudyText(s);
    return 0;
}

} // namespace

int showCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    return ShowCommand(out, err).run(arguments);
}

} // namespace roadtally

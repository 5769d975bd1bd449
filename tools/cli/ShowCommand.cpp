// roadtally-cli show: any view of a stored survey without the windows, from the
// same core functions the tabs call; a readable table, or JSON with --json.
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

// One view of one survey, as asked for on the command line.
class SurveyView
{
public:
    SurveyView(const Invocation &invocation, SurveyDirection direction)
        : m_out(invocation.out), m_invocation(invocation),
          m_json(invocation.has(QStringLiteral("json"))), m_direction(direction)
    {
    }

    void setBatch(const QString &batch) { m_batch = batch; }

    ExitCode summary(DatabaseSession &session, const SurveyCaptions &survey);
    ExitCode fifteen(DatabaseSession &session, const SurveyCaptions &survey);
    ExitCode volume(DatabaseSession &session, const SurveyCaptions &survey);
    ExitCode weekly(DatabaseSession &session, const SurveyCaptions &survey);
    ExitCode chart(DatabaseSession &session, const SurveyCaptions &survey, bool percentile);
    ExitCode study(DatabaseSession &session);

private:
    ExitCode usage(const QString &problem) const { return m_invocation.usage(problem); }
    ExitCode fail(const QString &problem) const { return m_invocation.fail(problem); }
    void writeJson(const QJsonObject &o)
    {
        m_out << QJsonDocument(o).toJson(QJsonDocument::Indented);
    }

    // Resolves --date against the survey's dates ("" and a message when it is not one).
    QString surveyDate(DatabaseSession &session, const QString &given, QString &problem);

    QTextStream &m_out;
    const Invocation &m_invocation;
    QString m_batch;
    bool m_json = false;
    SurveyDirection m_direction = SurveyDirection::Both;
};

QString SurveyView::surveyDate(DatabaseSession &session, const QString &given, QString &problem)
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

ExitCode SurveyView::summary(DatabaseSession &session, const SurveyCaptions &survey)
{
    const SurveyDirection d = m_direction;
    const QString s = summarySuffix(d);
    const QString total = survey.summaryField(summaryTotalField(d));
    std::optional<SchemeResult> scheme;
    QString schemeName;
    if (m_invocation.has(QStringLiteral("scheme"))) {
        schemeName = m_invocation.value(QStringLiteral("scheme"));
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
        return ExitCode::Success;
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
    return ExitCode::Success;
}

ExitCode SurveyView::fifteen(DatabaseSession &session, const SurveyCaptions &)
{
    QString problem;
    const QString date = surveyDate(session, m_invocation.value(QStringLiteral("date")), problem);
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
        return ExitCode::Success;
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
    return ExitCode::Success;
}

ExitCode SurveyView::volume(DatabaseSession &session, const SurveyCaptions &)
{
    QString problem;
    const QString date = surveyDate(session, m_invocation.value(QStringLiteral("date")), problem);
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
        return ExitCode::Success;
    }
    m_out << r.title << "\n" << date << ", " << directionName(m_direction) << "\n\n";
    QVector<QStringList> rows{{QString(), r.amCaption, r.pmCaption}};
    for (int k = 0; k < 12; ++k)
        rows.append(
            {r.labels.at(k), plainNumber(r.points.at(k)), plainNumber(r.points.at(k + 12))});
    m_out << textTable(rows) << "\n" << r.caption << "\n";
    return ExitCode::Success;
}

ExitCode SurveyView::weekly(DatabaseSession &session, const SurveyCaptions &survey)
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
        return ExitCode::Success;
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
                QString(QString(pad, QLatin1Char(' ')) + group).leftJustified(pairWidth);
        sub += QStringLiteral("  ") + QStringLiteral("A").rightJustified(6) + QLatin1Char(' ') +
               QStringLiteral("R").rightJustified(6);
    }
    auto line = [&](const QString &caption, const std::function<QString(int)> &pair) -> QString {
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
        m_out << line(captions.at(row), [&](int p) -> QString {
            return g.cell(2 * p, row).rightJustified(6) + QLatin1Char(' ') +
                   g.cell(2 * p + 1, row).rightJustified(6);
        });
    m_out << line(QString::fromLatin1(WeeklyCombinedCaption),
                  [&](int p) { return g.combined.at(p).rightJustified(pairWidth); })
          << line(QString::fromLatin1(WeeklySplitCaption),
                  [&](int p) { return g.split.at(p).rightJustified(pairWidth); });
    return ExitCode::Success;
}

ExitCode SurveyView::chart(DatabaseSession &session, const SurveyCaptions &survey, bool percentile)
{
    SpeedChartInput in;
    in.batch = m_batch;
    in.postedLimit = survey.postedLimit();
    in.radarMode = survey.radarMode();
    in.direction = m_direction;
    const QString printer = m_invocation.has(QStringLiteral("printer"))
                                ? m_invocation.value(QStringLiteral("printer")).toLower()
                                : QStringLiteral("color");
    if (printer == QLatin1String("bw"))
        in.mode = PrinterMode::BlackWhite;
    else if (printer != QLatin1String("color"))
        return usage(QStringLiteral("--printer must be color or bw"));
    SurveyDirection criteria = SurveyDirection::Approaching;
    if (m_invocation.has(QStringLiteral("criteria"))) {
        const auto d = surveyDirectionFromName(m_invocation.value(QStringLiteral("criteria")));
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
        return ExitCode::Success;
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
    return ExitCode::Success;
}

ExitCode SurveyView::study(DatabaseSession &session)
{
    const SpeedStudy s = loadSpeedStudy(session, m_batch, m_direction);
    if (m_json)
        writeJson(speedStudyJson(s));
    else
        m_out << speedStudyText(s);
    return ExitCode::Success;
}

} // namespace

ExitCode showCommand(const Invocation &invocation)
{
    const QString kind = invocation.operand();
    const QStringList allowed =
        kindOptions(kind) + QStringList{QStringLiteral("folder"), QStringLiteral("database"),
                                        QStringLiteral("batch"), QStringLiteral("json")};
    for (const QString &option : invocation.optionNames())
        if (!allowed.contains(option))
            return invocation.usage(QStringLiteral("--%1 is not used by %2").arg(option, kind));
    if ((kind == QLatin1String("fifteen") || kind == QLatin1String("volume")) &&
        !invocation.has(QStringLiteral("date")))
        return invocation.usage(QStringLiteral("%1 needs --date mm/dd/yy").arg(kind));

    // The defaults a freshly opened survey shows: approaching on the summary
    // panel, both directions on the other tabs. The study looks at the
    // approaching traffic, the traffic the sign speaks to.
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

    const QString database = invocation.database();
    if (database.isEmpty())
        return ExitCode::Failure;
    SurveyView view(invocation, direction);
    try {
        DatabaseSession session(database);
        if (!session.isOpen())
            return invocation.fail(session.errorText());
        const QString batch = invocation.value(QStringLiteral("batch"));
        const std::optional<SurveyCaptions> survey = readSurveyCaptions(session, batch);
        if (!survey)
            return invocation.unknownSurvey(batch, database);
        view.setBatch(survey->batch());
        if (kind == QLatin1String("summary"))
            return view.summary(session, *survey);
        if (kind == QLatin1String("fifteen"))
            return view.fifteen(session, *survey);
        if (kind == QLatin1String("volume"))
            return view.volume(session, *survey);
        if (kind == QLatin1String("weekly"))
            return view.weekly(session, *survey);
        if (kind == QLatin1String("study"))
            return view.study(session);
        return view.chart(session, *survey, kind == QLatin1String("percentile"));
    } catch (const DatabaseError &e) {
        return invocation.fail(QStringLiteral("the survey database cannot be read: %1")
                                   .arg(QString::fromUtf8(e.what())));
    }
}

} // namespace roadtally

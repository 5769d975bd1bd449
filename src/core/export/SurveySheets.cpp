#include "core/export/SurveySheets.h"

#include "core/analysis/SurveyCriteria.h"
#include "core/text/TextPatterns.h"

#include <QSqlError>
#include <QSqlQuery>

namespace roadtally {

namespace {

const QString OneDecimal = QStringLiteral("0.0");
const QString PercentFormat = QStringLiteral("0\" %\"");
const QString ClockFormat = QStringLiteral("hh:mm AM/PM");
const QString ClockSecondsFormat = QStringLiteral("hh:mm:ss AM/PM");

// The first of the two texts that is not blank.
QString firstText(const QString &a, const QString &b)
{
    return a.trimmed().isEmpty() ? b.trimmed() : a.trimmed();
}

void addFact(ExportTable &table, const QString &item, const ExportCell &value)
{
    table.addRow({ExportCell::ofText(item), value});
}

// A row of the figures of all vehicles, approaching and receding: the Summary
// field and its A and R forms ("" for none).
void addFigure(ExportTable &table, const SurveyCaptions &survey, const QString &item,
               const QString &all, const QString &approaching, const QString &receding,
               const QString &format = QString())
{
    auto cell = [&](const QString &field) {
        return field.isEmpty() ? ExportCell::empty()
                               : figureCell(survey.summaryField(field), format);
    };
    table.addRow({ExportCell::ofText(item), cell(all), cell(approaching), cell(receding)});
}

// A query that hands its rows over one at a time without keeping them.
QSqlQuery forwardQuery(DatabaseSession &session, const QString &sql, const QVariantList &values)
{
    session.requireOpen();
    QSqlQuery q(session.database());
    q.setForwardOnly(true);
    if (!q.prepare(session.dialect(sql)))
        throw DatabaseError(QStringLiteral("%1: %2").arg(sql, q.lastError().text()).toStdString());
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DatabaseError(QStringLiteral("%1: %2").arg(sql, q.lastError().text()).toStdString());
    return q;
}

QString textOf(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace

ExportCell figureCell(const QString &text, const QString &format)
{
    // A number starts with a digit, after an optional sign and point.
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t.at(i) == QLatin1Char('-') || t.at(i) == QLatin1Char('+')))
        ++i;
    if (i < t.size() && t.at(i) == QLatin1Char('.'))
        ++i;
    if (i >= t.size() || !t.at(i).isDigit())
        return {};
    return ExportCell::ofNumber(numericValue(t), format);
}

ExportCell textCell(const QString &text)
{
    return text.isEmpty() ? ExportCell::empty() : ExportCell::ofText(text);
}

ExportTable surveySheet(const SurveyCaptions &survey)
{
    ExportTable t;
    t.name = QStringLiteral("Survey");
    t.columns = {{QStringLiteral("Survey")}, {QStringLiteral("Value")}, {QString()}, {QString()}};

    auto header = [&](const char *name) { return survey.headerField(QString::fromLatin1(name)); };
    auto summary = [&](const char *name) { return survey.summaryField(QString::fromLatin1(name)); };

    addFact(t, QStringLiteral("Batch Number"), textCell(header("Batch_Number").trimmed()));
    addFact(t, QStringLiteral("Location Code"), textCell(header("Location_Code")));
    addFact(t, QStringLiteral("Location"), textCell(header("Location")));
    addFact(t, QStringLiteral("Zone"), textCell(header("Zone")));
    addFact(t, QStringLiteral("Direction of Travel"), textCell(header("Direction")));
    // The limit the statistics used; the header's alert speed when the survey has no summary.
    addFact(t, QStringLiteral("Posted Speed Limit"),
            figureCell(firstText(summary("Posted_Limit"), header("Violation_Alert"))));
    addFact(t, QStringLiteral("Unit"), textCell(header("Radar_Mode")));
    addFact(t, QStringLiteral("Start Date"),
            ExportCell::ofDate(parseDate(firstText(summary("Start_Date"), header("Date")))));
    addFact(t, QStringLiteral("Start Time"),
            ExportCell::ofTime(parseTime(firstText(summary("Start_Time"), header("Time"))),
                               ClockFormat));
    addFact(t, QStringLiteral("End Date"), ExportCell::ofDate(parseDate(summary("Stop_Date"))));
    addFact(t, QStringLiteral("End Time"),
            ExportCell::ofTime(parseTime(summary("Stop_Time")), ClockFormat));
    addFact(t, QStringLiteral("Total Time"), textCell(summary("Total_Time")));
    addFact(t, QStringLiteral("Total Seconds"), figureCell(summary("total_seconds")));

    t.addRow({});
    t.addRow({ExportCell::ofText(QStringLiteral("Summary")),
              ExportCell::ofText(QStringLiteral("All Vehicles")),
              ExportCell::ofText(QStringLiteral("Approaching")),
              ExportCell::ofText(QStringLiteral("Receding"))},
             true);
    addFigure(t, survey, QStringLiteral("Vehicles"), QStringLiteral("Total_Vehicles"),
              QStringLiteral("Total_Approach"), QStringLiteral("Total_Receeding"));
    addFigure(t, survey, QStringLiteral("Unknown Direction"), QStringLiteral("Total_Unknown"), {},
              {});
    addFigure(t, survey, QStringLiteral("At or Under Limit"), QStringLiteral("Number_Under"),
              QStringLiteral("Number_UnderA"), QStringLiteral("Number_UnderR"));
    addFigure(t, survey, QStringLiteral("Over Limit"), QStringLiteral("Number_Over"),
              QStringLiteral("Number_OverA"), QStringLiteral("Number_OverR"));
    addFigure(t, survey, QStringLiteral("Over Limit by 1 to 10"), QStringLiteral("Number_Over10"),
              QStringLiteral("Number_OverA10"), QStringLiteral("Number_OverR10"));
    addFigure(t, survey, QStringLiteral("Over Limit by 11 to 20"), QStringLiteral("Number_Over20"),
              QStringLiteral("Number_OverA20"), QStringLiteral("Number_OverR20"));
    addFigure(t, survey, QStringLiteral("Over Limit by More Than 20"),
              QStringLiteral("Number_Over30"), QStringLiteral("Number_OverA30"),
              QStringLiteral("Number_OverR30"));
    addFigure(t, survey, QStringLiteral("Maximum Speed"), QStringLiteral("Max_Speed"), {}, {});
    addFigure(t, survey, QStringLiteral("Average Speed"), QStringLiteral("50th_Percentile"),
              QStringLiteral("50th_PercentileA"), QStringLiteral("50th_PercentileR"), OneDecimal);
    addFigure(t, survey, QStringLiteral("85th Percentile"), QStringLiteral("85th_Percentile"),
              QStringLiteral("85th_PercentileA"), QStringLiteral("85th_PercentileR"));
    t.addRow({ExportCell::ofText(QStringLiteral("Pace")), textCell(summary("Pace")),
              textCell(summary("PaceA")), textCell(summary("PaceR"))});
    addFigure(t, survey, QStringLiteral("Vehicles in Pace"), QStringLiteral("Pace_Total"),
              QStringLiteral("Pace_TotalA"), QStringLiteral("Pace_TotalR"));
    addFigure(t, survey, QStringLiteral("Percent in Pace"), QStringLiteral("Pace_Percent"),
              QStringLiteral("Pace_PercentA"), QStringLiteral("Pace_PercentR"), PercentFormat);
    return t;
}

ExportTable speedsSheet(DatabaseSession &session, const SurveyCaptions &survey)
{
    ExportTable t;
    t.name = QStringLiteral("Speeds");
    t.columns = {{QStringLiteral("Speed")},
                 {QStringLiteral("All")},
                 {QStringLiteral("Approaching")},
                 {QStringLiteral("Receding")}};
    QSqlQuery q = session.exec(
        QStringLiteral("SELECT [speed], [all_total], [All_app], [all_rec] FROM [Speed] "
                       "WHERE [batch_number] = ? ORDER BY [speed]"),
        {survey.batch()});
    while (q.next())
        t.addRow({figureCell(textOf(q.value(0))), figureCell(textOf(q.value(1))),
                  figureCell(textOf(q.value(2))), figureCell(textOf(q.value(3)))});
    q.finish();

    const QString unit = survey.radarMode().trimmed();
    ExportChart chart;
    chart.kind = ExportChart::Kind::Column;
    chart.title = QStringLiteral("Vehicles by Speed");
    chart.categoryTitle =
        unit.isEmpty() ? QStringLiteral("Speed") : QStringLiteral("Speed (%1)").arg(unit);
    chart.valueTitle = QStringLiteral("Vehicles");
    chart.categoryColumn = 0;
    chart.rowCount = int(t.rows.size());
    chart.series = {{QStringLiteral("All"), 1},
                    {QStringLiteral("Approaching"), 2},
                    {QStringLiteral("Receding"), 3}};
    t.charts << chart;
    return t;
}

ExportTable speedingSheet(DatabaseSession &session, const SurveyCaptions &survey)
{
    ExportTable t;
    t.name = QStringLiteral("Speeding");
    const BandHeaders bands = bandHeaders(survey.postedLimit());
    t.columns = {{QStringLiteral("Date")},
                 {QStringLiteral("Time")},
                 {bands.first},
                 {bands.second},
                 {bands.third},
                 {QStringLiteral("Dir")}};
    const QString batch = survey.batch();
    t.stream = [&session, batch](const ExportRowSink &sink) {
        QSqlQuery q = forwardQuery(
            session,
            QStringLiteral("SELECT [Date], [Time], [speed_Over], [Plus10], [Plus20], [Dir] "
                           "FROM [Speed_Profile] WHERE [Batch_Number] = ? ORDER BY rowid"),
            {batch});
        // A survey has few dates and at most a day's seconds of times: read each text once.
        QHash<QString, QDate> dates;
        QHash<QString, QTime> times;
        ExportRow row;
        row.cells.resize(6);
        auto band = [](const QVariant &value) {
            const QString text = textOf(value).trimmed();
            if (text.isEmpty() || text == QLatin1String("--"))
                return ExportCell::empty();
            bool whole = false;
            const int speed = text.toInt(&whole); // the usual case, read at once
            if (whole)
                return ExportCell::ofNumber(speed);
            const ExportCell number = figureCell(text);
            return number.isEmpty() ? ExportCell::ofText(text) : number;
        };
        while (q.next()) {
            const QString dateText = textOf(q.value(0));
            auto d = dates.constFind(dateText);
            if (d == dates.cend())
                d = dates.insert(dateText, parseDate(dateText));
            const QString timeText = textOf(q.value(1));
            auto tm = times.constFind(timeText);
            if (tm == times.cend())
                tm = times.insert(timeText, parseTime(timeText));
            // A text that is no date or time stays as it was stored.
            row.cells[0] = d->isValid() ? ExportCell::ofDate(*d) : textCell(dateText);
            row.cells[1] =
                tm->isValid() ? ExportCell::ofTime(*tm, ClockSecondsFormat) : textCell(timeText);
            row.cells[2] = band(q.value(2));
            row.cells[3] = band(q.value(3));
            row.cells[4] = band(q.value(4));
            row.cells[5] = textCell(textOf(q.value(5)));
            sink(row);
        }
        if (q.lastError().isValid())
            throw DatabaseError(q.lastError().text().toStdString());
    };
    return t;
}

} // namespace roadtally

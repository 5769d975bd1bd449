#include "export/SurveySheets.h"

#include "text/TextPatterns.h"
#include "views/SurveyCriteria.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace roadtally {

namespace {

const QString OneDecimal = QStringLiteral("0.0");
const QString PercentFormat = QStringLiteral("0\" %\"");
const QString ClockFormat = QStringLiteral("hh:mm AM/PM");
const QString ClockSecondsFormat = QStringLiteral("hh:mm:ss AM/PM");

QString textOf(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

ExportCell textCell(const QVariant &value)
{
    const QString text = textOf(value);
    return text.isEmpty() ? ExportCell::empty() : ExportCell::ofText(text);
}

// The first of the two fields that holds a text.
QString firstText(const QVariant &a, const QVariant &b)
{
    const QString text = textOf(a).trimmed();
    return text.isEmpty() ? textOf(b).trimmed() : text;
}

void addFact(ExportTable &table, const QString &item, const ExportCell &value)
{
    table.addRow({ExportCell::ofText(item), value});
}

// A row of the figures of all vehicles, approaching and receding: the field's
// name and its A and R forms.
void addFigure(ExportTable &table, const FieldRow &summary, const QString &item, const QString &all,
               const QString &approaching, const QString &receding, const QString &format = QString())
{
    auto cell = [&](const QString &field) {
        return field.isEmpty() ? ExportCell::empty() : figureCell(fieldOf(summary, field), format);
    };
    table.addRow({ExportCell::ofText(item), cell(all), cell(approaching), cell(receding)});
}

// A query that hands its rows over one at a time without keeping them.
QSqlQuery forwardQuery(DatabaseSession &session, const QString &sql, const QVariantList &values)
{
    session.requireOpen();
    QSqlQuery q(session.database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DatabaseError(QStringLiteral("%1: %2").arg(sql, q.lastError().text()).toStdString());
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DatabaseError(QStringLiteral("%1: %2").arg(sql, q.lastError().text()).toStdString());
    return q;
}

} // namespace

QVariant fieldOf(const FieldRow &row, const QString &name)
{
    const auto exact = row.constFind(name);
    if (exact != row.cend())
        return exact.value();
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return QVariant();
}

FieldRow headerRow(DatabaseSession &session, const QString &batch)
{
    session.requireOpen();
    QSqlQuery q = session.exec(QStringLiteral("SELECT * FROM [Header] WHERE [Batch_Number] = ?"), {batch});
    FieldRow row;
    if (q.next()) {
        const QSqlRecord record = q.record();
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), record.value(i));
    }
    q.finish();
    return row;
}

ExportCell figureCell(const QVariant &value, const QString &format)
{
    if (value.isNull())
        return {};
    const QString text = value.toString().trimmed();
    if (text.isEmpty() || !(text.at(0).isDigit() || text.at(0) == QLatin1Char('-')
                            || text.at(0) == QLatin1Char('+') || text.at(0) == QLatin1Char('.')))
        return {};
    return ExportCell::ofNumber(numericValue(text), format);
}

ExportTable surveySheet(const FieldRow &header, const FieldRow &summary)
{
    ExportTable t;
    t.name = QStringLiteral("Survey");
    t.columns = {{QStringLiteral("Survey")}, {QStringLiteral("Value")}, {QString()}, {QString()}};

    auto headerField = [&](const char *name) { return fieldOf(header, QString::fromLatin1(name)); };
    auto summaryField = [&](const char *name) { return fieldOf(summary, QString::fromLatin1(name)); };

    addFact(t, QStringLiteral("Batch Number"),
            textCell(firstText(headerField("Batch_Number"), summaryField("Batch_Number"))));
    addFact(t, QStringLiteral("Location Code"), textCell(headerField("Location_Code")));
    addFact(t, QStringLiteral("Location"), textCell(headerField("Location")));
    addFact(t, QStringLiteral("Zone"), textCell(headerField("Zone")));
    addFact(t, QStringLiteral("Direction of Travel"), textCell(headerField("Direction")));
    // The limit the statistics used; the header's alert speed when the survey has no summary.
    addFact(t, QStringLiteral("Posted Speed Limit"),
            figureCell(firstText(summaryField("Posted_Limit"), headerField("Violation_Alert"))));
    addFact(t, QStringLiteral("Unit"), textCell(headerField("Radar_Mode")));
    addFact(t, QStringLiteral("Start Date"),
            ExportCell::ofDate(parseDate(firstText(summaryField("Start_Date"), headerField("Date")))));
    addFact(t, QStringLiteral("Start Time"),
            ExportCell::ofTime(parseTime(firstText(summaryField("Start_Time"), headerField("Time"))),
                               ClockFormat));
    addFact(t, QStringLiteral("End Date"), ExportCell::ofDate(parseDate(textOf(summaryField("Stop_Date")))));
    addFact(t, QStringLiteral("End Time"),
            ExportCell::ofTime(parseTime(textOf(summaryField("Stop_Time"))), ClockFormat));
    addFact(t, QStringLiteral("Total Time"), textCell(summaryField("Total_Time")));
    addFact(t, QStringLiteral("Total Seconds"), figureCell(summaryField("total_seconds")));

    t.addRow({});
    t.addRow({ExportCell::ofText(QStringLiteral("Summary")), ExportCell::ofText(QStringLiteral("All Vehicles")),
              ExportCell::ofText(QStringLiteral("Approaching")), ExportCell::ofText(QStringLiteral("Receding"))},
             true);
    addFigure(t, summary, QStringLiteral("Vehicles"), QStringLiteral("Total_Vehicles"),
              QStringLiteral("Total_Approach"), QStringLiteral("Total_Receeding"));
    addFigure(t, summary, QStringLiteral("Unknown Direction"), QStringLiteral("Total_Unknown"), {}, {});
    addFigure(t, summary, QStringLiteral("At or Under Limit"), QStringLiteral("Number_Under"),
              QStringLiteral("Number_UnderA"), QStringLiteral("Number_UnderR"));
    addFigure(t, summary, QStringLiteral("Over Limit"), QStringLiteral("Number_Over"),
              QStringLiteral("Number_OverA"), QStringLiteral("Number_OverR"));
    addFigure(t, summary, QStringLiteral("Over Limit by 1 to 10"), QStringLiteral("Number_Over10"),
              QStringLiteral("Number_OverA10"), QStringLiteral("Number_OverR10"));
    addFigure(t, summary, QStringLiteral("Over Limit by 11 to 20"), QStringLiteral("Number_Over20"),
              QStringLiteral("Number_OverA20"), QStringLiteral("Number_OverR20"));
    addFigure(t, summary, QStringLiteral("Over Limit by More Than 20"), QStringLiteral("Number_Over30"),
              QStringLiteral("Number_OverA30"), QStringLiteral("Number_OverR30"));
    addFigure(t, summary, QStringLiteral("Maximum Speed"), QStringLiteral("Max_Speed"), {}, {});
    addFigure(t, summary, QStringLiteral("Average Speed"), QStringLiteral("50th_Percentile"),
              QStringLiteral("50th_PercentileA"), QStringLiteral("50th_PercentileR"), OneDecimal);
    addFigure(t, summary, QStringLiteral("85th Percentile"), QStringLiteral("85th_Percentile"),
              QStringLiteral("85th_PercentileA"), QStringLiteral("85th_PercentileR"));
    t.addRow({ExportCell::ofText(QStringLiteral("Pace")), textCell(summaryField("Pace")),
              textCell(summaryField("PaceA")), textCell(summaryField("PaceR"))});
    addFigure(t, summary, QStringLiteral("Vehicles in Pace"), QStringLiteral("Pace_Total"),
              QStringLiteral("Pace_TotalA"), QStringLiteral("Pace_TotalR"));
    addFigure(t, summary, QStringLiteral("Percent in Pace"), QStringLiteral("Pace_Percent"),
              QStringLiteral("Pace_PercentA"), QStringLiteral("Pace_PercentR"), PercentFormat);
    return t;
}

ExportTable speedsSheet(DatabaseSession &session, const QString &batch, const QString &unit)
{
    ExportTable t;
    t.name = QStringLiteral("Speeds");
    t.columns = {{QStringLiteral("Speed")}, {QStringLiteral("All")}, {QStringLiteral("Approaching")},
                 {QStringLiteral("Receding")}};
    QSqlQuery q = session.exec(QStringLiteral("SELECT [speed], [all_total], [All_app], [all_rec] FROM [Speed] "
                                              "WHERE [batch_number] = ? ORDER BY [speed]"),
                               {batch});
    while (q.next())
        t.addRow({figureCell(q.value(0)), figureCell(q.value(1)), figureCell(q.value(2)), figureCell(q.value(3))});
    q.finish();

    ExportChart chart;
    chart.kind = ExportChart::Kind::Column;
    chart.title = QStringLiteral("Vehicles by Speed");
    chart.categoryTitle = unit.trimmed().isEmpty() ? QStringLiteral("Speed")
                                                   : QStringLiteral("Speed (%1)").arg(unit.trimmed());
    chart.valueTitle = QStringLiteral("Vehicles");
    chart.categoryColumn = 0;
    chart.firstRow = 0;
    chart.rowCount = int(t.rows.size());
    chart.series = {{QStringLiteral("All"), 1}, {QStringLiteral("Approaching"), 2}, {QStringLiteral("Receding"), 3}};
    t.charts << chart;
    return t;
}

ExportTable speedingSheet(DatabaseSession &session, const QString &batch, const QString &postedLimit)
{
    ExportTable t;
    t.name = QStringLiteral("Speeding");
    const BandHeaders bands = bandHeaders(postedLimit);
    t.columns = {{QStringLiteral("Date")}, {QStringLiteral("Time")}, {bands.first},
                 {bands.second},           {bands.third},           {QStringLiteral("Dir")}};
    t.stream = [&session, batch](const ExportRowSink &sink) {
        QSqlQuery q = forwardQuery(session,
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
            const ExportCell number = figureCell(text);
            return number.isEmpty() ? ExportCell::ofText(text) : number;
        };
        while (q.next()) {
            const QString dateText = q.value(0).toString();
            auto d = dates.constFind(dateText);
            if (d == dates.cend())
                d = dates.insert(dateText, parseDate(dateText));
            const QString timeText = q.value(1).toString();
            auto tm = times.constFind(timeText);
            if (tm == times.cend())
                tm = times.insert(timeText, parseTime(timeText));
            // A text that is no date or time stays as it was stored.
            row.cells[0] = d->isValid() ? ExportCell::ofDate(*d) : textCell(dateText);
            row.cells[1] = tm->isValid() ? ExportCell::ofTime(*tm, ClockSecondsFormat) : textCell(timeText);
            row.cells[2] = band(q.value(2));
            row.cells[3] = band(q.value(3));
            row.cells[4] = band(q.value(4));
            row.cells[5] = textCell(q.value(5));
            sink(row);
        }
        if (q.lastError().isValid())
            throw DatabaseError(q.lastError().text().toStdString());
    };
    return t;
}

} // namespace roadtally

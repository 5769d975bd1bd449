// The time sheets of a survey export: the fifteen-minute rows, the hourly
// volumes per date and the weekly grid, from the views' own core functions.
#include "core/export/SurveySheets.h"

#include "core/analysis/DailyVolume.h"
#include "core/analysis/FifteenMinute.h"
#include "core/analysis/WeeklyGrid.h"
#include "core/text/TextPatterns.h"

#include <array>

namespace roadtally {

namespace {

const QString DailyVolumeName = QStringLiteral("Daily Volume");

// A count as a view shows it: a number, "*" for none, "" where nothing is shown.
ExportCell countCell(const QString &text, bool starIsZero = true)
{
    const QString t = text.trimmed();
    if (t == QLatin1String("*"))
        return starIsZero ? ExportCell::ofNumber(0) : ExportCell::empty();
    const ExportCell number = figureCell(t);
    return number.isEmpty() ? textCell(t) : number;
}

// A date of the survey as a column header: mm/dd/yyyy, or the text as stored.
QString dateHeader(const QString &dateText)
{
    const QDate d = parseDate(dateText);
    return d.isValid() ? formatDate(d, QStringLiteral("mm/dd/yyyy")) : dateText;
}

} // namespace

ExportTable fifteenMinuteSheet(DatabaseSession &session, const SurveyCaptions &survey,
                               const QStringList &dates)
{
    ExportTable t;
    t.name = QStringLiteral("15 Minute");
    // The view's columns for both directions, named so that each is one of a kind.
    for (const char *header : {"Date", "Time AM", "AM App", "AM Rec", "AM Hour Total", "Time PM",
                               "PM App", "PM Rec", "PM Hour Total"})
        t.columns << ExportColumn{QString::fromLatin1(header), 0, true};
    const QString batch = survey.batch();
    for (const QString &date : dates) {
        const FifteenMinuteResult r = fifteenMinute(session, {batch, date, SurveyDirection::Both});
        const QDate day = parseDate(date);
        const ExportCell dateCell = day.isValid() ? ExportCell::ofDate(day) : textCell(date);
        for (const QStringList &cells : r.rows) {
            QVector<ExportCell> row{dateCell};
            for (int c = 0; c < 8; ++c) {
                const QString text = c < cells.size() ? cells.at(c) : QString();
                // Columns 0 and 4 are the block labels ("07:45 - 08:00"), the others counts.
                row << (c == 0 || c == 4 ? textCell(text) : countCell(text));
            }
            t.addRow(row);
        }
    }

    ExportChart chart;
    chart.kind = ExportChart::Kind::Line;
    chart.title = QStringLiteral("Hourly Volume by Date");
    chart.categoryTitle = QStringLiteral("Hour");
    chart.valueTitle = QStringLiteral("Vehicles");
    chart.dataSheet = DailyVolumeName;
    chart.categoryColumn = 0;
    chart.rowCount = 24;
    for (int i = 0; i < dates.size(); ++i)
        chart.series << ExportChart::Series{dateHeader(dates.at(i)), i + 1};
    if (!dates.isEmpty())
        t.charts << chart;
    return t;
}

ExportTable dailyVolumeSheet(DatabaseSession &session, const SurveyCaptions &survey,
                             const QStringList &dates)
{
    ExportTable t;
    t.name = DailyVolumeName;
    t.columns = {{QStringLiteral("Hour"), 0, true}};
    QVector<QVector<double>> volumes;
    for (const QString &date : dates) {
        t.columns << ExportColumn{dateHeader(date), 0, true};
        const DailyVolumeResult r =
            dailyVolume(session, {survey.batch(), date, SurveyDirection::Both});
        volumes << (r.hasChart() ? r.points : QVector<double>());
    }
    for (int hour = 0; hour < 24; ++hour) {
        // The hour as a label: the charts' categories read it as it stands.
        QVector<ExportCell> row{
            ExportCell::ofText(QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')))};
        for (const QVector<double> &points : std::as_const(volumes))
            row << (hour < points.size() ? ExportCell::ofNumber(points.at(hour))
                                         : ExportCell::empty());
        t.addRow(row);
    }
    return t;
}

ExportTable weeklySheet(DatabaseSession &session, const SurveyCaptions &survey)
{
    ExportTable t;
    t.name = QStringLiteral("Weekly");

    WeeklyGrid cleared = WeeklyGrid::designState();
    clearWeekData(cleared);
    const WeeklyResult r = computeWeeklyGrid(session, weeklyInputOf(survey, cleared));
    const WeeklyGrid &g = r.grid;

    // Column pairs: the seven days, the weekday and the weekend average.
    QStringList pairs = g.headers;
    pairs << QString::fromLatin1(WeekdayAverageCaption)
          << QString::fromLatin1(WeekendAverageCaption);
    t.columns = {{QStringLiteral("Interval")}};
    for (const QString &pair : std::as_const(pairs))
        t.columns << ExportColumn{pair + QStringLiteral(" A")}
                  << ExportColumn{pair + QStringLiteral(" R")};
    if (!r.computed()) {
        t.addRow({ExportCell::ofText(r.message)});
        return t;
    }

    // Which column pairs hold figures of this survey: the weekdays of its dates, and
    // an average whose days the survey covers. The others show no figures.
    std::array<bool, 9> covered{};
    const QDate first = parseDate(survey.startDate());
    const QDate last = parseDate(survey.stopDate());
    // Seven days cover every weekday.
    for (QDate d = first; d.isValid() && last.isValid() && d <= last && first.daysTo(d) < 7;
         d = d.addDays(1))
        covered[d.dayOfWeek() - 1] = true; // Monday 1 .. Sunday 7
    covered[7] = covered[0] || covered[1] || covered[2] || covered[3] || covered[4];
    covered[8] = covered[5] || covered[6];

    const QStringList &captions = weeklyRowCaptions();
    for (int row = 0; row < WeeklyGrid::RowCount; ++row) {
        QVector<ExportCell> cells{ExportCell::ofText(captions.value(row))};
        for (int c = 0; c < WeeklyGrid::ColumnCount; ++c) {
            if (!covered[c / 2]) {
                cells << ExportCell::empty();
                continue;
            }
            // An average of nothing, or a total of 0 under "##", shows no text: no vehicles.
            const QString text = g.cell(c, row).trimmed();
            cells << (text.isEmpty() ? ExportCell::ofNumber(0) : countCell(text));
        }
        t.addRow(cells, row == WeeklyGrid::TotalsRow);
    }
    // The combined figure in the pair's A column; the split "68.2 | 31.8" as its two shares.
    QVector<ExportCell> combined{ExportCell::ofText(QString::fromLatin1(WeeklyCombinedCaption))};
    QVector<ExportCell> split{ExportCell::ofText(QString::fromLatin1(WeeklySplitCaption))};
    for (int p = 0; p < 9; ++p) {
        const QString sum = g.combined.value(p).trimmed();
        combined << (covered[p] ? countCell(sum) : ExportCell::empty()) << ExportCell::empty();
        const QStringList shares = g.split.value(p).split(QLatin1Char('|'));
        if (covered[p] && shares.size() == 2) {
            split << figureCell(shares.at(0), QStringLiteral("0.0"))
                  << figureCell(shares.at(1), QStringLiteral("0.0"));
        } else {
            split << ExportCell::empty() << ExportCell::empty();
        }
    }
    t.addRow(combined, true);
    t.addRow(split, true);
    return t;
}

} // namespace roadtally

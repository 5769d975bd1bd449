#include "core/analysis/WeeklyGrid.h"

#include "core/analysis/SurveyCaptions.h"
#include "core/text/TextPatterns.h"

#include <QDate>
#include <QDateTime>
#include <QHash>

namespace roadtally {

namespace {

constexpr int Hours = 24;
constexpr int WeekdayAverage = 14; // WDAA; WDAR is 15
constexpr int WeekendAverage = 16; // WKAA; WKAR is 17

const char *const DayNames[7] = {"Mon-", "Tue-", "Wed-", "Thu-", "Fri-", "Sat-", "Sun-"};

// A cell the averages count: its text is a number ("*" and "" are not).
bool isNumberText(const QString &text, double &value)
{
    bool ok = false;
    value = text.trimmed().toDouble(&ok);
    return ok;
}

// Combined and split cells of a column pair from its two totals: the split is
// written only when the combined total is above 0, otherwise it keeps its text.
void combine(WeeklyGrid &grid, int pairIndex, double a, double r)
{
    const double sum = a + r;
    grid.combined[pairIndex] = plainNumber(sum);
    if (sum > 0)
        grid.split[pairIndex] = formatNumber(a / sum * 100.0, QStringLiteral("##.#")) +
                                QStringLiteral(" | ") +
                                formatNumber(r / sum * 100.0, QStringLiteral("##.#"));
}

// The hour averages of one direction over a group of day columns.
void average(WeeklyGrid &grid, int target, std::initializer_list<int> dayColumns)
{
    for (int row = 0; row < Hours; ++row) {
        double sum = 0;
        int count = 0;
        for (int column : dayColumns) {
            double v = 0;
            if (isNumberText(grid.cell(column, row), v)) {
                sum += v;
                ++count;
            }
        }
        if (count > 0)
            grid.cell(target, row) = formatNumber(sum / count, QStringLiteral("##"));
    }
    double total = 0;
    for (int row = 0; row < Hours; ++row)
        total += numericValue(grid.cell(target, row));
    grid.cell(target, WeeklyGrid::TotalsRow) = formatNumber(total, QStringLiteral("##"));
}

QString unchanged(const QString &why)
{
    return why + QStringLiteral(" The weekly grid is left as it was.");
}

} // namespace

WeeklyGrid WeeklyGrid::designState()
{
    WeeklyGrid grid;
    grid.columns = QVector<QStringList>(ColumnCount,
                                        QStringList(QList<QString>(RowCount, QStringLiteral("*"))));
    grid.combined = QStringList(QList<QString>(9, QStringLiteral("Com")));
    grid.split = QStringList(QList<QString>(9, QStringLiteral("%")));
    for (int k = 0; k < 7; ++k)
        grid.headers << QString::fromLatin1(DayNames[k]) + QString::number(k + 1);
    return grid;
}

const QStringList &weeklyColumnNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (int day = 1; day <= 7; ++day)
            n << QStringLiteral("Day%1A").arg(day) << QStringLiteral("Day%1R").arg(day);
        n << QStringLiteral("WDAA") << QStringLiteral("WDAR") << QStringLiteral("WKAA")
          << QStringLiteral("WKAR");
        return n;
    }();
    return names;
}

const QStringList &weeklyRowCaptions()
{
    static const QStringList captions = [] {
        QStringList c;
        for (const char *noon : {"12:AM", "12:PM"}) {
            c << QString::fromLatin1(noon);
            for (int h = 1; h <= 11; ++h)
                c << QStringLiteral("%1:00").arg(h);
        }
        c << QStringLiteral("Totals");
        return c;
    }();
    return captions;
}

void clearWeekData(WeeklyGrid &grid)
{
    const QStringList headers = grid.headers;
    grid = WeeklyGrid::designState();
    grid.combined = QStringList(QList<QString>(9, QStringLiteral("*")));
    grid.split = QStringList(QList<QString>(9, QStringLiteral("*")));
    if (headers.size() == 7)
        grid.headers = headers;
}

void weeklyTotals(WeeklyGrid &grid)
{
    for (int column = 0; column < 14; ++column) {
        double total = 0;
        for (int row = 0; row < Hours; ++row)
            total += numericValue(grid.cell(column, row));
        grid.cell(column, WeeklyGrid::TotalsRow) = plainNumber(total);
    }
    for (int day = 0; day < 7; ++day)
        combine(grid, day, numericValue(grid.cell(2 * day, WeeklyGrid::TotalsRow)),
                numericValue(grid.cell(2 * day + 1, WeeklyGrid::TotalsRow)));
    average(grid, WeekdayAverage, {0, 2, 4, 6, 8});
    average(grid, WeekdayAverage + 1, {1, 3, 5, 7, 9});
    average(grid, WeekendAverage, {10, 12});
    average(grid, WeekendAverage + 1, {11, 13});
    combine(grid, 7, numericValue(grid.cell(WeekdayAverage, WeeklyGrid::TotalsRow)),
            numericValue(grid.cell(WeekdayAverage + 1, WeeklyGrid::TotalsRow)));
    combine(grid, 8, numericValue(grid.cell(WeekendAverage, WeeklyGrid::TotalsRow)),
            numericValue(grid.cell(WeekendAverage + 1, WeeklyGrid::TotalsRow)));
}

WeeklyResult computeWeeklyGrid(DatabaseSession &session, const WeeklyInput &input)
{
    WeeklyResult result;
    result.grid = input.previous;
    if (result.grid.columns.size() != WeeklyGrid::ColumnCount)
        result.grid = WeeklyGrid::designState();

    const QString batch = input.batch.trimmed();
    if (batch.isEmpty()) {
        result.message = unchanged(QStringLiteral(
            "No survey is shown: open a survey first, then calculate the weekly totals."));
        return result;
    }
    const QDate first = parseDate(input.startDate.trimmed());
    if (!first.isValid()) {
        result.message = unchanged(
            QStringLiteral(
                "The survey %1 has no start date, so its weekly totals cannot be calculated.")
                .arg(batch));
        return result;
    }
    QDate last = parseDate(input.stopDate.trimmed());
    // A two-digit year that runs into a new century reads as the century before.
    while (last.isValid() && last < first && last.year() < 9900)
        last = last.addYears(100);
    if (!last.isValid()) {
        result.message = unchanged(
            QStringLiteral(
                "The survey %1 has no end date, so its weekly totals cannot be calculated.")
                .arg(batch));
        return result;
    }

    // The hour rows of the survey, per date, in time order (one query for all dates).
    session.requireOpen();
    QSqlQuery q = session.exec(
        QStringLiteral("SELECT [Date], [tHourAMApp], [tHourPMApp], [tHourAMRec], [tHourPMRec] "
                       "FROM [Time_15] WHERE [tHourAMApp] IS NOT NULL AND [Batch_Number] = ? "
                       "ORDER BY [TimeAM]"),
        {input.batch});
    struct HourRow
    {
        QString amApp, pmApp, amRec, pmRec;
    };
    QHash<qint64, QVector<HourRow>> byDay;
    while (q.next()) {
        const QDate d = parseDate(q.value(0).toString());
        if (!d.isValid())
            continue;
        byDay[d.toJulianDay()].append({q.value(1).toString(), q.value(2).toString(),
                                       q.value(3).toString(), q.value(4).toString()});
    }
    q.finish();

    // Every date needs its twelve hour rows before any cell changes.
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        if (byDay.value(d.toJulianDay()).size() < 12) {
            result.message = unchanged(
                QStringLiteral("The survey %1 has no hourly volumes for %2, so its weekly totals "
                               "cannot be calculated.")
                    .arg(batch, formatDate(d, QStringLiteral("mm/dd/yy"))));
            return result;
        }
    }

    // When the survey ran: from its start time on the first date to its stop
    // time on the last; without a time, the whole day.
    const QTime startTime = parseTime(input.startTime.trimmed());
    const QTime stopTime = parseTime(input.stopTime.trimmed());
    const QDateTime runFrom(first, startTime.isValid() ? startTime : QTime(0, 0));
    const QDateTime runTo(last, stopTime.isValid() ? stopTime : QTime(23, 59, 59, 999));
    auto running = [&](const QDate &d, int hour) {
        const QDateTime from(d, QTime(hour, 0));
        return from.addSecs(3600) > runFrom && from <= runTo;
    };

    WeeklyGrid &grid = result.grid;
    // The date whose values each hour of each weekday shows (Day1 is Monday
    // ... Day7 Sunday).
    QDate shown[7][Hours];
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        const QVector<HourRow> &rows = byDay[d.toJulianDay()];
        const int day = d.dayOfWeek() - 1;
        const bool firstOfWeekday = !shown[day][0].isValid();
        const int a = 2 * day, r = a + 1;
        for (int hour = 0; hour < Hours; ++hour) {
            if (!firstOfWeekday && !running(d, hour))
                continue;
            const HourRow &row = rows.at(hour % 12);
            grid.cell(a, hour) = hour < 12 ? row.amApp : row.pmApp;
            grid.cell(r, hour) = hour < 12 ? row.amRec : row.pmRec;
            shown[day][hour] = d;
        }
    }
    // Headers: the week from the Monday on or before the start (the Monday
    // after it for a Sunday start), as start + (k + 1 - weekday) days with
    // Sunday counted 1; a surveyed weekday names its dates that still show.
    const int w0 = first.dayOfWeek() % 7 + 1;
    grid.headers.clear();
    auto dayOfMonth = [](const QDate &d) {
        return QStringLiteral("%1").arg(d.day(), 2, 10, QLatin1Char('0'));
    };
    for (int k = 1; k <= 7; ++k) {
        QStringList days;
        QDate previous;
        for (QDate d = first; d <= last; d = d.addDays(1)) {
            if (d.dayOfWeek() != k || d == previous)
                continue;
            for (int hour = 0; hour < Hours; ++hour)
                if (shown[k - 1][hour] == d && running(d, hour)) {
                    days << dayOfMonth(d);
                    previous = d;
                    break;
                }
        }
        if (days.isEmpty())
            days << dayOfMonth(first.addDays(k + 1 - w0));
        grid.headers << QString::fromLatin1(DayNames[k - 1]) + days.join(QLatin1Char('/'));
    }
    weeklyTotals(grid);
    return result;
}

WeeklyInput weeklyInputOf(const SurveyCaptions &survey, const WeeklyGrid &previous)
{
    WeeklyInput input;
    input.batch = survey.batch();
    input.startDate = survey.startDate();
    input.stopDate = survey.stopDate();
    input.previous = previous;
    input.startTime = survey.startTime();
    input.stopTime = survey.stopTime();
    return input;
}

QString weeklyRepeatNote()
{
    return QStringLiteral("A weekday surveyed twice shows the later date in the hours both cover.");
}

WeeklyResult weeklyGridOfSurvey(DatabaseSession &session, const QString &batch)
{
    WeeklyGrid grid = WeeklyGrid::designState();
    clearWeekData(grid);
    const std::optional<SurveyCaptions> survey = readSurveyCaptions(session, batch);
    if (!survey)
        return {unchanged(QStringLiteral("There is no survey %1.").arg(batch.trimmed())), grid};
    return computeWeeklyGrid(session, weeklyInputOf(*survey, grid));
}

} // namespace roadtally

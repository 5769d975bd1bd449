#include "core/stats/Statistics.h"

#include "core/store/RowWriter.h"
#include "core/text/TextPatterns.h"

#include <vector>

namespace roadtally {

namespace {

constexpr int BlockSeconds = 15 * 60;
constexpr int BlocksPerDay = 96;
constexpr int RowsPerDay = BlocksPerDay / 2;

// "hh:mm - hh:mm" for the block starting at the given minute of the day; the
// end of the last block of the day is 00:00.
QString blockLabel(int startMinute)
{
    const int endMinute = (startMinute + 15) % (24 * 60);
    return QStringLiteral("%1:%2 - %3:%4")
        .arg(startMinute / 60, 2, 10, QLatin1Char('0'))
        .arg(startMinute % 60, 2, 10, QLatin1Char('0'))
        .arg(endMinute / 60, 2, 10, QLatin1Char('0'))
        .arg(endMinute % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QVector<Time15Row> computeTime15(const Vehicles &vehicles, const QDate &first, const QDate &last)
{
    if (!first.isValid() || !last.isValid() || last < first)
        return {};
    const qint64 firstDay = first.toJulianDay();
    const qint64 dayCount = last.toJulianDay() - firstDay + 1;

    // counts[(day * 96 + block) * 2 + direction], direction 0 "+", 1 "-". Blocks are
    // [start, start + 15 min), so a vehicle on a boundary counts once, in the later block.
    std::vector<int> counts(size_t(dayCount) * BlocksPerDay * 2, 0);
    for (const Vehicle &v : vehicles) {
        int direction;
        if (v.direction == '+')
            direction = 0;
        else if (v.direction == '-')
            direction = 1;
        else
            continue;
        if (!v.date.isValid() || v.secondOfDay < 0 || v.secondOfDay >= 24 * 3600)
            continue;
        const qint64 day = v.date.toJulianDay() - firstDay;
        if (day < 0 || day >= dayCount)
            continue;
        ++counts[(size_t(day) * BlocksPerDay + size_t(v.secondOfDay / BlockSeconds)) * 2 +
                 size_t(direction)];
    }

    QVector<Time15Row> rows;
    rows.reserve(qsizetype(dayCount) * RowsPerDay);
    for (qint64 day = 0; day < dayCount; ++day) {
        const QDate date = first.addDays(day);
        const int *c = counts.data() + size_t(day) * BlocksPerDay * 2;
        int hourAmApp = 0, hourAmRec = 0, hourPmApp = 0, hourPmRec = 0;
        for (int r = 0; r < RowsPerDay; ++r) {
            const int am = r, pm = r + RowsPerDay;
            Time15Row row;
            row.date = date;
            row.quarter = r;
            row.amApp = c[am * 2];
            row.amRec = c[am * 2 + 1];
            row.pmApp = c[pm * 2];
            row.pmRec = c[pm * 2 + 1];
            hourAmApp += row.amApp;
            hourAmRec += row.amRec;
            hourPmApp += row.pmApp;
            hourPmRec += row.pmRec;
            if (r % 4 == 3) { // the row that ends a full hour carries the hour totals
                row.hourRow = true;
                row.hourAMApp = hourAmApp;
                row.hourAMRec = hourAmRec;
                row.hourPMApp = hourPmApp;
                row.hourPMRec = hourPmRec;
                hourAmApp = hourAmRec = hourPmApp = hourPmRec = 0;
            }
            rows.append(row);
        }
    }
    return rows;
}

QString Time15Row::dateText() const
{
    return formatDate(date, QStringLiteral("mm/dd/yy"));
}

QString Time15Row::timeAM() const
{
    return blockLabel(quarter * 15);
}

QString Time15Row::timePM() const
{
    return blockLabel((quarter + RowsPerDay) * 15);
}

void storeTime15(DatabaseSession &session, const QString &batchNumber,
                 const QVector<Time15Row> &rows)
{
    if (rows.isEmpty())
        return;
    RowWriter insert(session,
                     "INSERT INTO [Time_15] ([Batch_Number], [Date], [TimeAM], [AMApp], [AMRec], "
                     "[tHourAMApp], [tHourAMRec], [AMHourTotal], [TimePM], [PMApp], [PMRec], "
                     "[tHourPMApp], [tHourPMRec], [PMHourTotal])",
                     14);
    insert.text(1, batchNumber);
    QStringList amLabels, pmLabels;
    for (int r = 0; r < RowsPerDay; ++r) {
        amLabels << blockLabel(r * 15);
        pmLabels << blockLabel((r + RowsPerDay) * 15);
    }
    QDate lastDate;
    for (const Time15Row &row : rows) {
        if (row.date != lastDate || !lastDate.isValid()) {
            lastDate = row.date;
            insert.text(2, row.dateText());
        }
        insert.text(3, amLabels.at(row.quarter));
        insert.text(4, row.amAppText());
        insert.text(5, row.amRecText());
        insert.text(6, row.tHourAMApp());
        insert.text(7, row.tHourAMRec());
        insert.text(8, row.amHourTotal());
        insert.text(9, pmLabels.at(row.quarter));
        insert.text(10, row.pmAppText());
        insert.text(11, row.pmRecText());
        insert.text(12, row.tHourPMApp());
        insert.text(13, row.tHourPMRec());
        insert.text(14, row.pmHourTotal());
        insert.insert();
    }
    insert.finish();
}

void Time15min(DatabaseSession &session, const Vehicles &vehicles, const StatsInput &input,
               const SurveyPeriod &period)
{
    // The period's dates carry two-digit years. The first date is the start date,
    // whose full year the window has; the last is the first date on or after it
    // that reads the same, so a survey that runs into a new century keeps its dates.
    QDate first = parseDate(period.startDate);
    const QDate start = parseDate(input.startDate);
    if (start.isValid() && formatDate(start, QStringLiteral("mm/dd/yy")) == period.startDate)
        first = start;
    QDate last = parseDate(period.endDate);
    if (first.isValid() && last.isValid()) {
        const int yy = last.year() % 100;
        for (int century = first.year() / 100 * 100; last < first && century < 10000;
             century += 100) {
            const QDate candidate(century + yy, last.month(), last.day());
            if (candidate.isValid() && candidate >= first)
                last = candidate;
        }
    }
    storeTime15(session, input.batchNumber, computeTime15(vehicles, first, last));
}

} // namespace roadtally

#include "core/stats/Statistics.h"

#include "core/store/RowWriter.h"

#include <algorithm>

namespace roadtally {

namespace {

struct SpeedRange
{
    int first = 0; // lowest per-speed row; the row below it collects every slower vehicle
    int last = 0;  // highest per-speed row; the row above it collects every faster vehicle
};

std::optional<SpeedRange> rangeOf(const QString &unit)
{
    if (unit == QLatin1String("MPH"))
        return SpeedRange{15, 72};
    if (unit == QLatin1String("KPH"))
        return SpeedRange{30, 120};
    return std::nullopt;
}

} // namespace

QVector<SpeedRow> computeSpeedRows(const Vehicles &vehicles, const QString &unit)
{
    const std::optional<SpeedRange> range = rangeOf(unit);
    if (!range)
        return {};

    // Row i holds the speed first - 1 + i; slower and faster speeds fold into the ends.
    const int low = range->first - 1;
    const int high = range->last + 1;
    QVector<SpeedRow> rows(high - low + 1);
    for (int i = 0; i < rows.size(); ++i)
        rows[i].speed = low + i;
    for (const Vehicle &v : vehicles) {
        SpeedRow &row = rows[std::clamp(v.speed, low, high) - low];
        ++row.allTotal;
        if (v.direction == '+')
            ++row.allApp;
        else if (v.direction == '-')
            ++row.allRec;
    }
    return rows;
}

void storeSpeedRows(DatabaseSession &session, const QString &batchNumber,
                    const QVector<SpeedRow> &rows)
{
    if (rows.isEmpty())
        return;
    RowWriter insert(session,
                     "INSERT INTO [Speed] ([batch_number], [speed], [all_total], [All_app], "
                     "[all_rec])",
                     5);
    insert.text(1, batchNumber);
    for (const SpeedRow &row : rows) {
        insert.integer(2, row.speed);
        insert.integer(3, row.allTotal);
        insert.integer(4, row.allApp);
        insert.integer(5, row.allRec);
        insert.insert();
    }
    insert.finish();
}

void SpeedTable(DatabaseSession &session, const Vehicles &vehicles, const StatsInput &input)
{
    storeSpeedRows(session, input.batchNumber, computeSpeedRows(vehicles, input.unit));
}

} // namespace roadtally

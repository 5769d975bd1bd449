#include "core/stats/Statistics.h"

#include "core/store/RowWriter.h"
#include "core/text/TextPatterns.h"

#include <QTime>

#include <algorithm>
#include <array>
#include <cmath>

namespace roadtally {

namespace {

// Speeds of the accepted records are three-digit fields; a histogram over that
// range gives the pace count without a second pass. Anything outside it (only
// possible for vehicles not made by the import) is counted on the side.
constexpr int HistogramSize = 1000;

struct SetTally
{
    int count = 0;
    int under = 0;
    int over10 = 0;
    int over20 = 0;
    int over30 = 0;
    qint64 speedSum = 0;
    std::array<int, HistogramSize> histogram{};
    QVector<int> outliers;

    void add(int speed, qint64 limit)
    {
        ++count;
        speedSum += speed;
        if (speed <= limit)
            ++under;
        else if (speed <= limit + 10)
            ++over10;
        else if (speed <= limit + 20)
            ++over20;
        else
            ++over30;
        if (speed >= 0 && speed < HistogramSize)
            ++histogram[speed];
        else
            outliers.append(speed);
    }

    int countBetween(double lo, double hi) const
    {
        int n = 0;
        const double first = std::max(lo, 0.0);
        const double last = std::min(hi, double(HistogramSize - 1));
        for (int s = int(std::ceil(first)); s <= last; ++s)
            n += histogram[s];
        for (int s : outliers)
            if (lo <= s && s <= hi)
                ++n;
        return n;
    }
};

// Mean, percentile text, pace window and pace share of one set; the 85th
// percentile follows once all three sets are done.
SetFigures figuresOf(const SetTally &t, const QString &unit)
{
    SetFigures f;
    f.count = t.count;
    f.under = t.under;
    f.over10 = t.over10;
    f.over20 = t.over20;
    f.over30 = t.over30;
    f.over = t.over10 + t.over20 + t.over30;
    if (t.count == 0)
        return f; // no mean: percentile and pace unset, pace count 0

    const double m = double(t.speedSum) / double(t.count);
    f.mean = m;
    if (m != 0.0)
        f.percentile50 = formatNumber(m, QStringLiteral("###.0"));

    // The window starts below the unrounded mean. Its high end is the low end's
    // text read as a number plus the width; a low end that rounds to 0 writes
    // no digits, so the window of a mean near 5 (10) reads " to 10" (" to 20").
    double below = 0, width = 0;
    if (unit == QLatin1String("MPH")) {
        below = 5;
        width = 10;
    } else if (unit == QLatin1String("KPH")) {
        below = 10;
        width = 20;
    } else {
        return f; // no window for another unit: pace unset, pace count 0
    }
    const QString loText = formatNumber(m - below, QStringLiteral("###"));
    const double lo = numericValue(loText);
    const QString hiText = formatNumber(lo + width, QStringLiteral("###"));
    const double hi = numericValue(hiText);
    f.pace = loText + QStringLiteral(" to ") + hiText;
    f.paceTotal = t.countBetween(lo, hi);
    f.pacePercent =
        formatNumber(double(f.paceTotal) / double(t.count) * 100.0, QStringLiteral("##")) +
        QStringLiteral(" %");
    return f;
}

// Empty text (never NULL) when the percentile is unset or rounds to 0.
QString eightyFifth(const std::optional<QString> &percentile50)
{
    return formatNumber(1.175 * numericValue(percentile50.value_or(QString())),
                        QStringLiteral("##"));
}

} // namespace

SummaryRow computeSummary(const Vehicles &vehicles, const StatsInput &input)
{
    const qint64 limit = roundHalfEven(numericValue(input.postedSpeed));

    SetTally all, app, rec;
    int unknown = 0;
    int maxSpeed = 0;
    qint64 maxOffset = 0;
    for (const Vehicle &v : vehicles) {
        all.add(v.speed, limit);
        if (v.direction == '+')
            app.add(v.speed, limit);
        else if (v.direction == '-')
            rec.add(v.speed, limit);
        else if (v.direction == '?')
            ++unknown;
        if (all.count == 1 || v.speed > maxSpeed)
            maxSpeed = v.speed;
        if (all.count == 1 || v.offset > maxOffset)
            maxOffset = v.offset;
    }

    SummaryRow row;
    row.batchNumber = input.batchNumber;
    row.postedLimit = input.postedSpeed;
    row.totalUnknown = unknown;
    row.all = figuresOf(all, input.unit);
    row.approach = figuresOf(app, input.unit);
    row.receding = figuresOf(rec, input.unit);
    row.all.percentile85 = eightyFifth(row.all.percentile50);
    row.approach.percentile85 = eightyFifth(row.approach.percentile50);
    row.receding.percentile85 = eightyFifth(row.receding.percentile50);
    if (!vehicles.isEmpty()) {
        row.maxSpeed = maxSpeed;
        row.totalSeconds = maxOffset;
    }

    // Elapsed time from the highest offset; an empty survey has lasted no time.
    const qint64 s = vehicles.isEmpty() ? 0 : maxOffset;
    qint64 days = (s / 3600) / 24;
    const qint64 hours = (s / 3600) % 24;
    const qint64 minutes = (s / 60) % 60;
    row.totalTime = QStringLiteral("%1 Days, %2 Hrs, %3 Min")
                        .arg(days)
                        .arg(hours)
                        .arg(minutes, 2, 10, QLatin1Char('0'));

    const int startHour = input.startTime.mid(0, 2).toInt();
    const int startMinute = input.startTime.mid(3, 2).toInt();
    qint64 stopHour = startHour + hours;
    qint64 stopMinute = startMinute + minutes;
    if (stopMinute > 59) {
        stopMinute -= 60;
        stopHour += 1;
    }
    if (stopHour >= 24) {
        stopHour -= 24;
        days += 1; // the stop date carries the day; Total_Time above does not
    }
    const QDate startDate = parseDate(input.startDate);
    row.startTime = formatTime(QTime(startHour, startMinute), QStringLiteral("hh:mm AMPM"));
    row.stopTime = formatTime(QTime(int(stopHour), int(stopMinute)), QStringLiteral("hh:mm AMPM"));
    row.startDate = formatDate(startDate, QStringLiteral("mm/dd/yy"));
    row.stopDate = formatDate(startDate.addDays(days), QStringLiteral("mm/dd/yy"));
    return row;
}

void storeSummary(DatabaseSession &session, const SummaryRow &row)
{
    RowWriter insert(
        session,
        "INSERT INTO [Summary] ([Batch_Number], [Posted_Limit], [Total_Vehicles], "
        "[Total_Approach], [Total_Receeding], [Total_Unknown], [Number_Under], [Number_UnderA], "
        "[Number_UnderR], [Number_Over], [Number_Over10], [Number_Over20], [Number_Over30], "
        "[Number_OverA], [Number_OverA10], [Number_OverA20], [Number_OverA30], [Number_OverR], "
        "[Number_OverR10], [Number_OverR20], [Number_OverR30], [Max_Speed], "
        "[50th_Percentile], [Pace], [Pace_Total], [Pace_Percent], "
        "[50th_PercentileA], [PaceA], [Pace_TotalA], [Pace_PercentA], "
        "[50th_PercentileR], [PaceR], [Pace_TotalR], [Pace_PercentR], "
        "[85th_Percentile], [85th_PercentileA], [85th_PercentileR], [total_seconds], "
        "[Total_Time], [Start_Time], [Stop_Time], [Start_Date], [Stop_Date])",
        43);
    int p = 0;
    insert.text(++p, row.batchNumber);
    insert.text(++p, row.postedLimit);
    const SetFigures *sets[] = {&row.all, &row.approach, &row.receding};
    for (const SetFigures *set : sets)
        insert.integer(++p, set->count);
    insert.integer(++p, row.totalUnknown);
    for (const SetFigures *set : sets)
        insert.integer(++p, set->under);
    for (const SetFigures *set : sets) {
        insert.integer(++p, set->over);
        insert.integer(++p, set->over10);
        insert.integer(++p, set->over20);
        insert.integer(++p, set->over30);
    }
    if (row.maxSpeed)
        insert.integer(++p, *row.maxSpeed);
    else
        insert.null(++p);
    for (const SetFigures *set : sets) {
        insert.text(++p, set->percentile50);
        insert.text(++p, set->pace);
        insert.integer(++p, set->paceTotal);
        insert.text(++p, set->pacePercent);
    }
    for (const SetFigures *set : sets)
        insert.text(++p, set->percentile85);
    if (row.totalSeconds)
        insert.integer(++p, *row.totalSeconds);
    else
        insert.null(++p);
    insert.text(++p, row.totalTime);
    insert.text(++p, row.startTime);
    insert.text(++p, row.stopTime);
    insert.text(++p, row.startDate);
    insert.text(++p, row.stopDate);
    Q_ASSERT(p == 43);
    insert.insert();
    insert.finish();
}

SurveyPeriod Summary2(DatabaseSession &session, const Vehicles &vehicles, const StatsInput &input)
{
    const SummaryRow row = computeSummary(vehicles, input);
    storeSummary(session, row);
    return row.period();
}

} // namespace roadtally

#include "core/analysis/SpeedStudy.h"

#include "core/analysis/SurveyCriteria.h"
#include "core/text/TextPatterns.h"

#include <algorithm>
#include <cmath>

namespace roadtally {

namespace {

const QString NotAvailable = QStringLiteral("N/A");

StudyValue numberValue(double value, int decimals)
{
    const double rounded = roundHalfAway(value, decimals);
    StudyValue v;
    // -0.0 would print as "-0.0"
    v.number = rounded == 0.0 ? 0.0 : rounded;
    v.exact = value;
    v.text = QString::number(*v.number, 'f', decimals);
    return v;
}

StudyValue wholeValue(qint64 value)
{
    StudyValue v;
    v.number = double(value);
    v.exact = v.number;
    v.text = QString::number(value);
    return v;
}

StudyValue textValue(const QString &text)
{
    StudyValue v;
    v.text = text;
    return v;
}

// A stored figure: its number when the text is one ("34.1", "40"), else the text.
StudyValue storedValue(const QString &stored)
{
    const QString text = stored.trimmed();
    if (text.isEmpty())
        return {};
    bool ok = false;
    const double number = text.toDouble(&ok);
    StudyValue v;
    v.text = text;
    if (ok && std::isfinite(number))
        v.number = number;
    return v;
}

QString orNotAvailable(const QString &stored)
{
    const QString text = stored.trimmed();
    return text.isEmpty() ? NotAvailable : text;
}

// How a speed row reads: the row's speed, or its catch-all form.
StudyValue rowValue(int speed, const SpeedRowRange &rows)
{
    if (speed <= rows.lowest)
        return textValue(QStringLiteral("%1 or less").arg(rows.lowest));
    if (speed >= rows.highest)
        return textValue(QStringLiteral("%1 or more").arg(rows.highest));
    return wholeValue(speed);
}

QString vehiclesText(qint64 count)
{
    return count == 1 ? QStringLiteral("1 vehicle") : QStringLiteral("%1 vehicles").arg(count);
}

// The share of the vehicles above a threshold, or none when a catch-all row
// holding vehicles straddles it (the row's vehicles may lie either side).
std::optional<double> shareAbove(const SpeedStudy &s, int threshold)
{
    const qint64 low = s.counts.first();
    const qint64 high = s.counts.last();
    if (threshold >= s.highestRow && high > 0)
        return std::nullopt;
    if (threshold < s.lowestRow && low > 0)
        return std::nullopt;
    qint64 above = 0;
    for (int i = 0; i < s.counts.size(); ++i)
        if (s.lowestRow + i > threshold)
            above += s.counts.at(i);
    return double(above) / double(s.n) * 100.0;
}

void computePercentiles(SpeedStudy &s, const SpeedRowRange &rows)
{
    for (PercentileFigure &p : s.percentiles) {
        // The smallest row whose cumulative count reaches level% of N, in whole
        // numbers so that an exact 85 % is met exactly.
        qint64 before = 0;
        int i = 0;
        for (; i < s.counts.size(); ++i) {
            if ((before + s.counts.at(i)) * 100 >= qint64(p.level) * s.n)
                break;
            before += s.counts.at(i);
        }
        i = std::min(i, int(s.counts.size()) - 1);
        const int speed = s.lowestRow + i;
        p.row = speed;
        p.ranked = rowValue(speed, rows);
        // The charts take a catch-all row as a class one speed wide too, so the
        // mark sits on the curve; the figure itself is not given there.
        const double exact =
            double(speed) - 0.5 +
            (double(p.level) * double(s.n) / 100.0 - double(before)) / double(s.counts.at(i));
        p.at = exact;
        if (speed != rows.lowest && speed != rows.highest)
            p.interpolated = numberValue(exact, 1);
    }
}

void computeMeanAndSpread(SpeedStudy &s)
{
    double sum = 0;
    for (int i = 0; i < s.counts.size(); ++i)
        sum += double(s.lowestRow + i) * double(s.counts.at(i));
    const double mean = sum / double(s.n);
    s.mean = numberValue(mean, 1);
    if (s.n < 2)
        return;
    double squares = 0;
    for (int i = 0; i < s.counts.size(); ++i) {
        const double d = double(s.lowestRow + i) - mean;
        squares += double(s.counts.at(i)) * d * d;
    }
    const double sd = std::sqrt(squares / double(s.n - 1));
    s.sd = numberValue(sd, 1);

    // The sample from the unrounded deviation; the small allowance keeps a
    // product that is whole in decimal (1.96 x 5 / 1 = 9.8, squared 96.04) from
    // rounding up one more through binary noise.
    const double z = 1.96 * sd / s.marginOfError;
    const qint64 required = qint64(std::ceil(z * z - 1e-9));
    s.sampleRequired = wholeValue(required);
}

void computePace(SpeedStudy &s, int width)
{
    // Windows of whole speeds only: the catch-all rows hold speeds outside any window.
    const int first = 1;
    const int last = int(s.counts.size()) - 2;
    if (last - first + 1 < width)
        return;
    qint64 window = 0;
    for (int i = first; i < first + width; ++i)
        window += s.counts.at(i);
    qint64 best = window;
    int bestStart = first;
    for (int start = first + 1; start + width - 1 <= last; ++start) {
        window += s.counts.at(start + width - 1) - s.counts.at(start - 1);
        if (window > best) { // strictly more: the lowest start wins a tie
            best = window;
            bestStart = start;
        }
    }
    if (best == 0)
        return;
    const int low = s.lowestRow + bestStart;
    s.paceLow = wholeValue(low);
    s.paceHigh = wholeValue(low + width - 1);
    s.paceText = QStringLiteral("%1 to %2").arg(low).arg(low + width - 1);
    s.paceCount = wholeValue(best);
    s.pacePercent = numberValue(double(best) / double(s.n) * 100.0, 1);
}

void computeModal(SpeedStudy &s, const SpeedRowRange &rows)
{
    int best = 0;
    for (int i = 1; i < s.counts.size(); ++i)
        if (s.counts.at(i) > s.counts.at(best))
            best = i;
    s.modal = rowValue(s.lowestRow + best, rows);
}

void computeOverLimit(SpeedStudy &s)
{
    if (!s.limit) {
        s.notes << QStringLiteral("The survey has no posted limit: no shares over the limit.");
        return;
    }
    const int limit = *s.limit;
    StudyValue *shares[3] = {&s.overLimitPercent, &s.over5Percent, &s.over10Percent};
    QStringList unknown;
    for (int k = 0; k < 3; ++k) {
        const int threshold = limit + 5 * k;
        if (const std::optional<double> share = shareAbove(s, threshold))
            *shares[k] = numberValue(*share, 1);
        else
            unknown << QString::number(threshold);
    }
    if (!unknown.isEmpty())
        s.notes << QStringLiteral("The share over %1 %2 cannot be given: the vehicles at %3 %2 "
                                  "or more are counted together.")
                       .arg(unknown.join(QStringLiteral(" and ")), s.unitText)
                       .arg(s.highestRow);

    const PercentileFigure &p85 = s.percentile(85);
    if (!p85.row)
        return;
    const int difference = *p85.row - limit;
    if (*p85.row == s.lowestRow)
        s.p85MinusLimit = textValue(QStringLiteral("%1 or less").arg(difference));
    else if (*p85.row == s.highestRow)
        s.p85MinusLimit = textValue(QStringLiteral("%1 or more").arg(difference));
    else
        s.p85MinusLimit = wholeValue(difference);
}

void computeSampleNote(SpeedStudy &s)
{
    const QString margin = QStringLiteral("%1 %2").arg(s.marginOfError).arg(s.unitText);
    if (!s.sampleRequired.isNumber()) {
        s.sampleAdequate = false;
        s.sampleAdequateText = QStringLiteral("No");
        s.notes << QStringLiteral("One vehicle gives no spread, so no sample size; a study "
                                  "needs at least 100 vehicles.");
        return;
    }
    const qint64 required = qint64(*s.sampleRequired.number);
    const bool enough = s.n >= required;
    s.sampleAdequate = enough && s.n >= 100;
    s.sampleAdequateText = *s.sampleAdequate ? QStringLiteral("Yes") : QStringLiteral("No");
    QString note = QStringLiteral("A mean within \u00b1%1 at 95 % confidence needs %2; ")
                       .arg(margin, vehiclesText(required));
    if (!enough)
        note += QStringLiteral("the %1 measured are too few.").arg(s.n);
    else if (s.n < 100)
        note +=
            QStringLiteral("the %1 measured reach it, but a study needs at least 100.").arg(s.n);
    else
        note += QStringLiteral("the %1 measured are enough.").arg(s.n);
    s.notes << note;
}

void computeAdt(SpeedStudy &s, const SpeedStudyInput &input)
{
    const QDate start = parseDate(input.startDate);
    const QDate stop = parseDate(input.stopDate);
    if (!start.isValid() || !stop.isValid()) {
        s.notes << QStringLiteral("The survey period is not known: no average daily traffic.");
        return;
    }
    QMap<QDate, qint64> days;
    for (const DailyTotal &day : input.dailyTotals)
        if (day.date > start && day.date < stop)
            days[day.date] += day.vehicles;
    if (days.isEmpty()) {
        s.notes << QStringLiteral("The survey has no complete day (a date between its start and "
                                  "stop dates): no average daily traffic.");
        return;
    }
    qint64 total = 0;
    for (qint64 v : std::as_const(days))
        total += v;
    s.completeDays = int(days.size());
    s.adt = numberValue(double(total) / double(days.size()), 0);
    if (s.direction == SurveyDirection::Both)
        s.notes << QStringLiteral("The average daily traffic counts the approaching and receding "
                                  "vehicles; the hourly totals leave out those of unknown "
                                  "direction.");
}

void catchAllNote(SpeedStudy &s)
{
    const qint64 low = s.counts.first();
    const qint64 high = s.counts.last();
    if (low == 0 && high == 0)
        return;
    QStringList parts;
    auto count = [](qint64 n) {
        return n == 1 ? QStringLiteral("counts") : QStringLiteral("count");
    };
    if (low > 0)
        parts << QStringLiteral("%1 at %2 %3 or less %4 as %2")
                     .arg(vehiclesText(low))
                     .arg(s.lowestRow)
                     .arg(s.unitText, count(low));
    if (high > 0)
        parts << QStringLiteral("%1 at %2 %3 or more %4 as %2")
                     .arg(vehiclesText(high))
                     .arg(s.highestRow)
                     .arg(s.unitText, count(high));
    s.notes << parts.join(QStringLiteral("; ")) + QStringLiteral(" in the mean and standard "
                                                                 "deviation; percentiles in "
                                                                 "these rows are not "
                                                                 "interpolated.");
}

} // namespace

std::optional<SpeedRowRange> speedRowRange(const QString &unit)
{
    if (unit == QLatin1String("MPH"))
        return SpeedRowRange{14, 73};
    if (unit == QLatin1String("KPH"))
        return SpeedRowRange{29, 121};
    return std::nullopt;
}

int paceWidth(const QString &unit)
{
    return unit == QLatin1String("KPH") ? 20 : 10;
}

const PercentileFigure &SpeedStudy::percentile(int level) const
{
    for (const PercentileFigure &p : percentiles)
        if (p.level == level)
            return p;
    return percentiles.front();
}

SpeedStudy computeSpeedStudy(const SpeedStudyInput &input)
{
    SpeedStudy s;
    s.batchNumber = input.batchNumber;
    s.location = input.location;
    s.direction = input.direction;
    s.unit = input.unit;
    s.postedLimit = input.postedLimit;
    s.startDate = input.startDate;
    s.stopDate = input.stopDate;
    const int levels[4] = {15, 50, 85, 95};
    for (int k = 0; k < 4; ++k)
        s.percentiles[k].level = levels[k];

    s.programMean = storedValue(input.program.mean);
    s.programP85 = storedValue(input.program.p85);
    s.programPace = orNotAvailable(input.program.pace);
    s.programPaceCount = storedValue(input.program.paceCount);
    s.programPacePercent = orNotAvailable(input.program.pacePercent);

    const double limitValue = numericValue(input.postedLimit);
    if (limitValue > 0)
        s.limit = int(roundHalfEven(limitValue));

    const std::optional<SpeedRowRange> rows = speedRowRange(input.unit);
    if (!rows) {
        s.vehicles = wholeValue(0);
        s.notes << QStringLiteral("The survey's unit \"%1\" is neither MPH nor KPH: it has no "
                                  "speed rows.")
                       .arg(input.unit);
        return s;
    }
    s.unitText =
        input.unit == QLatin1String("KPH") ? QStringLiteral("km/h") : QStringLiteral("mph");
    s.marginOfError = input.unit == QLatin1String("KPH") ? 2.0 : 1.0;
    s.lowestRow = rows->lowest;
    s.highestRow = rows->highest;
    s.counts = QVector<qint64>(rows->highest - rows->lowest + 1, 0);
    for (auto it = input.counts.cbegin(); it != input.counts.cend(); ++it)
        if (it.value() > 0)
            s.counts[std::clamp(it.key(), rows->lowest, rows->highest) - rows->lowest] +=
                it.value();
    for (qint64 c : std::as_const(s.counts))
        s.n += c;
    s.vehicles = wholeValue(s.n);

    if (s.n == 0) {
        s.notes << (s.direction == SurveyDirection::Both
                        ? QStringLiteral("No vehicles: no figures.")
                        : QStringLiteral("No %1 vehicles: no figures.")
                              .arg(directionName(s.direction)));
        return s;
    }

    computePercentiles(s, *rows);
    computeMeanAndSpread(s);
    computePace(s, paceWidth(input.unit));
    computeModal(s, *rows);
    catchAllNote(s);
    computeOverLimit(s);
    computeSampleNote(s);
    computeAdt(s, input);
    return s;
}

namespace {

// The hour-total fields of a direction, morning and afternoon.
QStringList hourTotalFields(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return {QStringLiteral("tHourAMApp"), QStringLiteral("tHourPMApp")};
    case SurveyDirection::Receding:
        return {QStringLiteral("tHourAMRec"), QStringLiteral("tHourPMRec")};
    case SurveyDirection::Both:
        break;
    }
    return {QStringLiteral("AMHourTotal"), QStringLiteral("PMHourTotal")};
}

QString fieldText(const QHash<QString, QVariant> &row, const QString &name)
{
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value().isNull() ? QString() : it.value().toString();
    return QString();
}

} // namespace

SpeedStudyInput loadSpeedStudyInput(DatabaseSession &session, const QString &batch,
                                    SurveyDirection direction)
{
    session.requireOpen();
    SpeedStudyInput in;
    in.batchNumber = batch.trimmed();
    in.direction = direction;

    QSqlQuery header = session.exec(
        QStringLiteral("SELECT [Radar_Mode], [Location] FROM [Header] WHERE [Batch_Number] = ?"),
        {batch});
    if (header.next()) {
        in.unit = header.value(0).toString().trimmed();
        in.location = header.value(1).toString();
    }
    header.finish();

    QSqlQuery speeds = session.exec(QStringLiteral("SELECT [speed], Sum([%1]) FROM [Speed] "
                                                   "WHERE [batch_number] = ? GROUP BY [speed]")
                                        .arg(speedColumn(direction)),
                                    {batch});
    int highestSpeed = 0;
    while (speeds.next()) {
        const int speed = speeds.value(0).toInt();
        highestSpeed = std::max(highestSpeed, speed);
        in.counts[speed] += speeds.value(1).toLongLong();
    }
    speeds.finish();
    // A header that names no unit: the Speed rows tell it by their highest row.
    if (!speedRowRange(in.unit)) {
        if (highestSpeed == 73)
            in.unit = QStringLiteral("MPH");
        else if (highestSpeed == 121)
            in.unit = QStringLiteral("KPH");
    }

    const QHash<QString, QVariant> summary = summaryRow(session, batch);
    const QString suffix = summarySuffix(direction);
    in.postedLimit = fieldText(summary, QStringLiteral("Posted_Limit"));
    in.startDate = fieldText(summary, QStringLiteral("Start_Date"));
    in.stopDate = fieldText(summary, QStringLiteral("Stop_Date"));
    in.program.mean = fieldText(summary, QStringLiteral("50th_Percentile") + suffix);
    in.program.p85 = fieldText(summary, QStringLiteral("85th_Percentile") + suffix);
    in.program.pace = fieldText(summary, QStringLiteral("Pace") + suffix);
    in.program.paceCount = fieldText(summary, QStringLiteral("Pace_Total") + suffix);
    in.program.pacePercent = fieldText(summary, QStringLiteral("Pace_Percent") + suffix);

    // Hour totals hold a number or "*" for none; the other rows leave them empty.
    const QStringList fields = hourTotalFields(direction);
    QSqlQuery hours = session.exec(
        QStringLiteral("SELECT [Date], [%1], [%2] FROM [Time_15] WHERE [Batch_Number] = ?")
            .arg(fields.at(0), fields.at(1)),
        {batch});
    QMap<QDate, qint64> days;
    while (hours.next()) {
        const QDate date = parseDate(hours.value(0).toString());
        if (!date.isValid())
            continue;
        days[date] += qint64(numericValue(hours.value(1).toString())) +
                      qint64(numericValue(hours.value(2).toString()));
    }
    hours.finish();
    for (auto it = days.cbegin(); it != days.cend(); ++it)
        in.dailyTotals.append({it.key(), it.value()});
    return in;
}

SpeedStudy loadSpeedStudy(DatabaseSession &session, const QString &batch, SurveyDirection direction)
{
    return computeSpeedStudy(loadSpeedStudyInput(session, batch, direction));
}

QString directionName(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("approaching");
    case SurveyDirection::Receding:
        return QStringLiteral("receding");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("both");
}

std::optional<SurveyDirection> directionFromName(const QString &name)
{
    const QString word = name.trimmed().toLower();
    for (SurveyDirection d :
         {SurveyDirection::Approaching, SurveyDirection::Receding, SurveyDirection::Both}) {
        const QString full = directionName(d);
        if (word == full || (word.size() == 1 && full.startsWith(word)))
            return d;
    }
    return std::nullopt;
}

} // namespace roadtally

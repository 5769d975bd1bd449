#include "SampleSurvey.h"

#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace roadtally {

namespace {

// The Mersenne Twister's output is fixed by the standard; the distributions on
// top of it are our own, so a seed gives the same file with every library.
class SampleRandom
{
public:
    explicit SampleRandom(quint32 seed) : m_engine(seed) {}

    // Uniform in (0, 1).
    double uniform() { return (double(m_engine()) + 0.5) / 4294967296.0; }
    // Uniform whole number in [low, high].
    int between(int low, int high)
    {
        return low + int(std::floor(uniform() * double(high - low + 1)));
    }
    double normal(double mean, double deviation)
    {
        const double u1 = uniform();
        const double u2 = uniform();
        return mean + deviation * std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }

private:
    std::mt19937 m_engine;
};

// Vehicles per hour of the day, relative: quiet nights, a morning and an evening
// rush on weekdays, a broad midday hump at weekends.
constexpr double WeekdayWeights[24] = {0.6, 0.4, 0.3, 0.3, 0.5, 1.3, 3.6, 7.2, 6.6, 4.6, 4.2, 4.6,
                                       5.2, 5.0, 5.2, 6.3, 7.6, 8.0, 6.0, 4.2, 3.2, 2.4, 1.6, 1.0};
constexpr double WeekendWeights[24] = {1.0, 0.8, 0.6, 0.4, 0.3, 0.5, 1.0, 1.8, 2.8, 3.8, 4.6, 5.2,
                                       5.4, 5.3, 5.1, 4.9, 4.6, 4.3, 3.8, 3.2, 2.6, 2.1, 1.6, 1.2};

QByteArray threeDigits(int value)
{
    return QByteArray::number(value).rightJustified(3, '0');
}

// A speed for a vehicle seen at the given hour: spread around the limit, a little
// slower in the rush hours, a little faster at night, with a few crawling and a
// few very fast vehicles.
int sampleSpeed(SampleRandom &random, int hour, const SampleOptions &options)
{
    const double scale = options.kph ? 1.6 : 1.0;
    const double limit = options.postedSpeed;
    const double pick = random.uniform();
    double speed;
    if (pick < 0.02) {
        speed = random.between(3, std::max(3, int(limit * 0.6)));
    } else if (pick < 0.035) {
        speed = limit + random.between(int(15 * scale), int(45 * scale));
    } else {
        double mean = limit + 2.0 * scale + options.speedShift;
        if ((hour >= 7 && hour <= 8) || (hour >= 16 && hour <= 17))
            mean -= 4.0 * scale;
        else if (hour >= 22 || hour <= 4)
            mean += 3.0 * scale;
        speed = std::round(random.normal(mean, 5.5 * scale));
    }
    return std::clamp(int(speed), 1, 199);
}

// Mostly inbound ("+") in the morning, outbound in the evening, a few unknown.
char sampleDirection(SampleRandom &random, int hour)
{
    const double pick = random.uniform();
    if (pick < 0.015)
        return '?';
    double approaching = 0.49;
    if (hour >= 6 && hour <= 9)
        approaching = 0.60;
    else if (hour >= 15 && hour <= 18)
        approaching = 0.40;
    return (pick - 0.015) / 0.985 < approaching ? '+' : '-';
}

} // namespace

QString checkSampleOptions(const SampleOptions &options)
{
    if (options.vehicles < 0)
        return QStringLiteral("the number of vehicles cannot be negative");
    if (options.days < 1 || options.days > 14)
        return QStringLiteral("a survey lasts 1 to 14 days");
    if (!options.startDate.isValid() || options.startDate.year() < 2000 ||
        options.startDate.year() > 2099)
        return QStringLiteral("the start date must lie in the years 2000 to 2099");
    if (!options.startTime.isValid())
        return QStringLiteral("the start time is not a time of day");
    if (options.postedSpeed < 1 || options.postedSpeed > 199)
        return QStringLiteral("the posted speed must lie between 1 and 199");
    if (options.locationCode.size() != 5 ||
        !std::all_of(options.locationCode.begin(), options.locationCode.end(),
                     [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
        return QStringLiteral("the location code must be five digits");
    if (options.recordsPerLine < 1)
        return QStringLiteral("a line holds at least one record");
    return {};
}

QByteArray sampleHeaderLine(const SampleOptions &options)
{
    const QDate &d = options.startDate;
    const int posted = options.postedSpeed;
    QByteArray line;
    line += "Location:," + options.locationCode.toLatin1();
    line += ",Setup Date:," + threeDigits(d.month()) + '-' + threeDigits(d.day()) + '-' +
            threeDigits(d.year() % 100);
    line += ",Setup Time:," + threeDigits(options.startTime.hour()) + ':' +
            threeDigits(options.startTime.minute());
    line += ",Violation Alert:," + threeDigits(posted);
    line += ",Blink Rate:,005,Blank Speed:," + threeDigits(std::min(posted + 15, 999));
    line += ",Alarm Speed:," + threeDigits(std::min(posted + 4, 999));
    line += ",Power Delay:,005,Direction:,+,Time Offset ,Direction ,Speed,";
    return line;
}

QByteArray sampleRecordText(const SampleRecord &record)
{
    QByteArray text = QByteArray::number(record.offset).rightJustified(10, '0');
    text += ',';
    text += record.direction;
    text += ',';
    text += threeDigits(record.speed);
    text += ',';
    return text;
}

double sampleHourWeight(int hour, int dayOfWeek)
{
    return dayOfWeek >= 6 ? WeekendWeights[hour] : WeekdayWeights[hour];
}

SampleSurvey generateSampleSurvey(const SampleOptions &options)
{
    SampleRandom random(options.seed);
    // Cumulative traffic weight of every minute of the survey.
    const int minutes = options.days * 1440;
    std::vector<double> cumulative(static_cast<size_t>(minutes));
    double total = 0;
    const int startMinute = options.startTime.hour() * 60 + options.startTime.minute();
    for (int m = 0; m < minutes; ++m) {
        const int clock = startMinute + m;
        const QDate day = options.startDate.addDays(clock / 1440);
        total += sampleHourWeight((clock % 1440) / 60, day.dayOfWeek());
        cumulative[size_t(m)] = total;
    }

    std::vector<qint64> offsets(static_cast<size_t>(options.vehicles));
    for (qint64 &offset : offsets) {
        const double at = random.uniform() * total;
        const auto minute =
            std::upper_bound(cumulative.begin(), cumulative.end(), at) - cumulative.begin();
        offset = qint64(std::min<qint64>(minute, minutes - 1)) * 60 + random.between(0, 59);
    }
    std::sort(offsets.begin(), offsets.end());

    SampleSurvey survey;
    survey.records.reserve(options.vehicles);
    for (qint64 offset : offsets) {
        const int hour = int(((startMinute * 60 + offset) % 86400) / 3600);
        SampleRecord record;
        record.offset = offset;
        record.direction = sampleDirection(random, hour);
        record.speed = sampleSpeed(random, hour, options);
        survey.records.append(record);
    }

    QByteArray &text = survey.text;
    text.reserve(qsizetype(options.vehicles) * 18 + 400);
    text += sampleHeaderLine(options);
    text += "\r\n";
    text += SampleHeaderEnd;
    text += "\r\n";
    int onLine = 0;
    for (const SampleRecord &record : std::as_const(survey.records)) {
        text += sampleRecordText(record);
        if (++onLine == options.recordsPerLine) {
            text += "\r\n";
            onLine = 0;
        }
    }
    if (onLine != 0)
        text += "\r\n";
    text += SampleTail;
    text += "\r\n";
    return survey;
}

QString writeSampleSurvey(const SampleSurvey &survey, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    if (file.write(survey.text) != survey.text.size() || !file.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return {};
}

} // namespace roadtally

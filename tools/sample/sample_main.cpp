// roadtally-sample: writes a realistic raw data file (.ovd) for trying the
// program, for tests and for timing the import.
#include "SampleSurvey.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cmath>
#include <cstdio>

using namespace roadtally;

namespace {

int fail(const QString &text, int code = 2)
{
    std::fprintf(stderr, "roadtally-sample: %s\n", qPrintable(text));
    return code;
}

bool readWhole(const QString &text, qint64 low, qint64 high, qint64 &value)
{
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok && value >= low && value <= high;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("roadtally-sample"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes a raw radar data file as the trailer's logger does: the fixed-position header,\n"
        "one record per vehicle (offset, direction, speed) with CR LF line breaks, traffic\n"
        "that follows the time of day and speeds spread around the posted limit."));
    parser.addHelpOption();
    const QCommandLineOption vehicles(QStringLiteral("vehicles"),
                                      QStringLiteral("Number of vehicles (default 3000)."),
                                      QStringLiteral("N"), QStringLiteral("3000"));
    const QCommandLineOption days(QStringLiteral("days"),
                                  QStringLiteral("Survey length in days, 1 to 14 (default 1)."),
                                  QStringLiteral("D"), QStringLiteral("1"));
    const QCommandLineOption start(QStringLiteral("start"),
                                   QStringLiteral("Setup date (default 05/24/2025)."),
                                   QStringLiteral("mm/dd/yyyy"), QStringLiteral("05/24/2025"));
    const QCommandLineOption time(QStringLiteral("time"),
                                  QStringLiteral("Setup time, 24-hour (default 13:45)."),
                                  QStringLiteral("hh:mm"), QStringLiteral("13:45"));
    const QCommandLineOption posted(
        QStringLiteral("posted"),
        QStringLiteral("Posted limit written as the violation alert speed (default 035)."),
        QStringLiteral("NNN"), QStringLiteral("035"));
    const QCommandLineOption location(QStringLiteral("location-code"),
                                      QStringLiteral("Five-digit location code (default 00020)."),
                                      QStringLiteral("NNNNN"), QStringLiteral("00020"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Random seed (default 1)."), QStringLiteral("S"),
                                  QStringLiteral("1"));
    const QCommandLineOption mph(QStringLiteral("unit-mph"),
                                 QStringLiteral("Speeds in miles per hour (default)."));
    const QCommandLineOption kph(QStringLiteral("unit-kph"),
                                 QStringLiteral("Speeds in kilometres per hour."));
    const QCommandLineOption perLine(QStringLiteral("records-per-line"),
                                     QStringLiteral("Records between two line breaks (default 4)."),
                                     QStringLiteral("N"), QStringLiteral("4"));
    const QCommandLineOption shift(
        QStringLiteral("speed-shift"),
        QStringLiteral("Added to the usual speeds, e.g. -4 for a street after speed humps "
                       "(default 0)."),
        QStringLiteral("N"), QStringLiteral("0"));
    parser.addOptions(
        {vehicles, days, start, time, posted, location, seed, mph, kph, perLine, shift});
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("The raw data file to write (.ovd)."));

    if (!parser.parse(QCoreApplication::arguments()))
        return fail(parser.errorText() + QStringLiteral(" (see --help)"));
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.positionalArguments().size() != 1)
        return fail(parser.positionalArguments().isEmpty()
                        ? QStringLiteral("no output file given (see --help)")
                        : QStringLiteral("only one output file, please"));
    if (parser.isSet(mph) && parser.isSet(kph))
        return fail(QStringLiteral("choose one of --unit-mph and --unit-kph"));

    SampleOptions options;
    qint64 value = 0;
    if (!readWhole(parser.value(vehicles), 0, 50'000'000, value))
        return fail(QStringLiteral("--vehicles needs a whole number from 0 to 50000000"));
    options.vehicles = int(value);
    if (!readWhole(parser.value(days), 1, 14, value))
        return fail(QStringLiteral("--days needs a whole number from 1 to 14"));
    options.days = int(value);
    options.startDate = QDate::fromString(parser.value(start), QStringLiteral("MM/dd/yyyy"));
    if (!options.startDate.isValid())
        return fail(QStringLiteral("--start needs a date mm/dd/yyyy"));
    options.startTime = QTime::fromString(parser.value(time), QStringLiteral("HH:mm"));
    if (!options.startTime.isValid())
        return fail(QStringLiteral("--time needs a time hh:mm"));
    if (!readWhole(parser.value(posted), 1, 199, value))
        return fail(QStringLiteral("--posted needs a speed from 1 to 199"));
    options.postedSpeed = int(value);
    options.locationCode = parser.value(location);
    if (!readWhole(parser.value(seed), 0, 0xFFFFFFFFLL, value))
        return fail(QStringLiteral("--seed needs a whole number from 0 to 4294967295"));
    options.seed = quint32(value);
    options.kph = parser.isSet(kph);
    if (!readWhole(parser.value(perLine), 1, 1000, value))
        return fail(QStringLiteral("--records-per-line needs a whole number from 1 to 1000"));
    options.recordsPerLine = int(value);
    bool shiftOk = false;
    options.speedShift = parser.value(shift).toDouble(&shiftOk);
    if (!shiftOk || std::abs(options.speedShift) > 50)
        return fail(QStringLiteral("--speed-shift needs a number from -50 to 50"));

    if (const QString why = checkSampleOptions(options); !why.isEmpty())
        return fail(why);
    const SampleSurvey survey = generateSampleSurvey(options);
    const QString path = parser.positionalArguments().first();
    if (const QString error = writeSampleSurvey(survey, path); !error.isEmpty())
        return fail(error, 1);
    std::printf("%s: %d vehicles over %d day(s) from %s %s\n", qPrintable(path), options.vehicles,
                options.days, qPrintable(options.startDate.toString(QStringLiteral("MM/dd/yyyy"))),
                qPrintable(options.startTime.toString(QStringLiteral("HH:mm"))));
    return 0;
}

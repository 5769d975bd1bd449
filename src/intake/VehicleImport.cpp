#include "intake/VehicleImport.h"

#include "intake/VehicleRecordParser.h"
#include "intake/VehicleWriter.h"
#include "stats/Statistics.h"
#include "store/DatabaseSession.h"
#include "text/TextPatterns.h"

#include <exception>
#include <new>

namespace roadtally {

namespace {

// The start time as the import reads it: hour in characters 1-2, minute in 4-5.
// A time outside 00:00 to 23:59 would give clock texts that are no time of day
// at all, so it is a data error.
bool readStartClock(const QString &text, int &hour, int &minute)
{
    const auto whole = [](QStringView digits, int &value) {
        qint64 v = 0;
        if (!parseWholeNumber(digits, v))
            return false;
        value = int(v);
        return true;
    };
    if (text.size() < 5 || text.at(2) != QLatin1Char(':'))
        return false;
    if (!whole(QStringView(text).mid(0, 2), hour) || !whole(QStringView(text).mid(3, 2), minute))
        return false;
    return hour <= 23 && minute <= 59;
}

// The headway in whole seconds (halves to even). A number far beyond any survey
// length is held at a bound that still drops every record, so that no
// arithmetic on it can overflow.
qint64 readHeadway(const QString &text)
{
    constexpr double Bound = 1e15;
    const double h = numericValue(text);
    if (!(h < Bound))
        return qint64(Bound);
    if (!(h > -Bound))
        return -qint64(Bound);
    return roundHalfEven(h);
}

bool hasRadarRow(DatabaseSession &session)
{
    return session.scalar(QStringLiteral("SELECT count(*) FROM [Radar]")).toLongLong() > 0;
}

} // namespace

ImportResult importSurvey(const QString &databasePath, const ImportInput &input,
                          const ImportProgress &progress)
{
    ImportResult result;
    const auto report = [&](int percent) {
        if (progress)
            progress(percent);
    };

    // The required inputs, in the order the window asks for them.
    if (input.location.isEmpty()) {
        result.outcome = ImportOutcome::MissingLocation;
        return result;
    }
    if (input.direction.isEmpty()) {
        result.outcome = ImportOutcome::MissingDirection;
        return result;
    }
    if (input.zone.isEmpty()) {
        result.outcome = ImportOutcome::MissingZone;
        return result;
    }
    if (input.postedSpeed.isEmpty()) {
        result.outcome = ImportOutcome::MissingPostedSpeed;
        return result;
    }

    // From here on every failure is a data error, and everything written since
    // the transaction began is rolled back: the database stays as it was.
    result.outcome = ImportOutcome::DataErrors;
    DatabaseSession session(databasePath);
    if (!session.isOpen()) {
        result.detail = session.errorText();
        return result;
    }

    try {
        // Keep the working set of a long survey in memory; the write stays atomic.
        session.exec(QStringLiteral("PRAGMA cache_size = -65536"));

        Transaction transaction(session);

        const qint64 duplicates =
            session
                .scalar(QStringLiteral("SELECT count(*) FROM (SELECT DISTINCT [Batch_Number] "
                                       "FROM [Header]) WHERE [Batch_Number] = ? COLLATE RTRIM"),
                        {input.batchNumber})
                .toLongLong();
        if (duplicates > 0) {
            result.outcome = ImportOutcome::DuplicateBatch;
            return result; // nothing written; the transaction rolls back empty
        }

        session.exec(QStringLiteral("INSERT INTO [Header] ([Batch_Number], [Location_Code], "
                                    "[Location], [Date], [Time], [Violation_Alert], [Radar_Mode], "
                                    "[Direction], [Zone]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                     {input.batchNumber, input.locationCode, input.location, input.startDate,
                      input.startTime, input.postedSpeed, input.unit, input.direction, input.zone});

        // The current (only) Radar row records the unit; a database without one is damaged.
        if (!hasRadarRow(session))
            throw ImportFailure("the Radar table has no row");
        session.exec(QStringLiteral("UPDATE [Radar] SET [radar_mode] = ? "
                                    "WHERE rowid = (SELECT min(rowid) FROM [Radar])"),
                     {input.unit});

        session.exec(QStringLiteral("DELETE FROM [Veh_Data]"));

        const PreparedData data = prepareDataBlock(input.rawText);

        RecordRules rules;
        rules.startDate = parseDate(input.startDate);
        if (!readStartClock(input.startTime, rules.startHour, rules.startMinute))
            throw ImportFailure("the start time is not a time of day (hh:mm)");
        rules.headway = readHeadway(input.headway);
        rules.speedLow = numericValue(input.speedMin);
        rules.speedHigh = numericValue(input.speedMax);

        VehicleWriter writer(session, input.batchNumber);
        Vehicles vehicles;
        vehicles.reserve(qsizetype(data.view().size() / 17 + 1)); // one record is 17 characters
        const ParseOutcome parsed = parseVehicleRecords(
            data.view(), rules, [&](const Vehicle &vehicle, const RecordTexts &texts) {
                writer.write(vehicle, texts);
                vehicles.append(vehicle);
            });
        if (parsed == ParseOutcome::NonDate) {
            result.outcome = ImportOutcome::NonDate;
            return result; // rolled back: no Header row, no Radar change, Veh_Data as before
        }
        // Without a single complete record the start date was never tried; the
        // survey period cannot be computed from a start date that is no date.
        if (!rules.startDate.isValid())
            throw ImportFailure("the start date is not a date");
        writer.finish();
        vehicles.squeeze();

        report(25);
        const StatsInput stats{input.batchNumber, input.postedSpeed, input.unit, input.startDate,
                               input.startTime};
        const SurveyPeriod period = Summary2(session, vehicles, stats);
        if (input.unit == QLatin1String("MPH") || input.unit == QLatin1String("KPH"))
            SpeedTable(session, vehicles, stats);
        report(50);
        SpeedProfile(session, vehicles, stats);
        report(75);
        Time15min(session, vehicles, stats, period);
        report(100);

        transaction.commit();
        result.outcome = ImportOutcome::Stored;
        result.storedVehicles = int(vehicles.size());
        result.period = period;
    } catch (const std::bad_alloc &) {
        result = ImportResult();
        result.detail = QStringLiteral("out of memory");
    } catch (const std::exception &e) {
        result = ImportResult();
        result.detail = QString::fromLocal8Bit(e.what());
    } catch (...) {
        result = ImportResult();
        result.detail = QStringLiteral("unexpected failure");
    }
    return result;
}

QString importMessage(ImportOutcome outcome)
{
    switch (outcome) {
    case ImportOutcome::Stored:
        return QString();
    case ImportOutcome::MissingLocation:
        return QStringLiteral("You must input a valid location!");
    case ImportOutcome::MissingDirection:
        return QStringLiteral("You must select the direction of traffic in the survey!");
    case ImportOutcome::MissingZone:
        return QStringLiteral("You must select the survey zone!");
    case ImportOutcome::MissingPostedSpeed:
        return QStringLiteral("You must input the posted speed limit of the survey!");
    case ImportOutcome::DuplicateBatch:
        return QStringLiteral("Duplicate Batch Number found. Select a higher letter for the Batch "
                              "Number and try again.");
    case ImportOutcome::NonDate:
        return QStringLiteral("The survey data has a NON-date element");
    case ImportOutcome::DataErrors:
        return QStringLiteral("This data file has errors and cannot be processed - download "
                              "another data file to process");
    }
    return QString();
}

} // namespace roadtally

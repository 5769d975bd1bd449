#include "core/intake/VehicleImport.h"

#include "core/intake/RecordPipeline.h"
#include "core/intake/VehicleRecordParser.h"
#include "core/intake/VehicleWriter.h"
#include "core/stats/Statistics.h"
#include "core/store/DatabaseFaultText.h"
#include "core/store/DatabaseLocation.h"
#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyRules.h"
#include "core/text/TextPatterns.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <exception>
#include <new>
#include <optional>

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

// A field made only of blanks says no more than an empty one.
bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

} // namespace

std::optional<ImportOutcome> missingInput(const ImportInput &input)
{
    // In the order the window asks for them.
    if (isBlank(input.location))
        return ImportOutcome::MissingLocation;
    if (isBlank(input.direction))
        return ImportOutcome::MissingDirection;
    if (isBlank(input.zone))
        return ImportOutcome::MissingZone;
    if (isBlank(input.postedSpeed))
        return ImportOutcome::MissingPostedSpeed;
    if (!isSpeedUnit(input.unit))
        return ImportOutcome::MissingUnit;
    if (input.location.size() > LocationMaxLength)
        return ImportOutcome::LocationTooLong;
    if (input.direction.size() > DirectionMaxLength)
        return ImportOutcome::DirectionTooLong;
    if (input.zone.size() > ZoneMaxLength)
        return ImportOutcome::ZoneTooLong;
    return std::nullopt;
}

ImportResult importSurvey(const QString &databasePath, const ImportInput &input,
                          const ImportProgress &progress, const ImportOptions &options)
{
    ImportResult result;
    result.batchNumber = input.batchNumber;
    const auto report = [&](int percent) {
        if (progress)
            progress(percent);
    };

    if (const std::optional<ImportOutcome> missing = missingInput(input)) {
        result.outcome = *missing;
        return result;
    }

    // From here on a failure is the data file's or the database's, and
    // everything written since the transaction began is rolled back: the
    // database stays as it was.
    const auto databaseFailed = [&](const QString &detail, DatabaseFault fault) {
        const QString batch = result.batchNumber;
        result = ImportResult();
        result.outcome = ImportOutcome::DatabaseFailure;
        result.batchNumber = batch;
        result.detail = detail;
        result.databasePath = databasePath;
        result.fault = fault;
        result.busyTimeoutMs = options.busyTimeoutMs;
    };
    const auto dataFailed = [&](const QString &detail) {
        const QString batch = result.batchNumber;
        result = ImportResult();
        result.outcome = ImportOutcome::DataErrors;
        result.batchNumber = batch;
        result.detail = detail;
    };

    // The records are parsed on a thread of their own from here on, while the
    // database is opened and prepared and while the vehicles are stored. A
    // start time that is no time of day fails when the old code path did:
    // after the database work that comes first.
    RecordRules rules;
    rules.startDate = parseDate(input.startDate);
    const bool startClock = readStartClock(input.startTime, rules.startHour, rules.startMinute);
    rules.headway = readHeadway(input.headway);
    rules.speedLow = numericValue(input.speedMin);
    rules.speedHigh = numericValue(input.speedMax);
    std::optional<RecordPipeline> records;
    if (startClock)
        records.emplace(input.rawText, rules);

    DatabaseSession session(databasePath, options.busyTimeoutMs);
    if (!session.isOpen()) {
        databaseFailed(session.errorText(), session.openFault());
        return result;
    }

    try {
        // The engine's default page cache is kept on purpose: nearly every page
        // of an import is new and written once, and a large cache only costs
        // memory and time.
        //
        // The write lock first: a second import waits here for the first to end,
        // rather than failing half-way for a lock the first one holds.
        Transaction transaction(session, Transaction::Lock::Immediate);

        // The batch column's own comparison ignores trailing blanks on both engines.
        const qint64 duplicates =
            session
                .scalar(QStringLiteral("SELECT count(*) FROM [Header] WHERE [Batch_Number] = ?"),
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
            throw DatabaseError("the Radar table has no row", DatabaseFault::Damaged);
        session.exec(QStringLiteral("UPDATE [Radar] SET [radar_mode] = ? "
                                    "WHERE rowid = (SELECT min(rowid) FROM [Radar])"),
                     {input.unit});

        session.exec(QStringLiteral("DELETE FROM [Veh_Data]"));
        report(5);

        if (!records)
            throw ImportFailure("the start time is not a time of day (hh:mm)");
        VehicleWriter writer(session, input.batchNumber);
        // The store moves the bar from 5 to 25 by the records written against
        // the records the text can hold (17 characters each).
        const qint64 expected = qMax<qint64>(1, input.rawText.size() / 17);
        qint64 written = 0;
        int shown = 5;
        const ParseOutcome parsed =
            records->storeAll([&](const ParsedRecord &record, QStringView direction) {
                writer.write(record, direction);
                if ((++written & 0xFFF) == 0) {
                    const int percent = 5 + int(qMin<qint64>(19, written * 20 / expected));
                    if (percent > shown)
                        report(shown = percent);
                }
            });
        const Vehicles vehicles = records->takeVehicles();
        if (parsed == ParseOutcome::NonDate) {
            result.outcome = ImportOutcome::NonDate;
            return result; // rolled back: no Header row, no Radar change, Veh_Data as before
        }
        // Without a single complete record the start date was never tried; the
        // survey period cannot be computed from a start date that is no date.
        if (!rules.startDate.isValid())
            throw ImportFailure("the start date is not a date");
        writer.finish();

        report(25);
        const StatsInput stats{input.batchNumber, input.postedSpeed, input.unit, input.startDate,
                               input.startTime};
        const SurveyPeriod period = Summary2(session, vehicles, stats);
        report(38);
        SpeedTable(session, vehicles, stats);
        report(50);
        SpeedProfile(session, vehicles, stats);
        report(75);
        Time15min(session, vehicles, stats, period);
        report(90);

        transaction.commit();
        report(100);
        result.outcome = ImportOutcome::Stored;
        result.storedVehicles = int(vehicles.size());
        result.period = period;
    } catch (const DatabaseError &e) {
        // Another workstation stored the same survey meanwhile: the server's
        // unique batch number let this one wait and then refused it.
        if (e.fault() == DatabaseFault::Duplicate) {
            const QString batch = result.batchNumber;
            result = ImportResult();
            result.outcome = ImportOutcome::DuplicateBatch;
            result.batchNumber = batch;
            return result;
        }
        databaseFailed(QString::fromLocal8Bit(e.what()), e.fault());
    } catch (const ImportFailure &e) {
        dataFailed(QString::fromLocal8Bit(e.what()));
    } catch (const std::bad_alloc &) {
        dataFailed(QStringLiteral("out of memory"));
    } catch (const std::exception &e) {
        dataFailed(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        dataFailed(QStringLiteral("unexpected failure"));
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
    case ImportOutcome::MissingUnit:
        return QStringLiteral("You must select the radar mode setting: MPH or KPH!");
    case ImportOutcome::LocationTooLong:
        return tooLongText(QStringLiteral("survey location"), LocationMaxLength);
    case ImportOutcome::DirectionTooLong:
        return tooLongText(QStringLiteral("direction of travel"), DirectionMaxLength);
    case ImportOutcome::ZoneTooLong:
        return tooLongText(QStringLiteral("zone"), ZoneMaxLength);
    case ImportOutcome::DuplicateBatch:
        return QStringLiteral("Duplicate Batch Number found. Select a higher letter for the Batch "
                              "Number and try again.");
    case ImportOutcome::NonDate:
        return QStringLiteral("The survey data has a NON-date element");
    case ImportOutcome::DataErrors:
        return QStringLiteral("This data file has errors and cannot be processed - download "
                              "another data file to process");
    case ImportOutcome::DatabaseFailure:
        return QStringLiteral("The survey database could not be written. Nothing was imported.");
    }
    return QString();
}

namespace {

// What is wrong with the database, and what the user can do about it. The data
// file is not in question: the user need not download it again.
QString databaseReason(const ImportResult &result)
{
    // The import's failures carry no engine text of their own.
    return databaseFaultReason(result.fault, result.busyTimeoutMs);
}

QString databaseAdvice(DatabaseFault fault)
{
    switch (fault) {
    case DatabaseFault::Busy:
        return QStringLiteral("Process the data file again when the other program or import has "
                              "finished; there is no need to download it again.");
    case DatabaseFault::ReadOnly:
        return QStringLiteral("Make the database file and its folder writable, then process the "
                              "data file again.");
    case DatabaseFault::Damaged:
        return QStringLiteral("Repair the database (Edit > Repair & Backup Database) or restore "
                              "its backup, then process the data file again.");
    case DatabaseFault::NotSurveyDatabase:
    case DatabaseFault::Missing:
        return QStringLiteral("Put the survey database back in place (Edit > Repair & Backup "
                              "Database restores the backup or a blank database), then process "
                              "the data file again.");
    case DatabaseFault::Full:
        return QStringLiteral("Free some disk space, then process the data file again.");
    case DatabaseFault::Unreachable:
    case DatabaseFault::Denied:
    case DatabaseFault::PasswordNeeded:
    case DatabaseFault::Duplicate:
    case DatabaseFault::Other:
        break;
    }
    return QStringLiteral("Process the data file again; if the problem stays, repair the database "
                          "(Edit > Repair & Backup Database).");
}

// On a server the administrator, not this computer, answers for the database.
QString serverAdvice(DatabaseFault fault)
{
    switch (fault) {
    case DatabaseFault::Unreachable:
        return QStringLiteral("Check the network connection to the server, then process the data "
                              "file again; there is no need to download it again. Options > "
                              "Survey Database... switches to the database on this computer.");
    case DatabaseFault::Denied:
    case DatabaseFault::PasswordNeeded:
        return QStringLiteral("Check the user name in Options > Survey Database... and the "
                              "password (the password file ~/.pgpass, or the one typed for this "
                              "session), then process the data file again.");
    case DatabaseFault::ReadOnly:
        return QStringLiteral("Ask the server's administrator for the right to write the survey "
                              "tables, then process the data file again.");
    case DatabaseFault::NotSurveyDatabase:
    case DatabaseFault::Missing:
        return QStringLiteral("Check the database name in Options > Survey Database...; "
                              "roadtally-cli init --database creates the survey tables.");
    default:
        break;
    }
    return QStringLiteral("Process the data file again; if the problem stays, tell the server's "
                          "administrator what this message says.");
}

} // namespace

QString importMessage(const ImportResult &result)
{
    if (result.outcome != ImportOutcome::DatabaseFailure)
        return importMessage(result.outcome);
    if (isServerDatabase(result.databasePath))
        return QStringLiteral("The survey database %1 could not be written: %2. Nothing was "
                              "imported.\n\n%3\n\n%4")
            .arg(databaseDisplayName(result.databasePath), databaseReason(result), result.detail,
                 serverAdvice(result.fault));
    const QString path =
        QDir::toNativeSeparators(QFileInfo(result.databasePath).absoluteFilePath());
    return QStringLiteral("The survey database %1 could not be written: %2. Nothing was "
                          "imported.\n\nDatabase: %3\n\n%4")
        .arg(QFileInfo(result.databasePath).fileName(), databaseReason(result), path,
             databaseAdvice(result.fault));
}

QString storedSurveyText(const ImportResult &result)
{
    return storedSurveyText(result.batchNumber, result.storedVehicles);
}

QString storedSurveyText(const QString &batchNumber, int vehicles)
{
    // Figures read the same on every desktop: "6,953".
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    return QStringLiteral("Survey %1 stored: %2 %3")
        .arg(batchNumber.trimmed(), english.toString(vehicles),
             vehicles == 1 ? QStringLiteral("vehicle") : QStringLiteral("vehicles"));
}

} // namespace roadtally

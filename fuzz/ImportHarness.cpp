#include "ImportHarness.h"

#include "core/intake/RawDataFile.h"
#include "core/intake/VehicleImport.h"
#include "core/store/Schema.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace roadtally::fuzz {

namespace {

[[noreturn]] void broken(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "import promise broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

// A digest of every row of every table, schema included.
QByteArray digest(const QString &path)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz-digest"));
        db.setDatabaseName(path);
        if (!db.open())
            broken("cannot open the database");
        QSqlQuery tables(db);
        tables.exec(QStringLiteral("SELECT name, sql FROM sqlite_master ORDER BY name"));
        QStringList names;
        while (tables.next()) {
            hash.addData(tables.value(1).toString().toUtf8());
            names << tables.value(0).toString();
        }
        for (const QString &table : names) {
            QSqlQuery rows(db);
            if (!rows.exec(QStringLiteral("SELECT rowid, * FROM [%1] ORDER BY rowid").arg(table)))
                continue; // an index
            while (rows.next()) {
                for (int i = 0; i < rows.record().count(); ++i) {
                    const QVariant v = rows.value(i);
                    hash.addData(QByteArray(v.typeName() ? v.typeName() : "null"));
                    hash.addData(v.toString().toUtf8());
                    hash.addData(QByteArrayView("\x1f", 1));
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fuzz-digest"));
    return hash.result();
}

qint64 count(const QString &path, const QString &table)
{
    qint64 n = -1;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz-count"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT count(*) FROM [%1]").arg(table)) && q.next())
            n = q.value(0).toLongLong();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fuzz-count"));
    return n;
}

struct Workspace
{
    QTemporaryDir dir;
    QString database;
    QByteArray blank;
    QByteArray blankDigest;

    Workspace()
    {
        database = dir.filePath(QStringLiteral("OV97.mdb"));
        const QString blankPath = dir.filePath(QStringLiteral("ov97.emp"));
        if (!createBlankDatabase(blankPath).isEmpty())
            broken("cannot create a blank database");
        QFile f(blankPath);
        f.open(QIODevice::ReadOnly);
        blank = f.readAll();
        blankDigest = digest(blankPath);
    }
};

Workspace &workspace()
{
    static Workspace w;
    return w;
}

} // namespace

void runOne(const std::uint8_t *data, std::size_t size)
{
    Workspace &w = workspace();
    // The first byte picks the window's settings; the rest is the file.
    const std::uint8_t options = size > 0 ? data[0] : 0;
    const char *bytes = size > 0 ? reinterpret_cast<const char *>(data + 1) : "";
    const qsizetype length = size > 0 ? qsizetype(size - 1) : 0;

    {
        QFile raw(w.dir.filePath(QStringLiteral("fuzz.ovd")));
        raw.open(QIODevice::WriteOnly | QIODevice::Truncate);
        raw.write(bytes, length);
        QFile db(w.database);
        db.open(QIODevice::WriteOnly | QIODevice::Truncate);
        db.write(w.blank);
    }
    const LoadResult loaded = loadRawDataFile(w.dir.path(), QStringLiteral("FUZZ.OVD"));
    // An empty file or one without a survey header is refused at load, and
    // nothing reaches the import.
    if (loaded.status == LoadStatus::Empty || loaded.status == LoadStatus::NoHeader) {
        if ((length == 0) != (loaded.status == LoadStatus::Empty))
            broken("an empty file and a file without a header were told apart wrongly");
        return;
    }
    if (loaded.status != LoadStatus::Loaded || loaded.text.size() != length)
        broken("the file did not load whole");

    const RawHeader header = readRawHeader(loaded.text);
    ImportInput in;
    in.batchNumber = header.batchNumber(QStringLiteral("A"));
    in.locationCode = header.locationCode;
    in.location = QStringLiteral("Fuzz Street");
    in.startDate = (options & 0x01) ? header.batchDate : QStringLiteral("05/24/2001");
    static const char *const times[] = {"13:45", "00:00", "23:59", nullptr};
    in.startTime = times[(options >> 1) & 3] ? QString::fromLatin1(times[(options >> 1) & 3])
                                             : header.startTime;
    in.postedSpeed = header.postedSpeed.isEmpty() ? QStringLiteral("035") : header.postedSpeed;
    static const char *const units[] = {"MPH", "KPH", "MPH", "Other"};
    in.unit = QString::fromLatin1(units[(options >> 3) & 3]);
    static const char *const headways[] = {"0", "1", "4", "2.5"};
    in.headway = QString::fromLatin1(headways[(options >> 5) & 3]);
    if (options & 0x80) {
        in.speedMin = QStringLiteral("0");
        in.speedMax = QStringLiteral("999");
    }
    in.direction = QStringLiteral("North");
    in.zone = QStringLiteral("School");
    in.rawText = loaded.text;

    const ImportResult r = importSurvey(w.database, in);
    if (r.outcome == ImportOutcome::Stored) {
        if (count(w.database, QStringLiteral("Veh_Data")) != r.storedVehicles)
            broken("stored vehicles and Veh_Data rows differ");
        if (count(w.database, QStringLiteral("Header")) != 1 ||
            count(w.database, QStringLiteral("Summary")) != 1)
            broken("a stored survey needs one Header and one Summary row");
    } else {
        if (r.outcome == ImportOutcome::DataErrors && r.detail.isEmpty())
            broken("a data error without a reason");
        // The database is sound: whatever the file holds, it is never blamed on it.
        if (r.outcome == ImportOutcome::DatabaseFailure)
            broken("a data file taken for a database failure", r.detail);
        if (digest(w.database) != w.blankDigest)
            broken("a failed import changed the database", r.detail);
    }
}

} // namespace roadtally::fuzz

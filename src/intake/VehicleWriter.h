#pragma once
// Stores accepted vehicles in Veh_Data through one prepared statement, inside
// the import's transaction. A long survey holds a million rows, so the rows go
// straight to the SQLite engine behind the session, values bound in place.

#include "intake/VehicleRecordParser.h"
#include "stats/Vehicle.h"
#include "store/DatabaseSession.h"

#include <QByteArray>
#include <QSqlQuery>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace roadtally {

class VehicleWriter
{
public:
    VehicleWriter(DatabaseSession &session, const QString &batchNumber);
    ~VehicleWriter();
    VehicleWriter(const VehicleWriter &) = delete;
    VehicleWriter &operator=(const VehicleWriter &) = delete;

    // Stores one row: Batch_Number, Offset, Veh_Direction, Speed, Time, Date.
    // Throws DatabaseError on failure.
    void write(const Vehicle &vehicle, const RecordTexts &texts);
    // Releases the statement; call before the statistics run.
    void finish();

private:
    [[noreturn]] void fail(const char *what);

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    QByteArray m_batch;
    // Used only when the session's driver is not SQLite.
    DatabaseSession &m_session;
    QString m_batchNumber;
    std::optional<QSqlQuery> m_query;
};

} // namespace roadtally

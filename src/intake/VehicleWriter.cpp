#include "intake/VehicleWriter.h"

#include <QSqlDriver>

#include <sqlite3.h>

#include <cstring>
#include <string>

namespace roadtally {

namespace {

const char InsertSql[] = "INSERT INTO [Veh_Data] ([Batch_Number], [Offset], [Veh_Direction], "
                         "[Speed], [Time], [Date]) VALUES (?, ?, ?, ?, ?, ?)";

} // namespace

VehicleWriter::VehicleWriter(DatabaseSession &session, const QString &batchNumber)
    : m_batch(batchNumber.toUtf8()), m_session(session), m_batchNumber(batchNumber)
{
    session.requireOpen();
    m_db = session.sqliteHandle();
    if (!m_db) {
        m_query.emplace(session.prepare(QString::fromLatin1(InsertSql)));
        return;
    }
    if (sqlite3_prepare_v2(m_db, InsertSql, -1, &m_stmt, nullptr) != SQLITE_OK)
        fail("cannot prepare the vehicle insert");
    // The batch number is the same in every row; a binding outlives each reset.
    if (sqlite3_bind_text(m_stmt, 1, m_batch.constData(), int(m_batch.size()), SQLITE_STATIC) !=
        SQLITE_OK)
        fail("cannot bind the batch number");
}

VehicleWriter::~VehicleWriter()
{
    finish();
}

void VehicleWriter::fail(const char *what)
{
    std::string text = what;
    DatabaseFault fault = DatabaseFault::Other;
    if (m_db) {
        text += std::string(": ") + sqlite3_errmsg(m_db);
        fault = faultOfSqliteCode(sqlite3_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
    }
    throw DatabaseError(text, fault);
}

void VehicleWriter::write(const Vehicle &vehicle, const RecordTexts &texts)
{
    if (!m_stmt) {
        if (!m_query)
            throw DatabaseError("the vehicle insert is finished");
        m_session.run(*m_query,
                      {m_batchNumber, vehicle.offset, texts.direction.toString(), vehicle.speed,
                       QString::fromLatin1(texts.time, 11), QString::fromLatin1(texts.date)});
        return;
    }
    // A one-character direction needs no conversion; anything else is stored as read.
    // Bound values are read by the step right below, so they may live on the stack.
    char single[2] = {0, 0};
    QByteArray other;
    const char *direction = single;
    int directionSize = 1;
    if (texts.direction.size() == 1 && texts.direction[0].unicode() < 0x80) {
        single[0] = char(texts.direction[0].unicode());
    } else {
        other = texts.direction.toUtf8();
        direction = other.constData();
        directionSize = int(other.size());
    }

    if (sqlite3_bind_int64(m_stmt, 2, vehicle.offset) != SQLITE_OK ||
        sqlite3_bind_text(m_stmt, 3, direction, directionSize, SQLITE_STATIC) != SQLITE_OK ||
        sqlite3_bind_int64(m_stmt, 4, vehicle.speed) != SQLITE_OK ||
        sqlite3_bind_text(m_stmt, 5, texts.time, 11, SQLITE_STATIC) != SQLITE_OK ||
        sqlite3_bind_text(m_stmt, 6, texts.date, int(std::strlen(texts.date)), SQLITE_STATIC) !=
            SQLITE_OK)
        fail("cannot bind a vehicle");
    const int rc = sqlite3_step(m_stmt);
    sqlite3_reset(m_stmt);
    if (rc != SQLITE_DONE)
        fail("cannot store a vehicle");
}

void VehicleWriter::finish()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
    m_query.reset();
}

} // namespace roadtally

#pragma once
// Helpers for the database administration tests: whole surveys in every table,
// the bytes and the content of database files, and a second connection that
// holds the database.

#include "SurveyFixture.h"

#include "store/DatabaseSession.h"
#include "store/Schema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace roadtally::testing {

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Overwrites count bytes at offset with a pattern no database page holds.
inline void damage(const QString &path, qint64 offset, int count)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(offset));
    QByteArray junk(count, '\0');
    for (int i = 0; i < count; ++i)
        junk[i] = char(0xA5 ^ (i * 37));
    QCOMPARE(file.write(junk), qint64(count));
}

// Every row of every table of the file, in rowid order, as one text; two files
// with the same surveys and settings give the same text whatever their layout.
inline QString databaseContent(const QString &path)
{
    QString out;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("<cannot open>");
    }
    for (const TableDef &table : surveyTables()) {
        out += QStringLiteral("[%1]\n").arg(table.name);
        sqlite3_stmt *st = nullptr;
        const QByteArray sql = QStringLiteral("SELECT * FROM [%1] ORDER BY rowid").arg(table.name).toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
            out += QStringLiteral("<missing>\n");
            continue;
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const unsigned char *t = sqlite3_column_text(st, c);
                out += t ? QString::fromUtf8(reinterpret_cast<const char *>(t)) : QStringLiteral("<null>");
                out += QLatin1Char('|');
            }
            out += QLatin1Char('\n');
        }
        if (rc != SQLITE_DONE)
            out += QStringLiteral("<error %1>\n").arg(rc);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

inline QString integrityOf(const QString &path)
{
    sqlite3 *db = nullptr;
    QString result = QStringLiteral("<cannot open>");
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK) {
            QStringList lines;
            int rc;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW)
                lines << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
            if (rc != SQLITE_DONE)
                lines << QString::fromUtf8(sqlite3_errmsg(db));
            result = lines.join(QLatin1Char('\n'));
        } else {
            result = QString::fromUtf8(sqlite3_errmsg(db));
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return result;
}

inline qint64 pragmaValue(const QString &path, const char *pragma)
{
    sqlite3 *db = nullptr;
    qint64 value = -1;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, (QByteArray("PRAGMA ") + pragma).constData(), -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            value = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return value;
}

inline int rowCount(const QString &path, const QString &table, const QString &batch = {})
{
    DatabaseSession session(path);
    if (batch.isNull())
        return session.scalar(QStringLiteral("SELECT count(*) FROM [%1]").arg(table)).toInt();
    return session.scalar(QStringLiteral("SELECT count(*) FROM [%1] WHERE [Batch_Number] = ?").arg(table), {batch})
        .toInt();
}

// A survey in every per-survey table: Header, Summary, Speed rows, 48 Time_15
// rows per date, a Speed_Profile row per speeding vehicle and (when asked) its
// vehicles in Veh_Data, which then replace those of any earlier survey.
struct FullSurvey
{
    QString batch;
    int vehicles = 20;
    int speeding = 3; // vehicles over the limit (Speed_Profile rows)
    int dates = 1;
    bool lastProcessed = true; // its vehicles are the ones in Veh_Data
};

inline void storeFullSurvey(const QString &path, const FullSurvey &s)
{
    DatabaseSession session(path);
    Transaction transaction(session);
    session.exec(QStringLiteral("INSERT INTO [Header] ([Batch_Number], [Location_Code], [Location], [Date], [Time], "
                                "[Violation_Alert], [Radar_Mode], [Direction], [Zone]) "
                                "VALUES (?, '00020', 'Main Street', '05/24/2001', '13:45', '035', 'MPH', "
                                "'North', 'School')"),
                 {s.batch});
    session.exec(QStringLiteral("INSERT INTO [Summary] ([Batch_Number], [Posted_Limit], [Total_Vehicles], "
                                "[Start_Date]) VALUES (?, '35', ?, '05/24/01')"),
                 {s.batch, s.vehicles});
    for (int speed = 20; speed <= 60; speed += 5)
        session.exec(QStringLiteral("INSERT INTO [Speed] ([batch_number], [speed], [all_total], [All_app], "
                                    "[all_rec]) VALUES (?, ?, 2, 1, 1)"),
                     {s.batch, speed});
    for (int d = 0; d < s.dates; ++d)
        for (int row = 0; row < 48; ++row)
            session.exec(QStringLiteral("INSERT INTO [Time_15] ([Batch_Number], [Date], [TimeAM], [AMApp], "
                                        "[AMRec]) VALUES (?, ?, ?, '*', '1')"),
                         {s.batch, QStringLiteral("05/%1/01").arg(24 + d), QString::number(row)});
    for (int v = 0; v < s.speeding; ++v)
        session.exec(QStringLiteral("INSERT INTO [Speed_Profile] ([Batch_Number], [Date], [Time], [speed_Over], "
                                    "[Plus10], [Plus20], [Dir]) VALUES (?, '05/24/01', '01:50:09 PM', '40', "
                                    "'--', '--', '+')"),
                     {s.batch});
    if (s.lastProcessed) {
        session.deleteAll(QStringLiteral("Veh_Data"));
        for (int v = 0; v < s.vehicles; ++v)
            session.exec(QStringLiteral("INSERT INTO [Veh_Data] ([Batch_Number], [Offset], [Veh_Direction], "
                                        "[Speed], [Time], [Date]) VALUES (?, ?, '+', ?, '01:50:09 PM', "
                                        "'05/24/01')"),
                         {s.batch, v * 7, 30 + v % 15});
    }
    transaction.commit();
}

// Settings rows an erase or a deletion must never touch.
inline void storeSettings(const QString &path)
{
    DatabaseSession session(path);
    session.exec(QStringLiteral("INSERT INTO [Officer] ([Admin_Officer]) VALUES ('Sgt. J. Alvarez')"));
    session.exec(QStringLiteral("UPDATE [Agency] SET [Admin_Agency] = 'Riverside Police Department'"));
    session.exec(QStringLiteral("UPDATE [Radar] SET [radar_mode] = 'KPH', [Print_Name] = '1'"));
}

inline QString settingsContent(const QString &path)
{
    DatabaseSession session(path);
    QString out;
    for (const char *table : {"Radar", "Officer", "Agency"}) {
        QSqlQuery q = session.exec(QStringLiteral("SELECT * FROM [%1] ORDER BY rowid").arg(QLatin1String(table)));
        while (q.next())
            for (int c = 0; c < q.record().count(); ++c)
                out += q.value(c).toString() + QLatin1Char('|');
        out += QLatin1Char('\n');
    }
    return out;
}

// A second connection to the database, as another program would hold it.
class OtherConnection
{
public:
    OtherConnection(const QString &path, const char *begin)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK)
            m_rc = sqlite3_exec(m_db, begin, nullptr, nullptr, nullptr);
    }
    ~OtherConnection()
    {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }
    OtherConnection(const OtherConnection &) = delete;
    OtherConnection &operator=(const OtherConnection &) = delete;
    int exec(const char *sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }
    bool holds() const { return m_db && m_rc == SQLITE_OK; }

private:
    sqlite3 *m_db = nullptr;
    int m_rc = -1;
};

// The names of the files of a folder, sorted.
inline QStringList folderFiles(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace roadtally::testing

#include "core/store/Schema.h"

#include "core/store/DatabaseLocation.h"
#include "core/store/DatabaseSession.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace roadtally {

namespace {

const QString Batch = QStringLiteral("TEXT COLLATE RTRIM");
const QString Text = QStringLiteral("TEXT");
const QString Int = QStringLiteral("INTEGER");

QVector<TableDef> buildTables()
{
    QVector<TableDef> t;
    t.append({QStringLiteral("Header"),
              {{QStringLiteral("Batch_Number"), Batch},
               {QStringLiteral("Location_Code"), Text},
               {QStringLiteral("Location"), Text},
               {QStringLiteral("Date"), Text},
               {QStringLiteral("Time"), Text},
               {QStringLiteral("Violation_Alert"), Text},
               {QStringLiteral("Radar_Mode"), Text},
               {QStringLiteral("Direction"), Text},
               {QStringLiteral("Zone"), Text}}});
    t.append({QStringLiteral("Radar"),
              {{QStringLiteral("radar_mode"), Text},
               {QStringLiteral("Print_Name"), Text},
               {QStringLiteral("Print_Date"), Text}}});
    t.append({QStringLiteral("Veh_Data"),
              {{QStringLiteral("Batch_Number"), Batch},
               {QStringLiteral("Offset"), Int},
               {QStringLiteral("Veh_Direction"), Text},
               {QStringLiteral("Speed"), Int},
               {QStringLiteral("Time"), Text},
               {QStringLiteral("Date"), Text}}});
    t.append({QStringLiteral("Speed"),
              {{QStringLiteral("batch_number"), Batch},
               {QStringLiteral("speed"), Int},
               {QStringLiteral("all_total"), Int},
               {QStringLiteral("All_app"), Int},
               {QStringLiteral("all_rec"), Int}}});
    TableDef time15{QStringLiteral("Time_15"),
                    {{QStringLiteral("Batch_Number"), Batch}, {QStringLiteral("Date"), Text}}};
    for (const char *name : {"TimeAM", "AMApp", "AMRec", "tHourAMApp", "tHourAMRec", "AMHourTotal",
                             "TimePM", "PMApp", "PMRec", "tHourPMApp", "tHourPMRec", "PMHourTotal"})
        time15.columns.append({QString::fromLatin1(name), Text});
    t.append(time15);
    t.append({QStringLiteral("Speed_Profile"),
              {{QStringLiteral("Batch_Number"), Batch},
               {QStringLiteral("Date"), Text},
               {QStringLiteral("Time"), Text},
               {QStringLiteral("speed_Over"), Text},
               {QStringLiteral("Plus10"), Text},
               {QStringLiteral("Plus20"), Text},
               {QStringLiteral("Dir"), Text}}});
    TableDef summary{
        QStringLiteral("Summary"),
        {{QStringLiteral("Batch_Number"), Batch}, {QStringLiteral("Posted_Limit"), Text}}};
    for (const char *name :
         {"Total_Vehicles", "Total_Approach", "Total_Receeding", "Total_Unknown",  "Number_Under",
          "Number_UnderA",  "Number_UnderR",  "Number_Over",     "Number_Over10",  "Number_Over20",
          "Number_Over30",  "Number_OverA",   "Number_OverA10",  "Number_OverA20", "Number_OverA30",
          "Number_OverR",   "Number_OverR10", "Number_OverR20",  "Number_OverR30", "Max_Speed"})
        summary.columns.append({QString::fromLatin1(name), Int});
    for (const char *suffix : {"", "A", "R"}) {
        const QString s = QString::fromLatin1(suffix);
        summary.columns.append({QStringLiteral("50th_Percentile") + s, Text});
        summary.columns.append({QStringLiteral("85th_Percentile") + s, Text});
        summary.columns.append({QStringLiteral("Pace") + s, Text});
        summary.columns.append({QStringLiteral("Pace_Total") + s, Int});
        summary.columns.append({QStringLiteral("Pace_Percent") + s, Text});
    }
    summary.columns.append({QStringLiteral("total_seconds"), Int});
    for (const char *name : {"Total_Time", "Start_Time", "Stop_Time", "Start_Date", "Stop_Date"})
        summary.columns.append({QString::fromLatin1(name), Text});
    t.append(summary);
    t.append({QStringLiteral("Officer"), {{QStringLiteral("Admin_Officer"), Text}}});
    t.append({QStringLiteral("Agency"),
              {{QStringLiteral("Admin_Agency"), Text},
               {QStringLiteral("Addr1"), Text},
               {QStringLiteral("Addr2"), Text}}});
    return t;
}

} // namespace

const QVector<TableDef> &surveyTables()
{
    static const QVector<TableDef> tables = buildTables();
    return tables;
}

QStringList schemaStatements()
{
    QStringList out;
    for (const TableDef &table : surveyTables()) {
        QStringList cols;
        for (const ColumnDef &c : table.columns)
            cols << QStringLiteral("[%1] %2").arg(c.name, c.type);
        out << QStringLiteral("CREATE TABLE [%1] (%2)")
                   .arg(table.name, cols.join(QStringLiteral(", ")));
    }
    // The views look surveys up by batch number, the time views by batch and date.
    // Veh_Data has no index: it is bulk-filled and read whole right after.
    out << QStringLiteral("CREATE INDEX idx_header_batch ON [Header] ([Batch_Number])")
        << QStringLiteral("CREATE INDEX idx_summary_batch ON [Summary] ([Batch_Number])")
        << QStringLiteral("CREATE INDEX idx_speed_batch ON [Speed] ([batch_number], [speed])")
        << QStringLiteral("CREATE INDEX idx_time15_batch ON [Time_15] ([Batch_Number], [Date])")
        << QStringLiteral("CREATE INDEX idx_profile_batch ON [Speed_Profile] ([Batch_Number])");
    return out;
}

QStringList serverSchemaStatements()
{
    const QString schema = QLatin1String(ServerSchema);
    QStringList out{QStringLiteral("CREATE SCHEMA %1").arg(schema)};
    for (const TableDef &table : surveyTables()) {
        QStringList cols;
        for (const ColumnDef &c : table.columns) {
            const QString type = c.type == Batch ? QStringLiteral("bpchar")
                                 : c.type == Int ? QStringLiteral("integer")
                                                 : QStringLiteral("text");
            cols << QStringLiteral("\"%1\" %2").arg(c.name, type);
        }
        // The row number the one-file engine keeps for every row, which the
        // lists and forms read; Veh_Data is only ever read whole.
        if (table.name != QLatin1String("Veh_Data"))
            cols << QStringLiteral("rowid bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        out << QStringLiteral("CREATE TABLE %1.\"%2\" (%3)")
                   .arg(schema, table.name, cols.join(QStringLiteral(", ")));
    }
    // Two workstations storing the same survey at once: the second one's Header
    // row waits for the first and then fails here, never doubling the survey.
    out << QStringLiteral("ALTER TABLE %1.\"Header\" ADD CONSTRAINT header_batch_unique "
                          "UNIQUE (\"Batch_Number\")")
               .arg(schema);
    for (const QString &index : schemaStatements()) {
        if (index.startsWith(QLatin1String("CREATE INDEX")) &&
            !index.contains(QLatin1String("idx_header_batch")))
            out << standardQuoting(index).replace(QStringLiteral(" ON \""),
                                                  QStringLiteral(" ON %1.\"").arg(schema));
    }
    // Deleting a survey finds its vehicles without reading them all.
    out << QStringLiteral("CREATE INDEX idx_vehicles_batch ON %1.\"Veh_Data\" (\"Batch_Number\")")
               .arg(schema);
    for (const QString &row : blankRowStatements())
        out << standardQuoting(row).replace(QStringLiteral("INSERT INTO \""),
                                            QStringLiteral("INSERT INTO %1.\"").arg(schema));
    return out;
}

QStringList blankRowStatements()
{
    return {
        QStringLiteral("INSERT INTO [Radar] ([radar_mode], [Print_Name], [Print_Date]) "
                       "VALUES ('MPH', '0', '0')"),
        QStringLiteral("INSERT INTO [Agency] ([Admin_Agency]) VALUES ('Name of Municipality')")};
}

QString createBlankDatabase(const QString &path)
{
    if (QFile::exists(path))
        return QStringLiteral("The file %1 already exists.").arg(path);

    static std::atomic<int> counter{0};
    const QString connection = QStringLiteral("roadtally-create-%1").arg(++counter);
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open()) {
            error = QStringLiteral("Cannot create %1: %2").arg(path, db.lastError().text());
        } else {
            db.transaction();
            QSqlQuery q(db);
            QStringList statements = schemaStatements();
            statements << blankRowStatements();
            for (const QString &sql : statements) {
                if (!q.exec(sql)) {
                    error = QStringLiteral("Cannot create %1: %2").arg(path, q.lastError().text());
                    break;
                }
            }
            if (error.isEmpty())
                db.commit();
            else
                db.rollback();
            q = QSqlQuery();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!error.isEmpty())
        QFile::remove(path);
    return error;
}

QString createServerDatabase(const QString &uri, bool *existed)
{
    if (existed)
        *existed = false;
    DatabaseSession session(uri, DatabaseSession::ConnectionOnly{});
    if (!session.isOpen())
        return session.errorText();
    const QString name = databaseDisplayName(uri);
    const QString schema = QLatin1String(ServerSchema);
    try {
        Transaction transaction(session);
        const bool hasSchema =
            session
                .scalar(QStringLiteral("SELECT count(*) FROM information_schema.schemata WHERE "
                                       "schema_name = ?"),
                        {schema})
                .toLongLong() > 0;
        if (hasSchema) {
            QStringList names;
            for (const TableDef &table : surveyTables())
                names << table.name;
            QSqlQuery tables = session.exec(
                QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                               "table_schema = ?"),
                {schema});
            QStringList found;
            while (tables.next())
                found << tables.value(0).toString();
            for (const QString &table : names) {
                if (!found.contains(table))
                    return QStringLiteral("The database %1 has a schema %2 that is not a survey "
                                          "database (it lacks the table %3). Nothing was "
                                          "changed; ask the server's administrator to remove "
                                          "or rename that schema.")
                        .arg(name, schema, table);
            }
            if (existed)
                *existed = true;
            return QString();
        }
        for (const QString &sql : serverSchemaStatements())
            session.execute(sql);
        transaction.commit();
    } catch (const DatabaseError &e) {
        return QStringLiteral("Cannot create the survey tables in %1: %2")
            .arg(name, QString::fromLocal8Bit(e.what()));
    }
    return QString();
}

} // namespace roadtally

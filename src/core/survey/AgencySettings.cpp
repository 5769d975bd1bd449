#include "core/survey/AgencySettings.h"

#include "core/store/DatabaseSession.h"
#include "core/text/TextPatterns.h"

#include <QSqlQuery>

namespace roadtally {

namespace {

QString textOf(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

// A stored option is on only when it reads as the number 1, as the check box
// takes it.
bool optionOn(const QVariant &value)
{
    return numericValue(textOf(value)) == 1.0;
}

QString optionText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// The rowid of the first row of a one-row settings table, -1 when it has none.
qint64 firstRowid(DatabaseSession &session, const QString &table)
{
    const QVariant id =
        session.scalar(QStringLiteral("SELECT rowid FROM [%1] ORDER BY rowid LIMIT 1").arg(table));
    return id.isNull() ? -1 : id.toLongLong();
}

void writeOption(DatabaseSession &session, const QString &field, bool on)
{
    const qint64 id = firstRowid(session, QStringLiteral("Radar"));
    if (id < 0)
        session.exec(QStringLiteral("INSERT INTO [Radar] ([%1]) VALUES (?)").arg(field),
                     {optionText(on)});
    else
        session.exec(QStringLiteral("UPDATE [Radar] SET [%1] = ? WHERE rowid = ?").arg(field),
                     {optionText(on), id});
}

} // namespace

AgencyInfo readAgency(DatabaseSession &session)
{
    QSqlQuery q = session.exec(QStringLiteral(
        "SELECT [Admin_Agency], [Addr1], [Addr2] FROM [Agency] ORDER BY rowid LIMIT 1"));
    AgencyInfo agency;
    if (q.next()) {
        agency.name = textOf(q.value(0));
        agency.address1 = textOf(q.value(1));
        agency.address2 = textOf(q.value(2));
    }
    return agency;
}

void writeAgency(DatabaseSession &session, const AgencyInfo &agency)
{
    const qint64 id = firstRowid(session, QStringLiteral("Agency"));
    if (id < 0) {
        session.exec(QStringLiteral("INSERT INTO [Agency] ([Admin_Agency], [Addr1], [Addr2]) "
                                    "VALUES (?, ?, ?)"),
                     {agency.name, agency.address1, agency.address2});
    } else {
        session.exec(QStringLiteral("UPDATE [Agency] SET [Admin_Agency] = ?, [Addr1] = ?, "
                                    "[Addr2] = ? WHERE rowid = ?"),
                     {agency.name, agency.address1, agency.address2, id});
    }
}

ReportOptions readReportOptions(DatabaseSession &session)
{
    QSqlQuery q = session.exec(
        QStringLiteral("SELECT [Print_Name], [Print_Date] FROM [Radar] ORDER BY rowid LIMIT 1"));
    ReportOptions options;
    if (q.next()) {
        options.printName = optionOn(q.value(0));
        options.printDate = optionOn(q.value(1));
    }
    return options;
}

void writeReportOptions(DatabaseSession &session, const ReportOptions &options)
{
    Transaction transaction(session);
    writePrintName(session, options.printName);
    writePrintDate(session, options.printDate);
    transaction.commit();
}

void writePrintName(DatabaseSession &session, bool on)
{
    writeOption(session, QStringLiteral("Print_Name"), on);
}

void writePrintDate(DatabaseSession &session, bool on)
{
    writeOption(session, QStringLiteral("Print_Date"), on);
}

QVector<OfficerRow> readOfficers(DatabaseSession &session)
{
    QSqlQuery q =
        session.exec(QStringLiteral("SELECT rowid, [Admin_Officer] FROM [Officer] ORDER BY rowid"));
    QVector<OfficerRow> rows;
    while (q.next())
        rows.append({q.value(0).toLongLong(), textOf(q.value(1))});
    return rows;
}

QVector<OfficerRow> rebuildOfficerList(DatabaseSession &session)
{
    QVector<OfficerRow> rows = readOfficers(session);
    if (rows.isEmpty()) {
        addOfficer(session, QString::fromLatin1(OfficerPlaceholder));
        rows = readOfficers(session);
    }
    return rows;
}

std::optional<OfficerRow> findOfficer(DatabaseSession &session, const QString &name)
{
    // A row without a name is listed as empty text, so "" finds it.
    QSqlQuery q = session.exec(QStringLiteral("SELECT rowid, [Admin_Officer] FROM [Officer] "
                                              "WHERE coalesce([Admin_Officer], '') = ? "
                                              "ORDER BY rowid LIMIT 1"),
                               {name.isNull() ? QStringLiteral("") : name});
    if (!q.next())
        return std::nullopt;
    return OfficerRow{q.value(0).toLongLong(), textOf(q.value(1))};
}

QString officerNameProblem(DatabaseSession &session, const QString &name, qint64 exceptId)
{
    const qint64 same =
        session
            .scalar(QStringLiteral("SELECT count(*) FROM [Officer] WHERE "
                                   "lower(trim(ifnull([Admin_Officer], ''))) = lower(trim(?)) "
                                   "AND rowid <> ?"),
                    {name, exceptId})
            .toLongLong();
    if (same == 0)
        return QString();
    return QStringLiteral("The officer \"%1\" is listed already. Type another name, or choose "
                          "the listed one.")
        .arg(name.trimmed());
}

OfficerRow addOfficer(DatabaseSession &session, const QString &name)
{
    QSqlQuery q =
        session.exec(QStringLiteral("INSERT INTO [Officer] ([Admin_Officer]) VALUES (?)"), {name});
    return {q.lastInsertId().toLongLong(), name};
}

bool renameOfficer(DatabaseSession &session, qint64 id, const QString &name)
{
    QSqlQuery q = session.exec(
        QStringLiteral("UPDATE [Officer] SET [Admin_Officer] = ? WHERE rowid = ?"), {name, id});
    return q.numRowsAffected() > 0;
}

bool deleteOfficer(DatabaseSession &session, qint64 id)
{
    QSqlQuery q = session.exec(QStringLiteral("DELETE FROM [Officer] WHERE rowid = ?"), {id});
    return q.numRowsAffected() > 0;
}

} // namespace roadtally

#include "core/upkeep/SurveyCopy.h"

#include "core/store/DatabaseFaultText.h"
#include "core/store/DatabaseLocation.h"
#include "core/store/DatabaseSession.h"
#include "core/store/RowWriter.h"
#include "core/store/Schema.h"
#include "core/upkeep/SurveyDeletion.h"

#include <QFileInfo>
#include <QLocale>
#include <QSqlQuery>

namespace roadtally {

namespace {

// The tables that hold a survey's rows, Header first.
const QStringList &surveyRowTables()
{
    static const QStringList tables = {QStringLiteral("Header"),  QStringLiteral("Summary"),
                                       QStringLiteral("Speed"),   QStringLiteral("Speed_Profile"),
                                       QStringLiteral("Time_15"), QStringLiteral("Veh_Data")};
    return tables;
}

const TableDef &tableDef(const QString &name)
{
    for (const TableDef &t : surveyTables())
        if (t.name == name)
            return t;
    return surveyTables().constFirst();
}

QString trimmedRight(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

bool sameDatabase(const QString &a, const QString &b)
{
    if (isServerDatabase(a) || isServerDatabase(b)) {
        const auto x = parseServerUri(a), y = parseServerUri(b);
        return x && y && x->uri() == y->uri();
    }
    return QFileInfo(a).canonicalFilePath() == QFileInfo(b).canonicalFilePath();
}

// Copies one table's rows of a batch; returns how many.
qint64 copyRows(DatabaseSession &source, DatabaseSession &target, const TableDef &table,
                const QString &batch)
{
    QStringList fields;
    for (const ColumnDef &c : table.columns)
        fields << QStringLiteral("[%1]").arg(c.name);
    const QString list = fields.join(QStringLiteral(", "));
    // In stored order, so that lists read without an order come out the same.
    const bool ordered = !source.isServer() || table.name != QLatin1String("Veh_Data");
    QSqlQuery rows = source.exec(QStringLiteral("SELECT %1 FROM [%2] WHERE [%3] = ?%4")
                                     .arg(list, table.name, table.columns.constFirst().name,
                                          ordered ? QStringLiteral(" ORDER BY rowid") : QString()),
                                 {batch});
    const std::string head =
        QStringLiteral("INSERT INTO [%1] (%2)").arg(table.name, list).toStdString();
    RowWriter writer(target, head.c_str(), int(fields.size()));
    qint64 count = 0;
    while (rows.next()) {
        for (int i = 0; i < fields.size(); ++i) {
            const QVariant v = rows.value(i);
            if (v.isNull())
                writer.null(i + 1);
            else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int ||
                     v.typeId() == QMetaType::UInt || v.typeId() == QMetaType::ULongLong)
                writer.integer(i + 1, v.toLongLong());
            else
                writer.text(i + 1, v.toString());
        }
        writer.insert();
        ++count;
    }
    writer.finish();
    return count;
}

} // namespace

QString serverUpkeepRefusal()
{
    return QStringLiteral("The agency server is backed up by its administrator; use File > Copy "
                          "Surveys To... for a copy on this computer.");
}

QString CopyResult::summary(const QString &target) const
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QString text =
        QStringLiteral("Copied %1 %2 (%3 rows) to %4.")
            .arg(copied.size())
            .arg(copied.size() == 1 ? QStringLiteral("survey") : QStringLiteral("surveys"))
            .arg(english.toString(rows), databaseDisplayName(target));
    if (!skipped.isEmpty())
        text +=
            QStringLiteral(" Skipped (already there): %1.").arg(skipped.join(QStringLiteral(", ")));
    return text;
}

CopyResult copySurveys(const QString &from, const QString &to, const QStringList &batches)
{
    CopyResult result;
    if (sameDatabase(from, to)) {
        result.error = QStringLiteral("The surveys would be copied onto themselves: %1 is both "
                                      "the source and the target.")
                           .arg(databaseDisplayName(from));
        return result;
    }
    // A database that cannot be used is said in words; the engine's text is the detail.
    const auto unusable = [&result](const DatabaseSession &session, const QString &database,
                                    const char *access) {
        result.error = QStringLiteral("The survey database %1 could not be %2: %3. Nothing was "
                                      "copied.")
                           .arg(databaseDisplayName(database), QLatin1String(access),
                                databaseFaultReason(session.openFault()));
        result.fault = session.openFault();
        result.detail = session.errorText();
    };
    DatabaseSession source(from);
    if (!source.isOpen()) {
        unusable(source, from, "read");
        return result;
    }
    DatabaseSession target(to);
    if (!target.isOpen()) {
        unusable(target, to, "written");
        return result;
    }
    try {
        const QStringList stored = surveyBatchNumbers(source);
        QStringList wanted;
        if (batches.isEmpty()) {
            wanted = stored;
        } else {
            for (const QString &batch : batches) {
                bool found = false;
                for (const QString &s : stored)
                    found = found || trimmedRight(s) == trimmedRight(batch);
                if (!found) {
                    result.error = QStringLiteral("There is no survey %1 in %2. Nothing was "
                                                  "copied.")
                                       .arg(trimmedRight(batch), databaseDisplayName(from));
                    return result;
                }
                wanted << batch;
            }
        }
        Transaction transaction(target, Transaction::Lock::Immediate);
        for (const QString &batch : std::as_const(wanted)) {
            if (target
                    .scalar(QStringLiteral("SELECT count(*) FROM [Header] WHERE "
                                           "[Batch_Number] = ?"),
                            {batch})
                    .toLongLong() > 0) {
                result.skipped << trimmedRight(batch);
                continue;
            }
            for (const QString &table : surveyRowTables())
                result.rows += copyRows(source, target, tableDef(table), batch);
            result.copied << trimmedRight(batch);
        }
        transaction.commit();
    } catch (const DatabaseError &e) {
        const QString why = e.fault() == DatabaseFault::Duplicate
                                ? QStringLiteral("another workstation stored one of the surveys "
                                                 "meanwhile")
                                : databaseFaultReason(e.fault());
        result = CopyResult();
        result.error = QStringLiteral("The surveys could not be copied to %1: %2. Nothing was "
                                      "copied.")
                           .arg(databaseDisplayName(to), why);
        result.fault = e.fault();
        result.detail = QString::fromUtf8(e.what());
    }
    return result;
}

} // namespace roadtally

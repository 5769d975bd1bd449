#pragma once
// Every row of every table of a survey database as text, for comparing a
// database before and after an operation.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QUuid>
#include <QVariant>

namespace roadtally::test {

inline QStringList dumpDatabase(const QString &path)
{
    QStringList out;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            return {QStringLiteral("cannot open")};
        QSqlQuery tables(db);
        tables.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name"));
        QStringList names;
        while (tables.next()) {
            out << tables.value(0).toString() + QLatin1Char(' ') + tables.value(1).toString() +
                       QLatin1Char(' ') + tables.value(2).toString();
            if (tables.value(0).toString() == QLatin1String("table"))
                names << tables.value(1).toString();
        }
        for (const QString &table : names) {
            QSqlQuery rows(db);
            rows.exec(QStringLiteral("SELECT rowid, * FROM [%1] ORDER BY rowid").arg(table));
            while (rows.next()) {
                QStringList cells;
                for (int i = 0; i < rows.record().count(); ++i) {
                    const QVariant v = rows.value(i);
                    cells << (v.isNull() ? QStringLiteral("NULL")
                                         : QString::fromLatin1(v.typeName()) + QLatin1Char(':') +
                                               v.toString());
                }
                out << table + QLatin1Char('|') + cells.join(QLatin1Char('|'));
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

} // namespace roadtally::test

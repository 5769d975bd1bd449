#include "core/analysis/SurveyCaptions.h"

#include "core/analysis/SurveyCriteria.h"

#include <QSqlRecord>

namespace roadtally {

namespace {

QString fieldOf(const QHash<QString, QVariant> &row, const QString &name)
{
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value().isNull() ? QString() : it.value().toString();
    return QString();
}

} // namespace

QString SurveyCaptions::headerField(const QString &name) const
{
    return fieldOf(header, name);
}

QString SurveyCaptions::summaryField(const QString &name) const
{
    return fieldOf(summary, name);
}

std::optional<SurveyCaptions> readSurveyCaptions(DatabaseSession &session, const QString &batch)
{
    session.requireOpen();
    QSqlQuery q =
        session.exec(QStringLiteral("SELECT * FROM [Header] WHERE [Batch_Number] = ?"), {batch});
    if (!q.next())
        return std::nullopt;
    SurveyCaptions captions;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i)
        captions.header.insert(record.fieldName(i), record.value(i));
    q.finish();
    captions.summary = summaryRow(session, batch);
    return captions;
}

} // namespace roadtally

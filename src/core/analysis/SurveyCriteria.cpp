#include "core/analysis/SurveyCriteria.h"

#include "core/text/TextPatterns.h"

#include <QSqlRecord>

namespace roadtally {

QVector<CriteriaBinding> criteriaBindings(SurveyDirection direction)
{
    const QString s = summarySuffix(direction);
    return {
        {36, QStringLiteral("Pace") + s},
        {37, QStringLiteral("Pace_Total") + s},
        {38, QStringLiteral("Pace_Percent") + s},
        {27, QStringLiteral("50th_Percentile") + s},
        {28, QStringLiteral("85th_Percentile") + s},
        {45, QStringLiteral("Number_Over") + s + QStringLiteral("10")},
        {46, QStringLiteral("Number_Over") + s + QStringLiteral("20")},
        {47, QStringLiteral("Number_Over") + s + QStringLiteral("30")},
        {48, QStringLiteral("Number_Over") + s},
        {26, QStringLiteral("Number_Over") + s},
        {32, QStringLiteral("Number_Under") + s},
    };
}

BandHeaders bandHeaders(const QString &postedLimit)
{
    const double p = numericValue(postedLimit);
    const QString plus = QStringLiteral("+");
    return {postedLimit + plus, plainNumber(p + 10) + plus, plainNumber(p + 20) + plus};
}

QString percentCaption(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("Percent of total (approaching)");
    case SurveyDirection::Receding:
        return QStringLiteral("Percent of total (receeding)");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("Percent of total");
}

CriteriaResult computeCriteria(const CriteriaInput &input, SurveyDirection direction)
{
    CriteriaResult r;
    r.headers = bandHeaders(input.postedLimit);
    const double total = numericValue(input.total);
    const double over = numericValue(input.numberOver);
    r.atOrUnder = plainNumber(roundHalfAway(total - over));
    r.percentAtOrUnder = percentText(numericValue(r.atOrUnder), total);
    r.percentOver = percentText(over, total);
    r.percentBands[0] = percentText(numericValue(input.band10), total);
    r.percentBands[1] = percentText(numericValue(input.band20), total);
    r.percentBands[2] = percentText(numericValue(input.band30), total);
    r.percentBands[3] = percentText(over, total);
    r.percentCaption = percentCaption(direction);
    return r;
}

CriteriaInput criteriaInputFromSummary(const QHash<QString, QVariant> &summaryRow,
                                       SurveyDirection direction)
{
    QHash<QString, QString> lower;
    for (auto it = summaryRow.cbegin(); it != summaryRow.cend(); ++it)
        lower.insert(it.key().toLower(), it.value().isNull() ? QString() : it.value().toString());
    auto field = [&lower](const QString &name) { return lower.value(name.toLower()); };
    const QString s = summarySuffix(direction);
    CriteriaInput in;
    in.postedLimit = field(QStringLiteral("Posted_Limit"));
    in.total = field(summaryTotalField(direction));
    in.numberOver = field(QStringLiteral("Number_Over") + s);
    in.band10 = field(QStringLiteral("Number_Over") + s + QStringLiteral("10"));
    in.band20 = field(QStringLiteral("Number_Over") + s + QStringLiteral("20"));
    in.band30 = field(QStringLiteral("Number_Over") + s + QStringLiteral("30"));
    return in;
}

QHash<QString, QVariant> summaryRow(DatabaseSession &session, const QString &batch)
{
    session.requireOpen();
    QSqlQuery q =
        session.exec(QStringLiteral("SELECT * FROM [Summary] WHERE [Batch_Number] = ?"), {batch});
    QHash<QString, QVariant> row;
    if (q.next()) {
        const QSqlRecord record = q.record();
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), record.value(i));
    }
    q.finish();
    return row;
}

} // namespace roadtally

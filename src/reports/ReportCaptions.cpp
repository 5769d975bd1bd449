#include "reports/ReportCaptions.h"

#include "store/DatabaseSession.h"
#include "views/SurveyCriteria.h"

namespace roadtally {

namespace {

// A bound label's caption: the field's text, empty for a null value. Names
// are matched without regard to case.
QString caption(const QHash<QString, QVariant> &row, const QString &field)
{
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        if (it.key().compare(field, Qt::CaseInsensitive) == 0)
            return it.value().isNull() ? QString() : it.value().toString();
    }
    return {};
}

} // namespace

SurveyFacts readSurveyFacts(DatabaseSession &session, const QString &batch, bool *batchFound)
{
    session.requireOpen();
    SurveyFacts facts;
    QSqlQuery header = session.exec(
        QStringLiteral("SELECT [Batch_Number], [Zone], [Location], [Direction], [Radar_Mode] "
                       "FROM [Header] WHERE [Batch_Number] = ?"),
        {batch});
    const bool found = header.next();
    if (batchFound)
        *batchFound = found;
    if (!found)
        return facts;
    auto text = [&header](int i) {
        return header.value(i).isNull() ? QString() : header.value(i).toString();
    };
    facts.batch = text(0);
    facts.zone = text(1);
    facts.location = text(2);
    facts.direction = text(3);
    facts.unit = text(4);
    header.finish();
    const QHash<QString, QVariant> summary = summaryRow(session, batch);
    facts.startDate = caption(summary, QStringLiteral("Start_Date"));
    facts.endDate = caption(summary, QStringLiteral("Stop_Date"));
    facts.startTime = caption(summary, QStringLiteral("Start_Time"));
    facts.endTime = caption(summary, QStringLiteral("Stop_Time"));
    facts.totalTime = caption(summary, QStringLiteral("Total_Time"));
    facts.postedLimit = caption(summary, QStringLiteral("Posted_Limit"));
    return facts;
}

SurveyTotals surveyTotals(const QHash<QString, QVariant> &summary)
{
    return {caption(summary, QStringLiteral("Total_Unknown")),
            caption(summary, QStringLiteral("Total_Approach")),
            caption(summary, QStringLiteral("Total_Receeding")),
            caption(summary, QStringLiteral("Total_Vehicles"))};
}

QString directionTotal(const SurveyTotals &totals, SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return totals.approaching;
    case SurveyDirection::Receding:
        return totals.receding;
    case SurveyDirection::Both:
        break;
    }
    return totals.total;
}

SpeedStatistics speedStatistics(const QHash<QString, QVariant> &summary, SurveyDirection direction)
{
    // The labels the criteria panel binds for the direction...
    QHash<int, QString> label;
    for (const CriteriaBinding &binding : criteriaBindings(direction))
        label.insert(binding.label, caption(summary, binding.field));
    // ...and what it computes from them.
    CriteriaInput input = criteriaInputFromSummary(summary, direction);
    input.numberOver = label.value(26);
    input.band10 = label.value(45);
    input.band20 = label.value(46);
    input.band30 = label.value(47);
    const CriteriaResult result = computeCriteria(input, direction);

    SpeedStatistics s;
    s.postedLimit = caption(summary, QStringLiteral("Posted_Limit"));
    s.atOrUnder = result.atOrUnder;
    s.over = label.value(26);
    s.average = label.value(27);
    s.percentile85 = label.value(28);
    s.pace = label.value(36);
    s.paceCount = label.value(37);
    s.pacePercent = label.value(38);
    s.bandHeadings = {result.headers.first, result.headers.second, result.headers.third};
    s.bandNumbers = {label.value(45), label.value(46), label.value(47), label.value(48)};
    for (int i = 0; i < 4; ++i)
        s.bandPercents[size_t(i)] = result.percentBands[i];
    return s;
}

} // namespace roadtally

#include "core/analysis/SpeedProfileList.h"

namespace roadtally {

QStringList speedProfileColumns()
{
    return {QStringLiteral("Date"),   QStringLiteral("time"),   QStringLiteral("speed_over"),
            QStringLiteral("Plus10"), QStringLiteral("Plus20"), QStringLiteral("Dir")};
}

QString speedProfileCondition(SurveyDirection direction)
{
    // The batch number is bound; Batch_Number ignores trailing blanks, so the
    // padded number of the survey list finds the same rows.
    const QString batch = QStringLiteral("[Batch_Number] = ?");
    switch (direction) {
    case SurveyDirection::Approaching:
        return batch + QStringLiteral(" AND [Dir] = '+'");
    case SurveyDirection::Receding:
        return batch + QStringLiteral(" AND [Dir] = '-'");
    case SurveyDirection::Both:
        break;
    }
    return batch;
}

PagedQueryModel::Query speedProfileQuery(const QString &batchNumber, SurveyDirection direction)
{
    return {QStringLiteral("Speed_Profile"),
            speedProfileColumns(),
            speedProfileCondition(direction),
            {batchNumber}};
}

QString directionDescription(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("Approaching vehicles only");
    case SurveyDirection::Receding:
        return QStringLiteral("Receding vehicles only");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("All vehicles");
}

QStringList speedProfileHeaders(const SpeedProfileSelection &selection)
{
    return {QStringLiteral("Date"),    QStringLiteral("Time"),    selection.bandCaptions[0],
            selection.bandCaptions[1], selection.bandCaptions[2], QStringLiteral("Dir")};
}

} // namespace roadtally

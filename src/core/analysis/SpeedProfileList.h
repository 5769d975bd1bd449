#pragma once
// The list of speeding vehicles of one survey and direction: what the speeding
// profile window shows (and the speeding profile report prints), taken from
// table Speed_Profile in the order the rows were stored.

#include "core/store/PagedQueryModel.h"
#include "core/survey/SurveyDirection.h"

#include <QString>
#include <QStringList>

#include <array>

namespace roadtally {

// What the speeding profile window lists, as the main window shows it: its
// labels' captions and its direction choice.
struct SpeedProfileSelection
{
    QString batchNumber;    // Label7(4)
    QString postedLimit;    // Label7(9)
    QString overLimitCount; // Label2(48): vehicles over the limit in the chosen direction
    std::array<QString, 3> bandCaptions; // Label2(40) to Label2(42): "35+", "45+", "55+"
    SurveyDirection direction = SurveyDirection::Approaching; // Option1(0) to Option1(2)

    bool operator==(const SpeedProfileSelection &) const = default;
};

// The six columns in the order the list shows them.
QStringList speedProfileColumns();

// The condition of the selection for a direction, with "?" for the batch number:
// all directions ("?" vehicles too) for Both.
QString speedProfileCondition(SurveyDirection direction);

// The selection as a paged query (the batch number bound).
PagedQueryModel::Query speedProfileQuery(const QString &batchNumber, SurveyDirection direction);

// "Approaching vehicles only", "Receding vehicles only" or "All vehicles".
QString directionDescription(SurveyDirection direction);

// The grid's header texts: "Date", "Time", the three band captions, "Dir".
QStringList speedProfileHeaders(const SpeedProfileSelection &selection);

} // namespace roadtally

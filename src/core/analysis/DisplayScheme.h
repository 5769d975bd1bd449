#pragma once
// The six display schemes of the speed distribution: thirteen speed bins each,
// their labels and percentage patterns, and the volumes and shares of a survey's
// Speed rows for one direction.

#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyDirection.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <limits>

namespace roadtally {

// One bin: every Speed row whose speed lies in [low, high].
struct SpeedBin
{
    QString label; // "15 - 19"
    int low = std::numeric_limits<int>::min();
    int high = std::numeric_limits<int>::max();
    QString pattern = QStringLiteral("##.##"); // percentage pattern
};

struct DisplayScheme
{
    QString name;           // as listed in the scheme selector: "15 to 70 by 5 MPH"
    QString procedure;      // the window procedure that shows it: "schemeA"
    QString unit;           // "MPH" or "KPH"
    QVector<SpeedBin> bins; // always 13
};

// The six schemes in the order the selector compares them.
const QVector<DisplayScheme> &displaySchemes();
// The scheme of that exact name, or nullptr.
const DisplayScheme *findDisplayScheme(const QString &name);
// The scheme names offered for a survey unit: only the exact texts "MPH" and
// "KPH" have schemes; any other text (also "mph") gets none.
QStringList displaySchemeNames(const QString &radarMode);

struct SchemeResult
{
    QStringList labels;       // the 13 bin labels
    QVector<qint64> volumes;  // vehicles per bin
    QStringList volumeTexts;  // volumes as shown
    QStringList percentTexts; // share of the direction's total, "N/A" when it is 0
};

// Sums the Speed column of the direction over each bin of the survey's rows
// (one bound query per bin). totalText is the direction's survey total as its
// label shows it; the shares are read against its numeric value.
// Throws DatabaseError when the session is not open or a query fails.
SchemeResult computeScheme(DatabaseSession &session, const QString &batch,
                           const DisplayScheme &scheme, SurveyDirection direction,
                           const QString &totalText);

} // namespace roadtally

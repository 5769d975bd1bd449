#pragma once
// What the main window's bound labels show for a survey (its Header and
// Summary rows), for callers without the window: the command-line tool, the
// reports and the exports fill the views' inputs from here.

#include "core/store/DatabaseSession.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <optional>

namespace roadtally {

struct SurveyCaptions
{
    QHash<QString, QVariant> header;  // the Header row by field name
    QHash<QString, QVariant> summary; // the Summary row by field name (empty when none)

    // A field as its bound label shows it: names matched without regard to
    // case, "" for a null or missing field.
    QString headerField(const QString &name) const;
    QString summaryField(const QString &name) const;

    QString batch() const { return headerField(QStringLiteral("Batch_Number")); }   // Label7(4)
    QString radarMode() const { return headerField(QStringLiteral("Radar_Mode")); } // Radar_Mode
    QString postedLimit() const
    {
        return summaryField(QStringLiteral("Posted_Limit"));
    }                                                                                // Label7(9)
    QString startDate() const { return summaryField(QStringLiteral("Start_Date")); } // Label7(0)
    QString stopDate() const { return summaryField(QStringLiteral("Stop_Date")); }   // Label7(1)
    QString startTime() const { return summaryField(QStringLiteral("Start_Time")); } // Label8
    QString stopTime() const { return summaryField(QStringLiteral("Stop_Time")); }   // Label7(3)
};

// The survey's rows (trailing blanks of the batch number not significant);
// nothing when it has no Header row. Throws DatabaseError when a query fails.
std::optional<SurveyCaptions> readSurveyCaptions(DatabaseSession &session, const QString &batch);

} // namespace roadtally

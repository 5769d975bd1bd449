// Temporary placeholders for the four statistics, used only while src/stats has
// no sources (see CMakeLists.txt). Weak, so the real ones always win.
#include "stats/Statistics.h"
#include "text/TextPatterns.h"
namespace roadtally {
__attribute__((weak)) SurveyPeriod Summary2(DatabaseSession &session, const Vehicles &vehicles, const StatsInput &input)
{
    session.exec(QStringLiteral("INSERT INTO [Summary] ([Batch_Number], [Total_Vehicles]) VALUES (?, ?)"),
                 {input.batchNumber, int(vehicles.size())});
    SurveyPeriod p;
    p.startDate = formatDate(parseDate(input.startDate), QStringLiteral("mm/dd/yy"));
    p.endDate = vehicles.isEmpty() ? p.startDate : formatDate(vehicles.last().date, QStringLiteral("mm/dd/yy"));
    return p;
}
__attribute__((weak)) void SpeedTable(DatabaseSession &session, const Vehicles &, const StatsInput &input)
{
    session.exec(QStringLiteral("INSERT INTO [Speed] ([batch_number], [speed]) VALUES (?, 1)"), {input.batchNumber});
}
__attribute__((weak)) void SpeedProfile(DatabaseSession &session, const Vehicles &, const StatsInput &input)
{
    session.exec(QStringLiteral("INSERT INTO [Speed_Profile] ([Batch_Number]) VALUES (?)"), {input.batchNumber});
}
__attribute__((weak)) void Time15min(DatabaseSession &session, const Vehicles &, const StatsInput &input, const SurveyPeriod &)
{
    session.exec(QStringLiteral("INSERT INTO [Time_15] ([Batch_Number]) VALUES (?)"), {input.batchNumber});
}
}

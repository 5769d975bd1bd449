#pragma once
// Two known surveys written straight into a blank database: an mph survey with
// vehicles in both directions and one unknown, over four dates across a year
// end, and a km/h survey without receding vehicles.

#include "store/DatabaseSession.h"
#include "store/Schema.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace roadtally::testing {

inline const QString MphBatch = QStringLiteral("123025-A");
inline const QString KphBatch = QStringLiteral("031626-B");

// speed -> vehicles
using Counts = QMap<int, int>;

inline Counts mphApproaching()
{
    return {{14, 3},  {20, 5},  {28, 10}, {33, 20}, {35, 30},
            {36, 15}, {40, 10}, {47, 5},  {55, 1},  {73, 1}};
}
inline Counts mphReceding()
{
    return {{30, 4}, {37, 4}, {41, 4}};
}
inline Counts mphUnknown()
{
    return {{33, 1}};
}
inline Counts kphApproaching()
{
    return {{29, 2}, {50, 8}, {64, 5}, {65, 5}, {100, 10}, {120, 3}, {121, 2}};
}

inline void insertSpeedRows(DatabaseSession &s, const QString &batch, int first, int last,
                            const Counts &app, const Counts &rec, const Counts &unk)
{
    for (int speed = first; speed <= last; ++speed) {
        const int a = app.value(speed), r = rec.value(speed), u = unk.value(speed);
        s.exec(
            QStringLiteral("INSERT INTO [Speed] ([batch_number], [speed], [all_total], [All_app], "
                           "[all_rec]) VALUES (?, ?, ?, ?, ?)"),
            {batch, speed, a + r + u, a, r});
    }
}

inline void insertSummary(DatabaseSession &s, const QVariantMap &fields)
{
    QStringList names, marks;
    QVariantList values;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        names << QStringLiteral("[%1]").arg(it.key());
        marks << QStringLiteral("?");
        values << it.value();
    }
    s.exec(QStringLiteral("INSERT INTO [Summary] (%1) VALUES (%2)")
               .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
           values);
}

// Creates the database at path and writes both surveys. Returns "" or the reason.
inline QString writeKnownSurveys(const QString &path)
{
    const QString created = createBlankDatabase(path);
    if (!created.isEmpty())
        return created;
    DatabaseSession s(path);
    if (!s.isOpen())
        return s.errorText();
    try {
        Transaction transaction(s);
        s.exec(QStringLiteral("INSERT INTO [Header] ([Batch_Number], [Location_Code], [Location], "
                              "[Date], [Time], [Radar_Mode], [Direction], [Zone]) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
               {MphBatch, QStringLiteral("00020"), QStringLiteral("Maple Avenue at 5th Street"),
                QStringLiteral("12/30/25"), QStringLiteral("08:00"), QStringLiteral("MPH"),
                QStringLiteral("Northbound"), QStringLiteral("School")});
        s.exec(QStringLiteral("INSERT INTO [Header] ([Batch_Number], [Location_Code], [Location], "
                              "[Date], [Time], [Radar_Mode], [Direction], [Zone]) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
               {KphBatch, QStringLiteral("00021"), QStringLiteral("Route 9 east of the bridge"),
                QStringLiteral("03/16/26"), QStringLiteral("09:30"), QStringLiteral("KPH"),
                QStringLiteral("Eastbound"), QStringLiteral("Rural")});
        insertSpeedRows(s, MphBatch, 14, 73, mphApproaching(), mphReceding(), mphUnknown());
        insertSpeedRows(s, KphBatch, 29, 121, kphApproaching(), {}, {});
        insertSummary(s, {{QStringLiteral("Batch_Number"), MphBatch},
                          {QStringLiteral("Posted_Limit"), QStringLiteral("035")},
                          {QStringLiteral("Total_Vehicles"), 113},
                          {QStringLiteral("Total_Approach"), 100},
                          {QStringLiteral("Total_Receeding"), 12},
                          {QStringLiteral("Total_Unknown"), 1},
                          {QStringLiteral("Number_Under"), 73},
                          {QStringLiteral("Number_UnderA"), 68},
                          {QStringLiteral("Number_UnderR"), 4},
                          {QStringLiteral("Number_Over"), 40},
                          {QStringLiteral("Number_Over10"), 33},
                          {QStringLiteral("Number_Over20"), 6},
                          {QStringLiteral("Number_Over30"), 1},
                          {QStringLiteral("Number_OverA"), 32},
                          {QStringLiteral("Number_OverA10"), 25},
                          {QStringLiteral("Number_OverA20"), 6},
                          {QStringLiteral("Number_OverA30"), 1},
                          {QStringLiteral("Number_OverR"), 8},
                          {QStringLiteral("Number_OverR10"), 8},
                          {QStringLiteral("Number_OverR20"), 0},
                          {QStringLiteral("Number_OverR30"), 0},
                          {QStringLiteral("Max_Speed"), 73},
                          {QStringLiteral("50th_Percentile"), QStringLiteral("34.1")},
                          {QStringLiteral("50th_PercentileA"), QStringLiteral("34.0")},
                          {QStringLiteral("50th_PercentileR"), QStringLiteral("36.0")},
                          {QStringLiteral("85th_Percentile"), QStringLiteral("40")},
                          {QStringLiteral("85th_PercentileA"), QStringLiteral("40")},
                          {QStringLiteral("85th_PercentileR"), QStringLiteral("42")},
                          {QStringLiteral("Pace"), QStringLiteral("29 to 39")},
                          {QStringLiteral("PaceA"), QStringLiteral("29 to 39")},
                          {QStringLiteral("PaceR"), QStringLiteral("31 to 41")},
                          {QStringLiteral("Pace_Total"), 70},
                          {QStringLiteral("Pace_TotalA"), 65},
                          {QStringLiteral("Pace_TotalR"), 8},
                          {QStringLiteral("Pace_Percent"), QStringLiteral("61.9%")},
                          {QStringLiteral("Pace_PercentA"), QStringLiteral("65.0%")},
                          {QStringLiteral("Pace_PercentR"), QStringLiteral("66.7%")},
                          {QStringLiteral("total_seconds"), 259200},
                          {QStringLiteral("Total_Time"), QStringLiteral("72:00")},
                          {QStringLiteral("Start_Time"), QStringLiteral("08:00")},
                          {QStringLiteral("Stop_Time"), QStringLiteral("08:00")},
                          {QStringLiteral("Start_Date"), QStringLiteral("12/30/25")},
                          {QStringLiteral("Stop_Date"), QStringLiteral("01/02/26")}});
        insertSummary(s, {{QStringLiteral("Batch_Number"), KphBatch},
                          {QStringLiteral("Posted_Limit"), QStringLiteral("60")},
                          {QStringLiteral("Total_Vehicles"), 35},
                          {QStringLiteral("Total_Approach"), 35},
                          {QStringLiteral("Total_Receeding"), 0},
                          {QStringLiteral("Total_Unknown"), 0},
                          {QStringLiteral("Number_UnderA"), 15},
                          {QStringLiteral("Number_UnderR"), 0},
                          {QStringLiteral("Number_OverA"), 20},
                          {QStringLiteral("Number_OverA10"), 5},
                          {QStringLiteral("Number_OverA20"), 0},
                          {QStringLiteral("Number_OverA30"), 15},
                          {QStringLiteral("Number_OverR"), 0},
                          {QStringLiteral("Number_OverR10"), 0},
                          {QStringLiteral("Number_OverR20"), 0},
                          {QStringLiteral("Number_OverR30"), 0},
                          {QStringLiteral("Start_Date"), QStringLiteral("03/16/26")},
                          {QStringLiteral("Stop_Date"), QStringLiteral("03/16/26")}});
        // Dates stored out of calendar order, so text order and calendar order differ.
        for (const char *date : {"01/01/26", "12/31/25", "01/02/26", "12/30/25", "01/01/26"})
            s.exec(QStringLiteral("INSERT INTO [Time_15] ([Batch_Number], [Date], [TimeAM]) "
                                  "VALUES (?, ?, ?)"),
                   {MphBatch, QString::fromLatin1(date), QStringLiteral("00:00 - 00:15")});
        s.exec(QStringLiteral(
                   "INSERT INTO [Time_15] ([Batch_Number], [Date], [TimeAM]) VALUES (?, ?, ?)"),
               {KphBatch, QStringLiteral("03/16/26"), QStringLiteral("00:00 - 00:15")});
        s.exec(QStringLiteral("INSERT INTO [Officer] ([Admin_Officer]) VALUES (?)"),
               {QStringLiteral("Sgt. Dana Whitfield")});
        s.exec(QStringLiteral("UPDATE [Agency] SET [Admin_Agency] = ?"),
               {QStringLiteral("City of Brookhaven Police Department")});
        transaction.commit();
    } catch (const DatabaseError &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

} // namespace roadtally::testing

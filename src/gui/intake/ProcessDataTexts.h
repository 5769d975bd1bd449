#pragma once
// The texts of the "Process Raw Data" window, as the program shows them, in one
// place for its layout and its procedures.

#include <QString>
#include <QStringList>

namespace roadtally::processdata {

namespace text {
inline const QString Caption = QStringLiteral("Process Raw Data");
inline const QString Tab0 = QStringLiteral(" Process Raw Data");
inline const QString Tab1 = QStringLiteral("Modify Header");
inline const QString Tab2 = QStringLiteral("Filter Raw Data");
inline const QString Tab3 = QStringLiteral("Modify Raw Data");

inline const QStringList Tags = {
    QStringLiteral("Survey Start Date"),
    QStringLiteral("Survey Start Time"),
    QStringLiteral("Radar Mode Setting"),
    QStringLiteral("Trailer ID"),
    QStringLiteral("Batch Number"),
    QStringLiteral("Location Code"),
    QStringLiteral("Survey Location"),
    QStringLiteral("Direction of Travel"),
    QStringLiteral("Zone"),
    QStringLiteral("Posted Speed Limit"),
};
inline const QStringList Units = {QStringLiteral("MPH"), QStringLiteral("KPH")};
inline const QStringList Directions = {
    QStringLiteral("North"),      QStringLiteral("North East"), QStringLiteral("East"),
    QStringLiteral("South East"), QStringLiteral("South"),      QStringLiteral("South West"),
    QStringLiteral("West"),       QStringLiteral("NW"),
};
inline const QStringList Zones = {
    QStringLiteral("School"),       QStringLiteral("Highway"),     QStringLiteral("Railroad"),
    QStringLiteral("Construction"), QStringLiteral("Residential"), QStringLiteral("Church"),
    QStringLiteral("Interstate"),   QStringLiteral("Hospital"),    QStringLiteral("Commercial"),
    QStringLiteral("Airport"),      QStringLiteral("Parks & Rec"),
};

inline const QString Label26 =
    QStringLiteral("Colored fields must be filled in before field data can be imported.");
inline const QString Frame4 = QStringLiteral("Filter..");
inline const QString Range = QStringLiteral("Range              to");
inline const QString Headway = QStringLiteral("Headway");
inline const QString Command2 = QStringLiteral("&Process Radar Data to The Database>>");
inline const QString Command4 = QStringLiteral("&Modify Header");
inline const QString Command1 = QStringLiteral("Cancel");
inline const QString DiscardQuestion =
    QStringLiteral("The survey entries you made for this data file will be lost. Close the "
                   "window without processing it?");
inline const QString ProcessFrame = QStringLiteral("Processing Radar File to Database .......");
inline const QString SurveyHeader = QStringLiteral("Survey Header");

inline const QString Label42 = QStringLiteral("Caution! Proceed only after reading instructions");
inline const QString Label43 = QStringLiteral(
    "Header information is used for all database calculations and must be accurate. Format is "
    "as follows.         NOTE: change only those fields needed.              Blank entries will "
    "leave header fields as they were.");
inline const QString Label48_0 = QStringLiteral("Start Date format is \"mm/dd/yyyy\"");
inline const QString Label48_1 = QStringLiteral("Start Start time format is \"hh:mm\"");
inline const QString Label48_2 =
    QStringLiteral("Batch Number is \"mmddyy-A\"             A can be any letter from A to Z");
inline const QString Label48_3 = QStringLiteral("Location code is any 5 digits");
inline const QString Label48_4 = QStringLiteral("Posted Speed is \"035\"");
inline const QString Label48_7 = QStringLiteral("Do not use quotes in the input boxes.");
inline const QString Command7 = QStringLiteral("&Accept These Changes");

inline const QString Label14 = QStringLiteral(
    "The speed range filter setting allows you to include only those vehicles travelling within "
    "a specified speed range. Default speed range is 10 to 100 MPH ( or 15 to 160 KPH). This "
    "excludes very low and very high speed vehicles, so that these do not unduly affect speed "
    "statistics.  A \"Low Range\" setting of     (0 to 30) is suitable for School Zones.");
inline const QString Label8 = QStringLiteral(
    "Excluding vehicles with a headway (distance between successive vehicles) less than a given "
    "time removes congested traffic from a report and gives true, free flowing vehicle "
    "statistics. Default is to ignore headway.");
inline const QString Label7 = QStringLiteral("Number of Seconds   Between Vehicles");
inline const QString SpdDefault = QStringLiteral("Set &Default Range");
inline const QString LowDefault = QStringLiteral("&Low Range");
inline const QString Down = QStringLiteral("<");
inline const QString Up = QStringLiteral(">");
inline const QString H1 = QStringLiteral("&No Headway");
inline const QString H2 = QStringLiteral("1");
inline const QString H3 = QStringLiteral("2");
inline const QString H4 = QStringLiteral("4");
inline const QString Command3 = QStringLiteral("6");
inline const QString Command5 = QStringLiteral("8");
inline const QString SpeedRangeBox = QStringLiteral("Speed Range");
inline const QString HeadwayBox = QStringLiteral("Headway");
inline const QString UnitLabel = QStringLiteral("Unit");
inline const QString LowLabel = QStringLiteral("Low end");
inline const QString HighLabel = QStringLiteral("High end");

inline const QString Label5 = QStringLiteral(
    "CAUTION: Any improper changes could invalidate all the data. The header file must contain "
    "the exact number and sequence of characters as shown below....");
inline const QString Label3 = QStringLiteral(
    "Location:,00020,Setup Date:,005-024-001,Setup Time:,013:045,Violation Alert:,105,Blink "
    "Rate:,005,Blank Speed:,120,Alarm Speed:,109,Power Delay:,005,Direction:,+,Time Offset "
    ",Direction ,Speed,");
inline const QString Label4 =
    QStringLiteral("0000000309,-,082,0000000313,-,115,     0000000320,-,080,0000000324,+,096,    "
                   "0000000329,+,097,0000000334,-,082,");
inline const QString Label6 = QStringLiteral(
    "The data sequence must be exactly as shown here (10 digits, 1 digit, 3 digits)");
inline const QString Command9 = QStringLiteral("&Commit To Changes");
} // namespace text

inline const QString Mph = QStringLiteral("MPH");
inline const QString Kph = QStringLiteral("KPH");

} // namespace roadtally::processdata

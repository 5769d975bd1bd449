#pragma once
// What six of the seven reports share: the default page style, the start of a
// report (stop at once when the engine is not ready), the agency heading and
// the signature footer; and the captions of the main window that several
// reports print.

#include "core/reports/DocumentEngine.h"
#include "core/survey/SurveyDirection.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>

namespace roadtally {

class DatabaseSession;

// The agency heading and the signature footer.
struct ReportFrame
{
    QString agency;              // the agency name the main window shows
    QString address1;            // "Address 1" of the administration window
    QString address2;            // "Address 2"
    bool includeOfficer = false; // "Include officer name on all forms and reports"
    QString officer;             // the officer the main window shows
    bool includeDate = false;    // "Include system date on all forms and reports"
    QDate today;                 // the date printed when includeDate is on
};

// The survey facts of the main window's header block, as captioned.
struct SurveyFacts
{
    QString batch;       // Label7(4)
    QString startDate;   // Label7(0)
    QString endDate;     // Label7(1)
    QString startTime;   // Label8
    QString endTime;     // Label7(3)
    QString totalTime;   // Label9
    QString zone;        // Label7(5)
    QString location;    // Label10
    QString direction;   // Label7(8), the direction of travel
    QString postedLimit; // Label7(9)
    QString unit;        // Radar_Mode, "MPH" or "KPH"
};

// The survey totals line of the summary panel.
struct SurveyTotals
{
    QString unknown;     // Label1(23)
    QString approaching; // Label1(17)
    QString receding;    // Label1(19)
    QString total;       // Label1(21)
};

// The speed statistics of the criteria panel.
struct SpeedStatistics
{
    QString postedLimit;                 // Label2(44)
    QString atOrUnder;                   // Label2(32)
    QString over;                        // Label2(26)
    QString average;                     // Label2(27)
    QString percentile85;                // Label2(28)
    QString pace;                        // Label2(36)
    QString paceCount;                   // Label2(37)
    QString pacePercent;                 // Label2(38)
    std::array<QString, 3> bandHeadings; // Label2(40) .. Label2(42)
    std::array<QString, 4> bandNumbers;  // Label2(45) .. Label2(48): three bands, total
    std::array<QString, 4> bandPercents; // Label2(51) .. Label2(54)
};

// The default page style the preview applies before every report.
void SetDefaultStyle(DocumentEngine &vp);

// How a report begins its document.
enum class DocumentStart { Action3, BeginDocument, BeginThenAction3 };
// Begins the document; false when the engine then reports an error (the
// caller sounds the beep and the report draws nothing).
bool beginReport(DocumentEngine &vp, DocumentStart start);

// The least space, in twips, between a text's line and a rule or a box border
// beside it (beyond half the pen's width).
inline constexpr double TextClearance = 36;

// Writes the paragraphs from CursorY down (the first from CursorX) so that
// they end above bottom: at the current type size when they fit, else at the
// largest smaller size down to DocumentEngine::FloorTypeSize, else at that
// size with each paragraph cut to the lines that fit (at least one), ending
// in an ellipsis. The type size is restored afterwards.
void writeFittedParagraphs(DocumentEngine &vp, const QStringList &paragraphs, double bottom);

// The agency heading at CursorY y, centred: the agency in 12-point bold, the
// two address lines in 10 points, then the title in titleSize bold. A long
// agency name is fitted so that the heading ends above bottom.
void writeAgencyHeading(DocumentEngine &vp, const ReportFrame &frame, double y,
                        const QString &title, double bottom, double titleSize = 12);

// "Approaching Vehicles Only", "Receeding Vehicles Only", "Vehicles Both Directions".
QString reportDirectionWords(SurveyDirection direction);

// The survey facts in two text columns from CursorY 2304 (batch, dates, zone
// and location left; times and direction of travel right), in 10 points,
// fitted to end above bottom.
void writeSurveyFactColumns(DocumentEngine &vp, const SurveyFacts &facts, double bottom);

// "Report Prepared By: " + officer and/or ",    " + the date "mmm dd, yyyy";
// empty when neither option is on.
QString signatureFooterText(const ReportFrame &frame);
// Sets the footer font and text.
void writeSignatureFooter(DocumentEngine &vp, const ReportFrame &frame);

// The agency row, the two report options of the settings row and today's
// date; the officer is the one named, or else the first of the officer list
// (as the main window shows it). Throws DatabaseError when a query fails.
ReportFrame readReportFrame(DatabaseSession &session, const QString &officer = QString());

// The first selected of the three direction options, as the reports read them.
using DirectionChoice = std::optional<SurveyDirection>;

} // namespace roadtally

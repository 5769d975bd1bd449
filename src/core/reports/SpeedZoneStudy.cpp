#include "core/reports/SpeedZoneStudy.h"
#include "core/reports/PagePicture.h"

#include "core/analysis/SpeedStudyCharts.h"
#include "core/analysis/SpeedStudyText.h"
#include "core/analysis/SurveyCaptions.h"
#include "core/reports/ReportCaptions.h"
#include "core/store/DatabaseSession.h"

#include <QPainter>

namespace roadtally {

namespace {

using E = DocumentEngine;
using namespace studypage;

constexpr double TablesTop = 3456;
constexpr double ChartsTop = 6552;
constexpr double ChartHeight = 5040;
constexpr double NotesTop = ChartsTop + ChartHeight + 216;

// One group table: a header row, then each group's heading across the table
// and its figures with the program's beside them.
void figuresTable(DocumentEngine &vp, const QVector<StudyTableLine> &lines)
{
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("2250|1400|1300"), QStringLiteral("Figure|Study|Program;"),
                   QString(), QString());
    vp.SetCell(E::RowCount, int(lines.size()));
    vp.SetCell(E::RowEmphasis, 0, true);
    vp.SetCell(E::CellBackColour, 0, HeadingBack);
    vp.SetCell(E::CellAlignment, 0, 2, 8);
    vp.SetCell(E::CellAlignment, 0, 3, 8);
    for (int i = 0; i < lines.size(); ++i) {
        const int row = i + 1;
        const StudyTableLine &line = lines.at(i);
        if (line.heading) {
            vp.SetCell(E::ColumnSpan, row, 1, 3);
            vp.SetCell(E::CellText, row, 1, line.label);
            vp.SetCell(E::RowEmphasis, row, true);
            vp.SetCell(E::CellBackColour, row, QColor(240, 243, 246));
            continue;
        }
        vp.SetCell(E::CellText, row, 1, line.label);
        vp.SetCell(E::CellText, row, 2, line.study);
        vp.SetCell(E::CellText, row, 3, line.program);
        vp.SetCell(E::CellAlignment, row, 2, 8);
        vp.SetCell(E::CellAlignment, row, 3, 8);
    }
    vp.FinishTable();
}

} // namespace

QString speedZoneStudyTitle()
{
    return QStringLiteral("Speed Zone Study");
}

bool SpeedZoneStudy(DocumentEngine &vp, const SpeedZoneStudyInput &in)
{
    if (!beginReport(vp, DocumentStart::Action3))
        return false;

    vp.setCursorX(0);
    vp.setCursorY(0);
    vp.setTopMargin(1008);
    vp.setLeftMargin(Left);
    vp.setRightMargin(RightMargin);
    vp.setLineColour(Black);
    vp.setLineWidth(25);
    vp.DrawSegment(Left, 2160, Right, 2160);
    vp.DrawSegment(Left, 14400, Right, 14400);

    writeAgencyHeading(vp, in.frame, 864, speedZoneStudyTitle(), 2160 - 12.5 - TextClearance);

    // Survey facts in two text columns.
    const SurveyFacts &f = in.facts;
    vp.setColumnCount(2);
    vp.setAlignment(0);
    vp.setTypeSize(10);
    vp.setLeadingPercent(100);
    // Both columns end above the figures tables, however long the texts.
    vp.setCursorY(FactsTop);
    writeFittedParagraphs(
        vp,
        {QStringLiteral("Batch Number: ") + f.batch, QStringLiteral("Location: ") + f.location,
         QStringLiteral("Zone: ") + f.zone, QStringLiteral("Direction of Travel: ") + f.direction},
        TablesTop - TextClearance);
    vp.DocumentAction(E::NextColumnAction);
    vp.setCursorY(FactsTop);
    writeFittedParagraphs(
        vp,
        {QStringLiteral("Start: ") + f.startDate + QStringLiteral("  ") + f.startTime,
         QStringLiteral("End: ") + f.endDate + QStringLiteral("  ") + f.endTime,
         QStringLiteral("Posted Speed Limit: ") + f.postedLimit + QStringLiteral("  ") + f.unit,
         QStringLiteral("Vehicles Studied: ") + reportDirectionWords(in.direction)},
        TablesTop - TextClearance);

    // The figures: speeds and percentiles on the left, pace, limit and sample
    // on the right.
    const QVector<StudyTableLine> lines = speedStudyTable(in.study);
    qsizetype split = 0;
    for (int groups = 0; split < lines.size(); ++split)
        if (lines.at(split).heading && ++groups == 3)
            break;
    // Back to the first of the two columns.
    vp.setColumnCount(1);
    vp.setColumnCount(2);
    vp.setTypeSize(8);
    vp.setAlignment(7);
    vp.setTableParameter(E::CellMarginLeft, 60);
    vp.setTableParameter(E::CellMarginRight, 60);
    vp.setCursorY(TablesTop);
    figuresTable(vp, lines.mid(0, split));
    vp.DocumentAction(E::NextColumnAction);
    vp.setCursorY(TablesTop);
    figuresTable(vp, lines.mid(split));
    vp.setColumnCount(1);

    // The two charts side by side, each as wide as a text column.
    const double w = halfWidth();
    placePicture(vp, chartPicture(paintSpeedDistributionChart, in.study, w, ChartHeight),
                 QRectF(Left, ChartsTop, w, ChartHeight));
    placePicture(vp, chartPicture(paintCumulativeSpeedChart, in.study, w, ChartHeight),
                 QRectF(Right - w, ChartsTop, w, ChartHeight));

    // What the figures are, and the study's own notes.
    vp.setAlignment(0);
    vp.setCursorX(Left);
    vp.setCursorY(NotesTop);
    vp.setTypeSize(8);
    vp.WriteParagraph(
        QStringLiteral("Study figures come from the ranked speeds of every vehicle studied. The "
                       "Program column shows the program's estimates as on the survey summary: "
                       "its 85th percentile is 1.175 times the average speed and its pace is "
                       "centred on the average."));
    for (const QString &note : in.study.notes)
        vp.WriteParagraph(QStringLiteral("Note: ") + note);

    writeSignatureFooter(vp, in.frame);
    vp.DocumentAction(E::FinishAction);
    return true;
}

std::optional<SpeedZoneStudyInput> readSpeedZoneStudyInput(DatabaseSession &session,
                                                           const QString &batch,
                                                           SurveyDirection direction,
                                                           const QString &officer)
{
    const std::optional<SurveyCaptions> survey = readSurveyCaptions(session, batch.trimmed());
    if (!survey)
        return std::nullopt;
    SpeedZoneStudyInput in;
    in.frame = readReportFrame(session, officer);
    in.facts = surveyFacts(*survey);
    in.direction = direction;
    in.study = loadSpeedStudy(session, survey->batch(), direction);
    return in;
}

} // namespace roadtally

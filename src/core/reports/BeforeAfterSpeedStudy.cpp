#include "core/reports/BeforeAfterSpeedStudy.h"
#include "core/reports/PagePicture.h"

#include "core/analysis/ComparisonCharts.h"
#include "core/analysis/SurveyCaptions.h"
#include "core/analysis/SurveyComparisonText.h"
#include "core/reports/ReportCaptions.h"
#include "core/store/DatabaseSession.h"

#include <QPainter>

#include <algorithm>

namespace roadtally {

namespace {

using E = DocumentEngine;
using namespace studypage;

const QColor GroupBack(240, 243, 246);
constexpr double FooterRule = 14400;
constexpr double ChartGap = 180;
constexpr double MaxChartHeight = 6480;
constexpr double MinChartHeight = 2880;
// A line of 8-point notes, for the room the notes take below the charts.
constexpr double NoteLine = 200;
constexpr int NoteCharacters = 150;

QString periodText(const SurveyFacts &f)
{
    return QStringLiteral("%1 %2 to %3 %4").arg(f.startDate, f.startTime, f.endDate, f.endTime);
}

void factColumn(DocumentEngine &vp, const QString &role, const SurveyFacts &f, qint64 vehicles)
{
    vp.setBold(true);
    vp.WriteParagraph(QStringLiteral("%1: Survey %2").arg(role, f.batch));
    vp.setBold(false);
    vp.WriteParagraph(QStringLiteral("Location: ") + f.location);
    vp.WriteParagraph(QStringLiteral("Period: ") + periodText(f));
    vp.WriteParagraph(QStringLiteral("Posted Speed Limit: ") + f.postedLimit +
                      QStringLiteral("  ") + f.unit);
    vp.WriteParagraph(QStringLiteral("Vehicles: %1").arg(vehicles));
}

void comparisonTable(DocumentEngine &vp, const QVector<ComparisonLine> &lines)
{
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("2300|1100|1100|2050|1720|760|1050"),
                   QStringLiteral("Figure|Before|After|Change|Test|p|Significant;"), QString(),
                   QString());
    vp.SetCell(E::RowCount, int(lines.size()));
    vp.SetCell(E::RowEmphasis, 0, true);
    vp.SetCell(E::CellBackColour, 0, HeadingBack);
    for (int col = 2; col <= 7; ++col)
        vp.SetCell(E::CellAlignment, 0, col, 8);
    for (int i = 0; i < lines.size(); ++i) {
        const int row = i + 1;
        const ComparisonLine &line = lines.at(i);
        if (line.heading) {
            vp.SetCell(E::ColumnSpan, row, 1, 7);
            vp.SetCell(E::CellText, row, 1, line.label);
            vp.SetCell(E::RowEmphasis, row, true);
            vp.SetCell(E::CellBackColour, row, GroupBack);
            continue;
        }
        const QStringList cells = {(line.sub ? QStringLiteral("   ") : QString()) + line.label,
                                   line.before,
                                   line.after,
                                   line.change,
                                   line.test,
                                   line.p,
                                   line.significant};
        for (int col = 1; col <= 7; ++col) {
            vp.SetCell(E::CellText, row, col, cells.at(col - 1));
            if (col > 1)
                vp.SetCell(E::CellAlignment, row, col, 8);
        }
    }
    vp.FinishTable();
}

QStringList pageNotes(const SurveyComparison &c)
{
    QStringList notes;
    notes << QStringLiteral(
        "Change = after - before. Tests: Welch's t for the mean; a large-sample test of each "
        "interpolated percentile; a two-proportion z-test of each share; Kolmogorov-Smirnov for "
        "the whole distribution. A change is significant when p < 0.05.");
    for (const QString &note : c.notes)
        notes << QStringLiteral("Note: ") + note;
    return notes;
}

} // namespace

QString beforeAfterStudyTitle()
{
    return QStringLiteral("Before and After Speed Study");
}

bool BeforeAfterSpeedStudy(DocumentEngine &vp, const BeforeAfterStudyInput &in)
{
    if (!beginReport(vp, DocumentStart::Action3))
        return false;
    const SurveyComparison &c = in.comparison;

    vp.setCursorX(0);
    vp.setCursorY(0);
    vp.setTopMargin(1008);
    vp.setLeftMargin(Left);
    vp.setRightMargin(RightMargin);
    vp.setLineColour(Black);
    vp.setLineWidth(25);
    vp.DrawSegment(Left, 2160, Right, 2160);
    vp.DrawSegment(Left, FooterRule, Right, FooterRule);

    writeAgencyHeading(vp, in.frame, 864, beforeAfterStudyTitle(), 2160 - 12.5 - TextClearance);

    // Both surveys' facts, before on the left and after on the right.
    vp.setColumnCount(2);
    vp.setAlignment(0);
    vp.setTypeSize(10);
    vp.setLeadingPercent(100);
    vp.setCursorY(FactsTop);
    factColumn(vp, QStringLiteral("Before"), in.before, c.before.n);
    vp.DocumentAction(E::NextColumnAction);
    vp.setCursorY(FactsTop);
    factColumn(vp, QStringLiteral("After"), in.after, c.after.n);
    const double factsBottom = vp.CursorY();
    vp.setColumnCount(1);
    vp.setCursorX(Left);
    vp.setCursorY(factsBottom + 60);
    QString studied = QStringLiteral("Vehicles Studied: ") + reportDirectionWords(c.direction);
    if (c.controlBefore && c.controlAfter)
        studied += QStringLiteral("      Control Site: survey %1 before, survey %2 after")
                       .arg(c.controlBefore->batchNumber, c.controlAfter->batchNumber);
    vp.WriteParagraph(studied);

    vp.setTypeSize(8);
    vp.setAlignment(7);
    vp.setTableParameter(E::CellMarginLeft, 60);
    vp.setTableParameter(E::CellMarginRight, 60);
    vp.setCursorY(vp.CursorY() + 120);
    comparisonTable(vp, comparisonTable(c));

    // The charts take the room the notes leave, between a floor and the
    // study's own chart height.
    const QStringList notes = pageNotes(c);
    double notesHeight = 0;
    for (const QString &note : notes)
        notesHeight += NoteLine * double((note.size() + NoteCharacters - 1) / NoteCharacters);
    const double chartsTop = vp.CursorY() + ChartGap;
    const double chartHeight = std::clamp(FooterRule - 216 - notesHeight - ChartGap - chartsTop,
                                          MinChartHeight, MaxChartHeight);
    const double w = halfWidth();
    placePicture(vp, chartPicture(paintComparisonDistributionChart, c, w, chartHeight),
                 QRectF(Left, chartsTop, w, chartHeight));
    placePicture(vp, chartPicture(paintComparisonCumulativeChart, c, w, chartHeight),
                 QRectF(Right - w, chartsTop, w, chartHeight));

    vp.setAlignment(0);
    vp.setCursorX(Left);
    vp.setCursorY(chartsTop + chartHeight + ChartGap);
    vp.setTypeSize(8);
    for (const QString &note : notes)
        vp.WriteParagraph(note);

    writeSignatureFooter(vp, in.frame);
    vp.DocumentAction(E::FinishAction);
    return true;
}

BeforeAfterStudyInput readBeforeAfterStudyInput(DatabaseSession &session,
                                                const SurveyComparison &comparison,
                                                const QString &officer)
{
    BeforeAfterStudyInput in;
    in.frame = readReportFrame(session, officer);
    if (const std::optional<SurveyCaptions> s =
            readSurveyCaptions(session, comparison.before.batchNumber))
        in.before = surveyFacts(*s);
    if (const std::optional<SurveyCaptions> s =
            readSurveyCaptions(session, comparison.after.batchNumber))
        in.after = surveyFacts(*s);
    in.comparison = comparison;
    return in;
}

} // namespace roadtally

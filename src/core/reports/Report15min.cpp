#include "core/reports/Report15min.h"

#include "core/store/DatabaseSession.h"
#include "core/text/TextPatterns.h"

namespace roadtally {

FifteenMinuteColumns fifteenMinuteColumns(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return {{QStringLiteral("TimeAM"), QStringLiteral("AMApp"), QStringLiteral("tHourAMApp"),
                 QStringLiteral("TimePM"), QStringLiteral("PMApp"), QStringLiteral("tHourPMApp")},
                QStringLiteral("^1500|^1000|^1500|^1500|^1000|^1500;"),
                QStringLiteral("Time AM|App|Hour Total|Time PM|App|Hour Total;"),
                QStringLiteral("(Approaching Vehicles Only)")};
    case SurveyDirection::Receding:
        return {{QStringLiteral("TimeAM"), QStringLiteral("AMRec"), QStringLiteral("tHourAMRec"),
                 QStringLiteral("TimePM"), QStringLiteral("PMRec"), QStringLiteral("tHourPMRec")},
                QStringLiteral("^1500|^1000|^1500|^1500|^1000|^1500;"),
                QStringLiteral("Time AM|Rec|Hour Total|Time PM|Rec|Hour Total;"),
                QStringLiteral("(Receeding Vehicles Only)")};
    case SurveyDirection::Both:
        break;
    }
    return {{QStringLiteral("TimeAM"), QStringLiteral("AMApp"), QStringLiteral("AMRec"),
             QStringLiteral("AMHourTotal"), QStringLiteral("TimePM"), QStringLiteral("PMApp"),
             QStringLiteral("PMRec"), QStringLiteral("PMHourTotal")},
            QStringLiteral("^1500|^700|^700|^1100|^1500|^700|^700|^1100;"),
            QStringLiteral("Time AM|A|R|Hour Total|Time PM|A|R|Hour Total;"),
            QStringLiteral("(Vehicles Both Directions)")};
}

TextRecords fifteenMinuteRows(DatabaseSession &session, const QString &batch, const QString &date,
                              SurveyDirection direction)
{
    session.requireOpen();
    const FifteenMinuteColumns columns = fifteenMinuteColumns(direction);
    QStringList bracketed;
    for (const QString &field : columns.fields)
        bracketed << QLatin1Char('[') + field + QLatin1Char(']');
    QSqlQuery query =
        session.exec(QStringLiteral("SELECT [Date], %1 FROM [Time_15] WHERE [Batch_Number] = ? "
                                    "ORDER BY [TimeAM]")
                         .arg(bracketed.join(QStringLiteral(", "))),
                     {batch});
    // The date is compared as a date, as the program's date literal does.
    const QDate wanted = parseDate(date);
    TextRecords rows(int(columns.fields.size()));
    while (query.next()) {
        const QString stored = query.value(0).toString();
        const bool same = wanted.isValid() ? parseDate(stored) == wanted : stored == date;
        if (!same)
            continue;
        for (int c = 0; c < columns.fields.size(); ++c)
            rows.appendField(fieldText(query.value(c + 1)));
    }
    return rows;
}

namespace {

const QColor Yellow(255, 255, 0);
const QColor Grey(200, 200, 200);

QString dateLine(const QString &chosen)
{
    const QDate date = parseDate(chosen);
    // A label text that is not a date is printed as it stands.
    return QStringLiteral("Date: ") +
           (date.isValid() ? formatDate(date, QStringLiteral("dddd, mmm d")) : chosen);
}

} // namespace

bool Report15min(DocumentEngine &vp, const Report15minInput &in)
{
    if (!beginReport(vp, DocumentStart::BeginDocument))
        return false;

    // Frame: the rule under the heading, the yellow date box, the two boxes
    // around the morning and afternoon figures.
    vp.setCursorX(0);
    vp.setCursorY(0);
    const double x0 = vp.CursorX(), y0 = vp.CursorY();
    vp.setLineColour(Qt::black);
    vp.setLineWidth(15);
    vp.DrawSegment(x0 + 1872, y0 + 1512, x0 + 10368, y0 + 1512);
    vp.setFillColour(Yellow);
    vp.DrawBox(x0 + 2102.4, y0 + 2808, x0 + 6105.6, y0 + 3168);
    vp.setFillMode(1);
    vp.DrawBox(x0 + 2448, y0 + 13680, x0 + 6048, y0 + 14976);
    vp.DrawBox(x0 + 6120, y0 + 13680, x0 + 9720, y0 + 14976);

    vp.setTopMargin(432);
    vp.setLeftMargin(720);
    vp.setRightMargin(720);
    vp.setBottomMargin(432);

    writeAgencyHeading(vp, in.frame, 432,
                       QStringLiteral("Daily Traffic Flow - (15 Minute Interval) "),
                       y0 + 1512 - 7.5 - TextClearance, 10);

    // Survey facts.
    const SurveyFacts &f = in.facts;
    vp.setCursorY(1728);
    vp.setAlignment(6);
    vp.setTypeSize(10);
    vp.setLeftMargin(1872);
    vp.setCursorX(1872);
    // Above the yellow date box.
    writeFittedParagraphs(vp,
                          {QStringLiteral("Batch Number: ") + f.batch +
                               QString(57, QLatin1Char(' ')) + QStringLiteral("Survey Period: ") +
                               f.startDate + QStringLiteral(" - ") + f.endDate,
                           QStringLiteral("Survey Zone: ") + f.zone,
                           QStringLiteral("Survey Location: ") + f.location},
                          y0 + 2808 - 7.5 - TextClearance);
    vp.setLeftMargin(720);

    // The date inside the yellow box, the direction beside it.
    vp.setCursorX(2304);
    vp.setCursorY(2880);
    vp.WriteParagraph(dateLine(in.chosenDate));
    vp.setCursorX(6912);
    vp.setCursorY(2880);
    if (in.direction)
        vp.WriteParagraph(fifteenMinuteColumns(*in.direction).words);

    vp.setAlignment(7);
    vp.setCursorY(3168);
    vp.setTypeFace(QStringLiteral("Arial"));
    vp.setTypeSize(9);
    // Without a direction there is no query, so no rows.
    if (!in.direction || in.rows.isEmpty()) {
        // No table, no figures and no footer.
        vp.setPageFooter(QString());
        vp.DocumentAction(DocumentEngine::FinishAction);
        return true;
    }

    using E = DocumentEngine;
    const FifteenMinuteColumns columns = fifteenMinuteColumns(*in.direction);
    vp.BeginTable();
    vp.AppendTableRows(columns.format, columns.header, in.rows);
    vp.SetCell(E::RowEmphasis, 0, true);
    vp.SetCell(E::CellBackColour, 0, Yellow);
    // Every second hour of the day is shaded, from the second on.
    for (int first = 5; first <= 45; first += 8)
        for (int row = first; row < first + 4; ++row)
            vp.SetCell(E::CellBackColour, row, Grey);
    vp.SetCell(E::RowHeight, 0, vp.MeasureHeight(QStringLiteral("Test")) * 1.1);
    vp.setTableRules(7);
    vp.FinishTable();

    // Morning and afternoon figures in two columns, framed by the boxes above.
    vp.setLeftMargin(2592);
    vp.setRightMargin(2592);
    vp.setColumnCount(2);
    vp.setAlignment(0);
    // Inside its box as the afternoon figures are in theirs: at 9.4 in the first
    // line stood on the box's top border.
    vp.setCursorY(13752);
    vp.WriteParagraph(QStringLiteral("Total AM: ") + in.morning[0]);
    vp.WriteParagraph(QStringLiteral("Peak Hour AM: ") + in.morning[1]);
    vp.WriteParagraph(QStringLiteral("Peak Flow AM: ") + in.morning[2]);
    vp.WriteParagraph(QStringLiteral("Peak % of AM: ") + in.morning[3]);
    vp.WriteParagraph(QStringLiteral("Peak AM % of 24 Hr: ") + in.morning[4]);
    vp.DocumentAction(DocumentEngine::NextColumnAction);
    vp.setAlignment(0);
    vp.setCursorY(13752);
    vp.WriteParagraph(QStringLiteral("Total PM: ") + in.afternoon[0]);
    vp.WriteParagraph(QStringLiteral("Peak Hour PM: ") + in.afternoon[1]);
    vp.WriteParagraph(QStringLiteral("Peak Flow PM: ") + in.afternoon[2]);
    vp.WriteParagraph(QStringLiteral("Peak % of PM: ") + in.afternoon[3]);
    vp.WriteParagraph(QStringLiteral("Peak PM % of 24 Hr: ") + in.afternoon[4]);

    writeSignatureFooter(vp, in.frame);
    vp.DocumentAction(DocumentEngine::FinishAction);
    return true;
}

} // namespace roadtally

#include "core/reports/SpeedProfile.h"

#include "core/store/DatabaseSession.h"

namespace roadtally {

QString speedProfileHeader(const SpeedProfileInput &in)
{
    return QStringLiteral("      Speed Profile      --    Batch # ") + in.batch +
           QString(29, QLatin1Char(' ')) + QStringLiteral("Date: ") + in.startDate +
           QStringLiteral("  --  ") + in.endDate;
}

QString speedProfileUnit(const QString &radarMode)
{
    return radarMode.trimmed().compare(QLatin1String("KPH"), Qt::CaseInsensitive) == 0
               ? QStringLiteral("km/h")
               : QStringLiteral("mph");
}

QString speedProfileNoneText(const SpeedProfileInput &in)
{
    QString limit = in.postedLimit.trimmed();
    if (limit.isEmpty()) {
        // The first band heading is the limit followed by "+".
        limit = in.bandHeadings[0].trimmed();
        if (limit.endsWith(QLatin1Char('+')))
            limit.chop(1);
    }
    return QStringLiteral("No vehicle exceeded the posted limit of %1 %2.")
        .arg(limit, speedProfileUnit(in.unit));
}

TextRecords speedProfileRows(DatabaseSession &session, const QString &batch,
                             SurveyDirection direction)
{
    session.requireOpen();
    QString sql = QStringLiteral("SELECT [Date], [Time], [speed_Over], [Plus10], [Plus20], [Dir] "
                                 "FROM [Speed_Profile] WHERE [Batch_Number] = ?");
    QVariantList values{batch};
    if (direction != SurveyDirection::Both) {
        sql += QStringLiteral(" AND [Dir] = ?");
        values << (direction == SurveyDirection::Approaching ? QStringLiteral("+")
                                                             : QStringLiteral("-"));
    }
    // The order in which the rows were stored.
    sql += QStringLiteral(" ORDER BY rowid");
    QSqlQuery query = session.prepare(sql);
    query.setForwardOnly(true);
    session.run(query, values);
    TextRecords rows(6);
    while (query.next())
        for (int c = 0; c < 6; ++c)
            rows.appendField(fieldText(query.value(c)));
    return rows;
}

void SpeedProfile(DocumentEngine &vp, const SpeedProfileInput &in)
{
    using E = DocumentEngine;
    vp.setHeaderFace(QStringLiteral("Arial"));
    vp.setHeaderSize(12);
    vp.setHeaderBold(true);
    vp.setPageHeader(speedProfileHeader(in));

    vp.setAlignment(7);
    vp.setColumnCount(2);
    vp.setTypeFace(QStringLiteral("Arial"));
    vp.setTypeSize(10);
    vp.BeginDocument();

    const qsizetype n = in.rows.rows();
    if (n == 0) {
        // One page that says so, rather than a page with nothing on it.
        vp.setColumnCount(1);
        vp.setAlignment(7);
        vp.WriteParagraph(speedProfileNoneText(in));
        vp.setPageFooter(QStringLiteral("|| Page %d of 1"));
        vp.FinishDocument();
        return;
    }
    // The band columns are wide enough for the unit beside the speed, with
    // the narrower cell margins of the other reports' tables; the six columns
    // still fit the text column and the times ("07:10:46 AM") their cells.
    const QString unit = QLatin1Char(' ') + speedProfileUnit(in.unit);
    vp.setTableParameter(E::CellMarginLeft, 40);
    vp.setTableParameter(E::CellMarginRight, 40);
    vp.BeginTable();
    vp.AppendTableRows(QStringLiteral("^870|^1230|^920|^920|^920|^440;"),
                       QStringLiteral("Date|Time|") + in.bandHeadings[0] + unit + QLatin1Char('|') +
                           in.bandHeadings[1] + unit + QLatin1Char('|') + in.bandHeadings[2] +
                           unit + QStringLiteral("|Dir;"),
                       in.rows);
    vp.SetCell(E::RowEmphasis, 0, true);
    vp.SetCell(E::CellBackColour, 0, QColor(255, 255, 0));
    vp.SetCell(E::RowHeight, 0, vp.MeasureHeight(QStringLiteral("Test")) * 1.1);
    const QVariant grey = QColor(200, 200, 200);
    for (qsizetype row = 1; row <= n; ++row)
        for (int column = 3; column <= 5; ++column)
            vp.SetCell(E::CellBackColour, int(row), column, grey);
    vp.FinishTable();
    vp.setPageFooter(QStringLiteral("|| Page %d of ") + QString::number(vp.pageCount()));
    vp.FinishDocument();
}

} // namespace roadtally

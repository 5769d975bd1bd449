#include "core/reports/SpeedProfile.h"

#include "core/store/DatabaseSession.h"

namespace roadtally {

QString speedProfileHeader(const SpeedProfileInput &in)
{
    return QStringLiteral("      Speed Profile      --    Batch # ") + in.batch +
           QString(29, QLatin1Char(' ')) + QStringLiteral("Date: ") + in.startDate +
           QStringLiteral("  --  ") + in.endDate;
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
        vp.FinishDocument();
        return;
    }
    vp.BeginTable();
    vp.AppendTableRows(QStringLiteral("^1250|^1250|^750|^750|^750|^500;"),
                       QStringLiteral("Date|Time|") + in.bandHeadings[0] + QLatin1Char('|') +
                           in.bandHeadings[1] + QLatin1Char('|') + in.bandHeadings[2] +
                           QStringLiteral("|Dir;"),
                       in.rows);
    vp.SetCell(E::RowEmphasis, 0, true);
    vp.SetCell(E::CellBackColour, 0, QColor(255, 255, 0));
    vp.SetCell(E::RowHeight, 0, vp.MeasureHeight(QStringLiteral("Test")) * 1.1);
    const QVariant grey = QColor(200, 200, 200);
    for (qsizetype row = 1; row <= n; ++row)
        for (int column = 3; column <= 5; ++column)
            vp.SetCell(E::CellBackColour, int(row), column, grey);
    vp.FinishTable();
    vp.setPageFooter(QStringLiteral("|| page%d"));
    vp.FinishDocument();
}

} // namespace roadtally

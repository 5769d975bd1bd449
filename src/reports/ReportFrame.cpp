#include "reports/ReportFrame.h"

#include "store/DatabaseSession.h"
#include "text/TextPatterns.h"

namespace roadtally {

void SetDefaultStyle(DocumentEngine &vp)
{
    vp.setTypeFace(QStringLiteral("arial"));
    vp.setTypeSize(10);
    vp.setBold(false);
    vp.setItalic(false);
    vp.setAlignment(0);
    vp.setFillMode(0);
    vp.setLineWidth(6);
    vp.setLineColour(Qt::black);
    vp.setFillColour(Qt::black);
    vp.setColumnCount(1);
    vp.setLeftMargin(720);
    vp.setRightMargin(720);
}

bool beginReport(DocumentEngine &vp, DocumentStart start)
{
    switch (start) {
    case DocumentStart::Action3:
        vp.DocumentAction(DocumentEngine::BeginAction);
        break;
    case DocumentStart::BeginDocument:
        vp.BeginDocument();
        break;
    case DocumentStart::BeginThenAction3:
        vp.BeginDocument();
        vp.DocumentAction(DocumentEngine::BeginAction);
        break;
    }
    return vp.EngineError() == DocumentEngine::NoError;
}

void writeAgencyHeading(DocumentEngine &vp, const ReportFrame &frame, double y,
                        const QString &title, double titleSize)
{
    vp.setAlignment(7);
    vp.setCursorY(y);
    vp.setTypeFace(QStringLiteral("Arial"));
    vp.setTypeSize(12);
    vp.setBold(true);
    vp.WriteParagraph(frame.agency);
    vp.setBold(false);
    vp.setTypeSize(10);
    vp.WriteParagraph(frame.address1);
    vp.WriteParagraph(frame.address2);
    vp.setBold(true);
    vp.setTypeSize(titleSize);
    vp.WriteParagraph(title);
    vp.setBold(false);
}

QString signatureFooterText(const ReportFrame &frame)
{
    QString text;
    if (frame.includeOfficer)
        text = QStringLiteral("Report Prepared By: ") + frame.officer;
    if (frame.includeDate)
        text += QStringLiteral(",    ") + formatDate(frame.today, QStringLiteral("mmm dd, yyyy"));
    return text;
}

void writeSignatureFooter(DocumentEngine &vp, const ReportFrame &frame)
{
    vp.setHeaderFace(QStringLiteral("Arial"));
    vp.setHeaderSize(9);
    vp.setPageFooter(signatureFooterText(frame));
}

ReportFrame readReportFrame(DatabaseSession &session, const QString &officer)
{
    session.requireOpen();
    ReportFrame frame;
    QSqlQuery agency =
        session.exec(QStringLiteral("SELECT [Admin_Agency], [Addr1], [Addr2] FROM [Agency]"));
    if (agency.next()) {
        frame.agency = agency.value(0).toString();
        frame.address1 = agency.value(1).toString();
        frame.address2 = agency.value(2).toString();
    }
    QSqlQuery radar =
        session.exec(QStringLiteral("SELECT [Print_Name], [Print_Date] FROM [Radar]"));
    if (radar.next()) {
        // The check boxes take the number the field holds: 1 ticks them.
        frame.includeOfficer = numericValue(radar.value(0).toString()) == 1;
        frame.includeDate = numericValue(radar.value(1).toString()) == 1;
    }
    if (!officer.isNull()) {
        frame.officer = officer;
    } else {
        QSqlQuery first = session.exec(QStringLiteral("SELECT [Admin_Officer] FROM [Officer]"));
        if (first.next())
            frame.officer = first.value(0).toString();
    }
    frame.today = QDate::currentDate();
    return frame;
}

} // namespace roadtally

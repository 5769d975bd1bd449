#include "core/reports/ReportFrame.h"

#include "core/store/DatabaseSession.h"
#include "core/survey/AgencySettings.h"
#include "core/text/TextPatterns.h"

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

QString reportDirectionWords(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("Approaching Vehicles Only");
    case SurveyDirection::Receding:
        return QStringLiteral("Receding Vehicles Only");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("Vehicles Both Directions");
}

void writeSurveyFactColumns(DocumentEngine &vp, const SurveyFacts &f)
{
    vp.setColumnCount(2);
    vp.setAlignment(0);
    vp.setTypeSize(10);
    vp.setCursorY(2304);
    vp.WriteParagraph(QStringLiteral("Batch Number: ") + f.batch);
    vp.WriteParagraph(QString());
    vp.WriteParagraph(QStringLiteral("Start Date: ") + f.startDate);
    vp.WriteParagraph(QStringLiteral("End Date: ") + f.endDate);
    vp.WriteParagraph(QString());
    vp.WriteParagraph(QStringLiteral("Zone: ") + f.zone);
    vp.WriteParagraph(QStringLiteral("Location: ") + f.location);
    vp.DocumentAction(DocumentEngine::NextColumnAction);
    vp.setAlignment(8);
    vp.setCursorY(2736);
    vp.WriteParagraph(QStringLiteral("Start Time: ") + f.startTime);
    vp.WriteParagraph(QStringLiteral("End Time: ") + f.endTime);
    vp.WriteParagraph(QString());
    vp.WriteParagraph(QStringLiteral("Direction of Travel: ") + f.direction);
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
    // Read as the administration window stores them.
    session.requireOpen();
    ReportFrame frame;
    const AgencyInfo agency = readAgency(session);
    frame.agency = agency.name;
    frame.address1 = agency.address1;
    frame.address2 = agency.address2;
    const ReportOptions options = readReportOptions(session);
    frame.includeOfficer = options.printName;
    frame.includeDate = options.printDate;
    if (!officer.isNull()) {
        frame.officer = officer;
    } else {
        const QVector<OfficerRow> officers = readOfficers(session);
        if (!officers.isEmpty())
            frame.officer = officers.first().name;
    }
    frame.today = QDate::currentDate();
    return frame;
}

} // namespace roadtally

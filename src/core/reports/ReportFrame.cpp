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

void writeFittedParagraphs(DocumentEngine &vp, const QStringList &paragraphs, double bottom)
{
    const double size = vp.TypeSize(), x = vp.CursorX(), y = vp.CursorY();
    // The lines of each paragraph at the current size.
    auto wrapped = [&](int maxLines) {
        QVector<QStringList> lines;
        for (qsizetype i = 0; i < paragraphs.size(); ++i) {
            vp.setCursorX(i == 0 ? x : 0);
            lines.append(vp.WrapParagraph(paragraphs.at(i), maxLines));
        }
        return lines;
    };
    auto height = [&](const QVector<QStringList> &lines) {
        qsizetype n = 0;
        for (const QStringList &l : lines)
            n += l.size();
        return double(n) * vp.LineHeight();
    };
    QVector<QStringList> lines;
    bool fits = false;
    for (double s = size; s >= DocumentEngine::FloorTypeSize - 0.001 && !fits; s -= 0.5) {
        vp.setTypeSize(s);
        lines = wrapped(0);
        fits = y + height(lines) <= bottom + 0.5;
    }
    if (!fits) {
        // At the floor: each paragraph keeps what is left after one line for
        // each of those still to come.
        qsizetype left = qsizetype((bottom - y + 0.5) / vp.LineHeight());
        for (qsizetype i = 0; i < paragraphs.size(); ++i) {
            const qsizetype allowed = std::max<qsizetype>(1, left - (paragraphs.size() - 1 - i));
            if (lines[i].size() > allowed) {
                vp.setCursorX(i == 0 ? x : 0);
                lines[i] = vp.WrapParagraph(paragraphs.at(i), int(allowed));
            }
            left -= lines[i].size();
        }
    }
    vp.setCursorY(y);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == 0)
            vp.setCursorX(x);
        // Each line on its own: it fits its width, so it is not broken again.
        for (const QString &line : std::as_const(lines[i]))
            vp.WriteParagraph(line);
    }
    vp.setTypeSize(size);
}

void writeAgencyHeading(DocumentEngine &vp, const ReportFrame &frame, double y,
                        const QString &title, double bottom, double titleSize)
{
    vp.setAlignment(7);
    vp.setTypeFace(QStringLiteral("Arial"));
    // The address lines and the title below the agency keep their sizes.
    vp.setBold(false);
    vp.setTypeSize(10);
    double below = 2 * vp.LineHeight();
    vp.setBold(true);
    vp.setTypeSize(titleSize);
    below += vp.LineHeight();
    vp.setCursorY(y);
    vp.setTypeSize(12);
    writeFittedParagraphs(vp, {frame.agency}, bottom - below);
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
    return vehiclesCaption(direction);
}

void writeSurveyFactColumns(DocumentEngine &vp, const SurveyFacts &f, double bottom)
{
    vp.setColumnCount(2);
    vp.setAlignment(0);
    vp.setTypeSize(10);
    vp.setCursorY(2304);
    writeFittedParagraphs(
        vp,
        {QStringLiteral("Batch Number: ") + f.batch, QString(),
         QStringLiteral("Start Date: ") + f.startDate, QStringLiteral("End Date: ") + f.endDate,
         QString(), QStringLiteral("Zone: ") + f.zone, QStringLiteral("Location: ") + f.location},
        bottom);
    vp.DocumentAction(DocumentEngine::NextColumnAction);
    vp.setAlignment(8);
    vp.setCursorY(2736);
    writeFittedParagraphs(vp,
                          {QStringLiteral("Start Time: ") + f.startTime,
                           QStringLiteral("End Time: ") + f.endTime, QString(),
                           QStringLiteral("Direction of Travel: ") + f.direction},
                          bottom);
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

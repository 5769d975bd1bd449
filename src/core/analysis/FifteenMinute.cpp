#include "core/analysis/FifteenMinute.h"

#include "core/text/TextPatterns.h"

namespace roadtally {

namespace {

const QString NotAvailable = QStringLiteral("N/A");

QString shareText(double part, double whole)
{
    return formatNumber(part / whole * 100.0, QStringLiteral("##.##")) + QLatin1Char('%');
}

// The peak hour's span from the time cell of its hour row: the cell ends the
// hour ("07:45 - 08:00"), so its 4th and 5th characters become "00".
QString peakSpan(QString cell)
{
    for (int i = 3; i <= 4 && i < cell.size(); ++i)
        cell[i] = QLatin1Char('0');
    return cell;
}

PeakAnalysis analysis(double total, double peak, const QString &peakTime, double dayTotal)
{
    if (total == 0)
        return {NotAvailable, NotAvailable, NotAvailable, NotAvailable, NotAvailable};
    return {plainNumber(total), peakSpan(peakTime), plainNumber(peak) + QStringLiteral("/hr"),
            shareText(peak, total), shareText(peak, dayTotal)};
}

} // namespace

FifteenMinuteLayout fifteenMinuteLayout(SurveyDirection direction)
{
    FifteenMinuteLayout l;
    switch (direction) {
    case SurveyDirection::Approaching:
        l.fields = QStringList{QStringLiteral("timeAM"),     QStringLiteral("AMApp"),
                               QStringLiteral("tHourAMApp"), QStringLiteral("timePM"),
                               QStringLiteral("PMApp"),      QStringLiteral("tHourPMApp")};
        l.headers = QStringList{QStringLiteral("Time AM"),    QStringLiteral("App"),
                                QStringLiteral("Hour Total"), QStringLiteral("Time PM"),
                                QStringLiteral("App"),        QStringLiteral("Hour Total")};
        break;
    case SurveyDirection::Receding:
        l.fields = QStringList{QStringLiteral("timeAM"),     QStringLiteral("AMRec"),
                               QStringLiteral("tHourAMRec"), QStringLiteral("timePM"),
                               QStringLiteral("PMRec"),      QStringLiteral("tHourPMRec")};
        l.headers = QStringList{QStringLiteral("Time AM"),    QStringLiteral("Rec"),
                                QStringLiteral("Hour Total"), QStringLiteral("Time PM"),
                                QStringLiteral("Rec"),        QStringLiteral("Hour Total")};
        break;
    case SurveyDirection::Both:
        l.fields = QStringList{QStringLiteral("timeAM"), QStringLiteral("AMApp"),
                               QStringLiteral("AMRec"),  QStringLiteral("AMHourTotal"),
                               QStringLiteral("timePM"), QStringLiteral("PMApp"),
                               QStringLiteral("PMRec"),  QStringLiteral("PMHourTotal")};
        l.headers = QStringList{QStringLiteral("Time AM"), QStringLiteral("A"),
                                QStringLiteral("R"),       QStringLiteral("Hour Total"),
                                QStringLiteral("Time PM"), QStringLiteral("A"),
                                QStringLiteral("R"),       QStringLiteral("Hour Total")};
        l.widths = {1300, 600, 600, 1100, 1300, 600, 600, 1100};
        l.gridWidth = 7590;
        l.morningTotalColumn = 3;
        l.afternoonTotalColumn = 7;
        l.afternoonTimeColumn = 4;
        return l;
    }
    l.widths = {1300, 600, 1100, 1300, 600, 1100};
    l.gridWidth = 6390;
    l.morningTotalColumn = 2;
    l.afternoonTotalColumn = 5;
    l.afternoonTimeColumn = 3;
    return l;
}

const QStringList &analysisCaptions()
{
    static const QStringList captions{
        QStringLiteral("AM Total *"),        QStringLiteral("Peak Hour *"),
        QStringLiteral("Peak Flow *"),       QStringLiteral("Peak % of AM *"),
        QStringLiteral("Peak % of 24 Hr *"), QStringLiteral("Peak % of 24 Hr *"),
        QStringLiteral("Peak % of PM *"),    QStringLiteral("Peak Flow *"),
        QStringLiteral("Peak Hour *"),       QStringLiteral("PM Total *")};
    return captions;
}

void analysePeaks(FifteenMinuteResult &result)
{
    const FifteenMinuteLayout &l = result.layout;
    auto cell = [&result](int row, int column) {
        // row counted from 1 as in the grid; beyond the rows or the columns: empty
        if (row < 1 || row > result.rows.size())
            return QString();
        const QStringList &cells = result.rows.at(row - 1);
        return column < cells.size() ? cells.at(column) : QString();
    };
    double amPeak = 0, pmPeak = 0, amTotal = 0, pmTotal = 0;
    QString amPeakTime, pmPeakTime;
    for (int r = 4; r <= 48; r += 4) {
        const double a = numericValue(cell(r, l.morningTotalColumn));
        if (a > amPeak) {
            amPeak = a;
            amPeakTime = cell(r, 0);
        }
        const double p = numericValue(cell(r, l.afternoonTotalColumn));
        if (p > pmPeak) {
            pmPeak = p;
            pmPeakTime = cell(r, l.afternoonTimeColumn);
        }
        amTotal += a;
        pmTotal += p;
    }
    const double day = amTotal + pmTotal;
    result.am = analysis(amTotal, amPeak, amPeakTime, day);
    result.pm = analysis(pmTotal, pmPeak, pmPeakTime, day);
    result.label21 = QStringList{result.am.total,     result.am.peakHour, result.am.peakFlow,
                                 result.am.peakShare, result.am.dayShare, result.pm.dayShare,
                                 result.pm.peakShare, result.pm.peakFlow, result.pm.peakHour,
                                 result.pm.total};
}

FifteenMinuteResult fifteenMinute(DatabaseSession &session, const FifteenMinuteInput &input)
{
    FifteenMinuteResult result;
    result.layout = fifteenMinuteLayout(input.direction);
    session.requireOpen();
    QStringList columns;
    for (const QString &f : result.layout.fields)
        columns << QStringLiteral("[%1]").arg(f);
    QSqlQuery q = session.exec(QStringLiteral("SELECT %1 FROM [Time_15] WHERE [Batch_Number] = ? "
                                              "AND [Date] = ? ORDER BY [TimeAM]")
                                   .arg(columns.join(QStringLiteral(", "))),
                               {input.batch, input.date});
    const int n = int(columns.size());
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < n; ++i)
            cells << (q.value(i).isNull() ? QString() : q.value(i).toString());
        result.rows << cells;
    }
    q.finish();
    analysePeaks(result);
    return result;
}

} // namespace roadtally

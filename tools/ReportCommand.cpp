// roadtally-cli report: one report of a stored survey as a PDF file, built by
// the same builders and engine as the print preview, from the captions the
// main window would show.
#include "CliArguments.h"
#include "Commands.h"

#include "reports/PdfOutput.h"
#include "reports/ReportCaptions.h"
#include "reports/ReportSummary.h"
#include "reports/SpeedProfile.h"
#include "store/DatabaseSession.h"
#include "text/TextPatterns.h"
#include "views/DisplayScheme.h"
#include "views/SurveyCriteria.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace roadtally {

namespace {

const QVector<OptionSpec> &reportOptions()
{
    static const QVector<OptionSpec> specs = {
        {QStringLiteral("folder"), 1, QStringLiteral("DIR"),
         QStringLiteral("the program folder that holds OV97.mdb")},
        {QStringLiteral("batch"), 1, QStringLiteral("B"),
         QStringLiteral("batch number of the survey (required)")},
        {QStringLiteral("report"), 1, QStringLiteral("KIND"),
         QStringLiteral(
             "summary, fifteen, weekly, speeds, percentile, volume or profile (required)")},
        {QStringLiteral("pdf"), 1, QStringLiteral("OUT.pdf"),
         QStringLiteral("the PDF file to write (required)")},
        {QStringLiteral("scheme"), 1, QStringLiteral("NAME"),
         QStringLiteral("display scheme of the summary (default \"15 to 70 by 5 MPH\" or \"35 to "
                        "90 by 5 KPH\")")},
        {QStringLiteral("direction"), 1, QStringLiteral("DIR"),
         QStringLiteral("approaching, receding or both (default both)")},
        {QStringLiteral("date"), 1, QStringLiteral("mm/dd/yy"),
         QStringLiteral("survey date of the fifteen-minute and daily volume reports")},
        {QStringLiteral("printer"), 1, QStringLiteral("color|bw"),
         QStringLiteral("chart colours (default color)")},
        {QStringLiteral("officer"), 1, QStringLiteral("NAME"),
         QStringLiteral(
             "officer who prepares the report (default: the first of the officer list)")},
    };
    return specs;
}

QString help()
{
    return QStringLiteral(
               "Usage: roadtally-cli report --folder DIR --batch B --report KIND --pdf OUT.pdf\n"
               "                           [--scheme NAME] [--direction "
               "approaching|receding|both]\n"
               "                           [--date mm/dd/yy] [--printer color|bw] [--officer "
               "NAME]\n"
               "\n"
               "Builds one report of the survey B in DIR/OV97.mdb as the print preview builds it "
               "and\n"
               "writes it as a PDF file (US Letter). The agency heading, the address and the two\n"
               "report options come from the database, as the administration window keeps them.\n"
               "An existing OUT.pdf is replaced only when the new file is "
               "complete.\n\nOptions:\n") +
           optionHelp(reportOptions());
}

int usageError(QTextStream &err, const QString &problem)
{
    err << "roadtally-cli report: " << problem
        << "\n(roadtally-cli report --help shows the options)\n";
    return 2;
}

int failure(QTextStream &err, const QString &problem)
{
    err << "roadtally-cli report: " << problem << "\n";
    return 1;
}

struct Request
{
    QString database;
    QString batch;
    QString kind;
    QString pdf;
    QString scheme;
    SurveyDirection direction = SurveyDirection::Both;
    QString date;
    bool colour = true;
    QString officer; // null: the first of the list
};

// Builds the report into the engine; returns "" or what failed.
QString buildSummary(DocumentEngine &vp, DatabaseSession &session, const Request &request,
                     const SurveyFacts &facts)
{
    const QStringList offered = displaySchemeNames(facts.unit);
    QString name = request.scheme;
    if (name.isEmpty()) {
        for (const QString &candidate : offered)
            if (findDisplayScheme(candidate)->procedure == QLatin1String("schemeA") ||
                findDisplayScheme(candidate)->procedure == QLatin1String("schemeK"))
                name = candidate;
    }
    const DisplayScheme *scheme = findDisplayScheme(name);
    if (!scheme || !offered.contains(name)) {
        return offered.isEmpty()
                   ? QStringLiteral("the survey's unit \"%1\" has no display schemes")
                         .arg(facts.unit)
                   : QStringLiteral("no display scheme \"%1\" for a %2 survey; choose one of: %3")
                         .arg(name, facts.unit, offered.join(QStringLiteral(", ")));
    }
    const QHash<QString, QVariant> summary = summaryRow(session, request.batch);
    ReportSummaryInput in;
    in.frame = readReportFrame(session, request.officer);
    in.facts = facts;
    in.totals = surveyTotals(summary);
    in.statistics = speedStatistics(summary, request.direction);
    in.direction = request.direction;
    in.schemeName = scheme->name;
    const SchemeResult bins = computeScheme(session, request.batch, *scheme, request.direction,
                                            directionTotal(in.totals, request.direction));
    for (int i = 0; i < 13; ++i) {
        in.binHeadings[size_t(i)] = scheme->bins.at(i).label;
        in.volumes[size_t(i)] = bins.volumeTexts.value(i);
        in.percents[size_t(i)] = bins.percentTexts.value(i);
    }
    ReportSummary(vp, in);
    return {};
}

QString buildProfile(DocumentEngine &vp, DatabaseSession &session, const Request &request,
                     const SurveyFacts &facts)
{
    SpeedProfileInput in;
    in.batch = facts.batch;
    in.startDate = facts.startDate;
    in.endDate = facts.endDate;
    const BandHeaders bands = bandHeaders(facts.postedLimit);
    in.bandHeadings = {bands.first, bands.second, bands.third};
    in.rows = speedProfileRows(session, request.batch, request.direction);
    SpeedProfile(vp, in);
    return {};
}

} // namespace

int reportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const ParsedArguments args = parseArguments(arguments, reportOptions());
    if (args.help) {
        out << help();
        return 0;
    }
    if (!args.error.isEmpty())
        return usageError(err, args.error);
    if (!args.positional.isEmpty())
        return usageError(err,
                          QStringLiteral("unexpected argument %1").arg(args.positional.first()));
    for (const char *required : {"folder", "batch", "report", "pdf"}) {
        const QString name = QString::fromLatin1(required);
        if (args.value(name).isEmpty())
            return usageError(err, QStringLiteral("missing --%1 %2")
                                       .arg(name, name == QLatin1String("pdf")
                                                      ? QStringLiteral("OUT.pdf")
                                                      : name.toUpper()));
    }
    Request request;
    request.batch = args.value(QStringLiteral("batch"));
    request.kind = args.value(QStringLiteral("report")).toLower();
    request.pdf = args.value(QStringLiteral("pdf"));
    request.scheme = args.value(QStringLiteral("scheme"));
    request.date = args.value(QStringLiteral("date"));
    if (args.has(QStringLiteral("officer")))
        request.officer = args.value(QStringLiteral("officer"));
    static const QStringList kinds = {QStringLiteral("summary"),    QStringLiteral("fifteen"),
                                      QStringLiteral("weekly"),     QStringLiteral("speeds"),
                                      QStringLiteral("percentile"), QStringLiteral("volume"),
                                      QStringLiteral("profile")};
    if (!kinds.contains(request.kind))
        return usageError(
            err,
            QStringLiteral("--report must be one of %1").arg(kinds.join(QStringLiteral(", "))));
    if (args.has(QStringLiteral("direction"))) {
        const QString d = args.value(QStringLiteral("direction")).toLower();
        if (d == QLatin1String("approaching"))
            request.direction = SurveyDirection::Approaching;
        else if (d == QLatin1String("receding"))
            request.direction = SurveyDirection::Receding;
        else if (d == QLatin1String("both"))
            request.direction = SurveyDirection::Both;
        else
            return usageError(err,
                              QStringLiteral("--direction must be approaching, receding or both"));
    }
    if (args.has(QStringLiteral("printer"))) {
        const QString p = args.value(QStringLiteral("printer")).toLower();
        if (p != QLatin1String("color") && p != QLatin1String("bw"))
            return usageError(err, QStringLiteral("--printer must be color or bw"));
        request.colour = p == QLatin1String("color");
    }
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return failure(
            err,
            QStringLiteral("reports need the program's fonts; run it as roadtally-cli report"));

    const QString folder = args.value(QStringLiteral("folder"));
    request.database = existingDatabase(folder);
    if (request.database.isEmpty())
        return failure(err,
                       QStringLiteral("there is no survey database OV97.mdb in %1").arg(folder));

    DocumentEngine vp;
    SetDefaultStyle(vp);
    QString problem;
    try {
        DatabaseSession session(request.database);
        session.requireOpen();
        bool found = false;
        const SurveyFacts facts = readSurveyFacts(session, request.batch, &found);
        if (!found)
            return failure(err,
                           QStringLiteral("there is no survey with batch number %1 in %2")
                               .arg(request.batch, QDir::toNativeSeparators(request.database)));
        if (request.kind == QLatin1String("summary"))
            problem = buildSummary(vp, session, request, facts);
        else if (request.kind == QLatin1String("profile"))
            problem = buildProfile(vp, session, request, facts);
        else
            problem = QStringLiteral("the %1 report is not available from the command line yet")
                          .arg(request.kind);
    } catch (const DatabaseError &error) {
        problem = QString::fromUtf8(error.what());
    }
    if (!problem.isEmpty())
        return failure(err, problem);
    if (!vp.document() || vp.EngineError() != 0)
        return failure(err, QStringLiteral("the report could not be laid out"));

    const QString written = writePdf(*vp.document(), request.pdf,
                                     QStringLiteral("Roadtally report %1").arg(request.batch));
    if (!written.isEmpty())
        return failure(err, written);
    out << "Report written: " << QDir::toNativeSeparators(request.pdf) << " (" << vp.pageCount()
        << (vp.pageCount() == 1 ? " page" : " pages") << ")\n";
    return 0;
}

} // namespace roadtally

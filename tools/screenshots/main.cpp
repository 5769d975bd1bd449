// roadtally-shots OUTDIR
//
// Builds a throw-away program folder with a blank survey database, stores two
// generated sample surveys in it through the import, then opens every window and
// tab of the program (offscreen unless told otherwise) and saves one PNG per
// window or tab into OUTDIR. A window the program does not have is skipped with
// a note; a message box that pops up on the way is noted and closed.

#include "sample/SampleSurvey.h"

#include "core/intake/RawDataFile.h"
#include "core/intake/VehicleImport.h"
#include "core/store/DatabaseChoice.h"
#include "core/store/DatabaseSession.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "gui/admin/Blankform.h"
#include "gui/admin/CopySurveysDialog.h"
#include "gui/admin/SurveyDatabaseDialog.h"
#include "gui/admin/frmOpenSurvey.h"
#include "gui/compare/CompareSurveys.h"
#include "gui/info/HelpWindow.h"
#include "gui/info/frmAbout.h"
#include "gui/info/pace_description.h"
#include "gui/info/percent.h"
#include "gui/kit/Forms.h"
#include "gui/kit/HelpKey.h"
#include "gui/shell/DailyVolumeTab.h"
#include "gui/shell/FifteenMinuteTab.h"
#include "gui/shell/SpeedChartTab.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/WeeklyTab.h"
#include "gui/shell/frmRoadtally.h"

#include "gui/admin/DBManagement.h"
#include "gui/admin/DeleteDB.h"
#include "gui/admin/DeleteSurvey.h"
#include "gui/admin/frmAdminSetup.h"
#include "gui/admin/frmSpeed_Profile.h"
#include "gui/intake/frmLoadDataFile.h"
#include "gui/intake/frmProcessData.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace roadtally {
namespace {

void say(const QString &text)
{
    std::fprintf(stdout, "%s\n", qPrintable(text));
    std::fflush(stdout);
}

// Lets pending layout, paint and deferred work run.
void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

class Shooter
{
public:
    explicit Shooter(const QString &folder) : m_out(folder) {}

    void shoot(QWidget *window, const QString &name)
    {
        if (!window) {
            skip(name, QStringLiteral("window not available"));
            return;
        }
        if (!window->isVisible())
            window->show();
        settle();
        const QString path = m_out.filePath(name + QStringLiteral(".png"));
        if (window->grab().save(path)) {
            ++m_saved;
            say(QStringLiteral("saved   %1 (%2)").arg(path, window->windowTitle()));
        } else {
            note(QStringLiteral("could not write %1").arg(path));
        }
    }

    void skip(const QString &name, const QString &why)
    {
        note(QStringLiteral("skipped %1: %2").arg(name, why));
    }

    void note(const QString &text)
    {
        m_notes << text;
        say(text);
    }

    int saved() const { return m_saved; }
    const QStringList &notes() const { return m_notes; }

private:
    QDir m_out;
    int m_saved = 0;
    QStringList m_notes;
};

// Any message box the windows open would wait for a user: note it and close it.
void watchForMessageBoxes(Shooter &shooter)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, [&shooter] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (box && box->isVisible()) {
                shooter.note(QStringLiteral("message box \"%1\": %2")
                                 .arg(box->windowTitle(), box->text().simplified()));
                box->done(QMessageBox::Ok);
            }
        }
    });
    timer->start();
}

QString slug(QString text)
{
    text = text.toLower();
    text.replace(QLatin1Char('&'), QString());
    QString out;
    for (QChar c : text) {
        if (c.isLetterOrNumber())
            out += c;
        else if (!out.isEmpty() && !out.endsWith(QLatin1Char('-')))
            out += QLatin1Char('-');
    }
    while (out.endsWith(QLatin1Char('-')))
        out.chop(1);
    return out;
}

template <class Vector> auto *entry(const Vector &controls, int index)
{
    return index >= 0 && index < controls.size() ? controls.at(index) : nullptr;
}

void clickIfThere(QAbstractButton *button)
{
    if (button && button->isEnabled())
        button->click();
}

// The print preview on screen, at the given size, then closed. The preview
// deletes itself (and its dialogs) when closed: find it first, then shoot and
// close it, never touching the window list again.
void shootPreview(Shooter &shooter, const QWidget &main, const QSize &size, const QString &name)
{
    QPointer<QWidget> preview;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top != &main && top->isVisible() &&
            top->windowTitle() == QStringLiteral("Roadtally Print Preview"))
            preview = top;
    if (!preview)
        return;
    preview->resize(size);
    settle();
    if (preview)
        shooter.shoot(preview, name);
    if (preview)
        preview->close();
    settle();
}

// Chooses an entry of a list the way a user does: the entry, then its click.
void choose(QComboBox *combo, int index)
{
    if (!combo || index < 0 || index >= combo->count())
        return;
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
}

struct SurveyPlan
{
    QString fileName;
    QString letter;
    QString location;
    SampleOptions options;
};

bool storeSurvey(const QString &folder, const SurveyPlan &plan, Shooter &shooter)
{
    const QString path = QDir(folder).filePath(plan.fileName);
    const QString written = writeSampleSurvey(generateSampleSurvey(plan.options), path);
    if (!written.isEmpty()) {
        shooter.note(QStringLiteral("sample %1: %2").arg(plan.fileName, written));
        return false;
    }
    const LoadResult loaded = loadRawDataFile(folder, plan.fileName);
    if (loaded.status != LoadStatus::Loaded) {
        shooter.note(QStringLiteral("sample %1 did not load").arg(plan.fileName));
        return false;
    }
    const RawHeader header = readRawHeader(loaded.text);
    ImportInput input;
    input.batchNumber = header.batchNumber(plan.letter);
    input.locationCode = header.locationCode;
    input.location = plan.location;
    input.startDate = header.batchDate;
    input.startTime = header.startTime;
    input.postedSpeed = header.postedSpeed;
    input.unit = plan.options.kph ? QStringLiteral("KPH") : QStringLiteral("MPH");
    input.direction = QStringLiteral("North");
    input.zone = QStringLiteral("Residential");
    input.rawText = loaded.text;
    const ImportResult result = importSurvey(sharedState().deriveDatabasePath(), input);
    if (result.outcome != ImportOutcome::Stored) {
        shooter.note(QStringLiteral("import of %1 failed: %2 %3")
                         .arg(plan.fileName, importMessage(result.outcome), result.detail));
        return false;
    }
    say(QStringLiteral("stored  %1 as %2 (%3 vehicles)")
            .arg(plan.fileName, input.batchNumber)
            .arg(result.storedVehicles));
    return true;
}

// A template, so that controls the main window has not got are passed over.
template <class Main> void shootMainWindow(Shooter &shooter, Main &main)
{
    // The window's designed size: it would shrink to the offscreen screen's 800 x 800.
    main.resize(1280, 800);
    main.show();
    settle();
    shooter.shoot(&main, QStringLiteral("01-main-start-panel"));

    // "Open An Existing Survey" from the start panel.
    if constexpr (requires { main.openSurvey(true); })
        main.openSurvey(true);
    if (!form<frmOpenSurvey>().isVisible()) {
        main.setEnabled(false);
        if (main.splashframe)
            main.splashframe->hide();
        main.openSurveyWindow().show();
    }
    frmOpenSurvey &open = form<frmOpenSurvey>();
    settle();
    shooter.shoot(&open, QStringLiteral("02-open-survey"));
    if (open.Batch_List->count() == 0) {
        shooter.note(QStringLiteral("the survey list is empty; the survey views stay empty"));
        open.Command1_Click();
        return;
    }
    // A user's choice of the second line, then a double click on the first.
    const int last = open.Batch_List->count() - 1;
    open.Batch_List->setCurrentRow(last);
    open.Batch_List_Click(open.Batch_List->item(last));
    shooter.shoot(&open, QStringLiteral("02-open-survey-chosen"));
    open.Batch_List->setCurrentRow(0);
    open.Batch_List_Click(open.Batch_List->item(0));
    open.Batch_List_DblClick(open.Batch_List->item(0));
    settle();
    shooter.shoot(&main, QStringLiteral("03-summary-opened"));

    // Each display scheme (both directions), then each direction with the second scheme.
    QComboBox *schemes = nullptr;
    if constexpr (requires { main.summary->Combo1; })
        schemes = main.summary->Combo1;
    const int schemeCount = schemes ? schemes->count() : 0;
    if (schemeCount == 0)
        shooter.skip(QStringLiteral("04-summary-scheme"),
                     QStringLiteral("no display schemes listed"));
    const QStringList directions = {QStringLiteral("approaching"), QStringLiteral("receding"),
                                    QStringLiteral("both")};
    for (int d = 0; d < 3; ++d) {
        QRadioButton *option = entry(main.summary->Option1, d);
        if (!option) {
            shooter.skip(QStringLiteral("summary-") + directions[d],
                         QStringLiteral("no direction option"));
            continue;
        }
        option->click();
        choose(schemes, qMin(1, schemeCount - 1));
        settle();
        shooter.shoot(&main, QStringLiteral("04-summary-%1-%2").arg(d + 1).arg(directions[d]));
    }
    for (int s = 0; s < schemeCount; ++s) {
        choose(schemes, s);
        settle();
        shooter.shoot(
            &main,
            QStringLiteral("05-summary-scheme-%1-%2").arg(s + 1).arg(slug(schemes->itemText(s))));
    }

    // The other tabs, each with its first choice made.
    QTabWidget *tabs = main.SSTab;
    if (!tabs) {
        shooter.skip(QStringLiteral("tabs"), QStringLiteral("no tab control"));
        return;
    }
    for (int t = 1; t < tabs->count(); ++t) {
        tabs->setCurrentIndex(t);
        settle();
        switch (t) {
        case 1:
            clickIfThere(entry(main.speeds->direction, 3));
            break;
        case 2:
            clickIfThere(entry(main.volume->option4, 2));
            choose(main.volume->DateVolume, 1); // a whole day

            break;
        case 3:
            clickIfThere(entry(main.percentile->direction, 3));
            break;
        case 4:
            clickIfThere(entry(main.fifteen->option7, 2));
            choose(main.fifteen->Date15min, 1);
            break;
        case 5:
            if constexpr (requires { main.weekly->Command8; })
                clickIfThere(main.weekly->Command8);
            break;
        default:
            break;
        }
        settle();
        shooter.shoot(&main,
                      QStringLiteral("%1-tab%2-%3").arg(10 + t).arg(t).arg(slug(tabs->tabText(t))));
        // The speed charts again in the black-and-white printer mode.
        SpeedChartTab *chart = t == 1 ? main.speeds : t == 3 ? main.percentile : nullptr;
        if (chart) {
            clickIfThere(chart->PrinterBW);
            clickIfThere(entry(chart->direction, 5));
            settle();
            shooter.shoot(
                &main,
                QStringLiteral("%1-tab%2-%3-bw").arg(10 + t).arg(t).arg(slug(tabs->tabText(t))));
        }
    }
    // The weekly report in the preview, as "Print Chart" opens it.
    if constexpr (requires { main.weekly->Command3; }) {
        clickIfThere(main.weekly->Command3);
        settle();
        shootPreview(shooter, main, QSize(1100, 820), QStringLiteral("16-preview-weekly"));
    }
    tabs->setCurrentIndex(0);
    settle();
}

// The comparison window on the survey the main window shows (the week) and the
// later survey of its street it suggests, then its report in the preview.
void shootComparison(Shooter &shooter, frmRoadtally &main)
{
    main.showCompareSurveys();
    settle();
    CompareSurveys &compare = main.compareSurveysWindow();
    shooter.shoot(&compare, QStringLiteral("17-compare-surveys"));
    if (compare.printComparison->isEnabled()) {
        compare.printComparison->click();
        settle();
        shootPreview(shooter, main, QSize(1100, 1000), QStringLiteral("18-preview-compare"));
    } else {
        shooter.note(QStringLiteral("the comparison window shows: %1").arg(compare.message()));
    }
    compare.close();
    settle();
}

template <class Load>
void shootIntakeWindows(Shooter &shooter, Load &load, const QString &sampleName)
{
    if constexpr (requires { load.showLoadMode(); })
        load.showLoadMode();
    else
        load.show();
    settle();
    shooter.shoot(&load, QStringLiteral("20-load-data-file"));
    bool loaded = false;
    if constexpr (requires {
                      load.File1;
                      load.File1_Click();
                      load.File_Click();
                  }) {
        const QList<QListWidgetItem *> items =
            load.File1->findItems(sampleName, Qt::MatchFixedString);
        if (!items.isEmpty()) {
            load.File1->setCurrentItem(items.first());
            load.File1_Click();
            load.File_Click();
            settle();
            loaded = formExists<frmProcessData>() && form<frmProcessData>().isVisible();
        }
    }
    if (!loaded) {
        shooter.note(QStringLiteral("the data file dialog did not open %1; showing it directly")
                         .arg(sampleName));
        const LoadResult raw = loadRawDataFile(sharedState().surveyFolder(), sampleName);
        auto &process = form<frmProcessData>();
        if constexpr (requires { process.showRawData(QString()); })
            process.showRawData(raw.text);
        load.hide();
    }
    frmProcessData &process = form<frmProcessData>();
    process.show();
    settle();
    // The header as a user completes it before processing.
    if constexpr (requires { process.Input_Location->setText(QString()); })
        process.Input_Location->setText(QStringLiteral("Maple Avenue at 5th Street"));
    if constexpr (requires { process.Input_Direction->setEditText(QString()); })
        process.Input_Direction->setEditText(QStringLiteral("North"));
    if constexpr (requires { process.Input_Zone->setEditText(QString()); })
        process.Input_Zone->setEditText(QStringLiteral("Residential"));
    auto *tabs = process.findChild<QTabWidget *>();
    if (!tabs) {
        shooter.shoot(&process, QStringLiteral("21-process-data"));
    } else {
        for (int t = 0; t < tabs->count(); ++t) {
            tabs->setCurrentIndex(t);
            settle();
            shooter.shoot(&process, QStringLiteral("2%1-process-data-tab%2-%3")
                                        .arg(1 + t)
                                        .arg(t)
                                        .arg(slug(tabs->tabText(t))));
        }
        tabs->setCurrentIndex(0);
    }
    process.hide();
    load.hide();
}

void shootIntake(Shooter &shooter, const QString &sampleName)
{
    shootIntakeWindows(shooter, form<frmLoadDataFile>(), sampleName);
    form<frmRoadtally>().setEnabled(true);
}

template <class Window> void shootPlain(Shooter &shooter, const QString &name)
{
    Window &window = form<Window>();
    window.show();
    settle();
    shooter.shoot(&window, name);
    window.hide();
}

void shootAdministration(Shooter &shooter)
{
    shootPlain<DeleteSurvey>(shooter, QStringLiteral("30-delete-survey"));
    shootPlain<DeleteDB>(shooter, QStringLiteral("31-delete-database"));
    {
        // With its officer list filled and a name chosen, as after "Refresh" and a click.
        frmAdminSetup &admin = form<frmAdminSetup>();
        admin.show();
        admin.Refresh_Click();
        if (admin.List1->count() > 0)
            admin.List1_Click(admin.List1->item(0));
        settle();
        shooter.shoot(&admin, QStringLiteral("32-admin-setup"));
        admin.hide();
    }
    {
        // The first survey, both directions, as the main window hands it over.
        SpeedProfileSelection selection;
        selection.direction = SurveyDirection::Both;
        try {
            DatabaseSession session(sharedState().deriveDatabasePath());
            QSqlQuery q =
                session.exec(QStringLiteral("SELECT [Batch_Number], [Posted_Limit], [Number_Over] "
                                            "FROM [Summary] ORDER BY rowid LIMIT 1"));
            if (q.next()) {
                selection.batchNumber = q.value(0).toString();
                selection.postedLimit = q.value(1).toString();
                selection.overLimitCount = q.value(2).toString();
                const int limit = selection.postedLimit.toInt();
                selection.bandCaptions = {QString::number(limit) + QLatin1Char('+'),
                                          QString::number(limit + 10) + QLatin1Char('+'),
                                          QString::number(limit + 20) + QLatin1Char('+')};
            }
        } catch (const DatabaseError &e) {
            shooter.note(QString::fromUtf8(e.what()));
        }
        frmSpeed_Profile &profile = form<frmSpeed_Profile>();
        profile.showFor(selection);
        settle();
        shooter.shoot(&profile, QStringLiteral("33-speeding-profile"));
        profile.hide();
    }
    shootPlain<DBManagement>(shooter, QStringLiteral("34-database-management"));
    form<frmRoadtally>().setEnabled(true);

    DatabaseChoice server;
    server.server = true;
    server.host = QStringLiteral("records.example.org");
    server.databaseName = QStringLiteral("surveys");
    server.user = QStringLiteral("officer");
    SurveyDatabaseDialog database(server);
    database.show();
    shooter.shoot(&database, QStringLiteral("35-survey-database"));
    CopySurveysDialog copy(sharedState().deriveDatabasePath(), server.uri());
    copy.show();
    shooter.shoot(&copy, QStringLiteral("36-copy-surveys"));
}

void shootInformation(Shooter &shooter)
{
    shootPlain<pace_description>(shooter, QStringLiteral("40-pace-description"));
    shootPlain<percent>(shooter, QStringLiteral("41-85th-percentile"));
    shootPlain<frmAbout>(shooter, QStringLiteral("42-about"));
    // The user guide at its first page and at the page of the processing window.
    HelpWindow &help = form<HelpWindow>();
    help.showPage(kit::HelpContents);
    shootPlain<HelpWindow>(shooter, QStringLiteral("44-help"));
    help.showPage(QStringLiteral("loading"));
    shootPlain<HelpWindow>(shooter, QStringLiteral("45-help-loading"));
}

} // namespace
} // namespace roadtally

int main(int argc, char *argv[])
{
    using namespace roadtally;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_FONT_DPI"))
        qputenv("QT_FONT_DPI", "96");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Roadtally"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: roadtally-shots OUTDIR\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "roadtally-shots: cannot create %s\n", argv[1]);
        return 1;
    }

    QTemporaryDir programFolder;
    if (!programFolder.isValid()) {
        std::fprintf(stderr, "roadtally-shots: no temporary folder\n");
        return 1;
    }
    sharedState().setProgramFolder(programFolder.path());
    const QString blank = createBlankDatabase(sharedState().deriveDatabasePath());
    if (!blank.isEmpty()) {
        std::fprintf(stderr, "roadtally-shots: %s\n", qPrintable(blank));
        return 1;
    }
    createBlankDatabase(QDir(programFolder.path()).filePath(QString::fromLatin1(BlankFileName)));

    Shooter shooter(outDir);
    watchForMessageBoxes(shooter);

    // Two surveys of the same start date, differing in their batch letter: a week
    // on a residential street, and a single day from the morning on.
    SurveyPlan week{QStringLiteral("Week.ovd"),
                    QStringLiteral("A"),
                    QStringLiteral("Maple Avenue at 5th Street"),
                    {}};
    week.options.vehicles = 6000;
    week.options.days = 7;
    week.options.seed = 7;
    SurveyPlan day{QStringLiteral("Morning.ovd"),
                   QStringLiteral("B"),
                   QStringLiteral("Elm Street school zone"),
                   {}};
    day.options.startTime = QTime(7, 30);
    day.options.vehicles = 900;
    day.options.days = 1;
    day.options.seed = 11;
    day.options.postedSpeed = 25;
    // The week's street again in July, after speed humps: 4 mph slower.
    SurveyPlan after{QStringLiteral("After.ovd"),
                     QStringLiteral("A"),
                     QStringLiteral("Maple Avenue at 5th Street"),
                     {}};
    after.options.vehicles = 5600;
    after.options.days = 7;
    after.options.seed = 9;
    after.options.startDate = QDate(2025, 7, 15);
    after.options.speedShift = -4;
    // An agency and an officer, as the administration window keeps them.
    try {
        DatabaseSession session(sharedState().deriveDatabasePath());
        session.exec(
            QStringLiteral("UPDATE [Agency] SET [Admin_Agency] = ?, [Addr1] = ?, [Addr2] = ?"),
            {QStringLiteral("Riverside Police Department"), QStringLiteral("100 Main Street"),
             QStringLiteral("Riverside")});
        session.exec(QStringLiteral("INSERT INTO [Officer] ([Admin_Officer]) VALUES (?)"),
                     {QStringLiteral("Sgt. J. Alvarez")});
    } catch (const DatabaseError &e) {
        shooter.note(
            QStringLiteral("agency and officer not stored: %1").arg(QString::fromUtf8(e.what())));
    }
    storeSurvey(programFolder.path(), week, shooter);
    storeSurvey(programFolder.path(), day, shooter);
    storeSurvey(programFolder.path(), after, shooter);

    shootMainWindow(shooter, form<frmRoadtally>());
    shootComparison(shooter, form<frmRoadtally>());
    shootIntake(shooter, week.fileName);
    shootAdministration(shooter);
    shootInformation(shooter);

    say(QStringLiteral("%1 pictures in %2; %3 notes")
            .arg(shooter.saved())
            .arg(outDir)
            .arg(shooter.notes().size()));
    return shooter.saved() > 0 ? 0 : 1;
}

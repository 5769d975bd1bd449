// The main window's Edit and Options menus and the windows they open: delete
// a survey, database management, erase every survey, administration setup;
// and the speeding profile window of the summary tab. Each window signals
// this window, which does its own resets.

#include "gui/shell/frmRoadtally.h"

#include "core/store/DatabaseChoice.h"
#include "core/store/DatabaseLocation.h"
#include "core/store/SharedState.h"
#include "core/upkeep/SurveyCopy.h"
#include "gui/admin/Blankform.h"
#include "gui/admin/CopySurveysDialog.h"
#include "gui/admin/DBManagement.h"
#include "gui/admin/DeleteDB.h"
#include "gui/admin/DeleteSurvey.h"
#include "gui/admin/SurveyDatabaseDialog.h"
#include "gui/admin/frmAdminSetup.h"
#include "gui/admin/frmSpeed_Profile.h"
#include "gui/kit/Forms.h"
#include "gui/kit/WidgetKit.h"
#include "gui/shell/SpeedStudyTab.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/WeeklyTab.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>

namespace roadtally {

using namespace kit;

DeleteSurvey &frmRoadtally::deleteSurveyWindow()
{
    DeleteSurvey &w = form<DeleteSurvey>();
    connect(&w, &DeleteSurvey::surveyDeleted, this, &frmRoadtally::surveyDeleted,
            Qt::UniqueConnection);
    connect(&w, &DeleteSurvey::closed, this, &frmRoadtally::returnFromChild, Qt::UniqueConnection);
    return w;
}

DeleteDB &frmRoadtally::deleteDatabaseWindow()
{
    DeleteDB &w = form<DeleteDB>();
    connect(&w, &DeleteDB::databaseErased, this, &frmRoadtally::databaseErased,
            Qt::UniqueConnection);
    connect(&w, &DeleteDB::closed, this, &frmRoadtally::returnFromChild, Qt::UniqueConnection);
    return w;
}

void frmRoadtally::mnuDeleteSurvey_Click()
{
    setEnabled(false);
    DeleteSurvey &w = deleteSurveyWindow();
    w.show();
    w.raise();
    w.activateWindow();
}

frmAdminSetup &frmRoadtally::adminSetupWindow()
{
    frmAdminSetup &w = form<frmAdminSetup>();
    connect(&w, &frmAdminSetup::officerChosen, this, &frmRoadtally::officerChosen,
            Qt::UniqueConnection);
    connect(&w, &frmAdminSetup::agencyUpdated, this, &frmRoadtally::agencyUpdated,
            Qt::UniqueConnection);
    connect(&w, &frmAdminSetup::closed, this, &frmRoadtally::returnFromChild, Qt::UniqueConnection);
    return w;
}

frmSpeed_Profile &frmRoadtally::speedProfileWindow()
{
    frmSpeed_Profile &w = form<frmSpeed_Profile>();
    connect(&w, &frmSpeed_Profile::printRequested, this, &frmRoadtally::speedProfilePrintRequested,
            Qt::UniqueConnection);
    connect(&w, &frmSpeed_Profile::closed, this, &frmRoadtally::returnFromChild,
            Qt::UniqueConnection);
    return w;
}

void frmRoadtally::showAdminSetup()
{
    setEnabled(false);
    frmAdminSetup &w = adminSetupWindow();
    w.show();
    w.raise();
    w.activateWindow();
}

void frmRoadtally::mnudeletedatabase_Click()
{
    setEnabled(false);
    DeleteDB &w = deleteDatabaseWindow();
    w.show();
    w.raise();
    w.activateWindow();
}

void frmRoadtally::mnuManageDatabase_Click()
{
    // No empty grey backdrop: the management window alone is shown while the
    // files are worked on.
    DBManagement &w = form<DBManagement>();
    // The way back outlives this window: Close makes a new main window.
    static QMetaObject::Connection back;
    if (!back)
        back = connect(&w, &DBManagement::closed, &w, &frmRoadtally::recreateAfterMaintenance);
    w.show();
    w.raise();
    w.activateWindow();
    // This window goes, and its bound sources with it, while the files are
    // worked on. It is no longer the program's main window from here on, even
    // before it is gone.
    formSlot<frmRoadtally>() = nullptr;
    hide();
    deleteLater();
}

void frmRoadtally::showDatabaseInUse()
{
    const QString server = sharedState().serverDatabase();
    DatabaseInUse->setText(
        server.isEmpty()
            ? QStringLiteral("Survey database: %1 (this computer)")
                  .arg(databaseDisplayName(databasePathIn(sharedState().programFolder())))
            : QStringLiteral("Survey database: %1 (agency server)")
                  .arg(databaseDisplayName(server)));
    // Backup, repair, restore and replace work on the one file only.
    const QString reason = server.isEmpty() ? QString() : serverUpkeepRefusal();
    mnuManageDatabase->setEnabled(server.isEmpty());
    mnuManageDatabase->setToolTip(reason);
    mnuManageDatabase->setStatusTip(reason);
    m2->setToolTipsVisible(!server.isEmpty());
}

void frmRoadtally::mnuSurveyDatabase_Click()
{
    DatabaseChoice current = DatabaseChoice::load();
    if (!sharedState().serverDatabase().isEmpty())
        current = DatabaseChoice::fromUri(sharedState().serverDatabase());
    SurveyDatabaseDialog dialog(current, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString chosen = dialog.choice().server ? dialog.choice().uri() : QString();
    if (chosen == sharedState().serverDatabase())
        return;
    sharedState().setServerDatabase(chosen);
    sharedState().deriveDatabasePath();
    // Whatever was shown came from the other database.
    forgetSurvey();
    showDatabaseInUse();
}

void frmRoadtally::mnuCopySurveys_Click()
{
    CopySurveysDialog dialog(sharedState().deriveDatabasePath(), DatabaseChoice::load().uri(),
                             this);
    dialog.exec();
}

void frmRoadtally::recreateAfterMaintenance()
{
    frmRoadtally &main = form<frmRoadtally>();
    main.show();
    main.raise();
    main.activateWindow();
}

void frmRoadtally::surveyDeleted(const QString &batch)
{
    const QString shown = Data2->text(QStringLiteral("Batch_Number"));
    if (shown.trimmed() == batch.trimmed())
        forgetSurvey();
}

void frmRoadtally::databaseErased()
{
    forgetSurvey();
}

void frmRoadtally::forgetSurvey()
{
    // The sources let go of the rows that are gone and stand on what is left.
    for (BoundDataSource *source : {Data1, Data2, Data3})
        source->refresh();
    summary->setPanelVisible(false);
    {
        // Back on the first tab without a tab change, which would offer "View Last Survey" again.
        const QSignalBlocker blocker(SSTab);
        SSTab->setCurrentIndex(0);
        m_lastTab = 0;
    }
    SSTab->setEnabled(false);
    LastButton->hide();
    LastText->hide();
    m4->setEnabled(false);
    mnuSaveStudy->setEnabled(false);
    weekly->ClearWeekData();
    study->clearSurvey();
    setPrintingEnabled(false);
    showStartPanel();
}

void frmRoadtally::showSpeedProfile()
{
    setEnabled(false);
    // What this window shows hands over: the survey, its limit, the direction's
    // over-limit count and band headers, the chosen direction.
    const SurveyAsShown shown = summary->surveyAsShown();
    SpeedProfileSelection selection;
    selection.batchNumber = shown.facts.batch;
    selection.postedLimit = shown.facts.postedLimit;
    selection.overLimitCount = shown.statistics.bandNumbers[3];
    selection.bandCaptions = {shown.statistics.bandHeadings[0], shown.statistics.bandHeadings[1],
                              shown.statistics.bandHeadings[2]};
    selection.direction = shown.direction;
    speedProfileWindow().showFor(selection);
}

void frmRoadtally::officerChosen(const QString &name)
{
    // Read again: the name may have been added since the source last read its rows.
    Data6->refresh();
    if (!Data6->findFirst(QStringLiteral("Admin_Officer"), name))
        summary->showOfficer(name);
}

void frmRoadtally::agencyUpdated()
{
    Data5->refresh();
    // The officer shown stays shown while it is stored; otherwise the first one.
    const QString shown = summary->officer();
    Data6->refresh();
    if (!shown.isEmpty())
        Data6->findFirst(QStringLiteral("Admin_Officer"), shown);
}

void frmRoadtally::speedProfilePrintRequested()
{
    // This window stays disabled; the preview enables it when it closes.
    printButton(ReportKind::SpeedProfile);
}

} // namespace roadtally

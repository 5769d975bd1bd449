#include "gui/intake/frmProcessData.h"

#include "core/intake/ImportRunner.h"
#include "core/intake/VehicleImport.h"
#include "core/store/SharedState.h"
#include "gui/intake/ProcessDataTexts.h"
#include "gui/kit/Message.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabWidget>

// The processing window's import: its inputs from the controls, the run on a
// thread of its own, the result.

namespace roadtally {

using namespace processdata;

ImportInput frmProcessData::importInput() const
{
    ImportInput input;
    input.batchNumber = Input_Batch_Number->text();
    input.locationCode = Input_Location_Code->text();
    input.location = Input_Location->text();
    input.startDate = Input_Batch_Date->text();
    input.startTime = Input_Start_Time->text();
    input.postedSpeed = Input_Posted_Speed->text();
    input.unit = Combo1->currentText();
    input.direction = Input_Direction->currentText();
    input.zone = Input_Zone->currentText();
    input.headway = ShowHeadway->text();
    input.speedMin = SpdMin->text();
    input.speedMax = SpdMax->text();
    input.rawText = m_rawText;
    return input;
}

bool frmProcessData::isImporting() const
{
    return m_runner && m_runner->isRunning();
}

void frmProcessData::Command2_Click()
{
    if (isImporting())
        return;
    ProcessFrame->setTitle(text::ProcessFrame);
    ProcessFrame->show();
    ProcessBar->setValue(0);
    ProcessBar->show();

    const ImportInput input = importInput();
    // A missing input is told at once; nothing runs.
    if (const std::optional<ImportOutcome> missing = missingInput(input)) {
        kit::message(this, importMessage(*missing));
        return;
    }

    if (!m_runner) {
        m_runner = new ImportRunner(this);
        connect(m_runner, &ImportRunner::progressed, ProcessBar, &QProgressBar::setValue);
        connect(m_runner, &ImportRunner::finished, this, &frmProcessData::importFinished);
    }
    setImporting(true);
    m_runner->start(sharedState().deriveDatabasePath(), input);
}

void frmProcessData::setImporting(bool importing)
{
    // The window keeps painting and its bar moving, but takes no input that
    // could change or cancel the survey under way.
    for (int tab = 1; tab < sstab->count(); ++tab)
        sstab->setTabEnabled(tab, !importing);
    const auto parts = sstab->widget(0)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *part : parts) {
        if (part != ProcessFrame)
            part->setEnabled(!importing);
    }
    if (importing)
        m_busy.emplace();
    else
        m_busy.reset();
}

void frmProcessData::importFinished(const ImportResult &result)
{
    setImporting(false);
    if (result.outcome != ImportOutcome::Stored) {
        // A database failure is told apart from a bad data file, with the
        // database's name and what is wrong with it.
        if (result.outcome == ImportOutcome::DatabaseFailure)
            kit::message(this, importMessage(result), kit::Title, QMessageBox::Warning,
                         QMessageBox::Ok, result.detail);
        else
            kit::message(this, importMessage(result));
        return;
    }

    Start_Date->setText(result.period.startDate);
    Start_Time->setText(result.period.startTime);
    End_Date->setText(result.period.endDate);
    End_Time->setText(result.period.endTime);
    ProcessBar->setValue(100);

    hide();
    emit surveyStored(result.batchNumber, result.storedVehicles);
    emit closed(true);
}

} // namespace roadtally

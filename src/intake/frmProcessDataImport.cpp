#include "intake/frmProcessData.h"

#include "intake/IntakeMessage.h"
#include "intake/ProcessDataTexts.h"
#include "intake/VehicleImport.h"
#include "store/SharedState.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QThread>

// The processing window's import: its inputs from the controls, the run, the result.

namespace roadtally {

using namespace processdata;

int &frmProcessData::finishPauseMs()
{
    static int pause = 400;
    return pause;
}

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
    input.rawText = sharedState().rawDataText;
    return input;
}

void frmProcessData::showProgress(int percent)
{
    ProcessBar->setValue(percent);
    // The import runs inside this click: paint the bar now, take no input.
    ProcessBar->repaint();
}

void frmProcessData::Command2_Click()
{
    ProcessFrame->setTitle(text::ProcessFrame);
    ProcessFrame->show();
    ProcessBar->setValue(0);
    ProcessBar->show();
    ProcessFrame->repaint();

    const ImportInput input = importInput();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ImportResult result = importSurvey(sharedState().deriveDatabasePath(), input,
                                             [this](int percent) { showProgress(percent); });
    QApplication::restoreOverrideCursor();

    if (result.outcome != ImportOutcome::Stored) {
        // A database failure is told apart from a bad data file, with the
        // database's name and what is wrong with it.
        if (result.outcome == ImportOutcome::DatabaseFailure)
            intakeMessage(this, importMessage(result), QString::fromLatin1(ProgramTitle),
                          QMessageBox::Warning);
        else
            intakeMessage(this, importMessage(result));
        return;
    }

    Start_Date->setText(result.period.startDate);
    Start_Time->setText(result.period.startTime);
    End_Date->setText(result.period.endDate);
    End_Time->setText(result.period.endTime);
    showProgress(100);

    // A moment with the full bar, so the user sees the import finish.
    QElapsedTimer pause;
    pause.start();
    while (pause.elapsed() < finishPauseMs())
        QThread::msleep(20);

    hide();
    emit closed(true);
}

} // namespace roadtally

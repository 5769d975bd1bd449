#include "gui/intake/frmProcessData.h"

#include "core/intake/ImportRequest.h"
#include "core/intake/RawDataFile.h"
#include "core/intake/SpeedRangeSteps.h"
#include "core/store/SharedState.h"
#include "core/survey/SurveyRules.h"
#include "core/text/TextPatterns.h"
#include "gui/intake/ProcessDataTexts.h"
#include "gui/kit/BoundLabel.h"
#include "gui/kit/Message.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QTextDocument>

namespace roadtally {

using namespace processdata;

namespace {

int captionValueOf(const QString &text)
{
    return static_cast<int>(numericValue(text));
}

int captionValue(const QLabel *label)
{
    return captionValueOf(label->text());
}

} // namespace

void frmProcessData::Form_Load()
{
    const QString path = sharedState().deriveDatabasePath();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Data7->setDatabaseName(path);
    Data7->setRecordSource(QStringLiteral("Radar"));
    Data8->setDatabaseName(path);
    Data8->setRecordSource(QStringLiteral("Header"));
    bindComboText(Combo1, Data7, QStringLiteral("radar_mode"));
    bindLabel(RadarMode, Data7, QStringLiteral("radar_mode"));
    Data7->refresh();
    Data8->refresh();
}

void frmProcessData::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Form_Activate();
}

void frmProcessData::Form_Activate()
{
    Input_Location->clear();
    for (QComboBox *choice : {Input_Direction, Input_Zone}) {
        choice->setCurrentIndex(-1);
        choice->clearEditText();
    }
    ProcessBar->setValue(0);
    SpdMax2->setText(SpdMax->text());
    SpdMin2->setText(SpdMin->text());
    Input_Location->setFocus();
    m_shownEntries = entries();
    txtTerm2->document()->setModified(false);
}

QStringList frmProcessData::entries() const
{
    QStringList all = {Input_Batch_Date->text(),
                       Input_Start_Time->text(),
                       Combo1->currentText(),
                       Trailer_code->currentText(),
                       Input_Batch_Number->text(),
                       Input_Location_Code->text(),
                       Input_Location->text(),
                       Input_Direction->currentText(),
                       Input_Zone->currentText(),
                       Input_Posted_Speed->text(),
                       SpdMin->text(),
                       SpdMax->text(),
                       ShowHeadway->text()};
    for (const QLineEdit *box : Text4)
        all << box->text();
    return all;
}

bool frmProcessData::hasUserEntries() const
{
    // The raw text by the editor's own flag (it may be megabytes long); a
    // committed edit leaves the flag set.
    return entries() != m_shownEntries || txtTerm2->document()->isModified();
}

void frmProcessData::showRawData(const QString &rawText)
{
    startAfresh();
    m_rawText = rawText;
    txtTerm2->setPlainText(rawText);
    setHeaderFromText(rawText);
}

void frmProcessData::startAfresh()
{
    // Nothing of an earlier file, a failed load or a cancelled run carries over
    // into the next survey: every field comes from the new file or its default.
    Data7->refresh();
    const QString stored = RadarMode->text();
    const QString unit = isSpeedUnit(stored) ? stored : Mph;
    Combo1->setCurrentIndex(Combo1->findText(unit));
    RadarMode->setText(unit);
    const SpeedRange range = defaultSpeedRange(unit);
    setRange(captionValueOf(range.low), captionValueOf(range.high));
    setHeadway(0);
    Trailer_code->setCurrentIndex(0);
    for (QLineEdit *box : std::as_const(Text4))
        box->clear();
    sstab->setCurrentIndex(0);
    ProcessBar->setValue(0);
    ProcessFrame->hide();
}

void frmProcessData::setHeaderFromText(const QString &rawText)
{
    const RawHeader header = readRawHeader(rawText);
    Label2->setText(header.dateCode);
    Input_Batch_Number->setText(header.batchNumber(Trailer_code->currentText()));
    Input_Location_Code->setText(header.locationCode);
    Input_Batch_Date->setText(header.batchDate);
    Input_Start_Time->setText(header.startTime);
    Input_Posted_Speed->setText(header.postedSpeed);
}

void frmProcessData::setLow(int low)
{
    SpdMin->setText(QString::number(low));
    SpdMin2->setText(SpdMin->text());
}

void frmProcessData::setHigh(int high)
{
    SpdMax->setText(QString::number(high));
    SpdMax2->setText(SpdMax->text());
}

void frmProcessData::setRange(int low, int high)
{
    setLow(low);
    setHigh(high);
}

void frmProcessData::Combo1_Click()
{
    const QString unit = Combo1->currentText();
    RadarMode->setText(unit);
    const SpeedRange range = defaultSpeedRange(unit);
    SpdMin->setText(range.low);
    SpdMax->setText(range.high);
    SpdMin2->setText(SpdMin->text());
    SpdMax2->setText(SpdMax->text());
}

void frmProcessData::Trailer_code_Click()
{
    Input_Batch_Number->setText(Label2->text() + QLatin1Char('-') + Trailer_code->currentText());
}

void frmProcessData::SpdDefault_Click()
{
    if (RadarMode->text() == Mph)
        setRange(10, 100);
    else
        setRange(15, 160);
}

void frmProcessData::LowDefault_Click()
{
    if (RadarMode->text() == Mph)
        setRange(0, 30);
    else
        setRange(15, 160);
}

void frmProcessData::LowMinus_Click()
{
    const int low = steppedSpeedEnd(SpeedStep::LowMinus, RadarMode->text(), captionValue(SpdMin));
    if (low >= 0)
        setLow(low);
}

void frmProcessData::LowPlus_Click()
{
    const int low = steppedSpeedEnd(SpeedStep::LowPlus, RadarMode->text(), captionValue(SpdMin));
    if (low >= 0)
        setLow(low);
}

void frmProcessData::HighMinus_Click()
{
    const int high = steppedSpeedEnd(SpeedStep::HighMinus, RadarMode->text(), captionValue(SpdMax));
    if (high >= 0)
        setHigh(high);
}

void frmProcessData::HighPlus_Click()
{
    const int high = steppedSpeedEnd(SpeedStep::HighPlus, RadarMode->text(), captionValue(SpdMax));
    if (high >= 0)
        setHigh(high);
}

void frmProcessData::setHeadway(int seconds)
{
    ShowHeadway->setText(QString::number(seconds));
    ShowHeadway2->setText(ShowHeadway->text());
}

void frmProcessData::Command4_Click()
{
    sstab->setCurrentIndex(1);
}

void frmProcessData::Command7_Click()
{
    // The same rule as the command-line tool's corrections.
    HeaderFields fields{Input_Batch_Number->text(), Input_Location_Code->text(),
                        Input_Batch_Date->text(), Input_Start_Time->text(),
                        Input_Posted_Speed->text()};
    HeaderCorrections corrections{Text4[0]->text(), Text4[1]->text(), Text4[2]->text(),
                                  Text4[3]->text(), Text4[4]->text()};
    acceptHeaderChanges(fields, corrections);
    Input_Batch_Date->setText(fields.startDate);
    Input_Start_Time->setText(fields.startTime);
    Input_Batch_Number->setText(fields.batchNumber);
    Input_Location_Code->setText(fields.locationCode);
    Input_Posted_Speed->setText(fields.postedSpeed);
    const QString left[] = {corrections.startDate, corrections.startTime, corrections.batchNumber,
                            corrections.locationCode, corrections.postedSpeed};
    for (int i = 0; i < Text4.size(); ++i)
        Text4[i]->setText(left[i]);
    sstab->setCurrentIndex(0);
}

void frmProcessData::Command9_Click()
{
    // The editor shows line breaks as it keeps them; the raw file's are CR LF.
    QString edited = txtTerm2->toPlainText();
    edited.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    edited.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    m_rawText = edited;
    setHeaderFromText(m_rawText);
}

void frmProcessData::Command1_Click()
{
    // What the user typed is not thrown away by a slip of Escape or the title bar.
    if (hasUserEntries() &&
        kit::message(this, text::DiscardQuestion, QString(), QMessageBox::Question,
                     QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    // Back to the start panel, as Cancel in the data file dialog does: the main
    // window would otherwise stand blank with nothing to click.
    hide();
    emit closed(true);
}

} // namespace roadtally

#pragma once
// "Process Raw Data": the loaded raw data file becomes a survey here. The user
// completes and corrects the survey header, narrows the vehicles by speed range
// and headway, may edit the raw text, and starts the import.

#include "core/store/BoundDataSource.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/ControlArray.h"

#include <QVector>
#include <QWidget>

#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace roadtally {

class ImportRunner;
struct ImportInput;
struct ImportResult;

class frmProcessData : public QWidget
{
    Q_OBJECT
public:
    explicit frmProcessData(QWidget *parent = nullptr);

    // Controls (the program's own names).
    QTabWidget *sstab = nullptr;

    // Tab 0: the survey header.
    QVector<QLabel *> tags; // caption labels of the ten header controls
    QLabel *Input_Batch_Date = nullptr;
    QLabel *Input_Start_Time = nullptr;
    QComboBox *Combo1 = nullptr; // unit, bound to Radar.radar_mode through Data7
    QComboBox *Trailer_code = nullptr;
    QLabel *Input_Batch_Number = nullptr;
    QLabel *Input_Location_Code = nullptr;
    QLineEdit *Input_Location = nullptr;
    QComboBox *Input_Direction = nullptr;
    QComboBox *Input_Zone = nullptr;
    QLineEdit *Input_Posted_Speed = nullptr;
    QLabel *Label26 = nullptr;   // hint on the coloured fields
    QLabel *Label2 = nullptr;    // date code mmddyy (not shown)
    QGroupBox *Frame4 = nullptr; // "Filter.."
    QLabel *SpdMin2 = nullptr;
    QLabel *SpdMax2 = nullptr;
    QLabel *ShowHeadway2 = nullptr;
    QPushButton *Command2 = nullptr; // process
    QPushButton *Command4 = nullptr; // "Modify Header"
    QPushButton *Command1 = nullptr; // "Cancel"
    QGroupBox *ProcessFrame = nullptr;
    QProgressBar *ProcessBar = nullptr;
    QLabel *Start_Date = nullptr; // the survey period, set by the import
    QLabel *Start_Time = nullptr;
    QLabel *End_Date = nullptr;
    QLabel *End_Time = nullptr;

    // Tab 1: header corrections.
    QLabel *Label42 = nullptr;
    QLabel *Label43 = nullptr;
    ControlArray<QLabel> Label48; // indices 0 to 4 and 7 (5 and 6 are holes)
    QVector<QLineEdit *> Text4;   // 0 date, 1 time, 2 batch number, 3 location code, 4 posted speed
    QPushButton *Command7 = nullptr; // "Accept These Changes"

    // Tab 2: filters.
    QLabel *SpdMin = nullptr;
    QLabel *SpdMax = nullptr;
    QLabel *ShowHeadway = nullptr;
    QLabel *RadarMode = nullptr; // the unit, bound to Radar.radar_mode
    QPushButton *LowMinus = nullptr;
    QPushButton *LowPlus = nullptr;
    QPushButton *HighMinus = nullptr;
    QPushButton *HighPlus = nullptr;
    QPushButton *SpdDefault = nullptr;
    QPushButton *LowDefault = nullptr;
    QPushButton *H1 = nullptr;
    QPushButton *H2 = nullptr;
    QPushButton *H3 = nullptr;
    QPushButton *H4 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command5 = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label7 = nullptr;

    // Tab 3: the raw text.
    QPlainTextEdit *txtTerm2 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label3 = nullptr; // sample header
    QLabel *Label4 = nullptr; // sample records
    QLabel *Label6 = nullptr;
    QPushButton *Command9 = nullptr; // "Commit To Changes"

    BoundDataSource *Data7 = nullptr; // Radar
    BoundDataSource *Data8 = nullptr; // Header

    // What the loader does: every field set afresh, the editor gets the text,
    // the header controls its values.
    void showRawData(const QString &rawText);
    // The fields a file does not fill at their defaults: the unit of the last
    // survey (MPH when that is no unit) with its range, no headway, letter A,
    // empty correction boxes, the first tab and an empty progress bar.
    void startAfresh();
    // The text the import reads: as loaded, with the changes committed in "Modify Raw Data".
    QString rawText() const { return m_rawText; }
    // The header controls from a raw text, as the loader sets them (not the editor).
    void setHeaderFromText(const QString &rawText);

    // The import's inputs as the controls stand.
    ImportInput importInput() const;

    // True from the process command until the import has ended.
    bool isImporting() const;

    // True when the user has typed or changed anything since the file was
    // loaded: closing then asks before it is discarded.
    bool hasUserEntries() const;

    // The window's procedures and event handlers.
    void Form_Load();
    void Form_Activate();
    void Combo1_Click();
    void Trailer_code_Click();
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command7_Click();
    void Command9_Click();
    void SpdDefault_Click();
    void LowDefault_Click();
    void LowMinus_Click();
    void LowPlus_Click();
    void HighMinus_Click();
    void HighPlus_Click();
    void setHeadway(int seconds);

signals:
    // The window has hidden itself, after Cancel or a stored survey: the main
    // window is usable again and shows its start panel.
    void closed(bool showStartPanel);
    // A survey was stored: its batch number and the vehicles it holds.
    void surveyStored(const QString &batch, int vehicles);

protected:
    void showEvent(QShowEvent *event) override;
    // Closing the window from its title bar is its Cancel: otherwise the main
    // window would stay disabled with no window left to enable it.

private:
    QWidget *buildProcessTab();
    QWidget *buildHeaderTab();
    QWidget *buildFilterTab();
    QWidget *buildRawTab();
    void setRange(int low, int high);
    void setLow(int low);
    void setHigh(int high);
    // While the import runs: busy pointer, every control but the progress bar
    // out of reach.
    void setImporting(bool importing);
    void importFinished(const ImportResult &result);
    // Everything the user can type or choose, as it stands.
    QStringList entries() const;

    ImportRunner *m_runner = nullptr;
    QString m_rawText;
    QStringList m_shownEntries;             // entries() as the window was shown
    std::optional<kit::BusyPointer> m_busy; // while an import runs
};

} // namespace roadtally

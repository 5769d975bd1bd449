#pragma once
// The print options panel (framePrintOption): a frame over the tabs where the
// user picks the direction and, for some reports, the date of a report.

#include "core/reports/ReportKind.h"

#include <QFrame>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace roadtally {

class PrintOptionsPanel : public QFrame
{
    Q_OBJECT
public:
    explicit PrintOptionsPanel(QWidget *parent = nullptr);

    QLabel *Label27 = nullptr;    // "Print Options"
    QLabel *PrintTitle = nullptr; // name of the report
    QRadioButton *PrintOptionA = nullptr;
    QRadioButton *PrintOptionR = nullptr;
    QRadioButton *PrintOptionB = nullptr;
    QComboBox *Combo2 = nullptr; // the report's date (or other choice)
    QLabel *DateChoice2 = nullptr;
    QPushButton *PrintSelection = nullptr; // "Print Selection"
    QPushButton *Command11 = nullptr;      // "Close"

    // The panel's modes: the caption of PrintTitle.
    static inline const QString SummaryMode = QStringLiteral("Survey Summary");
    static inline const QString DailyVolumeMode = QStringLiteral("Daily Volume/Time");
    static inline const QString FifteenMinuteMode = QStringLiteral("15 Minute Breakdown");

    // Opens the panel in a mode with the entries of its list (display schemes
    // or dates): no direction chosen, the list disabled showing its prompt.
    void open(const QString &mode, const QStringList &entries);
    QString mode() const;
    // The direction chosen in the panel: 0 approaching, 1 receding, 2 both, -1 none.
    int chosenDirection() const;
    // The report the mode prints.
    ReportKind report() const;
    // The list emptied (the window's activation).
    void clearEntries();
    // "Print Selection" offered once the view behind the report is ready.
    void setPrintable(bool printable);

signals:
    // "Close": the panel has hidden itself; the main window enables its tabs.
    void closed();
    // A direction option clicked (0, 1, 2): the view behind the report takes it.
    void directionChosen(int index);
    // An entry of the list chosen: the view prepares it. The receiver enables
    // PrintSelection when the view is ready to print.
    void entryChosen(const QString &entry);
    // "Print Selection": the panel has hidden itself.
    void printSelected(roadtally::ReportKind report);

private:
    QString prompt() const;
    void directionClicked(int index);
};

} // namespace roadtally

#pragma once
// The "15 Minute Breakdown" tab: the fifteen-minute volumes of one date and
// direction with the morning and afternoon peak analysis.

#include "views/ControlArray.h"

#include <QFrame>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace roadtally {

class FifteenMinuteTab : public QFrame
{
    Q_OBJECT
public:
    explicit FifteenMinuteTab(QWidget *parent = nullptr);

    QFrame *VSViewPort4 = nullptr;       // the tab's container
    QTableWidget *Flex2 = nullptr;       // the fifteen-minute grid
    QGroupBox *Frame10 = nullptr;        // "Date & Direction"
    ControlArray<QRadioButton> option7;  // 0 approaching, 1 receding, 2 both
    // Editable list whose edit text shows the prompt ("**Select a Date**").
    QComboBox *Date15min = nullptr;
    QLabel *DateChoice = nullptr;        // the chosen date (hidden)
    QGroupBox *AMAnalysis = nullptr;
    QGroupBox *PMAnalysis = nullptr;
    ControlArray<QLabel> Label21;         // analysis values (0..4 AM, 5..9 PM from the bottom)
    ControlArray<QLabel> AnalysisCaption; // Label16 .. Label26 by number (16..20, 22..26)
    QPushButton *Command7 = nullptr;      // "Print Graph"

signals:
    // "Print Graph" (report selector 4).
    void printRequested(int reportSelector);
};

} // namespace roadtally

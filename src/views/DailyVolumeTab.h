#pragma once
// The "Daily Volume/Time" tab: the hourly volumes of one date and direction.

#include "views/ControlArray.h"

#include <QFrame>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace roadtally {

class DailyVolumeTab : public QFrame
{
    Q_OBJECT
public:
    explicit DailyVolumeTab(QWidget *parent = nullptr);

    QFrame *Picture1 = nullptr;  // the tab's container
    QFrame *chartArea = nullptr; // where the chart widget goes (its layout is empty)
    QLabel *Label12 = nullptr;   // chart title (hidden until drawn)
    QLabel *Label15 = nullptr;   // "Vehicle Volume / Hour"
    QFrame *Shape1 = nullptr;    // frames of AM and PM under the chart
    QFrame *Shape2 = nullptr;
    QLabel *AM = nullptr;
    QLabel *PM = nullptr;
    QGroupBox *Frame8 = nullptr;         // "Date & Direction"
    ControlArray<QRadioButton> option4;  // 0 approaching, 1 receding, 2 both
    // Editable list whose edit text shows the prompt ("**Select a Date**").
    QComboBox *DateVolume = nullptr;
    QLabel *DChoice = nullptr;           // the chosen date (hidden)
    QPushButton *Command5 = nullptr;     // "Print Graph"

signals:
    // "Print Graph" (report selector 5).
    void printRequested(int reportSelector);
};

} // namespace roadtally

#pragma once
// The main window "Orvanta Roadtally": start panel, six tabs of views of the
// current survey, menus, print buttons and the six bound data sources.

#include "store/BoundDataSource.h"

#include <QMainWindow>

#include <QVector>

class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QRadioButton;
class QTabWidget;

namespace roadtally {

class frmRoadtally : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmRoadtally(QWidget *parent = nullptr);

    // Controls other windows reach (the program's own names).
    QFrame *splashframe = nullptr; // start panel
    QFrame *FrameS = nullptr;      // summary panel
    QTabWidget *SSTab = nullptr;
    QMenu *m4 = nullptr; // Reports menu

    BoundDataSource *Data1 = nullptr;
    BoundDataSource *Data2 = nullptr; // Header: the current survey
    BoundDataSource *Data3 = nullptr; // Summary: the current survey
    BoundDataSource *Data4 = nullptr;
    BoundDataSource *Data5 = nullptr; // Agency
    BoundDataSource *Data6 = nullptr; // Officer

    // Controls the open-survey window sets (see frmOpenSurvey).
    QVector<QLabel *> PaceCaption;   // PaceCaption(2): "10 MPH Pace"
    QLabel *Radar_Mode = nullptr;    // hidden, bound to Header.Radar_Mode
    QVector<QRadioButton *> Option1; // summary direction (0..2)
    QVector<QRadioButton *> Option3; // vehicle speeds chart direction (3..5)
    QVector<QRadioButton *> option4; // daily volume direction
    QVector<QRadioButton *> option6; // 85th percentile chart direction (3..5)
    QVector<QRadioButton *> option7; // fifteen-minute direction
    QComboBox *Date15min = nullptr;
    QComboBox *DateVolume = nullptr;

    // Clears the weekly grid.
    void ClearWeekData();

    // Shows the start panel (after a cancelled dialog or a finished import).
    void showStartPanel();

private:
    void Form_Load();
};

} // namespace roadtally

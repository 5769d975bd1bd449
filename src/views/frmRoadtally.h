#pragma once
// The main window "Orvanta Roadtally": start panel, six tabs of views of the
// current survey, menus, print buttons and the six bound data sources.

#include "store/BoundDataSource.h"

#include <QMainWindow>

class QFrame;
class QLabel;
class QMenu;
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

    // Shows the start panel (after a cancelled dialog or a finished import).
    void showStartPanel();

private:
    void Form_Load();
};

} // namespace roadtally

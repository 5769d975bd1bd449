#include "views/frmRoadtally.h"

#include "store/SharedState.h"

#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace roadtally {

frmRoadtally::frmRoadtally(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Orvanta Roadtally"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    SSTab = new QTabWidget(central);
    splashframe = new QFrame(central);
    FrameS = new QFrame(central);
    layout->addWidget(splashframe);
    layout->addWidget(SSTab);
    setCentralWidget(central);
    m4 = menuBar()->addMenu(QStringLiteral("Reports"));
    m4->setEnabled(false);
    Data1 = new BoundDataSource(this);
    Data2 = new BoundDataSource(this);
    Data3 = new BoundDataSource(this);
    Data4 = new BoundDataSource(this);
    Data5 = new BoundDataSource(this);
    Data6 = new BoundDataSource(this);
    resize(1280, 800);
    Form_Load();
}

void frmRoadtally::Form_Load()
{
    sharedState().deriveDatabasePath();
}

void frmRoadtally::ClearWeekData() {}

void frmRoadtally::showStartPanel()
{
    splashframe->show();
}

} // namespace roadtally

#include "views/SpeedChartTab.h"

#include "views/WidgetKit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace roadtally {

using namespace kit;

SpeedChartTab::Names SpeedChartTab::vehicleSpeeds()
{
    return {"VSViewPort1",
            "Label11",
            "chartArea1",
            "Frame7",
            "Option3",
            {QStringLiteral("Both Directions "), QStringLiteral("Receeding Only"),
             QStringLiteral("Approaching Only")},
            "Frame12",
            1,
            false,
            "Command4",
            2};
}

SpeedChartTab::Names SpeedChartTab::percentile85()
{
    return {"VSViewPort3",
            "Label13",
            "chartArea3",
            "Frame9",
            "option6",
            {QStringLiteral("Both Directions"), QStringLiteral("Receeding Only"),
             QStringLiteral("Approaching Only")},
            "Frame11",
            0,
            true,
            "Command2",
            1};
}

SpeedChartTab::SpeedChartTab(const Names &names, QWidget *parent)
    : QFrame(parent), m_names(names)
{
    viewPort = makeTabContainer(this, names.viewPort);
    auto *h = new QHBoxLayout(viewPort);
    h->setContentsMargins(14, 10, 14, 10);
    auto *left = new QVBoxLayout;
    title = makeLabel(QString(), "boxTitle", names.title);
    left->addWidget(title);
    chartArea = kit::chartArea(names.chartArea);
    left->addWidget(chartArea, 1);
    h->addLayout(left, 1);

    auto *right = new QVBoxLayout;
    directionFrame = kit::directionFrame(names.directionFrame,
                                         QStringLiteral(" Vehicle Direction "), direction,
                                         names.directionOption, 3, names.directionCaptions);
    printerFrame = named(new QGroupBox(QStringLiteral("Printer Mode")), names.printerFrame);
    auto *pm = new QVBoxLayout(printerFrame);
    PrinterBW = named(new QRadioButton(QStringLiteral("Laser (B&&W)")), "PrinterBW",
                      names.printerIndex);
    PrinterColor = named(new QRadioButton(QStringLiteral("Color Printer")), "PrinterColor",
                         names.printerIndex);
    PrinterColor->setChecked(true);
    if (names.colourFirst) {
        pm->addWidget(PrinterColor);
        pm->addWidget(PrinterBW);
    } else {
        pm->addWidget(PrinterBW);
        pm->addWidget(PrinterColor);
    }
    printGraph = makeButton(QStringLiteral("Print Graph"), names.printButton);
    right->addWidget(directionFrame);
    right->addWidget(printerFrame);
    right->addWidget(printGraph);
    right->addStretch();
    h->addWidget(sideColumn(right));
    connect(printGraph, &QPushButton::clicked, this,
            [this] { emit printRequested(m_names.reportSelector); });
}

} // namespace roadtally

#include "gui/shell/SpeedChartTab.h"

#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/Message.h"
#include "gui/kit/WidgetKit.h"
#include "gui/shell/GraphView.h"

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
            {QStringLiteral("Both Directions "), QStringLiteral("Receding Only"),
             QStringLiteral("Approaching Only")},
            "Frame12",
            1,
            false,
            "Command4",
            ReportKind::TrafficFlow,
            false};
}

SpeedChartTab::Names SpeedChartTab::percentile85()
{
    return {"VSViewPort3",
            "Label13",
            "chartArea3",
            "Frame9",
            "option6",
            {QStringLiteral("Both Directions"), QStringLiteral("Receding Only"),
             QStringLiteral("Approaching Only")},
            "Frame11",
            0,
            true,
            "Command2",
            ReportKind::Percentile85,
            true};
}

SpeedChartTab::SpeedChartTab(const Names &names, QWidget *parent) : QFrame(parent), m_names(names)
{
    viewPort = makeTabContainer(this, names.viewPort);
    auto *h = new QHBoxLayout(viewPort);
    h->setContentsMargins(14, 10, 14, 10);
    auto *left = new QVBoxLayout;
    title = makeLabel(QString(), "boxTitle", names.title);
    left->addWidget(title);
    chartArea = kit::chartArea(names.chartArea);
    graph = named(new GraphView, names.percentile ? "Graph3" : "Graph1");
    graph->hide();
    chartArea->layout()->addWidget(graph);
    left->addWidget(chartArea, 1);
    h->addLayout(left, 1);

    auto *right = new QVBoxLayout;
    directionFrame =
        kit::directionFrame(names.directionFrame, QStringLiteral(" Vehicle Direction "), direction,
                            names.directionOption, 3, names.directionCaptions);
    printerFrame = named(new QGroupBox(QStringLiteral("Printer Mode")), names.printerFrame);
    auto *pm = new QVBoxLayout(printerFrame);
    PrinterBW =
        named(new QRadioButton(QStringLiteral("Laser (B&&W)")), "PrinterBW", names.printerIndex);
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
    m_print.setButton(printGraph);
    connect(printGraph, &QPushButton::clicked, this,
            [this] { emit printRequested(m_names.report); });
    connect(PrinterBW, &QRadioButton::toggled, this, &SpeedChartTab::printerModeToggled);
    for (QRadioButton *option : direction)
        if (option)
            connect(option, &QRadioButton::clicked, this, &SpeedChartTab::directionClicked);
}

SurveyDirection SpeedChartTab::selectedDirection() const
{
    return checkedDirection(direction[5], direction[4], direction[3])
        .value_or(SurveyDirection::Both);
}

PrinterMode SpeedChartTab::printerMode() const
{
    return PrinterBW->isChecked() ? PrinterMode::BlackWhite : PrinterMode::Color;
}

QString SpeedChartTab::titleText() const
{
    const QString batch = m_survey ? m_survey().batch : QString();
    return m_names.percentile ? percent85Title(batch) : trafficFlowTitle(batch);
}

void SpeedChartTab::directionClicked()
{
    title->setText(titleText());
    const bool drawn = drawChart(selectedDirection());
    // A chart that could not be drawn leaves nothing of the last one to print.
    graph->setVisible(drawn);
    m_print.setCurrent(drawn);
}

void SpeedChartTab::printerModeToggled(bool checked)
{
    Q_UNUSED(checked);
    // The mode shows at once: the chart on screen is the one printed.
    if (m_print.isCurrent())
        directionClicked();
}

SpeedChartInput SpeedChartTab::inputFor(SurveyDirection direction) const
{
    const ShownSurvey shown = m_survey ? m_survey() : ShownSurvey();
    SpeedChartInput input;
    input.batch = shown.batch;
    input.postedLimit = shown.postedLimit;
    input.radarMode = shown.radarMode;
    input.pace = shown.pace;
    input.percentile85 = shown.percentile85;
    input.direction = direction;
    input.mode = printerMode();
    return input;
}

void SpeedChartTab::refresh()
{
    if (m_print.isCurrent() && !(inputFor(selectedDirection()) == m_drawnFrom))
        directionClicked();
}

bool SpeedChartTab::drawChart(SurveyDirection chosen)
{
    const SpeedChartInput input = inputFor(chosen);
    bool drawn = false;
    withSurveyDatabase(this, [&](DatabaseSession &session) {
        const SpeedChartResult result =
            m_names.percentile ? percent85Chart(session, input) : trafficFlowChart(session, input);
        if (!result.hasChart()) {
            notice(this, result.message);
            return;
        }
        roadtally::drawChart(graph->graph(), result.chart);
        m_drawnFrom = input;
        drawn = true;
    });
    return drawn;
}

const ChartPicture &SpeedChartTab::chart() const
{
    return graph->graph().copy();
}

namespace {

// The direction options: 3 both, 4 receding, 5 approaching.
int optionOf(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return 5;
    case SurveyDirection::Receding:
        return 4;
    case SurveyDirection::Both:
        break;
    }
    return 3;
}

} // namespace

void SpeedChartTab::selectDirection(SurveyDirection chosen)
{
    direction[optionOf(chosen)]->setChecked(true);
    directionClicked();
}

bool SpeedChartTab::prepareReport(SurveyDirection chosen)
{
    selectDirection(chosen);
    return m_print.isCurrent();
}

void SpeedChartTab::setPrintingEnabled(bool enabled)
{
    m_print.setAllowed(enabled);
}

} // namespace roadtally

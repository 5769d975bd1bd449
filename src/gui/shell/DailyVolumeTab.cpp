#include "gui/shell/DailyVolumeTab.h"

#include "core/analysis/DailyVolume.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/Message.h"
#include "gui/kit/WidgetKit.h"
#include "gui/shell/GraphView.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace roadtally {

using namespace kit;

DailyVolumeTab::DailyVolumeTab(QWidget *parent) : QFrame(parent)
{
    Picture1 = makeTabContainer(this, "Picture1");
    auto *h = new QHBoxLayout(Picture1);
    h->setContentsMargins(14, 10, 14, 10);
    auto *left = new QVBoxLayout;
    Label12 = makeLabel(QString(), "boxTitle", "Label12");
    Label12->hide();
    left->addWidget(Label12);
    chartArea = kit::chartArea("chartArea2");
    Graph2 = named(new GraphView, "Graph2");
    Graph2->hide();
    chartArea->layout()->addWidget(Graph2);
    left->addWidget(chartArea, 1);
    // The two outlines stand under the chart's morning and afternoon bars:
    // the chart keeps its plot where the report's brackets are.
    const ChartFrame plot = dailyVolumeFrame();
    const auto share = [](double fraction) { return int(std::lround(fraction * 1000)); };
    auto *halves = new QHBoxLayout;
    halves->setSpacing(0);
    halves->addStretch(share(plot.plotLeft));
    Shape1 = named(new QFrame, "Shape1");
    Shape2 = named(new QFrame, "Shape2");
    AM = makeLabel(QStringLiteral("AM Time"), "caption", "AM");
    PM = makeLabel(QStringLiteral("PM Time"), "caption", "PM");
    for (auto pair : {qMakePair(Shape1, AM), qMakePair(Shape2, PM)}) {
        pair.first->setProperty("box", true);
        auto *l = new QHBoxLayout(pair.first);
        l->setContentsMargins(4, 2, 4, 2);
        pair.second->setAlignment(Qt::AlignCenter);
        l->addWidget(pair.second);
        pair.first->hide();
        pair.second->hide();
        halves->addWidget(pair.first, share((plot.plotRight - plot.plotLeft) / 2));
    }
    halves->addStretch(share(1 - plot.plotRight));
    left->addLayout(halves);
    Label15 = makeLabel(QStringLiteral("Vehicle Volume / Hour"), "caption", "Label15");
    Label15->setAlignment(Qt::AlignCenter);
    left->addWidget(Label15);
    h->addLayout(left, 1);

    auto *right = new QVBoxLayout;
    Frame8 =
        kit::directionFrame("Frame8", QStringLiteral("Date && Direction"), option4, "option4", 0,
                            {QStringLiteral("Approaching Only"), QStringLiteral("Receding Only"),
                             QStringLiteral("Both Directions")});
    option4[0]->setChecked(true);
    DateVolume = makeListCombo("DateVolume", DatePrompt);
    DateVolume->hide();
    static_cast<QVBoxLayout *>(Frame8->layout())->addWidget(DateVolume);
    DChoice = makeLabel(QString(), nullptr, "DChoice");
    DChoice->hide();
    Command5 = makeButton(QStringLiteral("Print Graph"), "Command5");
    right->addWidget(Frame8);
    right->addWidget(DChoice);
    right->addWidget(Command5);
    right->addStretch();
    h->addWidget(sideColumn(right));
    m_print.setButton(Command5);
    connect(Command5, &QPushButton::clicked, this,
            [this] { emit printRequested(ReportKind::DailyVolume); });
    for (QRadioButton *option : option4)
        connect(option, &QRadioButton::clicked, this, &DailyVolumeTab::option4_Click);
    connect(DateVolume, &QComboBox::activated, this, &DailyVolumeTab::DateVolume_Click);
}

SurveyDirection DailyVolumeTab::selectedDirection() const
{
    return checkedDirection(option4[0], option4[1], option4[2]).value_or(SurveyDirection::Both);
}

void DailyVolumeTab::showChartParts(bool shown)
{
    for (QWidget *w : {static_cast<QWidget *>(Label12), static_cast<QWidget *>(Label15),
                       static_cast<QWidget *>(AM), static_cast<QWidget *>(PM),
                       static_cast<QWidget *>(Shape1), static_cast<QWidget *>(Shape2)})
        w->setVisible(shown);
}

void DailyVolumeTab::clearChart()
{
    Graph2->hide();
    showChartParts(false);
    m_print.setCurrent(false);
}

void DailyVolumeTab::option4_Click()
{
    clearChart();
    DateVolume->show();
    const QSignalBlocker blocker(DateVolume);
    DateVolume->setEditText(DatePrompt);
}

void DailyVolumeTab::DateVolume_Click()
{
    DChoice->setText(DateVolume->currentText());
    drawVolumeChart(DChoice->text(), selectedDirection());
}

bool DailyVolumeTab::drawVolumeChart(const QString &date, SurveyDirection direction)
{
    DailyVolumeInput input;
    input.batch = m_survey ? m_survey().batch : QString();
    input.date = date;
    input.direction = direction;
    bool drawn = false;
    withSurveyDatabase(this, [&](DatabaseSession &session) {
        const DailyVolumeResult result = dailyVolume(session, input);
        if (!result.hasChart()) {
            notice(this, result.message);
            return;
        }
        drawChart(Graph2->graph(), result.chart);
        Graph2->show();
        Label12->setText(dailyVolumeTitle(input.batch));
        showChartParts(true);
        m_chartDate = date;
        drawn = true;
    });
    if (drawn)
        m_print.setCurrent(true);
    else
        clearChart();
    return drawn;
}

const ChartPicture &DailyVolumeTab::chart() const
{
    return Graph2->graph().copy();
}

std::optional<SurveyDirection> DailyVolumeTab::reportDirection() const
{
    return checkedDirection(option4[0], option4[1], option4[2]);
}

void DailyVolumeTab::selectDirection(SurveyDirection direction)
{
    option4[int(direction)]->setChecked(true);
    option4_Click();
}

bool DailyVolumeTab::prepareReport(SurveyDirection direction, const QString &date)
{
    {
        const QSignalBlocker blocker(DateVolume);
        DateVolume->setEditText(date);
    }
    return drawVolumeChart(date, direction);
}

void DailyVolumeTab::setPrintingEnabled(bool enabled)
{
    m_print.setAllowed(enabled);
}

void DailyVolumeTab::setDates(const QStringList &dates)
{
    const bool keep = m_print.isCurrent() && dates.contains(m_chartDate);
    if (!keep && m_print.isCurrent())
        clearChart();
    const QSignalBlocker blocker(DateVolume);
    resetCombo(DateVolume, DatePrompt);
    for (const QString &d : dates)
        DateVolume->addItem(d);
    DateVolume->setEditText(keep ? m_chartDate : DatePrompt);
}

void DailyVolumeTab::showDatePrompt()
{
    const QSignalBlocker blocker(DateVolume);
    DateVolume->setEditText(DatePrompt);
}

QString DailyVolumeTab::chosenDate() const
{
    // The print options panel draws a date without choosing it on the tab, so
    // the date of the bars is the one drawn last, not DChoice.
    return m_chartDate;
}

} // namespace roadtally

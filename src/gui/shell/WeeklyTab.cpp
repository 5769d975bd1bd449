#include "gui/shell/WeeklyTab.h"

#include "gui/kit/BusyPointer.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/Message.h"
#include "gui/kit/WidgetKit.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace roadtally {

using namespace kit;

WeeklyTab::WeeklyTab(QWidget *parent) : QFrame(parent)
{
    VSViewPort5 = makeTabContainer(this, "VSViewPort5");
    auto *h = new QHBoxLayout(VSViewPort5);
    h->setContentsMargins(14, 10, 14, 10);
    auto *grid = named(new QFrame, "weeklyGrid");
    grid->setProperty("grid", true);
    auto *g = new QGridLayout(grid);
    g->setContentsMargins(1, 1, 1, 1);
    g->setSpacing(1);
    QFont small = font();
    small.setPointSize(8);
    grid->setFont(small);

    legend.resize(65);
    ControlArray<QLabel> *columns[] = {&Day1A, &Day1R, &Day2A, &Day2R, &Day3A, &Day3R,
                                       &Day4A, &Day4R, &Day5A, &Day5R, &Day6A, &Day6R,
                                       &Day7A, &Day7R, &WDAA,  &WDAR,  &WKAA,  &WKAR};
    const char *columnNames[] = {"Day1A", "Day1R", "Day2A", "Day2R", "Day3A", "Day3R",
                                 "Day4A", "Day4R", "Day5A", "Day5R", "Day6A", "Day6R",
                                 "Day7A", "Day7R", "WDAA",  "WDAR",  "WKAA",  "WKAR"};
    auto cell = [&](const QString &text, const char *role, const char *name, int index) {
        QLabel *l = makeLabel(text, role, name, index);
        l->setAlignment(Qt::AlignCenter);
        l->setFont(small);
        return l;
    };
    legend[26] = cell(QStringLiteral("Direction"), "rowHead", "legend", 26);
    legend[27] = cell(QStringLiteral("Interval"), "rowHead", "legend", 27);
    g->addWidget(legend[26], 0, 0);
    g->addWidget(legend[27], 1, 0);
    QLabel **dates[] = {&Date1, &Date2, &Date3, &Date4, &Date5, &Date6, &Date7};
    const char *dayDesign[] = {"Mon-1", "Tue-2", "Wed-3", "Thu-4", "Fri-5", "Sat-6", "Sun-7"};
    for (int k = 0; k < 7; ++k) {
        *dates[k] = cell(QString::fromLatin1(dayDesign[k]), "head", "Date", 1 + k);
        (*dates[k])->setObjectName(QStringLiteral("Date%1_%2").arg(k + 1).arg(46 + k));
        g->addWidget(*dates[k], 0, 1 + 2 * k, 1, 2);
    }
    legend[53] = cell(QStringLiteral("Weekday Avg."), "head", "legend", 53);
    legend[54] = cell(QStringLiteral("Weekend Avg."), "head", "legend", 54);
    g->addWidget(legend[53], 0, 15, 1, 2);
    g->addWidget(legend[54], 0, 17, 1, 2);
    for (int c = 0; c < 18; ++c) {
        legend[28 + c] =
            cell(c % 2 == 0 ? QStringLiteral("A") : QStringLiteral("R"), "head", "legend", 28 + c);
        g->addWidget(legend[28 + c], 1, 1 + c);
        g->setColumnStretch(1 + c, 1);
    }
    for (int r = 0; r < 24; ++r) {
        QString caption;
        if (r == 0)
            caption = QStringLiteral("12:AM");
        else if (r == 12)
            caption = QStringLiteral("12:PM");
        else
            caption = QStringLiteral("%1:00").arg(r % 12);
        legend[r] = cell(caption, "rowHead", "legend", r);
        g->addWidget(legend[r], 2 + r, 0);
    }
    legend[24] = cell(QStringLiteral("Totals"), "rowHead", "legend", 24);
    legend[25] = cell(QStringLiteral("Combined"), "rowHead", "legend", 25);
    legend[64] = cell(QStringLiteral("Split %"), "rowHead", "legend", 64);
    g->addWidget(legend[24], 26, 0);
    g->addWidget(legend[25], 27, 0);
    g->addWidget(legend[64], 28, 0);
    for (int c = 0; c < 18; ++c) {
        ControlArray<QLabel> &column = *columns[c];
        column.resize(25);
        for (int r = 0; r <= 24; ++r) {
            column[r] = cell(QStringLiteral("*"), r == 24 ? "value" : nullptr, columnNames[c], r);
            g->addWidget(column[r], 2 + r, 1 + c);
        }
    }
    DayComb.resize(64);
    Split.resize(9);
    for (int k = 0; k < 9; ++k) {
        DayComb[55 + k] = cell(QStringLiteral("Com"), "value", "DayComb", 55 + k);
        Split[k] = cell(QStringLiteral("%"), nullptr, "Split", k);
        g->addWidget(DayComb[55 + k], 27, 1 + 2 * k, 1, 2);
        g->addWidget(Split[k], 28, 1 + 2 * k, 1, 2);
    }
    g->setColumnMinimumWidth(0, 74);
    h->addWidget(grid, 1);

    auto *right = new QVBoxLayout;
    Command8 = makeButton(QStringLiteral("Calculate Weekly Totals"), "Command8");
    Command3 = makeButton(QStringLiteral("Print Chart"), "Command3");
    right->addWidget(Command8);
    right->addWidget(Command3);
    right->addStretch();
    h->addWidget(sideColumn(right));
    m_print.setButton(Command3);
    connect(Command3, &QPushButton::clicked, this,
            [this] { emit printRequested(ReportKind::Weekly); });
    connect(Command8, &QPushButton::clicked, this, &WeeklyTab::Command8_Click);
}

QVector<const ControlArray<QLabel> *> WeeklyTab::columnArrays() const
{
    return {&Day1A, &Day1R, &Day2A, &Day2R, &Day3A, &Day3R, &Day4A, &Day4R, &Day5A,
            &Day5R, &Day6A, &Day6R, &Day7A, &Day7R, &WDAA,  &WDAR,  &WKAA,  &WKAR};
}

QVector<QLabel *> WeeklyTab::dayHeaders() const
{
    return {Date1, Date2, Date3, Date4, Date5, Date6, Date7};
}

WeeklyGrid WeeklyTab::grid() const
{
    WeeklyGrid g = WeeklyGrid::designState();
    const auto columns = columnArrays();
    for (int c = 0; c < WeeklyGrid::ColumnCount; ++c)
        for (int r = 0; r < WeeklyGrid::RowCount; ++r)
            g.cell(c, r) = columns[c]->at(r)->text();
    for (int k = 0; k < 9; ++k) {
        g.combined[k] = DayComb[55 + k]->text();
        g.split[k] = Split[k]->text();
    }
    const auto headers = dayHeaders();
    for (int k = 0; k < 7; ++k)
        g.headers[k] = headers[k]->text();
    return g;
}

void WeeklyTab::showGrid(const WeeklyGrid &g)
{
    const auto columns = columnArrays();
    for (int c = 0; c < WeeklyGrid::ColumnCount; ++c)
        for (int r = 0; r < WeeklyGrid::RowCount; ++r)
            columns[c]->at(r)->setText(g.cell(c, r));
    for (int k = 0; k < 9; ++k) {
        DayComb[55 + k]->setText(g.combined.value(k));
        Split[k]->setText(g.split.value(k));
    }
    const auto headers = dayHeaders();
    for (int k = 0; k < 7; ++k)
        headers[k]->setText(g.headers.value(k));
}

void WeeklyTab::Command8_Click()
{
    calculateWeeklyTotals();
}

bool WeeklyTab::calculateWeeklyTotals()
{
    const ShownSurvey shown = m_survey ? m_survey() : ShownSurvey();
    WeeklyInput input;
    input.batch = shown.batch;
    input.startDate = shown.startDate;
    input.stopDate = shown.stopDate;
    input.previous = grid();
    input.startTime = shown.startTime;
    input.stopTime = shown.stopTime;
    WeeklyResult result;
    bool read = false;
    {
        BusyPointer busy;
        read = withSurveyDatabase(
            this, [&](DatabaseSession &session) { result = computeWeeklyGrid(session, input); });
    }
    if (!read)
        return false;
    if (!result.computed()) {
        notice(this, result.message);
        return false;
    }
    showGrid(result.grid);
    m_print.setCurrent(true);
    return true;
}

void WeeklyTab::ClearWeekData()
{
    const ControlArray<QLabel> *columns[] = {&Day1A, &Day1R, &Day2A, &Day2R, &Day3A, &Day3R,
                                             &Day4A, &Day4R, &Day5A, &Day5R, &Day6A, &Day6R,
                                             &Day7A, &Day7R, &WDAA,  &WDAR,  &WKAA,  &WKAR};
    for (const ControlArray<QLabel> *column : columns)
        for (int r = 0; r <= 24 && r < column->size(); ++r)
            column->at(r)->setText(QStringLiteral("*"));
    for (int i = 55; i <= 63; ++i)
        DayComb[i]->setText(QStringLiteral("*"));
    for (QLabel *l : Split)
        l->setText(QStringLiteral("*"));
    m_print.setCurrent(false);
}

void WeeklyTab::setPrintingEnabled(bool enabled)
{
    m_print.setAllowed(enabled);
}

} // namespace roadtally

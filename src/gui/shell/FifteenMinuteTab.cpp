#include "gui/shell/FifteenMinuteTab.h"

#include "core/analysis/FifteenMinute.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/WidgetKit.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace roadtally {

using namespace kit;

FifteenMinuteTab::FifteenMinuteTab(QWidget *parent) : QFrame(parent)
{
    VSViewPort4 = makeTabContainer(this, "VSViewPort4");
    auto *h = new QHBoxLayout(VSViewPort4);
    h->setContentsMargins(14, 10, 14, 10);
    h->setSpacing(14);
    Flex2 = named(new QTableWidget, "Flex2");
    Flex2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Flex2->verticalHeader()->hide();
    Flex2->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Flex2->horizontalHeader()->setHighlightSections(false);
    Flex2->setWordWrap(false);
    Flex2->verticalHeader()->setDefaultSectionSize(Flex2->fontMetrics().height() + 6);
    h->addWidget(Flex2);
    h->addStretch(1);

    auto *right = new QVBoxLayout;
    Frame10 =
        kit::directionFrame("Frame10", QStringLiteral("Date && Direction"), option7, "option7", 0,
                            {QStringLiteral("Approaching Only"), QStringLiteral("Receding Only"),
                             QStringLiteral("Both Directions")});
    option7[0]->setChecked(true);
    Date15min = makeListCombo("Date15min", DatePrompt);
    Date15min->hide();
    static_cast<QVBoxLayout *>(Frame10->layout())->addWidget(Date15min);
    DateChoice = makeLabel(QString(), nullptr, "DateChoice");
    DateChoice->hide();
    right->addWidget(Frame10);
    right->addWidget(DateChoice);

    Label21.resize(10);
    AnalysisCaption.resize(27);
    auto analysis = [this](QGroupBox *&box, const char *name, const QString &title,
                           const QVector<QPair<int, int>> &rows) {
        box = named(new QGroupBox(title), name);
        auto *g = new QGridLayout(box);
        for (int r = 0; r < rows.size(); ++r) {
            const int captionNumber = rows[r].first;
            const int valueIndex = rows[r].second;
            AnalysisCaption[captionNumber] =
                makeLabel(QString(), "caption", "Label", captionNumber);
            AnalysisCaption[captionNumber]->setObjectName(
                QStringLiteral("Label%1").arg(captionNumber));
            Label21[valueIndex] = makeLabel(QString(), "value", "Label21", valueIndex);
            Label21[valueIndex]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            g->addWidget(AnalysisCaption[captionNumber], r, 0);
            g->addWidget(Label21[valueIndex], r, 1);
        }
        box->hide();
    };
    analysis(AMAnalysis, "AMAnalysis", QStringLiteral("AM Analysis"),
             {{16, 0}, {17, 1}, {18, 2}, {19, 3}, {20, 4}});
    analysis(PMAnalysis, "PMAnalysis", QStringLiteral("PM Analysis"),
             {{22, 9}, {23, 8}, {24, 7}, {25, 6}, {26, 5}});
    const QPair<int, const char *> captions[] = {
        {16, "AM Total *"},       {17, "Peak Hour *"},       {18, "Peak Flow *"},
        {19, "Peak % of AM *"},   {20, "Peak % of 24 Hr *"}, {22, "PM Total *"},
        {23, "Peak Hour *"},      {24, "Peak Flow *"},       {25, "Peak % of PM *"},
        {26, "Peak % of 24 Hr *"}};
    for (const auto &c : captions)
        AnalysisCaption[c.first]->setText(QString::fromLatin1(c.second));
    const char *placeholders[] = {"0000", "12:00 - 9:00", "0000/hr", "00.0%", "00.0%"};
    for (int i = 0; i < 5; ++i) {
        Label21[i]->setText(QString::fromLatin1(placeholders[i]));
        Label21[9 - i]->setText(QString::fromLatin1(placeholders[i]));
    }
    right->addWidget(AMAnalysis);
    right->addWidget(PMAnalysis);
    Command7 = makeButton(QStringLiteral("Print Graph"), "Command7");
    right->addWidget(Command7);
    right->addStretch();
    h->addWidget(sideColumn(right, 300));
    m_print.setButton(Command7);
    connect(Command7, &QPushButton::clicked, this,
            [this] { emit printRequested(ReportKind::FifteenMinute); });
    for (QRadioButton *option : option7)
        connect(option, &QRadioButton::clicked, this, &FifteenMinuteTab::option7_Click);
    connect(Date15min, &QComboBox::activated, this, &FifteenMinuteTab::Date15min_Click);
}

namespace {

// Screen pixels of a width given in twips (1/1440 inch), at the screen's
// logical resolution.
int twipsToPixels(const QWidget *w, int twips)
{
    return qRound(twips * w->logicalDpiX() / 1440.0);
}

} // namespace

SurveyDirection FifteenMinuteTab::selectedDirection() const
{
    return checkedDirection(option7[0], option7[1], option7[2]).value_or(SurveyDirection::Both);
}

int FifteenMinuteTab::columnPixels(int twips) const
{
    // The widths were chosen for a smaller type than the screen's: scale them
    // so that the widest time cell ("00:00 - 00:15", 1300 twips) fits on one line.
    const int timeText =
        Flex2->fontMetrics().horizontalAdvance(QStringLiteral("00:00 - 00:15")) + 12;
    const double scale = std::max(1.0, timeText / double(twipsToPixels(Flex2, 1300)));
    return qRound(twipsToPixels(Flex2, twips) * scale);
}

void FifteenMinuteTab::setGridWidth(int twips)
{
    // The grid's columns fill the width given; its frame and scroll bar come on top.
    const int frame = 2 * Flex2->frameWidth() + Flex2->verticalScrollBar()->sizeHint().width();
    Flex2->setFixedWidth(columnPixels(twips) + frame);
}

void FifteenMinuteTab::option7_Click()
{
    {
        const QSignalBlocker blocker(Date15min);
        Date15min->setEditText(DatePrompt);
    }
    Date15min->show();
    clearGrid();
    setGridWidth(fifteenMinuteLayout(selectedDirection()).gridWidth);
}

void FifteenMinuteTab::clearGrid()
{
    Flex2->hide();
    AMAnalysis->hide();
    PMAnalysis->hide();
    Flex2->clearContents();
    m_print.setCurrent(false);
}

void FifteenMinuteTab::Date15min_Click()
{
    DateChoice->setText(Date15min->currentText());
    showDate(DateChoice->text(), selectedDirection());
}

bool FifteenMinuteTab::showDate(const QString &date, SurveyDirection direction)
{
    FifteenMinuteInput input;
    input.batch = m_survey ? m_survey().batch : QString();
    input.date = date;
    input.direction = direction;
    FifteenMinuteResult result;
    if (!withSurveyDatabase(this, [&](DatabaseSession &s) { result = fifteenMinute(s, input); })) {
        clearGrid();
        return false;
    }

    const FifteenMinuteLayout &layout = result.layout;
    Flex2->setUpdatesEnabled(false);
    Flex2->clear();
    Flex2->setColumnCount(int(layout.headers.size()));
    // The header row is the grid's fixed row: it stays in view while the rows scroll.
    Flex2->setRowCount(int(result.rows.size()));
    Flex2->setHorizontalHeaderLabels(layout.headers);
    for (int c = 0; c < layout.headers.size(); ++c)
        Flex2->setColumnWidth(c, columnPixels(layout.widths.value(c)));
    for (int r = 0; r < result.rows.size(); ++r) {
        const QStringList &row = result.rows.at(r);
        for (int c = 0; c < layout.headers.size(); ++c) {
            auto *item = new QTableWidgetItem(row.value(c));
            item->setTextAlignment(Qt::AlignCenter);
            Flex2->setItem(r, c, item);
        }
    }
    setGridWidth(layout.gridWidth);
    Flex2->setUpdatesEnabled(true);
    Flex2->show();

    for (int i = 0; i < 10; ++i)
        Label21[i]->setText(result.label21.value(i));
    AMAnalysis->show();
    PMAnalysis->show();
    m_print.setCurrent(true);
    return true;
}

Report15minInput FifteenMinuteTab::reportInput() const
{
    Report15minInput in;
    in.chosenDate = DateChoice->text();
    in.direction = checkedDirection(option7[0], option7[1], option7[2]);
    for (int i = 0; i < 5; ++i) {
        in.morning[size_t(i)] = Label21[i]->text();
        in.afternoon[size_t(i)] = Label21[9 - i]->text();
    }
    return in;
}

void FifteenMinuteTab::selectDirection(SurveyDirection direction)
{
    option7[int(direction)]->setChecked(true);
    option7_Click();
}

bool FifteenMinuteTab::prepareReport(SurveyDirection direction, const QString &date)
{
    {
        const QSignalBlocker blocker(Date15min);
        Date15min->setEditText(date);
    }
    DateChoice->setText(date);
    return showDate(date, direction);
}

void FifteenMinuteTab::setPrintingEnabled(bool enabled)
{
    m_print.setAllowed(enabled);
}

void FifteenMinuteTab::setDates(const QStringList &dates)
{
    const bool keep = m_print.isCurrent() && dates.contains(DateChoice->text());
    if (!keep && m_print.isCurrent())
        clearGrid();
    const QSignalBlocker blocker(Date15min);
    resetCombo(Date15min, DatePrompt);
    for (const QString &d : dates)
        Date15min->addItem(d);
    Date15min->setEditText(keep ? DateChoice->text() : DatePrompt);
}

void FifteenMinuteTab::showDatePrompt()
{
    const QSignalBlocker blocker(Date15min);
    Date15min->setEditText(DatePrompt);
}

} // namespace roadtally

#include "views/FifteenMinuteTab.h"

#include "views/WidgetKit.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

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
    Flex2->horizontalHeader()->hide();
    Flex2->setMinimumWidth(430);
    h->addWidget(Flex2, 3);

    auto *right = new QVBoxLayout;
    Frame10 = kit::directionFrame("Frame10", QStringLiteral("Date && Direction"), option7, "option7", 0,
                             {QStringLiteral("Approaching Only"), QStringLiteral("Receeding Only"),
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
        {19, "Peak % of AM *"},   {20, "Peak % fo 24 Hr *"}, {22, "PM Total *"},
        {23, "Peak Hour *"},      {24, "Peak Flow *"},       {25, "Peak % of PM *"},
        {26, "Peak % fo 24 Hr *"}};
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
    connect(Command7, &QPushButton::clicked, this, [this] { emit printRequested(4); });
}

} // namespace roadtally

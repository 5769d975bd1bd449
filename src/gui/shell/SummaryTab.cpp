#include "gui/shell/SummaryTab.h"

#include "core/analysis/DisplayScheme.h"
#include "core/analysis/SurveyCriteria.h"
#include "core/store/BoundDataSource.h"
#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "gui/info/pace_description.h"
#include "gui/info/percent.h"
#include "gui/kit/Artwork.h"
#include "gui/kit/BoundLabel.h"
#include "gui/kit/ClickLabel.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/WidgetKit.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace roadtally {

using namespace kit;

namespace {

const QString SchemePrompt = QStringLiteral("** Select Display Scheme **");

} // namespace

SummaryTab::SummaryTab(QWidget *parent)
    : QFrame(parent), Label3(3), Option1(3), Label6(11), Label7(10), Label1(24), Label2(58),
      Label4(2), Label5(6), PaceCaption(3)
{
    setObjectName(QStringLiteral("tabPage"));
    auto *pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    FrameS = named(new QFrame(this), "FrameS");
    pageLayout->addWidget(FrameS);

    QFont panelFont = font();
    panelFont.setPointSize(10);
    FrameS->setFont(panelFont);
    auto *v = new QVBoxLayout(FrameS);
    v->setContentsMargins(16, 12, 16, 12);
    v->setSpacing(12);

    // 1. Agency line and the officer who prepares the reports.
    auto *top = new QHBoxLayout;
    Agency = makeLabel(QStringLiteral("Name of Municipality"), nullptr, "Agency");
    top->addWidget(Agency, 1);
    Label6[9] = makeLabel(QStringLiteral("Reports prepared by:"), "caption", "Label6", 9);
    Officer_Select = makeListCombo("Officer_Select", QString());
    Officer_Select->setMinimumWidth(240);
    top->addWidget(Label6[9]);
    top->addWidget(Officer_Select);
    v->addLayout(top);

    // 2. Scheme and direction on the left, the survey header on the right.
    auto *middle = new QHBoxLayout;
    middle->setSpacing(12);
    auto *choice = makeBox("choiceBox");
    auto *cg = new QGridLayout(choice);
    cg->setContentsMargins(14, 12, 14, 12);
    cg->setVerticalSpacing(8);
    Label3[0] = makeLabel(QStringLiteral("Display Scheme"), "boxTitle", "Label3", 0);
    Combo1 = makeListCombo("Combo1", SchemePrompt);
    Combo1->setMinimumWidth(250);
    Label3[2] = makeLabel(QStringLiteral("Direction of travel"), "boxTitle", "Label3", 2);
    Option1[0] = named(new QRadioButton(QStringLiteral("Approaching Vehicles Only")), "Option1", 0);
    Option1[1] = named(new QRadioButton(QStringLiteral("Receding Vehicles Only")), "Option1", 1);
    Option1[2] = named(new QRadioButton(QStringLiteral("Both Directions ")), "Option1", 2);
    Option1[0]->setChecked(true);
    cg->addWidget(Label3[0], 0, 0);
    cg->addWidget(Combo1, 1, 0);
    cg->addItem(new QSpacerItem(1, 6), 2, 0);
    cg->addWidget(Label3[2], 3, 0);
    for (int i = 0; i < 3; ++i)
        cg->addWidget(Option1[i], 4 + i, 0);
    cg->setRowStretch(7, 1);
    middle->addWidget(choice);

    Shape8 = makeBox("Shape8");
    auto *hg = new QGridLayout(Shape8);
    hg->setContentsMargins(18, 12, 18, 12);
    hg->setHorizontalSpacing(14);
    hg->setVerticalSpacing(8);
    Label8 = makeLabel(QString(), "value", "Label8");
    Label9 = makeLabel(QString(), "value", "Label9");
    Label10 = makeLabel(QString(), "value", "Label10");
    for (int i : {0, 1, 3, 4, 5, 8, 9})
        Label7[i] = makeLabel(QString(), "value", "Label7", i);
    struct HeaderItem
    {
        int caption;
        const char *text;
        QLabel *value;
        int row;
        int column;
    };
    const HeaderItem items[] = {
        {0, "Start Date", Label7[0], 0, 0}, {1, "End Date", Label7[1], 1, 0},
        {2, "Start Time", Label8, 2, 0},    {3, "End Time", Label7[3], 3, 0},
        {4, "Batch #", Label7[4], 0, 1},    {5, "Posted Speed", Label7[9], 1, 1},
        {6, "Zone", Label7[5], 2, 1},       {7, "Total Time", Label9, 3, 1},
        {8, "Location", Label10, 4, 0},     {10, "Direction", Label7[8], 4, 1},
    };
    for (const HeaderItem &it : items) {
        Label6[it.caption] =
            makeLabel(QString::fromLatin1(it.text), "caption", "Label6", it.caption);
        Label6[it.caption]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        it.value->setMinimumWidth(130);
        it.value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        hg->addWidget(Label6[it.caption], it.row, it.column * 2);
        hg->addWidget(it.value, it.row, it.column * 2 + 1);
    }
    Label10->setWordWrap(true);
    hg->setColumnStretch(1, 2);
    hg->setColumnStretch(3, 1);
    middle->addWidget(Shape8, 1);
    v->addLayout(middle);

    buildDistribution(v);
    buildBoxes(v);

    // 6. The two buttons and the hidden unit label.
    auto *buttons = new QHBoxLayout;
    Radar_Mode = makeLabel(QString(), nullptr, "Radar_Mode");
    Radar_Mode->hide();
    buttons->addWidget(Radar_Mode);
    buttons->addStretch();
    Command1 = makeButton(QStringLiteral("View Speeding Vehicle Profile"), "Command1");
    Command6 = makeButton(QStringLiteral("Print Report"), "Command6");
    m_print.setButton(Command6);
    buttons->addWidget(Command1);
    buttons->addWidget(Command6);
    v->addLayout(buttons);
    v->addStretch(1);

    FrameS->hide();

    for (int i = 0; i < 3; ++i)
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Command1, &QPushButton::clicked, this, &SummaryTab::speedProfileRequested);
    connect(Command6, &QPushButton::clicked, this,
            [this] { emit printRequested(ReportKind::Summary); });
    connect(Image1, &ClickLabel::clicked, this, &SummaryTab::showPaceDescription);
    for (ClickLabel *l : Label5)
        connect(l, &ClickLabel::clicked, this, &SummaryTab::showPaceDescription);
    connect(Label85th, &ClickLabel::clicked, this, &SummaryTab::showPercentDescription);
}

void SummaryTab::buildDistribution(QVBoxLayout *v)
{
    // 3. The speed distribution: bin captions, volumes and shares.
    auto *grid = named(new QFrame, "distributionGrid");
    grid->setProperty("grid", true);
    auto *gg = new QGridLayout(grid);
    gg->setContentsMargins(1, 1, 1, 1);
    gg->setSpacing(1);
    const char *design[] = {"1 - 14",  "15 - 19", "20 - 24", "25 - 29", "30 - 34",
                            "35 - 39", "40 - 44", "45 - 49", "50 - 54", "55 - 59",
                            "60 - 64", "65 - 69", "70 - 999"};
    Label1[0] = makeLabel(QStringLiteral("Speed"), "rowHead", "Label1", 0);
    Label1[14] = makeLabel(QStringLiteral("Volume"), "rowHead", "Label1", 14);
    Label1[15] = makeLabel(QStringLiteral("% of Total"), "rowHead", "Label1", 15);
    gg->addWidget(Label1[0], 0, 0);
    gg->addWidget(Label1[14], 1, 0);
    gg->addWidget(Label1[15], 2, 0);
    for (int i = 1; i <= 13; ++i) {
        Label1[i] = makeLabel(QString::fromLatin1(design[i - 1]), "head", "Label1", i);
        Label2[i - 1] = makeLabel(QString(), nullptr, "Label2", i - 1);
        Label2[i + 12] = makeLabel(QString(), nullptr, "Label2", i + 12);
        for (QLabel *l : {Label1[i], Label2[i - 1], Label2[i + 12]})
            l->setAlignment(Qt::AlignCenter);
        gg->addWidget(Label1[i], 0, i);
        gg->addWidget(Label2[i - 1], 1, i);
        gg->addWidget(Label2[i + 12], 2, i);
        gg->setColumnStretch(i, 1);
    }
    for (int r = 0; r < 3; ++r)
        gg->setRowMinimumHeight(r, 36);
    gg->setColumnMinimumWidth(0, 100);
    grid->setMaximumHeight(160);
    v->addWidget(grid, 2);

    // 4. The totals line.
    auto *totals = makeBox("totalsLine");
    auto *tl = new QHBoxLayout(totals);
    tl->setContentsMargins(16, 8, 16, 8);
    const QPair<int, const char *> totalItems[] = {
        {22, "Unknown:"}, {16, "Approaching:"}, {18, "Receding:"}, {20, "Total Surveyed:"}};
    for (const auto &t : totalItems) {
        Label1[t.first] = makeLabel(QString::fromLatin1(t.second), "caption", "Label1", t.first);
        Label1[t.first + 1] = makeLabel(QString(), "value", "Label1", t.first + 1);
        Label1[t.first + 1]->setMinimumWidth(60);
        tl->addWidget(Label1[t.first]);
        tl->addWidget(Label1[t.first + 1]);
        tl->addStretch(1);
    }
    v->addWidget(totals);
}

void SummaryTab::buildBoxes(QVBoxLayout *v)
{
    // 5. Three boxes: speed statistics, pace, number exceeding the limit.
    auto *boxes = new QHBoxLayout;
    boxes->setSpacing(12);

    Shape9 = makeBox("Shape9");
    auto *sg = new QGridLayout(Shape9);
    sg->setContentsMargins(16, 12, 16, 12);
    sg->setHorizontalSpacing(10);
    sg->setVerticalSpacing(10);
    Label4[0] = makeLabel(QStringLiteral("Speed Statistics"), "boxTitle", "Label4", 0);
    sg->addWidget(Label4[0], 0, 0, 1, 3);
    Label5[4] = named(new ClickLabel(QStringLiteral("Posted Limit")), "Label5", 4);
    Label2[44] = makeLabel(QString(), "value", "Label2", 44);
    auto *limitRow = new QHBoxLayout;
    limitRow->setSpacing(8);
    limitRow->addStretch();
    limitRow->addWidget(Label5[4]);
    limitRow->addWidget(Label2[44]);
    sg->addLayout(limitRow, 0, 3, 1, 2);
    Label2[33] = makeLabel(QStringLiteral(" At/Under Limit"), "caption", "Label2", 33);
    Label2[29] = makeLabel(QStringLiteral("Number Over Limit"), "caption", "Label2", 29);
    Label2[30] = makeLabel(QStringLiteral("Average Speed"), "caption", "Label2", 30);
    Label85th = named(new ClickLabel(QStringLiteral("85th Percentile")), "Label85th", 31);
    Label2[35] = makeLabel(QStringLiteral(" Maximum Speed"), "caption", "Label2", 35);
    QLabel *statCaptions[] = {Label2[33], Label2[29], Label2[30], Label85th, Label2[35]};
    const int statValues[] = {32, 26, 27, 28, 34};
    for (int c = 0; c < 5; ++c) {
        statCaptions[c]->setAlignment(Qt::AlignCenter);
        statCaptions[c]->setWordWrap(true);
        sg->addWidget(statCaptions[c], 1, c);
        QLabel *value = makeLabel(QString(), "value", "Label2", statValues[c]);
        value->setAlignment(Qt::AlignCenter);
        Label2[statValues[c]] = value;
        sg->addWidget(value, 2, c);
        sg->setColumnStretch(c, 1);
    }
    Label2[56] = makeLabel(QString(), "value", "Label2", 56);
    Label2[57] = makeLabel(QString(), "value", "Label2", 57);
    Label2[56]->setAlignment(Qt::AlignCenter);
    Label2[57]->setAlignment(Qt::AlignCenter);
    Label5[5] = named(new ClickLabel(QStringLiteral("Percent of Total")), "Label5", 5);
    sg->addWidget(Label2[56], 3, 0);
    sg->addWidget(Label2[57], 3, 1);
    sg->addWidget(Label5[5], 3, 2, 1, 3);
    for (int r = 1; r <= 3; ++r)
        sg->setRowStretch(r, 1);
    boxes->addWidget(Shape9, 5);

    Shape10 = makeBox("Shape10");
    auto *pg = new QGridLayout(Shape10);
    pg->setContentsMargins(16, 12, 16, 12);
    pg->setVerticalSpacing(10);
    PaceCaption[2] = makeLabel(QStringLiteral("10 (X)PH Pace"), "boxTitle", "PaceCaption", 2);
    Image1 = named(new ClickLabel, "Image1");
    Image1->setPixmap(informationPicture(20));
    Image1->setToolTip(QStringLiteral("Pace Description"));
    pg->addWidget(PaceCaption[2], 0, 0);
    pg->addWidget(Image1, 0, 1, Qt::AlignRight);
    const char *paceCaptions[] = {"Pace Range", "Number in Pace", "Percent in Pace"};
    for (int i = 0; i < 3; ++i) {
        Label5[i] = named(new ClickLabel(QString::fromLatin1(paceCaptions[i])), "Label5", i);
        Label2[36 + i] = makeLabel(QString(), "value", "Label2", 36 + i);
        Label2[36 + i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pg->addWidget(Label5[i], 1 + i, 0);
        pg->addWidget(Label2[36 + i], 1 + i, 1);
    }
    pg->setColumnStretch(0, 1);
    for (int r = 1; r <= 3; ++r)
        pg->setRowStretch(r, 1);
    boxes->addWidget(Shape10, 3);

    Shape11 = makeBox("Shape11");
    auto *ng = new QGridLayout(Shape11);
    ng->setContentsMargins(16, 12, 16, 12);
    ng->setVerticalSpacing(10);
    ng->setHorizontalSpacing(10);
    Label4[1] = makeLabel(QStringLiteral("Number Exceeding Limit"), "boxTitle", "Label4", 1);
    ng->addWidget(Label4[1], 0, 0, 1, 5);
    const QPair<int, const char *> heads[] = {
        {39, "Speed"}, {40, "35+"}, {41, "45+"}, {42, "55+"}, {43, "Total"}};
    for (int c = 0; c < 5; ++c) {
        Label2[heads[c].first] =
            makeLabel(QString::fromLatin1(heads[c].second), "caption", "Label2", heads[c].first);
        Label2[heads[c].first]->setAlignment(Qt::AlignCenter);
        ng->addWidget(Label2[heads[c].first], 1, c);
        ng->setColumnStretch(c, 1);
    }
    Label2[49] = makeLabel(QStringLiteral("Number"), "caption", "Label2", 49);
    Label2[50] = makeLabel(QStringLiteral("Percent"), "caption", "Label2", 50);
    ng->addWidget(Label2[49], 2, 0, Qt::AlignCenter);
    ng->addWidget(Label2[50], 3, 0, Qt::AlignCenter);
    for (int c = 0; c < 4; ++c) {
        Label2[45 + c] = makeLabel(QString(), "value", "Label2", 45 + c);
        Label2[51 + c] = makeLabel(QString(), "value", "Label2", 51 + c);
        Label2[45 + c]->setAlignment(Qt::AlignCenter);
        Label2[51 + c]->setAlignment(Qt::AlignCenter);
        ng->addWidget(Label2[45 + c], 2, 1 + c);
        ng->addWidget(Label2[51 + c], 3, 1 + c);
    }
    for (int r = 1; r <= 3; ++r)
        ng->setRowStretch(r, 1);
    boxes->addWidget(Shape11, 4);
    for (QFrame *box : {Shape9, Shape10, Shape11}) {
        box->setMinimumHeight(170);
        box->setMaximumHeight(220);
    }
    v->addLayout(boxes, 3);

    // Label5 has no item 3; iterating skips it.
    for (ClickLabel *l : Label5) {
        l->setProperty("role", QStringLiteral("caption"));
        l->setToolTip(QStringLiteral("Pace Description"));
    }
    Label85th->setProperty("role", QStringLiteral("caption"));
    Label85th->setToolTip(QStringLiteral("85th Percentile"));
}

void SummaryTab::bindSources(BoundDataSource *header, BoundDataSource *summary,
                             BoundDataSource *agency, BoundDataSource *officer)
{
    m_summary = summary;
    bindLabel(Label7[4], header, QStringLiteral("Batch_Number"));
    bindLabel(Label7[5], header, QStringLiteral("Zone"));
    bindLabel(Label10, header, QStringLiteral("Location"));
    bindLabel(Label7[8], header, QStringLiteral("Direction"));
    bindLabel(Radar_Mode, header, QStringLiteral("Radar_Mode"));

    bindLabel(Label7[0], summary, QStringLiteral("Start_Date"));
    bindLabel(Label7[1], summary, QStringLiteral("Stop_Date"));
    bindLabel(Label8, summary, QStringLiteral("Start_Time"));
    bindLabel(Label7[3], summary, QStringLiteral("Stop_Time"));
    bindLabel(Label9, summary, QStringLiteral("Total_Time"));
    bindLabel(Label7[9], summary, QStringLiteral("Posted_Limit"));
    bindLabel(Label2[44], summary, QStringLiteral("Posted_Limit"));
    bindLabel(Label2[27], summary, QStringLiteral("50th_PercentileA"));
    bindLabel(Label2[28], summary, QStringLiteral("85th_PercentileA"));
    bindLabel(Label2[34], summary, QStringLiteral("Max_Speed"));
    bindLabel(Label2[36], summary, QStringLiteral("PaceA"));
    bindLabel(Label2[37], summary, QStringLiteral("Pace_TotalA"));
    bindLabel(Label2[38], summary, QStringLiteral("Pace_PercentA"));
    bindLabel(Label1[23], summary, QStringLiteral("Total_Unknown"));
    bindLabel(Label1[17], summary, QStringLiteral("Total_Approach"));
    bindLabel(Label1[19], summary, QStringLiteral("Total_Receeding"));
    bindLabel(Label1[21], summary, QStringLiteral("Total_Vehicles"));

    bindLabel(Agency, agency, QStringLiteral("Admin_Agency"));
    bindComboText(Officer_Select, officer, QStringLiteral("Admin_Officer"));
}

void SummaryTab::showBandHeaders()
{
    const BandHeaders headers = bandHeaders(Label7[9]->text());
    Label2[40]->setText(headers.first);
    Label2[41]->setText(headers.second);
    Label2[42]->setText(headers.third);
}

void SummaryTab::fillSchemeList()
{
    Combo1->setEditText(SchemePrompt);
    Combo1->addItems(displaySchemeNames(Radar_Mode->text()));
    Combo1->setEditText(SchemePrompt);
}

int SummaryTab::checkedDirection() const
{
    return Option1[0]->isChecked()   ? 0
           : Option1[1]->isChecked() ? 1
           : Option1[2]->isChecked() ? 2
                                     : -1;
}

void SummaryTab::showPaceDescription()
{
    showInformation<pace_description>();
}

void SummaryTab::showPercentDescription()
{
    showInformation<percent>();
}

SurveyDirection SummaryTab::summaryDirection() const
{
    if (Option1[1]->isChecked())
        return SurveyDirection::Receding;
    if (Option1[2]->isChecked())
        return SurveyDirection::Both;
    return SurveyDirection::Approaching;
}

void SummaryTab::Option1_Click(int index)
{
    Q_UNUSED(index);
    for (int i = 0; i <= 25; ++i)
        Label2[i]->clear();
    Survey_Criteria();
    // The chosen scheme stays chosen: its distribution for the new direction.
    if (m_scheme.isEmpty() || !runScheme(m_scheme))
        forgetScheme();
}

void SummaryTab::forgetScheme()
{
    m_scheme.clear();
    for (int i = 0; i <= 25; ++i)
        Label2[i]->clear();
    const QSignalBlocker blocker(Combo1);
    Combo1->setEditText(SchemePrompt);
    m_print.setCurrent(false);
}

void SummaryTab::Survey_Criteria()
{
    showBandHeaders();

    const int checked = checkedDirection();
    if (checked < 0)
        return;
    const auto direction = static_cast<SurveyDirection>(checked);
    for (const CriteriaBinding &b : criteriaBindings(direction))
        bindLabel(Label2[b.label], m_summary, b.field);

    const QLabel *totalLabel = Label1[17 + 2 * checked];
    CriteriaInput in;
    in.postedLimit = Label7[9]->text();
    in.total = totalLabel->text();
    in.numberOver = Label2[26]->text();
    in.band10 = Label2[45]->text();
    in.band20 = Label2[46]->text();
    in.band30 = Label2[47]->text();
    const CriteriaResult r = computeCriteria(in, direction);
    Label2[32]->setText(r.atOrUnder);
    Label2[56]->setText(r.percentAtOrUnder);
    Label2[57]->setText(r.percentOver);
    for (int i = 0; i < 4; ++i)
        Label2[51 + i]->setText(r.percentBands[i]);
    Label5[5]->setText(r.percentCaption);
}

void SummaryTab::Combo1_Click()
{
    // Only a scheme of the survey's unit has a distribution (the prompt has none).
    const QString text = Combo1->currentText();
    const DisplayScheme *scheme = findDisplayScheme(text);
    if (!scheme || !schemeNames().contains(scheme->name) || !runScheme(scheme->name)) {
        forgetScheme();
        return;
    }
    m_scheme = scheme->name;
    for (int i = 0; i < 13; ++i)
        Label1[1 + i]->setText(scheme->bins.at(i).label);
    m_print.setCurrent(true);
}

bool SummaryTab::runScheme(const QString &name)
{
    const DisplayScheme *scheme = findDisplayScheme(name);
    if (!scheme)
        return false;
    const int checked = checkedDirection();
    if (checked < 0)
        return false;
    const auto direction = static_cast<SurveyDirection>(checked);
    const QString total = Label1[17 + 2 * checked]->text();
    return withSurveyDatabase(this, [&](DatabaseSession &session) {
        const SchemeResult r = computeScheme(session, Label7[4]->text(), *scheme, direction, total);
        for (int i = 0; i < 13; ++i) {
            Label2[i]->setText(r.volumeTexts.at(i));
            Label2[13 + i]->setText(r.percentTexts.at(i));
        }
    });
}

void SummaryTab::schemeAA()
{
    runScheme(QStringLiteral("1 to 25 by 2 MPH"));
}
void SummaryTab::schemeA()
{
    runScheme(QStringLiteral("15 to 70 by 5 MPH"));
}
void SummaryTab::SchemeB()
{
    runScheme(QStringLiteral("20 to 42 by 2 MPH"));
}
void SummaryTab::SchemeC()
{
    runScheme(QStringLiteral("30 to 52 by 2 MPH"));
}
void SummaryTab::schemeK()
{
    runScheme(QStringLiteral("35 to 90 by 5 KPH"));
}
void SummaryTab::schemeK2()
{
    runScheme(QStringLiteral("65 to 120 by 5 KPH"));
}

// ---------------------------------------------------------------------------
// What the main window asks of the tab: the label indices stay in this file.

SurveyAsShown SummaryTab::surveyAsShown() const
{
    SurveyAsShown shown;
    SurveyFacts &f = shown.facts;
    f.batch = Label7[4]->text();
    f.startDate = Label7[0]->text();
    f.endDate = Label7[1]->text();
    f.startTime = Label8->text();
    f.endTime = Label7[3]->text();
    f.totalTime = Label9->text();
    f.zone = Label7[5]->text();
    f.location = Label10->text();
    f.direction = Label7[8]->text();
    f.postedLimit = Label7[9]->text();
    f.unit = Radar_Mode->text();
    shown.totals = {Label1[23]->text(), Label1[17]->text(), Label1[19]->text(), Label1[21]->text()};
    shown.direction = summaryDirection();
    SpeedStatistics &s = shown.statistics;
    s.postedLimit = Label2[44]->text();
    s.atOrUnder = Label2[32]->text();
    s.over = Label2[26]->text();
    s.average = Label2[27]->text();
    s.percentile85 = Label2[28]->text();
    s.pace = Label2[36]->text();
    s.paceCount = Label2[37]->text();
    s.pacePercent = Label2[38]->text();
    for (int i = 0; i < 3; ++i)
        s.bandHeadings[size_t(i)] = Label2[40 + i]->text();
    for (int i = 0; i < 4; ++i) {
        s.bandNumbers[size_t(i)] = Label2[45 + i]->text();
        s.bandPercents[size_t(i)] = Label2[51 + i]->text();
    }
    return shown;
}

QString SummaryTab::batch() const
{
    return Label7[4]->text();
}

ReportSummaryInput SummaryTab::summaryReport() const
{
    const SurveyAsShown shown = surveyAsShown();
    ReportSummaryInput in;
    in.facts = shown.facts;
    in.totals = shown.totals;
    in.statistics = shown.statistics;
    for (int i = 0; i < 13; ++i) {
        in.binHeadings[size_t(i)] = Label1[1 + i]->text();
        in.volumes[size_t(i)] = Label2[i]->text();
        in.percents[size_t(i)] = Label2[13 + i]->text();
    }
    in.schemeName = m_scheme;
    in.direction = kit::checkedDirection(Option1[0], Option1[1], Option1[2]);
    return in;
}

QString SummaryTab::agency() const
{
    return Agency->text();
}

QString SummaryTab::officer() const
{
    return Officer_Select->currentText();
}

void SummaryTab::showOfficer(const QString &name)
{
    const QSignalBlocker blocker(Officer_Select);
    Officer_Select->setEditText(name);
}

void SummaryTab::setPanelVisible(bool visible)
{
    FrameS->setVisible(visible);
}

void SummaryTab::setPrintingEnabled(bool enabled)
{
    m_print.setAllowed(enabled);
}

void SummaryTab::selectDirection(SurveyDirection direction)
{
    const int index = int(direction);
    Option1[index]->setChecked(true);
    Option1_Click(index);
}

bool SummaryTab::prepareReport(const QString &scheme)
{
    Combo1->setEditText(scheme);
    Combo1_Click();
    return m_print.isCurrent();
}

void SummaryTab::surveyOpened()
{
    PaceCaption[2]->setText(QStringLiteral("10 ") + Radar_Mode->text() + QStringLiteral(" Pace"));
    forgetScheme();
    selectDirection(SurveyDirection::Approaching);
}

void SummaryTab::refreshSchemes()
{
    showBandHeaders();
    {
        const QSignalBlocker blocker(Combo1);
        Combo1->clear();
        fillSchemeList();
    }
    // The window's activation (a preview or another window closing) keeps
    // the choice the user made.
    if (!m_scheme.isEmpty() && schemeNames().contains(m_scheme)) {
        const QSignalBlocker blocker(Combo1);
        Combo1->setEditText(m_scheme);
    } else {
        forgetScheme();
    }
}

QStringList SummaryTab::schemeNames() const
{
    return displaySchemeNames(Radar_Mode->text());
}

} // namespace roadtally

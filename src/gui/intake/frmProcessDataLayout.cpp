#include "gui/intake/frmProcessData.h"

#include "core/survey/SurveyRules.h"

#include "core/store/BoundDataSource.h"
#include "gui/intake/ProcessDataTexts.h"
#include "gui/kit/HelpKey.h"
#include "gui/kit/WindowClose.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

// The processing window's construction: its four tabs and their controls.

namespace roadtally {

using namespace processdata;

namespace {

// The pale colour of the fields the user must fill in.
const QColor RequiredColour(255, 247, 204);
// Values the window shows but the user does not type.
const QColor ReadOnlyColour(238, 240, 243);

QLabel *valueLabel(QWidget *parent, int minimumWidth = 110)
{
    auto *label = new QLabel(parent);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setMinimumWidth(minimumWidth);
    label->setMinimumHeight(24);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAutoFillBackground(true);
    label->setIndent(4);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, ReadOnlyColour);
    label->setPalette(palette);
    return label;
}

// Shows an instruction as one flowing paragraph: the caption keeps the runs of
// blanks that once broke its lines, and the reader should not see them.
QLabel *paragraphLabel(const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    return label;
}

QLabel *wrappedLabel(const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setWordWrap(true);
    return label;
}

QComboBox *editableCombo(const QStringList &items, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    return combo;
}

void markRequired(QWidget *field)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, RequiredColour);
    field->setPalette(palette);
}

QFont fixedFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    return font;
}

} // namespace

frmProcessData::frmProcessData(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmProcessData"));
    setWindowTitle(text::Caption);
    kit::setHelpPage(this, QStringLiteral("loading"));

    Data7 = new BoundDataSource(this);
    Data8 = new BoundDataSource(this);

    sstab = new QTabWidget(this);
    sstab->addTab(buildProcessTab(), text::Tab0);
    sstab->addTab(buildHeaderTab(), text::Tab1);
    sstab->addTab(buildFilterTab(), text::Tab2);
    sstab->addTab(buildRawTab(), text::Tab3);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(sstab);

    resize(880, 540);
    // Cancel is out of reach while an import runs, and Escape and the frame's close
    // with it: a survey under way is not cancelled half-way.
    kit::closeThrough(this, Command1);
    Form_Load();
}

QWidget *frmProcessData::buildProcessTab()
{
    auto *page = new QWidget;

    // The header block: ten captions and their controls in two columns.
    auto *headerBox = new QGroupBox(text::SurveyHeader, page);
    Input_Batch_Date = valueLabel(headerBox);
    Input_Start_Time = valueLabel(headerBox);
    Combo1 = editableCombo(text::Units, headerBox);
    Trailer_code = editableCombo({}, headerBox);
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        Trailer_code->addItem(QString(QLatin1Char(letter)));
    Trailer_code->setCurrentIndex(0);
    Input_Batch_Number = valueLabel(headerBox);
    Input_Location_Code = valueLabel(headerBox);
    Input_Location = new QLineEdit(headerBox);
    Input_Direction = editableCombo(text::Directions, headerBox);
    Input_Zone = editableCombo(text::Zones, headerBox);
    Input_Posted_Speed = new QLineEdit(headerBox);
    for (QWidget *required :
         {static_cast<QWidget *>(Input_Location), static_cast<QWidget *>(Input_Direction),
          static_cast<QWidget *>(Input_Zone), static_cast<QWidget *>(Input_Posted_Speed)})
        markRequired(required);
    Input_Direction->setCurrentIndex(-1);
    Input_Zone->setCurrentIndex(-1);
    // No longer than a survey stores: the import refuses more, the box takes no more.
    Input_Location->setMaxLength(LocationMaxLength);
    Input_Direction->lineEdit()->setMaxLength(DirectionMaxLength);
    Input_Zone->lineEdit()->setMaxLength(ZoneMaxLength);

    const QList<QWidget *> fields = {
        Input_Batch_Date,    Input_Start_Time, Combo1,          Trailer_code, Input_Batch_Number,
        Input_Location_Code, Input_Location,   Input_Direction, Input_Zone,   Input_Posted_Speed};
    auto *grid = new QGridLayout(headerBox);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    for (int i = 0; i < fields.size(); ++i) {
        auto *tag = new QLabel(text::Tags[i], headerBox);
        tag->setBuddy(fields[i]);
        tags << tag;
        const int row = i % 5;
        const int column = (i / 5) * 3;
        grid->addWidget(tag, row, column);
        grid->addWidget(fields[i], row, column + 1);
    }
    grid->setColumnMinimumWidth(2, 24);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 2);

    Label26 = wrappedLabel(text::Label26, page);
    auto *swatch = new QLabel(page); // a sample of the colour the hint speaks of
    {
        QFont font = Label26->font();
        font.setItalic(true);
        Label26->setFont(font);
        swatch->setFixedSize(14, 14);
        swatch->setAutoFillBackground(true);
        swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
        QPalette palette = swatch->palette();
        palette.setColor(QPalette::Window, RequiredColour);
        swatch->setPalette(palette);
    }
    Label2 = new QLabel(page);
    Label2->hide();
    Start_Date = new QLabel(page);
    Start_Time = new QLabel(page);
    End_Date = new QLabel(page);
    End_Time = new QLabel(page);
    for (QLabel *period : {Start_Date, Start_Time, End_Date, End_Time})
        period->hide();

    // The filter summary: copies of the filter tab's values.
    Frame4 = new QGroupBox(text::Frame4, page);
    SpdMin2 = valueLabel(Frame4, 48);
    SpdMax2 = valueLabel(Frame4, 48);
    ShowHeadway2 = valueLabel(Frame4, 48);
    ShowHeadway2->setText(QStringLiteral("0"));
    for (QLabel *copy : {SpdMin2, SpdMax2, ShowHeadway2})
        copy->setAlignment(Qt::AlignCenter);
    {
        // The caption "Range              to" frames the low end between its two words.
        const QStringList rangeWords = text::Range.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        auto *filterGrid = new QGridLayout(Frame4);
        filterGrid->addWidget(new QLabel(rangeWords.value(0), Frame4), 0, 0);
        filterGrid->addWidget(SpdMin2, 0, 1);
        filterGrid->addWidget(new QLabel(rangeWords.value(1), Frame4), 0, 2, Qt::AlignCenter);
        filterGrid->addWidget(SpdMax2, 0, 3);
        filterGrid->addWidget(new QLabel(text::Headway, Frame4), 1, 0);
        filterGrid->addWidget(ShowHeadway2, 1, 1);
        filterGrid->setColumnStretch(4, 1);
    }

    ProcessFrame = new QGroupBox(page);
    ProcessBar = new QProgressBar(ProcessFrame);
    ProcessBar->setRange(0, 100);
    ProcessBar->setValue(0);
    {
        auto *processLayout = new QVBoxLayout(ProcessFrame);
        processLayout->addStretch(1);
        processLayout->addWidget(ProcessBar);
        processLayout->addStretch(1);
        QSizePolicy policy = ProcessFrame->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        ProcessFrame->setSizePolicy(policy);
        ProcessFrame->hide();
    }

    // Not a default button: Enter in a header field must not start the import.
    Command2 = new QPushButton(text::Command2, page);
    Command2->setAutoDefault(false);
    {
        QFont font = Command2->font();
        font.setBold(true);
        Command2->setFont(font);
    }
    Command4 = new QPushButton(text::Command4, page);
    Command1 = new QPushButton(text::Command1, page);
    Command2->setMinimumHeight(34);
    Command4->setMinimumHeight(34);
    Command1->setMinimumHeight(34);
    Command1->setMinimumWidth(100);
    Command4->setMinimumWidth(130);

    auto *hint = new QHBoxLayout;
    hint->addWidget(swatch);
    hint->addWidget(Label26, 1);

    auto *middle = new QHBoxLayout;
    middle->addWidget(Frame4, 2);
    middle->addWidget(ProcessFrame, 3);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command4);
    buttons->addWidget(Command1);
    buttons->addStretch(1);
    buttons->addWidget(Command2);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);
    layout->addWidget(headerBox);
    layout->addLayout(hint);
    layout->addLayout(middle);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Trailer_code, &QComboBox::activated, this, [this] { Trailer_code_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    return page;
}

QWidget *frmProcessData::buildHeaderTab()
{
    auto *page = new QWidget;
    Label42 = new QLabel(text::Label42, page);
    {
        QFont font = Label42->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.25);
        Label42->setFont(font);
        QPalette palette = Label42->palette();
        palette.setColor(QPalette::WindowText, QColor(170, 20, 20));
        Label42->setPalette(palette);
    }
    Label43 = paragraphLabel(text::Label43, page);

    Label48.resize(8);
    Label48[0] = new QLabel(text::Label48_0, page);
    Label48[1] = new QLabel(text::Label48_1, page);
    Label48[2] = new QLabel(text::Label48_2, page);
    Label48[3] = new QLabel(text::Label48_3, page);
    Label48[4] = new QLabel(text::Label48_4, page);
    Label48[7] = new QLabel(text::Label48_7, page);
    {
        QFont font = Label48[7]->font();
        font.setBold(true);
        Label48[7]->setFont(font);
    }

    auto *box = new QGroupBox(page);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    for (int i = 0; i < 5; ++i) {
        auto *edit = new QLineEdit(box);
        edit->setFixedWidth(200);
        Text4 << edit;
        Label48[i]->setBuddy(edit);
        grid->addWidget(Label48[i], i, 0);
        grid->addWidget(edit, i, 1);
    }
    grid->addWidget(Label48[7], 5, 0, 1, 2);
    grid->setColumnStretch(2, 1);

    Command7 = new QPushButton(text::Command7, page);
    Command7->setMinimumHeight(34);
    Command7->setMinimumWidth(180);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command7);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);
    layout->addWidget(Label42);
    layout->addWidget(Label43);
    layout->addWidget(box);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    return page;
}

QWidget *frmProcessData::buildFilterTab()
{
    auto *page = new QWidget;

    auto *rangeBox = new QGroupBox(text::SpeedRangeBox, page);
    Label14 = paragraphLabel(text::Label14, rangeBox);
    RadarMode = valueLabel(rangeBox, 60);
    SpdMin = valueLabel(rangeBox, 60);
    SpdMax = valueLabel(rangeBox, 60);
    SpdMin->setText(QStringLiteral("10"));
    SpdMax->setText(QStringLiteral("100"));
    for (QLabel *value : {RadarMode, SpdMin, SpdMax})
        value->setAlignment(Qt::AlignCenter);
    LowMinus = new QPushButton(text::Down, rangeBox);
    LowPlus = new QPushButton(text::Up, rangeBox);
    HighMinus = new QPushButton(text::Down, rangeBox);
    HighPlus = new QPushButton(text::Up, rangeBox);
    for (QPushButton *step : {LowMinus, LowPlus, HighMinus, HighPlus})
        step->setFixedWidth(36);
    SpdDefault = new QPushButton(text::SpdDefault, rangeBox);
    LowDefault = new QPushButton(text::LowDefault, rangeBox);
    SpdDefault->setMinimumWidth(150);
    LowDefault->setMinimumWidth(150);
    {
        auto *steps = new QGridLayout;
        steps->setHorizontalSpacing(8);
        steps->addWidget(new QLabel(text::UnitLabel, rangeBox), 0, 0);
        steps->addWidget(RadarMode, 0, 2);
        steps->addWidget(new QLabel(text::LowLabel, rangeBox), 1, 0);
        steps->addWidget(LowMinus, 1, 1);
        steps->addWidget(SpdMin, 1, 2);
        steps->addWidget(LowPlus, 1, 3);
        steps->addWidget(new QLabel(text::HighLabel, rangeBox), 2, 0);
        steps->addWidget(HighMinus, 2, 1);
        steps->addWidget(SpdMax, 2, 2);
        steps->addWidget(HighPlus, 2, 3);
        steps->setColumnMinimumWidth(4, 24);
        steps->addWidget(SpdDefault, 1, 5);
        steps->addWidget(LowDefault, 2, 5);
        steps->setColumnStretch(6, 1);

        auto *rangeLayout = new QVBoxLayout(rangeBox);
        rangeLayout->setSpacing(10);
        rangeLayout->addWidget(Label14);
        rangeLayout->addLayout(steps);
    }

    auto *headwayBox = new QGroupBox(text::HeadwayBox, page);
    Label8 = wrappedLabel(text::Label8, headwayBox);
    Label7 = paragraphLabel(text::Label7, headwayBox);
    Label7->setWordWrap(false);
    ShowHeadway = valueLabel(headwayBox, 60);
    ShowHeadway->setText(QStringLiteral("0"));
    ShowHeadway->setAlignment(Qt::AlignCenter);
    H1 = new QPushButton(text::H1, headwayBox);
    H2 = new QPushButton(text::H2, headwayBox);
    H3 = new QPushButton(text::H3, headwayBox);
    H4 = new QPushButton(text::H4, headwayBox);
    Command3 = new QPushButton(text::Command3, headwayBox);
    Command5 = new QPushButton(text::Command5, headwayBox);
    {
        auto *row = new QHBoxLayout;
        row->setSpacing(8);
        row->addWidget(Label7);
        row->addWidget(ShowHeadway);
        row->addSpacing(16);
        H1->setMinimumWidth(110);
        row->addWidget(H1);
        for (QPushButton *seconds : {H2, H3, H4, Command3, Command5}) {
            seconds->setFixedWidth(44);
            row->addWidget(seconds);
        }
        row->addStretch(1);

        auto *headwayLayout = new QVBoxLayout(headwayBox);
        headwayLayout->setSpacing(10);
        headwayLayout->addWidget(Label8);
        headwayLayout->addLayout(row);
    }

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(14);
    layout->addWidget(rangeBox);
    layout->addWidget(headwayBox);
    layout->addStretch(1);

    connect(SpdDefault, &QPushButton::clicked, this, [this] { SpdDefault_Click(); });
    connect(LowDefault, &QPushButton::clicked, this, [this] { LowDefault_Click(); });
    connect(LowMinus, &QPushButton::clicked, this, [this] { LowMinus_Click(); });
    connect(LowPlus, &QPushButton::clicked, this, [this] { LowPlus_Click(); });
    connect(HighMinus, &QPushButton::clicked, this, [this] { HighMinus_Click(); });
    connect(HighPlus, &QPushButton::clicked, this, [this] { HighPlus_Click(); });
    const QList<QPair<QPushButton *, int>> headways = {{H1, 0}, {H2, 1},       {H3, 2},
                                                       {H4, 4}, {Command3, 6}, {Command5, 8}};
    for (const auto &[button, seconds] : headways)
        connect(button, &QPushButton::clicked, this, [this, s = seconds] { setHeadway(s); });
    return page;
}

QWidget *frmProcessData::buildRawTab()
{
    auto *page = new QWidget;
    Label5 = wrappedLabel(text::Label5, page);
    {
        QFont font = Label5->font();
        font.setBold(true);
        Label5->setFont(font);
    }
    Label3 = wrappedLabel(text::Label3, page);
    Label4 = wrappedLabel(text::Label4, page);
    for (QLabel *sample : {Label3, Label4}) {
        sample->setFont(fixedFont());
        sample->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        sample->setMargin(6);
        sample->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    Label6 = wrappedLabel(text::Label6, page);
    txtTerm2 = new QPlainTextEdit(page);
    txtTerm2->setFont(fixedFont());
    txtTerm2->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Command9 = new QPushButton(text::Command9, page);
    Command9->setMinimumHeight(34);
    Command9->setMinimumWidth(180);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command9);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(8);
    layout->addWidget(Label5);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    layout->addWidget(Label6);
    layout->addWidget(txtTerm2, 1);
    layout->addLayout(buttons);

    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    return page;
}

} // namespace roadtally

#include "gui/admin/frmOpenSurvey.h"

#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "core/survey/SurveyList.h"
#include "gui/kit/ActivationWatch.h"
#include "gui/kit/ChoiceList.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/HelpKey.h"
#include "gui/kit/Message.h"
#include "gui/kit/WindowClose.h"
#include "gui/kit/WindowPlacement.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace roadtally {

namespace {

const QString Caption = QStringLiteral("Open / Select Survey");

QPushButton *headingButton(const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

// Where the heading columns end, in characters of a list line: the middle of the
// bar before the date (column 15), before the time (28) and before the location (40),
// for a batch number of eight characters, a date of ten and a time of five.
constexpr double NameColumnEnd = 15.5;
constexpr double DateColumnEnd = 28.5;
constexpr double TimeColumnEnd = 40.5;

} // namespace

frmOpenSurvey::frmOpenSurvey(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(Caption);
    kit::setHelpPage(this, QStringLiteral("tabs"));
    setWindowFlag(Qt::Window);

    QFont mono(QStringLiteral("Liberation Mono"));
    mono.setStyleHint(QFont::Monospace);
    mono.setFixedPitch(true);
    mono.setPointSize(10);

    Command2 = headingButton(QStringLiteral("Name"), this);
    Command3 = headingButton(QStringLiteral("Date"), this);
    Command4 = headingButton(QStringLiteral("Time"), this);
    Command5 = headingButton(QStringLiteral("Location / Description"), this);

    Batch_List = new ChoiceList(
        this, [this](QListWidgetItem *item) { Batch_List_Click(item); },
        [this](QListWidgetItem *item) { Batch_List_DblClick(item); });
    Batch_List->setFont(mono);
    Batch_List->setSelectionMode(QAbstractItemView::SingleSelection);
    Batch_List->setUniformItemSizes(true);
    Batch_List->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    BatchChoice = new QLineEdit(this);
    BatchChoice->setFont(mono);

    Command6 = new QPushButton(QStringLiteral("Open Selected"), this);
    Command6->setEnabled(false);
    Command1 = new QPushButton(QStringLiteral("Cancel"), this);

    auto *headings = new QHBoxLayout;
    headings->setSpacing(0);
    headings->addWidget(Command2);
    headings->addWidget(Command3);
    headings->addWidget(Command4);
    headings->addWidget(Command5, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(BatchChoice, 1);
    buttons->addSpacing(12);
    buttons->addWidget(Command6);
    buttons->addWidget(Command1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(0);
    layout->addLayout(headings);
    layout->addWidget(Batch_List, 1);
    layout->addSpacing(10);
    layout->addLayout(buttons);

    connect(Batch_List, &QListWidget::itemClicked, this, &frmOpenSurvey::Batch_List_Click);
    connect(Batch_List, &QListWidget::itemDoubleClicked, this, &frmOpenSurvey::Batch_List_DblClick);
    connect(Command6, &QPushButton::clicked, this, &frmOpenSurvey::Command6_Click);
    connect(Command1, &QPushButton::clicked, this, &frmOpenSurvey::Command1_Click);
    // Enter after a typed batch number opens it, as "Open Selected" does.
    connect(BatchChoice, &QLineEdit::returnPressed, Command6, &QPushButton::click);
    kit::closeThrough(this, Command1);

    alignHeadings();
    resize(640, 400);
    Form_Load();
    // The list is filled each time the main window shows this window, before it is seen.
    new ActivationWatch(
        this, [this] { Form_Activate(); }, ActivationWatch::WhenShown);
}

void frmOpenSurvey::alignHeadings()
{
    // The headings stand over the columns of the monospaced lines.
    const QFontMetricsF metrics(Batch_List->font());
    const double ch = metrics.horizontalAdvance(QLatin1Char('0'));
    // The list's frame and the item's text margin come before the first character.
    const double inset = Batch_List->frameWidth() + 3;
    const int nameEnd = qRound(inset + NameColumnEnd * ch);
    const int dateEnd = qRound(inset + DateColumnEnd * ch);
    const int timeEnd = qRound(inset + TimeColumnEnd * ch);
    Command2->setFixedWidth(nameEnd);
    Command3->setFixedWidth(dateEnd - nameEnd);
    Command4->setFixedWidth(timeEnd - dateEnd);
}

void frmOpenSurvey::Form_Load()
{
    place(0);
}

void frmOpenSurvey::place(int extraTwips)
{
    placeOnScreen(this, extraTwips);
}

void frmOpenSurvey::Form_Activate()
{
    place(250);
    fillList();
}

void frmOpenSurvey::fillList()
{
    Batch_List->clear();
    const QString path = sharedState().deriveDatabasePath();
    QStringList lines;
    try {
        DatabaseSession session(path);
        session.requireOpen();
        for (const SurveyListEntry &entry : readSurveyList(session))
            lines.append(surveyListLine(entry));
    } catch (const DatabaseError &e) {
        // Told once the window is on screen, not from inside its showing.
        QTimer::singleShot(
            0, this, [this, path, fault = e.fault(), detail = QString::fromUtf8(e.what())] {
                kit::tellDatabaseFailure(this, path, kit::DatabaseAccess::Read, fault, detail);
            });
    }
    Batch_List->addItems(lines);
    // With no survey stored there is nothing to open, whatever was chosen before.
    if (lines.isEmpty()) {
        // No survey: no batch number of an earlier showing is left standing.
        BatchChoice->clear();
        Command6->setEnabled(false);
    } else {
        // The first survey stands selected, ready for Enter or "Open Selected"; the
        // main window's sources move only when a line is clicked or opened.
        Batch_List->setCurrentRow(0);
        showChoice(Batch_List->item(0)->text());
        Command6->setEnabled(true);
        Batch_List->setFocus();
    }
}

void frmOpenSurvey::Batch_List_Click(QListWidgetItem *item)
{
    if (!item)
        return;
    showChoice(item->text());
    findChosenSurvey();
    Command6->setEnabled(true);
}

void frmOpenSurvey::Batch_List_DblClick(QListWidgetItem *item)
{
    if (!item)
        return;
    showChoice(item->text());
    findChosenSurvey();
    openChosenSurvey();
}

void frmOpenSurvey::Command6_Click()
{
    findChosenSurvey();
    openChosenSurvey();
    Command6->setEnabled(false);
}

void frmOpenSurvey::Command1_Click()
{
    hide();
    emit closed(true);
}

void frmOpenSurvey::showChoice(const QString &line)
{
    // The batch number alone, from its start: the whole line would scroll the
    // box to the location's end.
    BatchChoice->setText(batchChoiceOf(line).trimmed());
    BatchChoice->setCursorPosition(0);
}

void frmOpenSurvey::findChosenSurvey()
{
    // The sources of the main window refresh first, so that surveys stored since
    // they were opened are found.
    const QString batch = batchChoiceOf(BatchChoice->text());
    emit surveySelected(batch);
    BatchChoice->setText(batch);
}

void frmOpenSurvey::openChosenSurvey()
{
    hide();
    emit surveyChosen(BatchChoice->text());
}

} // namespace roadtally

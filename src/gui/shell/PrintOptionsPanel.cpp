#include "gui/shell/PrintOptionsPanel.h"

#include "gui/kit/WidgetKit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace roadtally {

using namespace kit;

PrintOptionsPanel::PrintOptionsPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("framePrintOption"));
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(18, 14, 18, 14);
    Label27 = makeLabel(QStringLiteral("Print Options"), "boxTitle", "Label27");
    PrintTitle = makeLabel(QStringLiteral("Name of Print Form"), "value", "PrintTitle");
    PrintOptionA =
        named(new QRadioButton(QStringLiteral("Approaching Vehicles Only")), "PrintOptionA");
    PrintOptionR =
        named(new QRadioButton(QStringLiteral("Receding Vehicles Only")), "PrintOptionR");
    PrintOptionB =
        named(new QRadioButton(QStringLiteral("Vehicles Both Directions")), "PrintOptionB");
    Combo2 = makeListCombo("Combo2", QString());
    Combo2->setEnabled(false);
    DateChoice2 = makeLabel(QString(), nullptr, "DateChoice2");
    DateChoice2->hide();
    PrintSelection = makeButton(QStringLiteral("Print Selection"), "PrintSelection");
    PrintSelection->setEnabled(false);
    Command11 = makeButton(QStringLiteral("Close"), "Command11");
    v->addWidget(Label27);
    v->addWidget(PrintTitle);
    v->addWidget(PrintOptionA);
    v->addWidget(PrintOptionR);
    v->addWidget(PrintOptionB);
    v->addWidget(Combo2);
    v->addWidget(DateChoice2);
    v->addSpacing(6);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(PrintSelection);
    buttons->addWidget(Command11);
    v->addLayout(buttons);
    v->setSpacing(6);
    // As tall as its controls: no blank band between them.
    setMinimumWidth(380);
    v->setSizeConstraint(QLayout::SetFixedSize);
    hide();
    // Escape in the panel is its Close.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, Command11, &QPushButton::click);
    connect(Command11, &QPushButton::clicked, this, [this] {
        hide();
        emit closed();
    });
    const QRadioButton *options[] = {PrintOptionA, PrintOptionR, PrintOptionB};
    for (int i = 0; i < 3; ++i)
        connect(options[i], &QRadioButton::clicked, this, [this, i] { directionClicked(i); });
    connect(Combo2, &QComboBox::activated, this, [this] {
        DateChoice2->setText(Combo2->currentText());
        emit entryChosen(DateChoice2->text());
    });
    connect(PrintSelection, &QPushButton::clicked, this, [this] {
        hide();
        emit printSelected(report());
    });
}

QString PrintOptionsPanel::mode() const
{
    return PrintTitle->text();
}

QString PrintOptionsPanel::prompt() const
{
    return mode() == SummaryMode ? QStringLiteral("** Select Display Scheme **")
                                 : QStringLiteral("** Select a Date **");
}

ReportKind PrintOptionsPanel::report() const
{
    const QString m = mode();
    if (m == DailyVolumeMode)
        return ReportKind::DailyVolume;
    if (m == FifteenMinuteMode)
        return ReportKind::FifteenMinute;
    return ReportKind::Summary;
}

int PrintOptionsPanel::chosenDirection() const
{
    if (PrintOptionA->isChecked())
        return 0;
    if (PrintOptionR->isChecked())
        return 1;
    if (PrintOptionB->isChecked())
        return 2;
    return -1;
}

void PrintOptionsPanel::open(const QString &mode, const QStringList &entries)
{
    // Radio buttons of one group cannot all be cleared while exclusive.
    for (QRadioButton *option : {PrintOptionA, PrintOptionR, PrintOptionB}) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    Combo2->setEnabled(false);
    PrintSelection->setEnabled(false);
    show();
    raise();
    // The keys reach the panel at once: a direction with the arrows, Escape to close.
    PrintOptionA->setFocus();
    PrintTitle->setText(mode);
    const QSignalBlocker blocker(Combo2);
    Combo2->clear();
    Combo2->setEditText(QString());
    Combo2->setEditText(prompt());
    Combo2->addItems(entries);
    Combo2->setEditText(prompt());
}

void PrintOptionsPanel::directionClicked(int index)
{
    Combo2->setEnabled(true);
    PrintSelection->setEnabled(false);
    {
        const QSignalBlocker blocker(Combo2);
        Combo2->setEditText(prompt());
    }
    emit directionChosen(index);
}

void PrintOptionsPanel::clearEntries()
{
    Combo2->clear();
}

void PrintOptionsPanel::setPrintable(bool printable)
{
    PrintSelection->setEnabled(printable);
}

} // namespace roadtally

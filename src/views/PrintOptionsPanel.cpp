#include "views/PrintOptionsPanel.h"

#include "views/WidgetKit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
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
        named(new QRadioButton(QStringLiteral("Receeding Vehicles Only")), "PrintOptionR");
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
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(PrintSelection);
    buttons->addWidget(Command11);
    v->addLayout(buttons);
    setFixedSize(380, 300);
    hide();
    connect(Command11, &QPushButton::clicked, this, [this] {
        hide();
        emit closed();
    });
}

} // namespace roadtally

#include "gui/info/InformationLayout.h"

#include "gui/kit/WindowClose.h"
#include "gui/kit/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace roadtally {

void layOutExplanation(QWidget *window, QLabel *text, QPushButton *button)
{
    window->setWindowFlag(Qt::Window);
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont font = text->font();
    font.setPointSize(11);
    text->setFont(font);
    text->setFixedWidth(460);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(button);

    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(14);
    layout->addWidget(text);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    button->setDefault(true);
    kit::closeThrough(window, button);
    window->adjustSize();
    placeOnScreen(window);
}

} // namespace roadtally

#include "gui/info/percent.h"

#include "gui/info/InformationLayout.h"

#include <QLabel>
#include <QPushButton>

namespace roadtally {

// The text ends in a blank and has two blanks before "About"; both are the program's own.
const QString percent::Text = QStringLiteral(
    "If the speeds of all motorists are ranked from slowest to fastest, the \"85th percentile "
    "speed\" separates the slower 85% from the fastest 15%. (Similarly, the average speed "
    "separates the fastest 50% and the slowest 50% of motorists in a normal speed "
    "distribution. In other words, the average speed is typically the \"50th percentile "
    "speed\") Most motorists travel at about the same speeds, so setting the speed limit at "
    "the 85th percentile legalizes the vast majority of motorists.  About 70% of motorists "
    "travel in a 10-mph grouping (called the \"pace\"), which generally covers all but the "
    "fastest 15% and the slowest 15%. ");

percent::percent(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("85th Percentile"));
    Label1 = new QLabel(Text, this);
    Command1 = new QPushButton(QStringLiteral("Hide"), this);
    connect(Command1, &QPushButton::clicked, this, &percent::Command1_Click);
    layOutExplanation(this, Label1, Command1);
}

void percent::Command1_Click()
{
    hide();
}

} // namespace roadtally

#include "gui/info/pace_description.h"

#include "gui/info/InformationLayout.h"

#include <QLabel>
#include <QPushButton>

namespace roadtally {

const QString pace_description::Text = QStringLiteral(
    "Pace is that range of speed, usually taken at 10 mph intervals, that has the greatest "
    "number of observations. About 70% of motorists travel in a 10-mph grouping (called the "
    "\"pace\"), which generally covers all but the fastest 15% and the slowest 15%. If the "
    "speed limit were set at the average speed, only 50% of motorists would be legalized. "
    "Setting the speed limit about 5-mph higher (the \"High Pace Speed\") which also is very "
    "close to the 85th percentile, legalizes the vast majority of motorists.");

pace_description::pace_description(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Pace Description"));
    Label1 = new QLabel(Text, this);
    Command1 = new QPushButton(QStringLiteral("Close"), this);
    connect(Command1, &QPushButton::clicked, this, &pace_description::Command1_Click);
    layOutExplanation(this, Label1, Command1);
}

void pace_description::Command1_Click()
{
    hide();
}

} // namespace roadtally

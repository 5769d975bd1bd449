#include "gui/admin/DeleteDB.h"

#include "core/store/SharedState.h"
#include "core/upkeep/SurveyDeletion.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/HelpKey.h"
#include "gui/kit/Message.h"
#include "gui/kit/WindowClose.h"
#include "gui/kit/WindowPlacement.h"
#include "gui/kit/WrappedButton.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace roadtally {

namespace {

const QString Caption = QStringLiteral("Delete Database");
// The caption as stored: its blanks set the two words on their lines.
const QString Command2Caption =
    QStringLiteral("            &Delete               Complete Database");

} // namespace

DeleteDB::DeleteDB(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(Caption);
    kit::setHelpPage(this, QStringLiteral("upkeep"));
    setWindowFlag(Qt::Window);

    Command2 = new WrappedButton(Command2Caption, this);
    Command2->setAutoDefault(false);
    QFont big = Command2->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    Command2->setFont(big);
    Command2->setMinimumHeight(84);

    Command1 = new QPushButton(QStringLiteral("&Close"), this);
    Command1->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 16);
    layout->setSpacing(18);
    layout->addWidget(Command2);
    layout->addLayout(buttons);

    connect(Command2, &QPushButton::clicked, this, &DeleteDB::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &DeleteDB::Command1_Click);
    kit::closeThrough(this, Command1);

    resize(300, 190);
    Form_Load();
}

void DeleteDB::Form_Load()
{
    placeOnScreen(this);
}

void DeleteDB::Command2_Click()
{
    const auto answer =
        kit::message(this, QString::fromLatin1(EraseQuestionText), QString::fromLatin1(EraseTitle),
                     QMessageBox::Critical, QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    kit::BusyPointer busy;
    const EraseResult result = eraseDatabase(sharedState().deriveDatabasePath());
    busy.release();
    if (!result.ok) {
        kit::tellDatabaseFailure(this, result.message, result.fault, result.detail,
                                 kit::Shown::Wait);
        return;
    }
    // The main window lets go of the erased survey before the message shows.
    Q_EMIT databaseErased(result.anythingDeleted());
    kit::message(this, result.doneText());
}

void DeleteDB::Command1_Click()
{
    hide();
    Q_EMIT closed(false);
}

} // namespace roadtally

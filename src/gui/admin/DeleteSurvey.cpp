#include "gui/admin/DeleteSurvey.h"

#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "core/upkeep/SurveyDeletion.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/ChoiceList.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/HelpKey.h"
#include "gui/kit/Message.h"
#include "gui/kit/WindowClose.h"
#include "gui/kit/WindowPlacement.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace roadtally {

namespace {

const QString Caption = QStringLiteral("Delete Survey");

} // namespace

DeleteSurvey::DeleteSurvey(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(Caption);
    kit::setHelpPage(this, QStringLiteral("upkeep"));
    setWindowFlag(Qt::Window);

    QFont mono(QStringLiteral("Liberation Mono"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSize(10);

    auto *listCaption = new QLabel(QStringLiteral("&Surveys"), this);
    Batch_List = new ChoiceList(this, [this](QListWidgetItem *item) { Batch_List_Click(item); });
    Batch_List->setFont(mono);
    Batch_List->setSelectionMode(QAbstractItemView::SingleSelection);
    Batch_List->setMinimumWidth(420);
    listCaption->setBuddy(Batch_List);

    Frame1 = new QGroupBox(QStringLiteral("Delete Batch"), this);
    Choice = new QLineEdit(Frame1);
    Choice->setFont(mono);
    // The batch comes from the list only: a typed number could name the wrong survey.
    Choice->setReadOnly(true);
    Choice->setFocusPolicy(Qt::NoFocus);
    Command5 = new QPushButton(QStringLiteral("&Delete Selected "), Frame1);
    Command5->setEnabled(false);
    Command5->setAutoDefault(false);
    auto *frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(Choice);
    frameLayout->addWidget(Command5);

    Command1 = new QPushButton(QStringLiteral("&Close"), this);
    Command1->setAutoDefault(false);

    auto *right = new QVBoxLayout;
    right->addWidget(Frame1);
    right->addStretch(1);
    right->addWidget(Command1);

    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(listCaption);
    left->addWidget(Batch_List, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(14);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    connect(Batch_List, &QListWidget::itemClicked, this, &DeleteSurvey::Batch_List_Click);
    connect(Command5, &QPushButton::clicked, this, &DeleteSurvey::Command5_Click);
    connect(Command1, &QPushButton::clicked, this, &DeleteSurvey::Command1_Click);
    kit::closeThrough(this, Command1);

    resize(640, 320);
    Form_Load();
}

void DeleteSurvey::Form_Load()
{
    placeOnScreen(this);
}

void DeleteSurvey::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Every showing lists the surveys as they are now: one processed or deleted
    // meanwhile appears or goes, and no earlier choice is left standing.
    fillList();
    Choice->clear();
    Command5->setEnabled(false);
    Batch_List->setFocus();
}

void DeleteSurvey::fillList()
{
    Batch_List->clear();
    // Each batch number with its start date and location: the user picks the
    // survey they recognise, not a code.
    QVector<SurveyToDelete> surveys;
    const QString path = sharedState().deriveDatabasePath();
    try {
        DatabaseSession session(path);
        session.requireOpen();
        surveys = surveysToDelete(session);
    } catch (const DatabaseError &e) {
        kit::tellDatabaseFailure(this, e, path, kit::DatabaseAccess::Read, kit::Shown::Wait);
    }
    for (const SurveyToDelete &survey : std::as_const(surveys)) {
        auto *item = new QListWidgetItem(deletionListLine(survey), Batch_List);
        item->setData(Qt::UserRole, survey.batch);
    }
}

void DeleteSurvey::Batch_List_Click(QListWidgetItem *item)
{
    if (!item)
        return;
    Choice->setText(item->data(Qt::UserRole).toString());
    Command5->setEnabled(!Choice->text().isEmpty());
}

void DeleteSurvey::Command5_Click()
{
    const QString batch = Choice->text();
    if (batch.isEmpty())
        return;
    const QString path = sharedState().deriveDatabasePath();
    SurveyToDelete survey;
    try {
        DatabaseSession session(path);
        survey = surveyToDelete(session, batch);
    } catch (const DatabaseError &e) {
        kit::tellDatabaseFailure(this, e, path, kit::DatabaseAccess::Read, kit::Shown::Wait);
        return;
    }
    // Nothing goes by one click: the question names the survey, and No is
    // its default.
    if (kit::message(this, deletionQuestion(survey), {}, QMessageBox::Question,
                     QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    kit::BusyPointer busy;
    const DeletionResult result = deleteSurvey(path, batch);
    if (!result.ok) {
        // Nothing was deleted: the list and the choice stay as they are.
        busy.release();
        kit::tellDatabaseFailure(this, result.message, result.fault, result.detail,
                                 kit::Shown::Wait);
        return;
    }
    busy.release();
    Q_EMIT surveyDeleted(batch);
    kit::message(this, deletionDoneText(survey), {}, QMessageBox::Information);
    fillList();
    Choice->clear();
    Command5->setEnabled(false);
}

void DeleteSurvey::Command1_Click()
{
    hide();
    Q_EMIT closed(false);
}

} // namespace roadtally

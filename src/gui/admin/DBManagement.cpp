#include "gui/admin/DBManagement.h"

#include "core/store/BoundDataSource.h"
#include "core/store/SharedState.h"
#include "core/upkeep/DatabaseMaintenance.h"
#include "gui/admin/Blankform.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/Forms.h"
#include "gui/kit/HelpKey.h"
#include "gui/kit/Message.h"
#include "gui/kit/WindowClose.h"
#include "gui/kit/WindowPlacement.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace roadtally {

namespace {

const QString Caption = QStringLiteral("Database Management");

QPushButton *actionButton(const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    button->setMinimumSize(190, 40);
    return button;
}

QFrame *line(QFrame::Shape shape, QWidget *parent)
{
    auto *l = new QFrame(parent);
    l->setFrameShape(shape);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

} // namespace

DBManagement::DBManagement(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(Caption);
    kit::setHelpPage(this, QStringLiteral("upkeep"));
    setWindowFlag(Qt::Window);

    Imprint2 = new QFrame(this);
    Imprint2->setObjectName(QStringLiteral("Imprint2"));
    Imprint2->setFrameShape(QFrame::StyledPanel);
    Imprint2->setStyleSheet(
        QStringLiteral("QFrame#Imprint2 { background: #eef2f6; border: 1px solid #9aa7b4; "
                       "border-radius: 6px; }"));
    Command15 = actionButton(QStringLiteral("&Backup Database"), Imprint2);
    Command18 = actionButton(QStringLiteral("Re&pair Database"), Imprint2);
    ReplaceDB = actionButton(QStringLiteral("Replace &Database"), Imprint2);
    RestoreDB = actionButton(QStringLiteral("&Restore Backup Database"), Imprint2);
    Line1 = line(QFrame::HLine, Imprint2);
    Line2 = line(QFrame::VLine, Imprint2);

    // Keeping the database (backup, repair) above, putting another in its place below.
    auto *grid = new QGridLayout(Imprint2);
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(12);
    grid->addWidget(Command15, 0, 0);
    grid->addWidget(Command18, 0, 2);
    grid->addWidget(Line1, 1, 0, 1, 3);
    grid->addWidget(ReplaceDB, 2, 0);
    grid->addWidget(RestoreDB, 2, 2);
    grid->addWidget(Line2, 0, 1, 3, 1);

    Label29 = new QLabel(QStringLiteral("CAUTION: Repair Database Before Backup"), this);
    Label29->setAlignment(Qt::AlignCenter);
    QFont caution = Label29->font();
    caution.setBold(true);
    Label29->setFont(caution);
    Label29->setStyleSheet(QStringLiteral("color: #b00020;"));

    Command1 = new QPushButton(QStringLiteral("&Close"), this);
    Command1->setAutoDefault(false);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(Command1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(14);
    layout->addWidget(Imprint2);
    layout->addWidget(Label29);
    layout->addLayout(bottom);

    connect(Command15, &QPushButton::clicked, this, &DBManagement::Command15_Click);
    connect(Command18, &QPushButton::clicked, this, &DBManagement::Command18_Click);
    connect(ReplaceDB, &QPushButton::clicked, this, &DBManagement::ReplaceDB_Click);
    connect(RestoreDB, &QPushButton::clicked, this, &DBManagement::RestoreDB_Click);
    connect(Command1, &QPushButton::clicked, this, &DBManagement::Command1_Click);
    kit::closeThrough(this, Command1);
    // A click on the backdrop brings this window to the front again.
    connect(&form<Blankform>(), &Blankform::databaseManagementRequested, this,
            &DBManagement::comeToFront);

    adjustSize();
    Form_Load();
}

void DBManagement::Form_Load()
{
    placeOnScreen(this);
}

QString DBManagement::folder() const
{
    return sharedState().surveyFolder();
}

void DBManagement::comeToFront()
{
    if (!isVisible())
        return;
    raise();
    activateWindow();
}

void DBManagement::release()
{
    Q_EMIT releaseDatabase();
    BoundDataSource::releaseAll();
}

void DBManagement::Command15_Click()
{
    release();
    kit::BusyPointer busy;
    const MaintenanceResult result = backupDatabase(folder());
    busy.release();
    if (result.ok())
        Q_EMIT databaseChanged();
    // The engine's or the file system's own words, if any, under "Details".
    kit::message(this, result.message, {}, result.ok() ? QMessageBox::NoIcon : QMessageBox::Warning,
                 QMessageBox::Ok, result.ok() ? QString() : result.detail);
}

void DBManagement::Command18_Click()
{
    release();
    kit::BusyPointer busy;
    const RepairResult result = repairDatabase(folder());
    busy.release();
    if (result.ok())
        Q_EMIT databaseChanged();
    const QMessageBox::Icon icon = !result.ok()     ? QMessageBox::Warning
                                   : result.rebuilt ? QMessageBox::Information
                                                    : QMessageBox::NoIcon;
    kit::message(this, result.message, {}, icon, QMessageBox::Ok,
                 result.ok() ? QString() : result.detail);
}

void DBManagement::ReplaceDB_Click()
{
    // Nothing to ask about when there is no blank database to put in place.
    if (blankFileIn(folder()).isEmpty()) {
        kit::message(this, replaceDatabase(folder()).message, {}, QMessageBox::Warning);
        return;
    }
    const auto answer = kit::message(this, QString::fromLatin1(ReplaceQuestionText),
                                     QString::fromLatin1(ReplaceTitle), QMessageBox::Question,
                                     QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    release();
    kit::BusyPointer busy;
    const MaintenanceResult result = replaceDatabase(folder());
    busy.release();
    if (result.ok())
        Q_EMIT databaseChanged();
    // Done or not, the user is told what happened.
    kit::message(this, result.message, {},
                 result.ok() ? QMessageBox::Information : QMessageBox::Warning, QMessageBox::Ok,
                 result.ok() ? QString() : result.detail);
}

void DBManagement::RestoreDB_Click()
{
    if (backupFileIn(folder()).isEmpty()) {
        kit::message(this, QString::fromLatin1(NoBackupText));
        return;
    }
    const auto answer = kit::message(this, QString::fromLatin1(RestoreQuestionText),
                                     QString::fromLatin1(ReplaceTitle), QMessageBox::Question,
                                     QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    release();
    kit::BusyPointer busy;
    const MaintenanceResult result = restoreDatabase(folder());
    busy.release();
    if (result.ok())
        Q_EMIT databaseChanged();
    // Done or not, the user is told what happened.
    kit::message(this, result.message, {},
                 result.ok() ? QMessageBox::Information : QMessageBox::Warning, QMessageBox::Ok,
                 result.ok() ? QString() : result.detail);
}

void DBManagement::Command1_Click()
{
    hide();
    if (formExists<Blankform>())
        form<Blankform>().hide();
    Q_EMIT closed();
}

} // namespace roadtally

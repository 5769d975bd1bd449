#include "gui/admin/frmAdminSetup.h"

#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "gui/kit/ActivationWatch.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/ChoiceList.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/HelpKey.h"
#include "gui/kit/Message.h"
#include "gui/kit/WindowClose.h"
#include "gui/kit/WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <functional>

namespace roadtally {

namespace {

const QString Caption = QStringLiteral("Administration Setup");

QFrame *section(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    return frame;
}

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.1);
    label->setFont(font);
    return label;
}

QLabel *caption(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

// One session for one user action; the handlers' database work throws
// DatabaseError, which they tell through the kit's failure message.
DatabaseSession &opened(DatabaseSession &session)
{
    session.requireOpen();
    return session;
}

} // namespace

frmAdminSetup::frmAdminSetup(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(Caption);
    kit::setHelpPage(this, QStringLiteral("upkeep"));
    setWindowFlag(Qt::Window);

    // ---- Agency -----------------------------------------------------------
    QFrame *agencyBox = section(this);
    Label6 = heading(QStringLiteral("  Program and  Report Title"), agencyBox);
    Text1 = new QLineEdit(agencyBox);
    Text2 = new QLineEdit(agencyBox);
    Text3 = new QLineEdit(agencyBox);
    auto *agency = new QGridLayout(agencyBox);
    agency->setContentsMargins(14, 10, 14, 14);
    agency->setVerticalSpacing(4);
    agency->addWidget(Label6, 0, 0, 1, 2);
    agency->addWidget(caption(QStringLiteral("Name of a&gency"), Text1, agencyBox), 1, 0, 1, 2);
    agency->addWidget(Text1, 2, 0, 1, 2);
    agency->addItem(new QSpacerItem(0, 8), 3, 0);
    auto *optional = new QLabel(QStringLiteral("Optional Address  for reports"), agencyBox);
    QFont italic = optional->font();
    italic.setItalic(true);
    optional->setFont(italic);
    agency->addWidget(optional, 4, 0, 1, 2);
    agency->addWidget(caption(QStringLiteral("Address &1"), Text2, agencyBox), 5, 0);
    agency->addWidget(Text2, 6, 0);
    agency->addWidget(caption(QStringLiteral("Address &2"), Text3, agencyBox), 5, 1);
    agency->addWidget(Text3, 6, 1);

    // ---- Officers ---------------------------------------------------------
    QFrame *officerBox = section(this);
    List1 = new ChoiceList(officerBox, [this](QListWidgetItem *item) { List1_Click(item); });
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setMinimumHeight(List1->fontMetrics().height() * 7);
    Label2 = heading(QStringLiteral("Names of officers involved in report production"), officerBox);
    Label2->setBuddy(List1);
    InputOfficer = new QLineEdit(officerBox);
    InputOfficer->setPlaceholderText(QStringLiteral("Type the officer's name"));
    InputOfficer->hide();
    AddOfficer = new QPushButton(QStringLiteral("&Add Officer"), officerBox);
    DeleteOfficer = new QPushButton(QStringLiteral("&Delete Officer"), officerBox);
    DeleteOfficer->setEnabled(false);
    Refresh = new QPushButton(QStringLiteral("&Refresh"), officerBox);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(AddOfficer);
    buttons->addWidget(DeleteOfficer);
    buttons->addWidget(Refresh);
    buttons->addStretch(1);
    auto *officers = new QGridLayout(officerBox);
    officers->setContentsMargins(14, 10, 14, 14);
    officers->setVerticalSpacing(6);
    officers->addWidget(Label2, 0, 0, 1, 2);
    officers->addWidget(List1, 1, 0);
    officers->addLayout(buttons, 1, 1);
    officers->addWidget(InputOfficer, 2, 0);
    officers->setColumnStretch(0, 1);

    // ---- Report options ---------------------------------------------------
    QFrame *optionBox = section(this);
    Check1 =
        new QCheckBox(QStringLiteral("Include officer &name on all forms and reports"), optionBox);
    Check2 =
        new QCheckBox(QStringLiteral("Include system da&te on all forms and reports"), optionBox);
    chk1 = new QLabel(QStringLiteral("0"), optionBox);
    chk2 = new QLabel(QStringLiteral("0"), optionBox);
    chk1->hide();
    chk2->hide();
    auto *options = new QVBoxLayout(optionBox);
    options->setContentsMargins(14, 10, 14, 10);
    options->addWidget(Check1);
    options->addWidget(Check2);

    AdminUpdate = new QPushButton(QStringLiteral("&Update"), this);
    AdminCancel = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton *button : {AdminUpdate, AdminCancel}) {
        button->setMinimumWidth(110);
        button->setMinimumHeight(30);
    }
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(AdminUpdate);
    bottom->addWidget(AdminCancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(10);
    layout->addWidget(agencyBox);
    layout->addWidget(officerBox, 1);
    layout->addWidget(optionBox);
    layout->addLayout(bottom);

    connect(Check1, &QCheckBox::clicked, this, &frmAdminSetup::Check1_Click);
    connect(Check2, &QCheckBox::clicked, this, &frmAdminSetup::Check2_Click);
    connect(AddOfficer, &QPushButton::clicked, this, &frmAdminSetup::AddOfficer_Click);
    connect(DeleteOfficer, &QPushButton::clicked, this, &frmAdminSetup::DeleteOfficer_Click);
    connect(Refresh, &QPushButton::clicked, this, &frmAdminSetup::Refresh_Click);
    connect(AdminUpdate, &QPushButton::clicked, this, &frmAdminSetup::AdminUpdate_Click);
    connect(AdminCancel, &QPushButton::clicked, this, &frmAdminSetup::AdminCancel_Click);
    // Escape and the frame's close are Cancel: a typo is never stored by leaving.
    kit::closeThrough(this, AdminCancel);
    connect(List1, &QListWidget::itemClicked, this, &frmAdminSetup::List1_Click);
    connect(InputOfficer, &QLineEdit::textEdited, this, [this] {
        if (m_input == Input::None)
            m_input = m_current ? Input::Renaming : Input::Adding;
    });
    // Enter stores the typed name and lists it, as "Refresh" does.
    connect(InputOfficer, &QLineEdit::returnPressed, this, &frmAdminSetup::Refresh_Click);

    resize(500, 520);
    Form_Load();
    // The check boxes show the stored options on every showing.
    new ActivationWatch(
        this, [this] { Form_Activate(); }, ActivationWatch::WhenShown);
}

void frmAdminSetup::Form_Load()
{
    placeOnScreen(this);
}

void frmAdminSetup::Form_Activate()
{
    // The agency and the options are read afresh: the database may have been
    // replaced while the window was hidden. The officer list keeps what it shows.
    kit::BusyPointer busy;
    try {
        DatabaseSession session(sharedState().deriveDatabasePath());
        m_storedAgency = readAgency(opened(session));
        Text1->setText(m_storedAgency.name);
        Text2->setText(m_storedAgency.address1);
        Text3->setText(m_storedAgency.address2);
        const ReportOptions stored = readReportOptions(session);
        chk1->setText(stored.printName ? QStringLiteral("1") : QStringLiteral("0"));
        chk2->setText(stored.printDate ? QStringLiteral("1") : QStringLiteral("0"));
    } catch (const DatabaseError &e) {
        tellFailure(QString(), e, false);
    }
    Check1->setChecked(chk1->text() == QLatin1String("1"));
    Check2->setChecked(chk2->text() == QLatin1String("1"));
}

void frmAdminSetup::Check1_Click()
{
    storeOption(Check1, chk1, true);
}

void frmAdminSetup::Check2_Click()
{
    storeOption(Check2, chk2, false);
}

void frmAdminSetup::storeOption(QCheckBox *box, QLabel *mirror, bool printName)
{
    const bool on = box->isChecked();
    try {
        DatabaseSession session(sharedState().deriveDatabasePath());
        if (printName)
            writePrintName(opened(session), on);
        else
            writePrintDate(opened(session), on);
        mirror->setText(on ? QStringLiteral("1") : QStringLiteral("0"));
    } catch (const DatabaseError &e) {
        // Not stored: the box shows what is stored.
        const QSignalBlocker blocker(box);
        box->setChecked(mirror->text() == QLatin1String("1"));
        tellFailure(QStringLiteral("The report option was not stored."), e, true);
    }
}

void frmAdminSetup::AddOfficer_Click()
{
    if (!storeInput())
        return;
    // A new officer: nothing of the list is chosen while the name is typed.
    forgetChoice();
    m_input = Input::Adding;
    InputOfficer->clear();
    InputOfficer->show();
    InputOfficer->setFocus();
}

void frmAdminSetup::List1_Click(QListWidgetItem *item)
{
    if (!item || !storeInput())
        return;
    try {
        DatabaseSession session(sharedState().deriveDatabasePath());
        m_current = findOfficer(opened(session), item->text());
    } catch (const DatabaseError &e) {
        m_current.reset();
        tellFailure(QString(), e, false);
    }
    if (!m_current) {
        // Gone meanwhile: nothing to choose or delete.
        forgetChoice();
        return;
    }
    m_input = Input::None;
    if (List1->currentItem() != item) {
        const QSignalBlocker blocker(List1);
        List1->setCurrentItem(item);
    }
    DeleteOfficer->setEnabled(true);
    InputOfficer->setText(m_current->name);
    Q_EMIT officerChosen(m_current->name);
}

void frmAdminSetup::DeleteOfficer_Click()
{
    if (!m_current)
        return;
    kit::BusyPointer busy;
    m_input = Input::None; // a name typed for the deleted officer goes with it
    QVector<OfficerRow> rows;
    try {
        DatabaseSession session(sharedState().deriveDatabasePath());
        deleteOfficer(opened(session), m_current->id);
        rows = readOfficers(session);
    } catch (const DatabaseError &e) {
        tellFailure(QStringLiteral("The officer was not deleted."), e, true);
        return;
    }
    forgetChoice();
    InputOfficer->clear();
    // The list shows what is left; an empty table gets its placeholder on "Refresh".
    fillList(rows);
}

void frmAdminSetup::Refresh_Click()
{
    if (!storeInput())
        return;
    kit::BusyPointer busy;
    InputOfficer->hide();
    QVector<OfficerRow> rows;
    try {
        DatabaseSession session(sharedState().deriveDatabasePath());
        rows = rebuildOfficerList(opened(session));
    } catch (const DatabaseError &e) {
        tellFailure(QStringLiteral("The officer list was not refreshed."), e, true);
        return;
    }
    forgetChoice();
    fillList(rows);
}

void frmAdminSetup::AdminUpdate_Click()
{
    updateAndHide();
}

void frmAdminSetup::AdminCancel_Click()
{
    if (hasUnsavedEdits() &&
        kit::message(this,
                     QStringLiteral("The changes to the agency or the officer's name have not "
                                    "been stored. Discard them?"),
                     QString(), QMessageBox::Question,
                     QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    // What was typed goes; the next showing reads the stored agency again.
    Text1->setText(m_storedAgency.name);
    Text2->setText(m_storedAgency.address1);
    Text3->setText(m_storedAgency.address2);
    m_input = Input::None;
    InputOfficer->setText(m_current ? m_current->name : QString());
    InputOfficer->hide();
    hide();
    Q_EMIT closed(false);
}

bool frmAdminSetup::hasUnsavedEdits() const
{
    const AgencyInfo shown{Text1->text(), Text2->text(), Text3->text()};
    const bool nameTyped = m_input != Input::None && !InputOfficer->text().trimmed().isEmpty() &&
                           !(m_current && m_current->name == InputOfficer->text());
    return shown != m_storedAgency || nameTyped;
}

bool frmAdminSetup::updateAndHide()
{
    // The name first: a name refused (a namesake) keeps the window and the agency as typed.
    if (!storeInput())
        return false;
    const AgencyInfo agency{Text1->text(), Text2->text(), Text3->text()};
    try {
        DatabaseSession session(sharedState().deriveDatabasePath());
        Transaction transaction(opened(session));
        writeAgency(session, agency);
        transaction.commit();
    } catch (const DatabaseError &e) {
        tellFailure(QStringLiteral("The agency was not stored."), e, true);
        return false;
    }
    m_storedAgency = agency;
    hide();
    Q_EMIT agencyUpdated();
    Q_EMIT closed(false);
    return true;
}

bool frmAdminSetup::storeInput()
{
    if (m_input == Input::None)
        return true;
    const QString name = InputOfficer->text();
    // An officer without a name is no officer: a blank entry is dropped, and a
    // blanked name keeps the old one.
    if (name.trimmed().isEmpty()) {
        m_input = Input::None;
        if (m_current)
            InputOfficer->setText(m_current->name);
        return true;
    }
    try {
        DatabaseSession session(sharedState().deriveDatabasePath());
        const bool renaming = m_input == Input::Renaming && m_current;
        if (m_input == Input::Adding || (renaming && m_current->name != name)) {
            // Two officers of one name could not be told apart on a report.
            const QString problem =
                officerNameProblem(opened(session), name, renaming ? m_current->id : -1);
            if (!problem.isEmpty()) {
                tell(problem);
                InputOfficer->show();
                InputOfficer->setFocus();
                InputOfficer->selectAll();
                return false;
            }
        }
        if (m_input == Input::Adding) {
            addOfficer(opened(session), name);
        } else if (m_current && m_current->name != name) {
            renameOfficer(opened(session), m_current->id, name);
            m_current->name = name;
            if (QListWidgetItem *item = List1->currentItem())
                item->setText(name);
            Q_EMIT officerChosen(name);
        }
    } catch (const DatabaseError &e) {
        tellFailure(QStringLiteral("The officer's name was not stored."), e, true);
        return false;
    }
    m_input = Input::None;
    return true;
}

void frmAdminSetup::fillList(const QVector<OfficerRow> &rows)
{
    const QSignalBlocker blocker(List1);
    List1->clear();
    for (const OfficerRow &row : rows)
        List1->addItem(row.name);
}

void frmAdminSetup::forgetChoice()
{
    m_current.reset();
    DeleteOfficer->setEnabled(false);
    List1->clearSelection();
    List1->setCurrentItem(nullptr);
}

void frmAdminSetup::tell(const QString &text)
{
    kit::message(this, text, QString(), QMessageBox::Warning);
}

void frmAdminSetup::tellFailure(const QString &what, const DatabaseError &e, bool writing)
{
    // The window acts on what is stored after the message: it waits for it.
    const QString sentence = kit::databaseFailureText(
        sharedState().deriveDatabasePath(),
        writing ? kit::DatabaseAccess::Write : kit::DatabaseAccess::Read, e.fault());
    kit::tellDatabaseFailure(this, what.isEmpty() ? sentence : sentence + QLatin1Char(' ') + what,
                             e.fault(), QString::fromUtf8(e.what()), kit::Shown::Wait);
}

} // namespace roadtally

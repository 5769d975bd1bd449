#include "gui/admin/CopySurveysDialog.h"

#include "core/store/DatabaseLocation.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "core/upkeep/SurveyCopy.h"
#include "core/upkeep/SurveyDeletion.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/Message.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace roadtally {

namespace {

const QString Caption = QStringLiteral("Copy Surveys To");

} // namespace

CopySurveysDialog::CopySurveysDialog(const QString &source, const QString &server, QWidget *parent)
    : QDialog(parent), m_source(source), m_server(server)
{
    setWindowTitle(Caption);
    auto *from =
        new QLabel(QStringLiteral("Surveys in %1:").arg(databaseDisplayName(source)), this);
    from->setWordWrap(true);
    Surveys = new QListWidget(this);
    QString error;
    QStringList stored;
    try {
        DatabaseSession session(source);
        session.requireOpen();
        stored = surveyBatchNumbers(session);
    } catch (const DatabaseError &e) {
        error = kit::databaseFailureMessage(
            kit::databaseFailureText(source, kit::DatabaseAccess::Read, e.fault()), e.fault());
    }
    for (const QString &batch : std::as_const(stored)) {
        auto *item = new QListWidgetItem(batch.trimmed(), Surveys);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }

    ToFolder = new QRadioButton(QStringLiteral("A &folder on this computer:"), this);
    Folder = new QLineEdit(this);
    Browse = new QPushButton(QStringLiteral("&Browse..."), this);
    Browse->setAutoDefault(false);
    ToServer = new QRadioButton(
        server.isEmpty()
            ? QStringLiteral("The agency server (none is set in Options > Survey "
                             "Database...)")
            : QStringLiteral("The agency &server: %1").arg(databaseDisplayName(server)),
        this);
    ToServer->setEnabled(!server.isEmpty() && !isServerDatabase(source));
    ToFolder->setChecked(true);

    CopyButton = new QPushButton(QStringLiteral("&Copy"), this);
    CopyButton->setEnabled(Surveys->count() > 0);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(CopyButton, QDialogButtonBox::ActionRole);

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(Folder, 1);
    folderRow->addWidget(Browse);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(from);
    layout->addWidget(Surveys, 1);
    if (!error.isEmpty()) {
        auto *problem = new QLabel(error, this);
        problem->setWordWrap(true);
        layout->addWidget(problem);
    }
    layout->addWidget(new QLabel(QStringLiteral("To:"), this));
    layout->addWidget(ToFolder);
    layout->addLayout(folderRow);
    layout->addWidget(ToServer);
    layout->addWidget(buttons);

    connect(Browse, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, Caption, Folder->text());
        if (!dir.isEmpty()) {
            Folder->setText(QDir::toNativeSeparators(dir));
            ToFolder->setChecked(true);
        }
    });
    connect(ToFolder, &QRadioButton::toggled, this, [this](bool on) {
        Folder->setEnabled(on);
        Browse->setEnabled(on);
    });
    connect(CopyButton, &QPushButton::clicked, this, [this] { copy(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(440, 420);
}

bool CopySurveysDialog::copy()
{
    QStringList batches;
    for (int i = 0; i < Surveys->count(); ++i)
        if (Surveys->item(i)->checkState() == Qt::Checked)
            batches << Surveys->item(i)->text();
    if (batches.isEmpty()) {
        kit::message(this, QStringLiteral("Tick the surveys to copy."), Caption);
        return false;
    }
    QString target;
    if (ToServer->isChecked()) {
        target = m_server;
    } else {
        const QString folder = Folder->text().trimmed();
        if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
            kit::message(this, QStringLiteral("Choose an existing folder to copy the surveys to."),
                         Caption, QMessageBox::Warning);
            return false;
        }
        target = databasePathIn(folder);
        // A folder without a survey database gets a blank one first.
        if (!QFileInfo::exists(target)) {
            const QString made = createBlankDatabase(target);
            if (!made.isEmpty()) {
                kit::message(this, made, Caption, QMessageBox::Warning);
                return false;
            }
        }
    }
    CopyResult result;
    {
        kit::BusyPointer busy;
        result = copySurveys(m_source, target, batches);
    }
    if (!result.ok()) {
        if (result.detail.isEmpty())
            kit::message(this, result.error, Caption, QMessageBox::Warning);
        else
            kit::tellDatabaseFailure(this, result.error, result.fault, result.detail,
                                     kit::Shown::Wait);
        return false;
    }
    kit::message(this, result.summary(target), Caption, QMessageBox::Information);
    return true;
}

} // namespace roadtally

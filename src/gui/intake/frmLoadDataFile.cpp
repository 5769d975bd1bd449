#include "gui/intake/frmLoadDataFile.h"

#include "core/intake/DataFileCopy.h"
#include "core/intake/RawDataFile.h"
#include "core/store/Installation.h"
#include "core/store/SharedState.h"
#include "gui/intake/frmProcessData.h"
#include "gui/kit/ActivationWatch.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/ChoiceList.h"
#include "gui/kit/Forms.h"
#include "gui/kit/HelpKey.h"
#include "gui/kit/Message.h"
#include "gui/kit/WindowClose.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace roadtally {

namespace {

// The window's texts, as the program shows them.
namespace text {
const QString Caption = QStringLiteral("Load Radar Data File");
const QString LoadFile = QStringLiteral("&Load File");
const QString LoadFileCaption = QStringLiteral("Load File");
const QString DeleteFile = QStringLiteral("&Delete File");
const QString Cancel = QStringLiteral("Cancel");
const QString Path = QStringLiteral("Path:");
const QString FileType = QStringLiteral("File Type: *.ovd");
const QString ClickToLoad = QStringLiteral("Click on desired file to load");
const QString FileNameLabel = QStringLiteral("File &name:");
const QString FilesLabel = QStringLiteral("Radar data files");
const QString DeleteQuestion = QStringLiteral("Are you sure you want to delete -\r\n");
const QString DeleteTitle = QStringLiteral("delete file");
const QString ErrorTitle = QStringLiteral("Error");
const QString Browse = QStringLiteral("&Browse...");
const QString BrowseCaption = QStringLiteral("Choose a Radar Data File");
const QString BrowseFilter = QStringLiteral("Radar data files (*.ovd *.OVD);;All files (*)");
const QString DropHint = QStringLiteral("or drop a file here");
const QString ReplaceQuestion = QStringLiteral(
    "A different file named %1 is already in the %2.\r\n\r\nReplace it with the chosen file?");
const QString ReplaceTitle = QStringLiteral("Replace File");
} // namespace text

const QString DataFileSuffix = QStringLiteral(".ovd");

// A button's caption without its access-key marks ("&&" stays one "&").
QString plainCaption(const QString &caption)
{
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

// The folder as Label3 shows it, with a trailing separator.
QString folderCaption(const QString &folder)
{
    QString shown = QDir::toNativeSeparators(folder);
    if (!shown.endsWith(QDir::separator()))
        shown += QDir::separator();
    return shown;
}

} // namespace

frmLoadDataFile::frmLoadDataFile(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(text::Caption);
    kit::setHelpPage(this, QStringLiteral("loading"));
    setObjectName(QStringLiteral("frmLoadDataFile"));

    Prompt = new QLabel(this);
    QFont promptFont = Prompt->font();
    promptFont.setBold(true);
    promptFont.setPointSizeF(promptFont.pointSizeF() * 1.15);
    Prompt->setFont(promptFont);

    // Moving with the keys chooses a file as a click does (the selection tells File1_Click).
    File1 = new ChoiceList(this, [](QListWidgetItem *) {});
    File1->setSelectionMode(QAbstractItemView::SingleSelection);
    File1->setMinimumHeight(180);
    File1->setAlternatingRowColors(true);

    Label1 = new QLabel(text::Path, this);
    Label3 = new QLabel(this);
    Label3->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label3->setWordWrap(true);
    Label6 = new QLabel(text::FileType, this);

    FileName = new QLineEdit(this);
    auto *fileNameLabel = new QLabel(text::FileNameLabel, this);
    fileNameLabel->setBuddy(FileName);

    File = new QPushButton(text::LoadFile, this);
    File->setDefault(true);
    DeleteFile = new QPushButton(text::DeleteFile, this);
    Cancel = new QPushButton(text::Cancel, this);
    Browse = new QPushButton(text::Browse, this);
    Browse->setObjectName(QStringLiteral("Browse"));
    for (QPushButton *button : {File, DeleteFile, Browse, Cancel})
        button->setMinimumWidth(110);

    auto *filesBox = new QGroupBox(text::FilesLabel, this);
    auto *filesGrid = new QGridLayout(filesBox);
    filesGrid->addWidget(File1, 0, 0, 1, 2);
    filesGrid->addWidget(fileNameLabel, 1, 0);
    filesGrid->addWidget(FileName, 1, 1);
    filesGrid->addWidget(Label1, 2, 0, Qt::AlignTop);
    filesGrid->addWidget(Label3, 2, 1);
    filesGrid->addWidget(Label6, 3, 0, 1, 2);
    filesGrid->setColumnStretch(1, 1);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(File);
    buttons->addWidget(DeleteFile);
    buttons->addSpacing(12);
    buttons->addWidget(Browse);
    auto *dropHint = new QLabel(text::DropHint, this);
    dropHint->setAlignment(Qt::AlignHCenter);
    dropHint->setEnabled(false);
    buttons->addWidget(dropHint);
    buttons->addStretch(1);
    buttons->addWidget(Cancel);

    auto *body = new QHBoxLayout;
    body->addWidget(filesBox, 1);
    body->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 14);
    layout->setSpacing(10);
    layout->addWidget(Prompt);
    layout->addLayout(body, 1);

    connect(File1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!File1->selectedItems().isEmpty())
            File1_Click();
    });
    connect(File, &QPushButton::clicked, this, [this] { File_Click(); });
    // Enter after a typed name presses the default button, as in a dialog.
    connect(FileName, &QLineEdit::returnPressed, File, &QPushButton::animateClick);
    connect(DeleteFile, &QPushButton::clicked, this, [this] { DeleteFile_Click(); });
    connect(Cancel, &QPushButton::clicked, this, [this] { Cancel_Click(); });
    connect(Browse, &QPushButton::clicked, this, [this] { Browse_Click(); });
    setAcceptDrops(true);
    kit::closeThrough(this, Cancel);
    // Enter on a file of the list loads it, as the default button would.
    File1->installEventFilter(this);

    resize(520, 360);
    Form_Load();
    // The list is read each time the program shows this window, before it is seen.
    new ActivationWatch(
        this, [this] { Form_Activate(); }, ActivationWatch::WhenShown);
}

void frmLoadDataFile::Form_Load()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    refreshList();
}

void frmLoadDataFile::showLoadMode()
{
    File1->setEnabled(true);
    File->setText(text::LoadFile);
    DeleteFile->setEnabled(false);
    show();
    raise();
    activateWindow();
}

QStringList frmLoadDataFile::dataFilesIn(const QString &folder)
{
    QStringList names;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        if (entry.fileName().endsWith(DataFileSuffix, Qt::CaseInsensitive))
            names << entry.fileName();
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

bool frmLoadDataFile::isListedDataFile(const QString &folder, const QString &name)
{
    if (!isPlainDataFileName(name))
        return false;
    return QFileInfo(QDir(folder).filePath(name)).isFile();
}

void frmLoadDataFile::refreshList()
{
    File1->clear();
    File1->addItems(dataFilesIn(sharedState().surveyFolder()));
}

void frmLoadDataFile::Form_Activate()
{
    FileName->clear();
    refreshList();
    if (plainCaption(File->text()) == text::LoadFileCaption)
        Prompt->setText(text::ClickToLoad);
}

void frmLoadDataFile::File1_Click()
{
    const QList<QListWidgetItem *> chosen = File1->selectedItems();
    if (chosen.isEmpty())
        return;
    Label3->setText(folderCaption(sharedState().surveyFolder()));
    FileName->setText(chosen.first()->text());
    DeleteFile->setEnabled(true);
    File->setEnabled(true);
}

void frmLoadDataFile::File_Click()
{
    if (plainCaption(File->text()) == text::LoadFileCaption)
        loadFile();
}

bool frmLoadDataFile::loadFile()
{
    const QString name = FileName->text();
    if (name.isEmpty()) {
        kit::message(this, loadMessage(LoadStatus::NoFileName), text::ErrorTitle);
        return false;
    }

    kit::BusyPointer busy;
    LoadResult loaded = loadRawDataFile(sharedState().surveyFolder(), name);
    if (loaded.status == LoadStatus::Unreadable || loaded.status == LoadStatus::Empty ||
        loaded.status == LoadStatus::NoHeader) {
        busy.release();
        // There, but no radar data file that can be read: say so at once,
        // before anyone fills the form for it.
        kit::message(this, loadMessage(loaded), kit::Title, QMessageBox::Warning);
        return false;
    }
    if (loaded.status != LoadStatus::Loaded) {
        busy.release();
        // A name with a folder or a wildcard is no file of the survey folder:
        // it gets the message of a missing file.
        const LoadStatus shown =
            loaded.status == LoadStatus::NoFileName ? LoadStatus::NoFileName : LoadStatus::NotFound;
        kit::message(this, loadMessage(shown),
                     shown == LoadStatus::NoFileName ? text::ErrorTitle : kit::Title);
        return false;
    }

    frmProcessData &process = form<frmProcessData>();
    // The processing window's return is this window's: the main window listens here.
    connect(&process, &frmProcessData::closed, this, &frmLoadDataFile::closed,
            Qt::UniqueConnection);
    connect(&process, &frmProcessData::surveyStored, this, &frmLoadDataFile::surveyStored,
            Qt::UniqueConnection);
    process.showRawData(loaded.text);
    process.show();
    process.raise();
    process.activateWindow();
    hide();
    return true;
}

void frmLoadDataFile::DeleteFile_Click()
{
    const QString name = FileName->text();
    const auto answer = kit::message(this, text::DeleteQuestion + name, text::DeleteTitle,
                                     QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;

    // Only a data file the list shows is ever deleted: never the database, a file
    // of another folder, or whatever a wildcard would match.
    const QString folder = sharedState().surveyFolder();
    if (isListedDataFile(folder, name))
        QFile::remove(QDir(folder).filePath(name));

    refreshList();
    FileName->clear();
    emit fileDeleted(name);
}

bool frmLoadDataFile::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == File1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && File1->currentItem()) {
            // The file under the cursor is the one chosen, also before any click.
            File1->currentItem()->setSelected(true);
            File1_Click();
            File->animateClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmLoadDataFile::Cancel_Click()
{
    hide();
    emit closed(true);
}

void frmLoadDataFile::Browse_Click()
{
    // Start where the last file came from, else where downloads land.
    static QString lastFolder;
    if (lastFolder.isEmpty())
        lastFolder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    const QString path =
        QFileDialog::getOpenFileName(this, text::BrowseCaption, lastFolder, text::BrowseFilter);
    if (path.isEmpty())
        return;
    lastFolder = QFileInfo(path).absolutePath();
    takeDataFile(path);
}

bool frmLoadDataFile::takeDataFile(const QString &path)
{
    const QString folder = sharedState().surveyFolder();
    DataFileCopy copy;
    {
        kit::BusyPointer busy;
        copy = copyDataFileInto(path, folder);
    }
    if (copy.outcome == DataFileCopy::NameTaken) {
        const auto answer = kit::message(
            this, text::ReplaceQuestion.arg(copy.name, folderNoun(folder)), text::ReplaceTitle,
            QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return false;
        kit::BusyPointer busy;
        copy = copyDataFileInto(path, folder, true);
    }
    if (copy.outcome == DataFileCopy::Failed) {
        kit::message(this, copy.message, kit::Title, QMessageBox::Warning);
        return false;
    }

    refreshList();
    const QList<QListWidgetItem *> found = File1->findItems(copy.name, Qt::MatchExactly);
    if (!found.isEmpty())
        File1->setCurrentItem(found.first()); // selects it: the name and path are filled in
    FileName->setText(copy.name);
    return loadFile();
}

void frmLoadDataFile::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile()) {
        // Always a copy: the file stays where it was.
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void frmLoadDataFile::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const QString path = urls.first().toLocalFile();
    // The drag's source waits for the drop to finish: answer it first.
    QMetaObject::invokeMethod(
        this, [this, path] { takeDataFile(path); }, Qt::QueuedConnection);
}

} // namespace roadtally

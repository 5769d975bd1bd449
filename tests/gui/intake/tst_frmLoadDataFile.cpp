// The data file dialog driven as a user drives it: the list, loading, deleting.

#include "fixtures/IntakeFixture.h"

#include "gui/intake/frmLoadDataFile.h"
#include "gui/intake/frmProcessData.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

using namespace roadtally;
using namespace roadtally::testing;

class tst_frmLoadDataFile : public QObject
{
    Q_OBJECT
private slots:
    void listsDataFilesOnly();
    void activationRereadsTheList();
    void clickingAFileFillsTheName();
    void loadWithoutName();
    void loadMissingFile();
    void loadUnreadableFile_data();
    void loadUnreadableFile();
    void loadRefusesNamesOutsideTheFolder_data();
    void loadRefusesNamesOutsideTheFolder();
    void loadShowsTheProcessingWindow();
    void deleteAsksAndDeletes();
    void deleteCancelledKeepsTheFile();
    void deleteRefusesOtherFiles_data();
    void deleteRefusesOtherFiles();
    void cancelReturnsToTheStartPanel();
    void closingIsCancel();
    void keyboard_data();
    void keyboard();
    void browsedFile_data();
    void browsedFile();
    void browsedFileThatCannotBeRead();
    void droppedFileIsCopied();
};

void tst_frmLoadDataFile::listsDataFilesOnly()
{
    IntakeFixture fixture;
    for (const char *name : {"b.OVD", "c.Ovd", "notes.txt", "a.ovd.bak", "ovd", "A.ovd"})
        fixture.writeFile(fixture.path(QString::fromLatin1(name)));
    QVERIFY(QDir(fixture.folder()).mkdir(QStringLiteral("folder.ovd")));

    frmLoadDataFile &dialog = openLoadDialog();
    QCOMPARE(listed(dialog), (QStringList{QStringLiteral("A.ovd"), QStringLiteral("b.OVD"),
                                          QStringLiteral("c.Ovd"), SampleFile}));
    QCOMPARE(dialog.Prompt->text(), QStringLiteral("Click on desired file to load"));
    QCOMPARE(dialog.Label1->text(), QStringLiteral("Path:"));
    QCOMPARE(dialog.Label6->text(), QStringLiteral("File Type: *.ovd"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Load Radar Data File"));
    QVERIFY(!dialog.DeleteFile->isEnabled());
}

void tst_frmLoadDataFile::activationRereadsTheList()
{
    IntakeFixture fixture;
    frmLoadDataFile &dialog = openLoadDialog();
    dialog.FileName->setText(QStringLiteral("typed.ovd"));
    dialog.hide();
    fixture.writeFile(fixture.path(QStringLiteral("new.ovd")));

    dialog.showLoadMode();
    QVERIFY(dialog.FileName->text().isEmpty());
    QVERIFY(listed(dialog).contains(QStringLiteral("new.ovd")));
}

void tst_frmLoadDataFile::clickingAFileFillsTheName()
{
    IntakeFixture fixture;
    frmLoadDataFile &dialog = openLoadDialog();
    clickFile(dialog, SampleFile);
    QCOMPARE(dialog.FileName->text(), SampleFile);
    QVERIFY(dialog.Label3->text().startsWith(QDir::toNativeSeparators(fixture.folder())));
    QVERIFY(dialog.Label3->text().endsWith(QDir::separator()));
    QVERIFY(dialog.DeleteFile->isEnabled());
    QVERIFY(dialog.File->isEnabled());
}

void tst_frmLoadDataFile::loadWithoutName()
{
    IntakeFixture fixture;
    frmLoadDataFile &dialog = openLoadDialog();
    QTest::mouseClick(dialog.File, Qt::LeftButton);

    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages[0].text, QStringLiteral("You must first select a file to load."));
    QCOMPARE(fixture.messages[0].title, QStringLiteral("Error"));
    QVERIFY(!formExists<frmProcessData>() || !form<frmProcessData>().isVisible());
    QVERIFY(dialog.isVisible());
}

void tst_frmLoadDataFile::loadMissingFile()
{
    IntakeFixture fixture;
    frmLoadDataFile &dialog = openLoadDialog();
    dialog.FileName->setText(QStringLiteral("absent.ovd"));
    QTest::mouseClick(dialog.File, Qt::LeftButton);

    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages[0].text,
             QStringLiteral("Radar text file does not exist, you must create one first"));
    QCOMPARE(fixture.messages[0].title, QStringLiteral("Roadtally"));
    QVERIFY(dialog.isVisible());
    QVERIFY(!formExists<frmProcessData>() || !form<frmProcessData>().isVisible());
}

void tst_frmLoadDataFile::loadUnreadableFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << "folder"
                              << "it is a folder, not a file";
    QTest::newRow("a device") << "device"
                              << "it is a device or a pipe, not a file";
}

void tst_frmLoadDataFile::loadUnreadableFile()
{
    // A name that is there but cannot be read says so and names the file,
    // rather than loading nothing and leaving the user to a later message.
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    IntakeFixture fixture;
    const QString path = fixture.path(QStringLiteral("Broken.ovd"));
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    frmLoadDataFile &dialog = openLoadDialog();
    dialog.FileName->setText(QStringLiteral("Broken.ovd"));
    QTest::mouseClick(dialog.File, Qt::LeftButton);

    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(
        fixture.messages[0].text,
        QStringLiteral("Radar text file %1 cannot be read: %2.\n\nChoose another file, or make "
                       "this one readable and load it again.")
            .arg(QDir::toNativeSeparators(path), reason));
    QCOMPARE(fixture.messages[0].title, QStringLiteral("Roadtally"));
    QVERIFY(dialog.isVisible());
    QVERIFY(!formExists<frmProcessData>() || !form<frmProcessData>().isVisible());
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void tst_frmLoadDataFile::loadRefusesNamesOutsideTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent folder") << QStringLiteral("../outside.ovd");
    QTest::newRow("absolute path") << QStringLiteral("ABSOLUTE");
    QTest::newRow("sub folder") << QStringLiteral("sub/inner.ovd");
    QTest::newRow("wildcard") << QStringLiteral("*.ovd");
    QTest::newRow("database") << QStringLiteral("OV97.mdb");
}

void tst_frmLoadDataFile::loadRefusesNamesOutsideTheFolder()
{
    QFETCH(QString, name);
    IntakeFixture fixture;
    fixture.writeFile(fixture.outside() + QStringLiteral("/outside.ovd"), "Location:,99999");
    QVERIFY(QDir(fixture.folder()).mkdir(QStringLiteral("sub")));
    fixture.writeFile(fixture.path(QStringLiteral("sub/inner.ovd")), "Location:,99999");
    if (name == QStringLiteral("ABSOLUTE"))
        name = fixture.outside() + QStringLiteral("/outside.ovd");

    frmLoadDataFile &dialog = openLoadDialog();
    dialog.FileName->setText(name);
    QTest::mouseClick(dialog.File, Qt::LeftButton);

    QCOMPARE(fixture.messages.size(), 1);
    QVERIFY(dialog.isVisible());
    QVERIFY(!formExists<frmProcessData>() || !form<frmProcessData>().isVisible());
}

void tst_frmLoadDataFile::loadShowsTheProcessingWindow()
{
    IntakeFixture fixture;
    frmLoadDataFile &dialog = openLoadDialog();
    clickFile(dialog, SampleFile);
    QTest::mouseClick(dialog.File, Qt::LeftButton);

    QVERIFY(fixture.messages.isEmpty());
    QVERIFY(!dialog.isVisible());
    frmProcessData &process = form<frmProcessData>();
    QVERIFY(process.isVisible());
    QVERIFY(process.rawText().startsWith(QStringLiteral("Location:,00020,")));
    QCOMPARE(process.txtTerm2->toPlainText().left(16), QStringLiteral("Location:,00020,"));
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void tst_frmLoadDataFile::deleteAsksAndDeletes()
{
    IntakeFixture fixture;
    fixture.writeFile(fixture.path(QStringLiteral("old.ovd")));
    frmLoadDataFile &dialog = openLoadDialog();
    clickFile(dialog, QStringLiteral("old.ovd"));
    QTest::mouseClick(dialog.DeleteFile, Qt::LeftButton);

    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages[0].text,
             QStringLiteral("Are you sure you want to delete -\r\nold.ovd"));
    QCOMPARE(fixture.messages[0].title, QStringLiteral("delete file"));
    QCOMPARE(fixture.messages[0].icon, QMessageBox::Question);
    QCOMPARE(fixture.messages[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY(!QFile::exists(fixture.path(QStringLiteral("old.ovd"))));
    QCOMPARE(listed(dialog), QStringList{SampleFile});
    QVERIFY(dialog.FileName->text().isEmpty());
    QVERIFY(dialog.isVisible());
    QVERIFY(form<frmRoadtally>().isEnabled());
}

void tst_frmLoadDataFile::deleteCancelledKeepsTheFile()
{
    IntakeFixture fixture;
    fixture.answers << QMessageBox::Cancel;
    frmLoadDataFile &dialog = openLoadDialog();
    clickFile(dialog, SampleFile);
    QTest::mouseClick(dialog.DeleteFile, Qt::LeftButton);

    QCOMPARE(fixture.messages.size(), 1);
    QVERIFY(QFile::exists(fixture.path(SampleFile)));
    QCOMPARE(dialog.FileName->text(), SampleFile);
    QVERIFY(!form<frmRoadtally>().isEnabled());
}

void tst_frmLoadDataFile::deleteRefusesOtherFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("database") << QStringLiteral("OV97.mdb");
    QTest::newRow("parent folder") << QStringLiteral("../outside.ovd");
    QTest::newRow("absolute path") << QStringLiteral("ABSOLUTE");
    QTest::newRow("sub folder") << QStringLiteral("sub/inner.ovd");
    QTest::newRow("star") << QStringLiteral("*.ovd");
    QTest::newRow("question mark") << QStringLiteral("layout-sample.ov?");
    QTest::newRow("bracket") << QStringLiteral("[l]ayout-sample.ovd");
    QTest::newRow("folder named .ovd") << QStringLiteral("folder.ovd");
    QTest::newRow("empty") << QString();
}

void tst_frmLoadDataFile::deleteRefusesOtherFiles()
{
    QFETCH(QString, name);
    IntakeFixture fixture;
    const QString outside = fixture.outside() + QStringLiteral("/outside.ovd");
    fixture.writeFile(outside);
    QVERIFY(QDir(fixture.folder()).mkdir(QStringLiteral("sub")));
    QVERIFY(QDir(fixture.folder()).mkdir(QStringLiteral("folder.ovd")));
    fixture.writeFile(fixture.path(QStringLiteral("sub/inner.ovd")));
    if (name == QStringLiteral("ABSOLUTE"))
        name = outside;

    frmLoadDataFile &dialog = openLoadDialog();
    dialog.FileName->setText(name);
    dialog.DeleteFile->setEnabled(true);
    QTest::mouseClick(dialog.DeleteFile, Qt::LeftButton);

    QVERIFY(QFile::exists(outside));
    QVERIFY(QFile::exists(fixture.path(QStringLiteral("sub/inner.ovd"))));
    QVERIFY(QFileInfo(fixture.path(QStringLiteral("folder.ovd"))).isDir());
    QVERIFY(QFile::exists(fixture.path(SampleFile)));
    QVERIFY(QFile::exists(databasePathIn(fixture.folder())));
    QVERIFY(dialog.isVisible());
}

void tst_frmLoadDataFile::cancelReturnsToTheStartPanel()
{
    IntakeFixture fixture;
    frmRoadtally &main = form<frmRoadtally>();
    main.show();
    main.splashframe->hide();
    frmLoadDataFile &dialog = openLoadDialog();
    QTest::mouseClick(dialog.Cancel, Qt::LeftButton);

    QVERIFY(!dialog.isVisible());
    QVERIFY(main.isEnabled());
    QVERIFY(main.splashframe->isVisible());
}

void tst_frmLoadDataFile::closingIsCancel()
{
    IntakeFixture fixture;
    frmLoadDataFile &dialog = openLoadDialog();
    dialog.close();
    QVERIFY(!dialog.isVisible());
    QVERIFY(form<frmRoadtally>().isEnabled());
    QVERIFY(formExists<frmLoadDataFile>()); // hidden, not destroyed
}

void tst_frmLoadDataFile::keyboard_data()
{
    QTest::addColumn<QString>("keys");   // d: Down in the list, e: Enter, x: Escape
    QTest::addColumn<QString>("loaded"); // the file the processing window got; "" none
    // The list takes the focus on its first file.
    QTest::newRow("Enter") << "e" << SampleFile;
    // The first Down chooses the first file, the next one the second.
    QTest::newRow("Down, Enter") << "de" << SampleFile;
    QTest::newRow("Down, Down, Enter") << "dde"
                                       << "zz-second.ovd";
    QTest::newRow("Escape") << "x"
                            << "";
    QTest::newRow("Down, Escape") << "dx"
                                  << "";
}

void tst_frmLoadDataFile::keyboard()
{
    QFETCH(QString, keys);
    QFETCH(QString, loaded);
    IntakeFixture fixture;
    QFile sample(fixture.path(SampleFile));
    QVERIFY(sample.copy(fixture.path(QStringLiteral("zz-second.ovd"))));
    frmRoadtally &main = form<frmRoadtally>();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.splashframe->hide();
    frmLoadDataFile &dialog = openLoadDialog();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.File1->setFocus();
    for (const QChar key : keys) {
        QWidget *focus = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
        if (key == QLatin1Char('d'))
            QTest::keyClick(dialog.File1, Qt::Key_Down);
        else if (key == QLatin1Char('e'))
            QTest::keyClick(dialog.File1, Qt::Key_Return);
        else
            QTest::keyClick(focus, Qt::Key_Escape);
    }
    QVERIFY(fixture.messages.isEmpty());
    QTRY_VERIFY(!dialog.isVisible());
    if (loaded.isEmpty()) {
        QVERIFY(!formExists<frmProcessData>() || !form<frmProcessData>().isVisible());
        QVERIFY(main.isEnabled());
        QVERIFY(main.splashframe->isVisible());
    } else {
        QVERIFY(form<frmProcessData>().isVisible());
        QCOMPARE(dialog.FileName->text(), loaded);
        QVERIFY(!main.isEnabled());
    }
}

void tst_frmLoadDataFile::browsedFile_data()
{
    QTest::addColumn<QByteArray>("present"); // a file of that name already listed; "" = none
    QTest::addColumn<int>("answer");         // to "Replace?", when asked
    QTest::addColumn<bool>("loaded");
    QTest::newRow("new") << QByteArray() << int(QMessageBox::Ok) << true;
    QTest::newRow("identical") << QByteArray("SAME") << int(QMessageBox::Ok) << true;
    QTest::newRow("other, replaced") << QByteArray("older file") << int(QMessageBox::Yes) << true;
    QTest::newRow("other, kept") << QByteArray("older file") << int(QMessageBox::No) << false;
}

void tst_frmLoadDataFile::browsedFile()
{
    QFETCH(QByteArray, present);
    QFETCH(int, answer);
    QFETCH(bool, loaded);
    IntakeFixture fixture;
    QFile sample(fixture.path(SampleFile));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    const QByteArray raw = sample.readAll();
    const QString source = fixture.outside() + QStringLiteral("/Trailer.ovd");
    fixture.writeFile(source, raw);
    const QString target = fixture.path(QStringLiteral("Trailer.ovd"));
    if (!present.isEmpty())
        fixture.writeFile(target, present == "SAME" ? raw : present);
    fixture.answers = {QMessageBox::StandardButton(answer)};

    frmLoadDataFile &dialog = openLoadDialog();
    QCOMPARE(dialog.takeDataFile(source), loaded);

    const bool asked = !present.isEmpty() && present != "SAME";
    QCOMPARE(fixture.messages.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(fixture.messages[0].title, QStringLiteral("Replace File"));
        QVERIFY(fixture.messages[0].text.contains(QStringLiteral("Trailer.ovd")));
        QCOMPARE(fixture.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
    }
    QFile copied(target);
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(copied.readAll(), loaded ? raw : present);
    QVERIFY(QFile::exists(source)); // never moved
    QCOMPARE(dialog.isVisible(), !loaded);
    QCOMPARE(formExists<frmProcessData>() && form<frmProcessData>().isVisible(), loaded);
    if (loaded) {
        QCOMPARE(dialog.FileName->text(), QStringLiteral("Trailer.ovd"));
        QVERIFY(listed(dialog).contains(QStringLiteral("Trailer.ovd")));
    }
}

void tst_frmLoadDataFile::browsedFileThatCannotBeRead()
{
    IntakeFixture fixture;
    const QString folder = fixture.outside() + QStringLiteral("/folder.ovd");
    QVERIFY(QDir().mkpath(folder));
    frmLoadDataFile &dialog = openLoadDialog();
    const QStringList before = listed(dialog);
    QVERIFY(!dialog.takeDataFile(folder));
    QCOMPARE(fixture.messages.size(), 1);
    QVERIFY(fixture.messages[0].text.contains(QStringLiteral("it is a folder, not a file")));
    QCOMPARE(listed(dialog), before);
    QVERIFY(!QFileInfo::exists(fixture.path(QStringLiteral("folder.ovd"))));
    QVERIFY(dialog.isVisible());
}

void tst_frmLoadDataFile::droppedFileIsCopied()
{
    IntakeFixture fixture;
    const QString source = fixture.outside() + QStringLiteral("/Dropped.ovd");
    QVERIFY(QFile::copy(fixture.path(SampleFile), source));
    frmLoadDataFile &dialog = openLoadDialog();
    QVERIFY(dialog.acceptDrops());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(source)});
    const QPoint inside = dialog.rect().center();
    QDragEnterEvent enter(inside, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&dialog, &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(inside, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &drop);
    QCOMPARE(drop.dropAction(), Qt::CopyAction);

    QTRY_VERIFY(formExists<frmProcessData>() && form<frmProcessData>().isVisible());
    QVERIFY(QFile::exists(source));
    QVERIFY(QFile::exists(fixture.path(QStringLiteral("Dropped.ovd"))));
    QVERIFY(fixture.messages.isEmpty());
}

QTEST_MAIN(tst_frmLoadDataFile)
#include "tst_frmLoadDataFile.moc"

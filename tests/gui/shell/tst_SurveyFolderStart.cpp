// Start-up of an installed program: a program folder it may not keep surveys in,
// the user's data folder made on first start, and a folder that cannot be made.

#include "core/store/Installation.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "gui/info/frmAbout.h"
#include "gui/intake/frmLoadDataFile.h"
#include "gui/intake/frmProcessData.h"
#include "gui/kit/Forms.h"
#include "gui/kit/Message.h"
#include "gui/shell/frmRoadtally.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace roadtally;

namespace {

const QString Sample = QStringLiteral("layout-sample.ovd");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class tst_SurveyFolderStart : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_round = 0;
    QString m_root; // a fresh folder for each test
    QString m_bin;

    QString path(const QString &name) const { return QDir(m_root).filePath(name); }

    // An installed program: bin/ that is read-only and share/roadtally/ with the
    // blank database and a sample.
    void install()
    {
        m_bin = path(QStringLiteral("bin"));
        const QString share = path(QStringLiteral("share/roadtally"));
        QVERIFY(QDir().mkpath(m_bin) && QDir().mkpath(share));
        QCOMPARE(createBlankDatabase(QDir(share).filePath(QString::fromLatin1(BlankFileName))),
                 QString());
        QVERIFY(QFile::copy(QStringLiteral(ROADTALLY_TEST_DATA "/raw/") + Sample,
                            QDir(share).filePath(Sample)));
        QVERIFY(QFile::setPermissions(m_bin, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                 QFile::ExeGroup));
        sharedState().setProgramFolder(m_bin);
    }

private Q_SLOTS:
    void init()
    {
        m_root = m_dir.filePath(QString::number(++m_round));
        QVERIFY(QDir().mkpath(m_root));
        qunsetenv("ROADTALLY_FOLDER");
        sharedState().setSurveyFolder(QString());
        sharedState().surveyFolderProblem.clear();
    }

    void cleanup()
    {
        kit::messageHook() = {};
        delete formSlot<frmLoadDataFile>().data();
        delete formSlot<frmProcessData>().data();
        delete formSlot<frmAbout>().data();
        delete formSlot<frmRoadtally>().data();
        QFile::setPermissions(m_bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void readOnlyProgramFolderStartsTheDataFolder()
    {
        install();
        const QString data = path(QStringLiteral("data"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        const QString surveys = QDir(data).filePath(QStringLiteral("Roadtally"));
        QVERIFY(QDir().mkpath(surveys)); // there, and empty

        QCOMPARE(startInSurveyFolder({}), QString());
        frmRoadtally &w = form<frmRoadtally>();
        QCOMPARE(sharedState().surveyFolder(), surveys);
        QCOMPARE(w.databaseError(), QString());
        QVERIFY(w.SSTab->isEnabled());
        QCOMPARE(sharedState().databasePath, databasePathIn(surveys));
        const QStringList placed = QDir(surveys).entryList(QDir::Files, QDir::Name);
        QCOMPARE(placed, (QStringList{QStringLiteral("OV97.mdb"), Sample,
                                      QString::fromLatin1(BlankFileName)}));
        QVERIFY(QDir(m_bin).entryList(QDir::Files).isEmpty());

        // The data file window lists the survey folder; About names it.
        frmLoadDataFile &dialog = w.loadDataFileWindow();
        dialog.showLoadMode();
        QCOMPARE(dialog.File1->count(), 1);
        QCOMPARE(dialog.File1->item(0)->text(), Sample);
        w.mnuAbout->trigger();
        const QString about = form<frmAbout>().folderLabel->text();
        QVERIFY2(about.contains(QStringLiteral("survey folder")) &&
                     about.contains(QDir::toNativeSeparators(surveys)),
                 qPrintable(about));

        // A second start finds everything in place and changes nothing.
        const QByteArray database = [&] {
            QFile f(databasePathIn(surveys));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QFile::remove(QDir(surveys).filePath(Sample));
        QCOMPARE(startInSurveyFolder({}), QString());
        QFile again(databasePathIn(surveys));
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), database);
        QVERIFY(!QFile::exists(QDir(surveys).filePath(Sample))); // deleted stays deleted
    }

    void unusableDataFolder()
    {
        install();
        // A file where the data folder's parent should be: it can never be made.
        const QString blocker = path(QStringLiteral("blocker"));
        writeFile(blocker, "x");
        qputenv("XDG_DATA_HOME", QFile::encodeName(blocker + QStringLiteral("/data")));

        const QString problem = startInSurveyFolder({});
        QVERIFY2(problem.contains(QDir::toNativeSeparators(blocker)), qPrintable(problem));
        QVERIFY2(problem.contains(QStringLiteral("could not be created")), qPrintable(problem));
        QVERIFY(QFileInfo(blocker).isFile());

        frmRoadtally &w = form<frmRoadtally>();
        QCOMPARE(w.databaseError(), problem);
        QVERIFY(!w.SSTab->isEnabled());
        QVERIFY(!w.mnuProcessRawData->isEnabled());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QMessageBox *box = nullptr;
        QTRY_VERIFY((box = w.findChild<QMessageBox *>()) != nullptr);
        QVERIFY(box->text().startsWith(problem));
        box->accept();
        // The information windows still open.
        w.mnuAbout->trigger();
        QTRY_VERIFY(form<frmAbout>().isVisible());
        // Nothing to load from: the command-line file is not taken either.
        w.openDataFile(QStringLiteral(ROADTALLY_TEST_DATA "/raw/") + Sample);
        QVERIFY(!formSlot<frmProcessData>() || !formSlot<frmProcessData>()->isVisible());
    }

    void chosenFolder()
    {
        install();
        const QString chosen = path(QStringLiteral("chosen/surveys"));
        qputenv("ROADTALLY_FOLDER", QFile::encodeName(chosen));
        QCOMPARE(startInSurveyFolder({}), QString());
        QCOMPARE(sharedState().surveyFolder(), chosen);
        QVERIFY(QFile::exists(databasePathIn(chosen)));
        // --folder wins over the environment.
        const QString option = path(QStringLiteral("option"));
        QCOMPARE(startInSurveyFolder({option}), QString());
        QCOMPARE(sharedState().surveyFolder(), option);
    }

    void writableProgramFolderIsUsedAsItStands()
    {
        // A build tree or a copy on a stick: no database is made for it.
        const QString folder = path(QStringLiteral("stick"));
        QVERIFY(QDir().mkpath(folder));
        sharedState().setProgramFolder(folder);
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("unused"))));
        QCOMPARE(startInSurveyFolder({}), QString());
        QCOMPARE(sharedState().surveyFolder(), folder);
        QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("unused"))));
        QCOMPARE(folderNoun(folder), QStringLiteral("program folder"));
    }

    void fileFromTheCommandLine()
    {
        install();
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data2"))));
        QCOMPARE(startInSurveyFolder({}), QString());
        kit::messageHook() = [](QWidget *, QMessageBox::Icon, const QString &, const QString &text,
                                QMessageBox::StandardButtons) {
            qWarning("unexpected message: %s", qPrintable(text));
            return QMessageBox::Ok;
        };
        const QString downloads = path(QStringLiteral("Downloads"));
        QVERIFY(QDir().mkpath(downloads));
        const QString raw = QDir(downloads).filePath(QStringLiteral("Trailer 7.ovd"));
        QVERIFY(QFile::copy(QStringLiteral(ROADTALLY_TEST_DATA "/raw/") + Sample, raw));

        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        w.openDataFile(raw);
        QTRY_VERIFY(form<frmProcessData>().isVisible());
        QVERIFY(!w.isEnabled());
        QVERIFY(QFile::exists(raw)); // copied, never moved
        QVERIFY(QFile::exists(
            QDir(sharedState().surveyFolder()).filePath(QStringLiteral("Trailer 7.ovd"))));
        QVERIFY(!form<frmProcessData>().rawText().isEmpty());
    }
};

QTEST_MAIN(tst_SurveyFolderStart)
#include "tst_SurveyFolderStart.moc"

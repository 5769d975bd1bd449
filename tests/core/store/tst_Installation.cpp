// Where the surveys are kept: the decision, and a survey folder made ready on
// first start (also by two programs at once, and where it cannot be made).

#include "core/store/Installation.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <future>

using namespace roadtally;

class tst_Installation : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString share()
    {
        const QString folder = m_dir.filePath(QStringLiteral("share/roadtally"));
        if (!QFileInfo::exists(QDir(folder).filePath(QString::fromLatin1(BlankFileName)))) {
            QDir().mkpath(folder);
            createBlankDatabase(QDir(folder).filePath(QString::fromLatin1(BlankFileName)));
            QFile sample(QDir(folder).filePath(QStringLiteral("Sample.ovd")));
            sample.open(QIODevice::WriteOnly);
            sample.write("raw data");
        }
        return folder;
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void resolve_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<bool>("programHolds");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("origin");
        QTest::newRow("writable program folder") << ""
                                                 << "" << true << "/opt/rt" << 0;
        QTest::newRow("installed program") << ""
                                           << "" << false << "/home/u/data" << 1;
        QTest::newRow("environment") << ""
                                     << "/srv/surveys" << false << "/srv/surveys" << 2;
        QTest::newRow("environment over program folder")
            << ""
            << "/srv/surveys" << true << "/srv/surveys" << 2;
        QTest::newRow("option over environment") << "/mnt/stick/"
                                                 << "/srv/surveys" << true << "/mnt/stick" << 2;
    }
    void resolve()
    {
        QFETCH(QString, option);
        QFETCH(QString, environment);
        QFETCH(bool, programHolds);
        QFETCH(QString, expected);
        QFETCH(int, origin);
        LocationFacts facts;
        facts.environmentFolder = environment;
        facts.programFolder = QStringLiteral("/opt/rt");
        facts.programFolderHoldsSurveys = programHolds;
        facts.dataFolder = QStringLiteral("/home/u/data");
        const SurveyLocation location = resolveSurveyLocation({option}, facts);
        QCOMPARE(location.folder, expected);
        QCOMPARE(int(location.origin), origin);
    }

    void installedProgramFolder()
    {
        const QString bin = m_dir.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        share();
        // Writable (the tests may run as root), but an installed program's bin.
        QVERIFY(!programFolderHoldsSurveys(bin));
        QCOMPARE(installedShareFolder(bin), QDir::cleanPath(share()));
        const QString stick = m_dir.filePath(QStringLiteral("usb/stick"));
        QVERIFY(QDir().mkpath(stick));
        QVERIFY(programFolderHoldsSurveys(stick));
        QVERIFY(installedShareFolder(stick).isEmpty());
    }

    void firstStartMakesTheFolder()
    {
        const QString folder = m_dir.filePath(QStringLiteral("first/Roadtally"));
        QCOMPARE(prepareSurveyFolder(folder, share()), QString());
        const QByteArray blank =
            contents(QDir(share()).filePath(QString::fromLatin1(BlankFileName)));
        QCOMPARE(contents(databasePathIn(folder)), blank);
        QCOMPARE(contents(QDir(folder).filePath(QString::fromLatin1(BlankFileName))), blank);
        QCOMPARE(contents(QDir(folder).filePath(QStringLiteral("Sample.ovd"))),
                 QByteArray("raw data"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void existingDatabaseIsKept()
    {
        const QString folder = m_dir.filePath(QStringLiteral("kept"));
        QVERIFY(QDir().mkpath(folder));
        QFile mine(databasePathIn(folder));
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.write("my surveys");
        mine.close();
        QCOMPARE(prepareSurveyFolder(folder, share()), QString());
        QCOMPARE(contents(databasePathIn(folder)), QByteArray("my surveys"));
        // The blank copy arrives for "Replace Database"; samples only in a new folder.
        QVERIFY(QFile::exists(QDir(folder).filePath(QString::fromLatin1(BlankFileName))));
        QVERIFY(!QFile::exists(QDir(folder).filePath(QStringLiteral("Sample.ovd"))));
    }

    void withoutShareABlankIsMade()
    {
        const QString folder = m_dir.filePath(QStringLiteral("noshare"));
        QCOMPARE(prepareSurveyFolder(folder, QString()), QString());
        QVERIFY(QFileInfo(databasePathIn(folder)).size() > 0);
        QCOMPARE(contents(databasePathIn(folder)),
                 contents(QDir(folder).filePath(QString::fromLatin1(BlankFileName))));
    }

    void folderThatCannotBeMade()
    {
        const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString folder = blocker + QStringLiteral("/data/Roadtally");
        const QString problem = prepareSurveyFolder(folder, share());
        QVERIFY2(problem.startsWith(QStringLiteral("The survey folder %1 could not be created: ")
                                        .arg(QDir::toNativeSeparators(folder))),
                 qPrintable(problem));
        QVERIFY(QFileInfo(blocker).isFile());
    }

    void twoProgramsAtOnce()
    {
        // Both finish with the one whole database and no temporary file left.
        for (int round = 0; round < 20; ++round) {
            const QString folder = m_dir.filePath(QStringLiteral("race/%1").arg(round));
            const QString source = share();
            const auto prepare = [=] { return prepareSurveyFolder(folder, source); };
            std::future<QString> a = std::async(std::launch::async, prepare);
            std::future<QString> b = std::async(std::launch::async, prepare);
            QCOMPARE(a.get(), QString());
            QCOMPARE(b.get(), QString());
            QCOMPARE(contents(databasePathIn(folder)),
                     contents(QDir(source).filePath(QString::fromLatin1(BlankFileName))));
            const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
            QCOMPARE(left.size(), 3);
        }
    }

    void folderNouns()
    {
        sharedState().setProgramFolder(m_dir.path());
        QCOMPARE(folderNoun(m_dir.path() + QStringLiteral("/")), QStringLiteral("program folder"));
        QCOMPARE(folderNoun(m_dir.filePath(QStringLiteral("x"))), QStringLiteral("survey folder"));
    }
};

QTEST_GUILESS_MAIN(tst_Installation)
#include "tst_Installation.moc"

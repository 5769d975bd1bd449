// The process-wide shared state and the database path of the program folder.
#include "core/store/SharedState.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

using namespace roadtally;

class tst_SharedState : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsEmpty()
    {
        QVERIFY(sharedState().databasePath.isEmpty());
        QCOMPARE(&sharedState(), &sharedState());
    }

    void databasePathIn_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        const QString sep = QString(QDir::separator());
        QTest::newRow("plain") << "/opt/roadtally"
                               << QString(sep + QStringLiteral("opt") + sep +
                                          QStringLiteral("roadtally") + sep +
                                          QStringLiteral("OV97.mdb"));
        QTest::newRow("trailing separator")
            << "/opt/roadtally/"
            << QString(sep + QStringLiteral("opt") + sep + QStringLiteral("roadtally") + sep +
                       QStringLiteral("OV97.mdb"));
        QTest::newRow("blank in name")
            << "/home/u/Speed Surveys"
            << QString(sep + QStringLiteral("home") + sep + QStringLiteral("u") + sep +
                       QStringLiteral("Speed Surveys") + sep + QStringLiteral("OV97.mdb"));
    }

    void databasePathIn()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(roadtally::databasePathIn(folder), expected);
    }

    void derivedAfreshFromTheProgramFolder()
    {
        SharedState state;
        QCOMPARE(state.programFolder(), QCoreApplication::applicationDirPath());
        QCOMPARE(state.deriveDatabasePath(),
                 roadtally::databasePathIn(QCoreApplication::applicationDirPath()));
        // Moving the program folder moves the database; nothing of the old place stays.
        state.setProgramFolder(QStringLiteral("/srv/first"));
        QCOMPARE(state.deriveDatabasePath(),
                 roadtally::databasePathIn(QStringLiteral("/srv/first")));
        state.setProgramFolder(QStringLiteral("/srv/second"));
        QCOMPARE(state.deriveDatabasePath(),
                 roadtally::databasePathIn(QStringLiteral("/srv/second")));
        QCOMPARE(state.databasePath, roadtally::databasePathIn(QStringLiteral("/srv/second")));
    }
};

QTEST_GUILESS_MAIN(tst_SharedState)
#include "tst_SharedState.moc"

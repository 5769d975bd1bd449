// A raw data file brought into the survey folder from elsewhere: copied, never
// moved; an identical file just chosen; another of the same name only replaced
// when asked; what cannot be read refused with the loader's messages.

#include "core/intake/DataFileCopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;

class tst_DataFileCopy : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_folder;
    QString m_downloads;

    void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        m_folder = m_dir.filePath(QStringLiteral("surveys"));
        m_downloads = m_dir.filePath(QStringLiteral("Downloads"));
        QDir(m_folder).removeRecursively();
        QDir(m_downloads).removeRecursively();
        QVERIFY(QDir().mkpath(m_folder) && QDir().mkpath(m_downloads));
    }

    void outcomes_data()
    {
        QTest::addColumn<QByteArray>("present"); // in the survey folder; "" = none
        QTest::addColumn<bool>("replace");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new") << QByteArray() << false << int(DataFileCopy::Copied)
                             << QByteArray("new data");
        QTest::newRow("identical") << QByteArray("new data") << false
                                   << int(DataFileCopy::Identical) << QByteArray("new data");
        QTest::newRow("other content: ask")
            << QByteArray("old data") << false << int(DataFileCopy::NameTaken)
            << QByteArray("old data");
        QTest::newRow("other content: replace")
            << QByteArray("old data") << true << int(DataFileCopy::Copied)
            << QByteArray("new data");
        QTest::newRow("same size, other content")
            << QByteArray("wen data") << false << int(DataFileCopy::NameTaken)
            << QByteArray("wen data");
    }
    void outcomes()
    {
        QFETCH(QByteArray, present);
        QFETCH(bool, replace);
        QFETCH(int, outcome);
        QFETCH(QByteArray, after);
        const QString source = QDir(m_downloads).filePath(QStringLiteral("Main St.ovd"));
        write(source, "new data");
        const QString target = QDir(m_folder).filePath(QStringLiteral("Main St.ovd"));
        if (!present.isEmpty())
            write(target, present);

        const DataFileCopy copy = copyDataFileInto(source, m_folder, replace);
        QCOMPARE(int(copy.outcome), outcome);
        QCOMPARE(copy.name, QStringLiteral("Main St.ovd"));
        QCOMPARE(read(target), after);
        QCOMPARE(read(source), QByteArray("new data")); // never moved
        QCOMPARE(QDir(m_folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void theFolderItself()
    {
        // Chosen from the survey folder: the file is its own identical copy.
        const QString inside = QDir(m_folder).filePath(QStringLiteral("a.ovd"));
        write(inside, "x");
        QCOMPARE(copyDataFileInto(inside, m_folder).outcome, DataFileCopy::Identical);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "Downloads/gone.ovd"
                                 << "Radar text file does not exist, you must create one first";
        QTest::newRow("folder") << "Downloads/folder.ovd"
                                << "it is a folder, not a file";
        QTest::newRow("device") << "/dev/null"
                                << "it is a device or a pipe, not a file";
        QTest::newRow("not a data file") << "Downloads/notes.txt"
                                         << "only files whose name ends in .ovd";
    }
    void refused()
    {
        QFETCH(QString, source);
        QFETCH(QString, message);
        QVERIFY(QDir().mkpath(QDir(m_downloads).filePath(QStringLiteral("folder.ovd"))));
        write(QDir(m_downloads).filePath(QStringLiteral("notes.txt")), "text");
        const QString path = source.startsWith(QLatin1Char('/')) ? source : m_dir.filePath(source);
        const DataFileCopy copy = copyDataFileInto(path, m_folder);
        QCOMPARE(copy.outcome, DataFileCopy::Failed);
        QVERIFY2(copy.message.contains(message), qPrintable(copy.message));
        QVERIFY(QDir(m_folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    void unwritableFolderLeavesNothing()
    {
        const QString source = QDir(m_downloads).filePath(QStringLiteral("a.ovd"));
        write(source, "data");
        const QString missing = m_dir.filePath(QStringLiteral("no/such/folder"));
        const DataFileCopy copy = copyDataFileInto(source, missing);
        QCOMPARE(copy.outcome, DataFileCopy::Failed);
        QVERIFY2(copy.message.contains(QDir::toNativeSeparators(missing)),
                 qPrintable(copy.message));
        QVERIFY(!QFileInfo::exists(missing));
    }
};

QTEST_GUILESS_MAIN(tst_DataFileCopy)
#include "tst_DataFileCopy.moc"

#include "core/intake/ImportRequest.h"
#include "core/intake/RawDataFile.h"
#include "fixtures/RawTextBuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace roadtally;

class tst_RawDataFile : public QObject
{
    Q_OBJECT

private slots:
    void markEnd_data();
    void markEnd();
    void markEndOfDownloadedFile();
    void readRawHeader_data();
    void readRawHeader();
    void plainName_data();
    void plainName();
    void load_data();
    void load();
    void loadReadsEveryByte();
    void loadMatchesNameWithoutCase();
    void contents_data();
    void contents();
    void unreadable_data();
    void unreadable();
};

void tst_RawDataFile::markEnd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString pad(250, QLatin1Char('x'));
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("four of six, last character untouched")
        << pad + QStringLiteral("+,-,?,+,-,+,") << pad + QStringLiteral("+,-,*,*,*,*,");
    QTest::newRow("final character never examined")
        << pad + QStringLiteral("?+-?+") << pad + QStringLiteral("****+");
    QTest::newRow("fewer than four direction characters")
        << pad + QStringLiteral("a+b-c") << pad + QStringLiteral("a*b*c");
    QTest::newRow("none at all") << pad + QStringLiteral("0123,") << pad + QStringLiteral("0123,");
    QTest::newRow("star already near the end gives two more")
        << pad + QStringLiteral("*,+,-,?,+,") << pad + QStringLiteral("*,+,-,*,*,");
    QTest::newRow("star as the final character counts")
        << pad + QStringLiteral("+-?+*") << pad + QStringLiteral("+-***");
    // Last 200 characters are positions N-199..N; a star at N-200 is outside.
    QTest::newRow("star just outside the last 200")
        << QStringLiteral("*") + QString(200, QLatin1Char('+'))
        << QStringLiteral("*") + QString(195, QLatin1Char('+')) + QStringLiteral("****+");
    // Positions N-1 down to N-200: with N = 205 the scan stops at position 5.
    QTest::newRow("scan stops 200 characters back")
        << QStringLiteral("abcd+") + QString(199, QLatin1Char('x')) + QStringLiteral("z")
        << QStringLiteral("abcd*") + QString(199, QLatin1Char('x')) + QStringLiteral("z");
    QTest::newRow("nothing before 200 characters back")
        << QStringLiteral("abc+x") + QString(199, QLatin1Char('x')) + QStringLiteral("z")
        << QStringLiteral("abc+x") + QString(199, QLatin1Char('x')) + QStringLiteral("z");
    QTest::newRow("short text down to position 1")
        << QStringLiteral("+ab") << QStringLiteral("*ab");
    QTest::newRow("single character") << QStringLiteral("+") << QStringLiteral("+");
    QTest::newRow("short text with a star") << QStringLiteral("-+*-+x") << QStringLiteral("-+***x");
}

void tst_RawDataFile::markEnd()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    roadtally::markEnd(text);
    QCOMPARE(text, expected);
}

void tst_RawDataFile::markEndOfDownloadedFile()
{
    // The last four direction characters are marked; the records before them and
    // the logger's closing line are unchanged.
    QList<test::Record> records;
    for (int i = 0; i < 12; ++i)
        records.append({300 + i, i % 2 ? '+' : '-', 82});
    const QString raw = test::rawFile(records);
    QVERIFY(raw.lastIndexOf(QLatin1Char('*')) < raw.size() - 200);
    QString marked = raw;
    roadtally::markEnd(marked);
    QCOMPARE(marked.count(QLatin1Char('*')) - raw.count(QLatin1Char('*')), 4);
    const qsizetype firstMarked = raw.indexOf(QLatin1String("0000000311,?,999,"));
    QCOMPARE(marked.left(firstMarked), raw.left(firstMarked));
    QVERIFY(marked.endsWith(QLatin1String("0000000311,*,999,\r\nEnd of data\r\n")));
    QVERIFY(!marked.contains(QLatin1String(",?,")));
}

void tst_RawDataFile::readRawHeader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QStringList>("expected"); // batch, location code, date, time, posted

    QTest::newRow("sample header")
        << test::sampleHeader() << QStringLiteral("A")
        << QStringList{QStringLiteral("052401-A"), QStringLiteral("00020"),
                       QStringLiteral("05/24/2001"), QStringLiteral("13:45"),
                       QStringLiteral("105")};
    QTest::newRow("letter C") << test::sampleHeader() << QStringLiteral("C")
                              << QStringList{QStringLiteral("052401-C"), QStringLiteral("00020"),
                                             QStringLiteral("05/24/2001"), QStringLiteral("13:45"),
                                             QStringLiteral("105")};
    QTest::newRow("year 0YY is 20YY")
        << test::headerFor(12, 31, 99, 23, 5) << QStringLiteral("A")
        << QStringList{QStringLiteral("123199-A"), QStringLiteral("00020"),
                       QStringLiteral("12/31/2099"), QStringLiteral("23:05"),
                       QStringLiteral("105")};
    QTest::newRow("short text gives short values")
        << test::sampleHeader().left(56) << QStringLiteral("A")
        << QStringList{QStringLiteral("052401-A"), QStringLiteral("00020"),
                       QStringLiteral("05/24/2001"), QStringLiteral("13:"), QString()};
    QTest::newRow("empty text") << QString() << QStringLiteral("A")
                                << QStringList{QStringLiteral("-A"), QString(),
                                               QStringLiteral("//20"), QStringLiteral(":"),
                                               QString()};
}

void tst_RawDataFile::readRawHeader()
{
    QFETCH(QString, text);
    QFETCH(QString, letter);
    QFETCH(QStringList, expected);
    const RawHeader h = roadtally::readRawHeader(text);
    QCOMPARE(h.batchNumber(letter), expected[0]);
    QCOMPARE(h.locationCode, expected[1]);
    QCOMPARE(h.batchDate, expected[2]);
    QCOMPARE(h.startTime, expected[3]);
    QCOMPARE(h.postedSpeed, expected[4]);
}

void tst_RawDataFile::plainName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("plain");
    QTest::newRow("plain") << QStringLiteral("survey1.ovd") << true;
    QTest::newRow("upper case") << QStringLiteral("SURVEY1.OVD") << true;
    QTest::newRow("blank inside") << QStringLiteral("main st.ovd") << true;
    QTest::newRow("other extension") << QStringLiteral("survey1.txt") << false;
    QTest::newRow("no base name") << QStringLiteral(".ovd") << false;
    QTest::newRow("folder") << QStringLiteral("data/survey1.ovd") << false;
    QTest::newRow("parent folder") << QStringLiteral("../survey1.ovd") << false;
    QTest::newRow("backslash") << QStringLiteral("c:\\survey1.ovd") << false;
    QTest::newRow("wildcard star") << QStringLiteral("*.ovd") << false;
    QTest::newRow("wildcard question") << QStringLiteral("survey?.ovd") << false;
    QTest::newRow("empty") << QString() << false;
}

void tst_RawDataFile::plainName()
{
    QFETCH(QString, name);
    QFETCH(bool, plain);
    QCOMPARE(isPlainDataFileName(name), plain);
}

void tst_RawDataFile::load_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << QString() << int(LoadStatus::NoFileName)
                             << QStringLiteral("You must first select a file to load.");
    QTest::newRow("missing") << QStringLiteral("other.ovd") << int(LoadStatus::NotFound)
                             << QStringLiteral(
                                    "Radar text file does not exist, you must create one first");
    QTest::newRow("outside the folder")
        << QStringLiteral("../survey.ovd") << int(LoadStatus::NotPlainName)
        << QStringLiteral("Radar text file does not exist, you must create one first");
    QTest::newRow("loaded") << QStringLiteral("survey.ovd") << int(LoadStatus::Loaded) << QString();
}

void tst_RawDataFile::load()
{
    QFETCH(QString, name);
    QFETCH(int, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString raw = test::rawFile({{309, '-', 82}, {313, '+', 96}, {320, '+', 80}});
    QFile f(dir.filePath(QStringLiteral("survey.ovd")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(raw.toLatin1());
    f.close();

    const LoadResult r = loadRawDataFile(dir.path(), name);
    QCOMPARE(int(r.status), status);
    QCOMPARE(loadMessage(r.status), message);
    if (r.status == LoadStatus::Loaded) {
        QString marked = raw;
        roadtally::markEnd(marked);
        QCOMPARE(r.text, marked);
        QCOMPARE(QFile(f.fileName()).size(), raw.size()); // the file on disk is unchanged
    } else {
        QVERIFY(r.text.isEmpty());
    }
}

void tst_RawDataFile::loadReadsEveryByte()
{
    QTemporaryDir dir;
    // The survey header first, then every byte value.
    const QByteArray header = test::sampleHeader().toLatin1();
    QByteArray bytes = header;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    QFile f(dir.filePath(QStringLiteral("bytes.ovd")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    const LoadResult r = loadRawDataFile(dir.path(), QStringLiteral("bytes.ovd"));
    QCOMPARE(r.status, LoadStatus::Loaded);
    const QString bytesRead = r.text.mid(header.size());
    QCOMPARE(bytesRead.size(), 256);
    QCOMPARE(bytesRead.at(0).unicode(), 0);
    QCOMPARE(bytesRead.at(0xE9).unicode(), 0xE9); // Latin-1: one character per byte
    QCOMPARE(bytesRead.at(255).unicode(), 255);
    // Only '?' (63) lies in the scanned window (bytes 55 to 254); '*' (42) is outside
    // the last 200 characters, so the count started at 0.
    QCOMPARE(bytesRead.count(QLatin1Char('*')), 2);
    QCOMPARE(bytesRead.at(63), QLatin1Char('*'));
    QCOMPARE(bytesRead.at(43), QLatin1Char('+'));
}

void tst_RawDataFile::loadMatchesNameWithoutCase()
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("Main St.OVD")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(test::sampleHeader().toLatin1());
    f.close();
    const LoadResult r = loadRawDataFile(dir.path(), QStringLiteral("main st.ovd"));
    QCOMPARE(r.status, LoadStatus::Loaded);
    QString marked = test::sampleHeader();
    roadtally::markEnd(marked);
    QCOMPARE(r.text, marked);
}

void tst_RawDataFile::contents_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QString empty = QStringLiteral("The file is empty.");
    const QString noHeader =
        QStringLiteral("This file has no survey header: it is not a radar data file.");
    QTest::newRow("empty") << QByteArray() << int(LoadStatus::Empty) << empty;
    QTest::newRow("garbage") << QByteArray("\x01\x02garbage,+,-,?,*,,,,,")
                             << int(LoadStatus::NoHeader) << noHeader;
    QTest::newRow("records only") << test::recordText({309, '-', 82}).repeated(20).toLatin1()
                                  << int(LoadStatus::NoHeader) << noHeader;
    QTest::newRow("blank lines") << QByteArray("\r\n\r\n   \r\n") << int(LoadStatus::NoHeader)
                                 << noHeader;
    QTest::newRow("location without the setup date and time")
        << QByteArray("Location:,00021\r\n*,,,,,\r\n") << int(LoadStatus::NoHeader) << noHeader;
    QTest::newRow("header without records")
        << test::sampleHeader().toLatin1() << int(LoadStatus::Loaded) << QString();
    QTest::newRow("a whole survey") << test::rawFile({{309, '-', 82}, {313, '+', 96}}).toLatin1()
                                    << int(LoadStatus::Loaded) << QString();
}

void tst_RawDataFile::contents()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("survey.ovd"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    // The window's loader and the command-line tool's say the same, at once.
    for (const LoadResult &r :
         {loadRawDataFile(dir.path(), QStringLiteral("survey.ovd")), loadRawDataPath(path)}) {
        QCOMPARE(int(r.status), status);
        QCOMPARE(loadMessage(r), message);
        QCOMPARE(r.text.isEmpty(), status != int(LoadStatus::Loaded));
    }
}

void tst_RawDataFile::unreadable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << "folder"
                              << "it is a folder, not a file";
    QTest::newRow("a named pipe") << "fifo"
                                  << "it is a device or a pipe, not a file";
    QTest::newRow("a device") << "device"
                              << "it is a device or a pipe, not a file";
    // A regular file whose reading fails, also for the superuser.
    QTest::newRow("a read error") << "read error"
                                  << "reading it failed (";
    QTest::newRow("no permission") << "permission"
                                   << "it cannot be opened (";
}

void tst_RawDataFile::unreadable()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = QStringLiteral("Survey.ovd");
    const QString path = dir.filePath(name);
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("device")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (kind == QLatin1String("read error")) {
        if (!QFileInfo(QStringLiteral("/proc/self/mem")).isFile())
            QSKIP("no /proc/self/mem here");
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), path));
    } else {
        if (::geteuid() == 0)
            QSKIP("file permissions do not bind the superuser");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Location:,00020");
        file.close();
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    }

    // The loader of the program folder (name matched without regard to case)
    // and the command-line tool's loader of any path say the same.
    for (const LoadResult &r :
         {loadRawDataFile(dir.path(), name.toLower()), readRawDataFile(path)}) {
        QCOMPARE(r.status, LoadStatus::Unreadable);
        QVERIFY(r.text.isEmpty());
        QVERIFY2(r.reason.startsWith(reason), qPrintable(r.reason));
        const QString message = loadMessage(r);
        QVERIFY2(message.startsWith(QStringLiteral("Radar text file %1 cannot be read: %2")
                                        .arg(QDir::toNativeSeparators(path), reason)),
                 qPrintable(message));
    }

    // Nothing there is still the program's own message.
    QVERIFY(QFile::remove(path) || QDir(path).removeRecursively());
    const LoadResult gone = readRawDataFile(path);
    QCOMPARE(gone.status, LoadStatus::NotFound);
    QCOMPARE(loadMessage(gone),
             QStringLiteral("Radar text file does not exist, you must create one first"));
}

QTEST_GUILESS_MAIN(tst_RawDataFile)
#include "tst_RawDataFile.moc"

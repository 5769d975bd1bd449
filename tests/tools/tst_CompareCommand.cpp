// roadtally-cli compare and report --report compare, in process on the
// compared surveys: the options, the refusals with their exit status, the
// table, the JSON's keys and numbers, and the one-page PDF.
#include "cli/CommandLineTool.h"
#include "fixtures/ComparisonFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace roadtally;
using namespace roadtally::testing;
using namespace Qt::Literals::StringLiterals;

class tst_CompareCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCOMPARE(writeComparedSurveys(m_dir.filePath(u"OV97.mdb"_s)), QString());
    }

    void problems_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("no after") << QStringList{u"--before"_s, BeforeBatch} << 2
                                  << u"missing --after B2"_s;
        QTest::newRow("half a control pair")
            << QStringList{u"--before"_s, BeforeBatch,           u"--after"_s,
                           AfterBatch,    u"--control-before"_s, ControlBeforeBatch}
            << 2 << u"--control-before and --control-after go together"_s;
        QTest::newRow("direction") << QStringList{u"--before"_s, BeforeBatch,      u"--after"_s,
                                                  AfterBatch,    u"--direction"_s, u"north"_s}
                                   << 2 << u"--direction must be approaching, receding or both"_s;
        QTest::newRow("no such survey")
            << QStringList{u"--before"_s, BeforeBatch, u"--after"_s, u"999999-Z"_s} << 1
            << u"There is no survey with batch number 999999-Z."_s;
        QTest::newRow("units") << QStringList{u"--before"_s, BeforeBatch, u"--after"_s, MetricBatch}
                               << 1
                               << u"Survey 052025-A is in MPH and survey 081925-A in KPH: "
                                  "surveys in different units cannot be compared."_s;
        QTest::newRow("same survey")
            << QStringList{u"--before"_s, BeforeBatch, u"--after"_s, BeforeBatch} << 1
            << u"The before and after surveys are the same survey (052025-A): choose two "
               "different surveys."_s;
    }
    void problems()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, message);
        QCOMPARE(run(QStringList{u"compare"_s, u"--folder"_s, m_dir.path()} + arguments), code);
        QVERIFY2(m_err.startsWith(u"roadtally-cli compare: "_s + message), qPrintable(m_err));
        QCOMPARE(m_out, QString());
    }

    void table()
    {
        QCOMPARE(run({u"compare"_s, u"--folder"_s, m_dir.path(), u"--before"_s, BeforeBatch,
                      u"--after"_s, AfterBatch}),
                 0);
        QVERIFY2(m_out.startsWith(u"Before and after, approaching vehicles (mph)\n"
                                  "Before 052025-A (05/20/25 to 05/27/25), after 071525-A "
                                  "(07/15/25 to 07/22/25)\n"_s),
                 qPrintable(m_out));
        QVERIFY(m_out.contains(u"Mean speed "_s));
        QVERIFY(m_out.contains(u"-4.0 mph"_s));
        QVERIFY(m_out.contains(u"\nNotes\n"_s));
    }

    void json()
    {
        QCOMPARE(run({u"compare"_s, u"--folder"_s, m_dir.path(), u"--before"_s, BeforeBatch,
                      u"--after"_s, AfterBatch, u"--control-before"_s, ControlBeforeBatch,
                      u"--control-after"_s, ControlAfterBatch, u"--direction"_s, u"both"_s,
                      u"--json"_s}),
                 0);
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(m_out.toUtf8(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(o.keys(), (QStringList{u"after"_s, u"before"_s, u"change"_s, u"net"_s, u"notes"_s,
                                        u"significant"_s, u"tests"_s}));
        QCOMPARE(o[u"before"][u"batch"].toString(), BeforeBatch);
        QCOMPARE(o[u"before"][u"n"].toInteger(), 800);
        // Both directions: approaching 4 and receding 4 mph slower.
        QVERIFY(std::fabs(o[u"change"][u"mean"].toDouble() + 4) < 1e-9);
        // The control street: 1 mph slower; the net change 3 mph.
        QVERIFY(std::fabs(o[u"net"][u"mean"].toDouble() + 3) < 1e-9);
        QVERIFY(o[u"net"][u"mean_p"].toDouble() < 0.001);
        QVERIFY(o[u"tests"][u"mean"][u"df"].toDouble() > 1500);
        QCOMPARE(o[u"significant"][u"mean"].toBool(), true);
        QVERIFY(o[u"notes"].toArray().size() >= 2);
    }

    void report()
    {
        QTemporaryDir out;
        const QString pdf = out.filePath(u"compare.pdf"_s);
        // Reports need the fonts: the built program, as a user runs it.
        QProcess cli;
        cli.start(QStringLiteral(ROADTALLY_CLI),
                  {u"report"_s, u"--report"_s, u"compare"_s, u"--folder"_s, m_dir.path(),
                   u"--before"_s, BeforeBatch, u"--after"_s, AfterBatch, u"--pdf"_s, pdf});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()),
                 u"Report written: "_s + QDir::toNativeSeparators(pdf) + u" (1 page)\n"_s);
        QVERIFY(QFile::exists(pdf));
        const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        QProcess text;
        text.start(pdftotext, {pdf, u"-"_s});
        QVERIFY(text.waitForFinished(30000));
        const QString words = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY(words.contains(u"Before and After Speed Study"_s));
        QVERIFY(words.contains(u"Before: Survey 052025-A"_s));
        QVERIFY(words.contains(u"City of Brookhaven Police Department"_s));

        // Without --before the comparison cannot be reported; nothing written.
        QCOMPARE(run({u"report"_s, u"--report"_s, u"compare"_s, u"--folder"_s, m_dir.path(),
                      u"--after"_s, AfterBatch, u"--pdf"_s, out.filePath(u"none.pdf"_s)}),
                 2);
        QVERIFY(m_err.contains(u"the compare report needs --before B"_s));
        QVERIFY(!QFile::exists(out.filePath(u"none.pdf"_s)));
        // The other reports still need --batch.
        QCOMPARE(run({u"report"_s, u"--report"_s, u"study"_s, u"--folder"_s, m_dir.path(),
                      u"--pdf"_s, out.filePath(u"none.pdf"_s)}),
                 2);
        QVERIFY(m_err.contains(u"missing --batch B"_s));
    }

private:
    int run(const QStringList &arguments)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out), err(&m_err);
        const int code = CommandLineTool(out, err).run(arguments);
        out.flush();
        err.flush();
        return code;
    }

    QTemporaryDir m_dir;
    QString m_out;
    QString m_err;
};

QTEST_GUILESS_MAIN(tst_CompareCommand)
#include "tst_CompareCommand.moc"

// The survey database as the program and its users rely on it: the nine tables
// and their fields, the blank database, batch comparisons, text count fields.
#include "core/store/DatabaseSession.h"
#include "core/store/Schema.h"

#include <QFile>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;

class tst_Schema : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_path;

    static QStringList columnsOf(DatabaseSession &s, const QString &table)
    {
        QStringList names;
        QSqlQuery q =
            s.exec(QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), {table});
        while (q.next())
            names << q.value(0).toString();
        return names;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("OV97.mdb"));
        QCOMPARE(createBlankDatabase(m_path), QString());
    }

    void tablesAndFields_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("Header") << "Header"
                                << QStringList{"Batch_Number", "Location_Code", "Location",
                                               "Date",         "Time",          "Violation_Alert",
                                               "Radar_Mode",   "Direction",     "Zone"};
        QTest::newRow("Radar") << "Radar" << QStringList{"radar_mode", "Print_Name", "Print_Date"};
        QTest::newRow("Veh_Data") << "Veh_Data"
                                  << QStringList{"Batch_Number", "Offset", "Veh_Direction",
                                                 "Speed",        "Time",   "Date"};
        QTest::newRow("Speed") << "Speed"
                               << QStringList{"batch_number", "speed", "all_total", "All_app",
                                              "all_rec"};
        QTest::newRow("Time_15") << "Time_15"
                                 << QStringList{"Batch_Number", "Date",        "TimeAM",
                                                "AMApp",        "AMRec",       "tHourAMApp",
                                                "tHourAMRec",   "AMHourTotal", "TimePM",
                                                "PMApp",        "PMRec",       "tHourPMApp",
                                                "tHourPMRec",   "PMHourTotal"};
        QTest::newRow("Speed_Profile")
            << "Speed_Profile"
            << QStringList{"Batch_Number", "Date", "Time", "speed_Over", "Plus10", "Plus20", "Dir"};
        QTest::newRow("Summary") << "Summary" << QStringList{"Batch_Number",
                                                             "Posted_Limit",
                                                             "Total_Vehicles",
                                                             "Total_Approach",
                                                             "Total_Receeding",
                                                             "Total_Unknown",
                                                             "Number_Under",
                                                             "Number_UnderA",
                                                             "Number_UnderR",
                                                             "Number_Over",
                                                             "Number_Over10",
                                                             "Number_Over20",
                                                             "Number_Over30",
                                                             "Number_OverA",
                                                             "Number_OverA10",
                                                             "Number_OverA20",
                                                             "Number_OverA30",
                                                             "Number_OverR",
                                                             "Number_OverR10",
                                                             "Number_OverR20",
                                                             "Number_OverR30",
                                                             "Max_Speed",
                                                             "50th_Percentile",
                                                             "85th_Percentile",
                                                             "Pace",
                                                             "Pace_Total",
                                                             "Pace_Percent",
                                                             "50th_PercentileA",
                                                             "85th_PercentileA",
                                                             "PaceA",
                                                             "Pace_TotalA",
                                                             "Pace_PercentA",
                                                             "50th_PercentileR",
                                                             "85th_PercentileR",
                                                             "PaceR",
                                                             "Pace_TotalR",
                                                             "Pace_PercentR",
                                                             "total_seconds",
                                                             "Total_Time",
                                                             "Start_Time",
                                                             "Stop_Time",
                                                             "Start_Date",
                                                             "Stop_Date"};
        QTest::newRow("Officer") << "Officer" << QStringList{"Admin_Officer"};
        QTest::newRow("Agency") << "Agency" << QStringList{"Admin_Agency", "Addr1", "Addr2"};
    }

    void tablesAndFields()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, fields);
        DatabaseSession s(m_path);
        QVERIFY2(s.isOpen(), qPrintable(s.errorText()));
        QStringList actual = columnsOf(s, table);
        QStringList expected = fields;
        actual.sort(Qt::CaseInsensitive);
        expected.sort(Qt::CaseInsensitive);
        QCOMPARE(actual, expected);
        // Field names match regardless of case, as the procedures write them.
        QCOMPARE(columnsOf(s, table.toLower()).size(), fields.size());
    }

    void exactlyNineTables()
    {
        DatabaseSession s(m_path);
        QCOMPARE(s.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'"))
                     .toInt(),
                 9);
        QCOMPARE(surveyTables().size(), 9);
    }

    void blankDatabaseRows_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("rows");
        for (const char *t :
             {"Header", "Veh_Data", "Speed", "Time_15", "Speed_Profile", "Summary", "Officer"})
            QTest::newRow(t) << QString::fromLatin1(t) << 0;
        QTest::newRow("Radar") << "Radar" << 1;
        QTest::newRow("Agency") << "Agency" << 1;
    }

    void blankDatabaseRows()
    {
        QFETCH(QString, table);
        QFETCH(int, rows);
        DatabaseSession s(m_path);
        QCOMPARE(s.scalar(QStringLiteral("SELECT count(*) FROM [%1]").arg(table)).toInt(), rows);
    }

    void blankRadarAndAgencyRow()
    {
        DatabaseSession s(m_path);
        QSqlQuery radar =
            s.exec(QStringLiteral("SELECT radar_mode, print_name, print_date FROM radar"));
        QVERIFY(radar.next());
        QCOMPARE(radar.value(0).toString(), QStringLiteral("MPH"));
        QCOMPARE(radar.value(1).toString(), QStringLiteral("0"));
        QCOMPARE(radar.value(2).toString(), QStringLiteral("0"));
        QCOMPARE(s.scalar(QStringLiteral("SELECT typeof(Print_Name) FROM Radar")).toString(),
                 QStringLiteral("text"));
        QSqlQuery agency = s.exec(QStringLiteral("SELECT Admin_Agency, Addr1, Addr2 FROM Agency"));
        QVERIFY(agency.next());
        QVERIFY(!agency.value(0).toString().isEmpty());
        QVERIFY(agency.value(1).isNull());
    }

    void blankDatabaseRefusesToOverwrite()
    {
        const QString path = m_dir.filePath(QStringLiteral("exists.mdb"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("my surveys");
        f.close();
        QVERIFY(!createBlankDatabase(path).isEmpty());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("my surveys"));
    }

    // Every per-survey table finds a batch number regardless of trailing blanks.
    void trailingBlanksInBatchNumbers_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<bool>("found");
        const QList<QPair<QString, QString>> tables{
            {"Header", "Batch_Number"},        {"Veh_Data", "Batch_Number"},
            {"Speed", "batch_number"},         {"Time_15", "Batch_Number"},
            {"Speed_Profile", "Batch_Number"}, {"Summary", "Batch_Number"}};
        for (const auto &[table, column] : tables) {
            QTest::addRow("%s padded wanted", qPrintable(table)) << table << column << "052401-A"
                                                                 << "052401-A  " << true;
            QTest::addRow("%s padded stored", qPrintable(table)) << table << column << "052401-A   "
                                                                 << "052401-A" << true;
            QTest::addRow("%s other letter", qPrintable(table)) << table << column << "052401-A"
                                                                << "052401-B" << false;
        }
        QTest::newRow("leading blank counts") << "Header"
                                              << "Batch_Number"
                                              << "052401-A"
                                              << " 052401-A" << false;
        QTest::newRow("case counts") << "Header"
                                     << "Batch_Number"
                                     << "052401-A"
                                     << "052401-a" << false;
    }

    void trailingBlanksInBatchNumbers()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, stored);
        QFETCH(QString, wanted);
        QFETCH(bool, found);
        DatabaseSession s(m_path);
        Transaction t(s); // rolled back: the shared database stays blank
        s.exec(QStringLiteral("INSERT INTO [%1] ([%2]) VALUES (?)").arg(table, column), {stored});
        const int n =
            s.scalar(QStringLiteral("SELECT count(*) FROM [%1] WHERE [%2] = ?").arg(table, column),
                     {wanted})
                .toInt();
        QCOMPARE(n, found ? 1 : 0);
    }

    // Counts and speeds that may be "*" or "--" are text columns and keep the text.
    void textCountFields_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        for (const char *c : {"AMApp", "AMRec", "tHourAMApp", "tHourAMRec", "AMHourTotal", "PMApp",
                              "PMRec", "tHourPMApp", "tHourPMRec", "PMHourTotal"})
            QTest::addRow("Time_15 %s star", c)
                << "Time_15" << QString::fromLatin1(c) << QVariant("*") << "*";
        QTest::newRow("Time_15 count stays as written") << "Time_15"
                                                        << "AMApp" << QVariant(12) << "12";
        for (const char *c : {"speed_Over", "Plus10", "Plus20"})
            QTest::addRow("Speed_Profile %s dashes", c)
                << "Speed_Profile" << QString::fromLatin1(c) << QVariant("--") << "--";
        QTest::newRow("Summary mean") << "Summary"
                                      << "50th_Percentile" << QVariant("32.5") << "32.5";
        QTest::newRow("Summary mean keeps its decimal")
            << "Summary"
            << "50th_Percentile" << QVariant("30.0") << "30.0";
        QTest::newRow("Summary pace") << "Summary"
                                      << "PaceA" << QVariant("27 to 37") << "27 to 37";
        QTest::newRow("Summary share") << "Summary"
                                       << "Pace_PercentR" << QVariant("56 %") << "56 %";
        QTest::newRow("Summary posted limit keeps its zero")
            << "Summary"
            << "Posted_Limit" << QVariant("035") << "035";
        QTest::newRow("Header alert keeps its zero")
            << "Header"
            << "Violation_Alert" << QVariant("035") << "035";
        QTest::newRow("Header location code keeps its zeros")
            << "Header"
            << "Location_Code" << QVariant("00020") << "00020";
    }

    void textCountFields()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        DatabaseSession s(m_path);
        Transaction t(s);
        s.exec(QStringLiteral("INSERT INTO [%1] ([%2]) VALUES (?)").arg(table, column), {value});
        const QVariant back = s.scalar(QStringLiteral("SELECT [%2] FROM [%1]").arg(table, column));
        QCOMPARE(back.typeId(), int(QMetaType::QString));
        QCOMPARE(back.toString(), expected);
    }

    void numbersCompareAsNumbers()
    {
        DatabaseSession s(m_path);
        Transaction t(s);
        const QString ins = QStringLiteral("INSERT INTO [Veh_Data] ([Batch_Number], [Offset], "
                                           "[Veh_Direction], [Speed]) VALUES (?, ?, ?, ?)");
        s.exec(ins, {QStringLiteral("B"), QStringLiteral("0000000309"), QStringLiteral("+"),
                     QStringLiteral("082")});
        s.exec(ins, {QStringLiteral("B"), 4294967296LL, QStringLiteral("-"), 9});
        QCOMPARE(s.scalar(QStringLiteral("SELECT max([Offset]) FROM [Veh_Data]")).toLongLong(),
                 4294967296LL);
        QCOMPARE(s.scalar(QStringLiteral("SELECT count(*) FROM [Veh_Data] WHERE [Speed] > ?"), {10})
                     .toInt(),
                 1);
        QCOMPARE(
            s.scalar(QStringLiteral("SELECT [Speed] FROM [Veh_Data] WHERE [Offset] = ?"), {309})
                .toInt(),
            82);
    }

    void indexesServeTheViews_data()
    {
        QTest::addColumn<QString>("query");
        QTest::newRow("survey by batch") << "SELECT * FROM [Header] WHERE [Batch_Number] = ?";
        QTest::newRow("summary by batch") << "SELECT * FROM [Summary] WHERE [Batch_Number] = ?";
        QTest::newRow("speed bins")
            << "SELECT sum(all_total) FROM [Speed] WHERE [batch_number] = ? AND speed <= 19";
        QTest::newRow("time rows of a date") << "SELECT * FROM [Time_15] WHERE [Batch_Number] = ? "
                                                "AND [Date] = '05/24/01' ORDER BY TimeAM";
        QTest::newRow("speeders of a survey")
            << "SELECT * FROM [Speed_Profile] WHERE [Batch_Number] = ?";
    }

    void indexesServeTheViews()
    {
        QFETCH(QString, query);
        DatabaseSession s(m_path);
        QSqlQuery plan =
            s.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + query, {QStringLiteral("052401-A ")});
        QString text;
        while (plan.next())
            text += plan.value(3).toString() + QLatin1Char('\n');
        QVERIFY2(text.contains(QStringLiteral("USING INDEX")) ||
                     text.contains(QStringLiteral("USING COVERING INDEX")),
                 qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(tst_Schema)
#include "tst_Schema.moc"

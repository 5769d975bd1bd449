// The survey database as the program and its users rely on it: the nine tables
// and their fields, the blank database, batch comparisons, text count fields.
#include "core/store/DatabaseSession.h"
#include "core/store/Schema.h"

#include <QFile>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

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
        QTest::newRow("Header") << "Header" << QStringList{u"Batch_Number"_s, u"Location_Code"_s,
                                                           u"Location"_s,     u"Date"_s,
                                                           u"Time"_s,         u"Violation_Alert"_s,
                                                           u"Radar_Mode"_s,   u"Direction"_s,
                                                           u"Zone"_s};
        QTest::newRow("Radar") << "Radar"
                               << QStringList{u"radar_mode"_s, u"Print_Name"_s, u"Print_Date"_s};
        QTest::newRow("Veh_Data") << "Veh_Data"
                                  << QStringList{u"Batch_Number"_s, u"Offset"_s, u"Veh_Direction"_s,
                                                 u"Speed"_s,        u"Time"_s,   u"Date"_s};
        QTest::newRow("Speed") << "Speed"
                               << QStringList{u"batch_number"_s, u"speed"_s, u"all_total"_s,
                                              u"All_app"_s, u"all_rec"_s};
        QTest::newRow("Time_15") << "Time_15" << QStringList{u"Batch_Number"_s, u"Date"_s,
                                                             u"TimeAM"_s,       u"AMApp"_s,
                                                             u"AMRec"_s,        u"tHourAMApp"_s,
                                                             u"tHourAMRec"_s,   u"AMHourTotal"_s,
                                                             u"TimePM"_s,       u"PMApp"_s,
                                                             u"PMRec"_s,        u"tHourPMApp"_s,
                                                             u"tHourPMRec"_s,   u"PMHourTotal"_s};
        QTest::newRow("Speed_Profile")
            << "Speed_Profile"
            << QStringList{u"Batch_Number"_s, u"Date"_s,   u"Time"_s, u"speed_Over"_s,
                           u"Plus10"_s,       u"Plus20"_s, u"Dir"_s};
        QTest::newRow("Summary") << "Summary"
                                 << QStringList{u"Batch_Number"_s,
                                                u"Posted_Limit"_s,
                                                u"Total_Vehicles"_s,
                                                u"Total_Approach"_s,
                                                u"Total_Receeding"_s,
                                                u"Total_Unknown"_s,
                                                u"Number_Under"_s,
                                                u"Number_UnderA"_s,
                                                u"Number_UnderR"_s,
                                                u"Number_Over"_s,
                                                u"Number_Over10"_s,
                                                u"Number_Over20"_s,
                                                u"Number_Over30"_s,
                                                u"Number_OverA"_s,
                                                u"Number_OverA10"_s,
                                                u"Number_OverA20"_s,
                                                u"Number_OverA30"_s,
                                                u"Number_OverR"_s,
                                                u"Number_OverR10"_s,
                                                u"Number_OverR20"_s,
                                                u"Number_OverR30"_s,
                                                u"Max_Speed"_s,
                                                u"50th_Percentile"_s,
                                                u"85th_Percentile"_s,
                                                u"Pace"_s,
                                                u"Pace_Total"_s,
                                                u"Pace_Percent"_s,
                                                u"50th_PercentileA"_s,
                                                u"85th_PercentileA"_s,
                                                u"PaceA"_s,
                                                u"Pace_TotalA"_s,
                                                u"Pace_PercentA"_s,
                                                u"50th_PercentileR"_s,
                                                u"85th_PercentileR"_s,
                                                u"PaceR"_s,
                                                u"Pace_TotalR"_s,
                                                u"Pace_PercentR"_s,
                                                u"total_seconds"_s,
                                                u"Total_Time"_s,
                                                u"Start_Time"_s,
                                                u"Stop_Time"_s,
                                                u"Start_Date"_s,
                                                u"Stop_Date"_s};
        QTest::newRow("Officer") << "Officer" << QStringList{u"Admin_Officer"_s};
        QTest::newRow("Agency") << "Agency"
                                << QStringList{u"Admin_Agency"_s, u"Addr1"_s, u"Addr2"_s};
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
            {u"Header"_s, u"Batch_Number"_s},        {u"Veh_Data"_s, u"Batch_Number"_s},
            {u"Speed"_s, u"batch_number"_s},         {u"Time_15"_s, u"Batch_Number"_s},
            {u"Speed_Profile"_s, u"Batch_Number"_s}, {u"Summary"_s, u"Batch_Number"_s}};
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
                << "Time_15" << QString::fromLatin1(c) << QVariant(u"*"_s) << "*";
        QTest::newRow("Time_15 count stays as written") << "Time_15"
                                                        << "AMApp" << QVariant(12) << "12";
        for (const char *c : {"speed_Over", "Plus10", "Plus20"})
            QTest::addRow("Speed_Profile %s dashes", c)
                << "Speed_Profile" << QString::fromLatin1(c) << QVariant(u"--"_s) << "--";
        QTest::newRow("Summary mean") << "Summary"
                                      << "50th_Percentile" << QVariant(u"32.5"_s) << "32.5";
        QTest::newRow("Summary mean keeps its decimal")
            << "Summary"
            << "50th_Percentile" << QVariant(u"30.0"_s) << "30.0";
        QTest::newRow("Summary pace") << "Summary"
                                      << "PaceA" << QVariant(u"27 to 37"_s) << "27 to 37";
        QTest::newRow("Summary share") << "Summary"
                                       << "Pace_PercentR" << QVariant(u"56 %"_s) << "56 %";
        QTest::newRow("Summary posted limit keeps its zero")
            << "Summary"
            << "Posted_Limit" << QVariant(u"035"_s) << "035";
        QTest::newRow("Header alert keeps its zero")
            << "Header"
            << "Violation_Alert" << QVariant(u"035"_s) << "035";
        QTest::newRow("Header location code keeps its zeros")
            << "Header"
            << "Location_Code" << QVariant(u"00020"_s) << "00020";
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

// The six display schemes: their bins and labels, the names offered per unit,
// and the volumes and shares of a known survey in every direction.

#include "fixtures/ViewsFixture.h"

#include "core/analysis/DisplayScheme.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::testing;

Q_DECLARE_METATYPE(roadtally::SurveyDirection)

class tst_DisplayScheme : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("OV97.mdb"));
        const QString error = writeKnownSurveys(m_path);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void labels_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QString>("labels");
        QTest::newRow("schemeAA")
            << "1 to 25 by 2 MPH"
            << "schemeAA"
            << "1 - 2|3 - 4|5 - 6|7 - 8|9 - 10|11 - 12|13 - 14|15 - 16|17 - 18|"
               "19 - 20|21 - 22|23 - 24|25 - 999";
        QTest::newRow("schemeA")
            << "15 to 70 by 5 MPH"
            << "schemeA"
            << "1 - 14|15 - 19|20 - 24|25 - 29|30 - 34|35 - 39|40 - 44|45 - 49|"
               "50 - 54|55 - 59|60 - 64|65 - 69|70 - 999";
        QTest::newRow("SchemeB")
            << "20 to 42 by 2 MPH"
            << "SchemeB"
            << "1 - 19|20 - 21|22 - 23|24 - 25|26 - 27|28 - 29|30 - 31|32 - 33|"
               "34 - 35|36 - 37|38 - 39|40 - 41|42 - 999";
        QTest::newRow("SchemeC")
            << "30 to 52 by 2 MPH"
            << "SchemeC"
            << "1 - 29|30 - 31|32 - 33|34 - 35|36 - 37|38 - 39|40 - 41|42 - 43|"
               "44 - 45|46 - 47|48 - 49|50 - 51|52 - 999";
        QTest::newRow("schemeK")
            << "35 to 90 by 5 KPH"
            << "schemeK"
            << "1 - 34|35 - 39|40 - 44|45 - 49|50 - 54|55 - 59|60 - 64|65 - 69|"
               "70 - 74|75 - 79|80 - 84|85 - 89|90 - 999";
        QTest::newRow("schemeK2")
            << "65 to 120 by 5 KPH"
            << "schemeK2"
            << "1 - 64|65 - 69|70 - 74|75 - 79|80 - 84|85 - 89|90 - 94|95 - 99|"
               "100 - 104|105 - 109|110 - 114|115 - 119|120 - 999";
    }
    void labels()
    {
        QFETCH(QString, name);
        QFETCH(QString, procedure);
        QFETCH(QString, labels);
        const DisplayScheme *s = findDisplayScheme(name);
        QVERIFY(s);
        QCOMPARE(s->procedure, procedure);
        QStringList got;
        for (const SpeedBin &b : s->bins)
            got << b.label;
        QCOMPARE(got.join(QLatin1Char('|')), labels);
        // The bins cover every speed once: each starts right after the one before.
        for (int i = 1; i < s->bins.size(); ++i)
            QCOMPARE(s->bins[i].low, s->bins[i - 1].high + 1);
    }

    void oneDecimalBins_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("oneDecimal");
        QTest::newRow("SchemeB") << "20 to 42 by 2 MPH"
                                 << "36 - 37|38 - 39|40 - 41";
        QTest::newRow("SchemeC") << "30 to 52 by 2 MPH"
                                 << "36 - 37";
        QTest::newRow("schemeA") << "15 to 70 by 5 MPH"
                                 << "";
    }
    void oneDecimalBins()
    {
        QFETCH(QString, name);
        QFETCH(QString, oneDecimal);
        QStringList got;
        for (const SpeedBin &b : findDisplayScheme(name)->bins) {
            if (b.pattern == QLatin1String("##.#"))
                got << b.label;
            else
                QCOMPARE(b.pattern, QStringLiteral("##.##"));
        }
        QCOMPARE(got.join(QLatin1Char('|')), oneDecimal);
    }

    void namesPerUnit_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("MPH") << "MPH"
                             << QStringList{u"1 to 25 by 2 MPH"_s, u"15 to 70 by 5 MPH"_s,
                                            u"20 to 42 by 2 MPH"_s, u"30 to 52 by 2 MPH"_s};
        QTest::newRow("KPH") << "KPH"
                             << QStringList{u"35 to 90 by 5 KPH"_s, u"65 to 120 by 5 KPH"_s};
        QTest::newRow("lower case") << "mph" << QStringList{};
        QTest::newRow("trailing blank") << "MPH " << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void namesPerUnit()
    {
        QFETCH(QString, unit);
        QFETCH(QStringList, names);
        QCOMPARE(displaySchemeNames(unit), names);
    }

    void unknownName()
    {
        QVERIFY(!findDisplayScheme(QStringLiteral("** Select Display Scheme **")));
        QVERIFY(!findDisplayScheme(QStringLiteral("15 to 70 by 5 mph")));
    }

    void compute_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<SurveyDirection>("direction");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("volumes");
        QTest::addColumn<QString>("percents");

        QTest::newRow("15-70 approaching")
            << MphBatch << "15 to 70 by 5 MPH" << SurveyDirection::Approaching << "100"
            << "3|0|5|10|20|45|10|5|0|1|0|0|1"
            << "3.%|.%|5.%|10.%|20.%|45.%|10.%|5.%|.%|1.%|.%|.%|1.%";
        // Row 14 holds every vehicle below 15: "13 - 14" gets it, the lower bins nothing.
        QTest::newRow("1-25 both")
            << MphBatch << "1 to 25 by 2 MPH" << SurveyDirection::Both << "113"
            << "0|0|0|0|0|0|3|0|0|5|0|0|105"
            << ".%|.%|.%|.%|.%|.%|2.65%|.%|.%|4.42%|.%|.%|92.92%";
        // A third in 30-31 shows two decimals, the same share in 36-37 and 40-41 one.
        QTest::newRow("20-42 receding")
            << MphBatch << "20 to 42 by 2 MPH" << SurveyDirection::Receding << "12"
            << "0|0|0|0|0|0|4|0|0|4|0|4|0"
            << ".%|.%|.%|.%|.%|.%|33.33%|.%|.%|33.3%|.%|33.3%|.%";
        QTest::newRow("30-52 approaching")
            << MphBatch << "30 to 52 by 2 MPH" << SurveyDirection::Approaching << "100"
            << "18|0|20|30|15|0|10|0|0|5|0|0|2"
            << "18.%|.%|20.%|30.%|15.%|.%|10.%|.%|.%|5.%|.%|.%|2.%";
        QTest::newRow("35-90 approaching")
            << KphBatch << "35 to 90 by 5 KPH" << SurveyDirection::Approaching << "35"
            << "2|0|0|0|8|0|5|5|0|0|0|0|15"
            << "5.71%|.%|.%|.%|22.86%|.%|14.29%|14.29%|.%|.%|.%|.%|42.86%";
        // "1 - 64" takes the catch-all row 29; "120 - 999" rows 120 and 121.
        QTest::newRow("65-120 approaching")
            << KphBatch << "65 to 120 by 5 KPH" << SurveyDirection::Approaching << "35"
            << "15|5|0|0|0|0|0|0|10|0|0|0|5"
            << "42.86%|14.29%|.%|.%|.%|.%|.%|.%|28.57%|.%|.%|.%|14.29%";
        // No receding vehicles: the volumes are 0 and the shares undefined.
        QTest::newRow("no receding vehicles")
            << KphBatch << "35 to 90 by 5 KPH" << SurveyDirection::Receding << "0"
            << "0|0|0|0|0|0|0|0|0|0|0|0|0"
            << "N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A";
        // No survey shown: the total label is empty.
        QTest::newRow("empty total")
            << MphBatch << "15 to 70 by 5 MPH" << SurveyDirection::Both << ""
            << "3|0|5|10|25|49|14|5|0|1|0|0|1"
            << "N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A";
        // Trailing blanks of the batch number are not significant.
        QTest::newRow("batch with trailing blanks")
            << MphBatch + QStringLiteral("  ") << "15 to 70 by 5 MPH" << SurveyDirection::Receding
            << "12"
            << "0|0|0|0|4|4|4|0|0|0|0|0|0"
            << ".%|.%|.%|.%|33.33%|33.33%|33.33%|.%|.%|.%|.%|.%|.%";
        QTest::newRow("unknown batch") << "999999-Z"
                                       << "15 to 70 by 5 MPH" << SurveyDirection::Both << "113"
                                       << "0|0|0|0|0|0|0|0|0|0|0|0|0"
                                       << ".%|.%|.%|.%|.%|.%|.%|.%|.%|.%|.%|.%|.%";
    }
    void compute()
    {
        QFETCH(QString, batch);
        QFETCH(QString, scheme);
        QFETCH(SurveyDirection, direction);
        QFETCH(QString, total);
        QFETCH(QString, volumes);
        QFETCH(QString, percents);
        DatabaseSession session(m_path);
        QVERIFY(session.isOpen());
        const SchemeResult r =
            computeScheme(session, batch, *findDisplayScheme(scheme), direction, total);
        QCOMPARE(r.volumeTexts.join(QLatin1Char('|')), volumes);
        QCOMPARE(r.percentTexts.join(QLatin1Char('|')), percents);
        QCOMPARE(r.labels.size(), 13);
    }

    // Every scheme of a unit adds up to the direction's total.
    void volumesAddUp_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<SurveyDirection>("direction");
        QTest::addColumn<int>("total");
        QTest::newRow("mph approaching")
            << MphBatch << "MPH" << SurveyDirection::Approaching << 100;
        QTest::newRow("mph receding") << MphBatch << "MPH" << SurveyDirection::Receding << 12;
        QTest::newRow("mph both") << MphBatch << "MPH" << SurveyDirection::Both << 113;
        QTest::newRow("kph approaching") << KphBatch << "KPH" << SurveyDirection::Approaching << 35;
    }
    void volumesAddUp()
    {
        QFETCH(QString, batch);
        QFETCH(QString, unit);
        QFETCH(SurveyDirection, direction);
        QFETCH(int, total);
        DatabaseSession session(m_path);
        for (const QString &name : displaySchemeNames(unit)) {
            const SchemeResult r = computeScheme(session, batch, *findDisplayScheme(name),
                                                 direction, QString::number(total));
            qint64 sum = 0;
            for (qint64 v : r.volumes)
                sum += v;
            QCOMPARE(sum, qint64(total));
        }
    }

    void closedSessionThrows()
    {
        DatabaseSession session(m_dir.filePath(QStringLiteral("missing.mdb")));
        QVERIFY(!session.isOpen());
        QVERIFY_THROWS_EXCEPTION(DatabaseError,
                                 computeScheme(session, MphBatch, displaySchemes().first(),
                                               SurveyDirection::Both, QStringLiteral("1")));
    }
};

QTEST_GUILESS_MAIN(tst_DisplayScheme)
#include "tst_DisplayScheme.moc"

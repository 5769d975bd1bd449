// Controls bound to a field show the current row of their source and follow it.
#include "core/store/BoundDataSource.h"
#include "core/store/DatabaseSession.h"
#include "core/store/Schema.h"
#include "gui/kit/BoundLabel.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;

class tst_BoundLabel : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_path;

private Q_SLOTS:
    void init()
    {
        m_path = m_dir.filePath(
            QStringLiteral("OV97-%1.mdb").arg(QLatin1String(QTest::currentTestFunction())));
        QFile::remove(m_path);
        QCOMPARE(createBlankDatabase(m_path), QString());
        DatabaseSession s(m_path);
        const QString ins = QStringLiteral("INSERT INTO [Summary] ([Batch_Number], [Posted_Limit], "
                                           "[Total_Vehicles], [PaceA]) VALUES (?, ?, ?, ?)");
        s.exec(ins, {QStringLiteral("052401-A"), QStringLiteral("035"), 200,
                     QStringLiteral("27 to 37")});
        s.exec(ins, {QStringLiteral("052501-B"), QStringLiteral("025"), 1234, QVariant()});
    }

    void labelsShowTheCurrentRow()
    {
        BoundDataSource data3;
        data3.setDatabaseName(m_path);
        data3.setRecordSource(QStringLiteral("Summary"));
        QLabel limit, total, pace, unbound;
        bindLabel(&limit, &data3, QStringLiteral("Posted_Limit"));
        bindLabel(&total, &data3, QStringLiteral("total_vehicles"));
        bindLabel(&pace, &data3, QStringLiteral("PaceA"));
        unbound.setText(QStringLiteral("as written"));
        QVERIFY(data3.refresh());
        QCOMPARE(limit.text(), QStringLiteral("035"));
        QCOMPARE(total.text(), QStringLiteral("200"));
        QCOMPARE(pace.text(), QStringLiteral("27 to 37"));

        data3.moveNext();
        QCOMPARE(limit.text(), QStringLiteral("025"));
        QCOMPARE(total.text(), QStringLiteral("1234"));
        QCOMPARE(pace.text(), QString()); // null shows as empty text

        QVERIFY(data3.findFirst(QStringLiteral("Batch_Number"), QStringLiteral("052401-A  ")));
        QCOMPARE(limit.text(), QStringLiteral("035"));
        data3.moveNext();
        data3.moveNext(); // past the end: nothing to show
        QCOMPARE(limit.text(), QString());
        QCOMPARE(unbound.text(), QStringLiteral("as written"));
    }

    void rebindingPointsTheLabelElsewhere()
    {
        BoundDataSource data3;
        data3.setDatabaseName(m_path);
        data3.setRecordSource(QStringLiteral("Summary"));
        QVERIFY(data3.refresh());
        QLabel label;
        bindLabel(&label, &data3, QStringLiteral("Posted_Limit"));
        QCOMPARE(label.text(), QStringLiteral("035"));
        bindLabel(&label, &data3, QStringLiteral("Total_Vehicles"));
        QCOMPARE(label.text(), QStringLiteral("200"));
        data3.moveNext();
        QCOMPARE(label.text(), QStringLiteral("1234"));
        bindLabel(&label, nullptr, QString());
        label.setText(QStringLiteral("written by the panel"));
        data3.moveFirst();
        QCOMPARE(label.text(), QStringLiteral("written by the panel"));
    }

    void sourceGoneLeavesTheLabel()
    {
        QLabel label;
        {
            BoundDataSource data3;
            data3.setDatabaseName(m_path);
            data3.setRecordSource(QStringLiteral("Summary"));
            QVERIFY(data3.refresh());
            bindLabel(&label, &data3, QStringLiteral("Posted_Limit"));
        }
        QCOMPARE(label.text(), QStringLiteral("035"));
        QTest::qWait(0);
    }

    void lineEditWritesWhatTheUserTypes()
    {
        BoundDataSource data1;
        data1.setDatabaseName(m_path);
        data1.setRecordSource(QStringLiteral("Agency"));
        QLineEdit text1;
        bindLineEdit(&text1, &data1, QStringLiteral("Admin_Agency"));
        QVERIFY(data1.refresh());
        QCOMPARE(text1.text(), QStringLiteral("Name of Municipality"));
        text1.selectAll();
        QTest::keyClicks(&text1, QStringLiteral("Springfield PD"));
        QVERIFY(data1.hasChanges());
        QVERIFY(data1.update());
        QCOMPARE(text1.text(), QStringLiteral("Springfield PD"));
        DatabaseSession s(m_path);
        QCOMPARE(s.scalar(QStringLiteral("SELECT [Admin_Agency] FROM [Agency]")).toString(),
                 QStringLiteral("Springfield PD"));
    }

    void comboShowsTheField()
    {
        BoundDataSource data7;
        data7.setDatabaseName(m_path);
        data7.setRecordSource(QStringLiteral("Radar"));
        QComboBox combo1;
        combo1.setEditable(true);
        combo1.addItems({QStringLiteral("KPH"), QStringLiteral("MPH")});
        bindComboText(&combo1, &data7, QStringLiteral("Radar_Mode"));
        QVERIFY(data7.refresh());
        QCOMPARE(combo1.currentText(), QStringLiteral("MPH"));
        QVERIFY(!data7.hasChanges()); // showing the field is not an edit
    }
};

QTEST_MAIN(tst_BoundLabel)
#include "tst_BoundLabel.moc"

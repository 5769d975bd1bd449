// Control arrays with holes: iterating visits the existing controls only, and
// value() answers null for a hole or an index out of range.

#include "gui/kit/ControlArray.h"

#include <QObject>
#include <QtTest>

using namespace roadtally;

class tst_ControlArray : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void iterationSkipsHoles_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QList<int>>("filled");
        QTest::newRow("empty") << 0 << QList<int>{};
        QTest::newRow("only holes") << 5 << QList<int>{};
        QTest::newRow("hole in the middle") << 6 << QList<int>{0, 1, 2, 4, 5};
        QTest::newRow("holes at both ends") << 64 << QList<int>{55, 56, 63 - 1};
        QTest::newRow("full") << 3 << QList<int>{0, 1, 2};
    }
    void iterationSkipsHoles()
    {
        QFETCH(int, size);
        QFETCH(QList<int>, filled);
        QList<QObject *> owned;
        ControlArray<QObject> array(size);
        for (int i : filled) {
            owned << new QObject(this);
            owned.last()->setObjectName(QString::number(i));
            array[i] = owned.last();
        }
        QStringList visited;
        for (QObject *o : array)
            visited << o->objectName(); // would crash on a hole
        QStringList expected;
        for (int i : filled)
            expected << QString::number(i);
        QCOMPARE(visited, expected);
        QCOMPARE(array.controls(), owned);
        QCOMPARE(array.size(), size);
        qDeleteAll(owned);
    }

    void valueOfHolesAndOutOfRange()
    {
        QObject item;
        ControlArray<QObject> array;
        array.resize(4);
        array[2] = &item;
        QCOMPARE(array.value(2), &item);
        QVERIFY(array.has(2));
        QCOMPARE(array.value(1), nullptr);
        QCOMPARE(array.value(-1), nullptr);
        QCOMPARE(array.value(4), nullptr);
        QVERIFY(!array.has(7));
        array.resize(6); // keeps what it held
        QCOMPARE(array.at(2), &item);
        QCOMPARE(array.value(5), nullptr);
    }
};

QTEST_GUILESS_MAIN(tst_ControlArray)
#include "tst_ControlArray.moc"

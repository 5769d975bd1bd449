// The paged model behind long lists: it opens on its first rows only, counts the
// rest as a view scrolls (or in idle time), reads pages on demand, keeps few of
// them, and gives every row of the selection once, in stored order.
#include "core/store/DatabaseSession.h"
#include "core/store/PagedQueryModel.h"
#include "core/store/Schema.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;

class tst_PagedQueryModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();

    void countsAndValues_data();
    void countsAndValues();
    void opensOnFirstRowsOnly();
    void fetchMoreGrowsToTheWholeCount();
    void backgroundCountCompletes();
    void pagesKeptAreBounded();
    void boundValuesAreNotSpliced();
    void headersAndAlignment();
    void failingSelectionLeavesItEmpty();
    void databaseGoneAfterOpenIsToldOnce();
    void newQueryReplacesRows();

private:
    // n rows of batch "B" (and some of other batches around them); row i has
    // Date "d<i>" and Dir "+" for even i, "-" for odd i.
    void storeRows(const QString &batch, int n, int otherEvery = 0);
    PagedQueryModel::Query query(const QString &batch, const QString &extra = QString()) const;

    QTemporaryDir m_dir;
    QString m_path;
};

void tst_PagedQueryModel::init()
{
    m_path = m_dir.filePath(
        QStringLiteral("OV97-%1.mdb").arg(QLatin1String(QTest::currentTestFunction())));
    QFile::remove(m_path);
    QCOMPARE(createBlankDatabase(m_path), QString());
}

void tst_PagedQueryModel::storeRows(const QString &batch, int n, int otherEvery)
{
    DatabaseSession s(m_path);
    Transaction t(s);
    QSqlQuery insert = s.prepare(QStringLiteral(
        "INSERT INTO [Speed_Profile] ([Batch_Number], [Date], [Time], [speed_Over], [Plus10], "
        "[Plus20], [Dir]) VALUES (?, ?, ?, ?, '--', '--', ?)"));
    for (int i = 0; i < n; ++i) {
        if (otherEvery > 0 && i % otherEvery == 0)
            s.run(insert, {QStringLiteral("OTHER"), QStringLiteral("x"), QStringLiteral("x"),
                           QStringLiteral("0"), QStringLiteral("+")});
        s.run(insert, {batch, QStringLiteral("d%1").arg(i), QStringLiteral("t%1").arg(i),
                       QString::number(i), i % 2 == 0 ? QStringLiteral("+") : QStringLiteral("-")});
    }
    t.commit();
}

PagedQueryModel::Query tst_PagedQueryModel::query(const QString &batch, const QString &extra) const
{
    return {QStringLiteral("Speed_Profile"),
            {QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("speed_Over"),
             QStringLiteral("Dir")},
            QStringLiteral("[Batch_Number] = ?") + extra,
            {batch}};
}

void tst_PagedQueryModel::countsAndValues_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("otherEvery");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << 0;
    QTest::newRow("one page less one") << PagedQueryModel::PageRows - 1 << 3;
    QTest::newRow("one page") << PagedQueryModel::PageRows << 0;
    QTest::newRow("first rows") << PagedQueryModel::FirstRows << 7;
    QTest::newRow("first rows and one") << PagedQueryModel::FirstRows + 1 << 0;
    QTest::newRow("several chunks") << PagedQueryModel::CountChunk * 2 + 1000 << 5;
}

void tst_PagedQueryModel::countsAndValues()
{
    QFETCH(int, rows);
    QFETCH(int, otherEvery);
    storeRows(QStringLiteral("B"), rows, otherEvery);

    PagedQueryModel model;
    model.setCountInBackground(false);
    QVERIFY(model.setQuery(m_path, query(QStringLiteral("B"))));
    // The tester fetches more itself; it watches from the opened model on.
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.fetchAll();
    QVERIFY(model.isComplete());
    QVERIFY(!model.canFetchMore());
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(model.columnCount(), 4);
    // Every row once, in stored order; spot checks across page borders.
    for (int r : {0, 1, PagedQueryModel::PageRows - 1, PagedQueryModel::PageRows,
                  PagedQueryModel::FirstRows, rows / 2, rows - 2, rows - 1}) {
        if (r < 0 || r >= rows)
            continue;
        QCOMPARE(model.data(model.index(r, 0)).toString(), QStringLiteral("d%1").arg(r));
        QCOMPARE(model.data(model.index(r, 2)).toString(), QString::number(r));
    }
    if (rows > 0 && rows <= 2000) {
        for (int r = 0; r < rows; ++r)
            QCOMPARE(model.data(model.index(r, 1)).toString(), QStringLiteral("t%1").arg(r));
    }
    QVERIFY(!model.data(model.index(rows, 0)).isValid());
}

void tst_PagedQueryModel::opensOnFirstRowsOnly()
{
    storeRows(QStringLiteral("B"), 50000);
    PagedQueryModel model;
    model.setCountInBackground(false);
    QVERIFY(model.setQuery(m_path, query(QStringLiteral("B"))));
    QCOMPARE(model.rowCount(), PagedQueryModel::FirstRows);
    QVERIFY(model.canFetchMore());
    QCOMPARE(model.pagesRead(), 1); // the first page only
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("d0"));
    QCOMPARE(model.pagesRead(), 1);
}

void tst_PagedQueryModel::fetchMoreGrowsToTheWholeCount()
{
    const int n = PagedQueryModel::FirstRows + PagedQueryModel::CountChunk + 17;
    storeRows(QStringLiteral("B"), n);
    PagedQueryModel model;
    model.setCountInBackground(false);
    QVERIFY(model.setQuery(m_path, query(QStringLiteral("B"))));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    model.fetchMore();
    QCOMPARE(model.rowCount(), PagedQueryModel::FirstRows + PagedQueryModel::CountChunk);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), PagedQueryModel::FirstRows);
    model.fetchMore();
    QCOMPARE(model.rowCount(), n);
    QVERIFY(model.isComplete());
    QCOMPARE(inserted.size(), 2);
    QCOMPARE(model.data(model.index(n - 1, 0)).toString(), QStringLiteral("d%1").arg(n - 1));
}

void tst_PagedQueryModel::backgroundCountCompletes()
{
    const int n = PagedQueryModel::CountChunk * 3 + 5;
    storeRows(QStringLiteral("B"), n);
    PagedQueryModel model;
    QVERIFY(model.countsInBackground());
    QVERIFY(model.setQuery(m_path, query(QStringLiteral("B"))));
    QVERIFY(model.rowCount() < n);
    QTRY_VERIFY(model.isComplete());
    QCOMPARE(model.rowCount(), n);
}

void tst_PagedQueryModel::pagesKeptAreBounded()
{
    const int n = PagedQueryModel::PageRows * (PagedQueryModel::MaxCachedPages + 20);
    storeRows(QStringLiteral("B"), n);
    PagedQueryModel model;
    model.setCountInBackground(false);
    QVERIFY(model.setQuery(m_path, query(QStringLiteral("B"))));
    model.fetchAll();
    for (int r = 0; r < n; r += PagedQueryModel::PageRows / 2)
        QCOMPARE(model.data(model.index(r, 2)).toInt(), r);
    QCOMPARE(model.cachedPageCount(), PagedQueryModel::MaxCachedPages);
    // A page dropped from memory is read again when it is needed.
    const int before = model.pagesRead();
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("d0"));
    QCOMPARE(model.pagesRead(), before + 1);
    QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("d1"));
    QCOMPARE(model.pagesRead(), before + 1);
}

void tst_PagedQueryModel::boundValuesAreNotSpliced()
{
    storeRows(QStringLiteral("O'Brien"), 3);
    storeRows(QStringLiteral("B"), 4);
    PagedQueryModel model;
    model.setCountInBackground(false);
    QVERIFY(model.setQuery(m_path, query(QStringLiteral("O'Brien"))));
    QCOMPARE(model.rowCount(), 3);
    // Trailing blanks of a batch number are not significant.
    QVERIFY(
        model.setQuery(m_path, query(QStringLiteral("B   "), QStringLiteral(" AND [Dir] = '+'"))));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("d2"));
}

void tst_PagedQueryModel::headersAndAlignment()
{
    storeRows(QStringLiteral("B"), 2);
    PagedQueryModel model;
    QVERIFY(model.setQuery(m_path, query(QStringLiteral("B"))));
    QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Dir"));
    QSignalSpy changed(&model, &QAbstractItemModel::headerDataChanged);
    QVERIFY(model.setHeaderData(2, Qt::Horizontal, QStringLiteral("35+")));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("35+"));
    model.setColumnAlignment(2, Qt::AlignHCenter | Qt::AlignBottom);
    QCOMPARE(model.data(model.index(1, 2), Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignHCenter | Qt::AlignBottom));
    QVERIFY(!model.data(model.index(1, 0), Qt::TextAlignmentRole).isValid());
}

void tst_PagedQueryModel::failingSelectionLeavesItEmpty()
{
    PagedQueryModel model;
    PagedQueryModel::Query bad = query(QStringLiteral("B"));
    bad.table = QStringLiteral("No_Such_Table");
    QVERIFY(!model.setQuery(m_path, bad));
    QVERIFY(!model.errorText().isEmpty());
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.canFetchMore());

    QVERIFY(
        !model.setQuery(m_dir.filePath(QStringLiteral("missing.mdb")), query(QStringLiteral("B"))));
    QVERIFY(model.errorText().contains(QStringLiteral("missing.mdb")));
    QCOMPARE(model.rowCount(), 0);
}

void tst_PagedQueryModel::databaseGoneAfterOpenIsToldOnce()
{
    storeRows(QStringLiteral("B"), 3000);
    PagedQueryModel model;
    model.setCountInBackground(false);
    QSignalSpy failed(&model, &PagedQueryModel::readFailed);
    QVERIFY(model.setQuery(m_path, query(QStringLiteral("B"))));
    QVERIFY(QFile::remove(m_path));
    QVERIFY(!model.data(model.index(PagedQueryModel::PageRows * 2, 0)).isValid());
    QVERIFY(!model.data(model.index(PagedQueryModel::PageRows * 3, 0)).isValid());
    model.fetchMore(); // the count stops where it stood
    QVERIFY(model.isComplete());
    QCOMPARE(model.rowCount(), PagedQueryModel::FirstRows);
    QTRY_COMPARE(failed.size(), 1);
    QTest::qWait(20);
    QCOMPARE(failed.size(), 1);
    // What was read before stays readable.
    QCOMPARE(model.data(model.index(5, 0)).toString(), QStringLiteral("d5"));
}

void tst_PagedQueryModel::newQueryReplacesRows()
{
    storeRows(QStringLiteral("A"), 40000);
    storeRows(QStringLiteral("B"), 7);
    PagedQueryModel model; // counting in idle time, as the window uses it
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QVERIFY(model.setQuery(m_path, query(QStringLiteral("A"))));
    QVERIFY(model.setQuery(m_path, query(QStringLiteral("B"))));
    QCOMPARE(reset.size(), 2);
    QCOMPARE(model.rowCount(), 7);
    QVERIFY(model.isComplete());
    // Work scheduled for the first query does nothing to the second.
    QTest::qWait(50);
    QCOMPARE(model.rowCount(), 7);
    QCOMPARE(model.data(model.index(6, 0)).toString(), QStringLiteral("d6"));
}

QTEST_GUILESS_MAIN(tst_PagedQueryModel)
#include "tst_PagedQueryModel.moc"

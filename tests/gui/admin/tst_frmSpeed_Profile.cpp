// "Survey - Speeding Profile" driven as the main window drives it: showFor() with
// what the main window shows, the rows of the chosen survey and direction, the
// grid's headers and widths, refilling on every showing, and the two buttons.
#include "fixtures/SurveyFixture.h"

#include "core/stats/Statistics.h"
#include "core/store/PagedQueryModel.h"
#include "gui/admin/frmSpeed_Profile.h"
#include "gui/kit/Forms.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::testing;

namespace {

// "+36 -45 ?56x3": direction, speed, optional repeat count; one vehicle a minute
// from 08:00 on 05/24/2001.
Vehicles vehicles(const QString &spec)
{
    Vehicles out;
    for (const QString &token : spec.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = token.mid(1).split(QLatin1Char('x'));
        const int repeat = parts.size() > 1 ? parts.at(1).toInt() : 1;
        for (int i = 0; i < repeat; ++i) {
            Vehicle v;
            v.direction = token.at(0).toLatin1();
            v.speed = parts.at(0).toInt();
            v.date = QDate(2001, 5, 24);
            v.secondOfDay = 8 * 3600 + int(out.size()) * 60;
            v.offset = out.size() * 60;
            out.append(v);
        }
    }
    return out;
}

SpeedProfileSelection selectionFor(const QString &batch, SurveyDirection direction,
                                   const QString &limit = QStringLiteral("35"))
{
    SpeedProfileSelection s;
    s.batchNumber = batch;
    s.postedLimit = limit;
    s.overLimitCount = QStringLiteral("7");
    const int l = limit.toInt();
    s.bandCaptions = {limit + QLatin1Char('+'), QString::number(l + 10) + QLatin1Char('+'),
                      QString::number(l + 20) + QLatin1Char('+')};
    s.direction = direction;
    return s;
}

} // namespace

class tst_frmSpeedProfile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void captionsAndLabels_data();
    void captionsAndLabels();
    void eachVehicleOnceInOneBand_data();
    void eachVehicleOnceInOneBand();
    void noSpeedingVehiclesGiveHeaderRowOnly();
    void showingAgainListsNewSelection();
    void paddedBatchNumberFindsTheRows();
    void gridLayout();
    void scrolledToTheEndHoldsEveryRow();
    void closeEscapeAndFrame();
    void printHidesAndAsks();
    void missingDatabaseIsToldAndListIsEmpty();

private:
    void storeProfile(const QString &batch, const QString &spec,
                      const QString &limit = QStringLiteral("35"));
    frmSpeed_Profile &window();
    QStringList rowTexts(int row);

    std::unique_ptr<SurveyFolder> m_folder;
};

void tst_frmSpeedProfile::init()
{
    m_folder = std::make_unique<SurveyFolder>();
    sharedState().setProgramFolder(m_folder->folder());
}

void tst_frmSpeedProfile::cleanup()
{
    if (formExists<frmSpeed_Profile>())
        delete &form<frmSpeed_Profile>();
    m_folder.reset();
}

void tst_frmSpeedProfile::storeProfile(const QString &batch, const QString &spec,
                                       const QString &limit)
{
    DatabaseSession session(m_folder->databasePath());
    Transaction transaction(session);
    storeSpeedProfile(session, batch, computeSpeedProfile(vehicles(spec), limit));
    transaction.commit();
}

frmSpeed_Profile &tst_frmSpeedProfile::window()
{
    return form<frmSpeed_Profile>();
}

QStringList tst_frmSpeedProfile::rowTexts(int row)
{
    QStringList texts;
    const QAbstractItemModel *model = window().Flex1->model();
    for (int c = 0; c < model->columnCount(); ++c)
        texts << model->index(row, c).data().toString();
    return texts;
}

void tst_frmSpeedProfile::captionsAndLabels_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("description");
    QTest::newRow("approaching") << 0 << "Approaching vehicles only";
    QTest::newRow("receding") << 1 << "Receding vehicles only";
    QTest::newRow("both") << 2 << "All vehicles";
}

void tst_frmSpeedProfile::captionsAndLabels()
{
    QFETCH(int, direction);
    QFETCH(QString, description);
    frmSpeed_Profile &w = window();
    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection(direction)));
    QCOMPARE(w.windowTitle(), QStringLiteral("Survey - Speeding Profile"));
    QCOMPARE(w.Label6->text(), description);
    QCOMPARE(w.Label1->text(), QStringLiteral("Posted Speed Limit"));
    QCOMPARE(w.Label2->text(), QStringLiteral("35"));
    QCOMPARE(w.Label3->text(), QStringLiteral("Number Exceeding Speed Limit"));
    QCOMPARE(w.Label4->text(), QStringLiteral("7"));
    QCOMPARE(w.Label5->text(), QStringLiteral("Speed of Vehicles Exceeding Limit"));
    QCOMPARE(w.Command2->text().remove(QLatin1Char('&')), QStringLiteral("Print This Profile"));
    QCOMPARE(w.Command1->text().remove(QLatin1Char('&')), QStringLiteral("Close"));
    QStringList headers;
    for (int c = 0; c < w.Data1->columnCount(); ++c)
        headers << w.Data1->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, (QStringList{u"Date"_s, u"Time"_s, u"35+"_s, u"45+"_s, u"55+"_s, u"Dir"_s}));
}

void tst_frmSpeedProfile::eachVehicleOnceInOneBand_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QStringList>("expected"); // "time speed_over plus10 plus20 dir"
    const QStringList all{u"08:01:00 AM 36 -- -- +"_s, u"08:02:00 AM 45 -- -- -"_s,
                          u"08:03:00 AM -- 46 -- ?"_s, u"08:04:00 AM -- 55 -- +"_s,
                          u"08:05:00 AM -- -- 56 -"_s, u"08:07:00 AM -- -- 99 ?"_s};
    QTest::newRow("approaching") << 0 << QStringList{all.at(0), all.at(3)};
    QTest::newRow("receding") << 1 << QStringList{all.at(1), all.at(4)};
    QTest::newRow("both, with the unknown direction") << 2 << all;
}

void tst_frmSpeedProfile::eachVehicleOnceInOneBand()
{
    QFETCH(int, direction);
    QFETCH(QStringList, expected);
    // 35 is at the limit (no row); 36 and 45 in the first band, 46 and 55 in the
    // second, 56 and 99 in the third; 20 is under.
    storeProfile(QStringLiteral("052401-A"), QStringLiteral("+35 +36 -45 ?46 +55 -56 +20 ?99"));
    storeProfile(QStringLiteral("052401-B"), QStringLiteral("+80 -80 ?80"));
    frmSpeed_Profile &w = window();
    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection(direction)));
    QCOMPARE(w.Data1->rowCount(), expected.size());
    for (int r = 0; r < expected.size(); ++r) {
        const QStringList cells = rowTexts(r);
        QCOMPARE(cells.at(0), QStringLiteral("05/24/01"));
        QCOMPARE(QStringList(cells.mid(1)).join(QLatin1Char(' ')), expected.at(r));
        int bandsWithSpeed = 0;
        for (int c = 2; c <= 4; ++c)
            bandsWithSpeed += cells.at(c) == QLatin1String("--") ? 0 : 1;
        QCOMPARE(bandsWithSpeed, 1);
    }
}

void tst_frmSpeedProfile::noSpeedingVehiclesGiveHeaderRowOnly()
{
    storeProfile(QStringLiteral("052401-A"), QStringLiteral("+20 -35 ?30"));
    storeProfile(QStringLiteral("052401-B"), QStringLiteral("+50"));
    frmSpeed_Profile &w = window();
    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection::Both));
    QCOMPARE(w.Data1->rowCount(), 0);
    QCOMPARE(w.Data1->columnCount(), 6);
    QVERIFY(w.Flex1->horizontalHeader()->isVisible());
    QCOMPARE(w.Data1->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Dir"));
}

void tst_frmSpeedProfile::showingAgainListsNewSelection()
{
    storeProfile(QStringLiteral("052401-A"), QStringLiteral("+36 -37 +38"));
    storeProfile(QStringLiteral("052501-B"), QStringLiteral("-60 -61"), QStringLiteral("50"));
    frmSpeed_Profile &w = window();
    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection::Approaching));
    QCOMPARE(w.Data1->rowCount(), 2);
    w.Command1_Click();
    QVERIFY(!w.isVisible());

    // Another direction of the same survey.
    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection::Receding));
    QCOMPARE(w.Data1->rowCount(), 1);
    QCOMPARE(rowTexts(0).at(2), QStringLiteral("37"));
    w.Command1_Click();

    // Another survey, with its own limit and band captions.
    w.showFor(
        selectionFor(QStringLiteral("052501-B"), SurveyDirection::Both, QStringLiteral("50")));
    QCOMPARE(w.Data1->rowCount(), 2);
    QCOMPARE(rowTexts(1).at(3), QStringLiteral("61"));
    QCOMPARE(w.Data1->headerData(2, Qt::Horizontal).toString(), QStringLiteral("50+"));
    QCOMPARE(w.Data1->headerData(4, Qt::Horizontal).toString(), QStringLiteral("70+"));
    QCOMPARE(w.Label2->text(), QStringLiteral("50"));
    QCOMPARE(w.Label6->text(), QStringLiteral("All vehicles"));

    // Rows stored while the window was hidden show on the next showing.
    w.Command1_Click();
    storeProfile(QStringLiteral("052501-B"), QStringLiteral("+62"), QStringLiteral("50"));
    w.show();
    QCOMPARE(w.Data1->rowCount(), 3);
}

void tst_frmSpeedProfile::paddedBatchNumberFindsTheRows()
{
    storeProfile(QStringLiteral("052401-A"), QStringLiteral("+36 +37"));
    frmSpeed_Profile &w = window();
    w.showFor(selectionFor(QStringLiteral("052401-A  "), SurveyDirection::Approaching));
    QCOMPARE(w.Data1->rowCount(), 2);
}

void tst_frmSpeedProfile::gridLayout()
{
    frmSpeed_Profile &w = window();
    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection::Both));
    QHeaderView *header = w.Flex1->horizontalHeader();
    const double pixelsPerTwip = w.logicalDpiX() / 1440.0;
    QVERIFY(header->sectionSize(1) >= qRound(1100 * pixelsPerTwip));
    for (int c = 2; c <= 4; ++c)
        QCOMPARE(header->sectionSize(c), qRound(700 * pixelsPerTwip));
    QCOMPARE(header->sectionSize(5), qRound(400 * pixelsPerTwip));
    storeProfile(QStringLiteral("052401-A"), QStringLiteral("+40"));
    w.show(); // refilled on showing
    w.Form_Activate();
    for (int c = 2; c <= 5; ++c)
        QCOMPARE(w.Data1->data(w.Data1->index(0, c), Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignHCenter | Qt::AlignBottom));
    // The band heading stands over the three band columns.
    const int headingMiddle = w.Label5->mapTo(&w, w.Label5->rect().center()).x();
    const int bandsLeft =
        w.Flex1->viewport()->mapTo(&w, QPoint(header->sectionViewportPosition(2), 0)).x();
    const int bandsMiddle = bandsLeft + (header->sectionSize(2) * 3) / 2;
    QVERIFY2(qAbs(headingMiddle - bandsMiddle) <= 3,
             qPrintable(QStringLiteral("%1 vs %2").arg(headingMiddle).arg(bandsMiddle)));
}

void tst_frmSpeedProfile::scrolledToTheEndHoldsEveryRow()
{
    // More rows than the model counts when it opens, so the view has to ask for more.
    const int n = PagedQueryModel::FirstRows + PagedQueryModel::CountChunk + 300;
    storeProfile(QStringLiteral("052401-A"), QStringLiteral("+40x%1 -40x50").arg(n));
    frmSpeed_Profile &w = window();
    w.Data1->setCountInBackground(false);
    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection::Approaching));
    QCOMPARE(w.Data1->rowCount(), PagedQueryModel::FirstRows);
    QVERIFY(w.Data1->pagesRead() <= 2);

    // Scroll to the end as a user drags the bar down, until the view stops growing.
    for (int guard = 0; guard < 100 && w.Data1->canFetchMore(); ++guard) {
        w.Flex1->scrollToBottom();
        QScrollBar *bar = w.Flex1->verticalScrollBar();
        bar->setValue(bar->maximum());
        QCoreApplication::processEvents();
    }
    QCOMPARE(w.Data1->rowCount(), n);
    QCOMPARE(rowTexts(n - 1).at(2), QStringLiteral("40"));
    QCOMPARE(rowTexts(n - 1).at(5), QStringLiteral("+"));
    // Only the pages shown were read, not the whole list.
    QVERIFY(w.Data1->cachedPageCount() <= 8);
}

void tst_frmSpeedProfile::closeEscapeAndFrame()
{
    frmSpeed_Profile &w = window();
    QSignalSpy closed(&w, &frmSpeed_Profile::closed);
    QSignalSpy print(&w, &frmSpeed_Profile::printRequested);

    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection::Both));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed.at(0).at(0).toBool(), false); // the survey stays shown

    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection::Both));
    QTest::keyClick(w.Flex1, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(closed.size(), 2);

    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection::Both));
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
    QCOMPARE(closed.size(), 3);
    QCOMPARE(print.size(), 0);
}

void tst_frmSpeedProfile::printHidesAndAsks()
{
    frmSpeed_Profile &w = window();
    QSignalSpy closed(&w, &frmSpeed_Profile::closed);
    QSignalSpy print(&w, &frmSpeed_Profile::printRequested);
    const SpeedProfileSelection sel =
        selectionFor(QStringLiteral("052401-A"), SurveyDirection::Receding);
    w.showFor(sel);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.Flex1, Qt::Key_P, Qt::AltModifier); // the access key
    QTRY_VERIFY(!w.isVisible());
    QCOMPARE(print.size(), 1);
    QCOMPARE(closed.size(), 0); // the main window stays disabled until the preview closes
    QCOMPARE(w.selection(), sel);
}

void tst_frmSpeedProfile::missingDatabaseIsToldAndListIsEmpty()
{
    storeProfile(QStringLiteral("052401-A"), QStringLiteral("+40"));
    frmSpeed_Profile &w = window();
    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection::Both));
    QCOMPARE(w.Data1->rowCount(), 1);
    w.Command1_Click();
    QVERIFY(QFile::remove(m_folder->databasePath()));
    // The message comes once the window is on screen; read it and close it.
    QString told;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            told = box->text();
            box->accept();
        }
    });
    closer.start(10);
    w.showFor(selectionFor(QStringLiteral("052401-A"), SurveyDirection::Both));
    QCOMPARE(w.Data1->rowCount(), 0);
    QTRY_VERIFY(!told.isEmpty());
    QVERIFY2(told.contains(QStringLiteral("OV97.mdb")), qPrintable(told));
    QVERIFY(w.isVisible());
}

QTEST_MAIN(tst_frmSpeedProfile)
#include "tst_frmSpeed_Profile.moc"

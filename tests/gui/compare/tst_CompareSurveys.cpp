// The "Compare Surveys" window through a user's clicks and keys: the shown
// survey offered as before and the next survey at its place as after, the
// table, a direction and a control pair chosen, a refusal in place of the
// table, "Print Comparison", the export of the "Comparison" sheet and Escape.
// ROADTALLY_SCREENSHOT_DIR=DIR saves the window as DIR/compare-surveys.png.
#include "fixtures/ComparisonFixture.h"

#include "core/store/SharedState.h"
#include "gui/compare/CompareSurveys.h"
#include "gui/compare/ComparisonChartView.h"
#include "gui/kit/Forms.h"
#include "gui/preview/VSPrint.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/frmRoadtally.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace roadtally;
using namespace Qt::Literals::StringLiterals;

namespace {

void clickItem(QTreeWidget *list, const QString &batch)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = list->topLevelItem(i);
        if (item->text(0) == batch) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(item).center());
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no survey %1 in the list").arg(batch)));
}

QStringList column(const QTreeWidget *list, int col)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(col);
    return out;
}

// The cells of the table line with that figure (the first one).
QStringList line(const CompareSurveys &w, const QString &label)
{
    for (int r = 0; r < w.table->rowCount(); ++r)
        if (w.table->item(r, 0) && w.table->item(r, 0)->text().trimmed() == label) {
            QStringList cells;
            for (int c = 0; c < w.table->columnCount(); ++c)
                cells << (w.table->item(r, c) ? w.table->item(r, c)->text().trimmed() : QString());
            return cells;
        }
    return {};
}

// An access key, typed where the focus is.
void alt(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
}

void closeMessageBoxes()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            box->done(QMessageBox::Ok);
}

} // namespace

class tst_CompareSurveys : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_database = m_dir.filePath(QStringLiteral("OV97.mdb"));
        QCOMPARE(testing::writeComparedSurveys(m_database), QString());
    }

    void opensOnTheShownSurvey()
    {
        CompareSurveys w;
        w.open(m_database, testing::BeforeBatch);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Compare Surveys"));
        // Calendar order; the after list has the before's location first.
        QCOMPARE(
            column(w.beforeList, 0),
            (QStringList{testing::BeforeBatch, testing::ControlBeforeBatch, testing::AfterBatch,
                         testing::ControlAfterBatch, testing::MetricBatch}));
        QCOMPARE(column(w.afterList, 0),
                 (QStringList{testing::AfterBatch, testing::MetricBatch,
                              testing::ControlBeforeBatch, testing::ControlAfterBatch}));
        QCOMPARE(w.beforeList->currentItem()->text(0), testing::BeforeBatch);
        QCOMPARE(w.afterList->currentItem()->text(0), testing::AfterBatch);
        QCOMPARE(w.beforeList->currentItem()->text(3), QStringLiteral("800"));

        QVERIFY(w.comparison());
        QCOMPARE(w.message(), QString());
        QCOMPARE(line(w, QStringLiteral("Vehicles")).mid(1, 3),
                 (QStringList{u"400"_s, u"400"_s, u"0 (0.0%)"_s}));
        const QStringList mean = line(w, QStringLiteral("Mean speed"));
        QCOMPARE(mean.at(3), QStringLiteral("-4.0 mph"));
        QCOMPARE(mean.at(5), QStringLiteral("< 0.001"));
        QCOMPARE(mean.at(6), QStringLiteral("Yes"));
        QVERIFY(w.charts->hasComparison());
        QVERIFY(w.printComparison->isEnabled());
        QVERIFY(w.pairTitle->text().contains(QStringLiteral("approaching vehicles")));
        QVERIFY(w.lastMilliseconds() > 0);
    }

    void clicksAndKeys()
    {
        CompareSurveys w;
        w.open(m_database);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.beforeList->currentItem()->text(0), testing::BeforeBatch); // the first
        QCOMPARE(QApplication::focusWidget(), w.beforeList);

        // Another street: the after list suggests its own next survey.
        clickItem(w.beforeList, testing::ControlBeforeBatch);
        QCOMPARE(w.afterList->currentItem()->text(0), testing::ControlAfterBatch);
        QCOMPARE(w.comparison()->before.batchNumber, testing::ControlBeforeBatch);
        clickItem(w.beforeList, testing::BeforeBatch);
        QCOMPARE(w.afterList->currentItem()->text(0), testing::AfterBatch);
        QVERIFY(w.comparison());

        // An after survey in km/h: refused, the reason in place of the table.
        clickItem(w.afterList, testing::MetricBatch);
        QVERIFY(!w.comparison());
        QCOMPARE(w.message(), QStringLiteral("Survey 052025-A is in MPH and survey 081925-A in "
                                             "KPH: surveys in different units cannot be "
                                             "compared."));
        QVERIFY(!w.printComparison->isEnabled());
        QVERIFY(!w.exportComparison->isEnabled());
        clickItem(w.afterList, testing::AfterBatch);
        QVERIFY(w.comparison());

        // Alt+O: both directions.
        alt(Qt::Key_O);
        QTRY_VERIFY(w.directionOption[2]->isChecked()); // a button's access key clicks it soon
        QCOMPARE(w.comparison()->direction, SurveyDirection::Both);
        QCOMPARE(line(w, QStringLiteral("Vehicles")).at(1), QStringLiteral("800"));

        // Alt+T, then the control surveys by keys.
        alt(Qt::Key_T);
        QTRY_VERIFY(w.useControl->isChecked());
        QVERIFY(w.controlBefore->isEnabled());
        QCOMPARE(w.message(), QStringLiteral("Choose the control site's before and after surveys, "
                                             "or clear \"Control site\"."));
        alt(Qt::Key_E);
        QCOMPARE(QApplication::focusWidget(), w.controlBefore);
        w.controlBefore->setCurrentIndex(w.controlBefore->findData(testing::ControlBeforeBatch));
        QCOMPARE(w.message(), QStringLiteral("A control pair needs both a before and an after "
                                             "survey."));
        alt(Qt::Key_A);
        QCOMPARE(QApplication::focusWidget(), w.controlAfter);
        w.controlAfter->setCurrentIndex(w.controlAfter->findData(testing::ControlAfterBatch));
        QVERIFY(w.comparison());
        QVERIFY(w.comparison()->net);
        // Both directions at the control site: 800 then 800 vehicles, 1 mph slower.
        const QStringList net = line(w, QStringLiteral("Net change: the change less the control "
                                                       "site's"));
        QVERIFY(!net.isEmpty());
        QVERIFY(std::fabs(*w.comparison()->net->controlMean.change + 1) < 1e-9);

        // Alt+B moves to the before list; Down chooses the next survey as a click does.
        alt(Qt::Key_B);
        QCOMPARE(QApplication::focusWidget(), w.beforeList);
        QTest::keyClick(w.beforeList, Qt::Key_Down);
        QCOMPARE(w.beforeList->currentItem()->text(0), testing::ControlBeforeBatch);
        // The control survey twice: refused.
        QVERIFY(w.message().contains(QStringLiteral("is chosen twice")));
        QTest::keyClick(w.beforeList, Qt::Key_Up);
        QVERIFY(w.comparison());

        // Print Comparison asks the main window; nothing else happens here.
        QSignalSpy print(&w, &CompareSurveys::printRequested);
        QTest::mouseClick(w.printComparison, Qt::LeftButton);
        QCOMPARE(print.count(), 1);

        // Escape closes the window and says so.
        QSignalSpy closed(&w, &CompareSurveys::closed);
        QTest::keyClick(&w, Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!w.isVisible());
    }

    void noSurveys()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
        QCOMPARE(createBlankDatabase(path), QString());
        CompareSurveys w;
        w.open(path);
        QCOMPARE(w.message(), QStringLiteral("A comparison needs two stored surveys; the database "
                                             "holds 0."));
        QVERIFY(!w.printComparison->isEnabled());
        // A database that cannot be read: said so, nothing shown.
        w.open(dir.filePath(QStringLiteral("missing/OV97.mdb")));
        QVERIFY2(w.message().contains(QStringLiteral("could not be read: it does not exist.")),
                 qPrintable(w.message()));
        QCOMPARE(w.beforeList->topLevelItemCount(), 0);
    }

    void exports()
    {
        CompareSurveys w;
        w.open(m_database, testing::BeforeBatch);
        QVERIFY(w.comparison());
        QTemporaryDir out;
        const QString workbook = out.filePath(QStringLiteral("maple"));
        QVERIFY(w.exportWorkbook(workbook));
        closeMessageBoxes();
        QVERIFY(QFile::exists(workbook + QStringLiteral(".xlsx")));
        QVERIFY(w.exportCsv(out.path()));
        closeMessageBoxes();
        QFile csv(out.filePath(QStringLiteral("052025-A vs 071525-A Comparison.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray text = csv.readAll();
        QVERIFY(text.startsWith("Figure,Before,After,Change,Relative Change (%),Test,Statistic,p,"
                                "Significant\r\n"));
        QVERIFY(text.contains("Mean speed,"));
        QVERIFY(text.contains("Welch's t"));
        // A folder that is not there: nothing written, the user told.
        QVERIFY(!w.exportCsv(out.filePath(QStringLiteral("missing/folder"))));
        closeMessageBoxes();
    }

    void fromTheReportsMenu()
    {
        sharedState().setProgramFolder(m_dir.path());
        frmRoadtally &main = form<frmRoadtally>();
        main.show();
        main.surveySelected(testing::BeforeBatch);
        main.surveyChosen(testing::BeforeBatch);
        QVERIFY(main.mnuCompareSurveys->isEnabled());
        main.mnuCompareSurveys->trigger();
        CompareSurveys &w = main.compareSurveysWindow();
        QVERIFY(w.isVisible());
        QVERIFY(!main.isEnabled()); // waits for the comparison window
        QCOMPARE(w.beforeList->currentItem()->text(0), testing::BeforeBatch);
        QVERIFY(w.comparison());

        // Print Comparison: report 9 in the preview; closing it goes back to the window.
        QTest::mouseClick(w.printComparison, Qt::LeftButton);
        VSPrint *preview = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<VSPrint *>(top); p && p->isVisible())
                preview = p;
        QVERIFY(preview);
        QCOMPARE(preview->report(), ReportKind::BeforeAfterSpeedStudy);
        QTRY_COMPARE(preview->pageCount(), 1);
        preview->close();
        QTest::qWait(20);
        QVERIFY(w.isVisible());
        QVERIFY(!main.isEnabled());
        w.closeButton->click();
        QTRY_VERIFY(main.isEnabled());
        // The comparison window goes with the main window that owns it.
        QPointer<CompareSurveys> owned(&w);
        delete &main;
        QVERIFY(owned.isNull());
    }

    void screenshot()
    {
        const QString folder = qEnvironmentVariable("ROADTALLY_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("ROADTALLY_SCREENSHOT_DIR is not set");
        CompareSurveys w;
        w.open(m_database, testing::BeforeBatch);
        w.chooseControl(testing::ControlBeforeBatch, testing::ControlAfterBatch);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(100);
        QVERIFY(w.grab().save(QDir(folder).filePath(QStringLiteral("compare-surveys.png"))));
        w.chooseControl(QString(), QString());
        QTest::qWait(50);
        QVERIFY(w.grab().save(QDir(folder).filePath(QStringLiteral("compare-surveys-pair.png"))));
    }

private:
    QTemporaryDir m_dir;
    QString m_database;
};

QTEST_MAIN(tst_CompareSurveys)
#include "tst_CompareSurveys.moc"

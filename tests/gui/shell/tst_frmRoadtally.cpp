// The main window driven offscreen: start panel, activation, the summary panel
// in every display scheme and direction, tab changes and a missing database.

#include "fixtures/ViewsFixture.h"

#include "core/analysis/SpeedCharts.h"
#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "gui/admin/frmOpenSurvey.h"
#include "gui/intake/frmLoadDataFile.h"
#include "gui/kit/ClickLabel.h"
#include "gui/kit/Forms.h"
#include "gui/shell/DailyVolumeTab.h"
#include "gui/shell/FifteenMinuteTab.h"
#include "gui/shell/GraphView.h"
#include "gui/shell/PrintOptionsPanel.h"
#include "gui/shell/SpeedChartTab.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/WeeklyTab.h"
#include "gui/shell/frmRoadtally.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::testing;

namespace {

QStringList items(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

void choose(QComboBox *combo, const QString &text)
{
    const int i = combo->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    combo->setCurrentIndex(i);
    combo->setEditText(text);
    Q_EMIT combo->activated(i);
}

QStringList texts(const ControlArray<QLabel> &labels, int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << labels[i]->text();
    return out;
}

// Stands the window's survey sources on a batch, as opening a survey does.
void showSurvey(frmRoadtally &w, const QString &batch)
{
    w.Data2->refresh();
    w.Data3->refresh();
    QVERIFY(w.Data2->findFirst(QStringLiteral("Batch_Number"), batch));
    QVERIFY(w.Data3->findFirst(QStringLiteral("Batch_Number"), batch));
    w.summary->FrameS->show();
    w.SSTab->setEnabled(true);
    w.Form_Activate();
}

} // namespace

class tst_frmRoadtally : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<frmRoadtally> m_menus; // one window serves every menu case

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        sharedState().setProgramFolder(m_dir.path());
        const QString error = writeKnownSurveys(databasePathIn(m_dir.path()));
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void init() { sharedState().setProgramFolder(m_dir.path()); }

    void startState()
    {
        frmRoadtally w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Roadtally"));
        QCOMPARE(w.databaseError(), QString());
        QCOMPARE(w.SSTab->currentIndex(), 0);
        QVERIFY(w.SSTab->isEnabled());
        QVERIFY(w.splashframe->isVisible());
        QVERIFY(!w.summary->FrameS->isVisible());
        QVERIFY(w.Label14->isVisible());
        QVERIFY(w.Label28->isVisible());
        QVERIFY(!w.LastButton->isVisible());
        QVERIFY(!w.LastText->isVisible());
        QVERIFY(!w.printOptions->isVisible());
        // Nothing is drawn or computed yet: nothing to print.
        for (QPushButton *b : {w.percentile->printGraph, w.weekly->Command3, w.speeds->printGraph,
                               w.volume->Command5, w.fifteen->Command7, w.summary->Command6})
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        QVERIFY(!w.m4->isEnabled());
        QVERIFY(!w.m4->menuAction()->isEnabled());
        QVERIFY(!w.mnuSaveStudy->menuAction()->isEnabled());
        QCOMPARE(w.summary->Combo1->currentText(), QStringLiteral("** Select Display Scheme **"));
        QCOMPARE(w.fifteen->Date15min->currentText(), QStringLiteral("**Select a Date**"));
        QCOMPARE(w.volume->DateVolume->currentText(), QStringLiteral("**Select a Date**"));
        QVERIFY(!w.summary->Radar_Mode->isVisible());
        // The bound sources stand on the first rows.
        QCOMPARE(w.summary->Label7[4]->text(), MphBatch);
        QCOMPARE(w.summary->Agency->text(), QStringLiteral("City of Brookhaven Police Department"));
        QCOMPARE(w.summary->Officer_Select->currentText(), QStringLiteral("Sgt. Dana Whitfield"));
        // The Reports menu opens once a survey is chosen.
        w.m4->setEnabled(true);
        QVERIFY(w.m4->menuAction()->isEnabled());
    }

    void menuCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const char *rows[][2] = {
            {"m1", "&File"},
            {"mnuPrintForm", "&Print Form"},
            {"mnuOpenStudy", "&Open Study Data"},
            {"mnuSaveStudy", "E&xport Study As...."},
            {"mnuExcel", "Excel Spreadsheet"},
            {"mnuAccess", "CSV Files"},
            {"mnuProcessRawData", "&Load (Process) Raw Data File"},
            {"mnuExit", "&Exit"},
            {"m2", "&Edit"},
            {"mnuDeleteSurvey", "&Delete Individual Survey"},
            {"mnuManageDatabase", "&Repair && Backup Database"},
            {"mnudeletedatabase", "Delete &Complete Database"},
            {"m3", "&Options"},
            {"mnuAdminSetup", "&Admin Setup"},
            {"m4", "&Reports"},
            {"mnuSummary", "&Survey Summary "},
            {"mnuDailyTraffic", "Daily &Traffic Flow"},
            {"mnuDailyTrafficApproaching", "Approaching Vehicles Only"},
            {"mnuDailyTrafficReceeding", "Receding Vehicles Only"},
            {"mnuDailyTrafficBoth", "Both Directions"},
            {"mnuDailyVolume", "Daily &Volume/Time"},
            {"mnu85Percent", "&85th Percentile"},
            {"mnu85percentApproach", "Approaching Vehicles Only"},
            {"mnu85PercentReceed", "Receding Vehicles Only"},
            {"mnu85PercentBoth", "Both Directions"},
            {"mnu15Minute", "&15 Minute Breakdown"},
            {"mnuWeeklySummary", "&Weekly Summary"},
            {"m5", "&Help"},
            {"mnuTopics", "&Topics"},
            {"mnuAbout", "&About"},
        };
        for (const auto &r : rows)
            QTest::newRow(r[0]) << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1]);
    }
    void menuCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        if (!m_menus)
            m_menus = std::make_unique<frmRoadtally>();
        frmRoadtally &w = *m_menus;
        QString text;
        if (auto *menu = w.findChild<QMenu *>(name))
            text = menu->title();
        else if (auto *action = w.findChild<QAction *>(name))
            text = action->text();
        else
            QFAIL("no such menu or item");
        QCOMPARE(text, caption);
    }

    void menuOrder()
    {
        frmRoadtally w;
        QStringList top;
        for (QAction *a : w.menuBar()->actions())
            top << a->text();
        QCOMPARE(top,
                 (QStringList{u"&File"_s, u"&Edit"_s, u"&Options"_s, u"&Reports"_s, u"&Help"_s}));
        QStringList file;
        for (QAction *a : w.m1->actions())
            file << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(file,
                 (QStringList{u"&Print Form"_s, u"&Open Study Data"_s, u"E&xport Study As...."_s,
                              u"-"_s, u"&Load (Process) Raw Data File"_s, u"Copy Surveys &To..."_s,
                              u"-"_s, u"&Exit"_s}));
    }

    void thresholdHeaders_data()
    {
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QStringList>("headers");
        QTest::newRow("035") << "035" << QStringList{u"035+"_s, u"45+"_s, u"55+"_s};
        QTest::newRow("empty") << "" << QStringList{u"+"_s, u"10+"_s, u"20+"_s};
        QTest::newRow("50") << "50" << QStringList{u"50+"_s, u"60+"_s, u"70+"_s};
    }
    void thresholdHeaders()
    {
        QFETCH(QString, limit);
        QFETCH(QStringList, headers);
        frmRoadtally w;
        w.summary->Label7[9]->setText(limit);
        w.Form_Activate();
        QCOMPARE(texts(w.summary->Label2, 40, 42), headers);
    }

    void schemeList_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("schemes");
        QTest::newRow("MPH") << "MPH"
                             << QStringList{u"1 to 25 by 2 MPH"_s, u"15 to 70 by 5 MPH"_s,
                                            u"20 to 42 by 2 MPH"_s, u"30 to 52 by 2 MPH"_s};
        QTest::newRow("KPH") << "KPH"
                             << QStringList{u"35 to 90 by 5 KPH"_s, u"65 to 120 by 5 KPH"_s};
        QTest::newRow("mph") << "mph" << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void schemeList()
    {
        QFETCH(QString, unit);
        QFETCH(QStringList, schemes);
        frmRoadtally w;
        w.printOptions->Combo2->addItem(QStringLiteral("left over"));
        w.summary->Combo1->addItem(QStringLiteral("left over"));
        w.summary->Radar_Mode->setText(unit);
        w.Form_Activate();
        QCOMPARE(items(w.summary->Combo1), schemes);
        QCOMPARE(w.summary->Combo1->currentText(), QStringLiteral("** Select Display Scheme **"));
        QCOMPARE(w.printOptions->Combo2->count(), 0);
    }

    // Form_Activate runs when the window becomes active coming from another
    // window of the program, not when a message box over it closes (which
    // would empty the scheme list and the print panel's list).
    void activationStep()
    {
        frmRoadtally w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTRY_COMPARE(items(w.summary->Combo1).size(), 4); // first activation: MPH schemes
        w.summary->Combo1->addItem(QStringLiteral("left over"));
        w.printOptions->Combo2->addItem(QStringLiteral("a date"));

        QMessageBox box(QMessageBox::Warning, QStringLiteral("Roadtally"),
                        QStringLiteral("message"), QMessageBox::Ok, &w);
        box.open();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.accept();
        w.activateWindow();
        QTRY_VERIFY(w.isActiveWindow());
        QCOMPARE(items(w.summary->Combo1).size(), 5);
        QCOMPARE(w.printOptions->Combo2->count(), 1);

        QWidget child;
        child.resize(200, 100);
        child.show();
        child.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&child));
        child.hide();
        w.activateWindow();
        QTRY_COMPARE(items(w.summary->Combo1).size(), 4);
        QCOMPARE(w.printOptions->Combo2->count(), 0);
    }

    void schemes_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("labels");
        QTest::addColumn<QString>("volumes");
        QTest::addColumn<QString>("percents");
        QTest::newRow("15-70 approaching")
            << MphBatch << 0 << "15 to 70 by 5 MPH"
            << "1 - 14|15 - 19|20 - 24|25 - 29|30 - 34|35 - 39|40 - 44|45 - 49|50 - 54|55 - 59|"
               "60 - 64|65 - 69|70 - 999"
            << "3|0|5|10|20|45|10|5|0|1|0|0|1"
            << "3.%|.%|5.%|10.%|20.%|45.%|10.%|5.%|.%|1.%|.%|.%|1.%";
        QTest::newRow("1-25 both")
            << MphBatch << 2 << "1 to 25 by 2 MPH"
            << "1 - 2|3 - 4|5 - 6|7 - 8|9 - 10|11 - 12|13 - 14|15 - 16|17 - 18|19 - 20|21 - 22|"
               "23 - 24|25 - 999"
            << "0|0|0|0|0|0|3|0|0|5|0|0|105"
            << ".%|.%|.%|.%|.%|.%|2.65%|.%|.%|4.42%|.%|.%|92.92%";
        QTest::newRow("20-42 receding")
            << MphBatch << 1 << "20 to 42 by 2 MPH"
            << "1 - 19|20 - 21|22 - 23|24 - 25|26 - 27|28 - 29|30 - 31|32 - 33|34 - 35|36 - 37|"
               "38 - 39|40 - 41|42 - 999"
            << "0|0|0|0|0|0|4|0|0|4|0|4|0"
            << ".%|.%|.%|.%|.%|.%|33.33%|.%|.%|33.3%|.%|33.3%|.%";
        QTest::newRow("30-52 both")
            << MphBatch << 2 << "30 to 52 by 2 MPH"
            << "1 - 29|30 - 31|32 - 33|34 - 35|36 - 37|38 - 39|40 - 41|42 - 43|44 - 45|46 - 47|"
               "48 - 49|50 - 51|52 - 999"
            << "18|4|21|30|19|0|14|0|0|5|0|0|2"
            << "15.93%|3.54%|18.58%|26.55%|16.8%|.%|12.39%|.%|.%|4.42%|.%|.%|1.77%";
        QTest::newRow("65-120 approaching")
            << KphBatch << 0 << "65 to 120 by 5 KPH"
            << "1 - 64|65 - 69|70 - 74|75 - 79|80 - 84|85 - 89|90 - 94|95 - 99|100 - 104|"
               "105 - 109|110 - 114|115 - 119|120 - 999"
            << "15|5|0|0|0|0|0|0|10|0|0|0|5"
            << "42.86%|14.29%|.%|.%|.%|.%|.%|.%|28.57%|.%|.%|.%|14.29%";
        QTest::newRow("35-90 receding, no vehicles")
            << KphBatch << 1 << "35 to 90 by 5 KPH"
            << "1 - 34|35 - 39|40 - 44|45 - 49|50 - 54|55 - 59|60 - 64|65 - 69|70 - 74|75 - 79|"
               "80 - 84|85 - 89|90 - 999"
            << "0|0|0|0|0|0|0|0|0|0|0|0|0"
            << "N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A";
    }
    void schemes()
    {
        QFETCH(QString, batch);
        QFETCH(int, direction);
        QFETCH(QString, scheme);
        frmRoadtally w;
        showSurvey(w, batch);
        w.summary->Option1[direction]->click();
        QVERIFY(!w.summary->Command6->isEnabled());
        choose(w.summary->Combo1, scheme);
        QVERIFY(w.summary->Command6->isEnabled());
        QTEST(texts(w.summary->Label1, 1, 13).join(QLatin1Char('|')), "labels");
        QTEST(texts(w.summary->Label2, 0, 12).join(QLatin1Char('|')), "volumes");
        QTEST(texts(w.summary->Label2, 13, 25).join(QLatin1Char('|')), "percents");
    }

    // Without a chosen scheme there is no table and no summary to print.
    void promptDisablesPrint()
    {
        frmRoadtally w;
        showSurvey(w, MphBatch);
        w.summary->Option1[0]->click();
        w.summary->Combo1->setEditText(QStringLiteral("** Select Display Scheme **"));
        w.summary->Combo1_Click();
        QVERIFY(!w.summary->Command6->isEnabled());
        QCOMPARE(w.summary->Label1[1]->text(), QStringLiteral("1 - 14")); // the design labels stay
        QCOMPARE(w.summary->Label2[0]->text(), QString());
        choose(w.summary->Combo1, w.summary->Combo1->itemText(0));
        QVERIFY(w.summary->Command6->isEnabled());
        w.summary->Combo1->setEditText(QStringLiteral("** Select Display Scheme **"));
        w.summary->Combo1_Click();
        QVERIFY(!w.summary->Command6->isEnabled());
        QCOMPARE(w.summary->Label2[0]->text(), QString());
        QVERIFY(!w.summary->prepareReport(QStringLiteral("35 to 90 by 5 KPH"))); // another unit's
        QVERIFY(!w.summary->Command6->isEnabled());
    }

    void directions_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QStringList>("values"); // 36, 37, 38, 27, 28, 26, 32
        QTest::addColumn<QStringList>("bands");  // 45..48
        QTest::addColumn<QStringList>("shares"); // 56, 57, 51..54
        QTest::addColumn<QString>("caption");
        QTest::newRow("approaching")
            << MphBatch << 0
            << QStringList{u"29 to 39"_s, u"65"_s, u"65.0%"_s, u"34.0"_s, u"40"_s, u"32"_s, u"68"_s}
            << QStringList{u"25"_s, u"6"_s, u"1"_s, u"32"_s}
            << QStringList{u"68.%"_s, u"32.%"_s, u"25.%"_s, u"6.%"_s, u"1.%"_s, u"32.%"_s}
            << "Percent of total (approaching)";
        QTest::newRow("receding") << MphBatch << 1
                                  << QStringList{u"31 to 41"_s, u"8"_s, u"66.7%"_s, u"36.0"_s,
                                                 u"42"_s,       u"8"_s, u"4"_s}
                                  << QStringList{u"8"_s, u"0"_s, u"0"_s, u"8"_s}
                                  << QStringList{u"33.33%"_s, u"66.67%"_s, u"66.67%"_s,
                                                 u".%"_s,     u".%"_s,     u"66.67%"_s}
                                  << "Percent of total (receeding)";
        QTest::newRow("both") << MphBatch << 2
                              << QStringList{u"29 to 39"_s, u"70"_s, u"61.9%"_s, u"34.1"_s,
                                             u"40"_s,       u"40"_s, u"73"_s}
                              << QStringList{u"33"_s, u"6"_s, u"1"_s, u"40"_s}
                              << QStringList{u"64.6%"_s, u"35.4%"_s, u"29.2%"_s,
                                             u"5.31%"_s, u".88%"_s,  u"35.4%"_s}
                              << "Percent of total";
        QTest::newRow("receding without vehicles")
            << KphBatch << 1 << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s, u"0"_s, u"0"_s}
            << QStringList{u"0"_s, u"0"_s, u"0"_s, u"0"_s}
            << QStringList{u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s}
            << "Percent of total (receeding)";
    }
    void directions()
    {
        QFETCH(QString, batch);
        QFETCH(int, direction);
        QFETCH(QStringList, values);
        QFETCH(QStringList, bands);
        QFETCH(QStringList, shares);
        frmRoadtally w;
        showSurvey(w, batch);
        // A scheme chosen for another direction stays chosen, its table redrawn
        // for the new direction as if chosen there.
        w.summary->Option1[(direction + 1) % 3]->click();
        const QString scheme = w.summary->Combo1->itemText(1);
        choose(w.summary->Combo1, scheme);
        QVERIFY(!w.summary->Label2[0]->text().isEmpty());

        w.summary->Option1[direction]->click();
        QCOMPARE(w.summary->Combo1->currentText(), scheme);
        QVERIFY(w.summary->Command6->isEnabled());
        const QStringList redrawn = texts(w.summary->Label2, 0, 25);
        QVERIFY(!redrawn.first().isEmpty());
        choose(w.summary->Combo1, scheme);
        QCOMPARE(redrawn, texts(w.summary->Label2, 0, 25));
        const QStringList got{w.summary->Label2[36]->text(), w.summary->Label2[37]->text(),
                              w.summary->Label2[38]->text(), w.summary->Label2[27]->text(),
                              w.summary->Label2[28]->text(), w.summary->Label2[26]->text(),
                              w.summary->Label2[32]->text()};
        QCOMPARE(got, values);
        QCOMPARE(texts(w.summary->Label2, 45, 48), bands);
        const QStringList gotShares{w.summary->Label2[56]->text(), w.summary->Label2[57]->text(),
                                    w.summary->Label2[51]->text(), w.summary->Label2[52]->text(),
                                    w.summary->Label2[53]->text(), w.summary->Label2[54]->text()};
        QCOMPARE(gotShares, shares);
        QTEST(w.summary->Label5[5]->text(), "caption");
        QCOMPARE(w.summary->Label2[40]->text(), w.summary->Label7[9]->text() + QStringLiteral("+"));
    }

    // The 85th percentile chart marks the pace and the 85th percentile of the
    // summary's direction: after a change there, the tab shows them anew.
    void percentileFollowsSummary()
    {
        frmRoadtally w;
        w.show();
        showSurvey(w, MphBatch);
        w.summary->Option1[0]->click();
        w.SSTab->setCurrentWidget(w.percentile);
        w.percentile->direction[3]->click();
        QVERIFY(w.percentile->printGraph->isEnabled());
        const ChartData before = w.percentile->graph->graph().drawnData();
        w.SSTab->setCurrentIndex(0);
        w.summary->Option1[1]->click(); // receding: another pace and 85th percentile
        w.SSTab->setCurrentWidget(w.percentile);
        SpeedChartInput input;
        input.batch = MphBatch;
        input.postedLimit = w.summary->Label7[9]->text();
        input.radarMode = QStringLiteral("MPH");
        input.pace = QStringLiteral("31 to 41");
        input.percentile85 = QStringLiteral("42");
        DatabaseSession session(databasePathIn(m_dir.path()));
        const SpeedChartResult want = percent85Chart(session, input);
        QVERIFY(want.chart.colours != before.colours);
        QCOMPARE(w.percentile->graph->graph().drawnData().colours, want.chart.colours);
        QCOMPARE(w.percentile->chart().data.colours, want.chart.colours); // what is printed
        QVERIFY(w.percentile->printGraph->isEnabled());
    }

    void tabChange()
    {
        frmRoadtally w;
        w.show();
        showSurvey(w, MphBatch);
        w.volume->DateVolume->setEditText(QStringLiteral("12/31/25"));
        w.fifteen->Date15min->addItem(QStringLiteral("stale"));

        w.SSTab->setCurrentIndex(2);
        QVERIFY(!w.splashframe->isVisible());
        QVERIFY(w.LastButton->isVisibleTo(w.splashframe));
        QVERIFY(w.LastText->isVisibleTo(w.splashframe));
        // Nothing drawn or chosen yet: nothing to print.
        for (QPushButton *b : {w.percentile->printGraph, w.weekly->Command3, w.speeds->printGraph,
                               w.volume->Command5, w.summary->Command6, w.fifteen->Command7})
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        const QStringList calendar{u"12/30/25"_s, u"12/31/25"_s, u"01/01/26"_s, u"01/02/26"_s};
        QCOMPARE(items(w.volume->DateVolume), calendar);
        QCOMPARE(items(w.fifteen->Date15min), calendar);
        QCOMPARE(w.volume->DateVolume->currentText(), QStringLiteral("**Select a Date**"));
        QCOMPARE(w.fifteen->Date15min->currentText(), QStringLiteral("**Select a Date**"));

        // A date shown without its chart is forgotten by the next tab change and return.
        w.volume->DateVolume->setEditText(calendar[1]);
        w.SSTab->setCurrentIndex(3);
        w.SSTab->setCurrentIndex(2);
        QVERIFY(!w.volume->Command5->isEnabled());
        QCOMPARE(w.volume->DateVolume->currentText(), QStringLiteral("**Select a Date**"));
        QCOMPARE(items(w.volume->DateVolume), calendar);

        // Another survey gets its own dates.
        QVERIFY(w.Data2->findFirst(QStringLiteral("Batch_Number"), KphBatch));
        w.SSTab->setCurrentIndex(0);
        QCOMPARE(items(w.fifteen->Date15min), QStringList{QStringLiteral("03/16/26")});
    }

    void lastSurvey()
    {
        frmRoadtally w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.LastButton->isVisible());
        w.showStartPanel();
        QVERIFY(!w.LastButton->isVisible());

        w.SSTab->setCurrentIndex(1);
        w.showStartPanel();
        QVERIFY(w.splashframe->isVisible());
        QVERIFY(w.LastButton->isVisible());
        QVERIFY(w.LastText->isVisible());
        w.SSTab->setEnabled(false);
        QTest::mouseClick(w.LastButton, Qt::LeftButton);
        QVERIFY(!w.splashframe->isVisible());
        QVERIFY(w.SSTab->isEnabled());
        QVERIFY(!w.summary->FrameS->isHidden());
        QCOMPARE(w.summary->Label7[4]->text(), MphBatch); // the sources did not move
    }

    void openSurveyFromStartPanel()
    {
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.weekly->Day3A[5]->setText(QStringLiteral("17"));
        w.weekly->Split[2]->setText(QStringLiteral("60.0 | 40.0"));
        QTest::mouseClick(w.Label14, Qt::LeftButton);
        QVERIFY(!w.isEnabled());
        QVERIFY(!w.splashframe->isVisible());
        QVERIFY(!w.summary->FrameS->isVisible());
        QCOMPARE(w.SSTab->currentIndex(), 0);
        QCOMPARE(w.weekly->Day3A[5]->text(), QStringLiteral("*"));
        QCOMPARE(w.weekly->Split[2]->text(), QStringLiteral("*"));

        frmOpenSurvey &chooser = form<frmOpenSurvey>();
        QVERIFY(chooser.isVisible());
        const QList<QListWidgetItem *> found =
            chooser.Batch_List->findItems(KphBatch, Qt::MatchStartsWith);
        QCOMPARE(found.size(), 1);
        chooser.Batch_List_DblClick(found.first());
        QVERIFY(w.isEnabled());
        QVERIFY(w.summary->FrameS->isVisible());
        QVERIFY(w.m4->menuAction()->isEnabled());
        QCOMPARE(w.summary->Label7[4]->text(), KphBatch);
        QCOMPARE(w.summary->PaceCaption[2]->text(), QStringLiteral("10 KPH Pace"));
        QVERIFY(w.summary->Option1[0]->isChecked());
        QCOMPARE(w.summary->Label2[32]->text(), QStringLiteral("15"));
        QCOMPARE(w.summary->Label2[57]->text(), QStringLiteral("57.14%"));
        delete &w;
        delete &chooser;
    }

    void openSurveyFromMenu()
    {
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.mnuOpenStudy->trigger();
        QVERIFY(!w.isEnabled());
        QVERIFY(!w.SSTab->isEnabledTo(&w));
        QVERIFY(w.splashframe->isVisible()); // the menu leaves the start panel
        form<frmOpenSurvey>().Command1_Click();
        QVERIFY(w.isEnabled());
        QVERIFY(w.splashframe->isVisible());
        delete &form<frmOpenSurvey>();
        delete &w;
    }

    void loadRawData_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("start panel") << false;
        QTest::newRow("menu") << true;
    }
    void loadRawData()
    {
        QFETCH(bool, fromMenu);
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.weekly->Day1A[0]->setText(QStringLiteral("12"));
        w.summary->FrameS->show();
        w.SSTab->setCurrentIndex(4);
        w.SSTab->setCurrentIndex(0);
        w.showStartPanel();
        if (fromMenu)
            w.mnuProcessRawData->trigger();
        else
            QTest::mouseClick(w.Label28, Qt::LeftButton);
        QVERIFY(!w.isEnabled());
        QVERIFY(w.summary->FrameS->isHidden());
        QCOMPARE(w.SSTab->currentIndex(), 0);
        QCOMPARE(w.SSTab->isEnabledTo(&w), !fromMenu);
        QCOMPARE(w.splashframe->isHidden(), !fromMenu);
        QCOMPARE(w.weekly->Day1A[0]->text(), QStringLiteral("12")); // the weekly grid stays

        frmLoadDataFile &dialog = form<frmLoadDataFile>();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.File1->isEnabled());
        QCOMPARE(dialog.File->text().remove(QLatin1Char('&')), QStringLiteral("Load File"));
        QVERIFY(!dialog.DeleteFile->isEnabled());
        delete &dialog;
        delete &w;
    }

    // The explained captions and the About item open their windows and leave
    // the main window enabled.
    void informationWindows_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("window");
        QTest::newRow("Image1") << "Image1"
                                << "Pace Description";
        QTest::newRow("Pace Range") << "Label5_0"
                                    << "Pace Description";
        QTest::newRow("Number in Pace") << "Label5_1"
                                        << "Pace Description";
        QTest::newRow("Percent in Pace") << "Label5_2"
                                         << "Pace Description";
        QTest::newRow("Posted Limit") << "Label5_4"
                                      << "Pace Description";
        QTest::newRow("Percent of Total") << "Label5_5"
                                          << "Pace Description";
        QTest::newRow("Label85th") << "Label85th_31"
                                   << "85th Percentile";
        QTest::newRow("About") << "mnuAbout"
                               << "About Roadtally";
    }
    void informationWindows()
    {
        QFETCH(QString, control);
        QFETCH(QString, window);
        frmRoadtally w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        showSurvey(w, MphBatch);
        if (auto *action = w.findChild<QAction *>(control)) {
            action->trigger();
        } else {
            auto *label = w.findChild<ClickLabel *>(control);
            QVERIFY(label);
            QTest::mouseClick(label, Qt::LeftButton);
        }
        QWidget *shown = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->windowTitle() == window)
                shown = top;
        QVERIFY2(shown, qPrintable(window));
        QVERIFY(w.isEnabled());
        shown->hide();
    }

    void unusableDatabase_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("backup"); // OV97.BAK beside it
        QTest::newRow("missing") << false << QByteArray() << false;
        QTest::newRow("empty file") << true << QByteArray() << false;
        QTest::newRow("not a database")
            << true << QByteArray("this is not a survey database\n") << false;
        QTest::newRow("missing, backup beside") << false << QByteArray() << true;
        QTest::newRow("not a database, backup beside")
            << true << QByteArray("this is not a survey database\n") << true;
    }
    void unusableDatabase()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, content);
        QFETCH(bool, backup);
        QTemporaryDir dir;
        const QString path = databasePathIn(dir.path());
        if (exists) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        if (backup) {
            QFile f(QDir(dir.path()).filePath(QStringLiteral("OV97.BAK")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("a backup");
        }
        sharedState().setProgramFolder(dir.path());
        frmRoadtally w;
        QVERIFY(w.databaseError().contains(path));
        QVERIFY(!w.SSTab->isEnabled());
        QVERIFY(!w.Command9->isEnabled());
        QVERIFY(!w.Command10->isEnabled());
        QVERIFY(!w.mnuOpenStudy->isEnabled());
        QVERIFY(w.mnuExit->isEnabled());
        QVERIFY(w.mnuManageDatabase->isEnabled());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QMessageBox *box = nullptr;
        QTRY_VERIFY((box = w.findChild<QMessageBox *>()) != nullptr);
        QCOMPARE(box->windowTitle(), QStringLiteral("Roadtally"));
        QVERIFY(box->text().contains(QStringLiteral("OV97.mdb")));
        // The way back to work when there is one: the last backup.
        QCOMPARE(box->text().contains(QStringLiteral("OV97.BAK")), backup);
        QCOMPARE(box->text().contains(QStringLiteral(
                     "Edit > Repair & Backup Database > Restore Backup Database can bring back "
                     "the last backup")),
                 backup);
        if (const QString out = qEnvironmentVariable("ROADTALLY_SHOTS"); !out.isEmpty()) {
            QTRY_VERIFY(box->isVisible());
            box->grab().save(
                out + QStringLiteral("/start-%1.png").arg(QLatin1String(QTest::currentDataTag())));
        }
        box->accept();
    }

    void screenshots()
    {
        const QString out = qEnvironmentVariable("ROADTALLY_SHOTS");
        if (out.isEmpty())
            QSKIP("set ROADTALLY_SHOTS to a folder to save the window's pictures");
        QDir().mkpath(out);
        frmRoadtally w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.grab().save(out + QStringLiteral("/main-start.png"));
        showSurvey(w, MphBatch);
        w.splashframe->hide();
        w.summary->Option1[0]->click();
        choose(w.summary->Combo1, QStringLiteral("15 to 70 by 5 MPH"));
        w.grab().save(out + QStringLiteral("/main-summary.png"));
        w.resize(1600, 1000);
        QApplication::processEvents();
        w.grab().save(out + QStringLiteral("/main-summary-large.png"));
        w.resize(1280, 800);
        for (int t = 1; t < 6; ++t) {
            w.SSTab->setCurrentIndex(t);
            QApplication::processEvents();
            w.grab().save(out + QStringLiteral("/main-tab%1.png").arg(t));
        }
        w.SSTab->setCurrentIndex(0);
        w.showStartPanel();
        w.grab().save(out + QStringLiteral("/main-start-last.png"));
        showSurvey(w, KphBatch);
        w.splashframe->hide();
        w.summary->Option1[1]->click();
        choose(w.summary->Combo1, QStringLiteral("35 to 90 by 5 KPH"));
        w.grab().save(out + QStringLiteral("/main-summary-kph-receding.png"));
    }
};

QTEST_MAIN(tst_frmRoadtally)
#include "tst_frmRoadtally.moc"

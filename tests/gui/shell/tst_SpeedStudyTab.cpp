// The "Speed Study" tab on the known surveys: a direction click reads the
// figures of that direction, the print button asks for report 8, and an empty
// or unknown batch, a missing or broken database each give a message in the
// tab instead of figures. ROADTALLY_SCREENSHOT_DIR=DIR saves the tab showing
// the generated week-long sample as DIR/speed-study-tab.png, to look at.
#include "fixtures/ViewsFixture.h"

#include "core/intake/ImportRequest.h"
#include "core/intake/RawDataFile.h"
#include "core/intake/VehicleImport.h"
#include "gui/kit/WidgetKit.h"
#include "gui/shell/SpeedStudyChartView.h"
#include "gui/shell/SpeedStudyTab.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

using namespace roadtally;

namespace {

// The Study column of the row with that label (without its indent).
QString figure(const SpeedStudyTab &tab, const QString &label)
{
    for (int r = 0; r < tab.figures->rowCount(); ++r)
        if (tab.figures->item(r, 0)->text().trimmed() == label)
            return tab.figures->item(r, 1)->text();
    return QStringLiteral("(no row %1)").arg(label);
}

// A click on the option's circle (its middle may lie beyond its caption).
void clickOption(QRadioButton *option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

QString program(const SpeedStudyTab &tab, const QString &label)
{
    for (int r = 0; r < tab.figures->rowCount(); ++r)
        if (tab.figures->item(r, 0)->text().trimmed() == label)
            return tab.figures->item(r, 2)->text();
    return QStringLiteral("(no row %1)").arg(label);
}

} // namespace

class tst_SpeedStudyTab : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_database = m_dir.filePath(QStringLiteral("OV97.mdb"));
        QCOMPARE(testing::writeKnownSurveys(m_database), QString());
    }

    void directionClickReadsThatDirection_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("vehicles");
        QTest::addColumn<QString>("programMean");
        QTest::newRow("receding") << 1 << "12"
                                  << "36.0 mph";
        QTest::newRow("both") << 2 << "113"
                              << "34.1 mph";
        QTest::newRow("approaching") << 0 << "100"
                                     << "34.0 mph";
    }
    void directionClickReadsThatDirection()
    {
        QFETCH(int, option);
        SpeedStudyTab tab;
        tab.resize(1250, 680);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        // A new survey opens on approaching vehicles.
        tab.showSurvey(m_database, testing::MphBatch + QStringLiteral("   "));
        QCOMPARE(tab.direction(), SurveyDirection::Approaching);
        QVERIFY(tab.study());
        QCOMPARE(tab.message(), QString());
        QCOMPARE(figure(tab, QStringLiteral("Vehicles")), QStringLiteral("100"));

        QSignalSpy changed(&tab, &SpeedStudyTab::directionChanged);
        clickOption(tab.directionOption[option]);
        QCOMPARE(tab.direction(), SurveyDirection(option));
        QCOMPARE(changed.size(), option == 0 ? 0 : 1); // approaching was already chosen
        QVERIFY(tab.study());
        QCOMPARE(tab.study()->direction, SurveyDirection(option));
        QTEST(figure(tab, QStringLiteral("Vehicles")), "vehicles");
        QTEST(program(tab, QStringLiteral("Mean speed")), "programMean");
        QVERIFY(tab.printStudy->isEnabled());
        QVERIFY(tab.studyCharts->hasStudy());
        QVERIFY(tab.studyTitle->text().contains(testing::MphBatch));
    }

    // Figures as the table shows them: units, catch-all forms, the program's beside.
    void figuresWithUnits()
    {
        SpeedStudyTab tab;
        tab.showSurvey(m_database, testing::MphBatch);
        QCOMPARE(figure(tab, QStringLiteral("85th percentile (ranked)")), QStringLiteral("40 mph"));
        QCOMPARE(program(tab, QStringLiteral("85th percentile (ranked)")),
                 QStringLiteral("40 mph"));
        QCOMPARE(figure(tab, QStringLiteral("95th percentile (ranked)")), QStringLiteral("47 mph"));
        QCOMPARE(program(tab, QStringLiteral("Pace (10 mph)")), QStringLiteral("29 to 39 mph"));
        QVERIFY(figure(tab, QStringLiteral("Percent in pace")).endsWith(QLatin1Char('%')));
        // The km/h survey: windows of 20 and the catch-all row at 121.
        tab.showSurvey(m_database, testing::KphBatch);
        QCOMPARE(figure(tab, QStringLiteral("95th percentile (ranked)")),
                 QStringLiteral("121 or more km/h"));
        QCOMPARE(figure(tab, QStringLiteral("95th percentile (interpolated)")),
                 QStringLiteral("N/A"));
        QVERIFY(!tab.studyNotes->text().isEmpty());
    }

    void printAsksForTheStudyReport()
    {
        SpeedStudyTab tab;
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        QSignalSpy print(&tab, &SpeedStudyTab::printRequested);
        tab.showSurvey(m_database, testing::MphBatch);
        QTest::mouseClick(tab.printStudy, Qt::LeftButton);
        QCOMPARE(print.size(), 1);
        QCOMPARE(print.first().first().value<ReportKind>(), ReportKind::SpeedZoneStudy);
    }

    void messagesInsteadOfFigures_data()
    {
        QTest::addColumn<QString>("database"); // "" the known surveys
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QString>("message");
        QTest::newRow("no survey") << ""
                                   << ""
                                   << "No survey is shown";
        QTest::newRow("blank batch") << ""
                                     << "   "
                                     << "No survey is shown";
        QTest::newRow("unknown batch") << ""
                                       << "999999-Z"
                                       << "There is no survey with batch number 999999-Z.";
        QTest::newRow("missing database")
            << "missing" << testing::MphBatch << "There is no survey database";
        QTest::newRow("not a database") << "garbage" << testing::MphBatch << "garbage";
    }
    void messagesInsteadOfFigures()
    {
        QFETCH(QString, database);
        QFETCH(QString, batch);
        QFETCH(QString, message);
        QString path = m_database;
        QTemporaryDir other;
        if (database == QLatin1String("missing")) {
            path = other.filePath(QStringLiteral("OV97.mdb"));
        } else if (database == QLatin1String("garbage")) {
            path = other.filePath(QStringLiteral("garbage.mdb"));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        SpeedStudyTab tab;
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        // Figures first, so the message must replace them.
        tab.showSurvey(m_database, testing::MphBatch);
        QVERIFY(tab.study());
        tab.showSurvey(path, batch);
        QVERIFY2(tab.message().contains(message), qPrintable(tab.message()));
        QVERIFY(!tab.study());
        QCOMPARE(tab.figures->rowCount(), 0);
        QVERIFY(!tab.printStudy->isEnabled());
        QVERIFY(!tab.studyCharts->hasStudy());
        // Changing direction on a message reads again and stays orderly.
        clickOption(tab.directionOption[2]);
        QVERIFY(!tab.message().isEmpty());
        // And the survey comes back when it can be read again.
        tab.showSurvey(m_database, testing::MphBatch);
        QVERIFY(tab.study());
        QCOMPARE(figure(tab, QStringLiteral("Vehicles")), QStringLiteral("113"));
    }

    void clearSurveyEmptiesTheTab()
    {
        SpeedStudyTab tab;
        tab.showSurvey(m_database, testing::MphBatch);
        tab.clearSurvey();
        QVERIFY(!tab.study());
        QCOMPARE(tab.batch(), QString());
        QVERIFY(tab.message().startsWith(QLatin1String("No survey is shown")));
    }

    void accessKeys()
    {
        SpeedStudyTab tab;
        for (QAbstractButton *b : {static_cast<QAbstractButton *>(tab.directionOption[0]),
                                   static_cast<QAbstractButton *>(tab.directionOption[1]),
                                   static_cast<QAbstractButton *>(tab.directionOption[2]),
                                   static_cast<QAbstractButton *>(tab.printStudy)})
            QVERIFY2(b->text().contains(QLatin1Char('&')), qPrintable(b->text()));
    }

    // The generated week-long sample, grabbed to a picture when asked.
    void screenshot()
    {
        const QString folder = qEnvironmentVariable("ROADTALLY_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("set ROADTALLY_SCREENSHOT_DIR to save the tab as a picture");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
        QCOMPARE(createBlankDatabase(path), QString());
        const LoadResult loaded =
            loadRawDataPath(QStringLiteral(ROADTALLY_SOURCE_DIR "/samples/Sample7Day.ovd"));
        QCOMPARE(loaded.status, LoadStatus::Loaded);
        ImportRequest request;
        request.location = QStringLiteral("Oak Street between 3rd and 4th");
        request.direction = QStringLiteral("North");
        request.zone = QStringLiteral("Residential");
        const ImportInput input = buildImportInput(loaded.text, request);
        QCOMPARE(importSurvey(path, input).outcome, ImportOutcome::Stored);

        QWidget window;
        window.setStyleSheet(QString::fromLatin1(kit::windowStyleSheet()));
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *tab = new SpeedStudyTab;
        layout->addWidget(tab);
        window.resize(1262, 690); // the tab page of the main window at its first size
        window.show();
        tab->showSurvey(path, input.batchNumber);
        QVERIFY(tab->study());
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.grab().save(QDir(folder).filePath(QStringLiteral("speed-study-tab.png"))));
        tab->showSurvey(m_database, testing::KphBatch);
        QVERIFY(window.grab().save(QDir(folder).filePath(QStringLiteral("speed-study-kph.png"))));
        tab->showSurvey(path, QStringLiteral("010101-Q"));
        QVERIFY(
            window.grab().save(QDir(folder).filePath(QStringLiteral("speed-study-message.png"))));
    }

private:
    QTemporaryDir m_dir;
    QString m_database;
};

QTEST_MAIN(tst_SpeedStudyTab)
#include "tst_SpeedStudyTab.moc"

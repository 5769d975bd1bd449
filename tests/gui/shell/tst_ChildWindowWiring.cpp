// The main window with its administration and speeding profile windows: what it
// hands over when it opens them, and what it does with their signals.
#include "fixtures/ViewsFixture.h"

#include "core/stats/Statistics.h"
#include "core/store/PagedQueryModel.h"
#include "core/store/SharedState.h"
#include "gui/admin/frmAdminSetup.h"
#include "gui/admin/frmSpeed_Profile.h"
#include "gui/kit/Forms.h"
#include "gui/preview/VSPrint.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/frmRoadtally.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;
using namespace roadtally::testing;

namespace {

// The speeding vehicles of the mph survey, as the import stores them: the
// approaching and receding vehicles over 35 of the fixture's speed table.
void storeSpeedingVehicles(const QString &path)
{
    Vehicles vehicles;
    auto add = [&](const Counts &counts, char direction) {
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            for (int i = 0; i < it.value(); ++i) {
                Vehicle v;
                v.direction = direction;
                v.speed = it.key();
                v.date = QDate(2025, 12, 30);
                v.secondOfDay = 8 * 3600 + int(vehicles.size()) * 30;
                vehicles.append(v);
            }
    };
    add(mphApproaching(), '+');
    add(mphReceding(), '-');
    add(mphUnknown(), '?');
    DatabaseSession session(path);
    Transaction transaction(session);
    storeSpeedProfile(session, MphBatch, computeSpeedProfile(vehicles, QStringLiteral("035")));
    transaction.commit();
}

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

void cleanUp()
{
    if (formExists<frmSpeed_Profile>())
        delete &form<frmSpeed_Profile>();
    if (formExists<frmAdminSetup>())
        delete &form<frmAdminSetup>();
    if (formExists<frmRoadtally>())
        delete &form<frmRoadtally>();
}

} // namespace

class tst_ChildWindowWiring : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        sharedState().setProgramFolder(m_dir.path());
        const QString path = databasePathIn(m_dir.path());
        const QString error = writeKnownSurveys(path);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        storeSpeedingVehicles(path);
    }

    void init() { sharedState().setProgramFolder(m_dir.path()); }
    void cleanup() { cleanUp(); }

    void profileShowsTheChosenDirection_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("description");
        QTest::newRow("approaching") << 0 << 32 << "32"
                                     << "Approaching vehicles only";
        QTest::newRow("receding") << 1 << 8 << "8"
                                  << "Receding vehicles only";
        QTest::newRow("both") << 2 << 40 << "40"
                              << "All vehicles";
    }

    void profileShowsTheChosenDirection()
    {
        QFETCH(int, direction);
        QFETCH(int, rows);
        QFETCH(QString, count);
        QFETCH(QString, description);
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        showSurvey(w, MphBatch);
        w.summary->Option1[direction]->click();
        QTest::mouseClick(w.summary->Command1, Qt::LeftButton);

        QVERIFY(!w.isEnabled());
        frmSpeed_Profile &profile = form<frmSpeed_Profile>();
        QVERIFY(profile.isVisible());
        QCOMPARE(profile.selection().batchNumber, MphBatch);
        QCOMPARE(profile.Label2->text(), QStringLiteral("035"));
        QCOMPARE(profile.Label4->text(), count);
        QCOMPARE(profile.Label4->text(), w.summary->Label2[48]->text());
        QCOMPARE(profile.Label6->text(), description);
        QCOMPARE(profile.Data1->rowCount(), rows);
        QCOMPARE(profile.Data1->headerData(2, Qt::Horizontal).toString(), QStringLiteral("035+"));
        QCOMPARE(profile.Data1->headerData(3, Qt::Horizontal).toString(), QStringLiteral("45+"));
        QCOMPARE(profile.Data1->headerData(4, Qt::Horizontal).toString(), QStringLiteral("55+"));

        QTest::mouseClick(profile.Command1, Qt::LeftButton);
        QVERIFY(!profile.isVisible());
        QVERIFY(w.isEnabled());
    }

    void profileFollowsAnotherSurvey()
    {
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        showSurvey(w, MphBatch);
        w.summary->Option1[2]->click();
        w.showSpeedProfile();
        frmSpeed_Profile &profile = form<frmSpeed_Profile>();
        QCOMPARE(profile.Data1->rowCount(), 40);
        profile.Command1_Click();

        showSurvey(w, KphBatch); // no speeding vehicles stored for it
        w.summary->Option1[0]->click();
        w.showSpeedProfile();
        QCOMPARE(profile.selection().batchNumber, KphBatch);
        QCOMPARE(profile.Data1->rowCount(), 0);
        QCOMPARE(profile.Data1->columnCount(), 6);
        profile.Command1_Click();
        QVERIFY(w.isEnabled());
    }

    void printFromProfileSetsReportSeven()
    {
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        showSurvey(w, MphBatch);
        w.showSpeedProfile();
        frmSpeed_Profile &profile = form<frmSpeed_Profile>();
        QTest::mouseClick(profile.Command2, Qt::LeftButton);
        QVERIFY(!profile.isVisible());
        // The main window waits for the preview, which gives it back when it closes.
        QVERIFY(!w.isEnabled());
        VSPrint *preview = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->windowTitle() == QStringLiteral("Roadtally Print Preview"))
                preview = qobject_cast<VSPrint *>(top);
        QVERIFY(preview);
        QCOMPARE(preview->report(), ReportKind::SpeedProfile);
        preview->close();
        QTRY_VERIFY(w.isEnabled());
    }

    void adminSetupChoosesOfficerAndUpdatesAgency()
    {
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        showSurvey(w, MphBatch);
        QCOMPARE(w.summary->Agency->text(), QStringLiteral("City of Brookhaven Police Department"));
        w.mnuAdminSetup->trigger();
        QVERIFY(!w.isEnabled());
        frmAdminSetup &admin = form<frmAdminSetup>();
        QVERIFY(admin.isVisible());

        // A new officer with a quote in the name, listed, chosen: the main window shows it.
        admin.AddOfficer_Click();
        QTest::keyClicks(admin.InputOfficer, QStringLiteral("Det. O'Brien"));
        admin.Refresh_Click();
        const QList<QListWidgetItem *> found =
            admin.List1->findItems(QStringLiteral("Det. O'Brien"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        admin.List1_Click(found.first());
        QCOMPARE(w.summary->Officer_Select->currentText(), QStringLiteral("Det. O'Brien"));

        admin.Text1->setText(QStringLiteral("Town of O'Fallon"));
        QTest::mouseClick(admin.AdminUpdate, Qt::LeftButton);
        QVERIFY(!admin.isVisible());
        QVERIFY(w.isEnabled());
        QCOMPARE(w.summary->Agency->text(), QStringLiteral("Town of O'Fallon"));
        QCOMPARE(w.summary->Officer_Select->currentText(), QStringLiteral("Det. O'Brien"));

        // The chosen officer deleted: after "Update" the main window shows the first one.
        w.showAdminSetup();
        admin.List1_Click(
            admin.List1->findItems(QStringLiteral("Det. O'Brien"), Qt::MatchExactly).first());
        admin.DeleteOfficer_Click();
        admin.AdminUpdate_Click();
        QCOMPARE(w.summary->Officer_Select->currentText(), QStringLiteral("Sgt. Dana Whitfield"));

        // Put back what the other cases expect.
        DatabaseSession session(databasePathIn(m_dir.path()));
        session.exec(QStringLiteral("UPDATE [Agency] SET [Admin_Agency] = ?"),
                     {QStringLiteral("City of Brookhaven Police Department")});
    }
};

QTEST_MAIN(tst_ChildWindowWiring)
#include "tst_ChildWindowWiring.moc"

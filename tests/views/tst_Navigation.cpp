// Getting about the main window and its child windows as a user does: the
// start panel after each way in and out, the keyboard, and a laptop screen.

#include "ViewsFixture.h"

#include "admin/frmOpenSurvey.h"
#include "store/SharedState.h"
#include "views/ClickLabel.h"
#include "views/Forms.h"
#include "views/SummaryTab.h"
#include "views/frmRoadtally.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;
using namespace roadtally::testing;

class tst_Navigation : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        sharedState().setProgramFolder(m_dir.path());
        const QString error = writeKnownSurveys(databasePathIn(m_dir.path()));
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void init() { sharedState().setProgramFolder(m_dir.path()); }

    void cleanup()
    {
        if (formExists<frmOpenSurvey>())
            delete &form<frmOpenSurvey>();
        if (formExists<frmRoadtally>())
            delete &form<frmRoadtally>();
    }

    // Whichever way the open-survey window was reached, and however often it
    // was cancelled, opening a survey shows the survey, not the start panel.
    void openingHidesTheStartPanel_data()
    {
        QTest::addColumn<QString>("steps"); // s: from the start panel, m: menu, c: Cancel
        QTest::newRow("start panel") << "s";
        QTest::newRow("menu") << "m";
        QTest::newRow("start panel, Cancel, menu") << "scm";
        QTest::newRow("menu, Cancel, menu") << "mcm";
        QTest::newRow("menu, Cancel, start panel") << "mcs";
    }

    void openingHidesTheStartPanel()
    {
        QFETCH(QString, steps);
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (const QChar step : steps) {
            if (step == QLatin1Char('s'))
                QTest::mouseClick(w.Label14, Qt::LeftButton);
            else if (step == QLatin1Char('m'))
                w.mnuOpenStudy->trigger();
            else
                QTest::mouseClick(form<frmOpenSurvey>().Command1, Qt::LeftButton);
        }
        frmOpenSurvey &chooser = form<frmOpenSurvey>();
        QVERIFY(chooser.isVisible());
        const QList<QListWidgetItem *> found =
            chooser.Batch_List->findItems(KphBatch, Qt::MatchStartsWith);
        QCOMPARE(found.size(), 1);
        chooser.Batch_List_DblClick(found.first());
        QVERIFY(w.isEnabled());
        QVERIFY(!w.splashframe->isVisible());
        QVERIFY(w.summary->FrameS->isVisible());
        QVERIFY(w.SSTab->isEnabled());
        QCOMPARE(w.summary->Label7[4]->text(), KphBatch);
    }
};

QTEST_MAIN(tst_Navigation)
#include "tst_Navigation.moc"

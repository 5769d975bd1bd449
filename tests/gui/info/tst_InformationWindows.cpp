// The information windows: their captions and texts as the program shows them,
// and the ways each one goes away.
#include "gui/admin/Blankform.h"
#include "gui/info/frmAbout.h"
#include "gui/info/pace_description.h"
#include "gui/info/percent.h"
#include "gui/kit/Forms.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace roadtally;

class tst_InformationWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void captions_data();
    void captions();
    void paceText();
    void percentText();
    void closeControlHides_data();
    void closeControlHides();
    void aboutHidesOnAnyClick_data();
    void aboutHidesOnAnyClick();
    void aboutPicturesAreDrawn();
    void blankformClickAsksForDatabaseManagement();
    void windowsAreCentred();
};

void tst_InformationWindows::captions_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::newRow("pace") << "pace"
                          << "Pace Description";
    QTest::newRow("percent") << "percent"
                             << "85th Percentile";
    QTest::newRow("about") << "about"
                           << "About Roadtally";
    QTest::newRow("blank") << "blank"
                           << "";
}

static QWidget *windowNamed(const QString &name)
{
    if (name == QLatin1String("pace"))
        return &form<pace_description>();
    if (name == QLatin1String("percent"))
        return &form<percent>();
    if (name == QLatin1String("about"))
        return &form<frmAbout>();
    return &form<Blankform>();
}

void tst_InformationWindows::captions()
{
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QCOMPARE(windowNamed(window)->windowTitle(), caption);
}

void tst_InformationWindows::paceText()
{
    pace_description &w = form<pace_description>();
    const QString text = w.Label1->text();
    QVERIFY(text.startsWith(QStringLiteral("Pace is that range of speed, usually taken at 10 mph "
                                           "intervals, that has the greatest number of")));
    QVERIFY(text.contains(QStringLiteral("(called the \"pace\"), which generally")));
    QVERIFY(text.contains(QStringLiteral("(the \"High Pace Speed\") which also is very close")));
    QVERIFY(text.endsWith(QStringLiteral("legalizes the vast majority of motorists.")));
    QCOMPARE(text.size(), 499);
    QVERIFY(w.Label1->wordWrap());
    QCOMPARE(w.Command1->text(), QStringLiteral("Close"));
}

void tst_InformationWindows::percentText()
{
    percent &w = form<percent>();
    const QString text = w.Label1->text();
    QVERIFY(text.startsWith(QStringLiteral("If the speeds of all motorists are ranked from slowest "
                                           "to fastest, the \"85th percentile speed\"")));
    // Two blanks before "About", one blank at the very end: the program's own text.
    QVERIFY(text.contains(QStringLiteral("vast majority of motorists.  About 70% of motorists")));
    QVERIFY(text.contains(QStringLiteral("typically the \"50th percentile speed\") Most")));
    QVERIFY(text.endsWith(QStringLiteral("the fastest 15% and the slowest 15%. ")));
    QVERIFY(!text.endsWith(QStringLiteral("  ")));
    QCOMPARE(w.Command1->text(), QStringLiteral("Hide"));
}

void tst_InformationWindows::closeControlHides_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("pace") << "pace";
    QTest::newRow("percent") << "percent";
}

void tst_InformationWindows::closeControlHides()
{
    QFETCH(QString, window);
    QWidget *w = windowNamed(window);
    auto *button = w->findChild<QPushButton *>();
    QVERIFY(button);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    // Hidden, not destroyed: the next request shows the same window.
    QVERIFY(windowNamed(window) == w);
    w->show();
    QVERIFY(w->isVisible());
    w->hide();
}

void tst_InformationWindows::aboutHidesOnAnyClick_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("window") << "window";
    QTest::newRow("first picture") << "Image1";
    QTest::newRow("second picture") << "Image2";
    QTest::newRow("version text") << "Label8";
}

void tst_InformationWindows::aboutHidesOnAnyClick()
{
    QFETCH(QString, where);
    frmAbout &about = form<frmAbout>();
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QWidget *target = &about;
    QPoint at(4, 4);
    if (where == QLatin1String("Image1"))
        target = about.Image1;
    else if (where == QLatin1String("Image2"))
        target = about.Image2;
    else if (where == QLatin1String("Label8"))
        target = about.Label8;
    if (target != &about)
        at = target->rect().center();
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    QVERIFY(!about.isVisible());
}

void tst_InformationWindows::aboutPicturesAreDrawn()
{
    frmAbout &about = form<frmAbout>();
    QCOMPARE(about.Label8->text(), QStringLiteral("Version 3.0.2"));
    for (QLabel *picture : {about.Image1, about.Image2}) {
        const QImage image = picture->pixmap().toImage();
        QVERIFY(!image.isNull());
        // Some real drawing: more than a handful of distinct colours.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 8, qPrintable(QString::number(colours.size())));
    }
}

void tst_InformationWindows::blankformClickAsksForDatabaseManagement()
{
    Blankform &blank = form<Blankform>();
    QSignalSpy spy(&blank, &Blankform::databaseManagementRequested);
    blank.show();
    QVERIFY(QTest::qWaitForWindowExposed(&blank));
    QTest::mouseClick(&blank, Qt::LeftButton, {}, blank.rect().center());
    QCOMPARE(spy.count(), 1);
    // The backdrop itself stays.
    QVERIFY(blank.isVisible());
    blank.hide();
}

void tst_InformationWindows::windowsAreCentred()
{
    for (QWidget *w :
         {static_cast<QWidget *>(&form<pace_description>()),
          static_cast<QWidget *>(&form<percent>()), static_cast<QWidget *>(&form<frmAbout>())}) {
        const QRect screen = w->screen()->geometry();
        const QRect frame = w->frameGeometry();
        QVERIFY2(qAbs(frame.center().x() - screen.center().x()) <= 1, qPrintable(w->windowTitle()));
        QVERIFY2(qAbs(frame.center().y() - screen.center().y()) <= 1, qPrintable(w->windowTitle()));
    }
}

QTEST_MAIN(tst_InformationWindows)
#include "tst_InformationWindows.moc"

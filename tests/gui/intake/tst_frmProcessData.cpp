// The processing window driven as a user drives it: the header from the loaded
// file, unit and range rules, corrections, raw text edits, the process command,
// and closing it, which asks before what was typed is lost.

#include "fixtures/DatabaseTrouble.h"
#include "fixtures/IntakeFixture.h"

#include "gui/intake/frmLoadDataFile.h"
#include "gui/intake/frmProcessData.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <sqlite3.h>

#include "sample/SampleSurvey.h"

#include <algorithm>

using namespace roadtally;
using namespace roadtally::testing;

namespace {

// Loads the sample file through the dialog and returns the processing window.
frmProcessData &loadSample()
{
    frmLoadDataFile &dialog = openLoadDialog();
    clickFile(dialog, SampleFile);
    QTest::mouseClick(dialog.File, Qt::LeftButton);
    return form<frmProcessData>();
}

void fillRequired(frmProcessData &window)
{
    QTest::keyClicks(window.Input_Location, QStringLiteral("Main St at 5th"));
    choose(window.Input_Direction, QStringLiteral("North"));
    choose(window.Input_Zone, QStringLiteral("Parks & Rec"));
}

// The process command, and the wait for the import it starts on its own thread.
void process(frmProcessData &window)
{
    QTest::mouseClick(window.Command2, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isImporting(), 60000);
}

// The values the progress bar shows at each of its paints while an import runs.
class PaintedValues : public QObject
{
public:
    PaintedValues(frmProcessData &window) : m_window(window)
    {
        window.ProcessBar->installEventFilter(this);
    }
    QList<int> values;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_window.isImporting())
            values << static_cast<QProgressBar *>(watched)->value();
        return false;
    }

private:
    frmProcessData &m_window;
};

QPushButton *stepButton(frmProcessData &window, const QString &name)
{
    if (name == QLatin1String("LowMinus"))
        return window.LowMinus;
    if (name == QLatin1String("LowPlus"))
        return window.LowPlus;
    if (name == QLatin1String("HighMinus"))
        return window.HighMinus;
    return window.HighPlus;
}

} // namespace

class tst_frmProcessData : public QObject
{
    Q_OBJECT
private slots:
    void loadFillsTheHeader();
    void fixedTexts();
    void unitAndRangeButtons_data();
    void unitAndRangeButtons();
    void stepLimits_data();
    void stepLimits();
    void loadSetsEveryFieldAfresh_data();
    void loadSetsEveryFieldAfresh();
    void badFilesRefusedAtLoad_data();
    void badFilesRefusedAtLoad();
    void unitOtherThanMphOrKphRefused_data();
    void unitOtherThanMphOrKphRefused();
    void headwayButtons_data();
    void headwayButtons();
    void batchLetter();
    void acceptOnlyPostedSpeed();
    void acceptEveryCorrection();
    void commitRederivesTheHeader();
    void activationClearsTheSurveyFields();
    void missingInputs_data();
    void missingInputs();
    void blankInputs_data();
    void blankInputs();
    void databaseFailureIsNotTheDataFile_data();
    void databaseFailureIsNotTheDataFile();
    void processStoresTheSurvey();
    void duplicateBatchRefused();
    void importFailures_data();
    void importFailures();
    void importKeepsTheWindowAlive();
    void importWaitsForABusyDatabase();
    void cancelReturnsToTheStartPanel_data();
    void cancelReturnsToTheStartPanel();
    void escapeOnOpenDropDownKeepsTheWindow();
    void closingAsksBeforeDiscarding_data();
    void closingAsksBeforeDiscarding();
};

void tst_frmProcessData::loadFillsTheHeader()
{
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    QVERIFY(window.isVisible());
    QCOMPARE(window.Input_Batch_Number->text(), QStringLiteral("052401-A"));
    QCOMPARE(window.Input_Location_Code->text(), QStringLiteral("00020"));
    QCOMPARE(window.Input_Batch_Date->text(), QStringLiteral("05/24/2001"));
    QCOMPARE(window.Input_Start_Time->text(), QStringLiteral("13:45"));
    QCOMPARE(window.Input_Posted_Speed->text(), QStringLiteral("105"));
    QCOMPARE(window.Label2->text(), QStringLiteral("052401"));
    QCOMPARE(window.sstab->currentIndex(), 0);
}

void tst_frmProcessData::fixedTexts()
{
    IntakeFixture fixture;
    frmProcessData &window = form<frmProcessData>();
    QCOMPARE(window.windowTitle(), QStringLiteral("Process Raw Data"));
    const QStringList tabs = {QStringLiteral(" Process Raw Data"), QStringLiteral("Modify Header"),
                              QStringLiteral("Filter Raw Data"), QStringLiteral("Modify Raw Data")};
    for (int i = 0; i < tabs.size(); ++i)
        QCOMPARE(window.sstab->tabText(i), tabs[i]);
    QCOMPARE(window.tags.size(), 10);
    QCOMPARE(window.Trailer_code->count(), 26);
    QCOMPARE(window.Trailer_code->currentText(), QStringLiteral("A"));
    QCOMPARE(window.Input_Zone->itemText(10), QStringLiteral("Parks & Rec"));
    QCOMPARE(window.Label48[1]->text(), QStringLiteral("Start Start time format is \"hh:mm\""));
    QCOMPARE(window.Label48[5], nullptr);
    QCOMPARE(window.SpdMin->text(), QStringLiteral("10"));
    QCOMPARE(window.SpdMax->text(), QStringLiteral("100"));
    QCOMPARE(window.ShowHeadway->text(), QStringLiteral("0"));
}

void tst_frmProcessData::unitAndRangeButtons_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("button"); // "" for the unit choice alone
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::newRow("KPH chosen") << "KPH"
                                << ""
                                << "15"
                                << "160";
    QTest::newRow("MPH chosen") << "MPH"
                                << ""
                                << "10"
                                << "100";
    QTest::newRow("KPH low range") << "KPH"
                                   << "LowDefault"
                                   << "15"
                                   << "160";
    QTest::newRow("MPH low range") << "MPH"
                                   << "LowDefault"
                                   << "0"
                                   << "30";
    QTest::newRow("KPH default") << "KPH"
                                 << "SpdDefault"
                                 << "15"
                                 << "160";
    QTest::newRow("MPH default") << "MPH"
                                 << "SpdDefault"
                                 << "10"
                                 << "100";
}

void tst_frmProcessData::unitAndRangeButtons()
{
    QFETCH(QString, unit);
    QFETCH(QString, button);
    QFETCH(QString, low);
    QFETCH(QString, high);
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    // Start away from both defaults, so every button visibly acts.
    window.LowDefault->click();
    window.HighPlus->click();

    choose(window.Combo1, unit);
    QCOMPARE(window.RadarMode->text(), unit);
    if (button == QLatin1String("LowDefault"))
        QTest::mouseClick(window.LowDefault, Qt::LeftButton);
    else if (button == QLatin1String("SpdDefault"))
        QTest::mouseClick(window.SpdDefault, Qt::LeftButton);

    QCOMPARE(window.SpdMin->text(), low);
    QCOMPARE(window.SpdMax->text(), high);
    QCOMPARE(window.SpdMin2->text(), low);
    QCOMPARE(window.SpdMax2->text(), high);
}

void tst_frmProcessData::stepLimits_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("MPH low - at 5") << "MPH"
                                    << "LowMinus" << 5 << 0;
    QTest::newRow("MPH low - at 0") << "MPH"
                                    << "LowMinus" << 0 << 0;
    QTest::newRow("MPH low - at 10") << "MPH"
                                     << "LowMinus" << 10 << 5;
    QTest::newRow("MPH low + at 40") << "MPH"
                                     << "LowPlus" << 40 << 45;
    QTest::newRow("MPH low + at 45") << "MPH"
                                     << "LowPlus" << 45 << 45;
    QTest::newRow("MPH high - at 55") << "MPH"
                                      << "HighMinus" << 55 << 50;
    QTest::newRow("MPH high - at 50") << "MPH"
                                      << "HighMinus" << 50 << 50;
    QTest::newRow("MPH high + at 115") << "MPH"
                                       << "HighPlus" << 115 << 120;
    QTest::newRow("MPH high + at 120") << "MPH"
                                       << "HighPlus" << 120 << 120;
    QTest::newRow("KPH low - at 20") << "KPH"
                                     << "LowMinus" << 20 << 15;
    QTest::newRow("KPH low - at 15") << "KPH"
                                     << "LowMinus" << 15 << 15;
    QTest::newRow("KPH low + at 30") << "KPH"
                                     << "LowPlus" << 30 << 35;
    QTest::newRow("KPH low + at 35") << "KPH"
                                     << "LowPlus" << 35 << 35;
    QTest::newRow("KPH high - at 125") << "KPH"
                                       << "HighMinus" << 125 << 120;
    QTest::newRow("KPH high - at 120") << "KPH"
                                       << "HighMinus" << 120 << 120;
    QTest::newRow("KPH high + at 175") << "KPH"
                                       << "HighPlus" << 175 << 180;
    QTest::newRow("KPH high + at 180") << "KPH"
                                       << "HighPlus" << 180 << 180;
    QTest::newRow("other unit low -") << ""
                                      << "LowMinus" << 20 << 20;
    QTest::newRow("other unit high +") << "knots"
                                       << "HighPlus" << 100 << 100;
}

void tst_frmProcessData::stepLimits()
{
    QFETCH(QString, unit);
    QFETCH(QString, button);
    QFETCH(int, before);
    QFETCH(int, after);
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    window.RadarMode->setText(unit);
    QLabel *end = button.startsWith(QLatin1String("Low")) ? window.SpdMin : window.SpdMax;
    QLabel *copy = button.startsWith(QLatin1String("Low")) ? window.SpdMin2 : window.SpdMax2;
    end->setText(QString::number(before));
    copy->setText(QString::number(before));

    QTest::mouseClick(stepButton(window, button), Qt::LeftButton);
    QCOMPARE(end->text(), QString::number(after));
    QCOMPARE(copy->text(), QString::number(after));
}

void tst_frmProcessData::loadSetsEveryFieldAfresh_data()
{
    QTest::addColumn<QString>("storedUnit");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    // The unit of the last survey, with its own range.
    QTest::newRow("last unit KPH") << "KPH"
                                   << "KPH"
                                   << "15"
                                   << "160";
    QTest::newRow("last unit MPH") << "MPH"
                                   << "MPH"
                                   << "10"
                                   << "100";
    // A Radar row left blank (by a cleared box) is no unit: MPH.
    QTest::newRow("blank stored unit") << ""
                                       << "MPH"
                                       << "10"
                                       << "100";
    QTest::newRow("garbage stored unit") << "xyz"
                                         << "MPH"
                                         << "10"
                                         << "100";
}

void tst_frmProcessData::loadSetsEveryFieldAfresh()
{
    QFETCH(QString, storedUnit);
    QFETCH(QString, unit);
    QFETCH(QString, low);
    QFETCH(QString, high);
    IntakeFixture fixture;
    frmProcessData &first = loadSample();
    // What a user may leave behind: another letter, headway, range, corrections,
    // a blanked unit, another tab, a used progress bar; then Cancel.
    choose(first.Trailer_code, QStringLiteral("C"));
    first.setHeadway(4);
    QTest::mouseClick(first.LowDefault, Qt::LeftButton);
    first.Text4[4]->setText(QStringLiteral("045"));
    first.Combo1->setCurrentText(QString());
    first.ProcessBar->setValue(60);
    first.sstab->setCurrentIndex(2);
    fixture.answers << QMessageBox::Yes; // discard what was changed
    QTest::mouseClick(first.Command1, Qt::LeftButton);
    QVERIFY(!first.isVisible());
    QCOMPARE(fixture.messages.size(), 1); // asked before discarding
    fixture.messages.clear();
    {
        DatabaseSession session(databasePathIn(fixture.folder()));
        session.exec(QStringLiteral("update Radar set radar_mode = ?"), {storedUnit});
    }

    frmProcessData &window = loadSample();
    QCOMPARE(window.Combo1->currentText(), unit);
    QCOMPARE(window.RadarMode->text(), unit);
    QCOMPARE(window.SpdMin->text(), low);
    QCOMPARE(window.SpdMax->text(), high);
    QCOMPARE(window.SpdMin2->text(), low);
    QCOMPARE(window.SpdMax2->text(), high);
    QCOMPARE(window.ShowHeadway->text(), QStringLiteral("0"));
    QCOMPARE(window.Trailer_code->currentText(), QStringLiteral("A"));
    QCOMPARE(window.Input_Batch_Number->text(), QStringLiteral("052401-A"));
    QCOMPARE(window.Text4[4]->text(), QString());
    QCOMPARE(window.sstab->currentIndex(), 0);
    QCOMPARE(window.ProcessBar->value(), 0);
    QVERIFY(!window.ProcessFrame->isVisible());

    // Processed as it stands, the survey is stored with that unit.
    fillRequired(window);
    process(window);
    QVERIFY(fixture.messages.isEmpty());
    DatabaseSession session(databasePathIn(fixture.folder()));
    QCOMPARE(session.scalar(QStringLiteral("select Radar_Mode from Header")).toString(), unit);
}

void tst_frmProcessData::badFilesRefusedAtLoad_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << "The file is empty.";
    QTest::newRow("garbage") << QByteArray("\x7f\x45LF garbage +-?,,,,")
                             << "This file has no survey header: it is not a radar data file.";
    QTest::newRow("records without a header")
        << QByteArray("0000000309,-,082,0000000313,-,115,0000000320,-,080,")
        << "This file has no survey header: it is not a radar data file.";
}

void tst_frmProcessData::badFilesRefusedAtLoad()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    IntakeFixture fixture;
    fixture.writeFile(fixture.path(QStringLiteral("bad.ovd")), bytes);
    frmLoadDataFile &dialog = openLoadDialog();
    clickFile(dialog, QStringLiteral("bad.ovd"));
    QTest::mouseClick(dialog.File, Qt::LeftButton);
    // Told at once; nothing opens to be filled in for nothing.
    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages[0].text, message);
    QCOMPARE(fixture.messages[0].title, QStringLiteral("Roadtally"));
    QVERIFY(dialog.isVisible());
    QVERIFY(!formExists<frmProcessData>() || !form<frmProcessData>().isVisible());

    // The next, good file is processed as if nothing had happened.
    clickFile(dialog, SampleFile);
    QTest::mouseClick(dialog.File, Qt::LeftButton);
    frmProcessData &window = form<frmProcessData>();
    QVERIFY(window.isVisible());
    QCOMPARE(window.Combo1->currentText(), QStringLiteral("MPH"));
    QCOMPARE(window.Input_Batch_Number->text(), QStringLiteral("052401-A"));
    fillRequired(window);
    process(window);
    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.rowCount(QStringLiteral("Header")), 1);
}

void tst_frmProcessData::unitOtherThanMphOrKphRefused_data()
{
    QTest::addColumn<QString>("unit");
    QTest::newRow("blank") << "";
    QTest::newRow("small letters") << "mph";
    QTest::newRow("typed word") << "miles";
}

void tst_frmProcessData::unitOtherThanMphOrKphRefused()
{
    QFETCH(QString, unit);
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    fillRequired(window);
    window.Combo1->setFocus();
    window.Combo1->lineEdit()->selectAll();
    QTest::keyClick(window.Combo1->lineEdit(), Qt::Key_Delete);
    QTest::keyClicks(window.Combo1->lineEdit(), unit);
    QTest::mouseClick(window.Command2, Qt::LeftButton);
    QTRY_VERIFY(!window.isImporting());
    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages[0].text,
             QStringLiteral("You must select the radar mode setting: MPH or KPH!"));
    QVERIFY(window.isVisible());
    QCOMPARE(fixture.rowCount(QStringLiteral("Header")), 0);
}

void tst_frmProcessData::headwayButtons_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("seconds");
    QTest::newRow("No Headway") << 0 << "0";
    QTest::newRow("1") << 1 << "1";
    QTest::newRow("2") << 2 << "2";
    QTest::newRow("4") << 3 << "4";
    QTest::newRow("6") << 4 << "6";
    QTest::newRow("8") << 5 << "8";
}

void tst_frmProcessData::headwayButtons()
{
    QFETCH(int, index);
    QFETCH(QString, seconds);
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    window.ShowHeadway->setText(QStringLiteral("3"));
    QPushButton *buttons[] = {window.H1, window.H2,       window.H3,
                              window.H4, window.Command3, window.Command5};
    QTest::mouseClick(buttons[index], Qt::LeftButton);
    QCOMPARE(window.ShowHeadway->text(), seconds);
    QCOMPARE(window.ShowHeadway2->text(), seconds);
}

void tst_frmProcessData::batchLetter()
{
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    choose(window.Trailer_code, QStringLiteral("C"));
    QCOMPARE(window.Input_Batch_Number->text(), QStringLiteral("052401-C"));

    // The next file starts again from letter A: nothing of one survey carries
    // over into the next.
    window.hide();
    frmProcessData &again = loadSample();
    QCOMPARE(again.Input_Batch_Number->text(), QStringLiteral("052401-A"));
}

void tst_frmProcessData::acceptOnlyPostedSpeed()
{
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    QTest::mouseClick(window.Command4, Qt::LeftButton);
    QCOMPARE(window.sstab->currentIndex(), 1);
    QTest::keyClicks(window.Text4[4], QStringLiteral("035"));
    QTest::mouseClick(window.Command7, Qt::LeftButton);

    QCOMPARE(window.sstab->currentIndex(), 0);
    QCOMPARE(window.Input_Posted_Speed->text(), QStringLiteral("035"));
    QVERIFY(window.Text4[4]->text().isEmpty());
    QCOMPARE(window.Input_Batch_Date->text(), QStringLiteral("05/24/2001"));
    QCOMPARE(window.Input_Start_Time->text(), QStringLiteral("13:45"));
    QCOMPARE(window.Input_Batch_Number->text(), QStringLiteral("052401-A"));
    QCOMPARE(window.Input_Location_Code->text(), QStringLiteral("00020"));
}

void tst_frmProcessData::acceptEveryCorrection()
{
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    const QStringList typed = {QStringLiteral("06/01/2001"), QStringLiteral("07:05"),
                               QStringLiteral("060101-B"), QStringLiteral("12345"),
                               QStringLiteral("not checked")};
    for (int i = 0; i < typed.size(); ++i)
        QTest::keyClicks(window.Text4[i], typed[i]);
    QTest::mouseClick(window.Command7, Qt::LeftButton);

    QCOMPARE(window.Input_Batch_Date->text(), typed[0]);
    QCOMPARE(window.Input_Start_Time->text(), typed[1]);
    QCOMPARE(window.Input_Batch_Number->text(), typed[2]);
    QCOMPARE(window.Input_Location_Code->text(), typed[3]);
    QCOMPARE(window.Input_Posted_Speed->text(), typed[4]);
    for (QLineEdit *box : window.Text4)
        QVERIFY(box->text().isEmpty());
}

void tst_frmProcessData::commitRederivesTheHeader()
{
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    QTest::keyClicks(window.Text4[4], QStringLiteral("035"));
    QTest::mouseClick(window.Command7, Qt::LeftButton);
    choose(window.Trailer_code, QStringLiteral("D"));
    window.sstab->setCurrentIndex(3);

    QString edited = window.txtTerm2->toPlainText();
    edited.replace(QStringLiteral("005-024-001"), QStringLiteral("011-030-002"));
    window.txtTerm2->setPlainText(edited);
    QTest::mouseClick(window.Command9, Qt::LeftButton);

    QCOMPARE(window.sstab->currentIndex(), 3);
    QCOMPARE(window.Label2->text(), QStringLiteral("113002"));
    QCOMPARE(window.Input_Batch_Date->text(), QStringLiteral("11/30/2002"));
    QCOMPARE(window.Input_Batch_Number->text(), QStringLiteral("113002-D"));
    QCOMPARE(window.Input_Posted_Speed->text(), QStringLiteral("105")); // correction overwritten
    // The text to import is the edited one, with the file's CR LF line breaks.
    QString expected = window.rawText();
    QVERIFY(expected.contains(QStringLiteral("Setup Date:,011-030-002,")));
    QVERIFY(expected.contains(QStringLiteral("Speed,\r\n******\r\n")));
    QVERIFY(!expected.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
}

void tst_frmProcessData::activationClearsTheSurveyFields()
{
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    fillRequired(window);
    window.ProcessBar->setValue(60);
    window.LowDefault->click();
    window.hide();
    window.SpdMin2->setText(QStringLiteral("stale"));

    frmProcessData &again = loadSample();
    QVERIFY(again.Input_Location->text().isEmpty());
    QVERIFY(again.Input_Direction->currentText().isEmpty());
    QVERIFY(again.Input_Zone->currentText().isEmpty());
    QCOMPARE(again.ProcessBar->value(), 0);
    // The range is the unit's default again, shown in the filter summary.
    QCOMPARE(again.SpdMin2->text(), QStringLiteral("10"));
    QCOMPARE(again.SpdMax2->text(), QStringLiteral("100"));
}

void tst_frmProcessData::missingInputs_data()
{
    QTest::addColumn<bool>("location");
    QTest::addColumn<bool>("direction");
    QTest::addColumn<bool>("zone");
    QTest::addColumn<bool>("posted");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << false << false << false << true
                             << "You must input a valid location!";
    QTest::newRow("no direction") << true << false << false << true
                                  << "You must select the direction of traffic in the survey!";
    QTest::newRow("no zone") << true << true << false << true << "You must select the survey zone!";
    QTest::newRow("no posted speed")
        << true << true << true << false << "You must input the posted speed limit of the survey!";
}

void tst_frmProcessData::blankInputs_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("message");
    QTest::newRow("location of blanks") << "   "
                                        << "West"
                                        << "School"
                                        << "You must input a valid location!";
    QTest::newRow("direction of blanks")
        << "Elm"
        << "  "
        << "School"
        << "You must select the direction of traffic in the survey!";
    QTest::newRow("zone of blanks") << "Elm"
                                    << "West"
                                    << " "
                                    << "You must select the survey zone!";
}

void tst_frmProcessData::blankInputs()
{
    // Blanks typed into a field are refused as an empty field is.
    QFETCH(QString, location);
    QFETCH(QString, direction);
    QFETCH(QString, zone);
    QFETCH(QString, message);
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    QTest::keyClicks(window.Input_Location, location);
    QTest::keyClicks(window.Input_Direction->lineEdit(), direction);
    QTest::keyClicks(window.Input_Zone->lineEdit(), zone);
    process(window);

    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages[0].text, message);
    QVERIFY(window.isVisible());
    QCOMPARE(fixture.rowCount(QStringLiteral("Header")), 0);
}

void tst_frmProcessData::databaseFailureIsNotTheDataFile_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("advice");
    const QString putBack = QStringLiteral(
        "Put the survey database back in place (Edit > Repair & Backup Database restores the "
        "backup or a blank database), then process the data file again.");
    QTest::newRow("read-only")
        << "read-only"
        << "it is read-only (the file, or its folder, cannot be written)"
        << "Make the database file and its folder writable, then process the data file again.";
    QTest::newRow("damaged") << "damaged"
                             << "it is damaged"
                             << "Repair the database (Edit > Repair & Backup Database) or "
                                "restore its backup, then process the data file again.";
    QTest::newRow("a database of something else") << "foreign"
                                                  << "it is not a survey database" << putBack;
    QTest::newRow("a survey table missing") << "no table"
                                            << "it is not a survey database" << putBack;
    QTest::newRow("gone") << "gone"
                          << "it does not exist" << putBack;
}

void tst_frmProcessData::databaseFailureIsNotTheDataFile()
{
    // The data file is sound; the database cannot be written. The user is told
    // which database and why, not to download the data file again.
    QFETCH(QString, trouble);
    QFETCH(QString, reason);
    QFETCH(QString, advice);
    IntakeFixture fixture;
    const QString database = databasePathIn(fixture.folder());
    frmProcessData &window = loadSample();
    fillRequired(window);
    // The trouble arises while the window is open, as another program would cause it.
    if (trouble == QLatin1String("read-only")) {
        QVERIFY(test::makeReadOnly(database));
    } else if (trouble == QLatin1String("damaged")) {
        QVERIFY(test::damageTable(database, "Header"));
    } else if (trouble == QLatin1String("foreign") || trouble == QLatin1String("gone")) {
        QVERIFY(QFile::remove(database));
        if (trouble == QLatin1String("foreign")) {
            sqlite3 *other = nullptr;
            QCOMPARE(sqlite3_open(database.toUtf8().constData(), &other), SQLITE_OK);
            QCOMPARE(
                sqlite3_exec(other, "CREATE TABLE Recipes (Name TEXT)", nullptr, nullptr, nullptr),
                SQLITE_OK);
            sqlite3_close(other);
        }
    } else {
        DatabaseSession session(database);
        session.exec(QStringLiteral("DROP TABLE [Time_15]"));
    }
    process(window);

    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages[0].title, QStringLiteral("Roadtally"));
    QCOMPARE(fixture.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(fixture.messages[0].text,
             QStringLiteral("The survey database OV97.mdb could not be written: %1. Nothing was "
                            "imported.\n\nDatabase: %2\n\n%3")
                 .arg(reason, QDir::toNativeSeparators(database), advice));
    QVERIFY(window.isVisible());
    QVERIFY(window.Command2->isEnabled());
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void tst_frmProcessData::missingInputs()
{
    QFETCH(bool, location);
    QFETCH(bool, direction);
    QFETCH(bool, zone);
    QFETCH(bool, posted);
    QFETCH(QString, message);
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    if (location)
        QTest::keyClicks(window.Input_Location, QStringLiteral("Elm"));
    if (direction)
        choose(window.Input_Direction, QStringLiteral("West"));
    if (zone)
        choose(window.Input_Zone, QStringLiteral("School"));
    if (!posted)
        window.Input_Posted_Speed->clear();
    process(window);

    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages[0].text, message);
    QCOMPARE(fixture.messages[0].title, QStringLiteral("Roadtally"));
    QCOMPARE(window.ProcessFrame->title(),
             QStringLiteral("Processing Radar File to Database ......."));
    QVERIFY(window.isVisible());
    QCOMPARE(fixture.rowCount(QStringLiteral("Header")), 0);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void tst_frmProcessData::processStoresTheSurvey()
{
    IntakeFixture fixture;
    frmRoadtally &main = form<frmRoadtally>();
    main.show();
    main.splashframe->hide();
    frmProcessData &window = loadSample();
    fillRequired(window);
    QList<int> progress;
    connect(window.ProcessBar, &QProgressBar::valueChanged, this,
            [&progress](int value) { progress << value; });
    process(window);

    QVERIFY2(fixture.messages.isEmpty(), qPrintable(fixture.messages.value(0).text));
    QVERIFY(!window.isVisible());
    QVERIFY(main.isEnabled());
    QVERIFY(main.splashframe->isVisible());
    QCOMPARE(main.statusBar()->currentMessage(),
             QStringLiteral("Survey 052401-A stored: %1 vehicles")
                 .arg(fixture.rowCount(QStringLiteral("Veh_Data"))));
    QVERIFY(progress.contains(25) && progress.contains(50) && progress.contains(75));
    QCOMPARE(window.ProcessBar->value(), 100);
    QCOMPARE(window.Start_Date->text(), QStringLiteral("05/24/01"));
    QVERIFY(!window.End_Date->text().isEmpty());
    QVERIFY(QApplication::overrideCursor() == nullptr);

    DatabaseSession session(databasePathIn(fixture.folder()));
    QSqlQuery header = session.exec(
        QStringLiteral("select Location, Direction, Zone, Violation_Alert, Radar_Mode from Header "
                       "where Batch_Number = ?"),
        {QStringLiteral("052401-A")});
    QVERIFY(header.next());
    QCOMPARE(header.value(0).toString(), QStringLiteral("Main St at 5th"));
    QCOMPARE(header.value(1).toString(), QStringLiteral("North"));
    QCOMPARE(header.value(2).toString(), QStringLiteral("Parks & Rec"));
    QCOMPARE(header.value(3).toString(), QStringLiteral("105"));
    QCOMPARE(header.value(4).toString(), QStringLiteral("MPH"));
    // The window's range 10 to 100 reached the import.
    QSqlQuery speeds = session.exec(QStringLiteral(
        "select count(*), min(cast(Speed as integer)), max(cast(Speed as integer)) from Veh_Data"));
    QVERIFY(speeds.next());
    QVERIFY(speeds.value(0).toInt() > 50);
    QVERIFY(speeds.value(1).toInt() >= 10);
    QVERIFY(speeds.value(2).toInt() <= 100);
}

void tst_frmProcessData::duplicateBatchRefused()
{
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    fillRequired(window);
    process(window);
    QVERIFY(fixture.messages.isEmpty());
    const int vehicles = fixture.rowCount(QStringLiteral("Veh_Data"));

    frmProcessData &again = loadSample();
    fillRequired(again);
    process(again);
    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages[0].text,
             QStringLiteral("Duplicate Batch Number found. Select a higher letter for the Batch "
                            "Number and try again."));
    QCOMPARE(fixture.messages[0].title, QStringLiteral("Roadtally"));
    QVERIFY(again.isVisible());
    QCOMPARE(fixture.rowCount(QStringLiteral("Header")), 1);
    QCOMPARE(fixture.rowCount(QStringLiteral("Veh_Data")), vehicles);

    // A higher letter goes through.
    choose(again.Trailer_code, QStringLiteral("B"));
    process(again);
    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.rowCount(QStringLiteral("Header")), 2);
}

void tst_frmProcessData::importFailures_data()
{
    QTest::addColumn<QString>("startDate"); // typed into Text4(0); "" keeps the file's
    QTest::addColumn<bool>("damaged");      // the records cut short before any end mark
    QTest::addColumn<QString>("message");
    QTest::newRow("start date not a date")
        << "13/45/2001" << false << "The survey data has a NON-date element";
    QTest::newRow("records without end marks")
        << "" << true
        << "This data file has errors and cannot be processed - download another data file to "
           "process";
}

void tst_frmProcessData::importFailures()
{
    QFETCH(QString, startDate);
    QFETCH(bool, damaged);
    QFETCH(QString, message);
    IntakeFixture fixture;
    if (damaged) {
        // The sample header and one record: no direction character is left for
        // the end marks to land on, so the records cannot be cut.
        QFile sample(fixture.path(SampleFile));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray bytes = sample.readAll();
        sample.close();
        const qsizetype header = bytes.indexOf("******\r\n") + 8;
        fixture.writeFile(fixture.path(SampleFile), bytes.left(header) + "0000000016,");
    }
    frmProcessData &window = loadSample();
    fillRequired(window);
    if (!startDate.isEmpty()) {
        QTest::keyClicks(window.Text4[0], startDate);
        QTest::mouseClick(window.Command7, Qt::LeftButton);
    }
    process(window);

    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages[0].text, message);
    QCOMPARE(fixture.messages[0].title, QStringLiteral("Roadtally"));
    QVERIFY(window.isVisible());
    QCOMPARE(fixture.rowCount(QStringLiteral("Header")), 0);
    QCOMPARE(fixture.rowCount(QStringLiteral("Veh_Data")), 0);
    QVERIFY(form<frmRoadtally>().statusBar()->currentMessage().isEmpty());
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void tst_frmProcessData::importKeepsTheWindowAlive()
{
    // A survey long enough for the import to take a while on any machine.
    IntakeFixture fixture;
    SampleOptions options;
    options.vehicles = 300000;
    options.days = 7;
    const QString name = QStringLiteral("long.ovd");
    QCOMPARE(writeSampleSurvey(generateSampleSurvey(options), fixture.path(name)), QString());
    frmRoadtally &main = form<frmRoadtally>();
    main.show();
    frmLoadDataFile &dialog = openLoadDialog();
    clickFile(dialog, name);
    QTest::mouseClick(dialog.File, Qt::LeftButton);
    frmProcessData &window = form<frmProcessData>();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    fillRequired(window);

    QList<int> progress;
    connect(window.ProcessBar, &QProgressBar::valueChanged, this,
            [&progress](int value) { progress << value; });
    PaintedValues painted(window);
    int ticks = 0; // a timer of the interface thread, served while the import runs
    QTimer timer;
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, [&] { ticks += window.isImporting() ? 1 : 0; });
    timer.start();

    QTest::mouseClick(window.Command2, Qt::LeftButton);
    // The click returns with the import under way: busy pointer, nothing to
    // click but the window's repaint, the main window still disabled.
    QVERIFY(window.isImporting());
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QVERIFY(!main.isEnabled());
    for (QWidget *control :
         {static_cast<QWidget *>(window.Command1), static_cast<QWidget *>(window.Command2),
          static_cast<QWidget *>(window.Input_Location)})
        QVERIFY(!control->isEnabled());
    QVERIFY(!window.sstab->isTabEnabled(3));
    QVERIFY(window.ProcessBar->isEnabled());
    window.close(); // not cancelled half-way, by the title bar or by Escape
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());

    QTRY_VERIFY_WITH_TIMEOUT(!window.isImporting(), 120000);
    QVERIFY2(fixture.messages.isEmpty(), qPrintable(fixture.messages.value(0).text));
    QVERIFY(ticks > 0);
    const bool paintedBetween = std::any_of(painted.values.cbegin(), painted.values.cend(),
                                            [](int v) { return v > 0 && v < 100; });
    QVERIFY2(paintedBetween, qPrintable(QStringLiteral("painted: %1").arg(painted.values.size())));
    // The bar follows the phases, never going back.
    for (int phase : {5, 25, 38, 50, 75, 90, 100})
        QVERIFY2(progress.contains(phase), qPrintable(QString::number(phase)));
    QVERIFY(std::any_of(progress.cbegin(), progress.cend(), [](int v) { return v > 5 && v < 25; }));
    QVERIFY(std::is_sorted(progress.cbegin(), progress.cend()));
    // Done: the window goes at once, the main window is usable, the pointer normal.
    QVERIFY(!window.isVisible());
    QVERIFY(main.isEnabled());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    const int vehicles = fixture.rowCount(QStringLiteral("Veh_Data"));
    QVERIFY(vehicles > 250000);
    // The main window says what was stored, figures grouped by thousands.
    QCOMPARE(main.statusBar()->currentMessage(),
             QStringLiteral("Survey %1 stored: %2 vehicles")
                 .arg(window.Input_Batch_Number->text(),
                      QLocale(QLocale::English, QLocale::UnitedStates).toString(vehicles)));
}

void tst_frmProcessData::importWaitsForABusyDatabase()
{
    // Another program holds the database's write lock when the user processes:
    // the import waits its turn with the window alive, then stores the survey.
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    fillRequired(window);
    test::WriteLock lock(databasePathIn(fixture.folder()));
    QVERIFY(lock.isHeld());
    int barWhenReleased = -1;
    QTimer::singleShot(700, this, [&] {
        barWhenReleased = window.ProcessBar->value();
        lock.release();
    });
    QTest::mouseClick(window.Command2, Qt::LeftButton);
    QVERIFY(window.isImporting());
    QTRY_VERIFY_WITH_TIMEOUT(!window.isImporting(), 20000);
    QCOMPARE(barWhenReleased, 0); // it was waiting for the lock, not importing
    QVERIFY2(fixture.messages.isEmpty(), qPrintable(fixture.messages.value(0).text));
    QVERIFY(!window.isVisible());
    QCOMPARE(fixture.rowCount(QStringLiteral("Header")), 1);
}

void tst_frmProcessData::cancelReturnsToTheStartPanel_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "Cancel";
    QTest::newRow("title bar") << "close";
    QTest::newRow("Escape") << "Escape";
}

void tst_frmProcessData::cancelReturnsToTheStartPanel()
{
    QFETCH(QString, how);
    IntakeFixture fixture;
    frmRoadtally &main = form<frmRoadtally>();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    // From the menu, which leaves the start panel; hidden meanwhile, as a tab change does.
    main.splashframe->hide();
    frmProcessData &window = loadSample();
    QVERIFY(!main.isEnabled());
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    if (how == QLatin1String("Cancel"))
        QTest::mouseClick(window.Command1, Qt::LeftButton);
    else if (how == QLatin1String("close"))
        window.close();
    else
        QTest::keyClick(window.focusWidget() ? window.focusWidget() : &window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QVERIFY(main.isEnabled());
    QVERIFY(main.splashframe->isVisible());
    QCOMPARE(fixture.rowCount(QStringLiteral("Header")), 0);
}

void tst_frmProcessData::escapeOnOpenDropDownKeepsTheWindow()
{
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClicks(window.Input_Location, QStringLiteral("Main St at 5th"));
    for (QComboBox *list : {window.Input_Direction, window.Input_Zone, window.Combo1}) {
        list->setFocus();
        list->showPopup();
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(list, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QVERIFY2(window.isVisible(), qPrintable(list->objectName()));
    }
    QVERIFY(fixture.messages.isEmpty());
    QCOMPARE(window.Input_Location->text(), QStringLiteral("Main St at 5th"));
}

void tst_frmProcessData::closingAsksBeforeDiscarding_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("discard"); // the answer to the question
    for (const char *how : {"Cancel", "Escape", "close"}) {
        const QString h = QString::fromLatin1(how);
        QTest::addRow("%s, nothing changed", how) << h << "" << false;
        QTest::addRow("%s, location typed, kept", how) << h << "location" << false;
        QTest::addRow("%s, location typed, discarded", how) << h << "location" << true;
    }
    for (const char *change : {"direction", "unit", "letter", "headway", "range", "correction",
                               "raw text", "committed raw text"})
        QTest::addRow("Cancel, %s, kept", change)
            << QStringLiteral("Cancel") << QString::fromLatin1(change) << false;
}

void tst_frmProcessData::closingAsksBeforeDiscarding()
{
    QFETCH(QString, how);
    QFETCH(QString, change);
    QFETCH(bool, discard);
    IntakeFixture fixture;
    frmProcessData &window = loadSample();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    if (change == QLatin1String("location")) {
        QTest::keyClicks(window.Input_Location, QStringLiteral("Main St"));
    } else if (change == QLatin1String("direction")) {
        choose(window.Input_Direction, QStringLiteral("South"));
    } else if (change == QLatin1String("unit")) {
        choose(window.Combo1, QStringLiteral("KPH"));
    } else if (change == QLatin1String("letter")) {
        choose(window.Trailer_code, QStringLiteral("C"));
    } else if (change == QLatin1String("headway")) {
        QTest::mouseClick(window.H3, Qt::LeftButton);
    } else if (change == QLatin1String("range")) {
        QTest::mouseClick(window.LowDefault, Qt::LeftButton);
    } else if (change == QLatin1String("correction")) {
        QTest::keyClicks(window.Text4[4], QStringLiteral("035"));
    } else if (change.endsWith(QLatin1String("raw text"))) {
        window.txtTerm2->moveCursor(QTextCursor::End);
        QTest::keyClicks(window.txtTerm2, QStringLiteral("x"));
        if (change.startsWith(QLatin1String("committed")))
            QTest::mouseClick(window.Command9, Qt::LeftButton);
    }
    window.sstab->setCurrentIndex(0);
    fixture.answers << (discard ? QMessageBox::Yes : QMessageBox::No);
    const QString location = window.Input_Location->text();

    if (how == QLatin1String("Cancel"))
        QTest::mouseClick(window.Command1, Qt::LeftButton);
    else if (how == QLatin1String("close"))
        window.close();
    else
        QTest::keyClick(window.focusWidget() ? window.focusWidget() : &window, Qt::Key_Escape);

    const bool asked = !change.isEmpty();
    QCOMPARE(fixture.messages.size(), asked ? 1 : 0);
    if (asked) {
        const auto &question = fixture.messages.first();
        QCOMPARE(question.icon, QMessageBox::Question);
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    }
    const bool closed = !asked || discard;
    QCOMPARE(window.isVisible(), !closed);
    if (!closed)
        QCOMPARE(window.Input_Location->text(), location);
    QCOMPARE(fixture.rowCount(QStringLiteral("Header")), 0);
}

QTEST_MAIN(tst_frmProcessData)
#include "tst_frmProcessData.moc"

// "Administration Setup" driven as a user drives it: the officer list with its
// placeholder, adding, choosing and deleting (names with quotes too), the two
// report options, and "Update" with what it tells the main window.
#include "fixtures/SurveyFixture.h"

#include "core/survey/AgencySettings.h"
#include "gui/admin/frmAdminSetup.h"
#include "gui/kit/Forms.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::testing;

class tst_frmAdminSetup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void captionsAndFirstShowing();
    void refreshAddsPlaceholderToEmptyTable();
    void addedNameIsListedAfterRefresh_data();
    void addedNameIsListedAfterRefresh();
    void enterStoresTheTypedName();
    void blankNameIsNotStored();
    void deletingTheOnlyOfficerThenRefreshAddsPlaceholder();
    void quotedNameRoundTrip_data();
    void quotedNameRoundTrip();
    void deleteRemovesTheChosenNamesakeOnly();
    void refreshAndAddForgetTheChoice();
    void chosenNameCanBeCorrected();
    void optionTickKeptAndStored_data();
    void optionTickKeptAndStored();
    void updateStoresAgencyAndTells();
    void escapeAndFrameActAsUpdate();
    void keysChooseLikeClicks();
    void agencyReadAgainOnShowing();
    void missingDatabaseKeepsWindowOnUpdate();

private:
    frmAdminSetup &showWindow();
    void clickName(const QString &name);
    void addName(const QString &name);
    QStringList listed();
    QStringList stored();
    QString storedOption(const QString &field);

    std::unique_ptr<SurveyFolder> m_folder;
};

void tst_frmAdminSetup::init()
{
    m_folder = std::make_unique<SurveyFolder>();
    sharedState().setProgramFolder(m_folder->folder());
}

void tst_frmAdminSetup::cleanup()
{
    if (formExists<frmAdminSetup>())
        delete &form<frmAdminSetup>();
    m_folder.reset();
}

frmAdminSetup &tst_frmAdminSetup::showWindow()
{
    frmAdminSetup &w = form<frmAdminSetup>();
    w.show();
    return w;
}

void tst_frmAdminSetup::clickName(const QString &name)
{
    QListWidget *list = form<frmAdminSetup>().List1;
    const QList<QListWidgetItem *> items = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(name));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.first()).center());
}

void tst_frmAdminSetup::addName(const QString &name)
{
    frmAdminSetup &w = form<frmAdminSetup>();
    QTest::mouseClick(w.AddOfficer, Qt::LeftButton);
    QVERIFY(w.InputOfficer->isVisible());
    QVERIFY(w.InputOfficer->text().isEmpty());
    QTest::keyClicks(w.InputOfficer, name);
}

QStringList tst_frmAdminSetup::listed()
{
    QStringList names;
    QListWidget *list = form<frmAdminSetup>().List1;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

QStringList tst_frmAdminSetup::stored()
{
    DatabaseSession session(m_folder->databasePath());
    QStringList names;
    for (const OfficerRow &row : readOfficers(session))
        names << row.name;
    return names;
}

QString tst_frmAdminSetup::storedOption(const QString &field)
{
    DatabaseSession session(m_folder->databasePath());
    return session.scalar(QStringLiteral("SELECT [%1] FROM [Radar]").arg(field)).toString();
}

void tst_frmAdminSetup::captionsAndFirstShowing()
{
    frmAdminSetup &w = showWindow();
    QCOMPARE(w.windowTitle(), QStringLiteral("Administration Setup"));
    QCOMPARE(w.Label2->text(), QStringLiteral("Names of officers involved in report production"));
    QCOMPARE(w.Label6->text(), QStringLiteral("  Program and  Report Title"));
    auto plain = [](QString text) { return text.remove(QLatin1Char('&')); };
    QCOMPARE(plain(w.AddOfficer->text()), QStringLiteral("Add Officer"));
    QCOMPARE(plain(w.DeleteOfficer->text()), QStringLiteral("Delete Officer"));
    QCOMPARE(plain(w.Refresh->text()), QStringLiteral("Refresh"));
    QCOMPARE(plain(w.AdminUpdate->text()), QStringLiteral("Update"));
    QCOMPARE(plain(w.Check1->text()),
             QStringLiteral("Include officer name on all forms and reports"));
    QCOMPARE(plain(w.Check2->text()),
             QStringLiteral("Include system date on all forms and reports"));
    for (const QString &text :
         {QStringLiteral("Name of agency"), QStringLiteral("Address 1"),
          QStringLiteral("Address 2"), QStringLiteral("Optional Address  for reports")}) {
        bool found = false;
        for (QLabel *label : w.findChildren<QLabel *>())
            found = found || plain(label->text()) == text;
        QVERIFY2(found, qPrintable(text));
    }
    // The agency row of the blank database; the list stays empty until "Refresh".
    QCOMPARE(w.Text1->text(), QStringLiteral("Name of Municipality"));
    QCOMPARE(w.List1->count(), 0);
    QVERIFY(!w.InputOfficer->isVisible());
    QVERIFY(!w.DeleteOfficer->isEnabled());
    QVERIFY(!w.Check1->isChecked());
    QVERIFY(!w.Check2->isChecked());
    QCOMPARE(stored(), QStringList{}); // opening adds no placeholder
}

void tst_frmAdminSetup::refreshAddsPlaceholderToEmptyTable()
{
    frmAdminSetup &w = showWindow();
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QCOMPARE(listed(), QStringList{QStringLiteral("(Officer Name)")});
    QCOMPARE(stored(), QStringList{QStringLiteral("(Officer Name)")});
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QCOMPARE(stored(), QStringList{QStringLiteral("(Officer Name)")});
}

void tst_frmAdminSetup::addedNameIsListedAfterRefresh_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("one") << QStringList{u"Sgt. Anna Lee"_s};
    QTest::newRow("two") << QStringList{u"Sgt. Anna Lee"_s, u"Cpl. Bo Diaz"_s};
    QTest::newRow("quotes") << QStringList{u"O'Brien"_s, u"\"Mac\" MacLeod"_s};
}

void tst_frmAdminSetup::addedNameIsListedAfterRefresh()
{
    QFETCH(QStringList, names);
    frmAdminSetup &w = showWindow();
    for (const QString &name : names)
        addName(name); // each "Add Officer" stores the name typed before
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QVERIFY(!w.InputOfficer->isVisible());
    QCOMPARE(listed(), names);
    QCOMPARE(stored(), names);
}

void tst_frmAdminSetup::enterStoresTheTypedName()
{
    frmAdminSetup &w = showWindow();
    addName(QStringLiteral("Det. Kim"));
    QTest::keyClick(w.InputOfficer, Qt::Key_Return);
    QCOMPARE(listed(), QStringList{QStringLiteral("Det. Kim")});
    QVERIFY(!w.InputOfficer->isVisible());
}

void tst_frmAdminSetup::blankNameIsNotStored()
{
    frmAdminSetup &w = showWindow();
    addName(QStringLiteral("   "));
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QCOMPARE(listed(), QStringList{QStringLiteral("(Officer Name)")});
}

void tst_frmAdminSetup::deletingTheOnlyOfficerThenRefreshAddsPlaceholder()
{
    frmAdminSetup &w = showWindow();
    QSignalSpy chosen(&w, &frmAdminSetup::officerChosen);
    addName(QStringLiteral("Only One"));
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QCOMPARE(listed(), QStringList{QStringLiteral("Only One")});

    clickName(QStringLiteral("Only One"));
    QCOMPARE(chosen.size(), 1);
    QVERIFY(w.DeleteOfficer->isEnabled());
    QTest::mouseClick(w.DeleteOfficer, Qt::LeftButton);
    QVERIFY(!w.DeleteOfficer->isEnabled());
    QCOMPARE(stored(), QStringList{});
    QCOMPARE(listed(), QStringList{});

    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QCOMPARE(listed(), QStringList{QStringLiteral("(Officer Name)")});
    QCOMPARE(stored(), QStringList{QStringLiteral("(Officer Name)")});
}

void tst_frmAdminSetup::quotedNameRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("O'Brien") << "O'Brien";
    QTest::newRow("two quotes") << "D'Angelo-O'Neil";
    QTest::newRow("statement text") << "x'; DELETE FROM [Officer]; --";
}

void tst_frmAdminSetup::quotedNameRoundTrip()
{
    QFETCH(QString, name);
    frmAdminSetup &w = showWindow();
    QSignalSpy chosen(&w, &frmAdminSetup::officerChosen);
    addName(QStringLiteral("Before"));
    addName(name);
    addName(QStringLiteral("After"));
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QCOMPARE(listed(), (QStringList{QStringLiteral("Before"), name, QStringLiteral("After")}));

    clickName(name);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).toString(), name);
    QVERIFY(w.chosenOfficer());
    QCOMPARE(w.chosenOfficer()->name, name);
    QVERIFY(w.DeleteOfficer->isEnabled());

    QTest::mouseClick(w.DeleteOfficer, Qt::LeftButton);
    QCOMPARE(listed(), (QStringList{QStringLiteral("Before"), QStringLiteral("After")}));
    QCOMPARE(stored(), (QStringList{QStringLiteral("Before"), QStringLiteral("After")}));
}

void tst_frmAdminSetup::deleteRemovesTheChosenNamesakeOnly()
{
    frmAdminSetup &w = showWindow();
    addName(QStringLiteral("Smith"));
    addName(QStringLiteral("Jones"));
    addName(QStringLiteral("Smith"));
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    clickName(QStringLiteral("Smith"));
    QTest::mouseClick(w.DeleteOfficer, Qt::LeftButton);
    QCOMPARE(stored(), (QStringList{QStringLiteral("Jones"), QStringLiteral("Smith")}));
}

void tst_frmAdminSetup::refreshAndAddForgetTheChoice()
{
    // "Delete Officer" deletes the name chosen in the list and nothing else: after
    // a refresh or while a new name is typed nothing is chosen, so it is off.
    frmAdminSetup &w = showWindow();
    addName(QStringLiteral("First"));
    addName(QStringLiteral("Second"));
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    clickName(QStringLiteral("Second"));
    QVERIFY(w.DeleteOfficer->isEnabled());
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QVERIFY(!w.DeleteOfficer->isEnabled());
    QVERIFY(!w.chosenOfficer());

    clickName(QStringLiteral("Second"));
    QTest::mouseClick(w.AddOfficer, Qt::LeftButton);
    QVERIFY(!w.DeleteOfficer->isEnabled());
    QCOMPARE(stored(), (QStringList{QStringLiteral("First"), QStringLiteral("Second")}));
}

void tst_frmAdminSetup::chosenNameCanBeCorrected()
{
    frmAdminSetup &w = showWindow();
    QSignalSpy chosen(&w, &frmAdminSetup::officerChosen);
    addName(QStringLiteral("Obrien"));
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    clickName(QStringLiteral("Obrien"));
    QCOMPARE(w.InputOfficer->text(), QStringLiteral("Obrien"));
    // The name field shows the chosen officer; typing there corrects the name.
    w.InputOfficer->show();
    w.InputOfficer->setFocus();
    w.InputOfficer->selectAll();
    QTest::keyClicks(w.InputOfficer, QStringLiteral("O'Brien"));
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QCOMPARE(stored(), QStringList{QStringLiteral("O'Brien")});
    QCOMPARE(listed(), QStringList{QStringLiteral("O'Brien")});
    QCOMPARE(chosen.last().at(0).toString(), QStringLiteral("O'Brien"));
}

void tst_frmAdminSetup::optionTickKeptAndStored_data()
{
    QTest::addColumn<bool>("dateBox");
    QTest::newRow("Print_Date") << true;
    QTest::newRow("Print_Name") << false;
}

void tst_frmAdminSetup::optionTickKeptAndStored()
{
    QFETCH(bool, dateBox);
    frmAdminSetup &w = showWindow();
    QCheckBox *box = dateBox ? w.Check2 : w.Check1;
    QCheckBox *other = dateBox ? w.Check1 : w.Check2;
    const QString field = dateBox ? QStringLiteral("Print_Date") : QStringLiteral("Print_Name");
    const QString otherField =
        dateBox ? QStringLiteral("Print_Name") : QStringLiteral("Print_Date");

    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->isChecked());
    QCOMPARE(storedOption(field), QStringLiteral("1"));
    QCOMPARE(storedOption(otherField), QStringLiteral("0"));
    QCOMPARE((dateBox ? w.chk2 : w.chk1)->text(), QStringLiteral("1"));

    QTest::mouseClick(w.AdminUpdate, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    // Shown again, also by a window made anew, the tick is kept.
    showWindow();
    QVERIFY(box->isChecked());
    QVERIFY(!other->isChecked());
    delete &form<frmAdminSetup>();
    frmAdminSetup &again = showWindow();
    QVERIFY((dateBox ? again.Check2 : again.Check1)->isChecked());

    QTest::mouseClick(dateBox ? again.Check2 : again.Check1, Qt::LeftButton);
    QCOMPARE(storedOption(field), QStringLiteral("0"));
}

void tst_frmAdminSetup::updateStoresAgencyAndTells()
{
    frmAdminSetup &w = showWindow();
    QSignalSpy updated(&w, &frmAdminSetup::agencyUpdated);
    QSignalSpy closed(&w, &frmAdminSetup::closed);
    w.Text1->clear();
    QTest::keyClicks(w.Text1, QStringLiteral("Village of O'Fallon"));
    w.Text2->setText(QStringLiteral("PO Box 7"));
    w.Text3->setText(QStringLiteral("O'Fallon, IL"));
    addName(QStringLiteral("Typed, not refreshed"));
    QTest::mouseClick(w.AdminUpdate, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(updated.size(), 1);
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed.at(0).at(0).toBool(), false);

    DatabaseSession session(m_folder->databasePath());
    QCOMPARE(readAgency(session),
             (AgencyInfo{QStringLiteral("Village of O'Fallon"), QStringLiteral("PO Box 7"),
                         QStringLiteral("O'Fallon, IL")}));
    QCOMPARE(stored(), QStringList{QStringLiteral("Typed, not refreshed")});
}

void tst_frmAdminSetup::escapeAndFrameActAsUpdate()
{
    frmAdminSetup &w = showWindow();
    QSignalSpy updated(&w, &frmAdminSetup::agencyUpdated);
    QSignalSpy closed(&w, &frmAdminSetup::closed);
    w.Text1->setText(QStringLiteral("Escaped"));
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(updated.size(), 1);
    QCOMPARE(closed.size(), 1);

    showWindow();
    QCOMPARE(w.Text1->text(), QStringLiteral("Escaped"));
    w.Text2->setText(QStringLiteral("Framed"));
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
    QCOMPARE(updated.size(), 2);
    QCOMPARE(closed.size(), 2);
    DatabaseSession session(m_folder->databasePath());
    QCOMPARE(readAgency(session).address1, QStringLiteral("Framed"));
}

void tst_frmAdminSetup::keysChooseLikeClicks()
{
    frmAdminSetup &w = showWindow();
    QSignalSpy chosen(&w, &frmAdminSetup::officerChosen);
    addName(QStringLiteral("Alpha"));
    addName(QStringLiteral("Bravo"));
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QCOMPARE(chosen.size(), 0); // filling the list chooses nothing
    clickName(QStringLiteral("Alpha"));
    w.List1->setFocus();
    QTest::keyClick(w.List1, Qt::Key_Down);
    QCOMPARE(chosen.size(), 2);
    QCOMPARE(chosen.last().at(0).toString(), QStringLiteral("Bravo"));
    QCOMPARE(w.chosenOfficer()->name, QStringLiteral("Bravo"));
}

void tst_frmAdminSetup::agencyReadAgainOnShowing()
{
    frmAdminSetup &w = showWindow();
    QTest::mouseClick(w.AdminUpdate, Qt::LeftButton);
    {
        // Another database put in place while the window was hidden.
        DatabaseSession session(m_folder->databasePath());
        writeAgency(session, {QStringLiteral("Restored Town"), QString(), QString()});
        writeReportOptions(session, {true, true});
    }
    showWindow();
    QCOMPARE(w.Text1->text(), QStringLiteral("Restored Town"));
    QVERIFY(w.Check1->isChecked());
    QVERIFY(w.Check2->isChecked());
}

void tst_frmAdminSetup::missingDatabaseKeepsWindowOnUpdate()
{
    frmAdminSetup &w = showWindow();
    QSignalSpy closed(&w, &frmAdminSetup::closed);
    QSignalSpy updated(&w, &frmAdminSetup::agencyUpdated);
    w.Text1->setText(QStringLiteral("Typed"));
    QVERIFY(QFile::remove(m_folder->databasePath()));

    QStringList told;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            told << box->text();
            box->accept();
        }
    });
    closer.start(10);

    // "Update" cannot store: the window stays with what was typed.
    QTest::mouseClick(w.AdminUpdate, Qt::LeftButton);
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().contains(QStringLiteral("OV97.mdb")), qPrintable(told.first()));
    QVERIFY(w.isVisible());
    QCOMPARE(w.Text1->text(), QStringLiteral("Typed"));
    QCOMPARE(closed.size(), 0);

    // A ticked box that cannot be stored shows what is stored.
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    QCOMPARE(told.size(), 2);
    QVERIFY(!w.Check1->isChecked());

    // Escape still lets the user leave, told that nothing was stored.
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    QCOMPARE(told.size(), 3);
    QVERIFY(!w.isVisible());
    QCOMPARE(closed.size(), 1);
    QCOMPARE(updated.size(), 0);
}

QTEST_MAIN(tst_frmAdminSetup)
#include "tst_frmAdminSetup.moc"

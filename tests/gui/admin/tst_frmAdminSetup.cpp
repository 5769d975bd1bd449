// "Administration Setup" driven as a user drives it: the officer list with its
// placeholder, adding, choosing and deleting (names with quotes too), a
// namesake refused, the two report options, "Update" with what it tells the
// main window, "Cancel" (Escape, the frame) discarding after asking, and a
// read-only database told in words.
#include "fixtures/DatabaseTrouble.h"
#include "fixtures/SurveyFixture.h"

#include "core/survey/AgencySettings.h"
#include "gui/admin/frmAdminSetup.h"
#include "gui/kit/Forms.h"
#include "gui/kit/Message.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
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
    void namesakeRefused_data();
    void namesakeRefused();
    void cancelDiscardsAfterAsking_data();
    void cancelDiscardsAfterAsking();
    void readOnlyDatabaseToldInWords_data();
    void readOnlyDatabaseToldInWords();
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
    // Messages go to m_told; questions get the answers of m_answers in turn (No when none).
    void hookMessages();

    std::unique_ptr<SurveyFolder> m_folder;
    QStringList m_told;
    QList<QMessageBox::StandardButton> m_answers;
};

void tst_frmAdminSetup::init()
{
    m_folder = std::make_unique<SurveyFolder>();
    sharedState().setProgramFolder(m_folder->folder());
}

void tst_frmAdminSetup::hookMessages()
{
    m_told.clear();
    m_answers.clear();
    kit::messageHook() = [this](QWidget *, QMessageBox::Icon, const QString &, const QString &text,
                                QMessageBox::StandardButtons buttons) {
        m_told << text;
        if (buttons == QMessageBox::Ok)
            return QMessageBox::Ok;
        return m_answers.isEmpty() ? QMessageBox::No : m_answers.takeFirst();
    };
}

void tst_frmAdminSetup::cleanup()
{
    kit::messageHook() = {};
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
    QCOMPARE(plain(w.AdminCancel->text()), QStringLiteral("Cancel"));
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
    {
        // Namesakes stored before the window refused them.
        DatabaseSession session(m_folder->databasePath());
        for (const char *name : {"Smith", "Jones", "Smith"})
            addOfficer(session, QLatin1String(name));
    }
    frmAdminSetup &w = showWindow();
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

void tst_frmAdminSetup::namesakeRefused_data()
{
    QTest::addColumn<bool>("renaming");
    QTest::addColumn<QString>("typed");
    QTest::newRow("added, same name") << false << "Sgt. Smith";
    QTest::newRow("added, other case and blanks") << false << " sgt. SMITH ";
    QTest::newRow("renamed to another's name") << true << "Sgt. Smith";
}

void tst_frmAdminSetup::namesakeRefused()
{
    QFETCH(bool, renaming);
    QFETCH(QString, typed);
    frmAdminSetup &w = showWindow();
    addName(QStringLiteral("Sgt. Smith"));
    addName(QStringLiteral("Lt. Jones"));
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    hookMessages();
    if (renaming) {
        clickName(QStringLiteral("Lt. Jones"));
        w.InputOfficer->show();
        w.InputOfficer->selectAll();
        QTest::keyClicks(w.InputOfficer, typed);
    } else {
        addName(typed);
    }
    // Neither "Refresh" nor "Update" stores it: the user is told and the name stays to mend.
    for (QPushButton *button : {w.Refresh, w.AdminUpdate}) {
        m_told.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(m_told.size(), 1);
        QVERIFY2(m_told.first().contains(QLatin1String("is listed already")),
                 qPrintable(m_told.first()));
        QVERIFY(w.isVisible());
        QCOMPARE(w.InputOfficer->text(), typed);
    }
    QCOMPARE(stored(), (QStringList{QStringLiteral("Sgt. Smith"), QStringLiteral("Lt. Jones")}));
    // Another name is taken.
    w.InputOfficer->selectAll();
    QTest::keyClicks(w.InputOfficer, QStringLiteral("Cpl. Smith"));
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QCOMPARE(stored().contains(QStringLiteral("Cpl. Smith")), true);
}

void tst_frmAdminSetup::cancelDiscardsAfterAsking_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("edit"); // "", "agency" or "officer"
    QTest::addColumn<bool>("discard"); // the answer to the question
    for (const char *how : {"Cancel", "Escape", "frame"}) {
        QTest::addRow("%s, nothing changed", how) << QString::fromLatin1(how) << "" << false;
        QTest::addRow("%s, agency typed, kept", how)
            << QString::fromLatin1(how) << "agency" << false;
        QTest::addRow("%s, agency typed, discarded", how)
            << QString::fromLatin1(how) << "agency" << true;
        QTest::addRow("%s, officer typed, discarded", how)
            << QString::fromLatin1(how) << "officer" << true;
    }
}

void tst_frmAdminSetup::cancelDiscardsAfterAsking()
{
    QFETCH(QString, how);
    QFETCH(QString, edit);
    QFETCH(bool, discard);
    frmAdminSetup &w = showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QSignalSpy updated(&w, &frmAdminSetup::agencyUpdated);
    QSignalSpy closed(&w, &frmAdminSetup::closed);
    const AgencyInfo before = [&] {
        DatabaseSession session(m_folder->databasePath());
        return readAgency(session);
    }();
    hookMessages();
    if (edit == QLatin1String("agency")) {
        w.Text1->setFocus();
        QTest::keyClicks(w.Text1, QStringLiteral(" Typo"));
    } else if (edit == QLatin1String("officer")) {
        addName(QStringLiteral("Not Stored"));
    }
    m_answers << (discard ? QMessageBox::Yes : QMessageBox::No);
    if (how == QLatin1String("Cancel"))
        QTest::mouseClick(w.AdminCancel, Qt::LeftButton);
    else if (how == QLatin1String("Escape"))
        QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, Qt::Key_Escape);
    else
        QCOMPARE(w.close(), edit.isEmpty() || discard);

    const bool asked = !edit.isEmpty();
    QCOMPARE(m_told.size(), asked ? 1 : 0);
    const bool left = !asked || discard;
    QCOMPARE(w.isVisible(), !left);
    QCOMPARE(closed.size(), left ? 1 : 0);
    QCOMPARE(updated.size(), 0);
    // Nothing typed reaches the database by leaving.
    DatabaseSession session(m_folder->databasePath());
    QCOMPARE(readAgency(session), before);
    QCOMPARE(stored(), QStringList{});
    if (left) {
        showWindow();
        QCOMPARE(w.Text1->text(), before.name);
    } else if (edit == QLatin1String("agency")) {
        QCOMPARE(w.Text1->text(), before.name + QStringLiteral(" Typo"));
    }
}

void tst_frmAdminSetup::readOnlyDatabaseToldInWords_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("Update") << "Update";
    QTest::newRow("report option") << "option";
    QTest::newRow("Add Officer, Refresh") << "add";
    QTest::newRow("Delete Officer") << "delete";
}

void tst_frmAdminSetup::readOnlyDatabaseToldInWords()
{
    QFETCH(QString, action);
    {
        DatabaseSession session(m_folder->databasePath());
        addOfficer(session, QStringLiteral("Sgt. Smith"));
    }
    frmAdminSetup &w = showWindow();
    QTest::mouseClick(w.Refresh, Qt::LeftButton);
    QVERIFY(test::makeReadOnly(m_folder->databasePath()));
    hookMessages();
    if (action == QLatin1String("Update")) {
        w.Text1->setText(QStringLiteral("Changed"));
        QTest::mouseClick(w.AdminUpdate, Qt::LeftButton);
    } else if (action == QLatin1String("option")) {
        QTest::mouseClick(w.Check1, Qt::LeftButton);
    } else if (action == QLatin1String("add")) {
        addName(QStringLiteral("Cpl. Jones"));
        QTest::mouseClick(w.Refresh, Qt::LeftButton);
    } else {
        clickName(QStringLiteral("Sgt. Smith"));
        QTest::mouseClick(w.DeleteOfficer, Qt::LeftButton);
    }
    QCOMPARE(m_told.size(), 1);
    const QString told = m_told.first();
    // The database and the reason in words, then advice; never the engine's
    // "attempt to write a readonly database Unable to fetch row [UPDATE ...]".
    for (const QString &part : {QDir::toNativeSeparators(m_folder->databasePath()),
                                QStringLiteral("could not be written: it is read-only"),
                                QStringLiteral("Make the file and its folder writable")})
        QVERIFY2(told.contains(part), qPrintable(told));
    for (const char *raw : {"readonly", "Unable to", "UPDATE", "INSERT", "DELETE"})
        QVERIFY2(!told.contains(QLatin1String(raw)), qPrintable(told));
    QVERIFY(w.isVisible());
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

    // Escape is Cancel: asked first, the typed agency is discarded and the user leaves.
    closer.stop();
    hookMessages();
    m_answers << QMessageBox::Yes;
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    QCOMPARE(m_told.size(), 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(closed.size(), 1);
    QCOMPARE(updated.size(), 0);
}

QTEST_MAIN(tst_frmAdminSetup)
#include "tst_frmAdminSetup.moc"

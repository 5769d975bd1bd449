#pragma once
// A program folder for the intake window tests: a temporary folder with a blank
// database and the sample raw file, and a recorder in place of message boxes.

#include "intake/IntakeMessage.h"
#include "intake/frmLoadDataFile.h"
#include "intake/frmProcessData.h"
#include "store/DatabaseSession.h"
#include "store/Schema.h"
#include "store/SharedState.h"
#include "views/Forms.h"
#include "views/frmRoadtally.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QList>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace roadtally::testing {

struct ShownMessage
{
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
};

inline const QString SampleFile = QStringLiteral("layout-sample.ovd");

class IntakeFixture
{
public:
    IntakeFixture()
    {
        QVERIFY(m_dir.isValid());
        m_folder = m_dir.path() + QStringLiteral("/program");
        QVERIFY(QDir().mkpath(m_folder));
        sharedState().setProgramFolder(m_folder);
        sharedState().rawDataText.clear();
        QCOMPARE(createBlankDatabase(databasePathIn(m_folder)), QString());
        QVERIFY(QFile::copy(QStringLiteral(ROADTALLY_TEST_DATA "/raw/") + SampleFile,
                            path(SampleFile)));
        intakeMessageFunction() = [this](QWidget *, QMessageBox::Icon icon, const QString &title,
                                         const QString &text, QMessageBox::StandardButtons buttons) {
            messages.append({icon, title, text, buttons});
            return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
        };
    }

    ~IntakeFixture()
    {
        intakeMessageFunction() = {};
        // Each test starts from freshly made windows, as a new run would.
        delete formSlot<frmLoadDataFile>().data();
        delete formSlot<frmProcessData>().data();
        delete formSlot<frmRoadtally>().data();
    }

    QString folder() const { return m_folder; }
    QString outside() const { return m_dir.path(); }
    QString path(const QString &name) const { return QDir(m_folder).filePath(name); }

    void writeFile(const QString &fullPath, const QByteArray &bytes = "x")
    {
        QFile file(fullPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Counts rows of a table of the program folder's database.
    int rowCount(const QString &table)
    {
        DatabaseSession session(databasePathIn(m_folder));
        return session.scalar(QStringLiteral("select count(*) from ") + table).toInt();
    }

    QList<ShownMessage> messages;
    QList<QMessageBox::StandardButton> answers; // replies to the next boxes; Ok when none

private:
    QTemporaryDir m_dir;
    QString m_folder;
};

// Shows the dialog as the main window's load command does.
inline frmLoadDataFile &openLoadDialog()
{
    frmRoadtally &main = form<frmRoadtally>();
    main.setEnabled(false);
    frmLoadDataFile &dialog = main.loadDataFileWindow();
    dialog.showLoadMode();
    return dialog;
}

// The list entries of the dialog.
inline QStringList listed(const frmLoadDataFile &dialog)
{
    QStringList names;
    for (int i = 0; i < dialog.File1->count(); ++i)
        names << dialog.File1->item(i)->text();
    return names;
}

// Clicks the entry of name in the file list.
inline void clickFile(frmLoadDataFile &dialog, const QString &name)
{
    const QList<QListWidgetItem *> found = dialog.File1->findItems(name, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(name));
    const QRect cell = dialog.File1->visualItemRect(found.first());
    QTest::mouseClick(dialog.File1->viewport(), Qt::LeftButton, {}, cell.center());
}

// A user's choice from a drop-down list.
inline void choose(QComboBox *combo, const QString &item)
{
    const int index = combo->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

} // namespace roadtally::testing

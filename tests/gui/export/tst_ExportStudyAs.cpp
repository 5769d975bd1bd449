// File > Export Study As.... on a generated survey: the workbook and the CSV
// files written where chosen, with a message naming them; the save dialog's
// offer; failures that show a warning and leave nothing under the chosen name;
// a cancelled dialog that writes nothing.
#include "fixtures/ExportFixture.h"

#include "core/export/SurveyExport.h"
#include "gui/export/ExportStudyAs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace roadtally;
using namespace roadtally::testing;

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

// The message box the export left open, closed; none gives a null icon.
struct Shown
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
};

Shown takeMessage()
{
    Shown shown;
    QCoreApplication::processEvents();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box || !box->isVisible())
            continue;
        shown = {box->icon(), box->text()};
        box->close();
    }
    QCoreApplication::processEvents();
    return shown;
}

} // namespace

class tst_ExportStudyAs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        SampleOptions options;
        options.vehicles = 600;
        options.days = 2;
        m_survey = importSample(m_dir.path(), options, QStringLiteral("Oak Street"));
        QVERIFY2(m_survey.error.isEmpty(), qPrintable(m_survey.error));
    }

    void workbook_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("with suffix") << "survey.xlsx"
                                     << "survey.xlsx";
        QTest::newRow("suffix added") << "survey"
                                      << "survey.xlsx";
        QTest::newRow("replacing an earlier file") << "again.xlsx"
                                                   << "again.xlsx";
    }
    void workbook()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QTemporaryDir out;
        if (written == QLatin1String("again.xlsx")) {
            QFile old(out.filePath(written));
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("an earlier export");
        }
        QWidget parent;
        const ExportWriteResult r = exportStudyTo(&parent, m_survey.database, m_survey.batch,
                                                  ExportKind::Excel, out.filePath(typed));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(entries(out.path()), QStringList{written});
        const XlsxBook book = XlsxBook::read(out.filePath(written));
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QVERIFY(book.sheetNames().contains(QStringLiteral("Speed Study")));
        const Shown shown = takeMessage();
        QCOMPARE(shown.icon, QMessageBox::Information);
        QVERIFY2(shown.text.contains(QDir::toNativeSeparators(out.filePath(written))),
                 qPrintable(shown.text));
        QVERIFY(shown.text.contains(m_survey.batch));
    }

    void csvFiles()
    {
        QTemporaryDir out;
        QWidget parent;
        const ExportWriteResult r =
            exportStudyTo(&parent, m_survey.database, m_survey.batch, ExportKind::Csv, out.path());
        QVERIFY2(r.ok(), qPrintable(r.error));
        const QStringList files = entries(out.path());
        QCOMPARE(files.size(), r.files.size());
        QVERIFY(files.contains(m_survey.batch + QStringLiteral(" Speed Study.csv")));
        const Shown shown = takeMessage();
        QCOMPARE(shown.icon, QMessageBox::Information);
        for (const QString &f : files)
            QVERIFY2(shown.text.contains(f), qPrintable(shown.text));
    }

    void failuresLeaveNothing_data()
    {
        QTest::addColumn<int>("kind");       // ExportKind
        QTest::addColumn<QString>("target"); // in the temporary folder; "" the folder itself
        QTest::addColumn<QString>("batch");  // "" the survey's
        QTest::addColumn<bool>("database");  // false: a database that is not there
        QTest::addColumn<QString>("words");
        QTest::newRow("workbook in a missing folder")
            << int(ExportKind::Excel) << "gone/survey.xlsx"
            << "" << true << "does not exist";
        QTest::newRow("workbook onto a folder") << int(ExportKind::Excel) << "taken.xlsx"
                                                << "" << true << "taken.xlsx";
        QTest::newRow("CSV into a missing folder") << int(ExportKind::Csv) << "gone"
                                                   << "" << true << "does not exist";
        QTest::newRow("unknown survey") << int(ExportKind::Excel) << "survey.xlsx"
                                        << "999999-Z" << true << "999999-Z";
        QTest::newRow("no database") << int(ExportKind::Csv) << ""
                                     << "" << false << "no survey database";
    }
    void failuresLeaveNothing()
    {
        QFETCH(int, kind);
        QFETCH(QString, target);
        QFETCH(QString, batch);
        QFETCH(bool, database);
        QFETCH(QString, words);
        QTemporaryDir out;
        QVERIFY(QDir(out.path()).mkdir(QStringLiteral("taken.xlsx")));
        const QStringList before = entries(out.path());
        QWidget parent;
        const ExportWriteResult r = exportStudyTo(
            &parent, database ? m_survey.database : out.filePath(QStringLiteral("OV97.mdb")),
            batch.isEmpty() ? m_survey.batch : batch, ExportKind(kind),
            target.isEmpty() ? out.path() : out.filePath(target));
        QVERIFY(!r.ok());
        QVERIFY(r.files.isEmpty());
        QCOMPARE(entries(out.path()), before);
        QVERIFY(QFileInfo(out.filePath(QStringLiteral("taken.xlsx"))).isDir());
        const Shown shown = takeMessage();
        QCOMPARE(shown.icon, QMessageBox::Warning);
        QVERIFY2(shown.text.contains(words, Qt::CaseInsensitive), qPrintable(shown.text));
        QVERIFY(shown.text.contains(QLatin1String("nothing was written")));
    }

    void cancelledDialogWritesNothing()
    {
        QWidget parent;
        const ExportWriteResult r =
            exportStudyTo(&parent, m_survey.database, m_survey.batch, ExportKind::Csv, QString());
        QVERIFY(r.ok());
        QVERIFY(r.files.isEmpty());
        QCOMPARE(takeMessage().icon, QMessageBox::NoIcon);
    }

    void noSurveyShown()
    {
        QWidget parent;
        exportStudyAs(&parent, m_survey.database, QStringLiteral("  "), ExportKind::Excel);
        const Shown shown = takeMessage();
        QCOMPARE(shown.icon, QMessageBox::Warning);
        QVERIFY(shown.text.contains(QLatin1String("No survey is shown")));
    }

    // The save dialog offers the batch number with ".xlsx" in the program folder.
    void saveDialogOffer()
    {
        QWidget parent;
        QString offered;
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *dialog = qobject_cast<QFileDialog *>(w);
                if (!dialog || !dialog->isVisible())
                    continue;
                seen = true;
                offered = dialog->selectedFiles().value(0);
                dialog->reject(); // cancelled: nothing is written
            }
        });
        const QStringList before = entries(m_dir.path());
        exportStudyAs(&parent, m_survey.database, m_survey.batch, ExportKind::Excel);
        QVERIFY(seen);
        QCOMPARE(QFileInfo(offered).fileName(), m_survey.batch + QStringLiteral(".xlsx"));
        QCOMPARE(QFileInfo(offered).absolutePath(), QFileInfo(m_survey.database).absolutePath());
        QCOMPARE(entries(m_dir.path()), before);
        QCOMPARE(takeMessage().icon, QMessageBox::NoIcon);
    }

private:
    QTemporaryDir m_dir;
    ImportedSurvey m_survey;
};

QTEST_MAIN(tst_ExportStudyAs)
#include "tst_ExportStudyAs.moc"

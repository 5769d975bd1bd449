// The print preview window: the pages of the built report, navigation, zoom
// and pan, printing and saving as PDF, a report that fails, and when the
// report is built again.

#include "core/reports/PageDump.h"
#include "core/store/DatabaseSession.h"
#include "fixtures/ReportInputs.h"
#include "gui/preview/VSPrint.h"

#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <stdexcept>

using namespace Qt::StringLiterals;

using namespace roadtally;

Q_DECLARE_METATYPE(roadtally::VSPrint::Builder)

namespace {

// A report of n pages, "Page 1" .. "Page n", one paragraph each.
VSPrint::Builder pagesBuilder(int n, int *calls = nullptr)
{
    return [n, calls](DocumentEngine &vp) {
        if (calls)
            ++*calls;
        vp.BeginDocument();
        for (int i = 1; i <= n; ++i) {
            vp.WriteParagraph(QStringLiteral("Page %1").arg(i));
            if (i < n)
                vp.DocumentAction(DocumentEngine::NextColumnAction);
        }
        vp.FinishDocument();
    };
}

// Shows the preview and waits for its first build.
VSPrint *openPreview(VSPrint::Builder builder)
{
    auto *w = new VSPrint;
    w->showReport(ReportKind::Summary, std::move(builder));
    (void)QTest::qWaitForWindowActive(w);
    (void)QTest::qWaitFor([w] { return w->buildCount() >= 1; }, 5000);
    return w;
}

// The message box the window shows, closed; its text.
QString dismissMessage(QWidget *owner)
{
    QMessageBox *box = nullptr;
    (void)QTest::qWaitFor([&] { return (box = owner->findChild<QMessageBox *>()) != nullptr; },
                          5000);
    if (!box)
        return QStringLiteral("(no message)");
    const QString text = box->text();
    box->close();
    QApplication::processEvents();
    return text;
}

// Closes whatever modal dialog comes up next (a print or file dialog run by exec()).
void rejectNextModal()
{
    QTimer::singleShot(0, [] {
        auto rejectModal = [](auto &self) -> void {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                dialog->reject();
                return;
            }
            QTimer::singleShot(20, [self] { self(self); });
        };
        rejectModal(rejectModal);
    });
}

int pdfPages(const QString &path)
{
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdfinfo.isEmpty())
        return -1;
    QProcess p;
    p.start(pdfinfo, {path});
    if (!p.waitForFinished(30000))
        return -2;
    const QString out = QString::fromLatin1(p.readAllStandardOutput());
    const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = pages.match(out);
    return m.hasMatch() ? m.captured(1).toInt() : -3;
}

// The window system gives the activation back once a dialog over the window has closed.
void backToWindow(QWidget *window)
{
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    QApplication::processEvents();
}

void returnFromAnotherWindow(QWidget *window)
{
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    other.hide();
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
}

} // namespace

class tst_VSPrint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        QList<QPointer<VSPrint>> windows;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *preview = qobject_cast<VSPrint *>(w))
                windows << preview;
        for (const QPointer<VSPrint> &w : windows)
            delete w.data();
    }

    void windowAndControls()
    {
        QPointer<VSPrint> w = openPreview(pagesBuilder(1));
        QCOMPARE(w->windowTitle(), QStringLiteral("Roadtally Print Preview"));
        QCOMPARE(w->Command2->text(), QStringLiteral("Close"));
        QCOMPARE(w->Label1->text(),
                 QStringLiteral("  Double click to zoom, click and drag to pan / double right "
                                "click zoom out"));
        QStringList modes;
        for (QAction *a : w->vp->zoomMenu->actions())
            if (!a->isSeparator() && !a->text().endsWith(QLatin1Char('%')))
                modes << a->text();
        QCOMPARE(modes.join(QLatin1Char('|')),
                 QStringLiteral("Whole &Page|Page &Width|&Two Pages|Thumb&nail"));
        // Each build starts at 70 %.
        QCOMPARE(qRound(w->vp->PreviewZoom()), 70);
        // The Close button stands over the pane's top right corner.
        QVERIFY(w->vp->geometry().contains(w->Command2->geometry().topRight()));
    }

    void navigation_data()
    {
        QTest::addColumn<int>("pages");
        QTest::newRow("one page") << 1;
        QTest::newRow("three pages") << 3;
        QTest::newRow("forty pages") << 40;
        QTest::newRow("three thousand pages") << 3000;
    }
    void navigation()
    {
        QFETCH(int, pages);
        QPointer<VSPrint> w = openPreview(pagesBuilder(pages));
        PreviewPane *vp = w->vp;
        QCOMPARE(w->pageCount(), pages);
        QCOMPARE(vp->view()->currentPage(), 0);
        QCOMPARE(vp->pageBox->value(), 1);
        QCOMPARE(vp->pageTotal->text(), QStringLiteral("of %1").arg(pages));
        QCOMPARE(vp->nextButton->isEnabled(), pages > 1);
        QVERIFY(!vp->previousButton->isEnabled());

        vp->lastButton->click();
        QCOMPARE(vp->view()->currentPage(), pages - 1);
        QCOMPARE(vp->pageBox->value(), pages);
        QVERIFY(!vp->nextButton->isEnabled());
        vp->previousButton->click();
        QCOMPARE(vp->view()->currentPage(), std::max(0, pages - 2));
        vp->firstButton->click();
        QCOMPARE(vp->view()->currentPage(), 0);
        vp->nextButton->click();
        QCOMPARE(vp->view()->currentPage(), std::min(1, pages - 1));
        vp->pageBox->setValue(pages);
        QCOMPARE(vp->view()->currentPage(), pages - 1);
        // The page in view is the current one.
        const QRect r = vp->view()->pageRect(pages - 1);
        QVERIFY(r.intersects(vp->view()->viewport()->rect()));
        QVERIFY(!w->grab().isNull());
        // Scrolling to the top makes the first page current.
        vp->view()->verticalScrollBar()->setValue(0);
        QCOMPARE(vp->view()->currentPage(), 0);
        QCOMPARE(vp->pageBox->value(), 1);
    }

    void zoomModes()
    {
        QPointer<VSPrint> w = openPreview(pagesBuilder(12));
        PageView *view = w->vp->view();
        const QSize port = view->viewport()->size();
        auto trigger = [&](const QString &caption) {
            for (QAction *a : w->vp->zoomMenu->actions())
                if (a->text() == caption)
                    a->trigger();
        };
        trigger(QStringLiteral("Whole &Page"));
        QCOMPARE(view->zoomMode(), PageView::WholePage);
        QRect page = view->pageRect(0);
        QVERIFY(page.height() <= port.height() && page.width() <= port.width());
        QVERIFY(page.height() >= port.height() - 30 || page.width() >= port.width() - 30);
        QCOMPARE(view->pagesPerRow(), 1);
        const double whole = view->scale();

        trigger(QStringLiteral("Page &Width"));
        page = view->pageRect(0);
        QVERIFY(qAbs(page.width() - (port.width() - 24)) <= 1);
        QVERIFY(view->scale() > whole);

        trigger(QStringLiteral("&Two Pages"));
        QCOMPARE(view->pagesPerRow(), 2);
        QCOMPARE(view->pageRect(0).top(), view->pageRect(1).top());
        QVERIFY(view->pageRect(1).right() <= port.width());

        trigger(QStringLiteral("Thumb&nail"));
        QVERIFY(view->pagesPerRow() > 2);
        QVERIFY(view->scale() < whole);

        trigger(QStringLiteral("150%"));
        QCOMPARE(view->zoomMode(), PageView::ZoomPercent);
        QCOMPARE(qRound(view->zoomPercent()), 150);
        QCOMPARE(w->vp->zoomButton->text(), QStringLiteral("150%"));
    }

    void mouseGestures()
    {
        QPointer<VSPrint> w = openPreview(pagesBuilder(3));
        PageView *view = w->vp->view();
        QWidget *port = view->viewport();
        const QPoint centre = port->rect().center();
        QCOMPARE(qRound(view->zoomPercent()), 70);

        QTest::mouseDClick(port, Qt::LeftButton, {}, centre);
        QCOMPARE(qRound(view->zoomPercent()), qRound(70 * PageView::ZoomStep));
        QTest::mouseDClick(port, Qt::RightButton, {}, centre);
        QCOMPARE(qRound(view->zoomPercent()), 70);
        for (int i = 0; i < 12; ++i)
            QTest::mouseDClick(port, Qt::RightButton, {}, centre);
        QCOMPARE(view->zoomPercent(), PageView::MinimumZoom);

        // Click and drag: the page follows the mouse.
        view->setZoomPercent(200);
        QScrollBar *h = view->horizontalScrollBar(), *v = view->verticalScrollBar();
        h->setValue(h->maximum() / 2);
        v->setValue(100);
        const QPoint scroll(h->value(), v->value());
        QTest::mousePress(port, Qt::LeftButton, {}, centre);
        QMouseEvent move(QEvent::MouseMove, QPointF(centre - QPoint(40, 60)),
                         port->mapToGlobal(QPointF(centre - QPoint(40, 60))), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(port, &move);
        QTest::mouseRelease(port, Qt::LeftButton, {}, centre - QPoint(40, 60));
        QCOMPARE(QPoint(h->value(), v->value()), scroll + QPoint(40, 60));
    }

    void saveAsPdf()
    {
        QPointer<VSPrint> w = openPreview(pagesBuilder(4));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        QVERIFY(w->savePdf(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(5), QByteArray("%PDF-"));
        const int pages = pdfPages(path);
        if (pages != -1)
            QCOMPARE(pages, 4);
    }

    void saveAsPdfFails_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("folder under a file") << "afile/report.pdf";
        QTest::newRow("missing folder") << "missing/report.pdf";
        QTest::newRow("a folder itself") << "folder";
    }
    void saveAsPdfFails()
    {
        QFETCH(QString, target);
        QPointer<VSPrint> w = openPreview(pagesBuilder(2));
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("afile")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QStringList before =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QVERIFY(!w->savePdf(dir.filePath(target)));
        QVERIFY(dismissMessage(w).startsWith(QStringLiteral("The report could not be saved: ")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
        QCOMPARE(w->buildCount(), 1); // the message box did not rebuild the report
    }

    void printToFile_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("printed");
        QTest::newRow("all pages") << 0 << 0 << 5;
        QTest::newRow("pages 2 to 3") << 2 << 3 << 2;
        QTest::newRow("past the end") << 4 << 9 << 2;
    }
    void printToFile()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, printed);
        QPointer<VSPrint> w = openPreview(pagesBuilder(5));
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        if (from > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, to);
        }
        QString shown;
        QTimer::singleShot(0, w, [&] {
            if (auto *label = w->findChild<QLabel *>(QStringLiteral("printingPage")))
                shown = label->text();
        });
        QVERIFY(w->printDocument(printer));
        QCOMPARE(shown, QStringLiteral("Now printing Page %1 of 5").arg(std::max(1, from)));
        const int pages = pdfPages(printer.outputFileName());
        if (pages != -1)
            QCOMPARE(pages, printed);
    }

    void cancelPrinting()
    {
        QPointer<VSPrint> w = openPreview(pagesBuilder(5));
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        QTimer::singleShot(0, w, [&] {
            if (auto *cancel = w->findChild<QPushButton *>(QStringLiteral("cancelPrinting")))
                cancel->click();
        });
        QVERIFY(!w->printDocument(printer));
    }

    void failingReport_data()
    {
        QTest::addColumn<bool>("database");
        QTest::newRow("database error") << true;
        QTest::newRow("other error") << false;
    }
    void failingReport()
    {
        QFETCH(bool, database);
        int calls = 0;
        QPointer<VSPrint> w = openPreview([&](DocumentEngine &vp) {
            ++calls;
            vp.BeginDocument();
            vp.WriteParagraph(QStringLiteral("half a report"));
            if (database)
                throw DatabaseError("no such table: Speed_Profile");
            throw std::runtime_error("out of paper");
        });
        const QString text = dismissMessage(w);
        // A database failure in words with advice, the engine's text under "Details".
        if (database)
            QVERIFY2(text.contains(QLatin1String("could not be read: the database engine reported "
                                                 "an error. The report could not be made.")) &&
                         !text.contains(QLatin1String("Speed_Profile")),
                     qPrintable(text));
        else
            QCOMPARE(text, QStringLiteral("The report could not be made: out of paper"));
        QCOMPARE(w->pageCount(), 0);
        QCOMPARE(w->document().pageCount(), 0);
        QVERIFY(!w->vp->printButton->isEnabled());
        QVERIFY(!w->vp->pdfButton->isEnabled());
        QVERIFY(!w->savePdf(QStringLiteral("/nonexistent/x.pdf")));
        // Closing the message gave the activation back: no second build.
        backToWindow(w);
        QCOMPARE(calls, 1);
        QCOMPARE(w->buildCount(), 1);
        // The window paints its empty pane.
        QVERIFY(!w->grab().isNull());
    }

    void engineThatCannotBegin()
    {
        QPointer<VSPrint> w = openPreview([](DocumentEngine &vp) {
            vp.setDeviceError(2);
            vp.BeginDocument();
            vp.WriteParagraph(QStringLiteral("nothing"));
            vp.FinishDocument();
        });
        QCOMPARE(w->pageCount(), 0);
        QVERIFY(w->findChild<QMessageBox *>() == nullptr);
    }

    // The report is built again when the window becomes active coming from
    // another window of the program, not on the return from its own dialogs.
    void rebuilds()
    {
        int calls = 0;
        int pages = 2;
        QPointer<VSPrint> w = openPreview([&](DocumentEngine &vp) {
            ++calls;
            pagesBuilder(pages)(vp);
        });
        QCOMPARE(calls, 1);
        QCOMPARE(w->pageCount(), 2);

        // Its own print dialog, closed.
        rejectNextModal();
        w->vp->printButton->click();
        backToWindow(w);
        QCOMPARE(calls, 1);

        // Its own file dialog, closed.
        rejectNextModal();
        w->vp->pdfButton->click();
        backToWindow(w);
        QCOMPARE(calls, 1);

        // Its own message box.
        w->savePdf(QStringLiteral("/nonexistent/x.pdf"));
        dismissMessage(w);
        backToWindow(w);
        QCOMPARE(calls, 1);

        // Another window of the program: a fresh build from the state as it is now.
        pages = 3;
        returnFromAnotherWindow(w);
        QTRY_COMPARE(calls, 2);
        QCOMPARE(w->pageCount(), 3);
        QCOMPARE(w->buildCount(), 2);
        QCOMPARE(qRound(w->vp->PreviewZoom()), 70);
    }

    // Real reports look as the engine laid them out; with ROADTALLY_SHOTS set
    // to a folder, the window is saved there as PNG in each zoom mode.
    void realReports_data()
    {
        QTest::addColumn<VSPrint::Builder>("build");
        QTest::newRow("summary") << VSPrint::Builder(
            [](DocumentEngine &vp) { ReportSummary(vp, testing::summaryInput()); });
        QTest::newRow("profile") << VSPrint::Builder(
            [](DocumentEngine &vp) { SpeedProfile(vp, testing::profileInput(700)); });
    }
    void realReports()
    {
        QFETCH(VSPrint::Builder, build);
        DocumentEngine direct;
        SetDefaultStyle(direct);
        build(direct);
        QPointer<VSPrint> w = openPreview(build);
        QCOMPARE(w->pageCount(), direct.pageCount());
        QCOMPARE(dumpDocument(w->document()), dumpDocument(*direct.document()));

        const QString shots = qEnvironmentVariable("ROADTALLY_SHOTS");
        if (shots.isEmpty())
            return;
        QDir().mkpath(shots);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        auto save = [&](const QString &how) {
            QApplication::processEvents();
            QVERIFY(w->grab().save(
                QDir(shots).filePath(name + QLatin1Char('-') + how + QStringLiteral(".png"))));
        };
        save(QStringLiteral("70"));
        const PageView::ZoomMode modes[] = {PageView::WholePage, PageView::PageWidth,
                                            PageView::TwoPages, PageView::Thumbnail};
        const char *names[] = {"whole", "width", "two", "thumbnail"};
        for (int i = 0; i < 4; ++i) {
            w->vp->view()->setZoomMode(modes[i]);
            save(QString::fromLatin1(names[i]));
        }
    }

    void closing()
    {
        QPointer<VSPrint> w = openPreview(pagesBuilder(1));
        QSignalSpy closed(w.data(), &VSPrint::closed);
        QTest::mouseClick(w->Command2, Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
        QTRY_VERIFY(w.isNull()); // deleted on close

        QPointer<VSPrint> v = openPreview(pagesBuilder(1));
        QSignalSpy closedToo(v.data(), &VSPrint::closed);
        v->close(); // the window frame's close
        QCOMPARE(closedToo.count(), 1);
        QTRY_VERIFY(v.isNull());

        // Escape is Close, wherever the focus is in the window.
        QPointer<VSPrint> e = openPreview(pagesBuilder(1));
        QSignalSpy closedByEscape(e.data(), &VSPrint::closed);
        e->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e.data()));
        QTest::keyClick(e->focusWidget() ? e->focusWidget() : e.data(), Qt::Key_Escape);
        QCOMPARE(closedByEscape.count(), 1);
        QTRY_VERIFY(e.isNull());
    }
};

QTEST_MAIN(tst_VSPrint)
#include "tst_VSPrint.moc"

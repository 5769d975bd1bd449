#include "gui/preview/VSPrint.h"

#include "core/reports/PagePainter.h"
#include "core/reports/PdfOutput.h"
#include "core/reports/ReportFrame.h"
#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "gui/kit/ActivationWatch.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/HelpKey.h"
#include "gui/kit/Message.h"
#include "gui/kit/WidgetKit.h"
#include "gui/kit/WindowClose.h"
#include "gui/kit/WindowPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <exception>
#include <optional>

namespace roadtally {

const QString VSPrint::Caption = QStringLiteral("Roadtally Print Preview");
const QString VSPrint::Hint =
    QStringLiteral("  Double click to zoom, click and drag to pan / double right click zoom out");

namespace {

// The window's designed client area and the places of its controls, in twips.
constexpr double ClientWidth = 10050, ClientHeight = 9360;
constexpr double PaneLeft = 240, PaneTop = 165, PaneWidth = 9525, PaneHeight = 8625;
constexpr double CloseLeft = 9030, CloseWidth = 720, CloseHeight = 300;
constexpr double HintLeft = 555, HintTop = 8925, HintWidth = 8745, HintHeight = 270;

// Zoom of the pane each time a report is built.
constexpr double ActivationZoom = 70;

// The box shown while the pages go to the printer.
class PrintProgress : public QDialog
{
public:
    PrintProgress(QWidget *parent, const QString &printer, const QString &port) : QDialog(parent)
    {
        setObjectName(QStringLiteral("printProgress"));
        setWindowTitle(QStringLiteral("Printing..."));
        setWindowModality(Qt::WindowModal);
        m_page = new QLabel(this);
        m_page->setObjectName(QStringLiteral("printingPage"));
        auto *where =
            new QLabel(port.isEmpty() ? QStringLiteral("on the %1").arg(printer)
                                      : QStringLiteral("on the %1 on %2").arg(printer, port),
                       this);
        where->setObjectName(QStringLiteral("printingOn"));
        auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
        cancel->setObjectName(QStringLiteral("cancelPrinting"));
        connect(cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(24, 16, 24, 12);
        layout->addWidget(m_page, 0, Qt::AlignHCenter);
        layout->addWidget(where, 0, Qt::AlignHCenter);
        layout->addSpacing(8);
        layout->addWidget(cancel, 0, Qt::AlignHCenter);
        setMinimumWidth(320);
    }

    void showPage(int page, int pages)
    {
        m_page->setText(QStringLiteral("Now printing Page %1 of %2").arg(page).arg(pages));
        // The Cancel button must get its click between pages.
        QCoreApplication::processEvents();
    }
    bool cancelled() const { return m_cancelled; }

protected:
    void reject() override { m_cancelled = true; } // Escape or the frame's close: cancel

private:
    QLabel *m_page = nullptr;
    bool m_cancelled = false;
};

const Document &emptyDocument()
{
    static const Document empty;
    return empty;
}

} // namespace

VSPrint::VSPrint(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("VSPrint"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Caption);
    kit::setHelpPage(this, QStringLiteral("printing"));

    vp = new PreviewPane(this);
    vp->setObjectName(QStringLiteral("vp"));
    Command2 = new QPushButton(QStringLiteral("Close"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->raise(); // over the top right corner of the pane
    Label1 = new QLabel(Hint, this);
    Label1->setObjectName(QStringLiteral("Label1"));

    resize(pixels(ClientWidth), pixels(ClientHeight));
    setMinimumSize(pixels(ClientWidth) * 2 / 3, pixels(ClientHeight) * 2 / 3);
    vp->setBarReserve(pixels(CloseWidth) + 8);

    connect(Command2, &QPushButton::clicked, this, &VSPrint::Command2_Click);
    kit::closeThrough(this, Command2);
    connect(vp, &PreviewPane::printRequested, this, &VSPrint::printReport);
    connect(vp, &PreviewPane::pdfRequested, this, &VSPrint::saveReportAsPdf);
    m_watch = new ActivationWatch(this, [this] { Form_Activate(); });
}

VSPrint::~VSPrint() = default;

int VSPrint::pixels(double twips) const
{
    return qRound(twips * logicalDpiX() / 1440.0);
}

void VSPrint::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The pane takes what the window gains; the button stays on its top right
    // corner and the hint below it.
    const int paneRight = width() - pixels(ClientWidth - PaneLeft - PaneWidth);
    const int paneBottom = height() - pixels(ClientHeight - PaneTop - PaneHeight);
    vp->setGeometry(
        QRect(QPoint(pixels(PaneLeft), pixels(PaneTop)), QPoint(paneRight - 1, paneBottom - 1)));
    const int closeRight = paneRight - pixels(PaneLeft + PaneWidth - CloseLeft - CloseWidth);
    const int barHeight = std::max(pixels(CloseHeight), vp->barHeight());
    Command2->setGeometry(closeRight - pixels(CloseWidth), pixels(PaneTop), pixels(CloseWidth),
                          barHeight);
    Label1->setGeometry(pixels(HintLeft), paneBottom + pixels(HintTop - PaneTop - PaneHeight),
                        std::max(pixels(HintWidth), paneRight - pixels(HintLeft)),
                        pixels(HintHeight));
}

void VSPrint::showReport(ReportKind report, Builder builder)
{
    m_report = report;
    m_builder = std::move(builder);
    if (isVisible()) {
        // Already showing: no activation is coming, so build the new report now.
        Form_Activate();
        raise();
        activateWindow();
        return;
    }
    show();
    raise();
    activateWindow();
}

const Document &VSPrint::document() const
{
    return m_document ? *m_document : emptyDocument();
}

int VSPrint::pageCount() const
{
    return m_document ? m_document->pageCount() : 0;
}

void VSPrint::Form_Activate()
{
    ++m_builds;
    placeOnScreen(this);
    QString failure;
    std::optional<DatabaseError> databaseFailure;
    std::shared_ptr<const Document> built;
    {
        kit::BusyPointer busy;
        DocumentEngine engine;
        SetDefaultStyle(engine);
        try {
            if (m_builder)
                m_builder(engine);
            // An engine that could not begin leaves nothing to show.
            if (engine.document() && engine.document()->finished)
                built = engine.document();
        } catch (const DatabaseError &error) {
            databaseFailure = error;
        } catch (const std::exception &error) {
            failure = QString::fromUtf8(error.what());
        } catch (...) {
            failure = QStringLiteral("unknown error");
        }
    }
    showDocument(built);
    vp->setPreviewZoom(ActivationZoom);
    if (databaseFailure) {
        const QString path = sharedState().deriveDatabasePath();
        kit::tellDatabaseFailure(
            this,
            kit::databaseFailureText(path, kit::DatabaseAccess::Read, databaseFailure->fault()) +
                QStringLiteral(" The report could not be made."),
            databaseFailure->fault(), QString::fromUtf8(databaseFailure->what()));
    } else if (!failure.isEmpty()) {
        kit::notice(this, QStringLiteral("The report could not be made: %1").arg(failure));
    }
}

void VSPrint::showDocument(std::shared_ptr<const Document> document)
{
    m_document = std::move(document);
    vp->setDocument(m_document);
}

void VSPrint::Command2_Click()
{
    // The pages still going to the printer need the document: cancel first.
    if (m_printing)
        return;
    emit closed();
    hide();
    deleteLater();
}

bool VSPrint::savePdf(const QString &path)
{
    if (pageCount() == 0)
        return false;
    QString error;
    {
        kit::BusyPointer busy;
        error = writePdf(*m_document, path, QFileInfo(path).completeBaseName());
    }
    if (error.isEmpty())
        return true;
    kit::notice(this, QStringLiteral("The report could not be saved: %1").arg(error));
    return false;
}

void VSPrint::saveReportAsPdf()
{
    if (pageCount() == 0)
        return;
    static QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save as PDF"),
                                                QDir(folder).filePath(QStringLiteral("Report.pdf")),
                                                QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    folder = QFileInfo(path).absolutePath();
    savePdf(path);
}

void VSPrint::printReport()
{
    if (pageCount() == 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    printer.setFromTo(1, pageCount());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print"));
    dialog.setMinMax(1, pageCount());
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printDocument(printer);
}

bool VSPrint::printDocument(QPrinter &printer)
{
    const int pages = pageCount();
    if (pages == 0 || m_printing)
        return false;
    int from = 1, to = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        to = printer.toPage() > 0 ? std::min(pages, printer.toPage()) : pages;
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        from = to = vp->view()->currentPage() + 1;
    }
    if (from > to)
        return false;
    // Copies the printer cannot make itself are printed here.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    const bool collate = printer.collateCopies();

    printer.setFullPage(true); // the page items are placed from the paper's corner
    const QString name =
        printer.outputFileName().isEmpty() ? printer.printerName() : QStringLiteral("PDF file");
    QString port = QDir::toNativeSeparators(printer.outputFileName());
    if (port.isEmpty())
        port = QPrinterInfo::printerInfo(printer.printerName()).location();

    m_printing = true;
    PrintProgress progress(this, name, port);
    progress.show();
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_printing = false;
        progress.hide();
        kit::notice(this,
                    QStringLiteral("The report could not be sent to the printer %1.").arg(name));
        return false;
    }
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    bool first = true, cancelled = false;
    auto printPage = [&](int page) {
        progress.showPage(page, pages);
        if (progress.cancelled())
            return false;
        if (!first && !printer.newPage())
            return false;
        first = false;
        paintPage(painter, *m_document, page - 1, QRectF(QPointF(0, 0), paper.size()));
        return true;
    };
    const int outer = collate ? copies : 1, inner = collate ? 1 : copies;
    for (int c = 0; c < outer && !cancelled; ++c)
        for (int page = from; page <= to && !cancelled; ++page)
            for (int k = 0; k < inner && !cancelled; ++k)
                cancelled = !printPage(page);
    if (cancelled)
        printer.abort();
    const bool ended = painter.end();
    m_printing = false;
    progress.hide();
    return !cancelled && ended;
}

} // namespace roadtally

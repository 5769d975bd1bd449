#pragma once
// The print preview window: builds the chosen report each time it becomes the
// program's active window, shows its pages (page through, zoom, pan), prints
// them on a printer chosen in the system print dialog, or saves them as PDF.
// It is destroyed when closed and tells its opener so.

#include "core/reports/DocumentEngine.h"
#include "core/reports/ReportKind.h"
#include "gui/preview/PreviewPane.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QPrinter;
class QPushButton;

namespace roadtally {

class ActivationWatch;

class VSPrint : public QWidget
{
    Q_OBJECT
public:
    // Builds a report into a fresh engine that already has the default style.
    // May throw (DatabaseError, std::exception): the window then shows an
    // orderly message and an empty preview.
    using Builder = std::function<void(DocumentEngine &)>;

    static const QString Caption; // "Roadtally Print Preview"
    static const QString Hint;    // the mouse gestures, Label1

    explicit VSPrint(QWidget *parent = nullptr);
    ~VSPrint() override;

    // Shows the window; the report is built on each real activation (coming
    // from another window of the program), never on the return from the
    // window's own print dialog, file dialog or message box.
    void showReport(ReportKind report, Builder builder);
    // The report the window shows.
    ReportKind report() const { return m_report; }

    const Document &document() const;
    int pageCount() const;
    // How often the report was built (for tests).
    int buildCount() const { return m_builds; }

    // Writes the document to path as PDF; false (after a message) when it
    // could not, and then nothing is left at path that was not there before.
    bool savePdf(const QString &path);
    // Prints the pages the printer's range names, with the progress box;
    // false when printing failed or was cancelled.
    bool printDocument(QPrinter &printer);

    PreviewPane *vp = nullptr;
    QPushButton *Command2 = nullptr; // "Close"
    QLabel *Label1 = nullptr;        // the hint

Q_SIGNALS:
    // The window is closing (Close button or window frame); it deletes itself next.
    void closed();

public Q_SLOTS:
    void Form_Activate();
    void Command2_Click();
    // The Print and Save as PDF commands of the navigation bar.
    void printReport();
    void saveReportAsPdf();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int pixels(double twips) const;
    void showDocument(std::shared_ptr<const Document> document);

    ReportKind m_report = ReportKind::Summary;
    Builder m_builder;
    std::shared_ptr<const Document> m_document;
    ActivationWatch *m_watch = nullptr;
    int m_builds = 0;
    bool m_printing = false;
};

} // namespace roadtally

#include "core/reports/PdfOutput.h"
#include "core/reports/PagePainter.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace roadtally {

bool writePdf(const Document &document, QIODevice *device, const QString &title)
{
    QPdfWriter writer(device);
    writer.setCreator(QStringLiteral("Roadtally"));
    writer.setTitle(title);
    // One device unit is one twip, so the page items need no scaling.
    writer.setResolution(int(TwipsPerInch));
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const int pages = std::max(1, document.pageCount());
    for (int p = 0; p < pages; ++p) {
        if (p > 0 && !writer.newPage())
            return false;
        paintPage(painter, document, p, QRectF(0, 0, PaperWidth, PaperHeight));
    }
    return painter.end();
}

QString writePdf(const Document &document, const QString &path, const QString &title)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    if (!writePdf(document, &file, title)) {
        file.cancelWriting();
        return QStringLiteral("cannot write %1: the PDF could not be made").arg(path);
    }
    if (!file.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return {};
}

} // namespace roadtally

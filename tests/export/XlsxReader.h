#pragma once
// Reads a written workbook back for the tests: the .xlsx file is a zip of XML
// parts; `unzip -p` hands each part over and QXmlStreamReader reads it. Gives
// the sheet names in order, every cell with its stored type and value, the
// style of each cell (bold, number format), the frozen panes, the column
// widths and the charts' series ranges.

#include <QHash>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

namespace roadtally::testing {

struct XlsxCell
{
    QString type;  // "n" number, "inlineStr" or "s" text, "str" formula text, "b" boolean
    QString value; // the number as stored, or the text
    int style = 0;
};

struct XlsxSheet
{
    QString name;
    QString part;                   // xl/worksheets/sheetN.xml
    QMap<QString, XlsxCell> cells;  // by reference, "B7"
    QString frozenCell;             // top-left cell of the unfrozen pane, "A2"
    QMap<int, double> columnWidths; // 1-based column -> width
    QStringList chartParts;         // xl/charts/chartN.xml
    int lastRow = 0;                // highest row number with a cell

    bool has(const QString &ref) const { return cells.contains(ref); }
    XlsxCell cell(const QString &ref) const { return cells.value(ref); }
};

struct XlsxStyle
{
    bool bold = false;
    bool wrap = false;
    bool centred = false;
    QString numberFormat; // format code, "" for General
};

class XlsxBook
{
public:
    QString error;
    QVector<XlsxSheet> sheets;
    QVector<XlsxStyle> styles;
    QHash<QString, QByteArray> parts; // charts and other parts read on demand

    QStringList sheetNames() const
    {
        QStringList names;
        for (const XlsxSheet &s : sheets)
            names << s.name;
        return names;
    }
    const XlsxSheet *sheet(const QString &name) const
    {
        for (const XlsxSheet &s : sheets)
            if (s.name == name)
                return &s;
        return nullptr;
    }
    XlsxStyle style(int index) const { return index >= 0 && index < styles.size() ? styles.at(index) : XlsxStyle(); }

    static QByteArray readPart(const QString &file, const QString &part, QString *error = nullptr)
    {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, part});
        if (!unzip.waitForFinished(120000) || unzip.exitStatus() != QProcess::NormalExit || unzip.exitCode() != 0) {
            if (error)
                *error = QStringLiteral("unzip -p %1 %2 failed: %3").arg(file, part,
                                                                        QString::fromLocal8Bit(unzip.readAllStandardError()));
            return {};
        }
        return unzip.readAllStandardOutput();
    }

    static QStringList listParts(const QString &file)
    {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), file});
        unzip.waitForFinished(60000);
        return QString::fromUtf8(unzip.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static XlsxBook read(const QString &file)
    {
        XlsxBook book;
        const QByteArray workbook = readPart(file, QStringLiteral("xl/workbook.xml"), &book.error);
        const QByteArray rels = readPart(file, QStringLiteral("xl/_rels/workbook.xml.rels"), &book.error);
        if (!book.error.isEmpty())
            return book;
        const QHash<QString, QString> targets = relationships(rels);
        QXmlStreamReader xml(workbook);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("sheet")) {
                XlsxSheet s;
                s.name = xml.attributes().value(QLatin1String("name")).toString();
                s.part = QStringLiteral("xl/") + targets.value(xml.attributes().value(QLatin1String("r:id")).toString());
                book.sheets << s;
            }
        }
        const QStringList shared = sharedStrings(readPart(file, QStringLiteral("xl/sharedStrings.xml")));
        for (XlsxSheet &s : book.sheets) {
            readSheet(readPart(file, s.part, &book.error), shared, s);
            // The sheet's drawing names its charts.
            const QString relsPart = s.part.section(QLatin1Char('/'), 0, -2) + QStringLiteral("/_rels/")
                                     + s.part.section(QLatin1Char('/'), -1) + QStringLiteral(".rels");
            const QHash<QString, QString> sheetRels = relationships(readPart(file, relsPart));
            for (const QString &target : sheetRels) {
                if (!target.contains(QLatin1String("drawing")))
                    continue;
                const QString drawingRels = QStringLiteral("xl/drawings/_rels/") + target.section(QLatin1Char('/'), -1)
                                            + QStringLiteral(".rels");
                for (const QString &chart : relationships(readPart(file, drawingRels)))
                    s.chartParts << QStringLiteral("xl/charts/") + chart.section(QLatin1Char('/'), -1);
            }
            s.chartParts.sort();
        }
        book.styles = readStyles(readPart(file, QStringLiteral("xl/styles.xml")));
        return book;
    }

    // "B7" -> (7, 2)
    static QPair<int, int> position(const QString &ref)
    {
        int col = 0, i = 0;
        for (; i < ref.size() && ref.at(i).isLetter(); ++i)
            col = col * 26 + (ref.at(i).toUpper().unicode() - 'A' + 1);
        return {ref.mid(i).toInt(), col};
    }
    static QString reference(int row, int column)
    {
        QString letters;
        for (int c = column; c > 0; c = (c - 1) / 26)
            letters.prepend(QChar('A' + (c - 1) % 26));
        return letters + QString::number(row);
    }

    // The part's escapes of characters XML cannot hold: "_x000D_" is a carriage return.
    static QString unescape(QString text)
    {
        static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
        QRegularExpressionMatch m;
        qsizetype from = 0;
        while ((m = escape.match(text, from)).hasMatch()) {
            const QChar c(char16_t(m.captured(1).toUShort(nullptr, 16)));
            text.replace(m.capturedStart(), m.capturedLength(), c);
            from = m.capturedStart() + 1;
        }
        return text;
    }

private:
    static QHash<QString, QString> relationships(const QByteArray &rels)
    {
        QHash<QString, QString> out;
        QXmlStreamReader xml(rels);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("Relationship"))
                out.insert(xml.attributes().value(QLatin1String("Id")).toString(),
                           xml.attributes().value(QLatin1String("Target")).toString());
        }
        return out;
    }

    static QStringList sharedStrings(const QByteArray &part)
    {
        QStringList out;
        QXmlStreamReader xml(part);
        QString current;
        bool inItem = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("si")) {
                inItem = true;
                current.clear();
            } else if (xml.isStartElement() && xml.name() == QLatin1String("t") && inItem) {
                current += xml.readElementText();
            } else if (xml.isEndElement() && xml.name() == QLatin1String("si")) {
                out << current;
                inItem = false;
            }
        }
        return out;
    }

    static void readSheet(const QByteArray &part, const QStringList &shared, XlsxSheet &s)
    {
        QXmlStreamReader xml(part);
        QString ref;
        XlsxCell cell;
        bool inCell = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                const auto a = xml.attributes();
                if (xml.name() == QLatin1String("c")) {
                    inCell = true;
                    ref = a.value(QLatin1String("r")).toString();
                    cell = XlsxCell();
                    cell.type = a.hasAttribute(QLatin1String("t")) ? a.value(QLatin1String("t")).toString()
                                                                   : QStringLiteral("n");
                    cell.style = a.value(QLatin1String("s")).toInt();
                } else if (inCell && xml.name() == QLatin1String("v")) {
                    cell.value = xml.readElementText();
                    if (cell.type == QLatin1String("s"))
                        cell.value = shared.value(cell.value.toInt());
                } else if (inCell && xml.name() == QLatin1String("t")) {
                    cell.value += xml.readElementText();
                } else if (xml.name() == QLatin1String("pane")) {
                    if (a.value(QLatin1String("state")) == QLatin1String("frozen"))
                        s.frozenCell = a.value(QLatin1String("topLeftCell")).toString();
                } else if (xml.name() == QLatin1String("col")) {
                    const int min = a.value(QLatin1String("min")).toInt();
                    const int max = a.value(QLatin1String("max")).toInt();
                    for (int c = min; c <= max; ++c)
                        s.columnWidths.insert(c, a.value(QLatin1String("width")).toDouble());
                }
            } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
                inCell = false;
                cell.value = unescape(cell.value);
                s.cells.insert(ref, cell);
                s.lastRow = std::max(s.lastRow, position(ref).first);
            }
        }
    }

    static QVector<XlsxStyle> readStyles(const QByteArray &part)
    {
        QHash<int, QString> numberFormats{{14, QStringLiteral("m/d/yyyy")}};
        QVector<bool> fontBold;
        QVector<XlsxStyle> out;
        QXmlStreamReader xml(part);
        bool inFonts = false, inFont = false, inCellXfs = false;
        bool bold = false;
        while (!xml.atEnd()) {
            xml.readNext();
            const auto n = xml.name();
            if (xml.isStartElement()) {
                const auto a = xml.attributes();
                if (n == QLatin1String("numFmt"))
                    numberFormats.insert(a.value(QLatin1String("numFmtId")).toInt(),
                                         a.value(QLatin1String("formatCode")).toString());
                else if (n == QLatin1String("fonts"))
                    inFonts = true;
                else if (inFonts && n == QLatin1String("font")) {
                    inFont = true;
                    bold = false;
                } else if (inFont && n == QLatin1String("b"))
                    bold = true;
                else if (n == QLatin1String("cellXfs"))
                    inCellXfs = true;
                else if (inCellXfs && n == QLatin1String("xf")) {
                    XlsxStyle st;
                    const int font = a.value(QLatin1String("fontId")).toInt();
                    st.bold = font < fontBold.size() && fontBold.at(font);
                    st.numberFormat = numberFormats.value(a.value(QLatin1String("numFmtId")).toInt());
                    out << st;
                } else if (inCellXfs && n == QLatin1String("alignment") && !out.isEmpty()) {
                    out.last().wrap = a.value(QLatin1String("wrapText")) == QLatin1String("1");
                    out.last().centred = a.value(QLatin1String("horizontal")) == QLatin1String("center");
                }
            } else if (xml.isEndElement()) {
                if (n == QLatin1String("font") && inFont) {
                    fontBold << bold;
                    inFont = false;
                } else if (n == QLatin1String("fonts"))
                    inFonts = false;
                else if (n == QLatin1String("cellXfs"))
                    inCellXfs = false;
            }
        }
        return out;
    }
};

} // namespace roadtally::testing

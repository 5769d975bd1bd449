#pragma once
// A stable, readable text form of a document's page items, one item a line,
// for golden files and for reading what a report wrote where.

#include "core/reports/Document.h"

#include <QString>

namespace roadtally {

// Positions in twips rounded to a tenth; colours as #rrggbb; texts quoted.
// Table slices are written cell by cell.
QString dumpPage(const Document &document, int pageIndex);
// Every page, each headed by "page N of M".
QString dumpDocument(const Document &document);

} // namespace roadtally

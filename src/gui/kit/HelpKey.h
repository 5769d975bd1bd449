#pragma once
// F1 everywhere: each window names the page of the user guide that explains
// it, and F1 opens that page for the window in front. The help window itself
// lives above the kit; the main window hands over how to open it.

#include <QString>

#include <functional>

class QWidget;

namespace roadtally::kit {

// The guide's first page, for windows that name none.
inline const QString HelpContents = QStringLiteral("index");

// window's page of the guide ("loading", "tabs", ...).
void setHelpPage(QWidget *window, const QString &page);
// The page of the window that widget belongs to, or of the nearest window
// below it that names one; HelpContents when none does.
QString helpPageOf(const QWidget *widget);

// From now on F1 in any window of the program calls open with that window's
// page. Installing again replaces the function.
void installHelpKey(std::function<void(const QString &page)> open);

} // namespace roadtally::kit

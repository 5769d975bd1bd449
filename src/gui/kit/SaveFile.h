#pragma once
// The file name a user chooses to save into, through one function, so the
// windows can be driven without a person at the screen (tests, screenshots).

#include <QString>

#include <functional>

class QWidget;

namespace roadtally::kit {

// Takes the place of the save dialog while installed: it gets the dialog's
// caption and suggested path and returns the chosen path ("" for Cancel).
using SaveFileHook = std::function<QString(const QString &caption, const QString &suggested)>;
SaveFileHook &saveFileHook();

// Asks where to save; "" when the user cancels. filter as for QFileDialog.
QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &suggested,
                       const QString &filter);

} // namespace roadtally::kit

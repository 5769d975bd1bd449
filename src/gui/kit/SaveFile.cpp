#include "gui/kit/SaveFile.h"

#include <QFileDialog>

namespace roadtally::kit {

SaveFileHook &saveFileHook()
{
    static SaveFileHook hook;
    return hook;
}

QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &suggested,
                       const QString &filter)
{
    if (const SaveFileHook &hook = saveFileHook())
        return hook(caption, suggested);
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

} // namespace roadtally::kit

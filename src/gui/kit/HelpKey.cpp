#include "gui/kit/HelpKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

namespace roadtally::kit {

namespace {

const char *const PageProperty = "roadtallyHelpPage";

// Catches F1 before any control can: a line edit or a list would otherwise
// swallow it, and no window would need its own shortcut.
class HelpKeyFilter : public QObject
{
public:
    std::function<void(const QString &)> open;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !open || !watched->isWidgetType())
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        // The first widget the key reaches answers it; it goes no further.
        auto *widget = static_cast<QWidget *>(watched);
        const QWidget *front = QApplication::activeWindow();
        open(helpPageOf(front ? front : widget));
        return true;
    }
};

HelpKeyFilter *filter()
{
    static HelpKeyFilter *f = nullptr;
    if (!f) {
        f = new HelpKeyFilter;
        f->setParent(qApp);
        qApp->installEventFilter(f);
    }
    return f;
}

} // namespace

void setHelpPage(QWidget *window, const QString &page)
{
    window->setProperty(PageProperty, page);
}

QString helpPageOf(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant page = w->property(PageProperty);
        if (page.isValid() && !page.toString().isEmpty())
            return page.toString();
    }
    return HelpContents;
}

void installHelpKey(std::function<void(const QString &page)> open)
{
    filter()->open = std::move(open);
}

} // namespace roadtally::kit

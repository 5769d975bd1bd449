#include "gui/kit/EscapeKey.h"

#include <QAbstractButton>
#include <QShortcut>
#include <QWidget>

namespace roadtally {

void closeOnEscape(QWidget *window, QAbstractButton *button)
{
    closeOnEscape(window, [button] { button->click(); });
}

void closeOnEscape(QWidget *window, std::function<void()> close)
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, std::move(close));
}

} // namespace roadtally

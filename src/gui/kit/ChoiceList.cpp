#include "gui/kit/ChoiceList.h"

#include <QKeyEvent>

namespace roadtally {

ChoiceList::ChoiceList(QWidget *parent, Handler chosen, Handler opened)
    : QListWidget(parent), m_chosen(std::move(chosen)), m_opened(std::move(opened))
{
}

void ChoiceList::keyPressEvent(QKeyEvent *event)
{
    if (m_opened && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentItem()) {
        m_opened(currentItem());
        return;
    }
    // Focus alone makes the first line current without choosing it; the first
    // arrow key then chooses that line rather than skipping past it.
    if ((event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) &&
        event->modifiers() == Qt::NoModifier && selectedItems().isEmpty() && count() > 0) {
        QListWidgetItem *line = currentItem() ? currentItem() : item(0);
        setCurrentItem(line);
        line->setSelected(true);
        m_chosen(line);
        return;
    }
    QListWidgetItem *before = currentItem();
    QListWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before)
        m_chosen(currentItem());
}

} // namespace roadtally

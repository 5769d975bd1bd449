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
    QListWidgetItem *before = currentItem();
    QListWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before)
        m_chosen(currentItem());
}

} // namespace roadtally

#pragma once
// A list whose lines the user chooses: moving to another line with the keys
// chooses it as a click does (focus alone, or filling the list, chooses
// nothing), and, when the window opens lines, Enter opens the current line
// as a double click does.

#include <QListWidget>

#include <functional>

namespace roadtally {

class ChoiceList : public QListWidget
{
public:
    using Handler = std::function<void(QListWidgetItem *)>;
    ChoiceList(QWidget *parent, Handler chosen, Handler opened = {});

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Handler m_chosen;
    Handler m_opened;
};

} // namespace roadtally

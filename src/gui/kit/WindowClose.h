#pragma once
// How a window closes: Escape and the title bar's close button do what the
// window's own Cancel or Close does, so a window is never closed around it (the
// main window would be left disabled, or a signal would go unsent).

#include <functional>

class QAbstractButton;
class QWidget;

namespace roadtally::kit {

// Escape anywhere in window, and closing window by its frame while it is
// shown, click button (nothing happens while the button is disabled). The
// button's handler hides or closes the window and says so.
void closeThrough(QWidget *window, QAbstractButton *button);
// The same with a command for windows without such a button. The window
// counts as closed when the command leaves it hidden.
void closeThrough(QWidget *window, std::function<void()> command);

} // namespace roadtally::kit

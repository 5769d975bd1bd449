#pragma once
// Escape in a dialog-like window does what its Cancel or Close does.

#include <functional>

class QAbstractButton;
class QWidget;

namespace roadtally {

// Escape anywhere in window clicks button (nothing while the button is disabled).
void closeOnEscape(QWidget *window, QAbstractButton *button);
// Escape anywhere in window runs close.
void closeOnEscape(QWidget *window, std::function<void()> close);

} // namespace roadtally

#pragma once
// The shared look of the two explanation windows: a word-wrapped text over a
// button on the right, which Escape also presses.

class QLabel;
class QPushButton;
class QWidget;

namespace roadtally {

void layOutExplanation(QWidget *window, QLabel *text, QPushButton *button);

} // namespace roadtally

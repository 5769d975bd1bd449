#pragma once
// Placing a window on the screen the way the program's windows place themselves.

class QWidget;

namespace roadtally {

// Centres the window on its screen; extraTwips (1440 to the inch) is added to the
// screen height before halving, which moves the window down by half of it.
void placeOnScreen(QWidget *window, int extraTwips = 0);

} // namespace roadtally

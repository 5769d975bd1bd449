#pragma once
// Enter presses the button that has the focus, in every window, as Space does:
// a keyboard user need not know which of the two keys a window listens to.

namespace roadtally::kit {

// Installs the rule for the whole program (once; later calls do nothing).
void installEnterKey();

} // namespace roadtally::kit

#pragma once

class QWidget;

namespace orbitra {

// Gives the controls of a built window the manners of the platform its fixed
// layout was drawn for: every label lies beneath the other controls, so a label
// that overlaps a text box, tile or button never hides part of it, and Enter
// presses the push button that has the focus (Enter in a text box presses
// nothing, and no button is pressed by Enter from elsewhere). Call it once the
// window's controls are made.
void settleControls(QWidget* window);

}  // namespace orbitra

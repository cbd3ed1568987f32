#pragma once

class QFont;
class QString;
class QWidget;

namespace orbitra {

// Gives the controls of a built window the manners of the platform its fixed
// layout was drawn for: every label lies beneath the other controls, so a label
// that overlaps a text box, tile or button never hides part of it, and Enter
// presses the push button that has the focus (Enter in a text box presses
// nothing, and no button is pressed by Enter from elsewhere). Call it once the
// window's controls are made.
void settleControls(QWidget* window);

// The font family the layouts are drawn for, "MS Sans Serif"; on Windows, where
// that is a bitmap font that jumps between a few sizes on a display at 125 % or
// 175 %, its TrueType twin "Microsoft Sans Serif", of the same metrics.
QString layoutFontFamily();

// The font the fixed layouts are drawn for: that family at 8 points, or where it
// is missing its nearest stand-in at 7.5, which runs wider. Every property is
// set, so a window given it keeps it whatever font a platform theme or the
// desktop gives the application, at start or while the program runs.
QFont layoutFont();

}  // namespace orbitra

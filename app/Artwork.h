#pragma once

class QCursor;
class QIcon;

namespace orbitra {

// The flask icon, at every size it is drawn in: the application's icon, which
// every window shows.
QIcon flaskIcon();

// The magnifying-glass pointer shown over the main window's background, drawn
// for a screen of the given device pixel ratio.
QCursor magnifierCursor(double devicePixelRatio);

}  // namespace orbitra

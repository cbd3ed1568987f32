#pragma once

class QCursor;
class QIcon;

namespace orbitra {

// The flask icon, at every size it is drawn in: the application's icon, and
// that of the main, About and help windows.
QIcon flaskIcon();

// The magnifying-glass pointer shown over the main window's background.
QCursor magnifierCursor();

}  // namespace orbitra

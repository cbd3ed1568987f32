#pragma once

class QCursor;
class QIcon;

namespace orbitra {

// The flask icon shared by the main, About and help windows.
QIcon flaskIcon();

// The magnifying-glass pointer shown over the main window's background.
QCursor magnifierCursor();

}  // namespace orbitra

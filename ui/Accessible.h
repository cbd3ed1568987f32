#pragma once

// What the windows tell assistive technology beyond a widget's own: controls
// drawn as something else than they are used as, messages spoken for the
// control that has the focus, the focus heard before the caret of a text box,
// and the keys that walk a window's panes.

#include <QObject>
#include <QStringList>

#include <vector>

class QString;
class QWidget;

namespace orbitra {

// `widget` is pressed with a click, Enter or Space: it is presented as a push
// button with its accessible name and description, whatever it is drawn as,
// and pressing it through assistive technology sends it Space. Nothing of its
// look or its keys changes.
void exposeAsButton(QWidget* widget);

// `window`, a plain widget shown as a top-level window, is presented as a
// window whose name is its title.
void exposeAsWindow(QWidget* window);

// Has `message` heard for `widget`, which has the focus: the window's notice
// shows it to assistive technology (heard each time, the same message too),
// and the widget's accessible description is the message until the focus
// leaves it.
void announce(QWidget* widget, const QString& message);

// What is heard once record `number` with the field texts `fields` (in record
// order) is shown: its chemical name, or that it is empty or has no name.
QString recordHeard(int number, const QStringList& fields);

// The one-line text boxes of `window` tell of their focus before their caret,
// so that a screen reader follows the focus into a box and speaks it; Tab
// still selects the text of the box it lands in.
void focusHeardFirst(QWidget* window);

// Two panes of one window, with the keys of a keyboard user: F6 moves from any
// control of `first` to the first control of `second`, and back to the control
// of `first` that had the focus last; Down and Up walk `second` in its order,
// staying at its ends. The Tab order is not touched. Owned by `window`.
class PaneKeys : public QObject {
    Q_OBJECT
public:
    PaneKeys(QWidget* window, std::vector<QWidget*> first, std::vector<QWidget*> second);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QWidget*> first_;
    std::vector<QWidget*> second_;
    QWidget* lastOfFirst_;
};

}  // namespace orbitra

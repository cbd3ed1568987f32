#pragma once

#include "ElementRecord.h"

#include <QStringList>

#include <array>
#include <string_view>

class QFont;
class QLabel;
class QLineEdit;
class QRect;
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

// `text` as the tables hold it, UTF-8, as the text of a control.
QString utf8(std::string_view text);

// A label `name` showing `caption` from its top-left corner at `geometry`.
QLabel* captionLabel(QWidget* parent, const QString& name, const QString& caption,
                     const QRect& geometry);

// Shows the fourteen fields of `record` in `boxes`, cname .. cHF in record
// order, each from its first character; returns the texts shown.
QStringList showFields(const std::array<QLineEdit*, kPropertyCount>& boxes,
                       const ElementRecord& record);

// The keyboard order of a window, built one control at a time: each control
// added comes after the one added before it.
class TabChain {
public:
    void add(QWidget* next);

private:
    QWidget* previous_ = nullptr;
};

}  // namespace orbitra

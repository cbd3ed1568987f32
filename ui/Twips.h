#pragma once

// Placing and colouring controls of the fixed window layouts. Layouts are given
// in twips (1/1440 inch); 15 twips make one logical pixel, and Qt's high-DPI
// scaling does the rest. Colours are 0xRRGGBB and come in pairs: a control
// given a background is given the text colour drawn on it, so that a dark or
// high-contrast system scheme never puts its own text colour on the program's
// fill.

#include "Layout.h"

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QWidget>

namespace orbitra {

inline QRect twips(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

// Where a control shows the pair: the field of a text box (QPalette::Base and
// Text), or the face of a window, label or shape (Window and WindowText).
enum class Surface { Field, Face };

inline void paint(QWidget* widget, Surface surface, const QColor& background, const QColor& text) {
    const bool field = surface == Surface::Field;
    QPalette palette = widget->palette();
    palette.setColor(field ? QPalette::Base : QPalette::Window, background);
    palette.setColor(field ? QPalette::Text : QPalette::WindowText, text);
    widget->setPalette(palette);
}

inline void paint(QWidget* widget, Surface surface, unsigned background, unsigned text = 0x000000) {
    paint(widget, surface, QColor::fromRgb(background), QColor::fromRgb(text));
}

}  // namespace orbitra

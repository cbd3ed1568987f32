#pragma once

// Placing and colouring controls of the fixed window layouts. Layouts are given
// in twips (1/1440 inch); 15 twips make one logical pixel, and Qt's high-DPI
// scaling does the rest. Colours are 0xRRGGBB.

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QWidget>

namespace orbitra {

inline int px(int twips) {
    return qRound(twips / 15.0);
}

inline QRect twips(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

inline void paint(QWidget* widget, QPalette::ColorRole role, unsigned rgb) {
    QPalette palette = widget->palette();
    palette.setColor(role, QColor::fromRgb(rgb));
    widget->setPalette(palette);
}

}  // namespace orbitra

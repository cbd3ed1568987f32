#pragma once

// The units and the shared colour of the fixed layouts, without Qt, for the
// windows' tables and the tools that read them. Positions and sizes are in
// twips: 15 make one logical pixel, rounded to the nearest (halves up).
// Colours are 0xRRGGBB.

namespace orbitra {

constexpr int px(int twips) {
    return twips >= 0 ? (2 * twips + 15) / 30 : -((-2 * twips + 15) / 30);
}

// The lavender the windows' background is painted in.
inline constexpr unsigned kLavender = 0xC0C0FF;

}  // namespace orbitra

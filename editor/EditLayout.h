#pragma once

// The fixed layout of the record editor "Edit data". Positions and sizes are in
// twips (15 twips = one logical pixel) from the top-left corner of the client
// area; colours are 0xRRGGBB.

#include "ElementRecord.h"

#include <array>

namespace orbitra {

inline constexpr int kEditClientWidth = 7290;
inline constexpr int kEditClientHeight = 3915;
inline constexpr unsigned kFieldBoxColour = 0xC0FFFF;
inline constexpr unsigned kNumberBoxColour = 0xC0FFC0;
inline constexpr int kFieldBoxHeight = 330;

// One field box and the label beside it, at the same Top.
struct FieldRow {
    int label;  // the label is "Label<label>"
    int labelLeft;
    int top;
    int labelWidth;
    int labelHeight;
    int boxLeft;
    int boxWidth;
};

// In record order, cname .. cHF.
inline constexpr std::array<FieldRow, kPropertyCount> kFieldRows{{
    {11, 120, 240, 1215, 255, 1560, 1700},    // cname
    {12, 120, 600, 1215, 255, 1560, 1700},    // cAN
    {13, 120, 960, 1095, 255, 1560, 1700},    // cAW
    {14, 120, 1320, 1095, 255, 1560, 1700},   // cMP
    {15, 120, 1680, 1095, 375, 1560, 1700},   // cBP
    {32, 3600, 240, 1215, 255, 5280, 1700},   // cDen
    {33, 3600, 600, 1695, 255, 5280, 1700},   // cEC
    {34, 3600, 960, 1575, 255, 5280, 1700},   // cVE
    {35, 3600, 1320, 1335, 255, 5280, 1700},  // cCS
    {36, 3600, 1680, 1455, 255, 5280, 1700},  // cSH
    {37, 120, 2280, 1575, 255, 2040, 1200},   // cTC
    {38, 120, 2640, 1575, 255, 2040, 1200},   // EC
    {39, 120, 3000, 1575, 255, 2040, 1200},   // cHV
    {40, 120, 3360, 1215, 255, 2040, 1200},   // cHF
}};

// Tab order of the field boxes by field index; Save, Text1 and Cancel follow.
inline constexpr std::array<int, kPropertyCount> kFieldTabOrder{13, 10, 11, 12, 6, 7, 8,
                                                                9,  2,  3,  4,  5, 1, 0};

struct Place {
    int left;
    int top;
    int width;
    int height;
};
inline constexpr Place kLabel1{3960, 2400, 1215, 255};
inline constexpr Place kText1{3960, 2880, 1695, 375};
inline constexpr Place kCommand1{5880, 2880, 1335, 375};
inline constexpr Place kCommand2{5880, 3360, 1335, 375};

}  // namespace orbitra

#pragma once

// The static tables of the periodic table window: the 110 element tiles, the
// colour legend, the annotation labels, the 8B bracket and the detail panel.
// Positions and sizes are in twips (15 twips = one logical pixel) from the
// top-left corner of the client area; colours are 0xRRGGBB.

#include <array>
#include <optional>
#include <string_view>

namespace orbitra {

// The window's client area.
inline constexpr int kMainClientWidth = 10710;
inline constexpr int kMainClientHeight = 6135;

// The chemical families of the colour legend, in the legend's order.
enum class Family {
    Alkaline,
    AlkaliEarth,
    Transition,
    OtherMetal,
    NonMetal,
    Halogen,
    Noble,
    RareEarth,
};
inline constexpr int kFamilyCount = 8;

// One clickable tile: the text box "Text<control>" showing `symbol`, which
// passes atomic number `z` (also the record number) when clicked. It is filled
// with its family's legend colour unless it has a `fill` of its own.
struct ElementTile {
    int z;
    std::string_view symbol;
    int control;
    int left;
    int top;
    Family family;
    std::optional<unsigned> fill = std::nullopt;
};

// The lanthanide and actinide rows are a lighter shade of their swatch.
inline constexpr unsigned kSeriesFill = 0xC0FFFF;

inline constexpr int kTileSize = 350;
inline constexpr int kElementCount = 110;

inline constexpr std::array<ElementTile, kElementCount> TileCatalogue{{
    {1, "H", 5, 360, 2640, Family::Alkaline},
    {2, "He", 84, 6480, 2640, Family::Noble},
    {3, "Li", 7, 360, 3000, Family::Alkaline},
    {4, "Be", 3, 720, 3000, Family::AlkaliEarth},
    {5, "B", 52, 4680, 3000, Family::NonMetal},
    {6, "C", 60, 5040, 3000, Family::NonMetal},
    {7, "N", 54, 5400, 3000, Family::NonMetal},
    {8, "O", 61, 5760, 3000, Family::NonMetal},
    {9, "F", 63, 6120, 3000, Family::Halogen},
    {10, "Ne", 74, 6480, 3000, Family::Noble},
    {11, "Na", 1, 360, 3360, Family::Alkaline},
    {12, "Mg", 13, 720, 3360, Family::AlkaliEarth},
    {13, "Al", 70, 4680, 3360, Family::OtherMetal},
    {14, "Si", 58, 5040, 3360, Family::NonMetal},
    {15, "P", 59, 5400, 3360, Family::NonMetal},
    {16, "S", 55, 5760, 3360, Family::NonMetal},
    {17, "Cl", 73, 6120, 3360, Family::Halogen},
    {18, "Ar", 85, 6480, 3360, Family::Noble},
    {19, "K", 8, 360, 3720, Family::Alkaline},
    {20, "Ca", 12, 720, 3720, Family::AlkaliEarth},
    {21, "Sc", 14, 1080, 3720, Family::Transition},
    {22, "Ti", 43, 1440, 3720, Family::Transition},
    {23, "V", 42, 1800, 3720, Family::Transition},
    {24, "Cr", 41, 2160, 3720, Family::Transition},
    {25, "Mn", 40, 2520, 3720, Family::Transition},
    {26, "Fe", 39, 2880, 3720, Family::Transition},
    {27, "Co", 38, 3240, 3720, Family::Transition},
    {28, "Ni", 37, 3600, 3720, Family::Transition},
    {29, "Cu", 36, 3960, 3720, Family::Transition},
    {30, "Zn", 35, 4320, 3720, Family::Transition},
    {31, "Ga", 62, 4680, 3720, Family::OtherMetal},
    {32, "Ge", 69, 5040, 3720, Family::OtherMetal},
    {33, "As", 53, 5400, 3720, Family::NonMetal},
    {34, "Se", 56, 5760, 3720, Family::NonMetal},
    {35, "Br", 79, 6120, 3720, Family::Halogen},
    {36, "Kr", 83, 6480, 3720, Family::Noble},
    {37, "Rb", 4, 360, 4080, Family::Alkaline},
    {38, "Sr", 11, 720, 4080, Family::AlkaliEarth},
    {39, "Y", 46, 1080, 4080, Family::Transition},
    {40, "Zr", 34, 1440, 4080, Family::Transition},
    {41, "Nb", 33, 1800, 4080, Family::Transition},
    {42, "Mo", 32, 2160, 4080, Family::Transition},
    {43, "Tc", 31, 2520, 4080, Family::Transition},
    {44, "Ru", 30, 2880, 4080, Family::Transition},
    {45, "Rh", 29, 3240, 4080, Family::Transition},
    {46, "Pd", 28, 3600, 4080, Family::Transition},
    {47, "Ag", 27, 3960, 4080, Family::Transition},
    {48, "Cd", 26, 4320, 4080, Family::Transition},
    {49, "In", 72, 4680, 4080, Family::OtherMetal},
    {50, "Sn", 68, 5040, 4080, Family::OtherMetal},
    {51, "Sb", 66, 5400, 4080, Family::OtherMetal},
    {52, "Te", 57, 5760, 4080, Family::NonMetal},
    {53, "I", 76, 6120, 4080, Family::Halogen},
    {54, "Xe", 82, 6480, 4080, Family::Noble},
    {55, "Cs", 6, 360, 4440, Family::Alkaline},
    {56, "Ba", 10, 720, 4440, Family::AlkaliEarth},
    {57, "La", 45, 1080, 4440, Family::Transition},
    {58, "Ce", 80, 1800, 5160, Family::RareEarth, kSeriesFill},
    {59, "Pr", 97, 2160, 5160, Family::RareEarth, kSeriesFill},
    {60, "Nd", 96, 2520, 5160, Family::RareEarth, kSeriesFill},
    {61, "Pm", 95, 2880, 5160, Family::RareEarth, kSeriesFill},
    {62, "Sm", 94, 3240, 5160, Family::RareEarth, kSeriesFill},
    {63, "Eu", 93, 3600, 5160, Family::RareEarth, kSeriesFill},
    {64, "Gd", 92, 3960, 5160, Family::RareEarth, kSeriesFill},
    {65, "Tb", 91, 4320, 5160, Family::RareEarth, kSeriesFill},
    {66, "Dy", 90, 4680, 5160, Family::RareEarth, kSeriesFill},
    {67, "Ho", 89, 5040, 5160, Family::RareEarth, kSeriesFill},
    {68, "Er", 88, 5400, 5160, Family::RareEarth, kSeriesFill},
    {69, "Tm", 87, 5760, 5160, Family::RareEarth, kSeriesFill},
    {70, "Yb", 86, 6120, 5160, Family::RareEarth, kSeriesFill},
    {71, "Lu", 99, 6480, 5160, Family::RareEarth, kSeriesFill},
    {72, "Hf", 25, 1440, 4440, Family::Transition},
    {73, "Ta", 24, 1800, 4440, Family::Transition},
    {74, "W", 23, 2160, 4440, Family::Transition},
    {75, "Re", 22, 2520, 4440, Family::Transition},
    {76, "Os", 21, 2880, 4440, Family::Transition},
    {77, "Ir", 20, 3240, 4440, Family::Transition},
    {78, "Pt", 19, 3600, 4440, Family::Transition},
    {79, "Au", 18, 3960, 4440, Family::Transition},
    {80, "Hg", 17, 4320, 4440, Family::Transition},
    {81, "Tl", 71, 4680, 4440, Family::OtherMetal},
    {82, "Pb", 67, 5040, 4440, Family::OtherMetal},
    {83, "Bi", 65, 5400, 4440, Family::OtherMetal},
    {84, "Po", 64, 5760, 4440, Family::OtherMetal},
    {85, "At", 75, 6120, 4440, Family::Halogen},
    {86, "Rn", 81, 6480, 4440, Family::Noble},
    {87, "Fr", 2, 360, 4800, Family::Alkaline},
    {88, "Ra", 9, 720, 4800, Family::AlkaliEarth},
    {89, "Ac", 44, 1080, 4800, Family::Transition},
    {90, "Th", 112, 1800, 5520, Family::RareEarth, kSeriesFill},
    {91, "Pa", 111, 2160, 5520, Family::RareEarth, kSeriesFill},
    {92, "U", 110, 2520, 5520, Family::RareEarth, kSeriesFill},
    {93, "Np", 109, 2880, 5520, Family::RareEarth, kSeriesFill},
    {94, "Pu", 108, 3240, 5520, Family::RareEarth, kSeriesFill},
    {95, "Am", 107, 3600, 5520, Family::RareEarth, kSeriesFill},
    {96, "Cm", 106, 3960, 5520, Family::RareEarth, kSeriesFill},
    {97, "Bk", 105, 4320, 5520, Family::RareEarth, kSeriesFill},
    {98, "Cf", 104, 4680, 5520, Family::RareEarth, kSeriesFill},
    {99, "Es", 103, 5040, 5520, Family::RareEarth, kSeriesFill},
    {100, "Fm", 102, 5400, 5520, Family::RareEarth, kSeriesFill},
    {101, "Md", 101, 5760, 5520, Family::RareEarth, kSeriesFill},
    {102, "No", 100, 6120, 5520, Family::RareEarth, kSeriesFill},
    {103, "Lw", 98, 6480, 5520, Family::RareEarth, kSeriesFill},
    {104, "Rf", 16, 1440, 4800, Family::Transition},
    {105, "Ha", 15, 1800, 4800, Family::Transition},
    {106, "106", 47, 2160, 4800, Family::Transition},
    {107, "107", 51, 2520, 4800, Family::Transition},
    {108, "108", 48, 2880, 4800, Family::Transition},
    {109, "109", 49, 3240, 4800, Family::Transition},
    {110, "110", 50, 3600, 4800, Family::Transition},
}};

static_assert(
    [] {
        for (int i = 0; i < kElementCount; ++i) {
            if (TileCatalogue[i].z != i + 1) {
                return false;
            }
        }
        return true;
    }(),
    "the catalogue is in order of atomic number");

// A filled legend square ("Shape<shape>") with its caption label ("Label<label>"),
// which names `family`.
struct LegendEntry {
    Family family;
    int shape;
    int label;
    std::string_view caption;
    int top;
    int captionWidth;
    unsigned colour;
};

inline constexpr int kSwatchLeft = 7680;
inline constexpr int kSwatchSize = 270;
inline constexpr int kLegendCaptionLeft = 8040;

inline constexpr std::array<LegendEntry, kFamilyCount> Legend{{
    {Family::Alkaline, 7, 3, "Alkaline Metals", 2640, 1095, 0xFFC0C0},
    {Family::AlkaliEarth, 8, 4, "Alkali Earth Metals", 3000, 1455, 0xFF80FF},
    {Family::Transition, 1, 5, "Transition Metals", 3360, 1215, 0x8080FF},
    {Family::OtherMetal, 6, 6, "Other Metals", 3720, 1095, 0x80FF80},
    {Family::NonMetal, 5, 7, "Non-Metals", 4080, 975, 0xFFFF80},
    {Family::Halogen, 4, 8, "Halogens(Non-Metals)", 4440, 1575, 0xFF8080},
    {Family::Noble, 3, 9, "Noble(Inert)Gasses", 4800, 1455, 0x808080},
    {Family::RareEarth, 2, 10, "Rare Earth", 5160, 855, 0x80FFFF},
}};

static_assert(
    [] {
        for (int i = 0; i < kFamilyCount; ++i) {
            if (Legend[i].family != Family(i)) {
                return false;
            }
        }
        return true;
    }(),
    "the legend is in the order of the families");

// The legend entry that explains `family`.
constexpr const LegendEntry& legendOf(Family family) {
    return Legend[int(family)];
}

// The colour `tile` is filled with.
constexpr unsigned fillOf(const ElementTile& tile) {
    return tile.fill.value_or(legendOf(tile.family).colour);
}

static_assert(
    [] {
        std::array<int, kFamilyCount> tiles{};
        for (const ElementTile& tile : TileCatalogue) {
            ++tiles[int(tile.family)];
        }
        for (int count : tiles) {
            if (count == 0) {
                return false;
            }
        }
        return true;
    }(),
    "the legend explains no family that has no tile");

enum class Step { Left, Right, Up, Down };

// The atomic number of the tile that the focus moves to from tile `z` by one
// step: the nearest tile beyond it in that direction within its row (Left,
// Right) or its column (Up, Down), across any gap; 0 at the edge of the table.
constexpr int tileAfterStep(int z, Step step) {
    const ElementTile& from = TileCatalogue[z - 1];
    const bool across = step == Step::Left || step == Step::Right;
    const int sign = step == Step::Left || step == Step::Up ? -1 : 1;
    int found = 0;
    int nearest = 0;
    for (const ElementTile& tile : TileCatalogue) {
        const int along = sign * (across ? tile.left - from.left : tile.top - from.top);
        const int aside = across ? tile.top - from.top : tile.left - from.left;
        if (along > 0 && aside > -kTileSize && aside < kTileSize &&
            (found == 0 || along < nearest)) {
            found = tile.z;
            nearest = along;
        }
    }
    return found;
}

// A static label "Label<number>" on the window's background.
struct Annotation {
    int number;
    std::string_view caption;
    int left;
    int top;
    int width;
    int height;
    unsigned textColour;
};

inline constexpr unsigned kAGroup = 0x004000;
inline constexpr unsigned kBGroup = 0x000080;

inline constexpr std::array<Annotation, 26> Annotations{{
    // period numbers
    {53, "1", 120, 2760, 135, 255, 0x000000},
    {57, "2", 120, 3120, 135, 255, 0x000000},
    {56, "3", 120, 3480, 135, 255, 0x000000},
    {55, "4", 120, 3840, 135, 255, 0x000000},
    {54, "5", 120, 4200, 135, 255, 0x000000},
    {59, "6", 120, 4560, 135, 255, 0x000000},
    {58, "7", 120, 4920, 135, 255, 0x000000},
    // group headers
    {16, "1A", 480, 2400, 255, 255, kAGroup},
    {17, "2A", 840, 2760, 255, 255, kAGroup},
    {25, "3B", 1200, 3480, 255, 255, kBGroup},
    {24, "4B", 1560, 3480, 255, 255, kBGroup},
    {23, "5B", 1920, 3480, 255, 255, kBGroup},
    {22, "6B", 2280, 3480, 255, 255, kBGroup},
    {21, "7B", 2640, 3480, 255, 255, kBGroup},
    {20, "8B", 3360, 3240, 255, 255, kBGroup},
    {18, "1B", 4080, 3480, 255, 255, kBGroup},
    {19, "2B", 4440, 3480, 255, 255, kBGroup},
    {30, "3A", 4800, 2760, 255, 255, kAGroup},
    {29, "4A", 5160, 2760, 255, 255, kAGroup},
    {28, "5A", 5520, 2760, 255, 255, kAGroup},
    {27, "6A", 5880, 2760, 255, 255, kAGroup},
    {26, "7A", 6240, 2760, 255, 255, kAGroup},
    {31, "8A", 6600, 2400, 255, 255, kAGroup},
    {49, "Group", 360, 2160, 495, 255, 0xFF0000},
    // series captions
    {1, "Lanthanide Series:", 360, 5160, 1335, 255, 0x800080},
    {2, "Actinide Seires:", 600, 5520, 1095, 255, 0x004040},
}};

// A one-pixel straight line "Line<number>" from (x1, y1) to (x2, y2).
struct LineSegment {
    int number;
    int x1;
    int y1;
    int x2;
    int y2;
};

inline constexpr std::array<LineSegment, 4> Bracket{{
    {1, 3000, 3480, 3840, 3480},
    {3, 3000, 3720, 3000, 3480},
    {4, 3480, 3720, 3480, 3480},
    {2, 3840, 3720, 3840, 3480},
}};

// One row of the detail panel: caption "Label<captionLabel>", the value box of
// record field `field` (its name and caption come from the record's field
// table), and, where `unitLabel` is not 0, a label after the box showing the
// field's unit (kFieldUnits).
struct DetailRow {
    int field;
    int captionLabel;
    int captionLeft;
    int top;
    int captionWidth;
    int captionHeight;
    int boxLeft;
    int boxWidth;
    int unitLabel;
    int unitLeft;
    int unitTop;
    int unitWidth;
};

inline constexpr int kDetailBoxHeight = 330;
inline constexpr unsigned kDetailBoxColour = 0xC0FFC0;

inline constexpr std::array<DetailRow, 14> DetailPanel{{
    {0, 11, 120, 360, 1215, 255, 1320, 1300, 0, 0, 0, 0},
    {1, 12, 120, 720, 1215, 255, 1320, 1300, 0, 0, 0, 0},
    {2, 13, 120, 1080, 1095, 255, 1320, 1300, 0, 0, 0, 0},
    {3, 14, 120, 1440, 1095, 255, 1320, 1300, 41, 2640, 1560, 135},
    {4, 15, 120, 1800, 1095, 375, 1320, 1300, 42, 2640, 1920, 255},
    {5, 32, 3000, 360, 1215, 255, 4680, 1585, 43, 6360, 360, 495},
    {6, 33, 3000, 720, 1695, 255, 4680, 1585, 0, 0, 0, 0},
    {7, 34, 3000, 1080, 1575, 255, 4680, 1585, 0, 0, 0, 0},
    {8, 35, 3000, 1440, 1335, 255, 4680, 1585, 0, 0, 0, 0},
    {9, 36, 3000, 1800, 1455, 255, 4680, 1585, 44, 6360, 1800, 495},
    {10, 37, 6840, 360, 1575, 255, 8520, 900, 47, 9600, 360, 735},
    {11, 38, 6840, 720, 1575, 255, 8520, 900, 48, 9600, 720, 975},
    {12, 39, 6840, 1080, 1575, 255, 8520, 900, 46, 9600, 1080, 615},
    {13, 40, 6840, 1440, 1215, 255, 8520, 900, 45, 9600, 1440, 495},
}};

// Keyboard order of the detail boxes after the tiles, by record field index;
// `cname` and `cAN` stand between the tiles instead (after Text76).
inline constexpr std::array<int, 12> kDetailTabOrderAfterTiles{5, 4, 3,  2,  9,  8,
                                                               7, 6, 12, 11, 10, 13};

}  // namespace orbitra

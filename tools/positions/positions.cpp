// Writes where the windows put their controls, for the scripts that click them
// or read their pictures (tools/contrast.py, tools/windows/*.sh):
//   orbitra-positions OUTPUT
// One line per control, tab-separated: window, control, what it shows (a
// tile's symbol, a button's caption, else "-"), left, top, width and height in
// pixels at 100 % from the top-left corner of the window's client area, and
// its fill as #RRGGBB ("-" where it keeps the system's). The first line names the columns; a
// "client" line per window gives the size of its client area.

#include "EditLayout.h"
#include "ElementRecord.h"
#include "Layout.h"
#include "TileCatalogue.h"

#include <cstdio>
#include <optional>
#include <string_view>

namespace {

using namespace orbitra;

void line(std::FILE* out, std::string_view window, std::string_view control, std::string_view shows,
          int left, int top, int width, int height, std::optional<unsigned> fill) {
    char colour[8] = "-";
    if (fill) {
        std::snprintf(colour, sizeof colour, "#%06X", *fill);
    }
    std::fprintf(out, "%.*s\t%.*s\t%.*s\t%d\t%d\t%d\t%d\t%s\n", int(window.size()), window.data(),
                 int(control.size()), control.data(), int(shows.size()), shows.data(), px(left),
                 px(top), px(width), px(height), colour);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orbitra-positions OUTPUT\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "window\tcontrol\tshows\tleft\ttop\twidth\theight\tfill\n");
    line(out, "main", "client", "-", 0, 0, kMainClientWidth, kMainClientHeight, kLavender);
    for (const ElementTile& tile : TileCatalogue) {
        char name[16];
        std::snprintf(name, sizeof name, "Text%d", tile.control);
        line(out, "main", name, tile.symbol, tile.left, tile.top, kTileSize, kTileSize,
             fillOf(tile));
    }
    for (const DetailRow& row : DetailPanel) {
        line(out, "main", kFields[row.field].box, "-", row.boxLeft, row.top, row.boxWidth,
             kDetailBoxHeight, kDetailBoxColour);
    }
    line(out, "Edit", "client", "-", 0, 0, kEditClientWidth, kEditClientHeight, kLavender);
    line(out, "Edit", "Text1", "-", kText1.left, kText1.top, kText1.width, kText1.height,
         kNumberBoxColour);
    line(out, "Edit", "Command1", "Save", kCommand1.left, kCommand1.top, kCommand1.width,
         kCommand1.height, std::nullopt);
    line(out, "Edit", "Command2", "Cancel", kCommand2.left, kCommand2.top, kCommand2.width,
         kCommand2.height, std::nullopt);
    return std::fclose(out) == 0 ? 0 : 1;
}

#!/usr/bin/env python3
"""Draws the program's pixel art as XPM files in app/art/: the flask icon
(32 x 32, 16 colours) and the magnifying-glass pointer (16, 32 and 48 pixels).
Run it from the repository root; its output is committed."""
import math
import os

OUT = os.path.join(os.path.dirname(__file__), "..", "app", "art")

# The sixteen colours of the classic VGA palette, plus transparency.
PALETTE = {
    ".": "None", "k": "#000000", "B": "#000080", "C": "#008080", "g": "#808080",
    "G": "#C0C0C0", "b": "#0000FF", "c": "#00FFFF", "w": "#FFFFFF", "y": "#808000",
}


def write_xpm(name, rows):
    used = sorted({ch for row in rows for ch in row})
    lines = [f"/* XPM */", f"static const char *{name.replace('-', '_')}[] = {{",
             f'"{len(rows[0])} {len(rows)} {len(used)} 1",']
    lines += [f'"{ch} c {PALETTE[ch]}",' for ch in used]
    lines += [f'"{row}",' for row in rows[:-1]] + [f'"{rows[-1]}"', "};"]
    with open(os.path.join(OUT, name + ".xpm"), "w") as f:
        f.write("\n".join(lines) + "\n")


def flask():
    n = 32
    grid = [["."] * n for _ in range(n)]
    cx, cy, r = 15.5, 21.0, 10.2
    for y in range(n):
        for x in range(n):
            d = math.hypot(x - cx, y - cy)
            if d <= r:
                if d > r - 1.3:
                    grid[y][x] = "k"            # glass outline
                elif y >= 19:
                    grid[y][x] = "b" if (x - cx) > -5 or y > 27 else "B"
                    if y == 19:
                        grid[y][x] = "c"        # surface of the liquid
                else:
                    grid[y][x] = "w" if (x < cx - 3 and y < 17) else "G"
    # neck: grey glass from the lip down into the bulb
    for y in range(2, 13):
        for x in range(12, 20):
            if x in (12, 19):
                grid[y][x] = "k"
            else:
                grid[y][x] = "g" if x > 15 else "G"
    for x in range(11, 21):                      # lip
        grid[2][x] = "k"
        grid[3][x] = "k" if x in (11, 20) else "G"
    grid[3][11] = grid[3][20] = "k"
    for x in range(11, 21):
        grid[4][x] = "k" if x in (11, 20) or x in (12, 19) else grid[4][x]
    return ["".join(row) for row in grid]


def magnifier(n):
    s = n / 32.0
    grid = [["."] * n for _ in range(n)]
    cx = cy = 12.0 * s
    r = 9.0 * s
    rim = max(1.0, 2.0 * s)
    for y in range(n):
        for x in range(n):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= r:
                grid[y][x] = "k" if d > r - rim else "c"
                if d <= r - rim and (x + 0.5 - cx) < -r / 3 and (y + 0.5 - cy) < -r / 3:
                    grid[y][x] = "w"             # glint on the glass
            # handle along the diagonal, from the rim to the lower right
            t = ((x + 0.5 - cx) + (y + 0.5 - cy)) / 2
            off = abs((x + 0.5 - cx) - (y + 0.5 - cy)) / math.sqrt(2)
            if r * 0.72 < t <= 29.5 * s - cx and off <= max(1.0, 2.2 * s):
                grid[y][x] = "y" if off < max(0.8, 1.4 * s) else "k"
    return ["".join(row) for row in grid]


if __name__ == "__main__":
    write_xpm("flask", flask())
    for size in (16, 32, 48):
        write_xpm(f"magnifier-{size}", magnifier(size))

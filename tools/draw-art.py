#!/usr/bin/env python3
"""Draws the program's pixel art in app/art/: the flask icon as PNG at 16, 24,
32, 48, 64, 128 and 256 pixels (16 colours, each size rasterised from the same
shapes at its own resolution) and the magnifying-glass pointer as XPM at 16, 32
and 48 pixels. Run it from the repository root; its output is committed."""
import math
import os
import struct
import zlib

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


def write_png(name, rows):
    """An indexed-colour PNG, transparency through the palette."""
    used = sorted({ch for row in rows for ch in row})
    index = {ch: i for i, ch in enumerate(used)}
    rgb = b"".join(bytes.fromhex("000000" if PALETTE[ch] == "None" else PALETTE[ch][1:])
                   for ch in used)
    alpha = bytes(0 if PALETTE[ch] == "None" else 255 for ch in used)
    raw = b"".join(b"\0" + bytes(index[ch] for ch in row) for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 3, 0, 0, 0)
    with open(os.path.join(OUT, name + ".png"), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"PLTE", rgb) +
                chunk(b"tRNS", alpha) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                chunk(b"IEND", b""))


def flask(n):
    """A round-bottomed flask with a grey neck holding blue liquid, on an n x n
    grid. The shapes are given on a 32-unit square; every pixel is coloured by
    where its centre falls, and the black outline is at least one pixel wide."""
    s = n / 32.0
    line = max(1.0, 1.3 * s) / s          # outline width in grid units
    cx, cy, r = 15.5, 21.0, 10.2          # the bulb
    left, right = 11.5, 19.5              # the neck, outline included
    top, lip, bottom = 1.5, 4.5, 12.5     # the lip's top and foot, the neck's end
    surface = 18.5                        # the liquid's surface
    grid = [["."] * n for _ in range(n)]
    for y in range(n):
        for x in range(n):
            u, v = (x + 0.5) / s - 0.5, (y + 0.5) / s - 0.5
            d = math.hypot(u - cx, v - cy)
            colour = "."
            if d <= r:
                if d > r - line:
                    colour = "k"                                   # glass outline
                elif v >= surface:
                    if v < surface + max(1.0, 1.0 / s):
                        colour = "c"                               # surface of the liquid
                    else:
                        colour = "B" if u - cx <= -5 and v <= 27.5 else "b"
                else:
                    colour = "w" if u < cx - 3 and v < 16.5 else "G"
            neck = left + line <= u <= right - line
            if left <= u <= right and top <= v <= bottom:
                if not neck:
                    colour = "k"                                   # the neck's sides
                else:
                    colour = "g" if u > cx else "G"
            if left - 1 <= u <= right + 1 and top <= v <= lip:
                if u < left - 1 + line or u > right + 1 - line or v < top + line:
                    colour = "k"                                   # the lip's rim
                elif v <= lip - line:
                    colour = "G"
                elif not neck:
                    colour = "k"                                   # the lip's foot
            grid[y][x] = colour
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
    for size in (16, 24, 32, 48, 64, 128, 256):
        write_png(f"flask-{size}", flask(size))
    for size in (16, 32, 48):
        write_xpm(f"magnifier-{size}", magnifier(size))

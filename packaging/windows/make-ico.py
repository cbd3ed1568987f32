#!/usr/bin/env python3
"""Packs the flask pictures (app/art/flask-<size>.png, 8-bit colormap) into one
Windows icon file: sizes below 256 as 32-bit bitmaps, which every version of
Windows reads, and 256 as a 32-bit RGBA PNG, as Windows Vista and later expect.

    make-ico.py OUTPUT.ico flask-16.png flask-24.png ... flask-256.png
"""
import struct
import sys
import zlib


def read_png(path):
    """(width, height, rows of (r, g, b, a)) of an 8-bit colormap PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG file")
    pos, idat, palette, alpha = 8, b"", [], []
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if (depth, colour, interlace) != (8, 3, 0):
                raise SystemExit(f"{path}: expected an 8-bit colormap PNG without interlacing")
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"tRNS":
            alpha = list(body)
        elif kind == b"IDAT":
            idat += body
    raw = zlib.decompress(idat)
    rows, previous = [], bytes(width)
    for y in range(height):
        start = y * (width + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + width])
        for x in range(width):
            left = line[x - 1] if x else 0
            up = previous[x]
            corner = previous[x - 1] if x else 0
            if kind == 1:
                line[x] = (line[x] + left) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + up) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                best = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[x] = (line[x] + best) & 0xFF
        previous = bytes(line)
        rows.append([palette[i] + ((alpha[i] if i < len(alpha) else 255),) for i in line])
    return width, height, rows


def bitmap_entry(width, height, rows):
    """A 32-bit BGRA bitmap with its AND mask, bottom row first."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((width + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def rgba_png(width, height, rows):
    """A 32-bit RGBA PNG of the rows."""
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    output, pictures = sys.argv[1], sys.argv[2:]
    images = []
    for path in pictures:
        width, height, rows = read_png(path)
        if width >= 256:
            images.append((width, height, rgba_png(width, height, rows)))
        else:
            images.append((width, height, bitmap_entry(width, height, rows)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, bodies = b"", b""
    for width, height, body in images:
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                               len(body), offset + len(bodies))
        bodies += body
    with open(output, "wb") as f:
        f.write(directory + entries + bodies)


if __name__ == "__main__":
    main()

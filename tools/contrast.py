#!/usr/bin/env python3
"""Reads a picture of the main window, as the screen showed it, at 100 % with a
record shown, and checks what a reader sees there.

    tools/contrast.py PICTURE --positions BUILD/positions.tsv [--same-as OTHER]

Each tile symbol and each detail box's value must stand out from its fill at
4.5:1 or more (WCAG 2's contrast ratio): the fill is the commonest colour inside
the box's frame, the text the pixel there that differs from it most. A box with
no text is named, not measured; at most one may be empty. With --same-as, the
window's inside below the menu bar must be the same, pixel for pixel, as in
OTHER (the same window without a desktop's scheme and font). Prints the lowest
ratio per fill colour; exits 1 when a check fails, 2 when it cannot read.

The places, in pixels at 100 %, come from the positions file the build writes
from the windows' layout tables (tools/positions); the picture is the window's
inside, the client area at its bottom. Needs ImageMagick's convert and identify.
"""
import argparse
import collections
import csv
import subprocess
import sys

FRAME = 3  # a text box's frame and margin, in pixels


def places(path):
    """The main window's client height, and (name, left, top, width, height) of
    each tile and detail box, in pixels."""
    try:
        with open(path, newline="") as table:
            rows = [row for row in csv.DictReader(table, delimiter="\t")
                    if row["window"] == "main"]
        client = next(int(row["height"]) for row in rows if row["control"] == "client")
        found = [(row["shows"] if row["shows"] != "-" else "field " + row["control"],
                  int(row["left"]), int(row["top"]), int(row["width"]), int(row["height"]))
                 for row in rows if row["control"] != "client"]
    except (OSError, KeyError, ValueError, StopIteration) as error:
        print("contrast.py: cannot read the positions %s: %r" % (path, error), file=sys.stderr)
        sys.exit(2)
    return client, found


def load(path):
    try:
        width, height = map(int, subprocess.run(
            ["identify", "-format", "%w %h", str(path)], capture_output=True, text=True,
            check=True).stdout.split())
        pixels = subprocess.run(["convert", str(path), "-depth", "8", "rgb:-"],
                                capture_output=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError, ValueError) as error:
        print("contrast.py: cannot read %s: %s" % (path, error), file=sys.stderr)
        sys.exit(2)
    return width, height, pixels


def luminance(rgb):
    total = 0.05
    for value, weight in zip(rgb, (0.2126, 0.7152, 0.0722)):
        s = value / 255
        total += weight * (s / 12.92 if s <= 0.03928 else ((s + 0.055) / 1.055) ** 2.4)
    return total


def ratio(a, b):
    return max(luminance(a), luminance(b)) / min(luminance(a), luminance(b))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("picture")
    parser.add_argument("--positions", required=True)
    parser.add_argument("--same-as")
    arguments = parser.parse_args()
    client_height, controls = places(arguments.positions)
    width, height, pixels = load(arguments.picture)
    client_top = height - client_height

    def pixel(x, y):
        at = 3 * ((client_top + y) * width + x)
        return tuple(pixels[at:at + 3])

    failures, empty, lowest = [], [], {}
    for name, left, top, w, h in controls:
        count = collections.Counter(pixel(x, y) for y in range(top + FRAME, top + h - FRAME)
                                    for x in range(left + FRAME, left + w - FRAME))
        fill = count.most_common(1)[0][0]
        most = max(ratio(fill, colour) for colour in count)
        if len(count) == 1:
            empty.append(name)
            continue
        key = "#%02X%02X%02X" % fill
        lowest[key] = min(most, lowest.get(key, most))
        if most < 4.5:
            failures.append("%s: %.2f:1 on %s" % (name, most, key))
    print("lowest contrast per fill:",
          " ".join("%s %.2f" % item for item in sorted(lowest.items())))
    if empty:
        print("empty:", ", ".join(empty))
    if len(empty) > 1:
        failures.append("%d boxes show nothing: was a record shown?" % len(empty))
    if arguments.same_as:
        other_width, other_height, other = load(arguments.same_as)
        inside = width * client_height * 3
        if (other_width, other_height) != (width, height) or pixels[-inside:] != other[-inside:]:
            failures.append("the window's inside differs from " + arguments.same_as)
    for failure in failures[:10]:
        print(failure, file=sys.stderr)
    if len(failures) > 10:
        print("... and %d more" % (len(failures) - 10), file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
"""Finds where things are in a screenshot of ZVD's main window, so the desktop end-to-end test
never depends on fixed pixel positions that move with fonts, styles or a new menu.

  layout SHOT        prints shell assignments: the PC list's and the player list's white
                     viewports (their top and bottom rows), a column inside both, and the centre of
                     the tool strip's second tab (the recordings view)
  changed A B Y0 Y1  prints "x y", the centre of the topmost band of rows between Y0 and Y1 that
                     differ between two screenshots of the same size (a row just selected), or fails

Screenshots are binary PPM files (ImageMagick: import ... ppm:FILE) of the window's client area,
so every coordinate is relative to the client area's upper left corner.
"""
import sys


class Shot:
    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos : pos + 1].isspace():
                pos += 1
            if data[pos : pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end : end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise SystemExit(f"{path}: not an 8-bit binary PPM")
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[pos + 1 :]

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i : i + 3])

    def row(self, y):
        return self.pixels[3 * y * self.width : 3 * (y + 1) * self.width]


WHITE = (255, 255, 255)


def runs(values):
    """(start, end) of every run of equal-truth values that are true; end is inclusive."""
    found, start = [], None
    for i, v in enumerate(values + [False]):
        if v and start is None:
            start = i
        elif not v and start is not None:
            found.append((start, i - 1))
            start = None
    return found


def layout(shot):
    # A column in the right-hand three quarters crosses the PC list and the player list, both
    # white and much taller than anything else white in that column.
    column = shot.width * 3 // 4
    white = runs([shot.at(column, y) == WHITE for y in range(shot.height)])
    tall = sorted(sorted(white, key=lambda r: r[1] - r[0])[-2:])
    if len(tall) < 2 or any(r[1] - r[0] < 40 for r in tall):
        raise SystemExit("the two lists were not found")
    (pc_top, pc_bottom), (player_top, player_bottom) = tall
    # The tabs sit at the strip's left edge, just above the player list's header: the lowest run
    # of drawn rows (not the strip's flat background) there that does not touch the list.
    # The strip's background: the colour seen most between the lists in the right-hand column.
    between = [shot.at(column, y) for y in range(pc_bottom + 1, player_top)]
    background = max(set(between), key=between.count)
    edge = 4
    drawn = runs([shot.at(edge, y) != background for y in range(pc_bottom + 1, player_top)])
    drawn = [(a + pc_bottom + 1, b + pc_bottom + 1) for a, b in drawn]
    drawn = [r for r in drawn if r[1] < player_top - 2 and r[1] - r[0] >= 12]
    if not drawn:
        raise SystemExit("the tabs were not found")
    tab_top, tab_bottom = drawn[-1]
    tab_y = (tab_top + tab_bottom) // 2
    # A row just inside the tabs' upper edge, above their captions, runs through light tabs
    # between darker outlines.
    line = [sum(shot.at(x, tab_top + 3)) / 3 for x in range(shot.width // 2)]
    tabs = [r for r in runs([v > 200 for v in line]) if r[1] - r[0] >= 12]
    if len(tabs) < 2:
        raise SystemExit("the second tab was not found")
    tab_x = (tabs[1][0] + tabs[1][1]) // 2
    print(f"pc_top={pc_top} pc_bottom={pc_bottom} player_top={player_top} player_bottom={player_bottom}")
    print(f"list_x={column} record_tab='{tab_x} {tab_y}'")


def changed(a, b, y0, y1):
    if (a.width, a.height) != (b.width, b.height):
        raise SystemExit("the screenshots differ in size")
    rows = [a.row(y) != b.row(y) for y in range(y0, y1 + 1)]
    bands = runs(rows)
    if not bands:
        raise SystemExit("nothing changed")
    top, bottom = bands[0][0] + y0, bands[0][1] + y0
    xs = [x for x in range(a.width) if a.at(x, top + 1) != b.at(x, top + 1)]
    # The left end of the band is the row's name (its start in a details list, the item itself in
    # an icon view): a little inside it, so the press lands on the name.
    x = min(xs[0] + 30, (xs[0] + xs[-1]) // 2)
    print(x, (top + bottom) // 2)


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "layout":
        layout(Shot(sys.argv[2]))
    elif len(sys.argv) == 6 and sys.argv[1] == "changed":
        changed(Shot(sys.argv[2]), Shot(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5]))
    else:
        raise SystemExit(__doc__)

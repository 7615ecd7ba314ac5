#!/usr/bin/env python3
"""Drafting aid for layout designs: builds boards from tile-level pictures and rules, checks the
placement rules (no overlap, every upper tile resting on the layer below, inside the board), and
writes the ASCII designs that make_layouts reads. The designs it writes are the source that
ships; this script only saves drawing them cell by cell.

A picture here has one character per tile ("#" a tile, anything else none); a layer is placed
at a cell offset (row, column), so a layer drawn one cell off the one below sits half a tile off.

The designs themselves are in designs_*.py; sketch.py writes them.
"""
import math
import os
import sys

ROWS, COLS = 20, 34  # top-left cells a tile may take
DESIGNS = {}


class Board:
    def __init__(self):
        self.tiles = set()  # (layer, row, col) of each tile's top-left cell

    def add(self, layer, r, c):
        self.tiles.add((layer, r, c))

    def art(self, layer, text, r0=0, c0=0, step=2):
        lines = [l for l in text.strip("\n").split("\n")]
        for i, line in enumerate(lines):
            for j, ch in enumerate(line):
                if ch == "#":
                    self.add(layer, r0 + i * step, c0 + j * step)

    def rect(self, layer, r0, c0, nrows, ncols):
        for i in range(nrows):
            for j in range(ncols):
                self.add(layer, r0 + 2 * i, c0 + 2 * j)

    def layer(self, k):
        return {(r, c) for (l, r, c) in self.tiles if l == k}

    def erode(self, k, offset=False):
        """Layer k + 1 from layer k: straight up where a tile's four neighbours stand, or, with
        offset, half a tile down-right where a square of four tiles stands."""
        below = self.layer(k)
        for (r, c) in below:
            if offset:
                if {(r, c + 2), (r + 2, c), (r + 2, c + 2)} <= below:
                    self.add(k + 1, r + 1, c + 1)
            elif {(r, c - 2), (r, c + 2), (r - 2, c), (r + 2, c)} <= below:
                self.add(k + 1, r, c)

    def trim(self):
        """Takes the odd tiles off the top layer, outermost first, so the count is a multiple of
        four."""
        top = max(l for l, _, _ in self.tiles)
        cells = sorted(self.layer(top))
        if len(self.tiles) % 4 >= len(cells):
            return
        cr = sum(r for r, _ in cells) / len(cells)
        cc = sum(c for _, c in cells) / len(cells)
        cells.sort(key=lambda rc: (-abs(rc[1] - cc) - abs(rc[0] - cr), rc))
        while len(self.tiles) % 4:
            r, c = cells.pop(0)
            self.tiles.discard((top, r, c))

    def remove(self, layer, r, c):
        self.tiles.discard((layer, r, c))

    def center(self):
        rmin = min(r for _, r, _ in self.tiles)
        rmax = max(r for _, r, _ in self.tiles) + 1
        cmin = min(c for _, _, c in self.tiles)
        cmax = max(c for _, _, c in self.tiles) + 1
        dr = (ROWS + 1 - (rmax - rmin + 1)) // 2 - rmin
        dc = (COLS + 1 - (cmax - cmin + 1)) // 2 - cmin
        self.tiles = {(l, r + dr, c + dc) for (l, r, c) in self.tiles}

    def problems(self):
        out = []
        for (l, r, c) in self.tiles:
            if not (0 <= r < ROWS and 0 <= c < COLS and 1 <= l <= 5):
                out.append("off the board: %s" % ((l, r, c),))
            for dr in (-1, 0, 1):
                for dc in (-1, 0, 1):
                    if (dr or dc) and (l, r + dr, c + dc) in self.tiles:
                        out.append("overlap at %s" % ((l, r, c),))
            if l > 1 and not any((l - 1, r + dr, c + dc) in self.tiles
                                 for dr in (-1, 0, 1) for dc in (-1, 0, 1)):
                out.append("rests on nothing: %s" % ((l, r, c),))
        n = len(self.tiles)
        if n % 4 or n > 144:
            out.append("%d tiles" % n)
        return out

    def text(self):
        out = []
        for l in range(1, 6):
            cells = self.layer(l)
            if not cells:
                continue
            out.append("layer %d" % l)
            height = max(r for r, _ in cells) + 2
            grid = [["."] * (COLS + 1) for _ in range(height)]
            for (r, c) in cells:
                grid[r][c], grid[r][c + 1] = "[", "]"
                grid[r + 1][c], grid[r + 1][c + 1] = "[", "]"
            out += ["".join(row) for row in grid]
        return "\n".join(out) + "\n"


def design(name, about):
    def wrap(fn):
        DESIGNS[name] = (about, fn)
        return fn
    return wrap


def shape(pred, nrows, ncols):
    """Tile-level picture from a predicate over (row, column) of the tile grid."""
    return "\n".join("".join("#" if pred(i, j) else "." for j in range(ncols))
                     for i in range(nrows))


def write(folder, name):
    about, fn = DESIGNS[name]
    b = Board()
    fn(b)
    b.center()
    b.trim()
    bad = b.problems()
    if bad:
        per = [len(b.layer(l)) for l in range(1, 6)]
        print("%s: %s %s" % (name, "; ".join(sorted(set(bad))[:6]), per))
        return False
    text = "".join("# %s\n" % line for line in about.strip().split("\n"))
    text += "name: %s\nfile: %s.lay\n" % (name, name) + b.text()
    with open(os.path.join(folder, name + ".txt"), "w") as f:
        f.write(text)
    print("%-20s %3d tiles, %d layers" % (name, len(b.tiles), max(l for l, _, _ in b.tiles)))
    return True

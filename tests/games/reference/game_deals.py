#!/usr/bin/env python3
"""A second, independent account of how the games beside Solitaire deal their boards.

    python3 game_deals.py NAME SEED     print the deal of game NAME when the generator starts at SEED
    python3 game_deals.py --self-test   check the generator and the deals against hand-worked values
    python3 game_deals.py --list        print the names, one a line

Every game reseeds the program's random generator from the clock when it starts; here the
generator's state is set to SEED at that moment instead, and every draw then follows in the
order the game makes it. The output is the same text that `tovani-cli deal --game NAME --seed N`
prints, so the two can be compared byte for byte (compare_deals.py).

Output formats:
  rivers-easy, rivers-hard, memory-easy, memory-hard
      "tiles T", then "tile column row layer" for tiles 1..T: the board cell that holds the
      tile's top-left quarter (board columns 1..34, rows 1..20, layers 1..5).
  clicks-easy, clicks-normal, clicks-hard, slider-easy, slider-hard
      "grid W H", then H rows top to bottom of W cell values separated by one space, the values
      as the game keeps them (0 = empty). Slider adds "next a b c", its three next tiles as kept.
  hashira
      "well W H" (in tiles), then the first 20 columns drawn, "column top middle bottom" each,
      with the pictures as the game keeps them (0..5), in the order they are drawn.

Readings this file makes where a game's description leaves room (the C++ deals must agree):
  * Clicks keeps a 20 x 15 grid whose outer frame is always 0; the grid printed is the 18 x 12
    playing field only (columns 1..18 left to right, rows 1..12 top to bottom), so "grid 18 12".
    Cell values are the picture numbers 1..k as kept (k = 4, 5, 6 for easy, normal, hard), not
    the 0-based small-tileset pictures they are drawn with.
  * Clicks levels by name: easy has 4 pictures (board 1020), normal 5 (board 1022), hard 6
    (board 1021). The name follows the level, not the order of the board numbers.
  * Slider prints the 9 x 9 grid with column 1 on the left and row 1 on top, values 1..6 and 7
    for a joker as kept. Its next tiles are kept 0-based (0..5, or 0..6 with jokers), so "next"
    prints them 0-based: a next tile v later lands on the grid as v + 1.
  * Slider deals its five starting tiles with no line check: five like tiles dealt in a row stay.
  * Hashira's well is 6 tiles wide and 12 high. Its columns come from the next-column store: the
    three pictures drawn at the start are the first column to enter, and each column that enters
    draws the three pictures of the following one, top first. Nothing else in the game draws from
    the generator (the background scroll, the banner's wave and the flashing use the frame
    counter), so the columns are consecutive triples of draws below 6. The 20 printed are the
    ones a game draws if it lasts that long; the deal does not play the game out.
  * A draw "c and r until the place is empty" draws c and then r on every try, both again when
    the place is taken.
"""

import re
import sys

MASK32 = 0xFFFFFFFF
MULTIPLIER = 134775813


class Generator:
    """The program's 32-bit linear congruential generator."""

    def __init__(self, seed):
        self.state = seed & MASK32

    def below(self, n):
        """Advance the state, then answer the high 32 bits of state x n: a number in 0..n-1."""
        self.state = (self.state * MULTIPLIER + 1) & MASK32
        return (self.state * n) >> 32


# ---------------------------------------------------------------------------------------------
# Rivers and Memory: tiles on a flat grid of places two cells apart, every place filled.


def place_tiles(gen, tiles, columns, rows, first_column, first_row, layer, placed, positions):
    """Put each tile of `tiles`, in order, on a free place drawn column first, then row."""
    for tile in tiles:
        while True:
            c = gen.below(columns)
            r = gen.below(rows)
            cell = (first_column + 2 * c, first_row + 2 * r, layer)
            if cell not in placed:
                break
        placed.add(cell)
        positions[tile] = cell


def tile_lines(positions):
    lines = ["tiles %d" % len(positions)]
    for tile in sorted(positions):
        column, row, layer = positions[tile]
        lines.append("%d %d %d %d" % (tile, column, row, layer))
    return lines


def rivers_easy(seed):
    # 84 tiles on 12 x 7 places: columns 6, 8, ..., 28 and rows 4, 6, ..., 16 of layer 1.
    gen = Generator(seed)
    placed, positions = set(), {}
    place_tiles(gen, range(1, 85), 12, 7, 6, 4, 1, placed, positions)
    return tile_lines(positions)


def rivers_hard(seed):
    # 144 tiles on 12 x 6 places (columns 6..28, rows 5..15) of two layers: tiles 1..72 fill
    # layer 1 first, then 73..144 fill layer 2.
    gen = Generator(seed)
    placed, positions = set(), {}
    for layer in (1, 2):
        first = 1 + 72 * (layer - 1)
        place_tiles(gen, range(first, first + 72), 12, 6, 6, 5, layer, placed, positions)
    return tile_lines(positions)


def memory_easy(seed):
    # 32 tiles on 8 x 4 places: columns 10, 12, ..., 24 and rows 7, 9, 11, 13 of layer 1.
    gen = Generator(seed)
    placed, positions = set(), {}
    place_tiles(gen, range(1, 33), 8, 4, 10, 7, 1, placed, positions)
    return tile_lines(positions)


def memory_hard(seed):
    # 60 tiles on 10 x 6 places: columns 8, 10, ..., 26 and rows 5, 7, ..., 15 of layer 1.
    gen = Generator(seed)
    placed, positions = set(), {}
    place_tiles(gen, range(1, 61), 10, 6, 8, 5, 1, placed, positions)
    return tile_lines(positions)


# ---------------------------------------------------------------------------------------------
# Clicks and Slider: small grids of picture numbers, printed row by row from the top.


def grid_lines(grid, width, height):
    """grid[column][row], both counted from 1; rows printed top to bottom."""
    lines = ["grid %d %d" % (width, height)]
    for row in range(1, height + 1):
        lines.append(" ".join(str(grid[column][row]) for column in range(1, width + 1)))
    return lines


def clicks(seed, kinds):
    # Every cell of the 18 x 12 field gets a picture 1..kinds, column by column from the left,
    # each column from the top down.
    gen = Generator(seed)
    grid = [[0] * 13 for _ in range(19)]
    for column in range(1, 19):
        for row in range(1, 13):
            grid[column][row] = gen.below(kinds) + 1
    return grid_lines(grid, 18, 12)


def clicks_easy(seed):
    return clicks(seed, 4)


def clicks_normal(seed):
    return clicks(seed, 5)


def clicks_hard(seed):
    return clicks(seed, 6)


def slider(seed, jokers):
    # Five tiles on free cells of the empty 9 x 9 grid (column drawn first, then row, again
    # both when the cell is taken), each tile's picture drawn once its cell is found; then the
    # three next tiles, kept 0-based. With jokers there are seven kinds, the seventh the joker.
    gen = Generator(seed)
    kinds = 7 if jokers else 6
    grid = [[0] * 10 for _ in range(10)]
    for _ in range(5):
        while True:
            column = gen.below(9) + 1
            row = gen.below(9) + 1
            if grid[column][row] == 0:
                break
        grid[column][row] = gen.below(kinds) + 1
    upcoming = [gen.below(kinds) for _ in range(3)]
    return grid_lines(grid, 9, 9) + ["next %d %d %d" % tuple(upcoming)]


def slider_easy(seed):
    return slider(seed, True)


def slider_hard(seed):
    return slider(seed, False)


# ---------------------------------------------------------------------------------------------
# Hashira: the well and the columns in the order they are drawn.

HASHIRA_COLUMNS = 20


def hashira(seed):
    # The start draws the next column (top, middle, bottom); every column that enters the well
    # takes those three pictures and draws the next three in the same order.
    gen = Generator(seed)
    lines = ["well 6 12"]
    for _ in range(HASHIRA_COLUMNS):
        top = gen.below(6)
        middle = gen.below(6)
        bottom = gen.below(6)
        lines.append("column %d %d %d" % (top, middle, bottom))
    return lines


DEALS = {
    "rivers-easy": rivers_easy,
    "rivers-hard": rivers_hard,
    "memory-easy": memory_easy,
    "memory-hard": memory_hard,
    "clicks-easy": clicks_easy,
    "clicks-normal": clicks_normal,
    "clicks-hard": clicks_hard,
    "slider-easy": slider_easy,
    "slider-hard": slider_hard,
    "hashira": hashira,
}

NAMES = list(DEALS)


def deal_text(name, seed):
    """The deal exactly as printed: lines ended by a line feed."""
    return "".join(line + "\n" for line in DEALS[name](seed))


# ---------------------------------------------------------------------------------------------
# Self-test.
#
# The first four states from seed 1, worked out by hand (x = previous state x 134775813 + 1,
# kept modulo 2^32 = 4294967296; the quotient q of the division is dropped):
#
#   s1 = 1 x 134775813 + 1                     = 134775814
#   s2 = 134775814 x 134775813 + 1             = 18164519904586783
#                                              = 4229256 x 4294967296 + 3698175007  -> 3698175007
#   s3 = 3698175007 x 134775813 + 1            = 498424543184705692
#                                              = 116048507 x 4294967296 + 870078620 -> 870078620
#   s4 = 870078620 x 134775813 + 1             = 117265553384418061
#                                              = 27303014 x 4294967296 + 1172187917 -> 1172187917
#
# A draw below n is floor(s x n / 4294967296):
#   below 12 after s1: 1617309768 / 2^32  -> 0        below 7 after s2: 25887225049 / 2^32 -> 6
#   below 6:  s1 -> 0,  s2: 22189050042 -> 5,  s3: 5220471720 -> 1,  s4: 7033127502 -> 1
#   below 4:  s1 -> 0,  s2: 14792700028 -> 3,  s3: 3480314480 -> 0,  s4: 4688751668 -> 1
#   below 9:  s1 -> 0,  s2: 33283575063 -> 7,  s3: 7830707580 -> 1,  s4: 10549691253 -> 2
#
# Hence, from seed 1:
#   Rivers (easy) tile 1: c = 0, r = 6 -> cell (6 + 0, 4 + 12, 1) = "1 6 16 1".
#   Hashira's first column: 0 5 1.
#   Clicks (easy), column 1 from the top: 1, 4, 1, 2 (draws + 1).
#   Slider: first tile at column 0 + 1, row 7 + 1 = (1, 8), picture below(kinds) after s3 + 1 = 2.
#
# The state wraps at 32 bits: from seed 4294967295 (-1), s1 = 4294967296 - 134775813 + 1
# = 4160191484, and a draw below 2 gives floor(8320382968 / 2^32) = 1.


def self_test():
    failures = []

    def check(what, got, want):
        if got != want:
            failures.append("%s: got %r, want %r" % (what, got, want))

    gen = Generator(1)
    states = []
    for _ in range(4):
        gen.below(1)
        states.append(gen.state)
    check("states from seed 1", states, [134775814, 3698175007, 870078620, 1172187917])

    for n, want in ((6, [0, 5, 1, 1]), (4, [0, 3, 0, 1]), (9, [0, 7, 1, 2])):
        gen = Generator(1)
        check("draws below %d from seed 1" % n, [gen.below(n) for _ in range(4)], want)

    gen = Generator(0xFFFFFFFF)
    check("first draw below 2 from seed 4294967295", gen.below(2), 1)
    check("state after it", gen.state, 4160191484)

    check("rivers-easy seed 1, tile 1", rivers_easy(1)[1], "1 6 16 1")
    check("hashira seed 1, first column", hashira(1)[1], "column 0 5 1")
    clicks_rows = clicks_easy(1)[1:5]
    check("clicks-easy seed 1, column 1 rows 1-4", [r.split()[0] for r in clicks_rows],
          ["1", "4", "1", "2"])
    slider_rows = slider_hard(1)[1:10]
    check("slider-hard seed 1, cell (1, 8)", slider_rows[7].split()[0], "2")

    # Whole-deal properties over a few seeds: every place filled exactly once, values in range.
    places = {
        "rivers-easy": (84, range(6, 29, 2), range(4, 17, 2), (1,)),
        "rivers-hard": (144, range(6, 29, 2), range(5, 16, 2), (1, 2)),
        "memory-easy": (32, range(10, 25, 2), range(7, 14, 2), (1,)),
        "memory-hard": (60, range(8, 27, 2), range(5, 16, 2), (1,)),
    }
    for seed in (1, 2, 3, 99, 999999999):
        for name, (total, columns, rows, layers) in places.items():
            lines = DEALS[name](seed)
            check("%s seed %d header" % (name, seed), lines[0], "tiles %d" % total)
            cells = []
            for number, line in enumerate(lines[1:], 1):
                tile, column, row, layer = map(int, line.split())
                check("%s seed %d tile order" % (name, seed), tile, number)
                if name == "rivers-hard":
                    check("%s seed %d tile %d layer" % (name, seed, tile), layer,
                          1 if tile <= 72 else 2)
                cells.append((column, row, layer))
            want = sorted((c, r, l) for l in layers for r in rows for c in columns)
            check("%s seed %d places" % (name, seed), sorted(cells), want)
        for name, kinds in (("clicks-easy", 4), ("clicks-normal", 5), ("clicks-hard", 6)):
            lines = DEALS[name](seed)
            check("%s seed %d header" % (name, seed), lines[0], "grid 18 12")
            values = [int(v) for line in lines[1:] for v in line.split()]
            check("%s seed %d cells" % (name, seed), len(values), 216)
            check("%s seed %d values" % (name, seed), set(values) <= set(range(1, kinds + 1)), True)
        for name, kinds in (("slider-easy", 7), ("slider-hard", 6)):
            lines = DEALS[name](seed)
            check("%s seed %d header" % (name, seed), lines[0], "grid 9 9")
            values = [int(v) for line in lines[1:10] for v in line.split()]
            check("%s seed %d cells" % (name, seed), len(values), 81)
            check("%s seed %d tiles" % (name, seed), len([v for v in values if v]), 5)
            check("%s seed %d values" % (name, seed), set(values) <= set(range(0, kinds + 1)), True)
            upcoming = lines[10].split()
            check("%s seed %d next" % (name, seed), upcoming[0], "next")
            check("%s seed %d next values" % (name, seed),
                  all(0 <= int(v) < kinds for v in upcoming[1:]) and len(upcoming) == 4, True)
        lines = hashira(seed)
        check("hashira seed %d lines" % seed, len(lines), 1 + HASHIRA_COLUMNS)

    # Different seeds give different deals, and the same seed the same deal.
    for name in NAMES:
        check("%s repeats" % name, deal_text(name, 7) == deal_text(name, 7), True)
        check("%s seeds 7 and 8 differ" % name, deal_text(name, 7) != deal_text(name, 8), True)

    if failures:
        for failure in failures:
            print("self-test: " + failure, file=sys.stderr)
        return 1
    print("self-test: all checks pass")
    return 0


def main(argv):
    usage = "usage: game_deals.py NAME SEED | --self-test | --list\nnames: " + ", ".join(NAMES)
    if argv == ["--self-test"]:
        return self_test()
    if argv == ["--list"]:
        for name in NAMES:
            print(name)
        return 0
    if len(argv) != 2:
        print(usage, file=sys.stderr)
        return 2
    name, seed_text = argv
    if name not in DEALS:
        print("game_deals.py: no game \"%s\" (games: %s)" % (name, ", ".join(NAMES)),
              file=sys.stderr)
        return 2
    if not re.fullmatch(r"[0-9]{1,10}", seed_text) or not 1 <= int(seed_text) <= 999999999:
        print("game_deals.py: the seed must be a whole number from 1 to 999999999, not \"%s\""
              % seed_text, file=sys.stderr)
        return 2
    sys.stdout.write(deal_text(name, int(seed_text)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

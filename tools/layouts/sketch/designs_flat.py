"""Layouts of plain geometry: wide flat fields, towers, bridges, rings, letters, the small quick
boards and the hard ones."""
import math

from sketchlib import design, shape


# --- Flat and wide ------------------------------------------------------------------------------

@design("Meadow", """
One wide field of hedgerows, a single layer sixteen tiles across, every row
cut into short runs laid like bricks: every tile is in plain sight and many
ends are open. A gentle board.""")
def meadow(b):
    # Hedgerows of four tiles with a narrow gap between them, laid like bricks.
    for i in range(9):
        runs = [4, 4, 4, 4] if i % 2 == 0 else [3, 5, 5, 3]
        c = 0
        for n in runs:
            b.rect(1, 2 * i, c, 1, n)
            c += 2 * n + 1


@design("Rice Fields", """
Paddies side by side on the flat, each a block of six tiles, with a low dyke
of tiles along the middle. Many short rows, so many free tiles.""")
def rice_fields(b):
    for i in range(3):
        for j in range(4):
            if (i, j) == (1, 1) or (i, j) == (1, 2):
                continue
            b.rect(1, i * 6, j * 8, 2, 3)
    b.rect(1, 6, 8, 2, 7)
    b.rect(2, 7, 10, 1, 5)


@design("Low Tide", """
Three long wavy bands of sand left by the sea, flat and wide, cut by little
channels, with shells washed up on top.""")
def low_tide(b):
    for band in range(3):
        for j in range(16):
            r = band * 6 + round(1.5 + 1.5 * math.sin(j * 0.7 + band))
            c = j * 2 + j // 4  # the sand is cut by little channels every four tiles
            b.add(1, r, c)
            b.add(1, r + 2, c)
            if j % 4 == 1:
                b.add(2, r + 1, c + 1)


@design("Terraces", """
Hillside terraces: wide shallow steps, each a row of tiles higher than the one
in front, all the way across the board.""")
def terraces(b):
    # Every terrace is cut into short fields by narrow paths.
    for l, rows in ((1, 6), (2, 4), (3, 2)):
        for k in range(3):
            b.rect(l, 0, k * 9, rows, 4)


# --- Tall towers --------------------------------------------------------------------------------

@design("Pagoda", """
A five-storey pagoda: wide eaves on every floor, each storey a little
narrower than the one below, and a spire of single tiles on top.""")
def pagoda(b):
    b.rect(1, 12, 2, 2, 13)
    b.rect(1, 0, 8, 6, 7)
    b.rect(2, 13, 4, 1, 11)
    b.rect(2, 2, 10, 5, 5)
    b.rect(3, 4, 12, 5, 3)
    b.rect(4, 6, 12, 3, 3)



@design("Chimneys", """
A roof of factory chimneys: seven columns of tiles five storeys high stand on
a flat floor. Each chimney must be taken down from the top.""")
def chimneys(b):
    floor = [0, 2, 4, 6, 9, 11, 13, 15, 18, 20, 22, 24, 27, 29]
    for i in range(6):
        for c in floor:
            b.add(1, 2 * i, c)
    for j in range(7):
        c = 2 + j * 4
        r = 2 if j % 2 else 6
        for l in range(2, 6):
            b.add(l, r, c)
            b.add(l, r + 2, c)


@design("Watchtowers", """
Four square watchtowers at the corners of a walled yard, each two tiles by two
and five storeys high, joined by a low wall.""")
def watchtowers(b):
    for r0 in (0, 14):
        for c0 in (0, 26):
            for l in range(1, 6):
                b.rect(l, r0, c0, 2, 2)
    # The walls stand a step away from the towers, with a gate in the middle.
    for r in (0, 16):
        for c in (5, 7, 9, 11, 13, 16, 18, 20, 22):
            b.add(1, r, c)
    for c in (0, 28):
        b.rect(1, 5, c, 4, 1)
    b.add(2, 1, 7)
    b.add(2, 1, 9)
    b.add(2, 1, 18)
    b.add(2, 1, 20)


@design("Lighthouse", """
A lighthouse on a rocky point: a slim tower of two tiles across rising five
storeys from a wide spit of rocks, its lantern on top.""")
def lighthouse(b):
    b.art(1, """
......######......
....##########....
..##############..
################..
..############....
""", 10, 0)
    b.rect(1, 0, 12, 5, 2)
    for l in range(2, 6):
        b.rect(l, 0, 12, 5, 2)
    b.rect(2, 12, 8, 2, 8)
    for (l, r, c) in list(b.tiles):
        if l == 5 and r == 8:
            b.remove(l, r, c)


# --- Bridges ------------------------------------------------------------------------------------

@design("Corbel Arch", """
Two piers joined by a corbelled arch: each course steps half a tile further
out over the gap until the two halves meet on top; a road runs along each
bank of the river below.""")
def corbel_arch(b):
    # Each course of a pier steps half a tile towards the other pier, until the two meet on top.
    for l in range(1, 6):
        b.rect(l, 4, l - 1, 4, 2)
        b.rect(l, 4, 12 - (l - 1), 4, 2)
    b.rect(1, 4, -5, 4, 2)
    b.rect(1, 4, 17, 4, 2)
    b.rect(1, 0, -5, 1, 13)
    b.rect(1, 14, -5, 1, 13)


@design("Viaduct", """
A railway viaduct: a deck of tiles running the width of the board on nine
piers, with a road along the valley floor below.""")
def viaduct(b):
    # Piers one tile wide with one tile of air between them, bridged by courses that sit half
    # a tile off the course below.
    for c in range(0, 33, 4):
        b.rect(1, 4, c, 5, 1)
    b.rect(2, 6, 1, 2, 16)
    b.rect(3, 7, 2, 1, 15)
    b.rect(1, 16, 0, 1, 17)


@design("Stepping Stones", """
Stepping stones across a stream: little islands of four tiles, some with a
stone on top, strung from one bank to the other.""")
def stepping_stones(b):
    b.rect(1, 0, 0, 10, 2)
    b.rect(1, 0, 30, 10, 2)
    b.rect(2, 1, 1, 9, 1)
    b.rect(2, 1, 31, 9, 1)
    stones = [(2, 6), (8, 10), (1, 14), (9, 18), (4, 22), (12, 12), (14, 22), (15, 6)]
    for (r, c) in stones:
        b.rect(1, r, c, 2, 2)
        b.add(2, r + 1, c + 1)


# --- Rings --------------------------------------------------------------------------------------

@design("Halo", """
A single wide ring of tiles with a raised rim, and nothing at all in the
middle.""")
def halo(b):
    b.art(1, shape(lambda i, j: 3.0 <= math.hypot(i - 4.5, (j - 8) * 0.6) <= 5.0, 10, 17), 0, 0)
    b.art(2, shape(lambda i, j: 3.6 <= math.hypot(i - 4.5, (j - 8) * 0.6) <= 4.4, 10, 17), 0, 0)


@design("Chain Links", """
Three oval links of a chain, each hooked through the next, the crossings
raised where one link passes over another.""")
def chain_links(b):
    for k in range(3):
        cx = 5 + k * 6
        b.art(1, shape(lambda i, j, cx=cx: 2.2 <= math.hypot(i - 3.5, (j - cx) * 0.8) <= 3.6,
                       8, 17), 2, 0)
    for k in range(2):
        cx = 8 + k * 6
        for i in range(8):
            for j in range(17):
                if 2.2 <= math.hypot(i - 3.5, (j - cx) * 0.8) <= 3.6 and (2 + 2 * i, 2 * j) in b.layer(1):
                    if abs(j - cx) <= 1:
                        b.add(2, 2 + 2 * i, 2 * j)


@design("Atoll", """
A coral atoll: a ring of reef around a lagoon, with an islet of three storeys
in the middle of the water.""")
def atoll(b):
    b.art(1, shape(lambda i, j: 3.2 <= math.hypot(i - 4.5, (j - 8) * 0.58) <= 4.9, 10, 17))
    b.art(2, shape(lambda i, j: 3.9 <= math.hypot(i - 4.5, (j - 8) * 0.58) <= 4.3 and j % 2 == 0,
                   10, 17))
    b.rect(1, 7, 14, 2, 3)
    b.rect(2, 8, 15, 1, 2)


@design("Target", """
An archery target: three rings one inside the other and the gold in the
middle, built up like a low dome.""")
def target(b):
    ring = lambda lo, hi: shape(
        lambda i, j: lo <= math.hypot(i - 4.5, (j - 8) * 0.58) < hi, 10, 17)
    b.art(1, ring(0, 1.2))
    b.art(1, ring(2.2, 3.2))
    b.art(1, ring(4.2, 5.2))
    b.art(2, ring(2.5, 2.95))
    b.art(2, ring(0, 0.8))
    b.art(3, ring(0, 0.8))


# --- Letters ------------------------------------------------------------------------------------

LETTERS = {
    "E": """
#########
#########
##.......
########.
########.
##.......
#########
#########""",
    "H": """
###.....###
###.....###
###.....###
###########
###########
###.....###
###.....###
###.....###""",
    "L": """
###......
###......
###......
###......
###......
###......
#########
#########""",
    "T": """
#############
#############
.....###.....
.....###.....
.....###.....
.....###.....
.....###.....
.....###.....""",
    "X": """
###.......###
.###.....###.
..###...###..
...###.###...
...###.###...
..###...###..
.###.....###.
###.......###""",
    "Z": """
###########
###########
.......###.
.....###...
...###.....
.###.......
###########
###########""",
}


def letter(b, text, layers):
    b.art(1, text, 2, 2)
    for l in range(2, layers + 1):
        b.erode(l - 1)


@design("Echo", """
The letter E for Echo, three storeys high along its spine and its three arms
one storey lower.""")
def echo(b):
    letter(b, LETTERS["E"], 1)
    b.art(2, "#\n#\n#\n#\n#\n#\n#\n#", 2, 2)
    b.art(2, "#\n#\n#\n#\n#\n#\n#\n#", 2, 4)
    b.art(3, "#\n#\n#\n#\n#\n#", 4, 3)
    b.art(2, "......#\n.......\n.......\n......#\n", 2, 2)


@design("Hotel", """
The letter H for Hotel: two tall posts three storeys high and a crossbar
between them.""")
def hotel(b):
    letter(b, LETTERS["H"], 1)
    b.rect(2, 2, 4, 8, 1)
    b.rect(2, 2, 20, 8, 1)
    b.rect(3, 4, 4, 6, 1)
    b.rect(3, 4, 20, 6, 1)
    b.rect(2, 9, 8, 1, 6)


@design("Lima", """
The letter L for Lima, lying flat with a long low back and a raised heel.""")
def lima(b):
    letter(b, LETTERS["L"], 1)
    b.rect(2, 3, 3, 6, 2)
    b.rect(2, 15, 3, 1, 8)
    b.rect(3, 4, 4, 5, 1)
    b.rect(3, 15, 6, 1, 6)


@design("Tango", """
The letter T for Tango: a broad crossbar two storeys high on a slim stem.""")
def tango(b):
    letter(b, LETTERS["T"], 1)
    b.rect(2, 3, 3, 1, 12)
    b.rect(2, 6, 14, 6, 1)
    b.rect(3, 3, 8, 1, 6)


@design("X-Ray", """
The letter X for X-Ray: two broad strokes crossing, built up where they meet.""")
def x_ray(b):
    letter(b, LETTERS["X"], 1)
    b.erode(1, offset=True)
    b.erode(2, offset=True)


@design("Zulu", """
The letter Z for Zulu: two heavy bars joined by a diagonal stroke that climbs
as it crosses the board.""")
def zulu(b):
    letter(b, LETTERS["Z"], 1)
    b.rect(2, 3, 3, 1, 10)
    b.rect(2, 15, 3, 1, 10)
    b.add(2, 6, 16)
    b.add(2, 8, 12)
    b.add(2, 10, 8)
    b.add(2, 12, 4)


# --- Small boards for quick games ---------------------------------------------------------------

@design("Teacup", """
A small teacup on its saucer: 72 tiles for a quick game.""")
def teacup(b):
    b.art(1, """
.###########.
..#########.#
..#########.#
...#######.#.
....#####....
.###########.
""", 0, 0)
    b.rect(2, 1, 6, 2, 7)
    b.rect(3, 2, 7, 1, 6)


@design("Haiku", """
Three short lines of five, seven and five tiles, like the poem, with their
words stacked up. 72 tiles for a quick game.""")
def haiku(b):
    for (r, c, n) in ((0, 6, 5), (6, 2, 7), (12, 6, 5)):
        b.rect(1, r, c, 2, n)
        b.rect(2, r, c, 2, n)
    for (r, c) in ((1, 10), (7, 5), (7, 11), (13, 10)):
        b.add(3, r, c)


@design("Pebble", """
A smooth round pebble of 48 tiles in three layers: the quickest game of all.""")
def pebble(b):
    b.art(1, shape(lambda i, j: math.hypot(i - 2.5, (j - 3.5) * 0.75) <= 3.0, 6, 8))
    b.erode(1, offset=True)
    b.erode(2)


# --- Hard boards --------------------------------------------------------------------------------

@design("Monolith", """
A solid block of stone: six tiles by six, four storeys high, with nothing
around it. Only the ends of the top rows come free at first, and a careless
pair buries its partners for good. A very hard board.""")
def monolith(b):
    for l in range(1, 5):
        b.rect(l, 0, 0, 6, 6)


@design("Vault", """
A vault of thick walls: a hollow square four storeys high over the floor of a
small strongroom. Every wall must be taken down course by course, from the top. A
very hard board.""")
def vault(b):
    for l in range(1, 5):
        b.art(l, """
#######
#.....#
#.....#
#.....#
#######""" if l > 1 else """
#######
#######
#######
#######
#######""")


@design("Labyrinth", """
The walls of a maze, two and three storeys high, every wall a long row with
few open ends.""")
def labyrinth(b):
    walls = """
#################
#...............#
#.#############.#
#.#...........#.#
#.#.#########.#.#
#.#.#.......#.#.#
#...#.#####.#...#
#####.......#####
"""
    b.art(1, walls)
    b.art(2, """
#################
#...............#
#.#############.#
#.#...........#.#
#.#...........#.#
#.#...........#.#
#...............#
#####.......#####""")
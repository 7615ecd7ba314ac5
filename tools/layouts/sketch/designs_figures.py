"""Layouts that picture something: animals, and things of the house, the sky and the garden."""
import math

from sketchlib import design, shape


# --- Animals ------------------------------------------------------------------------------------

@design("Crab", """
A crab scuttling sideways: a round shell three storeys high, two big claws
held up and four legs on each side.""")
def crab(b):
    b.art(1, """
.##.........##.
#..#.......#..#
##.#.......#.##
...#.#####.#...
....#######....
#.#########.#.#
.###########...
#.#########.#.#
..#.#####.#....
.#..#...#..#...
""")
    b.erode(1, offset=True)
    b.erode(2)


@design("Fish", """
A fat fish swimming to the left: a deep body built up along the back, a
forked tail and a fin above and below.""")
def fish(b):
    b.art(1, """
.......###.......
.....#######...#.
...##########.##.
.##############..
###############..
.##############..
...##########.##.
.....#######...#.
.......###.......
""")
    b.erode(1)



@design("Butterfly", """
A butterfly with its wings spread, the body a tall ridge down the middle and
the wings raised in two tiers.""")
def butterfly(b):
    b.art(1, """
####...####
#####.#####
###########
.#########.
..###.###..
.####.####.
.###...###.
""")
    b.erode(1, offset=True)


@design("Owl", """
An owl on a branch: round head with two big eyes, ears, folded wings and a
body three storeys deep.""")
def owl(b):
    b.art(1, """
#.........#
##.......##
###########
##..###..##
##..###..##
###########
.#########.
.#########.
..#######..
###########
""")
    b.erode(1)
    b.erode(2)


@design("Snail", """
A snail creeping along: a round shell with its spiral raised on it, a long
flat foot, and the head lifted with its two horns.""")
def snail(b):
    # The shell: a round disc with its spiral raised on it.
    b.art(1, shape(lambda i, j: math.hypot(i - 3.5, (j - 4) * 0.95) <= 4.0, 8, 9), 0, 4)
    disc = b.layer(1)
    t = 0.0
    while t < 3.2 * math.pi:
        r = 0.62 * t
        i, j = round(3.5 - r * math.cos(t)), round(4 + r * math.sin(t) / 0.95)
        if (2 * i, 4 + 2 * j) in disc:
            b.add(2, 2 * i, 4 + 2 * j)
        t += 0.05
    # The foot, and the head raised at the front with its two horns.
    b.art(1, "###############", 16, 0)
    b.art(1, ".#.#\n.#.#\n.###", 10, 24)
    b.rect(2, 15, 26, 1, 3)


@design("Crane", """
A crane standing on one leg with its wings lifted, long neck curving up to
the head.""")
def crane(b):
    b.art(1, """
.........##.....
........#.......
........#.......
##.....###....##
####..#####..###
.############...
...#########....
.....#####......
.......#........
.......#........
""")
    b.erode(1, offset=True)
    b.erode(2)


@design("Cat", """
A sitting cat seen from behind: pointed ears, round head, a broad body
several storeys deep and a tail curling round its side.""")
def cat(b):
    b.art(1, """
.#...#......
.##.##......
.#####......
.#####......
..###.......
.#####......
#######.....
#######..#..
#######.#...
.#####.#....
""", 0, 6)
    b.erode(1)
    b.erode(2, offset=True)


@design("Frog", """
A frog seen from above, legs folded ready to jump, its bulging eyes and back
raised high.""")
def frog(b):
    b.art(1, """
...##...##...
...#######...
##.#######.##
.###########.
...#######...
...#######...
.###########.
##.........##
""")
    b.erode(1, offset=True)
    b.erode(2)


@design("Dragonfly", """
A dragonfly: four long narrow wings across the board and a slender body
down the middle, raised where the wings meet it.""")
def dragonfly(b):
    b.art(1, """
.......###.......
#######.#.#######
#################
.......###.......
#######.#.#######
.######.#.######.
........#........
........#........
........#........
""")
    b.rect(2, 0, 16, 6, 1)
    b.rect(3, 1, 15, 1, 2)


@design("Whale", """
A great whale surfacing, a long broad back three storeys high, a fluke of a
tail rising at the right and a spout of water above its head.""")
def whale(b):
    b.art(1, """
...#.#...........
....#............
..........#....##
.##########...##.
###########..##..
###############..
.##############..
..###########....
""")
    b.erode(1)
    b.erode(2, offset=True)
    b.erode(1, offset=True) if False else None


# --- Things -------------------------------------------------------------------------------------

@design("Diamond", """
A cut diamond: a wide lozenge rising in four storeys to a small table on
top, its facets set half a tile in from one another. A very hard board.""")
def diamond(b):
    b.art(1, shape(lambda i, j: abs(i - 3.5) * 1.5 + abs(j - 6) <= 6.6, 8, 13))
    b.erode(1, offset=True)
    b.erode(2)
    b.erode(3, offset=True)


@design("Star", """
A five-pointed star lying flat, its middle built up in a low dome.""")
def star(b):
    def inside(i, j):
        x, y = (j - 8) / 8.5, (i - 4.8) / 5.0
        a = math.atan2(x, -y)
        r = math.hypot(x, y)
        k = (a % (2 * math.pi / 5)) / (2 * math.pi / 5)
        edge = 0.42 + 0.58 * abs(k - 0.5) * 2
        return r <= edge
    b.art(1, shape(inside, 10, 17))
    b.erode(1)
    b.erode(2)


@design("Crown", """
A king's crown: a broad band of three panels with five points standing up
from it, each topped with a jewel.""")
def crown(b):
    band = [0, 2, 4, 6, 8, 11, 13, 15, 17, 19, 22, 24, 26, 28, 30]
    for i in range(4):
        for c in band:
            b.add(1, 6 + 2 * i, c)
    for c in band:
        b.add(2, 7, c)
    for c in (0, 8, 15, 22, 30):
        b.add(1, 0, c)
        b.add(1, 2, c)
        b.add(1, 4, c)
        b.add(2, 1, c)


@design("Heart", """
A heart, its two lobes raised in a second storey.""")
def heart(b):
    b.art(1, """
.###.....###.
#####...#####
######.######
#############
.###########.
..#########..
...#######...
....#####....
.....###.....
......#......
""")
    b.erode(1)


@design("Crescent", """
A crescent moon lying on its back, thick in the middle and tapering to two
thin horns, built up along its belly.""")
def crescent(b):
    b.art(1, shape(lambda i, j: math.hypot(i - 2, (j - 8) * 0.62) <= 6.0 and
                   math.hypot(i + 1.2, (j - 8) * 0.62) > 5.6, 10, 17))
    b.erode(1)


@design("Snowflake", """
A six-armed snowflake with little branches on every arm, flat but for its
raised heart.""")
def snowflake(b):
    b.art(1, """
.....#.....#.....
..#...#...#...#..
...#..#...#..#...
....#########....
.###############.
....#########....
...#..#...#..#...
..#...#...#..#...
.....#.....#.....
""")
    b.erode(1, offset=True)
    b.erode(2, offset=True)


@design("Tree", """
A spreading tree: a crown of leaves four storeys high on a short trunk with
roots reaching out along the ground.""")
def tree(b):
    b.art(1, shape(lambda i, j: math.hypot(i - 3.0, (j - 7) * 0.55) <= 3.3, 7, 15))
    b.art(1, "###\n###", 14, 12)
    b.art(1, "#.......#", 18, 6)
    b.erode(1)
    b.erode(2)
    b.erode(3)


@design("Kite", """
A kite on the wind: a tall diamond with its crossed spars raised, and a long
tail of bows trailing down to one side.""")
def kite(b):
    b.art(1, shape(lambda i, j: abs(i - 3.5) / 4.0 + abs(j - 5) / 5.5 <= 1.0, 8, 11), 0, 0)
    b.rect(2, 6, 2, 1, 9)
    b.rect(2, 0, 10, 3, 1)
    b.rect(2, 8, 10, 4, 1)
    for (r, c) in [(16, 12), (18, 16), (16, 20), (18, 24), (16, 28), (18, 32)]:
        b.add(1, r, c)


@design("Fan", """
A folding fan opened in a half circle, its ribs raised in three storeys
towards the rivet.""")
def fan(b):
    b.art(1, shape(lambda i, j: 4.2 <= math.hypot(9 - i, (j - 8) * 0.56) <= 8.6, 10, 17))
    b.art(2, shape(lambda i, j: 4.5 <= math.hypot(9 - i, (j - 8) * 0.56) <= 8.0 and
                   j % 2 == 0, 10, 17))
    b.art(3, shape(lambda i, j: 4.5 <= math.hypot(9 - i, (j - 8) * 0.56) <= 6.0 and
                   j % 4 == 0, 10, 17))


@design("Lantern", """
A paper lantern hanging from its cord, round and ribbed, lit from inside by
a core of tiles five storeys high.""")
def lantern(b):
    b.art(1, shape(lambda i, j: math.hypot(i - 3.5, (j - 5) * 0.7) <= 3.7, 8, 11), 2, 0)
    b.rect(1, 0, 8, 1, 3)
    b.rect(1, 18, 8, 1, 3)
    for l in range(1, 4):
        b.erode(l)


@design("Windmill", """
A windmill: four broad sails turning around a hub three storeys high, each
sail a block of tiles set half a tile off its neighbour.""")
def windmill(b):
    b.rect(1, 8, 14, 2, 2)
    b.rect(1, 0, 12, 4, 2)
    b.rect(1, 6, 18, 2, 4)
    b.rect(1, 12, 16, 4, 2)
    b.rect(1, 10, 6, 2, 4)
    b.rect(2, 8, 14, 2, 2)
    for k in range(3):
        b.add(2, 1 + 2 * k, 13)
        b.add(2, 7, 19 + 2 * k)
        b.add(2, 13 + 2 * k, 17)
        b.add(2, 11, 7 + 2 * k)


@design("Checkerboard", """
A checkerboard of squares: flat black squares and raised white squares,
every raised square two storeys high on its own.""")
def checkerboard(b):
    for i in range(4):
        for j in range(6):
            if (i + j) % 2 == 0:
                b.rect(1, i * 5, j * 6, 2, 2)
            else:
                b.rect(1, i * 5, j * 6, 2, 2)
                b.add(2, i * 5 + 1, j * 6 + 1)
                b.add(3, i * 5 + 1, j * 6 + 1)

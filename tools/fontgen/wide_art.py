# SPDX-License-Identifier: Apache-2.0
"""Wide ideographs drawn dot by dot, where no source gives a clean shape at 24 dots.

Unifont's 16 x 16 U+4DB6, U+4DBD and U+9FFF, enlarged, tangle their lower halves (the hand
radical's rising stroke in the horizontal under it; the weapon under the top of U+767C in U+4DBD; the
legs and the water at the bottom of U+9FFF), and
Noto squeezes the fire radical of U+9FA6 and U+9FBD into five columns beside the rest (U+9FBD's
fish is drawn in the radical's weight, its fire at the foot as four dots). These are the same
components as
the sources draw them, with every stroke two dots thick and a blank dot between strokes.

Noto at 21 px draws U+9FC0, U+9FE6 and those with you (U+723E) on their right, U+9FDB-9FDE,
U+9FE0, U+9FE5 and U+9FE7-9FE9, with one-dot strokes one blank apart, which print as grey blobs:
they have more strokes than 24 dots hold at two dots each. They are drawn here as a 24-dot font
draws them, with Noto's components, the frames and main strokes two dots thick with a blank dot
between strokes, and the small inner details simplified: you's four small crosses are one cross
a side, two strokes one dot wide meeting over two rows (three columns by six rows), touching
its frame and a blank column from its vertical, the rooms under them blank, the frame's sides
one dot thick below the top bar to leave them that room (ER, shared; four crosses three dots
square printed as a checkerboard, and a run of them as a grey band);
the four dots of fire in U+9FE9 and the dots of rain are ticks one dot wide and two high with
blank dots all round; the mountain's teeth in U+9FE6 (whose centre is a frame open at the foot,
its sides one dot thick, so that brave does not read as yellow), the net's inner walls in
U+9FDD, the knife's short stroke in U+9FDE and U+9FE0, the ear's bend in U+9FE5 and U+9FE7,
the inner bar of the wine jar in U+9FC0 and a few hooks and feet are one dot thick; the arrow in the healer
of U+9FC0 is a tick, a bar and two legs (its weapon's bars one dot thick too, the wine jar's one
standing a blank row over the jar's box), and the net in U+9FDD a box of two rooms. They fill
more of the cell than Noto's, from row 0 or 1 and 22 or 23 columns across; cjk.fit_wide_ink takes
a column out of those 23 across where the drawing spares one and centres them all in columns
1-22, so that two side by side stand two blank columns apart. U+9FC1, less dense and
legible from Noto, is drawn too, to match them: Noto's dot of speech is a single dot over one,
and its legs thin to one dot where they bend. U+9FE1, with net, silk and the short-tailed bird
beside you, printed from Noto as one grey blob; it is drawn with the net a box of three rooms
over the silk (five columns: its two bends a zigzag of runs two dots wide over the long
stroke, small's vertical one dot between its two dots) and the bird (four columns: its man's
stroke, the vertical and four bars), the roughest of these.

Noto's horse (U+99AC) beside different and wing, U+9FAD and U+9FAE, merges into the other part:
the horse is drawn once in columns 0-10 (MA, shared), its four bars two dots thick, the middle
vertical through the first three, a short hook down the right and under it its four dots, each
two dots square with a tail one dot wide, a blank column between each; different and wing
stand in columns 12-22, the inner vertical of different's field one dot thick, wing's feathers
as two hooks open on the left, a tick and a rising stroke inside each and a blank row under
them so that they do not close into two boxes, and the inner cross of its field and the short
bar of together one dot thick.

Seven more printed from Noto as clumps of one-dot strokes one blank apart: U+9FDA, U+9FE4,
U+9FEB, U+9FE2, U+9FB2, U+9FD0 and U+9FEA. Tree and each (the right of U+683C) stand in columns
11-22 (GE) beside the man and the right of U+4F0A in U+9FDA (the man three columns wide, so
that U+4F0A's two verticals are two dots thick with rooms two columns wide between); the tree's
legs and each's crossing are one dot thick and each's mouth one column wide inside. U+9FE4
gives the ear, the tree and each seven columns each, so that each's mouth is three wide inside. U+9FE2 narrows the ear to
seven columns beside the town (its bends one dot thick) and join, and U+9FE3 sets that ear and
town beside overcome, where Noto squeezes the ear into five columns and its bars close into a
ladder; U+9FEB draws the box inside
the air narrower than it, standing on big's bar, the rice's vertical two dots thick and its bar
and dots one (the dots slanted ticks); U+9FB2's
cart is a box of four rooms one dot high under the shelter, gold's dots slanted ticks; U+9FD0 is
the fish (as in U+9FE9, its four dots ticks three high) beside the wine jar.
U+9FEA draws the walk around eight over the pig, over fire, the pig's slants unbroken runs of two
or three dots a row around its middle stroke, and the fire's four dots, two dots square with a
tail, a blank row under the walk's sweep.
"""

# U+4DB6: the hand radical, from the top row to its hook, beside a vertical with a stroke to its
# right over one, a sun, one, and under it a short vertical bending into the left leg, the middle
# vertical with its stroke to the right, and the right leg running into the long stroke along the
# bottom. The top one stops a blank column short of the hand radical, whose vertical it would
# otherwise cross into a second bar. The hand radical's rising stroke and hook are two dots
# thick, a blank column apart from the sun.
A4DB6 = [
    "...##.....##............",  # 0
    "...##.....########......",  # 1
    "...##.....########......",  # 2
    "...##.....##............",  # 3
    "...##....##############.",  # 4
    "...##....##############.",  # 5
    "...##...................",  # 6
    "...##....############...",  # 7
    "...##....############...",  # 8
    "########.##........##...",  # 9
    "########.##........##...",  # 10
    "...##....############...",  # 11
    "...##....##........##...",  # 12
    "...##.##.############...",  # 13
    "...####..############...",  # 14
    ".####...................",  # 15
    "##.##...###############.",  # 16
    "...##...###############.",  # 17
    "...##.....##.....##.....",  # 18
    "...##.....##.....######.",  # 19
    "...##....####....######.",  # 20
    "...##....##.##...##.....",  # 21
    "#####...##...##########.",  # 22
    ".###...##.....#########.",  # 23
]
# U+9FFF: a dot, one, a box of three bars with a vertical through it and legs spreading from it,
# over the water that stands at the bottom of a character.
A9FFF = [
    "...............##.......",  # 0
    "...........##...##......",  # 1
    ".######################.",  # 2
    ".######################.",  # 3
    "...........##...........",  # 4
    "...################.....",  # 5
    "...################.....",  # 6
    "...##......##....##.....",  # 7
    "...################.....",  # 8
    "...################.....",  # 9
    "...##......##....##.....",  # 10
    "...################.....",  # 11
    "...################.....",  # 12
    "...##....#.##.#..##.....",  # 13
    ".......##..##..##.......",  # 14
    ".....##....##....##.....",  # 15
    "..###......##......###..",  # 16
    ".....##############.....",  # 17
    ".....##############.....",  # 18
    "...##......##......##...",  # 19
    "..##.......##.......##..",  # 20
    "...........##...........",  # 21
    ".........####...........",  # 22
    "........................",  # 23
]
# The fire radical as it stands on the left of an ideograph (as in U+7076 and U+7092): its two
# dots either side of the stroke that falls to the left, and the last stroke a short tick right
# of it, not the long leg of the standalone character; eight columns, rows 2-19.
FIRE = [
    "...##...",
    "...##...",
    "...##...",
    "##.##.##",
    "##.##.##",
    ".#.##.#.",
    "...##...",
    "...##...",
    "...##...",
    "...##...",
    "...##...",
    "...##.##",
    "...##.##",
    "..##....",
    "..##....",
    ".##.....",
    ".##.....",
    "##......",
]
FIRE_TOP_ROW = 2
# Columns right of the fire radical, where the rest of the ideograph goes.
BESIDE_FIRE = 9

# U+9FA6: the fire radical beside the top of small, the cover, the mouth and the cloth.
CHANG = [
    "......##......",
    "..##..##..##..",
    "..##..##..##..",
    "##############",
    "##############",
    "##..........##",
    "##.########.##",
    "...##....##...",
    "...########...",
    "...########...",
    "......##......",
    ".############.",
    ".############.",
    ".##...##...##.",
    ".##...##...##.",
    ".##...##...##.",
    ".##...##...##.",
    ".##...##...##.",
    ".##...##..###.",
    ".##...##..##..",
    "......##......",
    "......##......",
]


def beside_fire(right):
    """Dot art of 24 x 24: the fire radical with the art `right` (from row 0) beside it."""
    rows = []
    for r in range(24):
        left = FIRE[r - FIRE_TOP_ROW] if 0 <= r - FIRE_TOP_ROW < len(FIRE) else "." * 8
        rows.append((left + "." + (right[r] if r < len(right) else "")).ljust(24, "."))
    return rows


A9FA6 = beside_fire(CHANG)

# U+9FBD: the fire radical beside fish, in the weight of the radical: the fish's bent top (a
# short falling stroke into a bar that turns down to the left), the field of four rooms, its
# frame and inner strokes two dots thick, and the fire at its foot as four dots two dots square
# with a tail one dot wide (the first turned down to the left, the others to the right), two
# blank columns apart, a blank row under the field. Noto's fish rendered this narrow keeps
# one-dot strokes and prints lighter than the radical beside it.
YU = [
    "..............",  # 0
    "....##........",  # 1
    "...########...",  # 2
    "..#########...",  # 3
    ".##.....##....",  # 4
    "##.....##.....",  # 5
    "..............",  # 6
    ".############.",  # 7
    ".############.",  # 8
    ".##...##...##.",  # 9
    ".##...##...##.",  # 10
    ".############.",  # 11
    ".############.",  # 12
    ".##...##...##.",  # 13
    ".##...##...##.",  # 14
    ".############.",  # 15
    ".############.",  # 16
    "..............",  # 17
    "##..##..##..##",  # 18
    "##..##..##..##",  # 19
    "#....#...#...#",  # 20
]
A9FBD = beside_fire(YU)

# U+9FC1: speech beside together. Speech: its dot, three bars (the first long) and the mouth with
# its left side a dot longer; together: two verticals through a short bar and a long one, and the
# two legs spreading under it.
A9FC1 = [
    "........................",  # 0
    "...##........##....##...",  # 1
    "....##.......##....##...",  # 2
    ".............##....##...",  # 3
    ".########....##....##...",  # 4
    ".########....##....##...",  # 5
    "...........##########...",  # 6
    "..######...##########...",  # 7
    "..######.....##....##...",  # 8
    ".............##....##...",  # 9
    "..######.....##....##...",  # 10
    "..######.....##....##...",  # 11
    ".............##....##...",  # 12
    "..######.....##....##...",  # 13
    "..######..#############.",  # 14
    "..##..##..#############.",  # 15
    "..##..##................",  # 16
    "..##..##.....##....##...",  # 17
    "..##..##.....##....##...",  # 18
    "..######....##......##..",  # 19
    "..######....##......##..",  # 20
    "..##.......##........##.",  # 21
    "..........##.........##.",  # 22
    "........................",  # 23
]

# You (U+723E) as it stands on the right of an ideograph, in columns 12-22 (the other part takes
# the ten columns 1-10, a blank one between, and the first and last columns stay blank so that
# neighbours stand two apart): one, its two small strokes either side of the vertical, the frame
# and the vertical through it. Each pair of small crosses inside the frame is drawn as one cross
# per side, as type at this size draws them: two strokes one dot wide, each two rows to a
# column, meeting on the middle column over two rows, three columns wide and six rows high (rows
# 9-14), with the rooms under them left blank. The left cross touches the frame and stands a
# blank column from the vertical; the right one has the frame for its outer arm, which keeps you
# eleven columns wide. Four crosses three dots square, one dot to a row, printed as a
# checkerboard that a run of these read as a grey band; crosses touching the vertical merged
# with it into a mesh. The two crosses take as many dots as the four did. The frame's sides are
# one dot thick below its top bar to leave the crosses that room.
ER = [
    "...........",  # 0
    "###########",  # 1
    "###########",  # 2
    "..##.##.##.",  # 3
    ".##..##..##",  # 4
    "###########",  # 5
    "###########",  # 6
    "#....##...#",  # 7
    "#....##...#",  # 8
    "##.#.##.#.#",  # 9
    "##.#.##.#.#",  # 10
    "#.#..##..##",  # 11
    "#.#..##..##",  # 12
    "##.#.##.#.#",  # 13
    "##.#.##.#.#",  # 14
    "#....##...#",  # 15
    "#....##...#",  # 16
    "#....##...#",  # 17
    "#....##...#",  # 18
    "#....##...#",  # 19
    "#....##...#",  # 20
    "#....##...#",  # 21
    "#....##.###",  # 22
    "...........",  # 23
]


def beside_er(left):
    """Dot art of 24 x 24: the art `left` (ten columns) with you beside it."""
    return ["." + left[r] + "." + ER[r] + "." for r in range(24)]


# U+9FE5: the left of gentleman beside you: a dot, a box of two rooms, the vertical going on down
# to end in a rising stroke, a dot falling to the right under the box; the ear, its bend one
# dot thick in the column left over.
A9FE5 = beside_er([
    "..........",  # 0
    ".##.......",  # 1
    "..##......",  # 2
    "......####",  # 3
    "#####.####",  # 4
    "#####.##.#",  # 5
    "##.##.##.#",  # 6
    "##.##.###.",  # 7
    "#####.##..",  # 8
    "#####.##.#",  # 9
    "##.##.##.#",  # 10
    "##.##.##.#",  # 11
    "#####.##.#",  # 12
    "#####.##.#",  # 13
    "##....###.",  # 14
    "##.##.##..",  # 15
    "##.##.##..",  # 16
    "##....##..",  # 17
    "##....##..",  # 18
    "##....##..",  # 19
    "##.##.##..",  # 20
    "####..##..",  # 21
    "......##..",  # 22
    "..........",  # 23
])

# U+9FDB: ice and the hill beside you: ice's dot and rising stroke in columns 0-2, a blank column
# from the hill; earth, the two short strokes and the going slowly, one over another, the going
# slowly's falling strokes in runs of one or two dots a row down to row 21. Its last stroke
# crossing the ice's rising one, on the same rows, printed as a knot of single dots.
A9FDB = beside_er([
    "..........",  # 0
    "......##..",  # 1
    ".....####.",  # 2
    "##...####.",  # 3
    ".##...##..",  # 4
    "..#.######",  # 5
    "....######",  # 6
    "..........",  # 7
    ".....#..#.",  # 8
    "....#....#",  # 9
    "..........",  # 10
    "......##..",  # 11
    ".....#####",  # 12
    ".....#####",  # 13
    "....##..##",  # 14
    "....#..##.",  # 15
    "..#...##..",  # 16
    ".##..###..",  # 17
    ".##.##.##.",  # 18
    "##..#...##",  # 19
    "##.......#",  # 20
    "#.........",  # 21
    "..........",  # 22
    "..........",  # 23
])

# U+9FDC: pull beside you: the hand (one, the vertical hooked at its foot, the rising stroke
# across it) and stand (its dot, one, the two short strokes and the bottom).
A9FDC = beside_er([
    "..........",  # 0
    ".##.......",  # 1
    ".##...##..",  # 2
    ".##....##.",  # 3
    ".##.......",  # 4
    "####.#####",  # 5
    "####.#####",  # 6
    ".##.......",  # 7
    ".##.......",  # 8
    ".##..##.##",  # 9
    ".##..##.##",  # 10
    ".###.##.##",  # 11
    "###..##.##",  # 12
    "##....#.#.",  # 13
    ".##.......",  # 14
    ".##.......",  # 15
    ".##.......",  # 16
    ".##..#####",  # 17
    ".##..#####",  # 18
    ".##.......",  # 19
    ".##.......",  # 20
    ".##.......",  # 21
    "###.......",  # 22
    "..........",  # 23
])

# U+9FDD: tree, net over square, beside you: the net a box of two rooms (its walls one dot
# thick inside), the square's dot, bar, hooked stroke and the falling stroke left of it.
A9FDD = beside_er([
    "..........",  # 0
    ".##..#####",  # 1
    ".##..#####",  # 2
    ".##..#.#.#",  # 3
    ".##..#.#.#",  # 4
    "####.#####",  # 5
    "####.#####",  # 6
    ".##.......",  # 7
    "###....##.",  # 8
    "####......",  # 9
    "####.#####",  # 10
    "#.##.#####",  # 11
    "#.##..##..",  # 12
    ".##...####",  # 13
    ".##...####",  # 14
    ".##..##.##",  # 15
    ".##..##.##",  # 16
    ".##..#..##",  # 17
    ".##.##..##",  # 18
    ".##.##..##",  # 19
    ".##.#..###",  # 20
    ".##....##.",  # 21
    ".##.......",  # 22
    "..........",  # 23
])

# U+9FDE: arrange beside you: the bones (one, and under it the evening, its dot inside)
# and the knife, a short vertical one dot thick and a long one with its hook.
A9FDE = beside_er([
    "..........",  # 0
    "........##",  # 1
    "#####...##",  # 2
    "#####.#.##",  # 3
    ".##...#.##",  # 4
    ".####.#.##",  # 5
    "##.##.#.##",  # 6
    "##.##.#.##",  # 7
    "#..##.#.##",  # 8
    ".#.##.#.##",  # 9
    "..##..#.##",  # 10
    "..##..#.##",  # 11
    ".##...#.##",  # 12
    ".##.....##",  # 13
    "##......##",  # 14
    "##......##",  # 15
    "#.......##",  # 16
    "........##",  # 17
    "........##",  # 18
    "........##",  # 19
    "........##",  # 20
    ".....#####",  # 21
    ".....####.",  # 22
    "..........",  # 23
])

# U+9FE0: profit beside you: the grain (a falling stroke over the vertical, one across it
# and the two strokes that part from it under the bar, short ticks) and the knife, its short
# vertical one dot thick.
A9FE0 = beside_er([
    "..........",  # 0
    "...##...##",  # 1
    "####....##",  # 2
    "..##..#.##",  # 3
    "..##..#.##",  # 4
    "#####.#.##",  # 5
    "#####.#.##",  # 6
    "..##..#.##",  # 7
    ".####.#.##",  # 8
    "#.###.#.##",  # 9
    "#.##..#.##",  # 10
    "..##..#.##",  # 11
    "..##..#.##",  # 12
    "..##....##",  # 13
    "..##....##",  # 14
    "..##....##",  # 15
    "..##....##",  # 16
    "..##....##",  # 17
    "..##....##",  # 18
    "..##....##",  # 19
    "..##....##",  # 20
    "..##.#####",  # 21
    "..##.####.",  # 22
    "..........",  # 23
])

# U+9FE7: prosperous beside you: the ear (its bend one dot thick), and beside it the going slowly
# over life (its tick, three bars on a vertical, the last one reaching under the ear).
A9FE7 = beside_er([
    "..........",  # 0
    "####...##.",  # 1
    "####..####",  # 2
    "##.#.##.##",  # 3
    "##.#.#.##.",  # 4
    "###....##.",  # 5
    "##....####",  # 6
    "##.#.##..#",  # 7
    "##.#.#....",  # 8
    "##.#......",  # 9
    "##.#.#.##.",  # 10
    "##.#.#####",  # 11
    "###..#####",  # 12
    "##.....##.",  # 13
    "##...#####",  # 14
    "##...#####",  # 15
    "##.....##.",  # 16
    "##.....##.",  # 17
    "##.....##.",  # 18
    "##.....##.",  # 19
    "##..######",  # 20
    "##..######",  # 21
    "##........",  # 22
    "..........",  # 23
])

# U+9FE8: thunder beside you: the rain (one, the short vertical through the cover, its dots as
# a tick either side under it) over the field of four rooms.
A9FE8 = beside_er([
    "..........",  # 0
    "##########",  # 1
    "##########",  # 2
    "....##....",  # 3
    "##########",  # 4
    "##########",  # 5
    "##..##..##",  # 6
    "##.#..#.##",  # 7
    "##.#..#.##",  # 8
    "##......##",  # 9
    "##......##",  # 10
    "..........",  # 11
    "##########",  # 12
    "##########",  # 13
    "##..##..##",  # 14
    "##..##..##",  # 15
    "##########",  # 16
    "##########",  # 17
    "##..##..##",  # 18
    "##..##..##",  # 19
    "##########",  # 20
    "##########",  # 21
    "..........",  # 22
    "..........",  # 23
])

# U+9FE9: dull beside you: the head of the fish (its bent top and the field of four rooms),
# the fire's four dots as short ticks, and the sun.
A9FE9 = beside_er([
    "...##.....",  # 0
    "..######..",  # 1
    ".##...##..",  # 2
    "##########",  # 3
    "##########",  # 4
    "##..##..##",  # 5
    "##########",  # 6
    "##########",  # 7
    "##..##..##",  # 8
    "##########",  # 9
    "##########",  # 10
    "..........",  # 11
    "#..#..#..#",  # 12
    "#..#..#..#",  # 13
    "..........",  # 14
    "##########",  # 15
    "##########",  # 16
    "##......##",  # 17
    "##########",  # 18
    "##########",  # 19
    "##......##",  # 20
    "##########",  # 21
    "##########",  # 22
    "..........",  # 23
])

# U+9FE6: brave beside the small and fine. Brave: the grass, and the centre (U+592E): the frame
# open at the foot (its sides one dot thick), the vertical through it from over its top, the long
# bar across its foot reaching past its left side, and the legs spreading under it (drawn as a
# closed box it read as yellow); brave is seven columns wide, its bars ending flush with the
# frame's right side, so that the ink keeps a blank column each side. Fine: the step (its second falling stroke meets the vertical), the
# mountain (its teeth one dot thick over a base of two), one, the table's two legs, and the strike
# (a falling stroke to its bar; below, the long falling stroke reaching under the table and the
# stroke that parts from it to the right).
A9FE6 = [
    "..##..##..##...#.....##.",  # 0
    ".#######..##.#.#.#...##.",  # 1
    ".#######.##..#.#.#..##..",  # 2
    "..##..##.##..#####..##..",  # 3
    ".............#####..###.",  # 4
    "....##....##........###.",  # 5
    "..######..##.#####.##...",  # 6
    "..######.###.#####...##.",  # 7
    "..#.##.#.###.........##.",  # 8
    "..#.##.#..##.##.##..##..",  # 9
    "..#.##.#..##.##.##..##..",  # 10
    "..#.##.#..##.##.##.##...",  # 11
    ".#######..##.##.##.##...",  # 12
    ".#######..##.##....##...",  # 13
    "....##....##.##...####..",  # 14
    "...####...##.##...####..",  # 15
    "...#..#...##.##...##.##.",  # 16
    "..##..##..##.##..##..##.",  # 17
    "..#....#..##.##..##..##.",  # 18
    ".##...##..##.##.##...##.",  # 19
    ".#.....#..##.##.##...##.",  # 20
    "..........##....##...##.",  # 21
    "..........##............",  # 22
    "........................",  # 23
]

# U+9FC0: the grass over the healer (the box open to the right with the arrow in it, drawn as a
# tick, a bar and two legs; the weapon, a small table over the right hand, its bars one dot
# thick) and the wine jar (one, and a blank row under it the box with the legs of a man in it,
# the bar inside one dot thick, the bottom).
A9FC0 = [
    "......##.......##.......",  # 0
    ".######################.",  # 1
    ".######################.",  # 2
    "........................",  # 3
    ".##########..#######....",  # 4
    ".##########..#######....",  # 5
    ".##..#.......##...##....",  # 6
    ".##.######..##....##.##.",  # 7
    ".##...##...##......####.",  # 8
    ".##.##..##..............",  # 9
    ".##.........#########...",  # 10
    ".##########...##..##....",  # 11
    ".##########.....##......",  # 12
    "............###...###...",  # 13
    ".######################.",  # 14
    ".######################.",  # 15
    "...##...##.....##..##...",  # 16
    "...##...##.....##..##...",  # 17
    "...##.##.........####...",  # 18
    "...##..............##...",  # 19
    "...##################...",  # 20
    "...##..............##...",  # 21
    "...##################...",  # 22
    "...##################...",  # 23
]

# The horse as it stands on the left of an ideograph, in columns 0-10: the vertical on the left,
# four bars (the middle vertical through the first three), the last bar turning down into a
# short hook, and under it the four dots of fire, each two dots square with a tail one dot wide
# (the first turned down to the left, the others to the right) and a blank column between them.
MA = [
    "...........",  # 0
    "##########.",  # 1
    "##########.",  # 2
    "##...##....",  # 3
    "##...##....",  # 4
    "#########..",  # 5
    "#########..",  # 6
    "##...##....",  # 7
    "#########..",  # 8
    "#########..",  # 9
    "##...##....",  # 10
    "###########",  # 11
    "###########",  # 12
    ".........##",  # 13
    ".........##",  # 14
    ".........##",  # 15
    ".......####",  # 16
    ".......###.",  # 17
    "...........",  # 18
    "##.##.##.##",  # 19
    "##.##.##.##",  # 20
    "#...#..#..#",  # 21
    "...........",  # 22
    "...........",  # 23
]


def beside_ma(right):
    """Dot art of the horse with the art `right` (ten or eleven columns) beside it."""
    return [MA[r] + "." + right[r] + "." for r in range(24)]


# U+9FAD: the horse beside different: the field (a box of four rooms, its inner vertical one dot
# thick) over together (two verticals through a short bar, the long bar and the two legs
# spreading under it).
A9FAD = beside_ma([
    "...........",  # 0
    "###########",  # 1
    "###########",  # 2
    "##...#...##",  # 3
    "##...#...##",  # 4
    "###########",  # 5
    "###########",  # 6
    "##...#...##",  # 7
    "##...#...##",  # 8
    "###########",  # 9
    "###########",  # 10
    "...........",  # 11
    "..##...##..",  # 12
    ".#########.",  # 13
    ".#########.",  # 14
    "..##...##..",  # 15
    "###########",  # 16
    "###########",  # 17
    "...........",  # 18
    "..##...##..",  # 19
    ".##.....##.",  # 20
    "##.......##",  # 21
    "#.........#",  # 22
    "...........",  # 23
])

# U+9FAE: the horse beside wing, ten columns wide so that the ink keeps a blank column each side:
# the feathers (two hooks open on the left, each its bar, the side falling from it and hooking
# left at the foot, a tick (two dots wide in the first, one in the second) and a rising stroke
# inside; a blank row under them, so that they do not close into two boxes), the field (its
# inner bar one dot thick, its inner vertical two between rooms two wide) and together (its
# short bar one dot thick).
A9FAE = beside_ma([
    "#####.####",  # 0
    "#####.####",  # 1
    "...##...##",  # 2
    "##.##.#.##",  # 3
    "..###..###",  # 4
    "#..##.#.##",  # 5
    ".####.####",  # 6
    "..........",  # 7
    "##########",  # 8
    "##..##..##",  # 9
    "##########",  # 10
    "##..##..##",  # 11
    "##########",  # 12
    "##########",  # 13
    "..........",  # 14
    "..##..##..",  # 15
    ".########.",  # 16
    "..##..##..",  # 17
    "##########",  # 18
    "##########",  # 19
    "..........",  # 20
    "..##..##..",  # 21
    ".##....##.",  # 22
    "..........",  # 23
])

# U+9FE1: net over silk and the short-tailed bird, beside you. The net a box of three rooms (its
# inner walls one dot thick); the silk in five columns, its two bends a zigzag of runs two dots
# wide a row over the long stroke (the dot at its end over it), small's vertical one dot between
# its two dots; the bird in four, its man's stroke and tick over the vertical, the four bars
# reaching from it across the short vertical.
A9FE1 = beside_er([
    "..........",  # 0
    "##########",  # 1
    "##########",  # 2
    "##.#..#.##",  # 3
    "##.#..#.##",  # 4
    "##########",  # 5
    "##########",  # 6
    "..........",  # 7
    "..#....#.#",  # 8
    ".##...#..#",  # 9
    "##.#..####",  # 10
    ".##...#.#.",  # 11
    "##..#.#.#.",  # 12
    "#####.####",  # 13
    "..#...#.#.",  # 14
    "..#...#.#.",  # 15
    "..#...####",  # 16
    "..#...#.#.",  # 17
    "#.#.#.#.#.",  # 18
    "#.#.#.#.#.",  # 19
    "..#...####",  # 20
    "..#...####",  # 21
    "......#...",  # 22
    "..........",  # 23
])


# Tree and each (the right of U+683C) as they stand on the right of an ideograph, in columns 11-22
# with a blank column between them: the tree its vertical and bar two dots thick and its legs
# one-dot ticks beside the vertical; each its short stroke, the bent stroke and the falling one
# (one dot thick where they part) over the mouth, whose inside is one column wide.
GE = [
    "..##........",  # 0
    "..##....##..",  # 1
    "..##....####",  # 2
    "..##...##.##",  # 3
    "######.#..##",  # 4
    "######...##.",  # 5
    "..##....###.",  # 6
    ".####..##.##",  # 7
    "#.##.#.#...#",  # 8
    "#.##.#......",  # 9
    "..##........",  # 10
    "..##...#####",  # 11
    "..##...#####",  # 12
    "..##...##.##",  # 13
    "..##...##.##",  # 14
    "..##...##.##",  # 15
    "..##...##.##",  # 16
    "..##...##.##",  # 17
    "..##...##.##",  # 18
    "..##...#####",  # 19
    "..##...#####",  # 20
    "..##........",  # 21
    "............",  # 22
    "............",  # 23
]


def beside_ge(left):
    """Dot art of 24 x 24: the art `left` (ten columns) with tree and each beside it."""
    return [left[r] + "." + GE[r] + "." for r in range(24)]


# U+9FDA: the man (its falling stroke from the top row, its vertical two dots thick) beside the
# right of U+4F0A (its three bars on two verticals two dots thick, two columns apart, the left
# going down into the falling stroke) and tree and each.
A9FDA = beside_ge([
    "..........",  # 0
    "..#.######",  # 1
    ".##.######",  # 2
    ".##.##..##",  # 3
    "###.##..##",  # 4
    "###.######",  # 5
    ".##.######",  # 6
    ".##.##..##",  # 7
    ".##.##..##",  # 8
    ".##.######",  # 9
    ".##.######",  # 10
    ".##.##....",  # 11
    ".##.##....",  # 12
    ".##.##....",  # 13
    ".##.##....",  # 14
    ".##.##....",  # 15
    ".##.##....",  # 16
    ".##.##....",  # 17
    ".##.##....",  # 18
    ".##.##....",  # 19
    ".####.....",  # 20
    ".##.#.....",  # 21
    "..........",  # 22
    "..........",  # 23
])

# U+9FE4: the ear (two inner bars, the rising stroke through the long right vertical), tree and
# each, seven columns each with a blank column between: the tree's legs one-dot ticks, each's
# strokes slants two dots wide over the mouth, three columns wide inside.
A9FE4 = [
    "...........##......##...",  # 0
    ".#######...##.....##....",  # 1
    ".#######...##.....#####.",  # 2
    "..##..##...##....##..##.",  # 3
    "..##..##.######.##..##..",  # 4
    "..######.######.#..##...",  # 5
    "..######...##.....##....",  # 6
    "..##..##..####....####..",  # 7
    "..##..##.#.##.#..##.##..",  # 8
    "..######.#.##.#.##...##.",  # 9
    "..######...##...#.....#.",  # 10
    "..##..##...##...........",  # 11
    "..##..##...##...#######.",  # 12
    "..##..##...##...#######.",  # 13
    "..##..##...##...##...##.",  # 14
    "..##.###...##...##...##.",  # 15
    ".#######...##...##...##.",  # 16
    ".###..##...##...##...##.",  # 17
    "......##...##...##...##.",  # 18
    "......##...##...#######.",  # 19
    "......##...##...#######.",  # 20
    "......##...##...........",  # 21
    "........................",  # 22
    "........................",  # 23
]

# U+9FE2: the ear and the town (U+8036) beside join: the ear narrowed to seven columns (its inner
# bars two dots thick, the rising stroke crossing the right vertical), the town's bends one dot
# thick, and join (the roof peaking in one dot, its short bar and the mouth) in columns 14-22.
A9FE2 = [
    "..................#.....",  # 0
    ".#######.####....###....",  # 1
    ".#######.####...##.##...",  # 2
    "..##..##.##.#..##...##..",  # 3
    "..##..##.##.#.##.....##.",  # 4
    "..######.##.#.#.......#.",  # 5
    "..######.###............",  # 6
    "..##..##.####...#####...",  # 7
    "..##..##.##.#...#####...",  # 8
    "..######.##.#...........",  # 9
    "..######.##.#..#######..",  # 10
    "..##..##.####..#######..",  # 11
    "..##..##.###...##...##..",  # 12
    "..##..##.##....##...##..",  # 13
    "..##..##.##....##...##..",  # 14
    "..##.###.##....##...##..",  # 15
    ".#######.##....##...##..",  # 16
    ".###..##.##....##...##..",  # 17
    "......##.##....##...##..",  # 18
    "......##.##....##...##..",  # 19
    "......##.##....#######..",  # 20
    "......##.##....#######..",  # 21
    ".........##.............",  # 22
    "........................",  # 23
]

# U+9FE3: the ear and the town as in U+9FE2 (columns 1-12) beside overcome (U+514B) in columns
# 14-21: ten (its vertical from the top row down onto the mouth), the mouth and the legs, the
# left one falling to the left, the right one turning along the foot and up at its end. Noto
# gives the ear five columns beside the town and overcome, where its bars close into a ladder.
KE = [
    "...##...",  # 0
    "...##...",  # 1
    "#######.",  # 2
    "#######.",  # 3
    "...##...",  # 4
    "#######.",  # 5
    "#######.",  # 6
    "##...##.",  # 7
    "##...##.",  # 8
    "##...##.",  # 9
    "#######.",  # 10
    "#######.",  # 11
    ".##.##..",  # 12
    ".##.##..",  # 13
    ".##.##..",  # 14
    ".##.##..",  # 15
    ".##.##..",  # 16
    "##..##..",  # 17
    "##..##..",  # 18
    "#...##.#",  # 19
    "....####",  # 20
    "........",  # 21
    "........",  # 22
    "........",  # 23
]
A9FE3 = [A9FE2[r][:14] + KE[r] + ".." for r in range(24)]

# U+9FEB: the air around the inside of U+5967: the falling stroke and three bars of the air, its
# last bar turning down the right and hooking up at the foot; inside, the box with rice in it,
# narrower than the air and standing on big's bar (the rice's vertical two dots thick, its bar
# and four dots one, the dots as slanted ticks), and big's legs.
A9FEB = [
    "....##..................",  # 0
    "...##..###############..",  # 1
    "..##...###############..",  # 2
    ".##.....................",  # 3
    "##....############......",  # 4
    "#.....############......",  # 5
    "........................",  # 6
    ".###################....",  # 7
    ".###################....",  # 8
    "..................##....",  # 9
    "..##############..##....",  # 10
    "..##############..##....",  # 11
    "..##.#..##..#.##..##....",  # 12
    "..##..#.##.#..##..##....",  # 13
    "..##.########.##..##....",  # 14
    "..##...####...##..##....",  # 15
    "..##..#.##.#..##..##....",  # 16
    "..##.#..##..#.##..##....",  # 17
    "#################.##.##.",  # 18
    "#################.##.##.",  # 19
    "......##..##......##.##.",  # 20
    "....##......##....#####.",  # 21
    ".###..........###..###..",  # 22
    "........................",  # 23
]

# U+9FB2: gold beside storehouse. Gold: the roof, its two bars, the vertical, the two dots as
# slanted ticks one dot wide and the rising stroke at the foot. Storehouse: the dot and the
# shelter's bar and left side, the cart inside it (its top bar, the box of four rooms, the long
# bar and the vertical through them, the rooms one dot high).
A9FB2 = [
    "................##......",  # 0
    "....##..........##......",  # 1
    "...####...#############.",  # 2
    "..##..##..#############.",  # 3
    ".##....##.##............",  # 4
    "##......#.##.##########.",  # 5
    "..........##.##########.",  # 6
    "..#####...##.....##.....",  # 7
    "..#####...##.##########.",  # 8
    "....##....##.##########.",  # 9
    "#########.##.##..##..##.",  # 10
    "#########.##.##########.",  # 11
    "....##....##.##########.",  # 12
    ".#..##.#..##.##..##..##.",  # 13
    "..#.##.#..##.##########.",  # 14
    "..#.###...##.##########.",  # 15
    "....##....##.....##.....",  # 16
    "....##....##.##########.",  # 17
    "....##.##.##.##########.",  # 18
    "....#####.##.....##.....",  # 19
    "..#####...##.....##.....",  # 20
    "#####.....#......##.....",  # 21
    "##...............##.....",  # 22
    "........................",  # 23
]

# U+9FD0: fish beside the wine jar. Fish: its bent top, the field of four rooms and the fire's
# four dots as ticks one dot wide; the wine jar: one, the box with the two legs of a man in it
# (one dot thick where they bend) and its inner bar.
A9FD0 = [
    "...##...................",  # 0
    "..######...############.",  # 1
    ".##...##...############.",  # 2
    "##########....##..##....",  # 3
    "##########....##..##....",  # 4
    "##..##..##.############.",  # 5
    "##..##..##.############.",  # 6
    "##..##..##.##.##..##.##.",  # 7
    "##########.##.##..##.##.",  # 8
    "##########.##.##..##.##.",  # 9
    "##..##..##.##.##..##.##.",  # 10
    "##..##..##.##.##..##.##.",  # 11
    "##..##..##.##.#...#####.",  # 12
    "##########.###.......##.",  # 13
    "##########.##........##.",  # 14
    "...........############.",  # 15
    "...........############.",  # 16
    "...........##........##.",  # 17
    "#..#..#..#.##........##.",  # 18
    "#..#..#..#.##........##.",  # 19
    "#..#..#..#.############.",  # 20
    "...........############.",  # 21
    "........................",  # 22
    "........................",  # 23
]

# U+9FEA: the walk around eight over the pig (U+9042), over fire, as Noto and Unifont set it.
# The walk: its dot, the bend and the vertical, the sweep two dots thick running under the rest;
# the pig: one, a falling stroke from under it, the bar that turns down into the middle stroke
# with its hook, two falling strokes leaving that to the left and the long stroke falling to the
# right, the slants each a run of two or three dots a row; the fire's four dots, each two dots
# square with a tail one dot wide (the first turned down to the left, the others to the right),
# spread under the whole width of the sweep a single blank row below it, so that they read as the
# foot of the character and not as a stray line.
A9FEA = [
    "##........##.....##.....",  # 0
    ".##........##...##......",  # 1
    "..##........##.##.......",  # 2
    "......#################.",  # 3
    "###...#################.",  # 4
    "###.....................",  # 5
    "..##........##....##....",  # 6
    "..##......###....##.....",  # 7
    "..##....###...#####.....",  # 8
    "..##..........##.##.....",  # 9
    "..##.......####...##....",  # 10
    "..##....###...##...##...",  # 11
    "..##..........##....##..",  # 12
    "..##.......####......##.",  # 13
    "..##....###...##........",  # 14
    ".####.......###.........",  # 15
    "##..###################.",  # 16
    "#.......###############.",  # 17
    "........................",  # 18
    "...##....##....##....##.",  # 19
    "...##....##....##....##.",  # 20
    "...#......#.....#.....#.",  # 21
    "........................",  # 22
    "........................",  # 23
]

# U+4DBD: the moon beside the top of U+767C over the weapon (U+6BB5's right). The top of U+767C:
# on the left a bar turning down into a stroke falling to the left, with a dot rising into it; on
# the right a stroke falling to the right from the top, a short stroke falling to the left across
# its head. The weapon: the table (its bar, the left leg falling, the right one hooked out) over
# the right hand (a bar turning into the long stroke falling to the left, crossed low by the one
# falling to the right; the two cross on two dots, a blank dot from the strokes beside them, which
# keeps the ink 22 columns across). The moon is a tall box with two inner bars, its left side
# bending out at the foot.
A4DBD = [
    "..######.######.##......",  # 0
    "..######.######.##...##.",  # 1
    "..##..##.....##..##.##..",  # 2
    "..##..##....##....###...",  # 3
    "..##..##.##.##.....##...",  # 4
    "..######..###.......##..",  # 5
    "..######...##........##.",  # 6
    "..##..##.##...........#.",  # 7
    "..##..##................",  # 8
    "..##..##...########.....",  # 9
    "..######...########.....",  # 10
    "..######...##....##.....",  # 11
    "..##..##..##.....##..##.",  # 12
    "..##..##.##......######.",  # 13
    "..##..##................",  # 14
    "..##..##..##########....",  # 15
    "..##..##..##########....",  # 16
    "..##..##...##.....##....",  # 17
    "..##..##....##...##.....",  # 18
    ".##...##.....##.##......",  # 19
    ".##...##.......##.......",  # 20
    ".##..###.....##.###.....",  # 21
    ".#...##..####.....#####.",  # 22
    "........................",  # 23
]

WIDE_ART = {0x4DB6: A4DB6, 0x4DBD: A4DBD, 0x9FA6: A9FA6, 0x9FAD: A9FAD, 0x9FAE: A9FAE, 0x9FB2: A9FB2, 0x9FBD: A9FBD, 0x9FC0: A9FC0, 0x9FC1: A9FC1, 0x9FD0: A9FD0, 0x9FDA: A9FDA, 0x9FDB: A9FDB,
            0x9FDC: A9FDC, 0x9FDD: A9FDD, 0x9FDE: A9FDE, 0x9FE0: A9FE0, 0x9FE1: A9FE1, 0x9FE2: A9FE2, 0x9FE3: A9FE3, 0x9FE4: A9FE4, 0x9FE5: A9FE5,
            0x9FE6: A9FE6, 0x9FE7: A9FE7, 0x9FE8: A9FE8, 0x9FE9: A9FE9, 0x9FEA: A9FEA, 0x9FEB: A9FEB, 0x9FFF: A9FFF}

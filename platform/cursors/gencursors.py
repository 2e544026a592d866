#!/usr/bin/env python3
"""Draws the four chart cursors as 32x32 XPM files (black outline, white fill,
transparent elsewhere). Run from this folder to regenerate them."""
import math

SIZE = 32

LETTERS = {  # 5x7 glyphs, '#' = set
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
}


def blank():
    return [[" "] * SIZE for _ in range(SIZE)]


def outline(img):
    """Black pixels around every white area."""
    out = [row[:] for row in img]
    for y in range(SIZE):
        for x in range(SIZE):
            if img[y][x] != " ":
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < SIZE and 0 <= ny < SIZE and img[ny][nx] == ".":
                    out[y][x] = "#"
                    break
    return out


def hand():
    img = blank()
    def box(x0, y0, x1, y1):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                img[y][x] = "."
    box(9, 14, 22, 25)           # palm
    for i, top in enumerate((6, 4, 5, 8)):  # four fingers
        x = 10 + i * 3
        box(x, top, x + 1, 14)
    for k in range(6):           # thumb, slanted
        box(5 + k, 12 + k, 6 + k, 13 + k)
    box(11, 26, 20, 27)          # wrist
    img = outline(img)
    for i in range(3):           # finger gaps
        x = 12 + i * 3
        for y in range(9, 15):
            img[y][x] = "#"
    return img


def magnifier(letter):
    img = blank()
    cx, cy, r = 12, 12, 8.6
    for y in range(SIZE):
        for x in range(SIZE):
            if math.hypot(x - cx, y - cy) <= r:
                img[y][x] = "."
    for k in range(9):           # handle
        for w in range(-1, 2):
            x, y = 19 + k + w, 19 + k - w
            if 0 <= x < SIZE and 0 <= y < SIZE:
                img[y][x] = "."
    img = outline(img)
    for k in range(9):
        x, y = 19 + k, 19 + k
        if x < SIZE and y < SIZE:
            img[y][x] = "#"
    for row, bits in enumerate(LETTERS[letter]):
        for col, ch in enumerate(bits):
            if ch == "#":
                img[cy - 3 + row][cx - 2 + col] = "#"
    return img


def write(name, img):
    with open(name + ".xpm", "w", newline="\n") as f:
        f.write("/* XPM */\nstatic const char* const %s_xpm[] = {\n" % name.lower())
        f.write('"%d %d 3 1",\n' % (SIZE, SIZE))
        f.write('"  c None",\n". c #FFFFFF",\n"# c #000000",\n')
        rows = ['"' + "".join(r) + '"' for r in img]
        f.write(",\n".join(rows) + "};\n")


write("CURHAND", hand())
write("CURZOOMW", magnifier("W"))
write("CURZOOMD", magnifier("D"))
write("CURZOOMP", magnifier("P"))

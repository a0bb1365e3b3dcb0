#!/usr/bin/env python3
"""Draws the options dialog's pictures as 32 x 32, 16-colour XPM files into
this folder: one for each page (GENERAL, SENSITIVITY, APPLICATIONS) and the
dialog's own window icon (OPTIONS).

Run it again after changing the artwork: python3 make_pictures.py
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "icons"))
from make_icons import SIZE, blank, write_xpm  # noqa: E402  (shared with the icons)

# The pictures use more of the standard 16-colour palette than the icons.
PALETTE = {
    " ": "None",
    ".": "#000000",
    "w": "#FFFFFF",
    "s": "#C0C0C0",
    "g": "#808080",
    "b": "#000080",
    "B": "#0000FF",
    "G": "#008000",
    "r": "#800000",
    "y": "#FFFF00",
}


def box(image, left, top, right, bottom, edge, fill=None):
    """A rectangle from (left, top) to (right, bottom), both inclusive."""
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            on_edge = x in (left, right) or y in (top, bottom)
            if on_edge:
                image[y][x] = edge
            elif fill:
                image[y][x] = fill


def sunken_box(image, left, top, right, bottom, fill="w"):
    """A 3D field as the dialogs draw it: dark above and left, light below
    and right."""
    box(image, left, top, right, bottom, "g", fill)
    for x in range(left, right + 1):
        image[bottom][x] = "w" if fill != "w" else "s"
    for y in range(top, bottom + 1):
        image[y][right] = "w" if fill != "w" else "s"


def tick(image, left, top, colour="."):
    """A check mark in a 7 x 7 cell."""
    for dx, dy in ((0, 3), (1, 4), (2, 5), (3, 4), (4, 3), (5, 2), (6, 1)):
        image[top + dy][left + dx] = colour
        image[top + dy - 1][left + dx] = colour


def general():
    """Three check boxes, two of them ticked, with lines of text."""
    image = blank()
    for row, ticked in enumerate((True, False, True)):
        top = 2 + row * 10
        sunken_box(image, 2, top, 10, top + 8)
        if ticked:
            tick(image, 3, top + 1)
        for x in range(15, 30 - row * 4):
            image[top + 4][x] = "b"
            image[top + 5][x] = "b"
    return image


def sensitivity():
    """Two horizontal track bars with their tick marks."""
    image = blank()
    for top, knob in ((4, 9), (18, 21)):
        box(image, 2, top + 4, 29, top + 5, "g", "g")
        for x in range(2, 30):
            image[top + 6][x] = "w"
        for x in range(2, 30, 3):
            image[top + 10][x] = "."
            image[top + 11][x] = "."
        box(image, knob - 2, top, knob + 2, top + 8, ".", "s")
        for y in range(top + 1, top + 8):
            image[y][knob - 1] = "w"
    return image


def applications():
    """A program's window with its title bar, and a started-program arrow."""
    image = blank()
    box(image, 1, 3, 30, 28, ".", "w")
    box(image, 2, 4, 29, 8, "b", "b")
    for x, colour in ((25, "s"), (27, "s")):
        box(image, x, 5, x + 1, 7, colour, colour)
    for row in range(4):
        for x in range(5, 5 + (18 - row * 3)):
            image[12 + row * 4][x] = "g"
    # The arrow that starts it.
    for i in range(7):
        for x in range(18 + i, 29):
            if x - 18 - i < 2:
                image[27 - i][x] = "G"
    for y in range(20, 27):
        image[y][28] = "G"
        image[y][27] = "G"
    for x in range(21, 29):
        image[20][x] = "G"
    return image


def options():
    """The mouse that the program watches, in front of a track bar."""
    image = blank()
    box(image, 1, 24, 30, 25, "g", "g")
    for x in range(1, 31):
        image[26][x] = "w"
    box(image, 22, 20, 26, 29, ".", "s")
    cx, cy, rx, ry = 13.0, 13.0, 8.0, 10.0
    for j in range(SIZE):
        for i in range(SIZE):
            x, y = i + 0.5, j + 0.5
            d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
            d_inner = ((x - cx) / (rx - 1.2)) ** 2 + ((y - cy) / (ry - 1.2)) ** 2
            if d > 1.0:
                continue
            if d_inner > 1.0:
                image[j][i] = "."
            elif y < cy and abs(x - cx) <= 0.5:
                image[j][i] = "."
            elif abs(y - cy) <= 0.5:
                image[j][i] = "."
            elif x < cx - 2 and y < cy:
                image[j][i] = "w"
            elif x > cx + 2 and y > cy:
                image[j][i] = "g"
            else:
                image[j][i] = "s"
    for i, j in ((13, 3), (14, 2), (15, 1), (16, 1), (17, 0)):
        image[j][i] = "."
    return image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, image in (("GENERAL", general()), ("SENSITIVITY", sensitivity()),
                        ("APPLICATIONS", applications()), ("OPTIONS", options())):
        write_xpm(os.path.join(here, f"{name}.xpm"), name, image, PALETTE)


if __name__ == "__main__":
    main()

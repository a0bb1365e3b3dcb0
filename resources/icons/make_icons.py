#!/usr/bin/env python3
"""Draws the tray animation frames ICON_1..ICON_13 and MAINICON as 32 x 32,
16-colour XPM files into this folder.

A pair of cartoon eyes: frame 1 looks ahead, frames 2-4 blink, frames 5-13
roll the pupils once round (down, left, up with the eyes wide open, right and
down again). MAINICON shows the eyes looking up at a mouse.

Run it again after changing the artwork: python3 make_icons.py
"""

import math
import os

SIZE = 32

# The colours of the standard 16-colour palette that the artwork uses, plus
# the transparent mask.
PALETTE = {
    " ": "None",
    ".": "#000000",
    "w": "#FFFFFF",
    "s": "#C0C0C0",
    "g": "#808080",
    "b": "#0000FF",
}


def blank():
    return [[" "] * SIZE for _ in range(SIZE)]


def inside_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def pixel_centres():
    for j in range(SIZE):
        for i in range(SIZE):
            yield i, j, i + 0.5, j + 0.5


class Eye:
    def __init__(self, cx, cy, rx, ry):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry

    def outer(self, x, y):
        # A hair inside the true outline, so that no lone pixel sticks out at
        # the four extremes.
        return inside_ellipse(x, y, self.cx, self.cy, self.rx - 0.1, self.ry - 0.1)

    def inner(self, x, y):
        return inside_ellipse(x, y, self.cx, self.cy, self.rx - 1.25, self.ry - 1.25)

    def lid_edge(self, x, openness):
        """Height of the upper lid's lower edge at x; openness 1 is fully
        open, 0 closed. The edge sags towards the middle like a real lid."""
        top = self.cy - self.ry
        bottom = self.cy + self.ry
        u = (x - self.cx) / self.rx
        sag = 2.0 * max(0.0, 1.0 - u * u)
        return top + (bottom - top) * (1.0 - openness) + sag * (1.0 - openness) - 0.5


def draw_eye(image, eye, look=(0.0, 0.0), openness=1.0, pupil=3.5):
    """look is the pupil's direction as (dx, dy) in -1..1."""
    reach_x = eye.rx - 1.25 - pupil + 0.3
    reach_y = eye.ry - 1.25 - pupil + 0.3
    # Whole-pixel offsets keep the pupil a symmetric disc.
    px = eye.cx + round(look[0] * reach_x)
    py = eye.cy + round(look[1] * reach_y)
    for i, j, x, y in pixel_centres():
        if not eye.outer(x, y):
            continue
        lid = eye.lid_edge(x, openness)
        if openness < 1.0 and y < lid:
            image[j][i] = "s" if eye.inner(x, y) else "."
            continue
        if openness < 1.0 and y < lid + 1.2:
            image[j][i] = "."  # the lid's edge with its lashes
            continue
        if not eye.inner(x, y):
            image[j][i] = "."
            continue
        d = math.hypot(x - px, y - py)
        if d <= pupil * 0.45:
            image[j][i] = "."
        elif d <= pupil:
            image[j][i] = "b"
        else:
            image[j][i] = "w"
    # A catch light keeps the eyes alive at small sizes.
    hx, hy = int(px) - 1, int(py) - 1
    if openness >= 1.0 and eye.inner(hx + 0.5, hy + 0.5):
        image[hy][hx] = "w"


def draw_closed_eye(image, eye):
    """A closed eye: the lid over the whole eye, the lashes curving along
    its lower part."""
    def lash_line(x):
        u = (x - eye.cx) / eye.rx
        return eye.cy + eye.ry * 0.35 + 2.0 * (1.0 - u * u)

    for i, j, x, y in pixel_centres():
        if not eye.outer(x, y):
            continue
        if not eye.inner(x, y) or abs(y - lash_line(x)) <= 0.7:
            image[j][i] = "."
        else:
            image[j][i] = "s"
    for dx in (-3.5, 0.0, 3.5):
        x = eye.cx + dx
        i, j = int(x), int(lash_line(x)) + 1
        image[j][i] = "."
        image[j + 1][i + (1 if dx > 0 else -1 if dx < 0 else 0)] = "."


def eyes(wide=False):
    ry = 13.0 if wide else 11.5
    rx = 8.0 if wide else 7.5
    cy = 16.5
    return Eye(8.5, cy, rx, ry), Eye(23.5, cy, rx, ry)


def frame(look=(0.0, 0.0), openness=1.0, wide=False, closed=False):
    image = blank()
    for eye in eyes(wide):
        if closed:
            draw_closed_eye(image, eye)
        else:
            draw_eye(image, eye, look, openness)
    return image


def diagonal(dx, dy):
    return (dx * math.sqrt(0.5), dy * math.sqrt(0.5))


FRAMES = [
    frame(),                                   # 1 looking ahead
    frame(openness=0.45),                      # 2 closing
    frame(closed=True),                        # 3 closed
    frame(openness=0.7),                       # 4 reopening
    frame(look=(0.0, 1.0)),                    # 5 down
    frame(look=diagonal(-1, 1)),               # 6 down-left
    frame(look=(-1.0, 0.0)),                   # 7 left
    frame(look=diagonal(-1, -1), wide=True),   # 8 up-left, wide open
    frame(look=(0.0, -1.0), wide=True),        # 9 up, wide open
    frame(look=diagonal(1, -1), wide=True),    # 10 up-right, wide open
    frame(look=(1.0, 0.0)),                    # 11 right
    frame(look=diagonal(1, 1)),                # 12 down-right
    frame(look=(0.0, 1.0)),                    # 13 down again
]


def main_icon():
    """The eyes, smaller, looking up at a mouse with its cable."""
    image = blank()
    # The mouse: a rounded body with two buttons, its cable waving off to the
    # upper right.
    mcx, mcy, mrx, mry = 16.0, 8.5, 6.0, 7.0
    for i, j, x, y in pixel_centres():
        if not inside_ellipse(x, y, mcx, mcy, mrx - 0.1, mry - 0.1):
            continue
        if not inside_ellipse(x, y, mcx, mcy, mrx - 1.2, mry - 1.2):
            image[j][i] = "."
        elif y < mcy and abs(x - mcx) <= 0.5:
            image[j][i] = "."          # the gap between the buttons
        elif abs(y - mcy) <= 0.5:
            image[j][i] = "."          # the buttons' lower edge
        elif x < mcx - 2.0 and y < mcy:
            image[j][i] = "w"          # light falls from the upper left
        elif x > mcx + 2.0 and y > mcy:
            image[j][i] = "g"
        else:
            image[j][i] = "s"
    for i, j in [(16, 1), (17, 0), (18, 0), (19, 1), (20, 1), (21, 2), (22, 2), (23, 2), (24, 1), (25, 1), (26, 0),
                 (27, 0), (28, 0), (29, 1), (30, 1)]:
        image[j][i] = "."
    for eye in (Eye(8.5, 23.5, 6.5, 8.0), Eye(23.5, 23.5, 6.5, 8.0)):
        draw_eye(image, eye, look=(0.3, -1.0), pupil=2.5)
    return image


def write_xpm(path, name, image, palette=PALETTE):
    used = sorted({c for row in image for c in row}, key=list(palette).index)
    assert len([c for c in used if c != " "]) <= 16
    lines = [
        "/* XPM */",
        f"static const char *{name}[] = {{",
        f'"{SIZE} {SIZE} {len(used)} 1",',
    ]
    lines += [f'"{c} c {palette[c]}",' for c in used]
    lines += [f'"{"".join(row)}"' + ("," if n < SIZE - 1 else "") for n, row in enumerate(image)]
    lines.append("};")
    with open(path, "w", encoding="ascii") as out:
        out.write("\n".join(lines) + "\n")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for number, image in enumerate(FRAMES, start=1):
        write_xpm(os.path.join(here, f"ICON_{number}.xpm"), f"ICON_{number}", image)
    write_xpm(os.path.join(here, "MAINICON.xpm"), "MAINICON", main_icon())


if __name__ == "__main__":
    main()

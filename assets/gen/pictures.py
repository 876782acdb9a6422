"""The built-in pictures and the program icon.

The game's default picture is a winter night at Fernwick Hollow, laid out so that every one of
its sixteen 48 x 48 pieces holds something of its own (the moon, the star on the tree, the
house's lit window, the snowman, the presents ...): a player can put it together by eye.
"""
import math
import random

import numpy as np
from PIL import Image

from .common import Canvas, SANS_BOLD


def _sky(size):
    """Night sky: navy at the top, lighter towards the horizon, violet on the left, teal on the right."""
    y, x = np.mgrid[0:size, 0:size].astype(float) / (size - 1)
    top = np.array([18, 20, 70.0])
    horizon = np.array([70, 84, 150.0])
    left_tint = np.array([40, -10, 30.0])
    right_tint = np.array([-20, 30, 10.0])
    t = np.clip(y / 0.8, 0, 1)[..., None]
    colour = top + (horizon - top) * t
    colour += (1 - x)[..., None] * left_tint * 0.8 + x[..., None] * right_tint * 0.8
    return Image.fromarray(np.clip(colour, 0, 255).round().astype(np.uint8), "RGB")


def _star(c, cx, cy, r_out, r_in, fill, angle=-math.pi / 2):
    points = []
    for i in range(10):
        r = r_out if i % 2 == 0 else r_in
        a = angle + i * math.pi / 5
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    c.polygon(points, fill=fill)


def _pine(c, cx, base, height, fill):
    c.polygon([(cx, base - height), (cx - height * 0.32, base), (cx + height * 0.32, base)], fill=fill)


def fernwick():
    size = 192
    c = Canvas(size, size)
    c.paste(_sky(size), 0, 0)
    rnd = random.Random(1987)

    # Aurora ribbons across the top row, different in every piece.
    for band, (colour, y0, amp, phase) in enumerate((((80, 230, 150, 60), 30, 9, 0.0),
                                                    ((150, 110, 230, 50), 40, 7, 1.7))):
        upper = [(x, y0 + amp * math.sin(x / 23 + phase) - 9) for x in range(0, size + 1, 4)]
        lower = [(x, y0 + amp * math.sin(x / 23 + phase) + 3 + 3 * math.sin(x / 9)) for x in range(size, -1, -4)]
        c.polygon(upper + lower, fill=colour)

    # Stars, and the crescent moon in the top left corner.
    for _ in range(70):
        x, y = rnd.uniform(0, size), rnd.uniform(0, 120)
        c.circle(x, y, rnd.choice((0.4, 0.5, 0.7)), fill=(255, 255, 230, rnd.choice((150, 200, 255))))
    c.circle(22, 20, 17, fill=(255, 250, 200, 40))
    c.circle(22, 20, 12, fill=(255, 244, 190))
    c.circle(28, 16, 10.5, fill=(36, 34, 88))
    # A shooting star in the top right.
    c.line([(186, 8), (150, 34)], (255, 255, 255, 60), 3.5)
    c.line([(186, 8), (158, 28)], (255, 255, 230, 160), 1.4)
    _star(c, 186, 8, 4.5, 1.8, (255, 255, 235))

    # Distant hill with small pines on the left, snow ground across the bottom.
    c.polygon([(0, 96), (30, 78), (70, 90), (110, 100), (110, 192), (0, 192)], fill=(196, 210, 236))
    for x, b, hgt in ((8, 92, 16), (20, 86, 20), (34, 84, 14), (48, 90, 18), (62, 92, 13)):
        _pine(c, x, b, hgt, (24, 60, 66))
    c.polygon([(0, 150)] + [(x, 148 - 6 * math.sin(x / 30)) for x in range(0, 193, 6)] + [(192, 192), (0, 192)],
              fill=(232, 240, 252))
    c.polygon([(0, 175)] + [(x, 170 - 5 * math.sin(x / 21 + 1)) for x in range(0, 193, 6)] + [(192, 192), (0, 192)],
              fill=(214, 226, 246))

    # The house on the right: roof in the second row, lit window in the third, door in the fourth.
    c.rect(150, 96, 192, 176, (176, 112, 76))
    for y in range(100, 176, 8):
        c.rect(150, y, 192, y + 1, (150, 92, 62))
    c.rect(180, 58, 190, 82, (130, 60, 50))
    for i, (sx, sy, r) in enumerate(((186, 50, 4), (190, 42, 5), (184, 36, 4.5))):
        c.circle(sx, sy, r, fill=(220, 224, 240, 110))
    c.polygon([(140, 100), (176, 60), (212, 100)], fill=(150, 36, 40))
    c.polygon([(140, 100), (176, 60), (178, 63), (146, 100)], fill=(196, 66, 60))
    c.line([(140, 99), (176, 60), (212, 99)], (250, 252, 255), 3.5)
    c.circle(162, 84, 2.5, fill=(255, 220, 120))
    c.rect(156, 110, 182, 134, (90, 50, 30))
    c.rect(158, 112, 180, 132, (255, 214, 100))
    c.rect(158, 112, 180, 118, (255, 236, 160))
    c.rect(168, 112, 170, 132, (90, 50, 30))
    c.rect(158, 121, 180, 123, (90, 50, 30))
    c.rect(176, 146, 192, 176, (30, 100, 60))
    c.circle(184, 156, 5, outline=(20, 120, 40), width=2)
    c.circle(184, 151.5, 1.2, fill=(210, 30, 40))

    # The tree in the middle, with different ornaments in each piece.
    cx = 100
    c.rect(cx - 7, 146, cx + 7, 166, (100, 62, 36))
    for top, bottom, half, shade in ((80, 152, 54, (16, 90, 46)), (46, 112, 40, (22, 106, 52)),
                                     (18, 74, 27, (30, 122, 60))):
        c.polygon([(cx, top), (cx - half, bottom), (cx + half, bottom)], fill=shade)
        c.polygon([(cx, top), (cx - half, bottom), (cx - half + 6, bottom)], fill=(60, 150, 84))
        c.line([(cx - half, bottom), (cx + half, bottom)], (236, 246, 255), 2.2)
    c.line([(cx - 18, 56), (cx + 20, 66)], (250, 210, 80), 1.2)
    c.line([(cx - 32, 92), (cx + 34, 100)], (230, 236, 250), 1.2)
    c.line([(cx - 44, 130), (cx + 46, 122)], (250, 210, 80), 1.2)
    ornaments = ((88, 66, (220, 40, 50)), (110, 72, (250, 200, 60)), (80, 100, (240, 200, 60)),
                 (104, 88, (60, 120, 230)), (122, 104, (220, 40, 50)), (92, 108, (200, 200, 220)),
                 (66, 138, (60, 120, 230)), (96, 132, (220, 40, 50)), (126, 140, (250, 200, 60)),
                 (112, 122, (180, 80, 200)), (74, 120, (250, 140, 40)), (138, 146, (200, 200, 220)))
    for x, y, colour in ornaments:
        c.circle(x, y, 3.4, fill=colour)
        c.circle(x - 1, y - 1, 1, fill=(255, 255, 255, 200))
    c.circle(cx, 18, 11, fill=(255, 230, 120, 50))
    _star(c, cx, 18, 9, 3.8, (255, 214, 60))

    # The snowman on the left: hat in the second row, head in the third, body in the fourth.
    sx = 28
    c.circle(sx, 168, 19, fill=(248, 250, 255))
    c.circle(sx, 134, 14, fill=(244, 248, 255))
    c.circle(sx, 108, 10.5, fill=(250, 252, 255))
    c.rect(sx - 9, 96, sx + 9, 99, (30, 30, 36))
    c.rect(sx - 6, 80, sx + 6, 97, (30, 30, 36))
    c.rect(sx - 6, 92, sx + 6, 95, (200, 30, 40))
    c.circle(sx - 3.5, 106, 1.3, fill=(20, 20, 20))
    c.circle(sx + 3.5, 106, 1.3, fill=(20, 20, 20))
    c.polygon([(sx, 109), (sx + 9, 111), (sx, 112)], fill=(250, 130, 30))
    c.rect(sx - 11, 118, sx + 11, 123, (200, 30, 40))
    c.rect(sx + 4, 118, sx + 9, 134, (200, 30, 40))
    for y in (130, 138, 160, 170):
        c.circle(sx, y, 1.6, fill=(30, 30, 36))
    c.line([(sx - 13, 132), (sx - 26, 122), (sx - 30, 124)], (100, 62, 36), 1.6)
    c.line([(sx + 13, 132), (sx + 24, 124), (sx + 28, 118)], (100, 62, 36), 1.6)

    # Presents under the tree.
    def present(x0, y0, x1, y1, box, ribbon):
        c.rect(x0, y0, x1, y1, box)
        c.rect((x0 + x1) / 2 - 1.5, y0, (x0 + x1) / 2 + 1.5, y1, ribbon)
        c.rect(x0, (y0 + y1) / 2 - 1.5, x1, (y0 + y1) / 2 + 1.5, ribbon)
        mx = (x0 + x1) / 2
        c.ellipse(mx - 4, y0 - 2, 4, 2.5, outline=ribbon, width=1.5)
        c.ellipse(mx + 4, y0 - 2, 4, 2.5, outline=ribbon, width=1.5)

    present(54, 162, 84, 186, (200, 30, 44), (40, 160, 70))
    present(84, 172, 96, 186, (250, 240, 230), (220, 40, 50))
    present(104, 168, 124, 186, (50, 90, 200), (250, 210, 70))
    present(124, 158, 142, 186, (250, 196, 50), (200, 30, 44))

    # Falling snow over everything.
    for _ in range(110):
        x, y = rnd.uniform(0, size), rnd.uniform(0, size)
        c.circle(x, y, rnd.choice((0.6, 0.8, 1.0)), fill=(255, 255, 255, rnd.choice((160, 220))))
    return c.result()


def sample():
    size = 192
    c = Canvas(size, size)
    c.vgradient(0, 0, size, size, (16, 92, 48), (6, 62, 30))
    c.frame(6, 6, size - 6, size - 6, 1, (90, 160, 110))
    c.text(size / 2, size / 2, "Image Preview", SANS_BOLD, 20, (255, 255, 255), anchor="mm")
    return c.result()


# ---- icon ----------------------------------------------------------------------------------

ICON_EDGE = (100, 8, 18)


def _icon_grid(n):
    """Margin, gutter and square of the icon's two-by-two grid at n x n, in whole pixels so that
    the squares' edges stay sharp: at 32 x 32 a margin of 3, a gutter of 2 and squares of 12."""
    margin = max(2, round(3 * n / 32))
    gutter = max(2, round(n / 16))
    if (n - 2 * margin - gutter) % 2:
        gutter += 1
    return margin, gutter, (n - 2 * margin - gutter) // 2


def icon(n):
    """The puzzle in miniature at n x n (RGBA): a two-by-two grid in a red frame with rounded
    corners, three picture squares and an empty one. Below 24 x 24 the moon is a full disc and
    the tree has no star, so that the small icons stay clear; from 48 x 48 on the squares get a
    little more detail (stars in the sky, a trunk, the present's second ribbon)."""
    c = Canvas(n, n, ICON_EDGE)
    edge = max(1, round(n / 32))
    radius = 3 * n / 32
    c.rounded(edge, edge, n - edge, n - edge, radius - edge, fill=(170, 20, 32))
    margin, gutter, q = _icon_grid(n)
    c.rect(margin, margin, n - margin, n - margin, (70, 72, 78))
    near, far = margin, margin + q + gutter
    small, large = n < 24, n >= 48
    # Top left: night sky with a moon.
    c.rect(near, near, near + q, near + q, (30, 40, 110))
    c.circle(near + q / 2, near + q / 2, 0.3 * q, fill=(255, 240, 170))
    if not small:
        c.circle(near + 0.633 * q, near + 0.4 * q, 0.25 * q, fill=(30, 40, 110))
    if large:
        for u, v in ((0.15, 0.2), (0.82, 0.78), (0.3, 0.85)):
            c.circle(near + u * q, near + v * q, q / 40, fill=(255, 255, 230))
    # Top right: a green tree with a gold star.
    c.rect(far, near, far + q, near + q, (200, 224, 250))
    if large:
        c.rect(far + 0.44 * q, near + 0.8 * q, far + 0.56 * q, near + q, (100, 62, 36))
    c.polygon([(far + q / 2, near + q / 12), (far + q / 8, near + 11 * q / 12), (far + 7 * q / 8, near + 11 * q / 12)],
              fill=(20, 120, 50))
    if not small:
        c.circle(far + q / 2, near + q / 6, 0.11 * q, fill=(255, 200, 40))
    # Bottom left: a red present with a gold ribbon.
    c.rect(near, far, near + q, far + q, (236, 240, 250))
    c.rect(near + q / 8, far + 0.21 * q, near + 7 * q / 8, far + 0.92 * q, (210, 30, 44))
    c.rect(near + 0.42 * q, far + 0.21 * q, near + 0.58 * q, far + 0.92 * q, (255, 200, 40))
    if large:
        c.rect(near + q / 8, far + 0.5 * q, near + 7 * q / 8, far + 0.62 * q, (255, 200, 40))
    # Bottom right: the empty slot.
    c.rect(far, far, far + q, far + q, (150, 152, 158))
    shape = Canvas(n, n, (0, 0, 0))
    shape.rounded(0, 0, n, n, radius, fill=(255, 255, 255))
    image = c.result()
    image.putalpha(shape.result().convert("L"))
    return image

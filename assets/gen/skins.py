"""The two window faces. Each is exactly as large as its window (times the scale it is drawn
at) and carries every frame, label and decoration; the controls of the window lie on top of the
places drawn for them.
"""
import math
import random

from PIL import Image

from . import buttons
from .common import (Canvas, SANS, SANS_BOLD, SERIF_BOLD, FONT_DIR, holly_sprig, snowflake)

SANS_OBLIQUE = FONT_DIR + "DejaVuSans-Oblique.ttf"

RED = (190, 22, 36)
DEEP_RED = (120, 8, 20)
GOLD = (236, 196, 104)
FLAKE = (206, 222, 240)


# ---- where the game's controls lie (client coordinates, width and height) ------------------
GAME_SIZE = (644, 374)
GAME_BOARD = (50, 75, 198, 198)
GAME_PREVIEW = (516, 66, 88, 88)
GAME_TIME = (451, 71, 48, 18)
GAME_MOVES = (451, 101, 38, 18)
GAME_RESULT = (429, 132, 71, 15)
GAME_MINIMIZE = (585, 4, 18, 19)
GAME_HELP = (603, 4, 18, 19)
GAME_CLOSE = (620, 4, 19, 19)
GAME_NEWGAME = (315, 257, 93, 28)
GAME_LOADBMP = (413, 257, 94, 28)
GAME_CANCEL = (512, 257, 95, 28)

RESIZER_SIZE = (544, 374)
RESIZER_TITLE_DRAG = (0, 0, 480, 25)
RESIZER_PREVIEW = (53, 78, 192, 192)
RESIZER_MINIMIZE = (500, 4, 18, 19)
RESIZER_CLOSE = (520, 4, 19, 19)
RESIZER_SHOW = (315, 257, 95, 28)
RESIZER_GRAB = (415, 257, 94, 28)


def _snow_field(c, seed, avoid):
    """Faint flakes of several sizes scattered over the white, away from the `avoid` boxes."""
    rnd = random.Random(seed)
    placed = []
    tries = 0
    while len(placed) < 46 and tries < 4000:
        tries += 1
        x, y = rnd.uniform(8, c.width - 8), rnd.uniform(32, c.height - 8)
        r = rnd.choice((3.5, 4.5, 5.5, 7.0, 9.0))
        if any(x0 - r - 3 < x < x0 + w + r + 3 and y0 - r - 3 < y < y0 + h + r + 3 for x0, y0, w, h in avoid):
            continue
        if any((x - px) ** 2 + (y - py) ** 2 < (r + pr + 10) ** 2 for px, py, pr in placed):
            continue
        placed.append((x, y, r))
        shade = rnd.choice((FLAKE, (216, 230, 244), (198, 214, 234)))
        snowflake(c, x, y, r, shade, width=0.55 if r < 6 else 0.7, angle=rnd.uniform(0, math.pi / 3))


def _glitter_frame(c, x0, y0, x1, y1, band, seed):
    """A red band of `band` pixels inside [x0, x1) x [y0, y1), edged in gold and sprinkled with sparkles."""
    # Soft shadow on the white below and to the right.
    for i, alpha in ((3, 22), (2, 34), (1, 46)):
        c.rounded(x0 + i, y0 + i, x1 + i, y1 + i, 3, fill=(60, 30, 30, alpha))
    c.rounded(x0, y0, x1, y1, 3, fill=DEEP_RED)
    c.rounded(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 2, fill=RED)
    # Lighter upper half of the band for a little depth.
    c.frame(x0 + 2, y0 + 2, x1 - 2, y1 - 2, max(1, band // 2 - 2), (212, 40, 52))
    c.frame(x0 + band - 2, y0 + band - 2, x1 - band + 2, y1 - band + 2, 1, GOLD)
    c.frame(x0 + band - 1, y0 + band - 1, x1 - band + 1, y1 - band + 1, 1, DEEP_RED)
    rnd = random.Random(seed)
    perimeter = 2 * ((x1 - x0) + (y1 - y0))
    for _ in range(perimeter // 5):
        side = rnd.random() * perimeter
        depth = rnd.uniform(2.2, band - 3.2)
        if side < x1 - x0:
            x, y = x0 + side, y0 + depth
        elif side < 2 * (x1 - x0):
            x, y = x0 + side - (x1 - x0), y1 - depth
        elif side < 2 * (x1 - x0) + (y1 - y0):
            x, y = x0 + depth, y0 + side - 2 * (x1 - x0)
        else:
            x, y = x1 - depth, y0 + side - 2 * (x1 - x0) - (y1 - y0)
        colour = rnd.choice(((255, 226, 140), (255, 255, 255), (255, 190, 170), (250, 210, 110)))
        r = rnd.choice((0.45, 0.55, 0.7, 0.9))
        c.circle(x, y, r, fill=colour + (rnd.choice((170, 210, 255)),))
        if r >= 0.9:  # the biggest sparkles get a small four-pointed glint
            c.line([(x - 2.2, y), (x + 2.2, y)], (255, 250, 220, 150), 0.35)
            c.line([(x, y - 2.2), (x, y + 2.2)], (255, 250, 220, 150), 0.35)


def _title_strip(c, width, top, bottom, name, symbol):
    c.vgradient(0, 0, width, 24, top, bottom)
    c.rect(0, 0, width, 1, tuple(min(255, v + 40) for v in top))
    c.rect(0, 24, width, 25, DEEP_RED)
    symbol(c, 6, 5)
    c.text(28.6, 13.1, name, SERIF_BOLD, 14, (70, 0, 8, 150), anchor="lm")
    c.text(28, 12.5, name, SERIF_BOLD, 14, (255, 255, 255), anchor="lm")


def _grid_symbol(c, x, y):
    """The puzzle in miniature: a white two-by-two grid with one square left empty."""
    c.rect(x, y, x + 15, y + 15, (255, 236, 200))
    squares = ((1, 1, (60, 120, 200)), (8, 1, (40, 150, 70)), (1, 8, (240, 190, 60)), (8, 8, (150, 150, 150)))
    for i, (dx, dy, fill) in enumerate(squares):
        c.rect(x + dx, y + dy, x + dx + 6, y + dy + 6, fill)


def _window_symbol(c, x, y):
    """A small window: a white frame with a green title line and a picture inside."""
    c.rect(x, y + 1, x + 16, y + 14, (255, 255, 255))
    c.rect(x + 1, y + 2, x + 15, y + 5, (20, 110, 52))
    c.rect(x + 2, y + 6, x + 14, y + 13, (120, 180, 230))
    c.polygon([(x + 2, y + 13), (x + 6.5, y + 8), (x + 10, y + 11), (x + 12, y + 9.5), (x + 14, y + 13)],
              fill=(30, 120, 60))


def _light_box(c, x, y, w, h):
    """The sunken light grey box that a text field sits in (the field paints the same grey)."""
    c.rect(x - 1, y - 1, x + w + 1, y + h + 1, (248, 214, 214))
    c.rect(x - 1, y - 1, x + w, y + h, (92, 6, 16))
    c.rect(x, y, x + w, y + h, (192, 192, 192))


def _paste_button(c, image, x, y):
    w, h = image.width // c.scale, image.height // c.scale
    c.rect(x + 1, y + 1, x + w + 1, y + h + 1, (60, 20, 20, 60))
    c.paste(image, x, y)


def _string_of_lights(c, x0, x1, y, sag, seed):
    rnd = random.Random(seed)
    n = 40
    points = [(x0 + (x1 - x0) * i / n, y + sag * math.sin(math.pi * ((i / n) * 3 % 1))) for i in range(n + 1)]
    c.line(points, (40, 70, 40), 0.9)
    colours = ((214, 30, 44), (246, 194, 50), (30, 140, 70), (60, 120, 220))
    count = 15
    for i in range(count):
        t = (i + 0.5) / count
        px = x0 + (x1 - x0) * t
        py = y + sag * math.sin(math.pi * ((t * 3) % 1))
        colour = colours[i % 4]
        c.rect(px - 1.2, py, px + 1.2, py + 2, (70, 80, 70))
        c.ellipse(px, py + 5, 2.6 + rnd.uniform(-0.1, 0.1), 3.6, fill=colour)
        c.ellipse(px - 0.8, py + 3.8, 0.8, 1.3, fill=(255, 255, 255, 170))


def _fitted(image, scale, width, height):
    """A button's bitmap fitted to its control, as the window shows it."""
    size = (width * scale, height * scale)
    return image.resize(size, Image.LANCZOS) if image.size != size else image


def game_skin(scale=1):
    w, h = GAME_SIZE
    c = Canvas(w, h, scale=scale)
    c.vgradient(0, 25, w, h, (255, 255, 255), (240, 246, 252))
    _snow_field(c, 2024, avoid=[(30, 55, 240, 240), (352, 54, 264, 112), (305, 250, 310, 40),
                                (24, 296, 320, 48)])

    _title_strip(c, w, (204, 30, 42), (150, 12, 24), "Snowquill", _grid_symbol)

    # Board: grey panel in a glittering red frame; each slot is a slightly raised cell, so that
    # the empty slot shows as an empty grey square and the 2-pixel gaps as fine grooves.
    bx, by, bw, bh = GAME_BOARD
    _glitter_frame(c, bx - 16, by - 16, bx + bw + 16, by + bh + 16, 11, seed=11)
    c.rect(bx - 5, by - 5, bx + bw + 5, by + bh + 5, (104, 108, 114))
    c.rect(bx - 5, by - 5, bx + bw + 5, by - 4, (70, 72, 78))
    c.rect(bx - 5, by - 5, bx - 4, by + bh + 5, (70, 72, 78))
    for row in range(4):
        for col in range(4):
            x, y = bx + 50 * col, by + 50 * row
            c.rect(x, y, x + 48, y + 48, (152, 156, 162))
            c.rect(x, y, x + 48, y + 1, (178, 182, 188))
            c.rect(x, y, x + 1, y + 48, (178, 182, 188))
            c.rect(x, y + 47, x + 48, y + 48, (128, 132, 138))
            c.rect(x + 47, y, x + 48, y + 48, (128, 132, 138))

    # Counters: a red panel with the labels beside three light boxes.
    c.rounded(352 + 2, 59 + 2, 506 + 2, 161 + 2, 4, fill=(60, 30, 30, 40))
    c.rounded(352, 59, 506, 161, 4, fill=DEEP_RED)
    c.rounded(353, 60, 505, 160, 3, fill=RED)
    c.rounded(356, 63, 503, 157, 2, outline=GOLD, width=1)
    label = (255, 255, 255)
    for (x, y, fw, fh), text, right in ((GAME_TIME, "Time", 444), (GAME_MOVES, "Moves", 444),
                                        (GAME_RESULT, "Result", 422)):
        _light_box(c, x, y, fw, fh)
        c.text(right + 0.5, y + fh / 2 + 0.5, text, SANS_BOLD, 12, (80, 0, 10, 140), anchor="rm")
        c.text(right, y + fh / 2, text, SANS_BOLD, 12, label, anchor="rm")

    # Preview: a grey square in a red frame at the far right.
    px, py, pw, ph = GAME_PREVIEW
    _glitter_frame(c, px - 7, py - 7, px + pw + 7, py + ph + 7, 6, seed=12)
    c.rect(px - 1, py - 1, px + pw + 1, py + ph + 1, (70, 72, 78))
    c.rect(px, py, px + pw, py + ph, (160, 164, 170))
    c.text(px + pw / 2, py + ph + 18, "the whole picture", SANS_OBLIQUE, 10, (120, 30, 40), anchor="mm")

    # Holly at the top of the middle column and in the lower right corner.
    holly_sprig(c, 312, 92, scale=1.35, angle=-0.3)
    holly_sprig(c, 604, 334, scale=1.45, angle=0.5)

    # A short reminder of how to play, above the buttons.
    c.text(462, 198, "Slide the tiles until the picture is whole.", SANS_OBLIQUE, 11, (24, 92, 48), anchor="mm")
    c.text(462, 216, "Press  ?  for help.", SANS_OBLIQUE, 11, (24, 92, 48), anchor="mm")

    # The real buttons' bitmaps, fitted to their controls as the window will show them.
    captioned = ((GAME_NEWGAME, "New Game", 93), (GAME_LOADBMP, "Load .Bmp", 94), (GAME_CANCEL, "Cancel", 94))
    for (x, y, cw, ch), caption, bitmap_width in captioned:
        image = buttons.caption_button(bitmap_width, 28, caption, False, scale)
        _paste_button(c, _fitted(image, scale, cw, ch), x, y)
    symbols = ((GAME_MINIMIZE, "minimize", 18), (GAME_HELP, "help", 19), (GAME_CLOSE, "close", 19))
    for (x, y, cw, ch), kind, bitmap_width in symbols:
        image = buttons.symbol_button(bitmap_width, 19, kind, False, scale)
        c.paste(_fitted(image, scale, cw, ch), x, y)

    # Greeting in red capitals, lower left, and a string of lights along the foot.
    c.text(41.2, 322.2, "SEASON'S GREETINGS", SERIF_BOLD, 24, (110, 0, 12, 90), anchor="lm")
    c.text(40, 321, "SEASON'S GREETINGS", SERIF_BOLD, 24, (200, 20, 36), anchor="lm")
    c.text(42, 346, "from everyone at Fernwick Hollow", SANS_OBLIQUE, 11, (150, 40, 50), anchor="lm")
    _string_of_lights(c, 376, 566, 300, 7, seed=5)

    # A thin dark red edge round the borderless window.
    c.frame(0, 0, w, h, 1, DEEP_RED)
    return c.result()


def _wrap(c, text, path, size, width):
    lines, line = [], ""
    for word in text.split():
        trial = (line + " " + word).strip()
        if c.text_width(trial, path, size) <= width or not line:
            line = trial
        else:
            lines.append(line)
            line = word
    if line:
        lines.append(line)
    return lines


def resizer_skin(scale=1):
    w, h = RESIZER_SIZE
    c = Canvas(w, h, scale=scale)
    c.vgradient(0, 25, w, h, (255, 255, 255), (240, 246, 252))
    _snow_field(c, 1225, avoid=[(30, 30, 240, 270), (272, 34, 262, 210), (305, 250, 210, 80),
                                (20, 296, 250, 60)])
    _title_strip(c, w, (150, 16, 28), (104, 6, 16), "Pixelhem", _window_symbol)

    px, py, pw, ph = RESIZER_PREVIEW
    c.text(px + pw / 2, py - 26, "Preview  192 x 192", SANS_BOLD, 11, (150, 20, 34), anchor="mm")
    _glitter_frame(c, px - 12, py - 12, px + pw + 12, py + ph + 12, 10, seed=21)
    c.rect(px - 2, py - 2, px + pw + 2, py + ph + 2, (70, 72, 78))
    c.rect(px, py, px + pw, py + ph, (160, 164, 170))

    # Instructions on the right.
    x0, right = 284, 528
    c.text(x0, 52, "How to make a picture", SERIF_BOLD, 14, (180, 18, 32), anchor="lm")
    c.rect(x0, 62, right, 63, GOLD)
    steps = [
        "Select the desired .bmp picture file with Get Preview.",
        "If the viewed image is satisfactory, click the Save Bmp button.",
        "All images are saved inside this program's folder and numbered in sequence for the "
        "current run, for example Snowquill_Image01.bmp, Snowquill_Image02.bmp ...",
    ]
    y = 80
    size = 11.5
    for number, step in enumerate(steps, 1):
        c.circle(x0 + 7, y + 1, 7, fill=(24, 110, 52))
        c.text(x0 + 7, y + 1.5, str(number), SANS_BOLD, 10, (255, 255, 255), anchor="mm")
        for line in _wrap(c, step, SANS, size, right - x0 - 22):
            c.text(x0 + 22, y + 1, line, SANS, size, (40, 40, 48), anchor="lm")
            y += 16
        y += 10
    c.text(404, 304, "Then load them in Snowquill", SANS_OBLIQUE, 11, (24, 92, 48), anchor="mm")
    c.text(404, 319, "with its Load .Bmp button.", SANS_OBLIQUE, 11, (24, 92, 48), anchor="mm")

    for (x, y_, bw_, bh_), caption in ((RESIZER_SHOW, "Get Preview"), (RESIZER_GRAB, "Save .Bmp")):
        _paste_button(c, buttons.caption_button(bw_, bh_, caption, False, scale), x, y_)
    for (x, y_, bw_, bh_), kind in ((RESIZER_MINIMIZE, "minimize"), (RESIZER_CLOSE, "close")):
        c.paste(buttons.symbol_button(bw_, bh_, kind, False, scale), x, y_)

    holly_sprig(c, 512, 346, scale=1.25, angle=0.4)
    c.text(40, 320, "Pictures for Snowquill", SERIF_BOLD, 16, (200, 20, 36), anchor="lm")
    c.text(41, 342, "any .bmp in, 192 x 192 out", SANS_OBLIQUE, 11, (150, 40, 50), anchor="lm")
    c.frame(0, 0, w, h, 1, DEEP_RED)
    return c.result()

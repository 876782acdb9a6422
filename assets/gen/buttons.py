"""The bitmap buttons of both windows: dark green faces in a dark red rim, white captions.

Each button is drawn twice from the same description: raised (light edge top and left) and
pushed in (the bevel reversed, the face a shade darker, the caption or symbol one pixel
further down and to the right). Each is drawn at the scale asked for (1 for the 1x bitmaps).
"""
from .common import Canvas, SANS_BOLD, SANS_CONDENSED_BOLD

RIM = (112, 8, 18)
FACE_TOP = (22, 122, 58)
FACE_BOTTOM = (6, 78, 34)
PRESSED_TOP = (4, 66, 28)
PRESSED_BOTTOM = (14, 98, 46)
LIGHT = (150, 214, 160)
SOFT_LIGHT = (70, 160, 96)
DARK = (0, 40, 16)
SOFT_DARK = (2, 58, 24)
WHITE = (255, 255, 255)


def _body(c, w, h, pressed):
    c.rect(0, 0, w, h, RIM)
    if pressed:
        c.vgradient(1, 1, w - 1, h - 1, PRESSED_TOP, PRESSED_BOTTOM)
        hi, lo, soft_hi, soft_lo = DARK, LIGHT, SOFT_DARK, SOFT_LIGHT
    else:
        c.vgradient(1, 1, w - 1, h - 1, FACE_TOP, FACE_BOTTOM)
        hi, lo, soft_hi, soft_lo = LIGHT, DARK, SOFT_LIGHT, SOFT_DARK
    # Outer bevel line, then a softer one inside it on the larger buttons.
    c.rect(1, 1, w - 1, 2, hi)
    c.rect(1, 1, 2, h - 1, hi)
    c.rect(1, h - 2, w - 1, h - 1, lo)
    c.rect(w - 2, 1, w - 1, h - 1, lo)
    if h > 20:
        c.rect(2, 2, w - 2, 3, soft_hi)
        c.rect(2, 2, 3, h - 2, soft_hi)
        c.rect(2, h - 3, w - 2, h - 2, soft_lo)
        c.rect(w - 3, 2, w - 2, h - 2, soft_lo)


def caption_button(w, h, caption, pressed, scale=1):
    c = Canvas(w, h, scale=scale)
    _body(c, w, h, pressed)
    shift = 1 if pressed else 0
    size = 12.5
    path = SANS_BOLD
    if c.text_width(caption, path, size) > w - 12:
        path = SANS_CONDENSED_BOLD
    cx, cy = w / 2 + shift, h / 2 + shift + 0.5
    c.text(cx + 0.6, cy + 0.6, caption, path, size, (0, 30, 10, 170), anchor="mm")
    c.text(cx, cy, caption, path, size, WHITE, anchor="mm")
    return c.result()


def _glyph_minimize(c, w, h, d):
    c.rect(5 + d, 12 + d, w - 5 + d, 14 + d, WHITE)


def _glyph_close(c, w, h, d):
    m = 5.5
    c.line([(m + d, m + d), (w - m + d, h - m + d)], WHITE, 2.0)
    c.line([(w - m + d, m + d), (m + d, h - m + d)], WHITE, 2.0)


def _glyph_help(c, w, h, d):
    c.text(w / 2 + d, h / 2 + d + 0.5, "?", SANS_BOLD, 13, WHITE, anchor="mm")


GLYPHS = {"minimize": _glyph_minimize, "close": _glyph_close, "help": _glyph_help}


def symbol_button(w, h, kind, pressed, scale=1):
    c = Canvas(w, h, scale=scale)
    _body(c, w, h, pressed)
    GLYPHS[kind](c, w, h, 1 if pressed else 0)
    return c.result()

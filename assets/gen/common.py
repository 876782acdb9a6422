"""File writers and drawing helpers shared by the artwork, icon and picture generators.

Everything is drawn on a canvas larger than the result and reduced with a box filter at the
end, which gives clean antialiased edges; coordinates are always given in pixels of the 1x
image, whatever the scale the canvas draws at. Files are written byte by byte with struct (the
PNG files by Pillow), so that every header field is exactly what the programs and the tests
expect.
"""
import io
import math
import struct

import numpy
from PIL import Image, ImageDraw, ImageFont

SS = 4  # supersampling factor of a 1x or 2x canvas
SS_LARGE = 3  # and of the larger ones, which would otherwise take too long to draw

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
SANS = FONT_DIR + "DejaVuSans.ttf"
SANS_BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"
SANS_CONDENSED_BOLD = FONT_DIR + "DejaVuSansCondensed-Bold.ttf"
SERIF_BOLD = FONT_DIR + "DejaVuSerif-Bold.ttf"

_fonts = {}


def font(path, pixels):
    """The font `pixels` canvas pixels high."""
    key = (path, pixels)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(path, pixels)
    return _fonts[key]


class Canvas:
    """A supersampled RGB drawing surface whose methods take 1x coordinates.

    `scale` (1, 2 or 3) is how many pixels of the result a 1x pixel becomes: the drawing is made
    at that size, so a 2x result has edges and text as sharp as the 1x one, not an enlargement.
    """

    def __init__(self, width, height, background=(255, 255, 255), scale=1):
        self.width = width
        self.height = height
        self.scale = scale
        self.ss = SS if scale < 3 else SS_LARGE
        self.k = scale * self.ss  # canvas pixels a 1x pixel
        self.image = Image.new("RGB", (width * self.k, height * self.k), background)
        self.draw = ImageDraw.Draw(self.image, "RGBA")

    def box(self, x0, y0, x1, y1):
        """Pixel rectangle [x0, x1) x [y0, y1) in the coordinates PIL expects."""
        k = self.k
        return (x0 * k, y0 * k, x1 * k - 1, y1 * k - 1)

    def rect(self, x0, y0, x1, y1, fill):
        self.draw.rectangle(self.box(x0, y0, x1, y1), fill=fill)

    def rounded(self, x0, y0, x1, y1, radius, fill=None, outline=None, width=1):
        self.draw.rounded_rectangle(self.box(x0, y0, x1, y1), radius=radius * self.k, fill=fill,
                                    outline=outline, width=round(width * self.k))

    def frame(self, x0, y0, x1, y1, thickness, fill):
        """A hollow rectangle of `thickness` pixels lying inside [x0, x1) x [y0, y1)."""
        self.rect(x0, y0, x1, y0 + thickness, fill)
        self.rect(x0, y1 - thickness, x1, y1, fill)
        self.rect(x0, y0, x0 + thickness, y1, fill)
        self.rect(x1 - thickness, y0, x1, y1, fill)

    def ellipse(self, cx, cy, rx, ry, fill=None, outline=None, width=1):
        k = self.k
        self.draw.ellipse(((cx - rx) * k, (cy - ry) * k, (cx + rx) * k, (cy + ry) * k),
                          fill=fill, outline=outline, width=round(width * k))

    def circle(self, cx, cy, r, fill=None, outline=None, width=1):
        self.ellipse(cx, cy, r, r, fill, outline, width)

    def polygon(self, points, fill=None, outline=None):
        self.draw.polygon([(x * self.k, y * self.k) for x, y in points], fill=fill, outline=outline)

    def line(self, points, fill, width=1.0):
        self.draw.line([(x * self.k, y * self.k) for x, y in points], fill=fill,
                       width=max(1, round(width * self.k)), joint="curve")

    def text(self, x, y, text, font_path, size, fill, anchor="la", stroke=0, stroke_fill=None):
        self.draw.text((x * self.k, y * self.k), text, font=font(font_path, round(size * self.k)), fill=fill,
                       anchor=anchor, stroke_width=round(stroke * self.k), stroke_fill=stroke_fill)

    def text_width(self, text, font_path, size):
        """The width in 1x pixels, measured at 1x so that what depends on it is alike at every scale."""
        left, _, right, _ = self.draw.textbbox((0, 0), text, font=font(font_path, round(size * SS)))
        return (right - left) / SS

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        """Fills [x0, x1) x [y0, y1) with a vertical blend from `top` to `bottom`."""
        k = self.k
        h = (y1 - y0) * k
        strip = Image.new("RGB", (1, h))
        for i in range(h):
            t = i / max(1, h - 1)
            strip.putpixel((0, i), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
        self.image.paste(strip.resize(((x1 - x0) * k, h), Image.NEAREST), (x0 * k, y0 * k))

    def paste(self, image, x, y):
        """Pastes an image of the result's scale (for example a finished button) at 1x pixel (x, y)."""
        ss = self.ss
        self.image.paste(image.resize((image.width * ss, image.height * ss), Image.NEAREST), (x * self.k, y * self.k))

    def result(self):
        return self.image.resize((self.width * self.scale, self.height * self.scale), Image.BOX)


def rotate(points, angle, cx, cy):
    c, s = math.cos(angle), math.sin(angle)
    return [(cx + x * c - y * s, cy + x * s + y * c) for x, y in points]


def snowflake(canvas, cx, cy, r, colour, width=0.6, angle=0.0):
    """A six-armed flake with two pairs of side branches on each arm."""
    for k in range(6):
        a = angle + k * math.pi / 3
        ex, ey = cx + r * math.cos(a), cy + r * math.sin(a)
        canvas.line([(cx, cy), (ex, ey)], colour, width)
        for f, blen in ((0.45, 0.32), (0.72, 0.22)):
            bx, by = cx + f * r * math.cos(a), cy + f * r * math.sin(a)
            for side in (-1, 1):
                b = a + side * math.pi / 4
                canvas.line([(bx, by), (bx + blen * r * math.cos(b), by + blen * r * math.sin(b))], colour,
                            width * 0.85)


def holly_leaf(canvas, x, y, length, width, angle, fill, vein):
    """A spiky holly leaf from its stalk point (x, y) along `angle`."""
    spikes = 4
    upper, lower = [], []
    steps = spikes * 2
    for i in range(steps + 1):
        t = i / steps
        half = width / 2 * math.sin(math.pi * t) ** 0.75
        half *= 1.18 if i % 2 == 1 else 0.78
        if i in (0, steps):
            half = 0
        upper.append((t * length, -half))
        lower.append((t * length, half))
    outline = upper + lower[::-1]
    canvas.polygon(rotate(outline, angle, x, y), fill=fill)
    canvas.line(rotate([(0, 0), (length * 0.92, 0)], angle, x, y), vein, max(0.5, width / 14))


def berry(canvas, x, y, r):
    canvas.circle(x + r * 0.15, y + r * 0.2, r, fill=(90, 0, 10, 120))
    canvas.circle(x, y, r, fill=(196, 16, 32))
    canvas.circle(x + r * 0.12, y + r * 0.12, r * 0.72, fill=(214, 30, 44))
    canvas.circle(x - r * 0.35, y - r * 0.35, r * 0.28, fill=(255, 220, 220, 220))


def holly_sprig(canvas, x, y, scale=1.0, angle=0.0):
    """Three leaves fanning out from (x, y) with a cluster of three berries on top."""
    dark, mid, vein = (18, 92, 40), (30, 118, 52), (120, 180, 110)
    for da, ln, fill in ((-0.75, 1.0, dark), (0.75, 0.95, mid), (math.pi, 0.85, dark)):
        holly_leaf(canvas, x, y, 26 * scale * ln, 11 * scale, angle + da, fill, vein)
    for bx, by in ((-3.2, -1.5), (3.0, -2.2), (0.0, 2.8)):
        berry(canvas, x + bx * scale, y + by * scale, 3.3 * scale)


# ---- files -------------------------------------------------------------------------------

def bmp24_bytes(image, resolution=0):
    """A complete uncompressed 24-bit bottom-up BMP file of `image` (RGB)."""
    width, height = image.size
    row = width * 3
    pad = (4 - row % 4) % 4
    stride = row + pad
    size_image = stride * height
    header = struct.pack("<2sIHHI", b"BM", 54 + size_image, 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, size_image, resolution, resolution, 0, 0)
    raw = image.convert("RGB").tobytes()
    rows = []
    for y in range(height - 1, -1, -1):
        line = raw[y * row:(y + 1) * row]
        bgr = bytearray(row)
        bgr[0::3] = line[2::3]
        bgr[1::3] = line[1::3]
        bgr[2::3] = line[0::3]
        rows.append(bytes(bgr) + b"\0" * pad)
    return header + info + b"".join(rows)


def ico_bytes(images):
    """An .ico file of the RGBA `images`, each stored as the icon format wants it: a
    BITMAPINFOHEADER of double height, 32-bit blue-green-red-alpha rows bottom-up, and an AND mask
    (rows of whole 32-bit words) that marks the wholly clear pixels for programs that ignore alpha.
    """
    entries, bodies = [], []
    offset = 6 + 16 * len(images)
    for image in images:
        width, height = image.size
        info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        rgba = numpy.asarray(image.convert("RGBA"))[::-1]
        colours = rgba[..., [2, 1, 0, 3]].tobytes()
        clear = numpy.zeros((height, (width + 31) // 32 * 32), bool)
        clear[:, :width] = rgba[..., 3] == 0
        body = info + colours + numpy.packbits(clear, axis=1).tobytes()
        entries.append(struct.pack("<BBBBHHII", width, height, 0, 0, 1, 32, len(body), offset))
        bodies.append(body)
        offset += len(body)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(bodies)


def png_bytes(image):
    """A 24-bit RGB PNG file of `image` at Pillow's strongest compression, holding nothing but
    the pixels (no time, no text), so that the bytes are the same on every run."""
    out = io.BytesIO()
    image.convert("RGB").save(out, "PNG", compress_level=9)
    return out.getvalue()


def wav_bytes(samples, rate, bits):
    """A RIFF WAVE file of mono PCM. `samples` are integers already in the sample format."""
    if bits == 16:
        data = struct.pack("<%dh" % len(samples), *samples)
    else:
        data = bytes(samples)
    block = bits // 8
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * block, block, bits)
    pad = b"\0" if len(data) % 2 else b""
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data + pad
    return b"RIFF" + struct.pack("<I", len(body)) + body

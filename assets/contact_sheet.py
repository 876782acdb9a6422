#!/usr/bin/python3
"""One PNG for reviewing the artwork at a glance.

    /usr/bin/python3 assets/contact_sheet.py [OUT.png]     (default: build/contact-sheet.png)

Shows both skins' 200 % renderings with every control rectangle outlined, each skin as the
window will look with its controls painted on top (tiles cut from the default picture, the
text fields in their grey), a corner of each skin at 1x, 200 % and 300 % enlarged to one size
side by side, every button bitmap at rest and pressed at 1x, 200 % and 300 %, the two built-in
pictures with the 4 x 4 piece grid, and the icon in each of its sizes. Reads the committed files
only.
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

from gen import skins  # found beside this script

HERE = os.path.dirname(os.path.abspath(__file__))

FONT = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 13)
OUTLINE = (0, 200, 255)


def load(relative):
    return Image.open(os.path.join(HERE, relative)).convert("RGB")


def outlined(big, rects, scale=2):
    """A skin rendering `scale` times the 1x size with the 1x rectangles `rects` outlined."""
    big = big.copy()
    d = ImageDraw.Draw(big)
    for x, y, w, h in rects:
        d.rectangle((x * scale, y * scale, (x + w) * scale - 1, (y + h) * scale - 1), outline=OUTLINE)
    return big


def game_window():
    """The game window as it first appears: skin, tiles in solved order, preview, fields."""
    window = load("game/skin.bmp")
    picture = load("game/fernwick.bmp")
    for n in range(15):
        col, row = n % 4, n // 4
        piece = picture.crop((48 * col, 48 * row, 48 * col + 48, 48 * row + 48))
        window.paste(piece, (50 + 50 * col, 75 + 50 * row))
    window.paste(picture.resize((88, 88), Image.LANCZOS), (516, 66))
    d = ImageDraw.Draw(window)
    for (x, y, w, h), text in ((skins.GAME_TIME, "0:00"), (skins.GAME_MOVES, "0"), (skins.GAME_RESULT, "Solved")):
        d.rectangle((x, y, x + w - 1, y + h - 1), fill=(192, 192, 192))
        d.text((x + 1, y + 1), text, fill=(0, 0, 0), font=FONT)
    return window


def resizer_window():
    window = load("resizer/skin.bmp")
    window.paste(load("resizer/sample.bmp"), (53, 78))
    return window


def scales_side_by_side(folder, box, zoom):
    """The part `box` (1x coordinates) of a skin at 1x, 200 % and 300 %, each enlarged to `zoom` times 1x."""
    x0, y0, x1, y1 = box
    size = ((x1 - x0) * zoom, (y1 - y0) * zoom)
    strip = Image.new("RGB", (3 * size[0] + 20, size[1]), (236, 236, 236))
    for i, (name, scale) in enumerate((("skin.bmp", 1), ("skin_200.png", 2), ("skin_300.png", 3))):
        part = load(folder + "/" + name).crop((x0 * scale, y0 * scale, x1 * scale, y1 * scale))
        strip.paste(part.resize(size, Image.NEAREST), (i * (size[0] + 10), 0))
    return strip


def main(argv):
    out = argv[1] if len(argv) > 1 else os.path.join(HERE, "..", "build", "contact-sheet.png")
    game_rects = [skins.GAME_BOARD, skins.GAME_PREVIEW, skins.GAME_TIME, skins.GAME_MOVES, skins.GAME_RESULT,
                  skins.GAME_MINIMIZE, skins.GAME_HELP, skins.GAME_CLOSE, skins.GAME_NEWGAME,
                  skins.GAME_LOADBMP, skins.GAME_CANCEL, (0, 0, 644, 25)]
    game_rects += [(50 + 50 * c, 75 + 50 * r, 48, 48) for r in range(4) for c in range(4)]
    resizer_rects = [skins.RESIZER_PREVIEW, skins.RESIZER_MINIMIZE, skins.RESIZER_CLOSE, skins.RESIZER_SHOW,
                     skins.RESIZER_GRAB, skins.RESIZER_TITLE_DRAG]

    parts = []  # (caption, image)
    parts.append(("game skin at 200 % (PNG200 40), control rectangles outlined",
                  outlined(load("game/skin_200.png"), game_rects)))
    game_shown = game_window().resize((1288, 748), Image.NEAREST)
    parts.append(("the game window at 1x with its controls painted, x2", game_shown))
    parts.append(("game skin at 1x, 200 % and 300 %, each shown at 6 times 1x",
                  scales_side_by_side("game", (296, 50, 366, 110), 6)))
    parts.append(("resizer skin at 200 % (PNG200 40), control rectangles outlined",
                  outlined(load("resizer/skin_200.png"), resizer_rects)))
    resizer_shown = resizer_window().resize((1088, 748), Image.NEAREST)
    parts.append(("the resizer window at 1x with the sample in its preview, x2", resizer_shown))
    parts.append(("resizer skin at 1x, 200 % and 300 %, each shown at 6 times 1x",
                  scales_side_by_side("resizer", (280, 70, 350, 130), 6)))

    # Buttons and small pictures, laid out in one strip, cut to the height they take at the end.
    strip = Image.new("RGB", (1300, 2000), (236, 236, 236))
    d = ImageDraw.Draw(strip)
    x, y = 10, 10
    names = [("game", n) for n in ("minimize", "close", "help", "newgame", "loadbmp", "cancel")]
    names += [("resizer", n) for n in ("minimize", "close", "getpreview", "savebmp")]
    for folder, name in names:
        for suffix in ("", "_down"):
            base = "%s/%s%s" % (folder, name, suffix)
            images = [load(base + ".bmp"), load(base + "_200.png"), load(base + "_300.png")]
            label = "%s %dx%d, 200 %%, 300 %%" % (base, images[0].width, images[0].height)
            width = max(sum(image.width + 6 for image in images), d.textlength(label, font=FONT))
            if x + width + 10 > strip.width:
                x, y = 10, y + 110
            d.text((x, y), label, fill=(0, 0, 0), font=FONT)
            left = x
            for image in images:
                strip.paste(image, (left, y + 18))
                left += image.width + 6
            x += round(width) + 20
    y += 116
    x = 10
    for relative in ("game/fernwick.bmp", "resizer/sample.bmp"):
        image = load(relative)
        big = image.resize((384, 384), Image.NEAREST)
        g = ImageDraw.Draw(big)
        for k in (96, 192, 288):
            g.line((k, 0, k, 383), fill=OUTLINE)
            g.line((0, k, 383, k), fill=OUTLINE)
        d.text((x, y), relative + " x2, pieces outlined", fill=(0, 0, 0), font=FONT)
        strip.paste(big, (x, y + 18))
        x += 400
    d.text((x, y), "icon, every size on light and dark; 16 and 32 x4", fill=(0, 0, 0), font=FONT)
    icon = Image.open(os.path.join(HERE, "game/puzzle.ico"))
    left = x
    for n in sorted(size for size, _ in icon.info["sizes"]):
        icon.size = (n, n)
        image = icon.convert("RGBA")
        for shade, top in (((236, 236, 236), y + 18), ((40, 44, 60), y + 124)):
            strip.paste(Image.new("RGB", (n + 8, n + 8), shade), (left, top))
            strip.paste(image, (left + 4, top + 4), image)
        if n in (16, 32):
            big = image.resize((n * 4, n * 4), Image.NEAREST)
            strip.paste(big, (x + (0 if n == 16 else 80), y + 230), big)
        left += n + 10
    parts.append(("buttons at rest and pressed at 1x, 200 % and 300 %, built-in pictures, icon",
                  strip.crop((0, 0, strip.width, y + 420))))

    width = max(img.width for _, img in parts) + 20
    height = sum(img.height + 30 for _, img in parts) + 10
    sheet = Image.new("RGB", (width, height), (250, 250, 250))
    d = ImageDraw.Draw(sheet)
    y = 10
    for caption, image in parts:
        d.text((10, y), caption, fill=(0, 0, 0), font=FONT)
        sheet.paste(image, (10, y + 20))
        y += image.height + 30
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    sheet.save(out)
    print(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

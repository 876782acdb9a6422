#!/usr/bin/python3
"""One PNG for reviewing the artwork at a glance.

    /usr/bin/python3 assets/contact_sheet.py [OUT.png]     (default: build/contact-sheet.png)

Shows both skins at twice their size with every control rectangle outlined, each skin as the
window will look with its controls painted on top (tiles cut from the default picture, the
text fields in their grey), every button bitmap at rest and pressed at twice its size, the two
built-in pictures with the 4 x 4 piece grid, and the icon. Reads the committed files only.
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


def outlined(skin, rects, scale=2):
    big = skin.resize((skin.width * scale, skin.height * scale), Image.NEAREST)
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


def main(argv):
    out = argv[1] if len(argv) > 1 else os.path.join(HERE, "..", "build", "contact-sheet.png")
    game_rects = [skins.GAME_BOARD, skins.GAME_PREVIEW, skins.GAME_TIME, skins.GAME_MOVES, skins.GAME_RESULT,
                  skins.GAME_MINIMIZE, skins.GAME_HELP, skins.GAME_CLOSE, skins.GAME_NEWGAME,
                  skins.GAME_LOADBMP, skins.GAME_CANCEL, (0, 0, 644, 25)]
    game_rects += [(50 + 50 * c, 75 + 50 * r, 48, 48) for r in range(4) for c in range(4)]
    resizer_rects = [skins.RESIZER_PREVIEW, skins.RESIZER_MINIMIZE, skins.RESIZER_CLOSE, skins.RESIZER_SHOW,
                     skins.RESIZER_GRAB, skins.RESIZER_TITLE_DRAG]

    parts = []  # (caption, image)
    parts.append(("game skin (bitmap 40) x2, control rectangles outlined", outlined(load("game/skin.bmp"), game_rects)))
    parts.append(("the game window with its controls painted", game_window().resize((1288, 748), Image.NEAREST)))
    parts.append(("resizer skin (bitmap 40) x2, control rectangles outlined",
                  outlined(load("resizer/skin.bmp"), resizer_rects)))
    resizer_shown = resizer_window().resize((1088, 748), Image.NEAREST)
    parts.append(("the resizer window with the sample in its preview", resizer_shown))

    # Buttons and small pictures, laid out in one strip.
    strip = Image.new("RGB", (1300, 520), (236, 236, 236))
    d = ImageDraw.Draw(strip)
    x, y = 10, 10
    names = [("game", n) for n in ("minimize", "close", "help", "newgame", "loadbmp", "cancel")]
    names += [("resizer", n) for n in ("minimize", "close", "getpreview", "savebmp")]
    for folder, name in names:
        for suffix in ("", "_down"):
            image = load("%s/%s%s.bmp" % (folder, name, suffix))
            big = image.resize((image.width * 2, image.height * 2), Image.NEAREST)
            if x + max(big.width, 176) + 10 > strip.width:
                x, y = 10, y + 90
            d.text((x, y), "%s/%s%s %dx%d" % (folder, name, suffix, image.width, image.height), fill=(0, 0, 0),
                   font=FONT)
            strip.paste(big, (x, y + 18))
            x += max(big.width, 176) + 14
    y += 96
    x = 10
    for relative in ("game/fernwick.bmp", "resizer/sample.bmp"):
        image = load(relative)
        big = image.resize((384, 384), Image.NEAREST)
        g = ImageDraw.Draw(big)
        for k in (96, 192, 288):
            g.line((k, 0, k, 383), fill=OUTLINE)
            g.line((0, k, 383, k), fill=OUTLINE)
        if strip.height < y + 420:
            grown = Image.new("RGB", (strip.width, y + 420), (236, 236, 236))
            grown.paste(strip, (0, 0))
            strip = grown
            d = ImageDraw.Draw(strip)
        d.text((x, y), relative + " x2, pieces outlined", fill=(0, 0, 0), font=FONT)
        strip.paste(big, (x, y + 18))
        x += 400
    icon = Image.open(os.path.join(HERE, "game/puzzle.ico")).convert("RGB")
    d.text((x, y), "icon 32x32 x1 and x4", fill=(0, 0, 0), font=FONT)
    strip.paste(icon, (x, y + 18))
    strip.paste(icon.resize((128, 128), Image.NEAREST), (x + 40, y + 18))
    parts.append(("buttons at rest and pressed x2, built-in pictures, icon", strip))

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

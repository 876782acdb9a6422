#!/usr/bin/python3
"""Regenerates every bitmap, sound, icon and built-in picture of both programs.

Every skin and button bitmap comes three times: the 1x bitmap `name.bmp` (24-bit BMP) and the
same drawing made at twice and three times the size, `name_200.png` and `name_300.png` (24-bit
PNG), for screens set to 200 % and 300 %; the programs average these down for the scales in
between. The icon holds one image for each size Windows asks for from 100 % to 300 %.

    /usr/bin/python3 assets/generate.py            # writes into assets/game and assets/resizer
    /usr/bin/python3 assets/generate.py OUTDIR     # writes the same files under OUTDIR instead

The output is the same byte for byte on every run, so the files can be committed and the
build never needs this script.
"""
import os
import sys

from gen import buttons, pictures, skins, sounds  # found beside this script
from gen.common import bmp24_bytes, ico_bytes, png_bytes

SAMPLE_RESOLUTION = 3780  # pixels per metre (96 dots per inch) in the resizer's sample picture
SCALES = (2, 3)  # the larger renderings of each skin and button bitmap
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 96)  # the small icon at 100 % to 300 % is 16 to 48, the large 32 to 96

# (file name, width, height, caption or symbol) of every button bitmap; "_down" is the pressed one.
GAME_BUTTONS = (("minimize", 18, 19, "minimize"), ("close", 19, 19, "close"), ("help", 19, 19, "help"),
                ("newgame", 93, 28, "New Game"), ("loadbmp", 94, 28, "Load .Bmp"), ("cancel", 94, 28, "Cancel"))
RESIZER_BUTTONS = (("minimize", 18, 19, "minimize"), ("close", 19, 19, "close"),
                   ("getpreview", 95, 28, "Get Preview"), ("savebmp", 94, 28, "Save .Bmp"))


def renderings(name, draw):
    """The 1x bitmap of `name` and its larger renderings, as (file name, bytes); draw(scale) draws it."""
    out = [(name + ".bmp", bmp24_bytes(draw(1)))]
    out += [("%s_%d.png" % (name, 100 * scale), png_bytes(draw(scale))) for scale in SCALES]
    return out


def button_files(table):
    out = []
    for name, width, height, what in table:
        for pressed, suffix in ((False, ""), (True, "_down")):
            button = buttons.symbol_button if what in buttons.GLYPHS else buttons.caption_button
            out += renderings(name + suffix, lambda scale: button(width, height, what, pressed, scale))
    return out


def all_files():
    """Every generated file as (path relative to assets/, bytes)."""
    files = []
    game_sounds = sounds.files()
    files += [("game/" + n, b) for n, b in renderings("skin", skins.game_skin)]
    files += [("game/" + n, b) for n, b in button_files(GAME_BUTTONS)]
    files += [("game/" + n, b) for n, b in game_sounds]
    files.append(("game/puzzle.ico", ico_bytes([pictures.icon(n) for n in ICON_SIZES])))
    files.append(("game/fernwick.bmp", bmp24_bytes(pictures.fernwick(), resolution=0)))

    files += [("resizer/" + n, b) for n, b in renderings("skin", skins.resizer_skin)]
    files += [("resizer/" + n, b) for n, b in button_files(RESIZER_BUTTONS)]
    # The resizer's two sounds are the game's click and blip, byte for byte.
    sounds_by_name = dict(game_sounds)
    files.append(("resizer/click.wav", sounds_by_name["click.wav"]))
    files.append(("resizer/blip.wav", sounds_by_name["blip.wav"]))
    files.append(("resizer/sample.bmp", bmp24_bytes(pictures.sample(), resolution=SAMPLE_RESOLUTION)))
    return files


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for relative, data in all_files():
        path = os.path.join(root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

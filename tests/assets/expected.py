"""What the two programs must carry: every bitmap, sound and built-in picture, by resource id,
with the file under assets/ that it is made from.
"""

LANGUAGE = 0x1009  # English (Canada), for every resource of both programs

# id: (file, width, height)
GAME_BITMAPS = {
    40: ("game/skin.bmp", 644, 374),
    200: ("game/minimize.bmp", 18, 19), 250: ("game/minimize_down.bmp", 18, 19),
    350: ("game/close.bmp", 19, 19), 400: ("game/close_down.bmp", 19, 19),
    2700: ("game/help.bmp", 19, 19), 2800: ("game/help_down.bmp", 19, 19),
    2050: ("game/newgame.bmp", 93, 28), 2100: ("game/newgame_down.bmp", 93, 28),
    3000: ("game/loadbmp.bmp", 94, 28), 3300: ("game/loadbmp_down.bmp", 94, 28),
    3550: ("game/cancel.bmp", 94, 28), 3600: ("game/cancel_down.bmp", 94, 28),
}
GAME_PRESSED = {200: 250, 350: 400, 2700: 2800, 2050: 2100, 3000: 3300, 3550: 3600}

RESIZER_BITMAPS = {
    40: ("resizer/skin.bmp", 544, 374),
    200: ("resizer/minimize.bmp", 18, 19), 250: ("resizer/minimize_down.bmp", 18, 19),
    350: ("resizer/close.bmp", 19, 19), 400: ("resizer/close_down.bmp", 19, 19),
    700: ("resizer/getpreview.bmp", 95, 28), 750: ("resizer/getpreview_down.bmp", 95, 28),
    800: ("resizer/savebmp.bmp", 94, 28), 850: ("resizer/savebmp_down.bmp", 94, 28),
}
RESIZER_PRESSED = {200: 250, 350: 400, 700: 750, 800: 850}

# id: (file, bits per sample, samples per second, number of samples)
GAME_SOUNDS = {
    2150: ("game/click.wav", 16, 22050, 681),
    2200: ("game/blip.wav", 8, 8000, 2261),
    2250: ("game/slide.wav", 8, 22050, 3689),
    2350: ("game/solved.wav", 16, 22050, 97387),
    2500: ("game/lost.wav", 16, 22050, 85822),
    4300: ("game/refused.wav", 16, 22050, 12861),
    4400: ("game/busy.wav", 16, 22050, 57771),
    4500: ("game/sleighbells.wav", 16, 22050, 8003),
    4600: ("game/newgame.wav", 16, 22050, 72325),
}
RESIZER_SOUNDS = {
    900: ("resizer/click.wav", 16, 22050, 681),
    950: ("resizer/blip.wav", 8, 8000, 2261),
}
# The resizer's sounds are the game's, byte for byte.
SAME_SOUNDS = {900: 2150, 950: 2200}

ICON_FILE = "game/puzzle.ico"
ICON_GROUPS = {8: 2, 16: 1}  # group id: the one icon image it holds

DEFAULT_PICTURE = "game/fernwick.bmp"
SAMPLE_PICTURE = "resizer/sample.bmp"
PICTURE_RESOLUTION = {DEFAULT_PICTURE: 0, SAMPLE_PICTURE: 3780}

VERSION = {
    "file": (1, 0, 1, 4),
    "product": (1, 0, 1, 4),
    "strings": {
        "CompanyName": None,  # any non-empty maker's name
        "FileVersion": "[1014]",
        "FileDescription": "Snowquill",
        "InternalName": "snowquill",
        "LegalCopyright": "",
        "LegalTrademarks": "",
        "OriginalFilename": "snowquill.exe",
        "ProductName": "Snowquill",
        "ProductVersion": "Holiday Release",
    },
}

# Where the windows' controls lie (x, y, width, height in client coordinates): the skins must
# have their frames, boxes and buttons drawn under these rectangles.
GAME_CONTROLS = {
    "board": (50, 75, 198, 198),
    "preview": (516, 66, 88, 88),
    "time": (451, 71, 48, 18),
    "moves": (451, 101, 38, 18),
    "result": (429, 132, 71, 15),
    "newgame": (315, 257, 93, 28),
    "loadbmp": (413, 257, 94, 28),
    "cancel": (512, 257, 95, 28),
}
RESIZER_CONTROLS = {
    "title": (0, 0, 480, 25),
    "preview": (53, 78, 192, 192),
    "getpreview": (315, 257, 95, 28),
    "savebmp": (415, 257, 94, 28),
}

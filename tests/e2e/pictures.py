# pictures.py, run in the folder it fills: the pictures of the pictures test, each with the
# pixels it holds beside it as <name>.bmp, read by Pillow, turned upright as its EXIF
# orientation says and put over white: what the tests expect the programs to show of it. The
# JPEG files keep their colours at full resolution, as rocket.jpg does: decoders fill in the
# colours of a halved colour plane each their own way, tens of levels apart at sharp edges.
# One photo-like picture (gradients, crossing stripes) as a PNG with opaque, half transparent
# and fully transparent bands, a GIF, a TIFF and a JPEG for each EXIF orientation; the two
# real photos of photos/ and one of them enlarged to 3000 x 2000, which takes a moment to read;
# a JPEG cut short, a PNG whose pixels turn to zeros, and one-colour
# PNGs of 30000 x 30000 (about 100 KB) and 10240 x 10240 pixels (just over 100 megapixels),
# compressed a row at a time.
import os
import shutil
import struct
import zlib

from PIL import Image, ImageOps
from PIL.PngImagePlugin import putchunk


def write_pixels(name):
    picture = ImageOps.exif_transpose(Image.open(name)).convert("RGBA")
    white = Image.new("RGBA", picture.size, "white")
    Image.alpha_composite(white, picture).convert("RGB").save(name + ".bmp")


photo = Image.new("RGBA", (160, 120))
photo.putdata(
    [
        (x, y * 2, x ^ y, min(255, (x + y) // 94 * 128))
        for y in range(120)
        for x in range(160)
    ]
)
photo.save("alpha.png")
photo = photo.convert("RGB")
photo.save("photo.gif")
photo.save("photo.tif")
exif = Image.Exif()
for turn in range(1, 9):
    exif[0x0112] = turn
    photo.save(f"{turn}.jpg", exif=exif, subsampling=0)
for name in "rocket.jpg", "chelsea.png":
    shutil.copy(os.path.join(os.path.dirname(os.path.abspath(__file__)), "photos", name), name)
# The cat enlarged: unlike the rocket shown before it, so that it shows only once it is read.
Image.open("chelsea.png").resize((3000, 2000)).save("large.jpg", quality=90, subsampling=0)
for name in os.listdir():  # every picture so far: the readable ones
    write_pixels(name)
open("cut.jpg", "wb").write(open("1.jpg", "rb").read()[:1200])
open("bad.png", "wb").write(open("alpha.png", "rb").read()[:100] + bytes(1700))

for name, side in ("bomb.png", 30000), ("big.png", 10240):
    packer = zlib.compressobj()
    rows = b"".join(packer.compress(bytes(side // 8 + 1)) for _ in range(side)) + packer.flush()
    with open(name, "wb") as bomb:
        bomb.write(b"\x89PNG\r\n\x1a\n")
        putchunk(bomb, b"IHDR", struct.pack(">2I5B", side, side, 1, 0, 0, 0, 0))
        putchunk(bomb, b"IDAT", rows)
        putchunk(bomb, b"IEND", b"")

# The game's skin drawn for 200 %, for the test of the display's scale.
assets = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "game")
Image.open(os.path.join(assets, "skin_200.png")).convert("RGB").save("skin_200.png.bmp")

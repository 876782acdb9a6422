# Checks the resources of both programs against the .rc files and assets/, the assets themselves,
# the manifests, the help file and the release zip.
# Usage: check_build.py SOURCE_DIR GAME_EXE RESIZER_EXE ZIP VERSION
import filecmp
import os
import pathlib
import re
import struct
import subprocess
import sys
import tempfile
import wave
import zipfile

import numpy
import pefile
from PIL import Image

source, game_exe, resizer_exe, release_zip, version = sys.argv[1:]
assets = pathlib.Path(source, "assets")
failures = []
PLATFORM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "shell32.dll", "ole32.dll", "winmm.dll",
                 "msvcrt.dll"}
TYPES = {"BITMAP": 2, "ICON": 14, "VERSIONINFO": 16, "RT_MANIFEST": 24}  # WAVE, PNG200 and PNG300 go by name
# The sizes Windows asks an icon for at 100 % to 300 %: 16 to 48 for the small icon, 32 to 96 for the large.
ICON_SIZES = {16, 20, 24, 32, 40, 48, 64, 96}


def check(ok, what):
    if not ok:
        failures.append(what)


def read(*path):
    return pathlib.Path(*path).read_bytes()


# A .bmp file, which must be complete and uncompressed 24-bit.
def bitmap(name):
    image = Image.open(assets / name)
    check(image.mode == "RGB" and len(read(assets, name)) == 54 + (image.width * 3 + 3) // 4 * 4 * image.height,
          name + " is no whole 24-bit bitmap")
    return image


def pixels(image):
    return numpy.asarray(image.convert("RGB"), float)


generated = tempfile.TemporaryDirectory()
subprocess.run([sys.executable, assets / "generate.py", generated.name], check=True)
for folder, exe, rc, picture in (("game", game_exe, "snowquill.rc", "game/fernwick.bmp"),
                                 ("resizer", resizer_exe, "pixelhem.rc", "resizer/sample.bmp")):
    program = pefile.PE(exe)
    # Subsystem 2, not 3 (a console program).
    check(program.FILE_HEADER.Machine == 0x14C and program.OPTIONAL_HEADER.Subsystem == 2,
          exe + " is no 32-bit GUI program")
    found = {}  # every resource, {(type, id): bytes}; a named type is its name
    for kind in program.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in kind.directory.entries:
            entry = name.directory.entries[0].data.struct  # the one language
            found[kind.id or str(kind.name), name.id] = program.get_data(entry.OffsetToData, entry.Size)
    dlls = {entry.dll.decode().lower() for entry in program.DIRECTORY_ENTRY_IMPORT}
    check("kernel32.dll" in dlls and dlls <= PLATFORM_DLLS, exe + " imports %s" % dlls)
    header = read(source, folder, "resource.h").decode()
    ids = dict(re.findall(r"#define (\w+) (\d+)", header))
    pattern = r'^(\w+) +(BITMAP|ICON|VERSIONINFO|WAVE|RT_MANIFEST|PNG[23]00)(?: +"(.+)")?'
    lines = re.findall(pattern, read(source, folder, rc).decode(), re.M)
    named = {(name, kind): (TYPES.get(kind, kind), int(ids.get(name, 1))) for name, kind, _ in lines}
    check(set(named.values()) == {key for key in found if key[0] != 3}, exe + " differs from " + rc)
    # Each id has its own resource; the 200 % and 300 % drawings stand in for no 1x bitmap.
    check(set(re.findall(r"#define (ID[BWV]_\w+)", header)) <= {name for name, kind in named if kind[:3] != "PNG"},
          rc + " lacks a resource")
    # The manifest: run as the user who starts it, with Common Controls 6, aware of the display's scale.
    manifest = found.get((24, 1), b"").decode()
    check('level="asInvoker"' in manifest and 'Common-Controls" version="6.0.0.0"' in manifest
          and ">true</dpiAware>" in manifest and ">PerMonitorV2, PerMonitor</dpiAwareness>" in manifest,
          exe + ": the manifest is wrong (it must make the program aware of the display's scale)")
    compared = filecmp.dircmp(os.path.join(generated.name, folder), assets / folder)
    differ = compared.left_only + compared.right_only + compared.diff_files
    check(not differ, "generate.py changes %s in assets/" % differ)
    # No two resources but the icons are made from one file.
    files = [file for _, kind, file in lines if kind != "ICON"] + [picture]
    check(len(files) == len(set(files)), rc + ": a file used twice")
    check(read(assets, picture) in read(exe) and bitmap(picture).size == (192, 192),
          picture + " is no 192 x 192 picture built in")
    window = tuple(map(int, re.findall(rb"WINDOW_(?:WIDTH|HEIGHT) = (\d+);", read(source, folder, "main.cpp"))))
    for name, kind, file in lines:
        data = found.get(named[name, kind], b"")
        if kind == "BITMAP":
            size = bitmap(file).size
            check(name != "IDB_SKIN" or size == window, file + " is not the window's size")
            # Its 200 % and 300 % renderings: PNG files built in under its id (the .rc's resources are
            # the program's, checked above) that, averaged down, are the 1x picture (the drawings
            # differ by 6 in 255 at most on average, two different bitmaps by 23 or more). Within the
            # blocks that a 1x pixel becomes, a pixel-doubled picture is flat and a smooth enlargement
            # has only gentle ramps; a skin drawn at the scale has edges as steep as the 1x one's (the
            # top 0.5 % of its differences from its blocks' means are 82 or more, enlargements' 58 at most).
            for scale in 2, 3:
                png = file.replace(".bmp", "_%d00.png" % scale)
                check((name, "PNG%d00" % scale, png) in lines, rc + " lacks " + png + " under the id of " + file)
                large = Image.open(assets / png)
                check(large.mode == "RGB" and large.size == tuple(scale * n for n in size),
                      png + " is no 24-bit picture of its size")
                small = large.reduce(scale)
                check(abs(pixels(small) - pixels(bitmap(file))).mean() < 10,
                      png + " is another drawing than " + file)
                blocks = small.resize(large.size, Image.NEAREST)
                sharpness = numpy.percentile(abs(pixels(large) - pixels(blocks)), 99.5)
                check(name != "IDB_SKIN" or sharpness > 70, png + " is the 1x picture enlarged")
        elif kind == "WAVE":
            with wave.open(str(assets / file)) as sound:
                wide = sound.getsampwidth() == 2
                frames = sound.readframes(sound.getnframes())
            levels = abs(numpy.frombuffer(frames, "<i2") / 32768 if wide else numpy.frombuffer(frames, "B") / 128 - 1)
            check(0.2 < levels.max() < 0.95 and max(levels[0], levels[-1]) < 0.05,
                  file + " is silent, clips, or starts or ends with a click")
        elif kind == "ICON":
            icon = read(assets, file)
            sizes = set()
            for i in range(icon[4]):
                width, height, bits = struct.unpack_from("<BB4xH", icon, 6 + 16 * i)
                check(width == height and bits == 32, file + " has an image that is not square or not 32-bit")
                sizes.add(width)
            check(sizes == ICON_SIZES, file + " lacks a size")
        elif kind == "VERSIONINFO":
            # The file's and the product's version in 16-bit words, minor first, and the text.
            major, minor, build, revision = map(int, version.split("."))
            fixed = struct.pack("<4H", minor, major, revision, build) * 2
            text = ("[%s]" % version.replace(".", "")).encode("utf-16-le")
            check(fixed in data and text in data, exe + ": the wrong version block")

chm_file = pathlib.Path(game_exe).with_name("snowquill-help.chm")
chm = read(chm_file)
sources = {path.name: path.read_text() for path in (assets / "help").iterdir() if path.suffix != ".hhp"}
for name, text in sources.items():
    links = set(re.findall(r'(?:href="|name="Local" value=")([^"#]+)', text))
    check(chm.startswith(b"ITSF") and b"/" + name.encode() in chm,
          "snowquill-help.chm lacks " + name)
    check(links <= set(sources), name + " links to a missing file")

# The release: one folder holding the built programs and help file, nothing else.
folder = "snowquill-%s/" % version
built = {folder + os.path.basename(path): read(path) for path in (game_exe, resizer_exe, chm_file)}
built[folder] = b""
with zipfile.ZipFile(release_zip) as packed:
    packed_files = sorted((name, packed.read(name)) for name in packed.namelist())
check(packed_files == sorted(built.items()), "the zip does not hold the built files alone")
check(os.path.getsize(release_zip) < 4e6, "the zip is over 4 MB")
sys.exit("\n".join(failures) or None)

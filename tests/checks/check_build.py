# Checks the resources of both programs against the .rc files and assets/, the assets themselves,
# the help file and the release zip.  Usage: check_build.py SOURCE_DIR GAME_EXE RESIZER_EXE ZIP VERSION
import os, pathlib, re, struct, subprocess, sys, tempfile, zipfile, numpy as np  # noqa: E401

source, game_exe, resizer_exe, release_zip, version = sys.argv[1:6]
assets, failures = os.path.join(source, "assets"), []
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "shell32.dll", "winmm.dll", "msvcrt.dll", "ole32.dll"}
TYPES = {"BITMAP": 2, "ICON": 14, "VERSIONINFO": 16, "WAVE": "WAVE"}


def check(ok, what): failures.extend([] if ok else [what])  # noqa: E704


def read(*path): return pathlib.Path(*path).read_bytes()  # noqa: E704


def pe(d):  # machine, optional header magic, subsystem, imported DLLs and resources {(type, id): bytes}
    at = struct.unpack_from("<I", d, 0x3C)[0]
    machine, count, _, _, _, size = struct.unpack_from("<HHIIIH", d, at + 4)
    magic, subsystem = struct.unpack_from("<H66xH", d, at + 24)
    dirs = at + 24 + (96 if magic == 0x10B else 112)
    sections = [struct.unpack_from("<8xIIII", d, at + 24 + size + 40 * i) for i in range(count)]

    def rva(offset):  # the file offset of a relative address
        va = struct.unpack_from("<I", d, offset)[0]
        return next(raw + va - start for vsize, start, raw_size, raw in sections if 0 <= va - start < max(vsize, raw_size))
    dlls, entry, base = [], rva(dirs + 8), rva(dirs + 16)
    while d[entry:entry + 20] != bytes(20):
        dlls, entry = dlls + [d[rva(entry + 12):d.index(b"\0", rva(entry + 12))].decode().lower()], entry + 20

    def entries(o):
        for i in range(sum(struct.unpack_from("<HH", d, base + o + 12))):
            key, target = struct.unpack_from("<II", d, base + o + 16 + 8 * i)
            n = base + (key & 0x7FFFFFFF)
            yield d[n + 2:n + 2 + 2 * d[n]].decode("utf-16-le") if key >> 31 else key, target & 0x7FFFFFFF
    found = {(kind, name): d[rva(base + leaf):rva(base + leaf) + struct.unpack_from("<I", d, base + leaf + 4)[0]]
             for kind, names in entries(0) for name, languages in entries(names) for _, leaf in entries(languages)}
    return machine, magic, subsystem, dlls, found


def bitmap_size(name):  # of a .bmp file, which must be complete and uncompressed 24-bit
    d = read(assets, name)
    magic, length, offset, header, w, h, planes, bits, compression = struct.unpack_from("<2sI4xIIiiHHI", d)
    check((magic, length, offset, header, planes, bits, compression) == (b"BM", len(d), 54, 40, 1, 24, 0)
          and w > 0 and h > 0 and len(d) == 54 + (w * 3 + 3) // 4 * 4 * h, name + " is no complete 24-bit bitmap")
    return w, h


def check_sound(name):
    d, chunks, at = read(assets, name), {}, 12
    while at + 8 <= len(d):
        tag, n = struct.unpack_from("<4sI", d, at)
        chunks[tag], at = d[at + 8:at + 8 + n], at + 8 + n + n % 2
    form, channels, rate, byte_rate, block, bits = struct.unpack_from("<HHIIHH", chunks.get(b"fmt ", bytes(16)))
    samples = chunks.get(b"data", b"")
    s = np.frombuffer(samples[:len(samples) & ~1], "<i2") / 32768 if bits == 16 else np.frombuffer(samples, "B") / 128 - 1
    check(d[:4] + d[8:12] == b"RIFFWAVE" and struct.unpack_from("<I", d, 4)[0] + 8 == len(d) == at and bits in (8, 16)
          and (form, bits // 8 * channels, rate * block) == (1, block, byte_rate), name + " is no PCM WAVE file")
    check(s.size and 0.2 < np.abs(s).max() < 0.95 and max(abs(s[0]), abs(s[-1])) < 0.05,
          name + " is silent, clips, or starts or ends with a click")


for folder, exe, rc, picture in (("game", game_exe, "snowquill.rc", "fernwick.bmp"),
                                 ("resizer", resizer_exe, "pixelhem.rc", "sample.bmp")):
    found, ids = pe(read(exe))[4], dict(re.findall(r"#define (\w+) (\d+)", read(source, folder, "resource.h").decode()))
    lines = re.findall(r'^(\w+) +(BITMAP|ICON|VERSIONINFO|WAVE)(?: +"(.+)")?', read(source, folder, rc).decode(), re.M)
    named = {name: (TYPES[kind], int(ids[name]), file) for name, kind, file in lines}
    check({k for k in found if k[0] not in (3, 24)} == {(t, i) for t, i, _ in named.values()} and {
        n for n in ids if n[:4] in ("IDB_", "IDW_", "IDV_")} <= set(named), "%s, %s and resource.h differ" % (exe, rc))
    # Every file in the folder is used, and no two bitmaps or sounds are made from one file.
    files = [file for t, _, file in named.values() if t in (2, "WAVE")] + [folder + "/" + picture]
    check(len(files) == len(set(files)) and set(files) | {f for t, _, f in named.values() if t == 14} == {
        folder + "/" + n for n in os.listdir(os.path.join(assets, folder))}, "%s: not each file used once" % rc)
    check(read(assets, folder, picture) in read(exe) and bitmap_size(folder + "/" + picture) == (192, 192),
          "%s: %s is no 192 x 192 picture built in byte for byte" % (exe, picture))
    window = re.search(r"WINDOW_WIDTH = (\d+);.*?WINDOW_HEIGHT = (\d+);", read(source, folder, "main.cpp").decode(), re.S)
    for name, (kind, ident, file) in named.items():
        data = found.get((kind, ident), b"")
        if kind == 2:
            size, down = bitmap_size(file), named.get(name + "_DOWN", (0, 0, file))[2]
            check(data == read(assets, file)[14:], "%s: bitmap %s is not %s" % (exe, name, file))
            check(name != "IDB_SKIN" or size == tuple(map(int, window.groups())), file + " is not the window's size")
            check(down == file or size == bitmap_size(down) and read(assets, file) != read(assets, down),
                  down + " is no pressed " + file)
        elif kind == "WAVE":
            check_sound(file)
            check(data == read(assets, file), "%s: sound %s is not %s" % (exe, name, file))
        elif kind == 14:
            icon = read(assets, file)
            images = [struct.unpack_from("<BB6xII", icon, 6 + 16 * i) for i in range(icon[4])]
            check(images and all(e[:2] == (32, 32) for e in images), file + " is not a 32 x 32 icon")
            check([found.get((3, struct.unpack_from("<H", data, 18 + 14 * i)[0])) for i in range(len(data) // 14)] == [
                icon[e[3]:e[3] + e[2]] for e in images], "%s: icon %s is not %s" % (exe, name, file))
        elif kind == 16:
            fixed = struct.unpack_from("<4I", data, data.index(struct.pack("<I", 0xFEEF04BD)) + 8)
            quads = ["%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF) for ms, ls in [fixed[:2], fixed[2:]]]
            check(quads == [version] * 2 and ("[%s]" % version.replace(".", "")).encode("utf-16-le") in data,
                  "%s: the version block says %s, not %s" % (exe, quads, version))

with tempfile.TemporaryDirectory() as out:
    subprocess.run([sys.executable, os.path.join(assets, "generate.py"), out], check=True, stdout=subprocess.DEVNULL)
    for folder in ("game", "resizer"):
        made = sorted(os.listdir(os.path.join(out, folder)))
        check(made == sorted(os.listdir(os.path.join(assets, folder))) and all(
            read(out, folder, n) == read(assets, folder, n) for n in made), "generate.py changes assets/" + folder)

help_dir, chm_file = os.path.join(assets, "help"), os.path.join(os.path.dirname(game_exe), "snowquill-help.chm")
chm = read(chm_file)
sources = {n: read(help_dir, n).decode() for n in os.listdir(help_dir) if not n.endswith(".hhp")}
listed = set(read(help_dir, "snowquill-help.hhp").decode().split("[FILES]")[1].split())
check(set(sources) - {"contents.hhc", "index.hhk"} == listed, "snowquill-help.hhp does not list every file")
for name, text in sources.items():
    links = set(re.findall(r'(?:href="|name="Local" value=")([^"#]+)', text))
    check(chm[:4] == b"ITSF" and b"/" + name.encode() in chm, "snowquill-help.chm lacks " + name)
    check(links <= set(sources), "%s links to %s" % (name, sorted(links - set(sources))))
    check(name != "contents.hhc" or links == {n for n in sources if n.endswith(".html")}, "contents lack a page")

folder, three = "snowquill-" + version, {os.path.basename(f): f for f in (game_exe, resizer_exe, chm_file)}
with zipfile.ZipFile(release_zip) as z:
    names = z.namelist()
    check(os.path.basename(release_zip) == folder + "-win32.zip" and len(names) == len(set(names))
          and set(names) - {folder + "/"} == {folder + "/" + n for n in three}, "the zip holds %s" % names)
    for name, built in three.items():
        check(z.read(folder + "/" + name) == read(built), name + " in the zip is not the built one")
        if name.endswith(".exe"):
            machine, magic, subsystem, dlls, _ = pe(z.read(folder + "/" + name))
            check((machine, magic, subsystem) == (0x14C, 0x10B, 2), name + " is no 32-bit GUI program")
            check("kernel32.dll" in dlls and set(dlls) <= SYSTEM_DLLS, "%s imports %s" % (name, dlls))
sys.exit("\n".join(failures) or None)

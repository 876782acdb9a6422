"""Checks the release zip: unpacked into a fresh folder, it must hold the game, the resizer and
the help file in one folder, exactly as built, and both programs must be 32-bit Windows GUI
programs that need nothing but the DLLs every Windows has.

Environment: PACKAGE_ZIP, PACKAGE_FOLDER (the folder name inside the zip), PACKAGE_VERSION
(the project version, a.b.c.d), SNOWQUILL_EXE, PIXELHEM_EXE, HELP_FILE (the built files).
"""
import os
import struct
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets"))
import expected as X  # noqa: E402
import peresources as pe  # noqa: E402

IMAGE_FILE_MACHINE_I386 = 0x014C
PE32_MAGIC = 0x010B
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
IMAGE_DIRECTORY_ENTRY_IMPORT = 1
IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT = 13

# The DLLs a program in the zip may import. All of them are part of every 32-bit Windows from
# Windows 2000 on and live in the system folder, so the folder runs as it is unpacked.
#   kernel32, user32, gdi32, comdlg32, shell32, winmm: the platform interfaces the programs use
#     (windows and messages, drawing, the open-file dialog, ShellExecute for the help file,
#     PlaySound).
#   msvcrt: the C runtime that MinGW-w64's default (msvcrt) C runtime calls into; Windows ships
#     it in System32. libstdc++, libgcc and winpthread are linked in statically (-static), so
#     their DLLs must never appear.
# Deliberately not allowed: advapi32 (nothing here uses the registry or security calls, and the
# static runtime doesn't need it), and the UCRT's api-ms-win-crt-*.dll / ucrtbase.dll, which this
# toolchain does not use and which older Windows lacks without an update. A new import should be
# a decision, so it fails here until the list is changed.
ALLOWED_IMPORTS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "shell32.dll", "winmm.dll",
                   "msvcrt.dll"}


def pe_facts(data):
    """Machine, optional-header magic, subsystem and imported DLL names (lower case, with the
    delay-loaded ones) of a PE image."""
    if data[:2] != b"MZ":
        raise pe.PeError("no MZ header")
    at = struct.unpack_from("<I", data, 0x3C)[0]
    if data[at:at + 4] != b"PE\0\0":
        raise pe.PeError("no PE signature")
    machine, count, _, _, _, optional_size, characteristics = struct.unpack_from("<HHIIIHH", data, at + 4)
    optional = at + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    if magic == 0x10B:
        directories = optional + 96
    elif magic == 0x20B:
        directories = optional + 112
    else:
        raise pe.PeError("unknown optional header magic %#x" % magic)
    sections = []
    table = optional + optional_size
    for i in range(count):
        _, vsize, vaddr, rawsize, rawptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
        sections.append((vaddr, max(vsize, rawsize), rawptr))

    def offset(rva):
        for vaddr, size, rawptr in sections:
            if vaddr <= rva < vaddr + size:
                return rawptr + rva - vaddr
        raise pe.PeError("address %#x lies in no section" % rva)

    def text(rva):
        start = offset(rva)
        return data[start:data.index(b"\0", start)].decode("ascii").lower()

    imports = []
    # Import descriptors are 20 bytes with the name's address at +12; delay-load descriptors
    # are 32 bytes with it at +4. Both lists end with an all-zero entry.
    for index, size, name_at in ((IMAGE_DIRECTORY_ENTRY_IMPORT, 20, 12), (IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT, 32, 4)):
        rva, length = struct.unpack_from("<II", data, directories + 8 * index)
        if rva == 0 or length == 0:
            continue
        entry = offset(rva)
        while data[entry:entry + size] != bytes(size):
            imports.append(text(struct.unpack_from("<I", data, entry + name_at)[0]))
            entry += size
    return {"machine": machine, "magic": magic, "subsystem": subsystem, "characteristics": characteristics,
            "imports": imports}


def import_problems(imports):
    """The imported DLLs that a bare Windows doesn't have (those outside the allowed list)."""
    return sorted(set(imports) - ALLOWED_IMPORTS)


def read(path):
    with open(path, "rb") as f:
        return f.read()


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder_name = os.environ["PACKAGE_FOLDER"]
        cls.scratch = tempfile.TemporaryDirectory(prefix="snowquill-package-")
        with zipfile.ZipFile(os.environ["PACKAGE_ZIP"]) as archive:
            cls.names = archive.namelist()
            archive.extractall(cls.scratch.name)
        cls.unpacked = os.path.join(cls.scratch.name, cls.folder_name)

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def unpacked_file(self, name):
        return read(os.path.join(self.unpacked, name))

    def test_one_folder_with_the_three_files_and_nothing_else(self):
        found = []
        for root, _, files in os.walk(self.scratch.name):
            found += [os.path.relpath(os.path.join(root, f), self.scratch.name) for f in files]
        folder = self.folder_name
        self.assertEqual(sorted(found), sorted(os.path.join(folder, name)
                                               for name in ("snowquill.exe", "pixelhem.exe", "snowquill-help.chm")))
        # No absolute or climbing paths in the zip itself.
        for name in self.names:
            self.assertTrue(name.startswith(folder + "/"), name)
            self.assertNotIn("..", name.split("/"))

    def test_folder_is_named_after_the_version(self):
        self.assertEqual(self.folder_name, "snowquill-" + os.environ["PACKAGE_VERSION"])
        self.assertEqual(os.path.basename(os.environ["PACKAGE_ZIP"]),
                         "snowquill-%s-win32.zip" % os.environ["PACKAGE_VERSION"])

    def test_files_are_the_built_ones(self):
        for name, built in (("snowquill.exe", "SNOWQUILL_EXE"), ("pixelhem.exe", "PIXELHEM_EXE"),
                            ("snowquill-help.chm", "HELP_FILE")):
            with self.subTest(file=name):
                self.assertEqual(self.unpacked_file(name), read(os.environ[built]))

    def test_programs_are_32_bit_gui_programs(self):
        for name in ("snowquill.exe", "pixelhem.exe"):
            with self.subTest(program=name):
                facts = pe_facts(self.unpacked_file(name))
                self.assertEqual(facts["machine"], IMAGE_FILE_MACHINE_I386)
                self.assertEqual(facts["magic"], PE32_MAGIC)
                self.assertEqual(facts["subsystem"], IMAGE_SUBSYSTEM_WINDOWS_GUI)

    def test_programs_import_only_system_dlls(self):
        for name in ("snowquill.exe", "pixelhem.exe"):
            with self.subTest(program=name):
                imports = pe_facts(self.unpacked_file(name))["imports"]
                # The list was really read: every Windows program imports these two.
                self.assertIn("kernel32.dll", imports)
                self.assertIn("user32.dll", imports)
                self.assertEqual(import_problems(imports), [])

    def test_game_version_block(self):
        table = pe.resources(os.path.join(self.unpacked, "snowquill.exe"))
        versions = {name: data for (kind, name, _), data in table.items() if kind == pe.RT_VERSION}
        self.assertEqual(sorted(versions), [1])
        key, fixed, children = pe.version_tree(versions[1])
        self.assertEqual(key, "VS_VERSION_INFO")
        signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
        self.assertEqual(signature, 0xFEEF04BD)
        release = tuple(int(part) for part in os.environ["PACKAGE_VERSION"].split("."))
        self.assertEqual((file_ms >> 16, file_ms & 0xFFFF, file_ls >> 16, file_ls & 0xFFFF), release)
        self.assertEqual((product_ms >> 16, product_ms & 0xFFFF, product_ls >> 16, product_ls & 0xFFFF), release)
        strings = {}
        for child_key, _, tables in children:
            if child_key == "StringFileInfo":
                for _, _, entries in tables:
                    strings.update({k: v for k, v, _ in entries})
        for field in ("FileVersion", "ProductVersion", "ProductName", "FileDescription", "OriginalFilename",
                      "InternalName"):
            with self.subTest(field=field):
                self.assertEqual(strings.get(field), X.VERSION["strings"][field])

    def test_resizer_has_no_version_block(self):
        table = pe.resources(os.path.join(self.unpacked, "pixelhem.exe"))
        self.assertTrue(table)  # its bitmaps and sounds were read
        self.assertEqual([key for key in table if key[0] == pe.RT_VERSION], [])

    def test_help_file_is_a_compiled_help_file(self):
        self.assertEqual(self.unpacked_file("snowquill-help.chm")[:4], b"ITSF")


class CheckerFindsFaults(unittest.TestCase):
    """The checks above would notice a 64-bit program, a console program, or a runtime DLL."""

    def setUp(self):
        self.image = bytearray(read(os.environ["SNOWQUILL_EXE"]))
        self.header = struct.unpack_from("<I", self.image, 0x3C)[0]

    def test_machine_and_subsystem_are_read_from_the_header(self):
        struct.pack_into("<H", self.image, self.header + 4, 0x8664)
        struct.pack_into("<H", self.image, self.header + 24 + 68, 3)  # console
        facts = pe_facts(bytes(self.image))
        self.assertEqual((facts["machine"], facts["subsystem"]), (0x8664, 3))

    def test_a_renamed_import_is_reported(self):
        # Rename msvcrt.dll in the import table to a MinGW runtime DLL of the same length.
        at = self.image.find(b"msvcrt.dll\0")
        self.assertGreater(at, 0)
        self.image[at:at + 10] = b"libgcc.dll"
        self.assertEqual(import_problems(pe_facts(bytes(self.image))["imports"]), ["libgcc.dll"])

    def test_runtime_dlls_are_not_allowed(self):
        self.assertEqual(import_problems(["kernel32.dll", "libstdc++-6.dll", "libgcc_s_dw2-1.dll",
                                          "libwinpthread-1.dll", "api-ms-win-crt-runtime-l1-1-0.dll"]),
                         ["api-ms-win-crt-runtime-l1-1-0.dll", "libgcc_s_dw2-1.dll", "libstdc++-6.dll",
                          "libwinpthread-1.dll"])


if __name__ == "__main__":
    unittest.main(verbosity=2)

"""Checks the resources compiled into the built programs, read straight from the .exe files.

Environment: SNOWQUILL_EXE, PIXELHEM_EXE (the built programs), ASSETS_DIR (the committed files).
"""
import os
import struct
import unittest

import expected as X
import peresources as pe
from formats import read_dib, read_icon_group, read_wav

ASSETS = os.environ.get("ASSETS_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "assets"))


def asset(relative):
    with open(os.path.join(ASSETS, relative), "rb") as f:
        return f.read()


def by_type(table, rtype):
    return {name: data for (t, name, _), data in table.items() if t == rtype}


class ProgramResources:
    """Checks that hold for both programs; the subclasses name the program and its tables."""
    exe_variable = None
    bitmaps = None
    pressed = None
    sounds = None

    @classmethod
    def setUpClass(cls):
        cls.exe = os.environ[cls.exe_variable]
        cls.table = pe.resources(cls.exe)

    def test_every_resource_is_english_canada(self):
        self.assertTrue(self.table)
        wrong = sorted((str(t), str(n), hex(lang)) for t, n, lang in self.table if lang != X.LANGUAGE)
        self.assertEqual(wrong, [])

    def test_each_resource_once(self):
        names = [(t, n) for t, n, _ in self.table]
        self.assertEqual(len(names), len(set(names)), "a resource exists in more than one language")

    def test_bitmaps_are_the_table_and_nothing_else(self):
        self.assertEqual(sorted(by_type(self.table, pe.RT_BITMAP)), sorted(self.bitmaps))

    def test_bitmaps_uncompressed_24_bit_bottom_up_at_their_sizes(self):
        found = by_type(self.table, pe.RT_BITMAP)
        for ident, (relative, width, height) in self.bitmaps.items():
            with self.subTest(bitmap=ident):
                info, _ = read_dib(found[ident])
                self.assertEqual((info["header_size"], info["width"], info["height"]), (40, width, height))
                self.assertEqual((info["planes"], info["bits"], info["compression"]), (1, 24, 0))
                # The resource is the committed file without its 14-byte file header.
                self.assertEqual(found[ident], asset(relative)[14:])

    def test_pressed_bitmaps_match_their_buttons_in_size_and_differ_in_look(self):
        found = by_type(self.table, pe.RT_BITMAP)
        for normal, down in self.pressed.items():
            with self.subTest(normal=normal, pressed=down):
                a, pa = read_dib(found[normal])
                b, pb = read_dib(found[down])
                self.assertEqual((a["width"], a["height"]), (b["width"], b["height"]))
                self.assertNotEqual(found[normal], found[down])

    def test_sounds_are_mono_pcm_in_the_table_formats_and_lengths(self):
        found = by_type(self.table, "WAVE")
        self.assertEqual(sorted(found), sorted(self.sounds))
        for ident, (relative, bits, rate, count) in self.sounds.items():
            with self.subTest(sound=ident):
                wav = read_wav(found[ident])
                fmt = wav["fmt"]
                self.assertEqual((fmt["format"], fmt["channels"], fmt["bits"], fmt["rate"]), (1, 1, bits, rate))
                self.assertEqual((fmt["block"], fmt["byte_rate"]), (bits // 8, rate * bits // 8))
                self.assertEqual(wav["data_size"], count * bits // 8)
                self.assertEqual(len(wav["samples"]), count)
                self.assertEqual(wav["riff_size"] + 8, len(found[ident]))
                self.assertEqual(found[ident], asset(relative))


class GameResources(ProgramResources, unittest.TestCase):
    exe_variable = "SNOWQUILL_EXE"
    bitmaps = X.GAME_BITMAPS
    pressed = X.GAME_PRESSED
    sounds = X.GAME_SOUNDS

    def test_only_bitmaps_sounds_icons_and_version(self):
        kinds = sorted({str(t) for t, _, _ in self.table})
        self.assertEqual(kinds, sorted(str(k) for k in (pe.RT_BITMAP, pe.RT_ICON, pe.RT_GROUP_ICON, pe.RT_VERSION,
                                                         "WAVE")))

    def test_icon_groups_hold_the_right_image(self):
        groups = by_type(self.table, pe.RT_GROUP_ICON)
        icons = by_type(self.table, pe.RT_ICON)
        self.assertEqual(sorted(groups), sorted(X.ICON_GROUPS))
        self.assertEqual(sorted(icons), sorted(X.ICON_GROUPS.values()))
        for group, image in X.ICON_GROUPS.items():
            with self.subTest(group=group):
                parsed = read_icon_group(groups[group])
                self.assertEqual((parsed["reserved"], parsed["kind"], len(parsed["entries"])), (0, 1, 1))
                entry = parsed["entries"][0]
                self.assertEqual(entry["id"], image)
                self.assertEqual((entry["width"], entry["height"], entry["colours"], entry["planes"], entry["bits"]),
                                 (32, 32, 0, 1, 8))
                self.assertEqual(entry["size"], len(icons[image]))

    def test_the_two_icon_images_are_the_same_256_colour_32_by_32_picture(self):
        icons = by_type(self.table, pe.RT_ICON)
        self.assertEqual(icons[1], icons[2])
        size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", icons[1], 0)
        self.assertEqual((size, width, height, planes, bits, compression), (40, 32, 64, 1, 8, 0))
        # Palette of 256 colours, then 32 rows of 32 colour indexes, then the 1-bit mask.
        self.assertEqual(len(icons[1]), 40 + 256 * 4 + 32 * 32 + 32 * 4)

    def test_version_block(self):
        versions = by_type(self.table, pe.RT_VERSION)
        self.assertEqual(sorted(versions), [1])
        key, fixed, children = pe.version_tree(versions[1])
        self.assertEqual(key, "VS_VERSION_INFO")
        self.assertEqual(len(fixed), 52)
        (signature, _, file_ms, file_ls, product_ms, product_ls, mask, flags, os_kind, file_type, subtype,
         date_ms, date_ls) = struct.unpack("<13I", fixed)
        self.assertEqual(signature, 0xFEEF04BD)

        def quad(ms, ls):
            return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        self.assertEqual(quad(file_ms, file_ls), X.VERSION["file"])
        self.assertEqual(quad(product_ms, product_ls), X.VERSION["product"])
        self.assertEqual((flags, os_kind, file_type, subtype, date_ms, date_ls), (0, 0, 1, 0, 0, 0))
        # One string table and no translation block.
        self.assertEqual([c[0] for c in children], ["StringFileInfo"])
        tables = children[0][2]
        self.assertEqual([t[0] for t in tables], ["040904E4"])
        strings = {k: v for k, v, _ in tables[0][2]}
        self.assertEqual(sorted(strings), sorted(X.VERSION["strings"]))
        for name, value in X.VERSION["strings"].items():
            with self.subTest(key=name):
                if value is None:
                    self.assertTrue(strings[name].strip())
                else:
                    self.assertEqual(strings[name], value)

    def test_default_picture_is_built_in_byte_for_byte(self):
        with open(self.exe, "rb") as f:
            image = f.read()
        self.assertIn(asset(X.DEFAULT_PICTURE), image)


class ResizerResources(ProgramResources, unittest.TestCase):
    exe_variable = "PIXELHEM_EXE"
    bitmaps = X.RESIZER_BITMAPS
    pressed = X.RESIZER_PRESSED
    sounds = X.RESIZER_SOUNDS

    def test_no_icon_and_no_version_block(self):
        kinds = sorted({str(t) for t, _, _ in self.table})
        self.assertEqual(kinds, sorted([str(pe.RT_BITMAP), "WAVE"]))

    def test_sounds_are_the_games_byte_for_byte(self):
        game = by_type(pe.resources(os.environ["SNOWQUILL_EXE"]), "WAVE")
        mine = by_type(self.table, "WAVE")
        for own, games in X.SAME_SOUNDS.items():
            with self.subTest(sound=own):
                self.assertEqual(mine[own], game[games])

    def test_sample_picture_is_built_in_byte_for_byte(self):
        with open(self.exe, "rb") as f:
            image = f.read()
        self.assertIn(asset(X.SAMPLE_PICTURE), image)


if __name__ == "__main__":
    unittest.main(verbosity=2)

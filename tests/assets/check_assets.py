"""Checks the committed artwork, sounds, icon and built-in pictures under assets/.

Environment: ASSETS_DIR (defaults to the repository's assets folder).
"""
import os
import struct
import unittest

import numpy as np

import expected as X
from formats import read_bmp, read_ico, read_wav

ASSETS = os.path.abspath(os.environ.get("ASSETS_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "assets")))
GAME = X.GAME_CONTROLS
RESIZER = X.RESIZER_CONTROLS


def asset(relative):
    with open(os.path.join(ASSETS, relative), "rb") as f:
        return f.read()


def pixels(relative):
    return read_bmp(asset(relative))[2].astype(int)


def rms(samples):
    return float(np.sqrt(np.mean(samples ** 2)))


def framed_in_red(image, rect, gap):
    """True when the lines `gap` pixels outside each side of `rect` are mostly red (sparkles allowed)."""
    x, y, w, h = rect
    sides = (image[y:y + h, x - gap], image[y:y + h, x + w - 1 + gap], image[y - gap, x:x + w],
             image[y + h - 1 + gap, x:x + w])
    return all(((line[:, 0] > line[:, 1] + 80).mean() > 0.75) for line in sides)


def region(image, rect):
    x, y, w, h = rect
    return image[y:y + h, x:x + w]


class BuiltInPictures(unittest.TestCase):
    def check_header(self, relative, resolution):
        data = asset(relative)
        self.assertEqual(len(data), 110646)
        fields = struct.unpack_from("<2sIHHIIiiHHIIiiII", data, 0)
        self.assertEqual(fields, (b"BM", 110646, 0, 0, 54, 40, 192, 192, 1, 24, 0, 110592, resolution, resolution,
                                  0, 0))

    def test_default_picture_header(self):
        self.check_header(X.DEFAULT_PICTURE, X.PICTURE_RESOLUTION[X.DEFAULT_PICTURE])

    def test_sample_picture_header(self):
        self.check_header(X.SAMPLE_PICTURE, X.PICTURE_RESOLUTION[X.SAMPLE_PICTURE])

    def test_every_piece_of_the_default_picture_is_told_apart_by_eye(self):
        image = pixels(X.DEFAULT_PICTURE)
        pieces = [image[48 * r:48 * r + 48, 48 * c:48 * c + 48] for r in range(4) for c in range(4)]
        for i in range(16):
            # Each piece is busy enough to carry something recognisable ...
            self.assertGreater(pieces[i].std(), 20, "piece %d is nearly flat" % i)
            for j in range(i + 1, 16):
                # ... and differs clearly from every other piece, also as a whole colour.
                difference = np.abs(pieces[i] - pieces[j]).mean()
                self.assertGreater(difference, 25, "pieces %d and %d look alike" % (i, j))

    def test_sample_is_white_lettering_on_dark_green(self):
        image = pixels(X.SAMPLE_PICTURE)
        r, g, b = image[..., 0], image[..., 1], image[..., 2]
        green = (g > r + 30) & (g > b + 20) & (g < 140)
        white = (r > 230) & (g > 230) & (b > 230)
        self.assertGreater(green.mean(), 0.8)
        middle = white[80:112]
        self.assertGreater(middle.sum(), 300, "no white lettering across the middle")
        self.assertEqual(white[:70].sum() + white[122:].sum(), 0, "white outside the middle band")


class Bitmaps(unittest.TestCase):
    def test_files_are_24_bit_bottom_up_at_their_sizes(self):
        for table in (X.GAME_BITMAPS, X.RESIZER_BITMAPS):
            for ident, (relative, width, height) in table.items():
                with self.subTest(file=relative):
                    data = asset(relative)
                    head, info, _ = read_bmp(data)
                    stride = (width * 3 + 3) // 4 * 4
                    self.assertEqual((head["magic"], head["offset"], head["file_size"]),
                                     (b"BM", 54, 54 + stride * height))
                    self.assertEqual(len(data), head["file_size"])
                    self.assertEqual((info["width"], info["height"], info["bits"], info["compression"]),
                                     (width, height, 24, 0))

    def test_pressed_buttons_look_pushed_in(self):
        """At rest the top-left edge is lit and the bottom-right shaded; pressed, the other way round,
        and the caption or symbol sits one pixel further down and to the right."""
        for table, pairs in ((X.GAME_BITMAPS, X.GAME_PRESSED), (X.RESIZER_BITMAPS, X.RESIZER_PRESSED)):
            for normal, down in pairs.items():
                with self.subTest(button=table[normal][0]):
                    a, b = pixels(table[normal][0]), pixels(table[down][0])
                    h, w = a.shape[:2]

                    def lit(img):
                        top_left = np.concatenate([img[1, 1:w - 1].ravel(), img[1:h - 1, 1].ravel()]).mean()
                        bottom_right = np.concatenate([img[h - 2, 1:w - 1].ravel(), img[1:h - 1, w - 2].ravel()]).mean()
                        return top_left - bottom_right
                    self.assertGreater(lit(a), 40)
                    self.assertLess(lit(b), -40)

                    # The white of the caption or symbol: best matched by a shift of one pixel each way.
                    wa, wb = a.min(axis=2) > 200, b.min(axis=2) > 200
                    self.assertGreater(wa.sum(), 8, "no white glyph")
                    best = min(((np.logical_xor(np.roll(wa, (dy, dx), axis=(0, 1))[3:h - 3, 3:w - 3],
                                                wb[3:h - 3, 3:w - 3]).sum(), (dy, dx))
                                for dy in range(-2, 3) for dx in range(-2, 3)))
                    self.assertEqual(best[1], (1, 1))
                    self.assertLess(best[0], 0.25 * wa.sum())


class GameSkin(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.skin = pixels("game/skin.bmp")

    def test_title_strip_is_red_across_the_top_25_rows(self):
        strip = self.skin[:25, 40:570]  # right of the name's symbol, left of the small buttons
        reddish = (strip[..., 0] > strip[..., 1] + 60) | (strip.min(axis=2) > 200)  # red, or the white name
        self.assertGreater(reddish.mean(), 0.97)
        below = self.skin[27:40, 300:340]
        self.assertGreater((below.min(axis=2) > 200).mean(), 0.9, "the strip reaches below row 25")

    def test_board_is_a_grey_panel_in_a_red_frame(self):
        panel = region(self.skin, GAME["board"])
        spread = panel.max(axis=2) - panel.min(axis=2)
        self.assertLess(spread.max(), 16, "the board panel is not grey")
        self.assertTrue(framed_in_red(self.skin, GAME["board"], 10))

    def test_preview_place_is_grey_in_a_red_frame(self):
        inside = region(self.skin, GAME["preview"])
        self.assertLess((inside.max(axis=2) - inside.min(axis=2)).max(), 16)
        self.assertTrue(framed_in_red(self.skin, GAME["preview"], 4))

    def test_text_fields_sit_on_light_boxes_with_labels_to_their_left(self):
        for rect in (GAME["time"], GAME["moves"], GAME["result"]):
            x, y, w, h = rect
            box = region(self.skin, rect)
            # The field paints the light grey stock brush; the skin beneath is the same grey.
            self.assertTrue((box == 192).all(), "box under field %r is not light grey" % (rect,))
            label = self.skin[y:y + h, x - 52:x - 6]
            white = label.min(axis=2) > 200
            self.assertGreater(white.sum(), 25, "no label left of field %r" % (rect,))

    def test_large_buttons_are_drawn_where_the_buttons_lie(self):
        for rect, relative in ((GAME["newgame"], "game/newgame.bmp"), (GAME["loadbmp"], "game/loadbmp.bmp")):
            self.assertTrue((region(self.skin, rect) == pixels(relative)).all())
        # Cancel's bitmap is a pixel narrower than its button; the skin shows it fitted to the button.
        cancel = region(self.skin, GAME["cancel"])
        self.assertLess(np.abs(cancel[:, :94] - pixels("game/cancel.bmp")).mean(), 30)

    def test_greeting_in_red_and_holly_berries(self):
        low_left = self.skin[295:345, 30:360]
        red = (low_left[..., 0] > 150) & (low_left[..., 1] < 80) & (low_left[..., 2] < 90)
        self.assertGreater(red.sum(), 1500, "no red lettering at the bottom left")
        everywhere = self.skin
        berry = (everywhere[..., 0] > 180) & (everywhere[..., 1] < 60)
        leaf = (everywhere[..., 1] > everywhere[..., 0] + 40) & (everywhere[..., 1] < 140)
        self.assertGreater(berry.sum(), 100)
        self.assertGreater(leaf.sum(), 800)


class ResizerSkin(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.skin = pixels("resizer/skin.bmp")

    def test_dark_red_title_bar(self):
        x, y, w, h = RESIZER["title"]
        strip = self.skin[y:y + h, 40:x + w]
        dark_red = (strip[..., 0] > strip[..., 1] + 50) & (strip[..., 0] < 200)
        self.assertGreater(dark_red.mean(), 0.9)

    def test_red_frame_round_the_preview(self):
        self.assertTrue(framed_in_red(self.skin, RESIZER["preview"], 7))

    def test_buttons_drawn_where_they_lie(self):
        for rect, relative in ((RESIZER["getpreview"], "resizer/getpreview.bmp"),
                               (RESIZER["savebmp"], "resizer/savebmp.bmp")):
            self.assertTrue((region(self.skin, rect) == pixels(relative)).all())


class Sounds(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.sounds = {}
        for table in (X.GAME_SOUNDS, X.RESIZER_SOUNDS):
            for ident, (relative, bits, rate, count) in table.items():
                cls.sounds[ident] = read_wav(asset(relative))

    def test_formats_and_lengths(self):
        for table in (X.GAME_SOUNDS, X.RESIZER_SOUNDS):
            for ident, (relative, bits, rate, count) in table.items():
                with self.subTest(sound=ident):
                    wav = self.sounds[ident]
                    self.assertEqual((wav["fmt"]["format"], wav["fmt"]["channels"]), (1, 1))
                    self.assertEqual((wav["fmt"]["bits"], wav["fmt"]["rate"], len(wav["samples"])), (bits, rate, count))
                    # RIFF keeps chunks at even lengths: an odd data chunk is followed by one fill byte.
                    self.assertEqual(wav["file_size"], 44 + count * bits // 8 + (count * bits // 8) % 2)

    def test_resizer_sounds_are_the_games(self):
        for own, games in X.SAME_SOUNDS.items():
            self.assertEqual(asset(X.RESIZER_SOUNDS[own][0]), asset(X.GAME_SOUNDS[games][0]))

    def test_nothing_clips_and_nothing_is_silent(self):
        for ident, wav in self.sounds.items():
            with self.subTest(sound=ident):
                s = wav["samples"]
                self.assertLess(np.abs(s).max(), 0.95)
                self.assertGreater(np.abs(s).max(), 0.2)
                # Starts and ends near the middle line, so no click at either end.
                self.assertLess(abs(s[0]), 0.05)
                self.assertLess(abs(s[-1]), 0.05)

    def part(self, ident, start, stop):
        s = self.sounds[ident]["samples"]
        return s[int(start * len(s)):int(stop * len(s))]

    def test_each_sound_has_its_character(self):
        peak = {i: np.abs(w["samples"]).max() for i, w in self.sounds.items()}
        # The click is quieter than every other sound.
        self.assertLess(peak[2150], 0.4)
        self.assertLess(peak[2150], min(v for k, v in peak.items() if k not in (2150, 900)))
        # The move swells towards its end.
        self.assertGreater(rms(self.part(2250, 0.66, 0.97)), 3 * rms(self.part(2250, 0.0, 0.33)))
        # The lost game starts at full strength and is loud.
        lost = self.sounds[2500]["samples"]
        self.assertGreater(np.abs(lost[:1100]).max(), 0.8)
        self.assertGreater(rms(self.part(2500, 0.0, 0.5)), 0.2)
        # Busy is loud at first and dies away.
        self.assertGreater(peak[4400], 0.8)
        self.assertGreater(rms(self.part(4400, 0.0, 0.15)), 5 * rms(self.part(4400, 0.85, 1.0)))
        # New game rises to the middle and fades.
        middle = rms(self.part(4600, 0.4, 0.6))
        self.assertGreater(middle, 2 * rms(self.part(4600, 0.0, 0.1)))
        self.assertGreater(middle, 2 * rms(self.part(4600, 0.9, 1.0)))
        # The bright sound is bright: most of its energy lies above 2 kHz.
        bells = self.sounds[4500]["samples"]
        spectrum = np.abs(np.fft.rfft(bells)) ** 2
        freqs = np.fft.rfftfreq(len(bells), 1 / 22050)
        self.assertGreater(spectrum[freqs > 2000].sum() / spectrum.sum(), 0.6)

    def test_solved_tune_is_a_sequence_of_rising_notes(self):
        """The solved sound is a tune, not one tone: its strongest pitch changes and climbs over the first 2 s."""
        s = self.sounds[2350]["samples"]
        pitches = []
        for k in range(10):
            start = int((0.05 + 0.18 * k) * 22050)
            window = s[start:start + 2048] * np.hanning(2048)
            spectrum = np.abs(np.fft.rfft(window))
            pitches.append(np.fft.rfftfreq(2048, 1 / 22050)[spectrum.argmax()])
        self.assertGreaterEqual(len(set(np.round(pitches, -1))), 4)
        self.assertGreater(np.mean(pitches[-3:]), 1.5 * np.mean(pitches[:3]))


class Icon(unittest.TestCase):
    def test_one_32_by_32_image_in_256_colours(self):
        ico = read_ico(asset(X.ICON_FILE))
        self.assertEqual((ico["reserved"], ico["kind"], len(ico["images"])), (0, 1, 1))
        image = ico["images"][0]
        self.assertEqual((image["width"], image["height"], image["colours"], image["planes"], image["bits"]),
                         (32, 32, 0, 1, 8))
        self.assertEqual(image["size"], len(image["image"]))

    def test_two_by_two_grid_in_a_red_frame_with_one_empty_grey_square(self):
        data = read_ico(asset(X.ICON_FILE))["images"][0]["image"]
        palette = np.frombuffer(data, dtype=np.uint8, count=1024, offset=40).reshape(256, 4)[:, 2::-1].astype(int)
        index = np.frombuffer(data, dtype=np.uint8, count=1024, offset=40 + 1024).reshape(32, 32)[::-1]
        rgb = palette[index]
        edge = np.concatenate([rgb[0:2].reshape(-1, 3), rgb[30:32].reshape(-1, 3),
                               rgb[:, 0:2].reshape(-1, 3), rgb[:, 30:32].reshape(-1, 3)])
        self.assertTrue((edge[:, 0] > edge[:, 1] + 60).all(), "the frame is not red")
        quarters = [rgb[4:15, 4:15], rgb[4:15, 17:28], rgb[17:28, 4:15], rgb[17:28, 17:28]]
        grey = [(q.max(axis=2) - q.min(axis=2)).max() < 12 and q.std() < 3 for q in quarters]
        self.assertEqual(grey, [False, False, False, True], "expected three pictures and an empty grey square")


if __name__ == "__main__":
    unittest.main(verbosity=2)

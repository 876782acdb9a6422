"""Checks the help pages under assets/help and the compiled snowquill-help.chm beside the game.

Environment: ASSETS_DIR, HELP_FILE (the built .chm).
"""
import os
import re
import struct
import unittest

ASSETS = os.path.abspath(os.environ.get("ASSETS_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "assets")))
HELP = os.path.join(ASSETS, "help")


def read(name):
    with open(os.path.join(HELP, name), encoding="utf-8") as f:
        return f.read()


def project_files():
    text = read("snowquill-help.hhp")
    files = text.split("[FILES]", 1)[1].split()
    return files


def sitemap_targets(name):
    return re.findall(r'<param name="Local" value="([^"]+)">', read(name))


class HelpSources(unittest.TestCase):
    def test_project_lists_every_page_and_every_page_exists(self):
        pages = sorted(f for f in os.listdir(HELP) if f.endswith(".html"))
        listed = project_files()
        self.assertEqual(sorted(f for f in listed if f.endswith(".html")), pages)
        for name in listed:
            self.assertTrue(os.path.isfile(os.path.join(HELP, name)), name)

    def test_links_contents_and_index_lead_to_pages_of_the_project(self):
        listed = set(project_files())
        for page in (f for f in listed if f.endswith(".html")):
            for target in re.findall(r'href="([^"#]+)', read(page)):
                with self.subTest(page=page, link=target):
                    self.assertIn(target, listed)
        for sitemap in ("contents.hhc", "index.hhk"):
            targets = sitemap_targets(sitemap)
            self.assertTrue(targets)
            for target in targets:
                self.assertIn(target, listed, "%s points at a missing page" % sitemap)
        # Every page can be reached from the table of contents.
        self.assertEqual(sorted(set(sitemap_targets("contents.hhc"))),
                         sorted(f for f in listed if f.endswith(".html")))

    def test_pages_are_well_formed_enough_for_the_viewer(self):
        for page in (f for f in project_files() if f.endswith(".html")):
            text = read(page)
            with self.subTest(page=page):
                self.assertRegex(text, r"<title>[^<]+</title>")
                for tag in ("html", "head", "body", "ul", "ol", "table", "p", "li", "div"):
                    opened = len(re.findall(r"<%s[\s>]" % tag, text))
                    closed = len(re.findall(r"</%s>" % tag, text))
                    self.assertEqual(opened, closed, "<%s> not closed as often as opened" % tag)


class CompiledHelp(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(os.environ["HELP_FILE"], "rb") as f:
            cls.chm = f.read()

    def test_is_a_compiled_help_file(self):
        magic, version, header_length = struct.unpack_from("<4sII", self.chm, 0)
        self.assertEqual(magic, b"ITSF")
        self.assertEqual(version, 3)
        self.assertGreater(len(self.chm), header_length)

    def test_holds_every_page_and_the_contents(self):
        for name in project_files() + ["contents.hhc", "index.hhk"]:
            with self.subTest(file=name):
                self.assertIn(b"/" + name.encode("ascii"), self.chm)


if __name__ == "__main__":
    unittest.main(verbosity=2)

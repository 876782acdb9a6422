"""Runs the asset generators into a fresh folder and compares with the committed files.

Environment: ASSETS_DIR (the committed assets folder, holding generate.py).
"""
import filecmp
import os
import subprocess
import sys
import tempfile
import unittest

ASSETS = os.path.abspath(os.environ.get("ASSETS_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "assets")))
GENERATED = ("game", "resizer")


def listing(root):
    found = set()
    for folder in GENERATED:
        for name in os.listdir(os.path.join(root, folder)):
            found.add(os.path.join(folder, name))
    return found


class Regenerate(unittest.TestCase):
    def test_generators_reproduce_the_committed_files(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, os.path.join(ASSETS, "generate.py"), out], check=True)
            made = listing(out)
            committed = listing(ASSETS)
            self.assertEqual(sorted(committed - made), [], "committed files that no generator makes")
            self.assertEqual(sorted(made - committed), [], "generated files that are not committed")
            different = [f for f in sorted(made)
                         if not filecmp.cmp(os.path.join(out, f), os.path.join(ASSETS, f), shallow=False)]
            self.assertEqual(different, [], "regenerate with: /usr/bin/python3 assets/generate.py")


if __name__ == "__main__":
    unittest.main(verbosity=2)

#!/usr/bin/env python3
"""Faults the image check must catch, on a copy of the real image data.
usage: test_check_images.py REPO_ROOT"""

import os
import shutil
import sys
import tempfile
import unittest
import zlib
import struct

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_images  # noqa: E402

ROOT = None


def rgb_png(w, h):
    """A minimal valid PNG without alpha (colour type 2)."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))
    raw = b"".join(b"\x00" + b"\x80" * (3 * w) for _ in range(h))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


class Check_Images_Test(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        src = os.path.join(ROOT, check_images.IMAGE_DIR)
        self.img = os.path.join(self.tmp, check_images.IMAGE_DIR)
        shutil.copytree(src, self.img)
        self.levels = os.path.join(self.tmp, "Data", "Levels", "Gold")
        os.makedirs(self.levels)
        with open(os.path.join(self.img, check_images.LIST_FILE)) as f:
            self.info = f.read()

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def write_info(self, text):
        with open(os.path.join(self.img, check_images.LIST_FILE), "w") as f:
            f.write(text)

    def problems(self):
        return "\n".join(check_images.check(self.tmp))

    def test_real_data_passes(self):
        self.assertEqual(self.problems(), "")

    def test_missing_and_commented_out_keys_are_reported(self):
        lines = self.info.split("\n")
        out = []
        for line in lines:
            if line.startswith("HOLE "):
                continue                      # dropped
            if line.startswith("ARROW "):
                line = "// " + line           # commented out
            out.append(line)
        self.write_info("\n".join(out))
        p = self.problems()
        self.assertIn("'HOLE' is not in", p)
        self.assertIn("'ARROW' is not in", p)

    def test_list_structure_faults(self):
        self.write_info(self.info.replace("\nEND", "\n"))
        self.assertIn("without END", self.problems())
        self.write_info(self.info.replace("START", "BEGIN", 1))
        self.assertIn("no START", self.problems())
        # Cut off inside the last entry: that entry is named, not the missing END.
        last = self.info.rindex("\nCREDIT_6")
        for cut in ("CREDIT_6 = credit_6.png", "CREDIT_6 = credit_6.png : full : 0.30000 :"):
            self.write_info(self.info[:last] + "\n" + cut)
            p = self.problems()
            self.assertIn("CREDIT_6: entry cut short", p, cut)
            self.assertNotIn("without END", p, cut)
        # A lone glyph "/" is a key, not a comment.
        self.assertIn("\n/ ", self.info)

    def test_bad_files_are_reported(self):
        os.remove(os.path.join(self.img, "hole.png"))
        with open(os.path.join(self.img, "rock.png"), "wb") as f:
            f.write(rgb_png(4, 4))
        os.remove(os.path.join(self.img, "loading_icon.png"))
        p = self.problems()
        self.assertIn("HOLE: ", p)
        self.assertIn("ROCK: ", p)
        self.assertIn("not 8-bit RGBA", p)
        self.assertIn("loading_icon.png", p)

    def test_stretched_picture_is_reported(self):
        text = "\n".join(l.replace(": 0.28000", ": 0.40000") if l.startswith("PLAYER_RUN_1 ") else l
                         for l in self.info.split("\n"))
        self.assertNotEqual(text, self.info)
        self.write_info(text)
        self.assertIn("PLAYER_RUN_1: shown", self.problems())

    def test_level_keys(self):
        with open(os.path.join(self.levels, "level0.zqt"), "w", newline="") as f:
            f.write("Type:10 Distance:0 X:0.5 Attributes:HINT HINT_STEER\n"
                    "Type:0 Distance:10 X:0.5 Attributes:IMAGE TREASURE_NOPE VALUE 50\r\n"
                    "Type:14 Distance:20 X:0.5 Attributes:CEILING NONE FLOOR FLOOR_GONE WALL \n"
                    "  WALL_ICE FRAMES 40\n"  # the blank before the line end continues the record
                    "Type:10 Distance:30 X:0.5 Attributes:\n"
                    "Type:10 Distance:40 X:0.5 Attributes:HINT None\n")
        p = self.problems()
        self.assertIn("record 2: IMAGE TREASURE_NOPE", p)
        self.assertIn("record 3: FLOOR FLOOR_GONE", p)
        self.assertNotIn("WALL_ICE", p)
        self.assertNotIn("None", p)
        self.assertEqual(p.count("level0.zqt"), 2)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.stderr.write("usage: test_check_images.py REPO_ROOT\n")
        sys.exit(2)
    ROOT = os.path.abspath(sys.argv[1])
    unittest.main(argv=sys.argv[:1])

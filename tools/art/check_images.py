#!/usr/bin/env python3
"""Checks the game's image data: usage  check_images.py REPO_ROOT

- every image key the code asks for is listed in Data/Images/image_info.zqt;
- every file the list names exists and is an 8-bit RGBA PNG, and its screen
  fractions keep the picture's own proportions (unless it is a picture that
  is stretched over the screen on purpose);
- the glyphs "!" to "Z" are all there, and so are the loading screen files;
- every image key used by the level files (IMAGE, HINT, CEILING, FLOOR,
  WALL, HUDTEXTURE) is listed.
Exits non-zero with one line per problem."""

import glob
import os
import struct
import sys

IMAGE_DIR = os.path.join("Data", "Images")
LIST_FILE = "image_info.zqt"
LEVEL_GLOB = os.path.join("Data", "Levels", "Gold", "*.zqt")

# Keys the game's code looks up by name.
CODE_KEYS = (
    ["CEILING", "FLOOR", "WALL", "HUD", "HUD_ICE", "HUD_LAVA",
     "PLAYER_SHADOW", "BOULDER_1", "BOULDER_2", "BOULDER_3", "BOULDER_4",
     "ROCK", "SPIKE", "LEFTSPIKE", "RIGHTSPIKE", "STALACTITE", "HOLE",
     "BONE", "ITEM_BOOST", "ITEM_SPINNER", "CLOAK", "CLOCK",
     "SPRING_LOADED_IDLE", "SPRING_SPRUNG_1", "SPRING_SPRUNG_2",
     "SPRING_SPRUNG_IDLE_1", "SPRING_SPRUNG_IDLE_2", "SPRING_SPRUNG_IDLE_3",
     "TORCH_0", "TORCH_1", "TORCH_2",
     "GEM", "PANIC_BAR", "PANIC_BAR_OUTLINE", "PANIC_BAR_TEXT", "CHASE_BAR",
     "CHASE_DRAGON", "CHASE_DRAGON_EATYOU", "CHASE_PLAYER", "DRAGON_CLAW",
     "DRAGON_CLAW_LEFTY", "TEAM_LOGO", "ZOOMQUEST", "START_TEXT",
     "OPTIONS_TEXT", "MENU_SLAB", "ARROW", "DRAGON_TEETH_TOP",
     "DRAGON_TEETH_BOT", "CREDITS", "OVERWORLD"]
    + ["PLAYER_RUN_%d" % i for i in range(1, 11)]
    + ["USE_ITEM_%d" % i for i in range(1, 11) if i != 6]
    + ["ROCK_EXP%d" % i for i in range(1, 6)]
    + [s + t for s in ("CEILING", "FLOOR", "WALL") for t in ("_ICE", "_LAVA", "_CRYSTAL")]
)
# Keys the level files are written against.
LEVEL_KEYS = (
    ["HINT_" + h for h in ("STEER", "JUMP", "COLLECT", "BONE", "BOOST", "SPINNER",
                           "CLOAK", "CLOCK", "SPRING", "TORCH")]
    + ["CREDIT_%d" % i for i in range(1, 7)]
)
MIN_TREASURES = 8
GLYPHS = [chr(c) for c in range(33, 91)]
LOADING_FILES = ["loading_screen.png", "loading_icon.png"]
# Pictures deliberately stretched to fill the screen or a fixed area.
STRETCHED = {"HUD", "HUD_ICE", "HUD_LAVA", "HUD_CRYSTAL", "HUD_SLATE", "HUD_MOSS", "HUD_HOARD", "HUD_GOLD",
             "TEAM_LOGO", "CREDITS",
             "OVERWORLD", "DRAGON_TEETH_TOP", "DRAGON_TEETH_BOT"}
LOOKS = ("", "_ICE", "_LAVA", "_CRYSTAL", "_MOSS", "_GOLD", "_SLATE", "_HOARD")
TEXTURES = {s + t for s in ("CEILING", "FLOOR", "WALL") for t in LOOKS}
IMAGE_ATTRIBUTES = {"IMAGE", "HINT", "CEILING", "FLOOR", "WALL", "HUDTEXTURE"}
NO_IMAGE = {"None", "NONE"}


class Token_Reader:
    """Whitespace-separated tokens with the ability to drop the rest of a
    line, as the game's list reader does."""

    def __init__(self, text):
        self.text = text
        self.pos = 0

    def next(self):
        t, n = self.text, len(self.text)
        while self.pos < n and t[self.pos].isspace():
            self.pos += 1
        if self.pos >= n:
            return None
        start = self.pos
        while self.pos < n and not t[self.pos].isspace():
            self.pos += 1
        return t[start:self.pos]

    def skip_line(self):
        end = self.text.find("\n", self.pos)
        self.pos = len(self.text) if end < 0 else end + 1


def begins_like_number(tok):
    return tok[:1] in set("+-.0123456789")


def parse_image_info(text):
    """Returns ({key: (file, wfrac or None, hfrac or None)}, [problems])."""
    entries, problems = {}, []
    r = Token_Reader(text)
    while True:
        tok = r.next()
        if tok is None:
            return entries, ["no START token"]
        if tok == "START":
            break
    while True:
        tok = r.next()
        if tok is None:
            problems.append("the list ends without END")
            return entries, problems
        if tok == "END":
            return entries, problems
        if tok.startswith("//"):
            r.skip_line()
            continue
        key = tok
        fields = [r.next() for _ in range(3)]  # separator, file, separator
        if None in fields:
            problems.append("%s: entry cut short" % key)
            return entries, problems
        fname = fields[1]
        first = r.next()
        if first is None:
            problems.append("%s: entry cut short" % key)
            return entries, problems
        if begins_like_number(first):
            rect = [first] + [None] * 3
            for i in range(1, 4):
                r.next()
                rect[i] = r.next()
            for v in rect:
                try:
                    float(v)
                except (TypeError, ValueError):
                    problems.append("%s: bad pixel rectangle %r" % (key, rect))
                    break
        fracs = []
        for name in ("width", "height"):
            r.next()
            v = r.next()
            if v is None:
                problems.append("%s: entry cut short" % key)
                return entries, problems
            if begins_like_number(v):
                try:
                    fracs.append(float(v))
                except ValueError:
                    problems.append("%s: bad %s fraction %r" % (key, name, v))
                    fracs.append(None)
            else:
                fracs.append(None)  # the game's default from the pixel size
        if key in entries:
            problems.append("%s: listed twice" % key)
        entries[key] = (fname, fracs[0], fracs[1])


def png_info(path):
    """(width, height, bit depth, colour type) from the PNG header, or None."""
    try:
        with open(path, "rb") as f:
            head = f.read(33)
    except OSError:
        return None
    if len(head) < 33 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    w, h, depth, ctype = struct.unpack(">IIBB", head[16:26])
    return w, h, depth, ctype


def check_file(path, label, problems):
    info = png_info(path)
    if info is None:
        problems.append("%s: %s is missing or not a PNG" % (label, path))
        return None
    w, h, depth, ctype = info
    if depth != 8 or ctype != 6:
        problems.append("%s: %s is not 8-bit RGBA (depth %d, colour type %d)" % (label, path, depth, ctype))
    return info


def level_words(text):
    """The attribute words of every record, by the loader's reading rules."""
    records = []
    i, n = 0, len(text)

    def skip_ws(i):
        while i < n and text[i].isspace():
            i += 1
        return i

    while True:
        i = skip_ws(i)
        if i >= n:
            return records
        for field in range(3):
            c = text.find(":", i)
            if c < 0:
                return records
            i = skip_ws(c + 1)
            while i < n and not text[i].isspace():
                i += 1
        c = text.find(":", i)
        if c < 0:
            return records
        i = c + 1
        words = []
        if text[i:i + 1] == "\n" or text[i:i + 2] == "\r\n":
            i += 2 if text[i] == "\r" else 1
        else:
            while True:
                i = skip_ws(i)
                if i >= n:
                    break
                s = i
                while i < n and not text[i].isspace():
                    i += 1
                words.append(text[s:i])
                if text[i:i + 1] == "\n":
                    i += 1
                    break
                if text[i:i + 2] == "\r\n":
                    i += 2
                    break
        records.append(words)


def check(root):
    problems = []
    img_dir = os.path.join(root, IMAGE_DIR)
    list_path = os.path.join(img_dir, LIST_FILE)
    try:
        with open(list_path) as f:
            text = f.read()
    except OSError as e:
        return ["cannot read %s: %s" % (list_path, e)]
    entries, problems = parse_image_info(text)

    for key in CODE_KEYS + LEVEL_KEYS + GLYPHS:
        if key not in entries:
            problems.append("image key %r is not in %s" % (key, LIST_FILE))
    treasures = [k for k in entries if k.startswith("TREASURE_")]
    if len(treasures) < MIN_TREASURES:
        problems.append("only %d treasure pictures (want %d)" % (len(treasures), MIN_TREASURES))

    for key, (fname, wf, hf) in sorted(entries.items()):
        info = check_file(os.path.join(img_dir, fname), key, problems)
        if info is None:
            continue
        w, h = info[:2]
        if wf is not None and hf is not None:
            if wf <= 0 or hf <= 0:
                problems.append("%s: fractions must be positive" % key)
            elif key not in STRETCHED and key not in TEXTURES:
                shown = (wf * 3.5) / (hf * 2.0)
                if abs(shown / (w / h) - 1) > 0.04:
                    problems.append("%s: shown %.3f wide per unit high but the picture is %.3f"
                                    % (key, shown, w / h))
    for fname in LOADING_FILES:
        check_file(os.path.join(img_dir, fname), fname, problems)

    for level in sorted(glob.glob(os.path.join(root, LEVEL_GLOB))):
        with open(level, newline="") as f:
            records = level_words(f.read())
        for n, words in enumerate(records, 1):
            for i, w in enumerate(words[:-1]):
                if w in IMAGE_ATTRIBUTES:
                    v = words[i + 1]
                    if v not in NO_IMAGE and v not in entries:
                        problems.append("%s record %d: %s %s is not in %s"
                                        % (os.path.basename(level), n, w, v, LIST_FILE))
    return problems


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: check_images.py REPO_ROOT\n")
        return 2
    problems = check(argv[1])
    for p in problems:
        print("check_images: " + p)
    if problems:
        print("check_images: %d problem(s)" % len(problems))
        return 1
    print("check_images: image list and files are complete")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

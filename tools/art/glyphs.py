"""Glyph images "!" to "Z" for the game's monospaced text.

The game tints text by multiplying, so a glyph is a plain light silhouette:
an outline or shadow would turn the same colour as the fill under a dark tint
and close the counters. Shapes come from a heavy but not black weight, so
holes stay open at menu size (about 14 pixels high)."""

import numpy as np
from PIL import Image, ImageDraw, ImageFont

from common import FONT_DIR

# Names used for the files; keys are the characters themselves.
NAMES = {
    "!": "excl", '"': "quote", "#": "hash", "$": "dollar", "%": "percent",
    "&": "amp", "'": "apos", "(": "lparen", ")": "rparen", "*": "star",
    "+": "plus", ",": "comma", "-": "minus", ".": "period", "/": "slash",
    ":": "colon", ";": "semicolon", "<": "less", "=": "equals",
    ">": "greater", "?": "question", "@": "at",
}

FACE = FONT_DIR + "/LeagueSpartan-Bold.otf"
SS = 4               # supersampling of the working canvas
CAP = 24             # capital height in texels of the final image
CELL_W = 22          # one advance (0.06 world units at scale 1) in texels
MAX_INK_W = 19       # keeps a gap between neighbours
CELL_H = 36          # room for descenders ("Q", ",") and the "$" bar
BASELINE = 29        # from the top of the cell
# World units per texel: caps 0.064 high at scale 1, so lines 0.05 apart at
# scale 0.7 (the pause menu's volume lines) still do not touch.
UNIT = 0.064 / CAP


def glyph_chars():
    return [chr(c) for c in range(33, 91)]


def file_name(ch):
    if ch.isalnum():
        return "glyph_%s.png" % ch
    return "glyph_%s.png" % NAMES[ch]


def face():
    # Size chosen so that "H" stands CAP texels tall.
    probe = ImageFont.truetype(FACE, 400)
    top, bottom = probe.getbbox("H", anchor="ls")[1], 0
    return ImageFont.truetype(FACE, int(round(400 * CAP * SS / (bottom - top))))


def coverage(ch, f):
    """Anti-aliased ink coverage of one character, CELL_W x CELL_H, squeezed
    sideways when wider than MAX_INK_W and centred in the cell."""
    w, h = CELL_W * SS, CELL_H * SS
    big = Image.new("L", (3 * w, h), 0)
    draw = ImageDraw.Draw(big)
    draw.text((1.5 * w, BASELINE * SS), ch, font=f, fill=255, anchor="ls")
    if ch == "0":
        # A slashed zero: "X0" must not read "XO".
        left, top, right, bottom = draw.textbbox((1.5 * w, BASELINE * SS), ch, font=f, anchor="ls")
        cx, cy = (left + right) / 2, (top + bottom) / 2
        dx, dy = (right - left) * 0.22, (bottom - top) * 0.3
        draw.line((cx - dx, cy + dy, cx + dx, cy - dy), fill=255, width=int(round(0.11 * CAP * SS)))
    a = np.array(big)
    xs = np.nonzero(a.max(axis=0) > 0)[0]
    inkw = xs.max() - xs.min() + 1
    if inkw > MAX_INK_W * SS:
        nw = int(round(big.width * MAX_INK_W * SS / inkw))
        small = big.resize((nw, h), Image.LANCZOS)
        big = Image.new("L", (3 * w, h), 0)
        big.paste(small, ((3 * w - nw) // 2, 0))
        a = np.array(big)
        xs = np.nonzero(a.max(axis=0) > 0)[0]
    mid = (xs.min() + xs.max() + 1) // 2
    x0 = mid - w // 2
    cell = big.crop((x0, 0, x0 + w, h))
    return cell.resize((CELL_W, CELL_H), Image.BOX)


def render_char(ch, f):
    # White, shading to a light neutral grey at the baseline: any tint keeps
    # its hue, and black stays black.
    a = np.array(coverage(ch, f), float)
    t = np.clip((np.arange(CELL_H) - (BASELINE - CAP)) / CAP, 0, 1)[:, None]
    v = 255 - 24 * t
    arr = np.zeros((CELL_H, CELL_W, 4), np.uint8)
    arr[..., 0] = arr[..., 1] = arr[..., 2] = np.repeat(v, CELL_W, axis=1).astype(np.uint8)
    arr[..., 3] = np.clip(a, 0, 255).astype(np.uint8)
    return Image.fromarray(arr, "RGBA")


def make(images):
    images.comment("Glyphs: one per character, keyed by the character")
    f = face()
    for ch in glyph_chars():
        images.add_exact(ch, file_name(ch), render_char(ch, f),
                         CELL_W * UNIT / 3.5, CELL_H * UNIT / 2.0)

"""Glyph images "!" to "Z" for the game's monospaced text."""

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

from common import PAL, font, hex_rgb, downsample

# Names used for the files; keys are the characters themselves.
NAMES = {
    "!": "excl", '"': "quote", "#": "hash", "$": "dollar", "%": "percent",
    "&": "amp", "'": "apos", "(": "lparen", ")": "rparen", "*": "star",
    "+": "plus", ",": "comma", "-": "minus", ".": "period", "/": "slash",
    ":": "colon", ";": "semicolon", "<": "less", "=": "equals",
    ">": "greater", "?": "question", "@": "at",
}

CELL_W = 84          # working cell width (twice the final size)
CELL_H = 160
BASELINE = 116
SIZE = 118           # font size at working scale
STROKE = 7
GLYPH_H_FRAC = 0.056  # about 0.11 world units tall, 0.065 wide


def glyph_chars():
    return [chr(c) for c in range(33, 91)]


def file_name(ch):
    if ch.isalnum():
        return "glyph_%s.png" % ch
    return "glyph_%s.png" % NAMES[ch]


def render_char(ch):
    f = font(SIZE)
    big = 3 * CELL_W
    # Ink mask (fill) and outline mask drawn on a wide canvas, then squeezed
    # into the cell if the letter is too wide for the fixed advance.
    fill = Image.new("L", (big, CELL_H), 0)
    outl = Image.new("L", (big, CELL_H), 0)
    cx = big / 2
    ImageDraw.Draw(fill).text((cx, BASELINE), ch, font=f, fill=255, anchor="ms")
    ImageDraw.Draw(outl).text((cx, BASELINE), ch, font=f, fill=255, anchor="ms",
                              stroke_width=STROKE, stroke_fill=255)
    a = np.array(outl)
    xs = np.nonzero(a.max(axis=0) > 0)[0]
    inkw = xs.max() - xs.min() + 1
    maxw = CELL_W - 8
    if inkw > maxw:
        scale = maxw / inkw
        nw = int(round(big * scale))
        fill = fill.resize((nw, CELL_H), Image.LANCZOS)
        outl = outl.resize((nw, CELL_H), Image.LANCZOS)
        pad = (big - nw) // 2
        f2 = Image.new("L", (big, CELL_H), 0)
        o2 = Image.new("L", (big, CELL_H), 0)
        f2.paste(fill, (pad, 0))
        o2.paste(outl, (pad, 0))
        fill, outl = f2, o2
    # Recentre the ink in the cell.
    a = np.array(outl)
    xs = np.nonzero(a.max(axis=0) > 0)[0]
    mid = (xs.min() + xs.max() + 1) / 2
    x0 = int(round(mid - CELL_W / 2))
    fill = fill.crop((x0, 0, x0 + CELL_W, CELL_H))
    outl = outl.crop((x0, 0, x0 + CELL_W, CELL_H))

    # Cream fill with a warm lower half, dark outline, soft shadow.
    t = np.clip((np.arange(CELL_H) - (BASELINE - 70)) / 70.0, 0, 1)[:, None]
    top = np.array(hex_rgb("#fffaf0"), float)
    bot = np.array(hex_rgb("#ffd98a"), float)
    col = (top * (1 - t[..., None]) + bot * t[..., None])[:, 0, :]
    rgb = np.repeat(col[:, None, :], CELL_W, axis=1)
    ink = np.array(hex_rgb(PAL["ink"]), float)
    fa = np.array(fill, float)[..., None] / 255.0
    oa = np.array(outl, float) / 255.0
    shadow = np.array(outl.filter(ImageFilter.GaussianBlur(3)), float) / 255.0
    shadow = np.roll(np.roll(shadow, 4, axis=0), 3, axis=1) * 0.55
    out_rgb = ink[None, None, :] * (1 - fa) + rgb * fa
    alpha = oa + shadow * (1 - oa)
    # Shadow pixels are ink-coloured too, so composite colour stays ink.
    arr = np.zeros((CELL_H, CELL_W, 4), np.uint8)
    arr[..., :3] = np.clip(out_rgb, 0, 255).astype(np.uint8)
    arr[..., 3] = np.clip(alpha * 255, 0, 255).astype(np.uint8)
    return Image.fromarray(arr, "RGBA")


def make(images):
    images.comment("Glyphs: one per character, keyed by the character")
    chars = glyph_chars()
    cells = [render_char(c) for c in chars]
    # One common vertical crop so that every glyph shares the baseline.
    a = np.stack([np.array(c)[:, :, 3] for c in cells])
    rows = np.nonzero(a.max(axis=(0, 2)) > 6)[0]
    y0 = max(0, rows.min() - 2)
    y1 = min(CELL_H, rows.max() + 3)
    if (y1 - y0) % 2:
        y1 += 1
    for ch, img in zip(chars, cells):
        g = downsample(img.crop((0, y0, CELL_W, y1)), 2)
        images.add(ch, file_name(ch), g, hfrac=GLYPH_H_FRAC)

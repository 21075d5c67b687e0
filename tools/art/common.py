"""Shared helpers for the art scripts: palette, deterministic PNG output,
SVG rasterising and the image list that becomes image_info.zqt."""

import io
import os
import subprocess

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
OUT = os.path.join(ROOT, "Data", "Images")

# Screen geometry of the game: a width fraction is multiplied by 3.5, a
# height fraction by 2.0 to give world units.
WORLD_W = 3.5
WORLD_H = 2.0

# One palette for the whole game: warm torch-lit cave, dark brown outline.
INK = "#1c1410"
PAL = {
    "ink": INK,
    "shadow": "#2e211a",
    "brown_d": "#4a3326",
    "brown": "#6e4c33",
    "brown_l": "#9c7048",
    "tan": "#c99a62",
    "sand": "#e8c48c",
    "cream": "#fff3d6",
    "stone_d": "#4b4450",
    "stone": "#7a707a",
    "stone_l": "#a89c9c",
    "stone_ll": "#d2c6bc",
    "fire_r": "#d8401c",
    "fire_o": "#f58a1f",
    "fire_y": "#ffd23f",
    "gold_d": "#a86a12",
    "gold": "#f2b630",
    "gold_l": "#ffe68a",
    "ruby_d": "#7a0f22",
    "ruby": "#d8283a",
    "ruby_l": "#ff8a94",
    "emer_d": "#0f5a32",
    "emer": "#2fb35a",
    "emer_l": "#a8f0b8",
    "saph_d": "#102e78",
    "saph": "#2a6fd8",
    "saph_l": "#9cc8ff",
    "purple_d": "#3a1a5a",
    "purple": "#7a3ab0",
    "purple_l": "#c39ae8",
    "teal": "#2aa8a0",
    "skin": "#e8a878",
    "skin_d": "#b87048",
    "green_d": "#2e4a1e",
    "green": "#5a8a2e",
    "ice_d": "#2a5a88",
    "ice": "#7cc0e8",
    "ice_l": "#e0f6ff",
    "lava_d": "#3a0c08",
    "lava": "#e8401a",
}

FONT_DIR = "/usr/share/fonts/opentype/league-spartan"
DISPLAY_FONT = os.path.join(FONT_DIR, "LeagueSpartan-Black.otf")
DISPLAY_FONT_BOLD = os.path.join(FONT_DIR, "LeagueSpartan-Bold.otf")


def font(size, bold=False):
    return ImageFont.truetype(DISPLAY_FONT_BOLD if bold else DISPLAY_FONT, size)


def hex_rgb(h):
    h = h.lstrip("#")
    return tuple(int(h[i:i + 2], 16) for i in (0, 2, 4))


class Image_List:
    """Collects image_info entries in the order they are made."""

    def __init__(self):
        self.entries = []   # (key, file, wfrac, hfrac) or ("//", comment)
        self.files = {}

    def comment(self, text):
        self.entries.append(("//", text))

    def add(self, key, fname, img, hfrac=None, wfrac=None):
        """Save img as fname (once) and list it under key.  Give one
        fraction; the other follows from the pixel aspect so the picture
        is not stretched on screen."""
        if fname not in self.files:
            save_png(img, fname)
            self.files[fname] = img.size
        w, h = self.files[fname]
        if hfrac is None and wfrac is None:
            raise ValueError(key + ": need a fraction")
        if wfrac is None:
            wfrac = hfrac * WORLD_H * (w / h) / WORLD_W
        elif hfrac is None:
            hfrac = wfrac * WORLD_W * (h / w) / WORLD_H
        self.entries.append((key, fname, wfrac, hfrac))

    def add_exact(self, key, fname, img, wfrac, hfrac):
        """List with both fractions given (screen-filling pictures)."""
        if fname not in self.files:
            save_png(img, fname)
            self.files[fname] = img.size
        self.entries.append((key, fname, wfrac, hfrac))

    def write(self, path):
        lines = [
            "Zoomquest image list, written by tools/art/make_art.py.",
            "Each entry: key, file, pixel rectangle (full = whole image),",
            "width fraction of the screen, height fraction of the screen.",
            "",
            "START",
        ]
        for e in self.entries:
            if e[0] == "//":
                lines.append("")
                lines.append("// " + e[1])
                continue
            key, fname, wf, hf = e
            lines.append("%-22s = %-28s : full : %.5f : %.5f" % (key, fname, wf, hf))
        lines.append("END")
        with open(path, "w") as f:
            f.write("\n".join(lines) + "\n")


def save_png(img, fname):
    """8-bit RGBA, no text or time chunks: same bytes on every run."""
    img = img.convert("RGBA")
    # Fully transparent pixels carry no colour: zero them so that stray
    # rasteriser values neither bloat the file nor change between runs.
    a = np.array(img)
    a[a[:, :, 3] == 0] = 0
    img = Image.fromarray(a, "RGBA")
    img.save(os.path.join(OUT, fname), format="PNG", optimize=True)


def svg_to_image(svg, width=None, height=None):
    """Rasterise SVG text with rsvg-convert; returns an RGBA PIL image."""
    cmd = ["rsvg-convert", "-f", "png"]
    if width:
        cmd += ["-w", str(width)]
    if height:
        cmd += ["-h", str(height)]
    png = subprocess.run(cmd, input=svg.encode(), stdout=subprocess.PIPE,
                         check=True).stdout
    return Image.open(io.BytesIO(png)).convert("RGBA")


def svg_doc(w, h, body, defs=""):
    return ('<svg xmlns="http://www.w3.org/2000/svg" '
            'xmlns:xlink="http://www.w3.org/1999/xlink" '
            'width="%d" height="%d" viewBox="0 0 %d %d">'
            '<defs>%s</defs>%s</svg>' % (w, h, w, h, defs, body))


def alpha_bbox(img, threshold=8):
    a = np.array(img)[:, :, 3]
    ys, xs = np.nonzero(a > threshold)
    if len(xs) == 0:
        return (0, 0, 1, 1)
    return (int(xs.min()), int(ys.min()), int(xs.max()) + 1, int(ys.max()) + 1)


def union_bbox(imgs, threshold=8):
    boxes = [alpha_bbox(i, threshold) for i in imgs]
    return (min(b[0] for b in boxes), min(b[1] for b in boxes),
            max(b[2] for b in boxes), max(b[3] for b in boxes))


def crop_pad(img, box, pad=2):
    x0, y0, x1, y1 = box
    x0 = max(0, x0 - pad)
    y0 = max(0, y0 - pad)
    x1 = min(img.width, x1 + pad)
    y1 = min(img.height, y1 + pad)
    return img.crop((x0, y0, x1, y1))


def crop_tight(img, pad=2, threshold=8):
    return crop_pad(img, alpha_bbox(img, threshold), pad)


def crop_set(imgs, pad=2, threshold=8):
    box = union_bbox(imgs, threshold)
    return [crop_pad(i, box, pad) for i in imgs]


def downsample(img, factor):
    return img.resize((img.width // factor, img.height // factor), Image.LANCZOS)


def text_image(text, size, fill=None, outline=INK, stroke=None, shadow=True,
               gradient=None, tracking=0):
    """A word in the display font: light fill (or a vertical gradient of two
    colours), dark outline and a soft drop shadow.  Drawn at twice the size
    and scaled down for clean edges."""
    s2 = size * 2
    f = font(s2)
    stroke = stroke if stroke is not None else max(2, s2 // 9)
    fill = fill or PAL["cream"]
    # Measure, with letter spacing if asked.
    widths = [f.getlength(c) for c in text]
    total = sum(widths) + tracking * 2 * (len(text) - 1)
    asc, desc = f.getmetrics()
    W = int(total + stroke * 4 + s2 * 0.3)
    H = int(asc + desc + stroke * 4 + s2 * 0.2)
    ox = stroke * 2 + s2 * 0.1
    oy = stroke * 2 + asc

    def draw_text(d, col, scol, sw, dx=0, dy=0):
        x = ox + dx
        for c, wd in zip(text, widths):
            d.text((x, oy + dy), c, font=f, fill=col, anchor="ls",
                   stroke_width=sw, stroke_fill=scol)
            x += wd + tracking * 2

    layer = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    if shadow:
        sh = Image.new("RGBA", (W, H), (0, 0, 0, 0))
        draw_text(ImageDraw.Draw(sh), (0, 0, 0, 150), (0, 0, 0, 150), stroke,
                  dx=s2 * 0.04, dy=s2 * 0.06)
        sh = sh.filter(ImageFilter.GaussianBlur(s2 * 0.03))
        layer = Image.alpha_composite(layer, sh)
    outl = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    draw_text(ImageDraw.Draw(outl), outline, outline, stroke)
    layer = Image.alpha_composite(layer, outl)
    # Fill mask, then colour it (flat or gradient).
    mask = Image.new("L", (W, H), 0)
    draw_text(ImageDraw.Draw(mask), 255, 255, 0)
    if gradient:
        top, bot = (np.array(hex_rgb(c), float) for c in gradient)
        y0 = oy - asc * 0.75
        y1 = oy
        t = np.clip((np.arange(H) - y0) / max(1, y1 - y0), 0, 1)[:, None]
        col = top[None, :] * (1 - t) + bot[None, :] * t
        arr = np.zeros((H, W, 4), np.uint8)
        arr[:, :, :3] = np.repeat(col[:, None, :], W, axis=1).astype(np.uint8)
        arr[:, :, 3] = 255
        fillimg = Image.fromarray(arr, "RGBA")
    else:
        fillimg = Image.new("RGBA", (W, H), hex_rgb(fill) + (255,))
    layer.paste(fillimg, (0, 0), mask)
    layer = crop_tight(layer, pad=4)
    return downsample_to(layer, 0.5)


def downsample_to(img, f):
    return img.resize((max(1, round(img.width * f)), max(1, round(img.height * f))),
                      Image.LANCZOS)

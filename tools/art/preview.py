"""Contact sheets for looking at the art (written to /tmp/zq_preview)."""

import glob
import os
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from common import OUT  # noqa: E402

DEST = "/tmp/zq_preview"


def checker(w, h, a=(60, 50, 45), b=(200, 190, 170), s=16):
    img = Image.new("RGBA", (w, h), a + (255,))
    d = ImageDraw.Draw(img)
    for y in range(0, h, s):
        for x in range(0, w, s):
            if (x // s + y // s) % 2:
                d.rectangle((x, y, x + s - 1, y + s - 1), fill=b + (255,))
    return img


def sheet(files, name, cell=None, cols=8, bg="checker", scale=1.0):
    imgs = [Image.open(f).convert("RGBA") for f in files]
    if scale != 1.0:
        imgs = [i.resize((max(1, int(i.width * scale)), max(1, int(i.height * scale)))) for i in imgs]
    cw = cell or max(i.width for i in imgs) + 8
    ch = max(i.height for i in imgs) + 20
    rows = (len(imgs) + cols - 1) // cols
    W, H = cw * min(cols, len(imgs)), ch * rows
    base = checker(W, H) if bg == "checker" else Image.new("RGBA", (W, H), bg)
    d = ImageDraw.Draw(base)
    for k, (f, i) in enumerate(zip(files, imgs)):
        x, y = (k % cols) * cw, (k // cols) * ch
        base.alpha_composite(i, (x + 4, y + 4))
        d.text((x + 2, y + ch - 14), os.path.basename(f)[:22], fill=(255, 255, 0, 255))
    os.makedirs(DEST, exist_ok=True)
    base.save(os.path.join(DEST, name + ".png"))


def tile2(f):
    i = Image.open(f).convert("RGBA")
    out = Image.new("RGBA", (i.width * 2, i.height * 2))
    for y in range(2):
        for x in range(2):
            out.paste(i, (x * i.width, y * i.height))
    os.makedirs(DEST, exist_ok=True)
    out.save(os.path.join(DEST, "tile_" + os.path.basename(f)))


if __name__ == "__main__":
    what = sys.argv[1]
    if what == "tile":
        for f in sys.argv[2:]:
            tile2(os.path.join(OUT, f))
    else:
        pats = sys.argv[2:]
        files = sorted(sum([glob.glob(os.path.join(OUT, p)) for p in pats], []))
        sheet(files, what, cols=int(os.environ.get("COLS", 8)),
              scale=float(os.environ.get("SCALE", 1.0)))

#!/usr/bin/env python3
"""Draws the desktop icon: a gold Z on a torch-lit cave stone, at 128 pixels and at
the other hicolor sizes (drawn at each size, not scaled down). Deterministic."""
import sys
from PIL import Image, ImageDraw, ImageFilter, ImageFont

SIZE = 128
FONT = "/usr/share/fonts/opentype/league-spartan/LeagueSpartan-Bold.otf"

SIZES = (16, 24, 32, 48, 64, 128, 256)

def draw(size):
    def at(v):  # lengths are given for 128 pixels
        return max(1, round(v * size / SIZE))
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    glow = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(glow)
    d.ellipse((at(14), at(14), size - at(14), size - at(14)), fill=(255, 170, 60, 150))
    glow = glow.filter(ImageFilter.GaussianBlur(at(10)))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((at(6), at(6), size - at(6), size - at(6)), radius=at(26), fill=(58, 40, 30, 255),
                        outline=(28, 20, 16, 255), width=at(5))
    img.alpha_composite(glow)
    font = ImageFont.truetype(FONT, at(92))
    d = ImageDraw.Draw(img)
    d.text((size // 2, size // 2 + at(6)), "Z", font=font, anchor="mm", fill=(255, 214, 70, 255),
           stroke_width=at(5), stroke_fill=(28, 20, 16, 255))
    return img

def main(folder):
    for size in SIZES:
        name = "zoomquest.png" if size == SIZE else f"icons/zoomquest-{size}.png"
        draw(size).save(f"{folder}/{name}", optimize=True)

if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "tools/install")

#!/usr/bin/env python3
"""Draws the desktop icon: a gold Z on a torch-lit cave stone. Deterministic."""
import sys
from PIL import Image, ImageDraw, ImageFilter, ImageFont

SIZE = 128
FONT = "/usr/share/fonts/opentype/league-spartan/LeagueSpartan-Bold.otf"

def main(out):
    img = Image.new("RGBA", (SIZE, SIZE), (0, 0, 0, 0))
    glow = Image.new("RGBA", (SIZE, SIZE), (0, 0, 0, 0))
    d = ImageDraw.Draw(glow)
    d.ellipse((14, 14, SIZE - 14, SIZE - 14), fill=(255, 170, 60, 150))
    glow = glow.filter(ImageFilter.GaussianBlur(10))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((6, 6, SIZE - 6, SIZE - 6), radius=26, fill=(58, 40, 30, 255),
                        outline=(28, 20, 16, 255), width=5)
    img.alpha_composite(glow)
    font = ImageFont.truetype(FONT, 92)
    d = ImageDraw.Draw(img)
    d.text((SIZE // 2, SIZE // 2 + 6), "Z", font=font, anchor="mm", fill=(255, 214, 70, 255),
           stroke_width=5, stroke_fill=(28, 20, 16, 255))
    img.save(out, optimize=True)

if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "tools/install/zoomquest.png")

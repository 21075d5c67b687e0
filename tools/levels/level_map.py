#!/usr/bin/python3
"""Draws a level as a strip along its distance, for designers.

Reads the records that `zqlevel dump FILE` prints (the game's own reader and object
set-up) on standard input and writes a PNG: the run wrapped into rows of 1000 units,
the corridor's width across each row (the left wall at the top), every object by type
where it lies across the corridor, the look (scenery) and the fog above each row, and
checkpoints, camera turns and torches marked. Use it through `tools/zqlevel map`.
"""

import argparse
import sys

from PIL import Image, ImageDraw, ImageFont

ROW = 1000          # distance per row
SCALE = 1.0         # pixels per unit of distance
LEFT, RIGHT = 74, 26
LANES = 110         # pixels across the corridor
BAND = 13           # look and fog bands above each row
NOTE = 28           # distances and notes under each row
GAP = 16

LOOK_COLOURS = {"CAVE": (150, 118, 84), "ICE": (150, 200, 235), "LAVA": (220, 90, 40),
                "CRYSTAL": (160, 110, 210)}

ITEMS = {3: ("B", (255, 150, 30), "boost"), 4: ("S", (40, 200, 220), "spinner"),
         5: ("b", (240, 240, 225), "bone"), 7: ("C", (120, 170, 255), "clock"),
         9: ("K", (175, 110, 235), "cloak")}


def font(size):
    for path in ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                 "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"):
        try:
            return ImageFont.truetype(path, size)
        except OSError:
            pass
    return ImageFont.load_default()


def read(stream):
    records = []
    for line in stream:
        f = line.rstrip("\n").split("\t")
        if len(f) < 9:
            continue
        words = f[9:]
        attrs = dict(zip(words[0::2], words[1::2]))
        records.append({"line": int(f[0]), "code": int(f[1]), "name": f[2], "d": float(f[3]),
                        "x": float(f[4]), "y": float(f[5]), "size": float(f[6]),
                        "hw": float(f[7]), "hh": float(f[8]), "attrs": attrs})
    return records


def look_of(attrs):
    if attrs.get("ALPHA", "1") in ("0", "0.0"):
        return "CAVE"
    wall = attrs.get("WALL", "WALL")
    return wall.split("_", 1)[1] if "_" in wall else "CAVE"


def look_colour(name):
    if name in LOOK_COLOURS:
        return LOOK_COLOURS[name]
    h = sum(ord(c) * (i + 7) for i, c in enumerate(name))
    return (80 + h % 150, 80 + (h // 7) % 150, 80 + (h // 49) % 150)


def fnum(v):
    return ("%.2f" % v).rstrip("0").rstrip(".")


class Map:
    def __init__(self, records, title):
        self.records = sorted(records, key=lambda r: (r["d"], r["line"]))
        self.length = max([r["d"] for r in records] + [1.0])
        self.rows = int(self.length // ROW) + 1
        self.row_h = 2 * BAND + LANES + NOTE + GAP
        self.legend_h = 84
        self.w = LEFT + int(ROW * SCALE) + RIGHT
        self.h = 40 + self.rows * self.row_h + self.legend_h
        self.img = Image.new("RGB", (self.w, self.h), (250, 248, 242))
        self.draw = ImageDraw.Draw(self.img)
        self.small = font(10)
        self.text = font(12)
        self.title = title

    def origin(self, d):
        row = min(int(d // ROW), self.rows - 1)
        return row, LEFT + (d - row * ROW) * SCALE, 40 + row * self.row_h

    def lane_y(self, top, x):
        return top + 2 * BAND + max(0.0, min(1.0, x)) * LANES

    def frame(self):
        dr = self.draw
        dr.text((LEFT, 10), self.title, fill=(20, 20, 20), font=font(15))
        for row in range(self.rows):
            top = 40 + row * self.row_h
            start = row * ROW
            end = min(ROW, self.length - start + 40)
            x1 = LEFT + end * SCALE
            lanes = (LEFT, top + 2 * BAND, x1, top + 2 * BAND + LANES)
            dr.rectangle(lanes, fill=(232, 226, 214), outline=(120, 110, 100))
            for lane in (0.1, 0.3, 0.5, 0.7, 0.9):
                y = self.lane_y(top, lane)
                dr.line((LEFT, y, x1, y), fill=(215, 208, 195))
            for d in range(0, int(end) + 1, 100):
                x = LEFT + d * SCALE
                dr.line((x, lanes[3], x, lanes[3] + 3), fill=(90, 90, 90))
                if d % 200 == 0:
                    dr.text((x + 2, lanes[3] + 1), str(start + d), fill=(90, 90, 90), font=self.small)
            dr.text((4, top), "look", fill=(60, 60, 60), font=self.small)
            dr.text((4, top + BAND), "fog", fill=(60, 60, 60), font=self.small)
            dr.text((4, top + 2 * BAND), "left wall", fill=(60, 60, 60), font=self.small)
            dr.text((4, top + 2 * BAND + LANES - 12), "right wall", fill=(60, 60, 60), font=self.small)

    def bands(self):
        """The look and the fog from each change to the next (the level starts in the cave)."""
        looks = [(0.0, "CAVE")]
        fogs = [(0.0, (0.0, 0.0, 0.0), 3.0, 20.0)]
        for r in self.records:
            a = r["attrs"]
            if r["code"] == 14:
                looks.append((r["d"], look_of(a)))
            elif r["code"] == 13:
                try:
                    fogs.append((r["d"], (float(a["R"]), float(a["G"]), float(a["B"])),
                                 float(a["START_DIST"]), float(a["END_DIST"])))
                except (KeyError, ValueError):
                    pass
        end = self.length + 40
        for i, (d, name) in enumerate(looks):
            stop = looks[i + 1][0] if i + 1 < len(looks) else end
            self.span(d, stop, 0, look_colour(name), name)
        for i, (d, colour, start, far) in enumerate(fogs):
            stop = fogs[i + 1][0] if i + 1 < len(fogs) else end
            rgb = tuple(int(255 * max(0.0, min(1.0, c))) for c in colour)
            self.span(d, stop, 1, rgb, "%s-%s" % (fnum(start), fnum(far)))

    def span(self, a, b, band, colour, label):
        d = a
        first = True
        while d < b:
            row, x, top = self.origin(d)
            row_end = min(b, (row + 1) * ROW)
            x1 = LEFT + (row_end - row * ROW) * SCALE
            y = top + band * BAND
            self.draw.rectangle((x, y + 1, x1, y + BAND - 1), fill=colour)
            if (first or x == LEFT) and (row_end - d) * SCALE > 24:
                ink = (0, 0, 0) if sum(colour) > 330 else (255, 255, 255)
                self.draw.text((x + 3, y), label, fill=ink, font=self.small)
            first = False
            d = row_end

    def objects(self):
        dr = self.draw
        for r in self.records:
            code, d, a = r["code"], r["d"], r["attrs"]
            row, x, top = self.origin(d)
            y = self.lane_y(top, r["x"])
            half = max(3.0, r["size"] * r["hw"] * LANES)   # half its width across the corridor
            bottom = top + 2 * BAND + LANES
            if code in (0, 16, 17):
                value = int(a.get("VALUE", "0")) if a.get("VALUE", "0").lstrip("-").isdigit() else 0
                rad = 2.5 if value < 50 else 3.5 if value < 100 else 5
                high = r["y"] < 0.9
                dr.ellipse((x - rad, y - rad, x + rad, y + rad), fill=(235, 185, 20),
                           outline=(150, 100, 0) if not high else (30, 90, 220), width=1 if not high else 2)
            elif code == 1:
                dr.ellipse((x - 5, y - half, x + 5, y + half), fill=(128, 128, 128), outline=(40, 40, 40))
            elif code == 2:
                place = a.get("PLACEMENT", "floor")
                if place == "left":
                    t = top + 2 * BAND
                    dr.polygon([(x - 5, t), (x + 5, t), (x, t + 2 * half)], fill=(215, 30, 30), outline=(90, 0, 0))
                elif place == "right":
                    dr.polygon([(x - 5, bottom), (x + 5, bottom), (x, bottom - 2 * half)], fill=(215, 30, 30),
                               outline=(90, 0, 0))
                else:
                    dr.polygon([(x - 5, y + half), (x + 5, y), (x - 5, y - half)], fill=(215, 30, 30),
                               outline=(90, 0, 0))
            elif code == 15:
                dr.polygon([(x - 6, y - half), (x - 6, y + half), (x + 6, y)], fill=(120, 40, 170),
                           outline=(50, 0, 80))
            elif code == 18:
                dr.ellipse((x - 7, y - 7, x + 7, y + 7), fill=(125, 80, 40), outline=(50, 25, 5))
                dr.line((x - 8, y, x - 22, y), fill=(125, 80, 40), width=2)
                dr.polygon([(x - 24, y), (x - 19, y - 4), (x - 19, y + 4)], fill=(125, 80, 40))
            elif code == 8:
                dr.ellipse((x - 8, y - half, x + 8, y + half), fill=(25, 20, 20), outline=(0, 0, 0))
            elif code in ITEMS:
                letter, colour, _ = ITEMS[code]
                dr.rounded_rectangle((x - 6, y - 6, x + 6, y + 6), 3, fill=colour, outline=(20, 20, 20))
                dr.text((x - 3, y - 7), letter, fill=(0, 0, 0), font=self.small)
            elif code == 6:
                dr.rectangle((x - 6, y - 6, x + 6, y + 6), fill=(60, 180, 60), outline=(10, 70, 10))
                dr.line((x - 4, y + 3, x, y - 4, x + 4, y + 3), fill=(255, 255, 255), width=2)
            elif code == 12:
                dr.polygon([(x, y - 8), (x + 5, y + 2), (x, y + 6), (x - 5, y + 2)], fill=(255, 140, 0),
                           outline=(150, 60, 0))
            elif code == 10:
                dr.line((x, top + 2 * BAND, x, bottom), fill=(30, 80, 220), width=2)
                hint = a.get("HINT", "None")
                label = "checkpoint" + ("" if hint in ("None", "NONE") else ": " + hint.replace("HINT_", "").lower())
                dr.text((x + 3, bottom + 14), label, fill=(30, 80, 220), font=self.small)
            elif code == 11:
                dr.polygon([(x, bottom + 14), (x - 4, bottom + 22), (x + 4, bottom + 22)], fill=(90, 90, 90))
                label = "turn %s %s" % (a.get("Yaw", "?"), a.get("Pitch", "?"))
                dr.text((x + 5, bottom + 14), label, fill=(110, 110, 110), font=self.small)
            elif code in (13, 14):
                band = 1 if code == 13 else 0
                dr.line((x, top + band * BAND, x, top + (band + 1) * BAND), fill=(0, 0, 0), width=2)

    def legend(self):
        dr = self.draw
        y0 = self.h - self.legend_h + 6
        entries = [("rock", 1), ("floor spike", 2), ("wall spike", -2), ("stalactite", 15), ("boulder", 18),
                   ("hole", 8), ("treasure", 0), ("treasure up high", -1), ("spring", 6), ("torch", 12)]
        entries += [(name, code) for code, (_, _, name) in sorted(ITEMS.items())]
        entries += [("checkpoint", 10), ("camera turn", 11)]
        x, y = LEFT, y0
        for name, code in entries:
            self.symbol(code, x + 8, y + 8)
            dr.text((x + 20, y + 2), name, fill=(30, 30, 30), font=self.text)
            x += 30 + int(dr.textlength(name, font=self.text)) + 12
            if x > self.w - 140:
                x, y = LEFT, y + 22
        dr.text((LEFT, y + 24), "look: the texture set the scenery changes to.   fog: its colour, and where it starts "
                "and where nothing shows through it (screen depth; 3-20 is the plain cave)",
                fill=(30, 30, 30), font=self.small)

    def symbol(self, code, x, y):
        dr = self.draw
        if code == 1:
            dr.ellipse((x - 5, y - 7, x + 5, y + 7), fill=(128, 128, 128), outline=(40, 40, 40))
        elif code == 2:
            dr.polygon([(x - 5, y + 7), (x + 5, y), (x - 5, y - 7)], fill=(215, 30, 30), outline=(90, 0, 0))
        elif code == -2:
            dr.polygon([(x - 5, y - 7), (x + 5, y - 7), (x, y + 7)], fill=(215, 30, 30), outline=(90, 0, 0))
        elif code == 15:
            dr.polygon([(x - 6, y - 7), (x - 6, y + 7), (x + 6, y)], fill=(120, 40, 170), outline=(50, 0, 80))
        elif code == 18:
            dr.ellipse((x - 7, y - 7, x + 7, y + 7), fill=(125, 80, 40), outline=(50, 25, 5))
        elif code == 8:
            dr.ellipse((x - 8, y - 6, x + 8, y + 6), fill=(25, 20, 20))
        elif code == 0:
            dr.ellipse((x - 4, y - 4, x + 4, y + 4), fill=(235, 185, 20), outline=(150, 100, 0))
        elif code == -1:
            dr.ellipse((x - 4, y - 4, x + 4, y + 4), fill=(235, 185, 20), outline=(30, 90, 220), width=2)
        elif code == 6:
            dr.rectangle((x - 6, y - 6, x + 6, y + 6), fill=(60, 180, 60), outline=(10, 70, 10))
            dr.line((x - 4, y + 3, x, y - 4, x + 4, y + 3), fill=(255, 255, 255), width=2)
        elif code == 12:
            dr.polygon([(x, y - 8), (x + 5, y + 2), (x, y + 6), (x - 5, y + 2)], fill=(255, 140, 0),
                       outline=(150, 60, 0))
        elif code in ITEMS:
            letter, colour, _ = ITEMS[code]
            dr.rounded_rectangle((x - 6, y - 6, x + 6, y + 6), 3, fill=colour, outline=(20, 20, 20))
            dr.text((x - 3, y - 7), letter, fill=(0, 0, 0), font=self.small)
        elif code == 10:
            dr.line((x, y - 8, x, y + 8), fill=(30, 80, 220), width=2)
        elif code == 11:
            dr.polygon([(x, y - 4), (x - 4, y + 4), (x + 4, y + 4)], fill=(90, 90, 90))

    def render(self, out):
        self.frame()
        self.bands()
        self.objects()
        self.legend()
        self.img.save(out, optimize=False)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("-o", required=True, help="PNG to write")
    ap.add_argument("--title", default="level")
    args = ap.parse_args()
    records = read(sys.stdin)
    if not records:
        sys.exit("level_map: no records to draw")
    dangers = sum(1 for r in records if r["code"] in (1, 2, 8, 15, 18))
    title = "%s: %.0f long (%.0f s at running speed), %d records, %d obstacles" % (
        args.title, max(r["d"] for r in records), max(r["d"] for r in records) / 60.0, len(records), dangers)
    Map(records, title).render(args.o)


if __name__ == "__main__":
    main()

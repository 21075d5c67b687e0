"""Pickups and props: carried items, springs, torches and treasures."""

import math

from common import INK, PAL, crop_tight, crop_set
from shapes import (render, path, poly, circle, ellipse, lin_grad, rad_grad,
                    star, glint)


# ---------------------------------------------------------------- helpers

def gem(cx, cy, r, dark, mid, light, gid, sides=8, squash=1.0):
    """A cut gem seen face on: outer girdle, a table and shaded facets."""
    outer = [(cx + r * math.sin(2 * math.pi * (i + 0.5) / sides),
              cy - r * squash * math.cos(2 * math.pi * (i + 0.5) / sides)) for i in range(sides)]
    inner = [(cx + 0.55 * r * math.sin(2 * math.pi * (i + 0.5) / sides),
              cy - 0.55 * r * squash * math.cos(2 * math.pi * (i + 0.5) / sides)) for i in range(sides)]
    s = poly(outer, mid, INK, 4)
    for i in range(sides):
        j = (i + 1) % sides
        a = 2 * math.pi * (i + 1) / sides
        lit = -math.sin(a) * 0.5 + math.cos(a) * 0.7  # light from upper left
        col = light if lit > 0.35 else (mid if lit > -0.35 else dark)
        s += poly([outer[i], outer[j], inner[j], inner[i]], col, INK, 1.5)
    s += poly(inner, "url(#%s)" % gid, INK, 2)
    s += glint(cx - r * 0.22, cy - r * 0.25 * squash, r * 0.3)
    defs = lin_grad(gid, [(0, light), (1, mid)], 0, 0, 1, 1)
    return defs, s


def coin(cx, cy, r, tilt=1.0, mark=True):
    s = ellipse(cx, cy + 3, r, r * tilt, "#a86a12", INK, 3.5)
    s += ellipse(cx, cy, r, r * tilt, "url(#coin)", INK, 3.5)
    s += ellipse(cx, cy, r * 0.72, r * 0.72 * tilt, "none", "#a86a12", 3)
    if mark:
        s += path("M %.1f %.1f l %.1f %.1f l %.1f %.1f Z" % (
            cx, cy - r * 0.45 * tilt, r * 0.35, r * 0.75 * tilt, -r * 0.7, 0), "#ffe68a", "#a86a12", 2)
    return s


COIN_DEFS = lin_grad("coin", [(0, "#fff2a8"), (0.5, "#f2b630"), (1, "#c0801a")], 0, 0, 1, 1)


# ---------------------------------------------------------------- items

def bone():
    W, H = 150, 150
    body = ('<g transform="rotate(-35 75 75)">'
            + path("M 40 64 L 110 64 A 17 17 0 1 1 128 75 A 17 17 0 1 1 110 86 L 40 86 "
                   "A 17 17 0 1 1 22 75 A 17 17 0 1 1 40 64 Z", "#fff3d6", INK, 5)
            + path("M 40 70 L 108 70", "none", "#ffffff", 4)
            + path("M 42 82 L 108 82", "none", "#d8c09a", 4)
            + '</g>')
    return render(W, H, body)


def boost():
    """A fizzing potion of speed: the boost that smashes rocks."""
    W, H = 140, 160
    defs = (lin_grad("liq", [(0, "#ffd23f"), (0.5, "#f58a1f"), (1, "#d8401c")]) +
            lin_grad("glass", [(0, "#ffffff"), (1, "#cfe8f0")], 0, 0, 1, 0))
    body = path("M 56 18 L 84 18 L 84 52 Q 122 66 122 104 Q 122 148 70 148 "
                "Q 18 148 18 104 Q 18 66 56 52 Z", "#e8f4f8", INK, 5)
    body += path("M 24 96 Q 70 84 116 96 Q 118 144 70 144 Q 22 144 24 96 Z", "url(#liq)", "none", 0)
    body += path("M 56 18 L 84 18 L 84 52 Q 122 66 122 104 Q 122 148 70 148 "
                 "Q 18 148 18 104 Q 18 66 56 52 Z", "none", INK, 5)
    body += poly([(76, 80), (56, 112), (70, 112), (62, 138), (88, 102), (74, 102), (82, 80)],
                  "#fff6c0", INK, 3)
    body += '<rect x="50" y="6" width="40" height="18" rx="5" fill="#8a5a36" stroke="%s" stroke-width="4"/>' % INK
    body += path("M 32 82 Q 30 100 36 116", "none", "#ffffff", 6, 'opacity="0.8"')
    for x, y, r in ((96, 30, 7), (108, 14, 5), (88, 8, 4)):
        body += circle(x, y, r, "#ffd23f", INK, 2.5)
    return render(W, H, body, defs)


def spinner():
    """A four-bladed pinwheel; the game spins it."""
    W, H = 150, 150
    cx, cy = 75, 75
    cols = ["#d8283a", "#f2b630", "#2fb35a", "#2a6fd8"]
    body = ""
    for i, c in enumerate(cols):
        a = i * 90
        body += ('<g transform="rotate(%d %d %d)">' % (a, cx, cy) +
                 path("M 75 75 L 75 12 Q 120 20 112 60 Z", c, INK, 4) +
                 path("M 75 75 L 112 60 Q 100 70 75 75 Z", "#1c1410", "none", 0, 'opacity="0.25"') +
                 '</g>')
    body += circle(cx, cy, 12, "#fff3d6", INK, 4)
    body += circle(cx, cy, 4, INK, "none", 0)
    return render(W, H, body)


def cloak():
    W, H = 150, 160
    defs = lin_grad("clk", [(0, PAL["purple_l"]), (0.45, PAL["purple"]), (1, PAL["purple_d"])], 0, 0, 1, 1)
    body = path("M 75 10 Q 108 12 110 50 Q 130 100 140 148 Q 108 140 75 150 Q 42 140 10 148 "
                "Q 20 100 40 50 Q 42 12 75 10 Z", "url(#clk)", INK, 5)
    body += path("M 52 60 Q 60 30 75 26 Q 90 30 98 60 Q 90 74 75 76 Q 60 74 52 60 Z", "#1e0c30", INK, 3)
    body += path("M 60 100 Q 62 130 56 146 M 92 100 Q 90 130 96 146", "none", PAL["purple_d"], 4)
    body += circle(75, 84, 9, "#f2b630", INK, 3)
    for x, y, r in ((28, 30, 10), (124, 40, 8), (132, 110, 9), (20, 96, 7)):
        body += glint(x, y, r, "#fff6c0")
    return render(W, H, body, defs)


def clock():
    W, H = 150, 160
    defs = (lin_grad("case", [(0, "#fff2a8"), (0.5, "#f2b630"), (1, "#a86a12")], 0, 0, 1, 1) +
            rad_grad("face", [(0, "#ffffff"), (1, "#f0e2c0")]))
    body = circle(75, 18, 11, "none", INK, 9) + circle(75, 18, 11, "none", "#f2b630", 4)
    body += '<rect x="64" y="22" width="22" height="16" rx="4" fill="url(#case)" stroke="%s" stroke-width="4"/>' % INK
    body += circle(75, 94, 60, "url(#case)", INK, 5)
    body += circle(75, 94, 47, "url(#face)", INK, 4)
    for i in range(12):
        a = 2 * math.pi * i / 12
        r0 = 38 if i % 3 else 33
        body += path("M %.1f %.1f L %.1f %.1f" % (75 + r0 * math.sin(a), 94 - r0 * math.cos(a),
                                                   75 + 43 * math.sin(a), 94 - 43 * math.cos(a)),
                     "none", INK, 3 if i % 3 else 5)
    body += path("M 75 94 L 75 60", "none", INK, 6) + path("M 75 94 L 100 106", "none", INK, 5)
    body += path("M 75 94 L 52 70", "none", "#d8283a", 2.5)
    body += circle(75, 94, 5, "#d8283a", INK, 2)
    body += path("M 40 66 Q 52 50 70 46", "none", "#ffffff", 5, 'opacity="0.9"')
    return render(W, H, body, defs)


# ---------------------------------------------------------------- springs

SW, SH = 280, 160


def spring_pad():
    """The loaded spring lying flat: a round pad seen from above."""
    defs = rad_grad("pad", [(0, "#ffe68a"), (0.7, "#f2b630"), (1, "#a86a12")], 0.4, 0.35, 0.7)
    body = ellipse(SW / 2, SH / 2, SW / 2 - 6, SH / 2 - 6, "#8a8080", INK, 5)
    body += ellipse(SW / 2, SH / 2, SW / 2 - 26, SH / 2 - 20, "url(#pad)", INK, 4)
    body += ellipse(SW / 2, SH / 2, SW / 2 - 56, SH / 2 - 40, "none", "#d8401c", 8)
    body += ellipse(SW / 2, SH / 2, 14, 10, "#d8401c", INK, 3)
    for i in range(8):
        a = 2 * math.pi * i / 8
        body += circle(SW / 2 + (SW / 2 - 16) * math.cos(a), SH / 2 + (SH / 2 - 13) * math.sin(a),
                       4, "#d2c6bc", INK, 1.5)
    return render(SW, SH, body, defs)


def spring_side(ext, tilt=0.0, lines=False):
    """The spring from the front: a coil lifting a pad. ext 0..1."""
    defs = lin_grad("plate", [(0, "#ffe68a"), (1, "#c0801a")])
    base_y = SH - 12
    top_y = base_y - 30 - ext * 92
    cx = SW / 2
    body = ""
    if lines:
        for dx in (-1, 1):
            for k in range(3):
                x = cx + dx * (60 + k * 24)
                body += path("M %.1f %.1f L %.1f %.1f" % (x, top_y + 6 + k * 8, x + dx * 18, top_y - 14 + k * 8),
                             "none", "#ffd23f", 5)
    # Coil: zig-zag of ellipse halves between base and pad.
    n = 5
    span = base_y - 8 - (top_y + 10)
    for i in range(n):
        y = base_y - 8 - span * (i + 0.5) / n
        body += ellipse(cx + tilt * (i + 0.5) / n * 20, y, 46, 9, "none", INK, 9)
        body += ellipse(cx + tilt * (i + 0.5) / n * 20, y, 46, 9, "none", "#d2c6bc", 4)
    body += '<rect x="%.1f" y="%.1f" width="%.1f" height="16" rx="5" fill="#6e5442" stroke="%s" stroke-width="4"/>' % (
        cx - 80, base_y - 10, 160, INK)
    body += ('<g transform="rotate(%.1f %.1f %.1f)">' % (tilt * 6, cx + tilt * 20, top_y) +
             '<rect x="%.1f" y="%.1f" width="180" height="20" rx="8" fill="url(#plate)" stroke="%s" stroke-width="4"/>'
             % (cx - 90 + tilt * 20, top_y - 10, INK) +
             path("M %.1f %.1f L %.1f %.1f" % (cx - 76 + tilt * 20, top_y - 3, cx + 40 + tilt * 20, top_y - 3),
                  "none", "#fff6c0", 3) + '</g>')
    return render(SW, SH, body, defs)


# ---------------------------------------------------------------- torch

TW, TH = 96, 220


def torch(k):
    defs = (lin_grad("wood", [(0, "#9c7048"), (1, "#4a3326")], 0, 0, 1, 0) +
            rad_grad("halo", [(0, "#ffd23f"), (0.4, "#f58a1f"), (1, "#f58a1f")], 0.5, 0.5, 0.5))
    sway = (-6, 3, 7)[k]
    tall = (1.0, 0.88, 1.08)[k]
    body = ('<ellipse cx="48" cy="%.1f" rx="46" ry="%.1f" fill="url(#halo)" opacity="0.25"/>'
            % (74 - 8 * tall, 62 * tall))
    # Handle and iron bracket.
    body += path("M 40 100 L 56 100 L 52 214 L 44 214 Z", "url(#wood)", INK, 4)
    body += '<rect x="30" y="92" width="36" height="22" rx="4" fill="#4b4450" stroke="%s" stroke-width="4"/>' % INK
    body += path("M 34 102 L 62 102", "none", "#8a8080", 3)
    body += '<rect x="36" y="150" width="24" height="10" rx="3" fill="#4b4450" stroke="%s" stroke-width="3"/>' % INK
    # Flame: outer red-orange, inner yellow, core white.
    top = 94 - 84 * tall
    body += path("M 26 94 Q 16 58 %.1f %.1f Q 74 50 70 94 Z" % (48 + sway, top), "#e8401a", INK, 4)
    body += path("M 34 94 Q 28 66 %.1f %.1f Q 66 64 62 94 Z" % (48 + sway * 0.7, top + 26), "#f58a1f", "none", 0)
    body += path("M 40 94 Q 38 76 %.1f %.1f Q 58 78 56 94 Z" % (48 + sway * 0.4, top + 48), "#ffd23f", "none", 0)
    body += ellipse(48, 86, 6, 8, "#fff6c0", "none", 0)
    for i, (x, y) in enumerate(((20, 30), (74, 22), (64, 8))):
        if (i + k) % 3 != 2:
            body += circle(x + sway, y + 10 * ((i + k) % 2), 3, "#ffd23f", "none", 0)
    return render(TW, TH, body, defs)


# ---------------------------------------------------------------- treasure

def treasure(name):
    W, H = 150, 150
    defs = COIN_DEFS
    body = ""
    if name == "COIN":
        body = coin(75, 75, 56)
        body += glint(48, 44, 14)
    elif name == "COINS":
        for i, (x, y) in enumerate(((75, 122), (72, 108), (78, 94), (73, 80), (76, 66))):
            body += coin(x, y, 46, 0.35, mark=False)
        body += coin(40, 118, 24, 1.0, mark=False) + coin(116, 116, 22, 1.0, mark=False)
        body += coin(76, 40, 30, 1.0)
        body += glint(66, 26, 10)
    elif name == "BAR":
        defs += lin_grad("bar", [(0, "#fff2a8"), (0.6, "#f2b630"), (1, "#a86a12")], 0, 0, 0, 1)
        body = poly([(30, 60), (120, 60), (140, 110), (10, 110)], "url(#bar)", INK, 4)
        body += poly([(30, 60), (120, 60), (112, 48), (38, 48)], "#ffe68a", INK, 4)
        body += path("M 50 86 L 100 86", "none", "#a86a12", 4)
        body += glint(40, 72, 10)
    elif name == "RUBY":
        d, s = gem(75, 75, 62, PAL["ruby_d"], PAL["ruby"], PAL["ruby_l"], "gr", 6)
        defs += d
        body = s
    elif name == "EMERALD":
        d, s = gem(75, 75, 60, PAL["emer_d"], PAL["emer"], PAL["emer_l"], "ge", 8, 1.15)
        defs += d
        body = s
    elif name == "SAPPHIRE":
        d, s = gem(75, 75, 62, PAL["saph_d"], PAL["saph"], PAL["saph_l"], "gs", 10, 0.9)
        defs += d
        body = s
    elif name == "DIAMOND":
        defs += lin_grad("dia", [(0, "#ffffff"), (1, "#a8e0f8")], 0, 0, 1, 1)
        body = poly([(30, 50), (50, 28), (100, 28), (120, 50), (75, 126)], "#d8f4ff", INK, 4)
        body += poly([(30, 50), (120, 50), (75, 126)], "#a8e0f8", INK, 2)
        body += poly([(50, 28), (62, 50), (75, 28), (88, 50), (100, 28)], "url(#dia)", INK, 2)
        body += poly([(62, 50), (75, 126), (88, 50)], "#ffffff", INK, 2)
        body += glint(48, 40, 12) + glint(110, 82, 8)
    elif name == "GOBLET":
        defs += lin_grad("gob", [(0, "#fff2a8"), (0.5, "#f2b630"), (1, "#a86a12")], 0, 0, 1, 0)
        body = path("M 30 20 L 120 20 Q 120 78 80 86 L 80 112 Q 104 118 108 134 L 42 134 "
                    "Q 46 118 70 112 L 70 86 Q 30 78 30 20 Z", "url(#gob)", INK, 4.5)
        body += ellipse(75, 22, 45, 8, "#7a0f22", INK, 3)
        d, s = gem(75, 50, 12, PAL["ruby_d"], PAL["ruby"], PAL["ruby_l"], "gg", 6)
        defs += d
        body += s
        body += path("M 42 32 Q 44 60 60 74", "none", "#ffffff", 5, 'opacity="0.8"')
    elif name == "CROWN":
        defs += lin_grad("crn", [(0, "#fff2a8"), (0.6, "#f2b630"), (1, "#a86a12")])
        body = poly([(14, 120), (14, 44), (44, 80), (75, 30), (106, 80), (136, 44), (136, 120)],
                    "url(#crn)", INK, 4.5)
        body += '<rect x="14" y="104" width="122" height="22" rx="4" fill="#c0801a" stroke="%s" stroke-width="4"/>' % INK
        for x in (14, 75, 136):
            body += circle(x, 44 if x != 75 else 30, 9, "#fff3d6", INK, 3)
        for x, c in ((44, PAL["saph"]), (75, PAL["ruby"]), (106, PAL["emer"])):
            body += circle(x, 115, 8, c, INK, 2.5)
        body += glint(40, 70, 10)
    elif name == "NECKLACE":
        for i in range(15):
            a = math.pi * (0.1 + 0.8 * i / 14)
            x = 75 - 58 * math.cos(a)
            y = 40 + 62 * math.sin(a)
            body += circle(x, y, 8, "#fff3d6", INK, 2.5)
        d, s = gem(75, 112, 24, PAL["emer_d"], PAL["emer"], PAL["emer_l"], "gn", 6, 1.2)
        defs += d
        body += circle(75, 84, 6, "#f2b630", INK, 2.5) + s
    elif name == "CHEST":
        defs += lin_grad("chw", [(0, "#b07a4a"), (1, "#6e4c33")])
        body = path("M 16 66 Q 16 26 75 26 Q 134 26 134 66 Z", "url(#chw)", INK, 4.5)
        body += '<rect x="16" y="66" width="118" height="64" rx="4" fill="url(#chw)" stroke="%s" stroke-width="4.5"/>' % INK
        for x in (34, 116):
            body += '<rect x="%d" y="28" width="12" height="102" fill="#f2b630" stroke="%s" stroke-width="3"/>' % (x - 6, INK)
        body += '<rect x="62" y="58" width="26" height="28" rx="3" fill="#f2b630" stroke="%s" stroke-width="3.5"/>' % INK
        body += circle(75, 70, 4, INK, "none", 0)
        body += coin(60, 30, 14, 0.5, False) + coin(90, 28, 14, 0.5, False)
        body += glint(112, 20, 12)
    return crop_tight(render(W, H, body, defs), pad=2)


TREASURES = ["COIN", "COINS", "BAR", "RUBY", "EMERALD", "SAPPHIRE", "DIAMOND",
             "GOBLET", "CROWN", "NECKLACE", "CHEST"]


def make(images):
    images.comment("Carried items and pickups")
    images.add("BONE", "bone.png", crop_tight(bone()), hfrac=0.12)
    images.add("ITEM_BOOST", "item_boost.png", crop_tight(boost()), hfrac=0.12)
    images.add("ITEM_SPINNER", "item_spinner.png", crop_tight(spinner()), hfrac=0.12)
    images.add("CLOAK", "cloak.png", crop_tight(cloak()), hfrac=0.12)
    images.add("CLOCK", "clock.png", crop_tight(clock()), hfrac=0.12)

    images.comment("Spring: loaded (lies flat), springing, wobbling")
    frames = [spring_pad(), spring_side(0.5), spring_side(1.0, 0.0, True),
              spring_side(0.85, -1.0), spring_side(0.8, 0.0), spring_side(0.85, 1.0)]
    keys = ["SPRING_LOADED_IDLE", "SPRING_SPRUNG_1", "SPRING_SPRUNG_2",
            "SPRING_SPRUNG_IDLE_1", "SPRING_SPRUNG_IDLE_2", "SPRING_SPRUNG_IDLE_3"]
    files = ["spring_loaded.png", "spring_sprung_1.png", "spring_sprung_2.png",
             "spring_idle_1.png", "spring_idle_2.png", "spring_idle_3.png"]
    for k, f, img in zip(keys, files, frames):
        images.add(k, f, img, wfrac=0.1)

    images.comment("Torch flicker")
    torches = crop_set([torch(k) for k in range(3)], pad=1)
    for k, t in enumerate(torches):
        images.add("TORCH_%d" % k, "torch_%d.png" % k, t, hfrac=0.2)

    images.comment("Treasures for the levels' IMAGE attribute")
    for name in TREASURES:
        images.add("TREASURE_" + name, "treasure_%s.png" % name.lower(), treasure(name), hfrac=0.1)

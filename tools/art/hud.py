"""Heads-up display: the screen frame and its scenery variants, the panic
bar, the chase meter, the score gem and the dragon's claw and jaws."""

import math

import numpy as np
from PIL import Image

from common import INK, PAL, hex_rgb, crop_tight, text_image, OUT
from shapes import (render, path, poly, circle, ellipse, lin_grad, rad_grad,
                    glint, smooth_closed, ramp, rgba)
import items
import textures

DRAGON = "#b8322a"
DRAGON_D = "#6a1410"
DRAGON_L = "#e8603a"
BELLY = "#f2c25a"
IVORY = "#fff3d6"
IVORY_D = "#c8b088"


# ---------------------------------------------------------------- frame

def hud_frame(seed, tile_fn, ramp_stops, drips, drip_col, glow=None):
    """A slim rocky border with a transparent middle, 512 x 384.  The rock
    is cut from the scenery's own wall texture; drips hang from the top."""
    W, H = 512, 384
    rng = np.random.RandomState(seed)
    yy, xx = np.mgrid[0:H, 0:W].astype(float)

    def edge_noise(n, k):
        t = np.arange(n)
        out = np.zeros(n)
        for f in range(1, k + 1):
            out += rng.normal() / f * np.sin(2 * np.pi * f * t / n * 3 + rng.random_sample() * 6)
        return out

    top = 9 + 4 * edge_noise(W, 6)
    bot = 11 + 4 * edge_noise(W, 6)
    left = 9 + 4 * edge_noise(H, 6)
    right = 9 + 4 * edge_noise(H, 6)
    # Distance into the frame (positive inside the rock).
    d = np.maximum.reduce([top[None, :] - yy, bot[None, :] - (H - 1 - yy),
                           left[:, None] - xx, right[:, None] - (W - 1 - xx)])
    # Chunky corner stones.
    for cx, cy in ((0, 0), (W, 0), (0, H), (W, H)):
        r = 46 + rng.random_sample() * 10
        d = np.maximum(d, r - np.sqrt((xx - cx) ** 2 + (yy - cy) ** 2))
    # Stalactite-like drips from the top edge.
    for i in range(drips):
        x0 = (i + 0.5 + (rng.random_sample() - 0.5) * 0.6) * W / drips
        ln = 14 + rng.random_sample() * 20
        wd = 6 + rng.random_sample() * 5
        t = np.clip(yy / ln, 0, 1)
        half = wd * (1 - t) + 0.8
        d = np.maximum(d, np.where(yy < ln, half - np.abs(xx - x0), -99))
    inside = d > 0
    tile = np.array(tile_fn(), float)[..., :3]
    rock = tile[(yy.astype(int) * 3) % tile.shape[0], (xx.astype(int) * 3) % tile.shape[1]]
    # Bevel: lighter near the inner edge, darker at the screen edge.
    shade = np.clip(1.15 - np.clip(d, 0, 30) / 60.0, 0.6, 1.15)
    rgb = rock * shade[..., None]
    if glow is not None:
        g = np.clip(1 - np.abs(d - 2.5) / 2.5, 0, 1)
        rgb = rgb * (1 - g[..., None]) + np.array(hex_rgb(glow), float) * g[..., None]
    ink = np.array(hex_rgb(INK), float)
    line = np.clip(1 - np.abs(d - 0.5) / 2.0, 0, 1) * (d < 4)
    rgb = rgb * (1 - line[..., None]) + ink * line[..., None]
    alpha = np.clip(d + 1.5, 0, 1)
    # Soft dark inner shadow over the play area, one step inside the rock.
    sh = np.clip(1 - (-d) / 10.0, 0, 1) * (d <= 0) * 0.45
    alpha = np.maximum(alpha, sh)
    rgb = np.where((d <= 0)[..., None], ink, rgb)
    return rgba(rgb, alpha)


def tile_of(name):
    return lambda: Image.open("%s/%s" % (OUT, name)).convert("RGBA")


# ---------------------------------------------------------------- bars

# The panic bar's three pictures share one 280 x 64 box; the bar lies in its
# lower part, and the "PANIC!" text the game writes above the bar's centre
# sits on the dark tab of the frame, so label, fill and frame read as one.
BAR_W, BAR_H = 280, 64
BAR_TOP, BAR_BOTTOM = 34, 60


def panic_fill():
    body = ('<rect x="6" y="%d" width="268" height="%d" rx="10" fill="url(#pf)"/>'
            '<rect x="14" y="%d" width="252" height="5" rx="2.5" fill="#ffffff" opacity="0.9"/>'
            % (BAR_TOP + 2, BAR_BOTTOM - BAR_TOP - 4, BAR_TOP + 6))
    defs = lin_grad("pf", [(0, "#ffffff"), (0.6, "#e6e6e6"), (1, "#b0b0b0")])
    return render(BAR_W, BAR_H, body, defs)


def panic_outline():
    """The frame over the fill, with a dark tab above it for the label."""
    tab = ('M 64 %d L 76 6 Q 80 2 88 2 L 192 2 Q 200 2 204 6 L 216 %d Z' % (BAR_TOP, BAR_TOP))
    body = path(tab, "#2e211a", INK, 4)
    body += path("M 82 10 L 198 10", "none", "#5a4030", 2)
    body += ('<rect x="4" y="%d" width="272" height="%d" rx="12" fill="none" stroke="%s" stroke-width="6"/>'
             '<rect x="4" y="%d" width="272" height="%d" rx="12" fill="none" stroke="#c99a62" stroke-width="2.5"/>'
             % (BAR_TOP, BAR_BOTTOM - BAR_TOP, INK, BAR_TOP, BAR_BOTTOM - BAR_TOP))
    for x in (74, 140, 206):
        body += path("M %d %d L %d %d" % (x, BAR_TOP + 2, x, BAR_TOP + 8), "none", INK, 3)
    mid = (BAR_TOP + BAR_BOTTOM) / 2
    body += circle(8, mid, 10, "#7a707a", INK, 3) + circle(272, mid, 10, "#7a707a", INK, 3)
    return render(BAR_W, BAR_H, body)


def panic_label():
    """The empty groove under the fill (the game draws it faintly)."""
    return render(BAR_W, BAR_H, '<rect x="4" y="%d" width="272" height="%d" rx="12" fill="#000000"/>'
                  % (BAR_TOP, BAR_BOTTOM - BAR_TOP))


def halo(img, width, colour="#fff3d6"):
    """A light rim around a marker's outline so it reads on dark rock and
    on the chase bar alike."""
    from PIL import ImageFilter
    a = img.split()[3].filter(ImageFilter.MaxFilter(2 * width + 1))
    rim = Image.new("RGBA", img.size, hex_rgb(colour) + (0,))
    rim.putalpha(a)
    rim.alpha_composite(img)
    return rim


def chase_bar():
    """A slim rail along the bottom edge: the runner's feet stand on it, and the
    floor just above stays clear for the runner's shadow."""
    W, H = 640, 40
    defs = lin_grad("rail", [(0, "#c99a62"), (0.5, "#8a6444"), (1, "#4a3326")])
    body = '<rect x="30" y="25" width="580" height="10" rx="5" fill="url(#rail)" stroke="%s" stroke-width="3"/>' % INK
    for i in range(1, 12):
        x = 30 + i * 580 / 12
        body += path("M %.1f 27 L %.1f 33" % (x, x), "none", "#3a2418", 2.5)
    # Dragon's lair at the left end, the way out (daylight) at the right.
    body += path("M 2 36 Q 4 4 30 4 Q 56 4 58 36 Z", "#4a3326", INK, 4)
    body += path("M 14 36 Q 16 16 30 16 Q 44 16 46 36 Z", "#000000", "none", 0)
    body += circle(24, 26, 3, "#ff3a1a", "none", 0) + circle(36, 26, 3, "#ff3a1a", "none", 0)
    body += path("M 582 36 Q 584 4 610 4 Q 636 4 638 36 Z", "#6e4c33", INK, 4)
    body += path("M 594 36 Q 596 14 610 14 Q 624 14 626 36 Z", "#fff3b0", "none", 0)
    return render(W, H, body, defs)


def chase_player():
    """The runner's hood, a small marker."""
    W, H = 64, 64
    defs = rad_grad("hd", [(0, "#6aa85a"), (1, "#26502c")])
    body = ellipse(14, 38, 7, 10, PAL["skin"], INK, 3) + ellipse(50, 38, 7, 10, PAL["skin"], INK, 3)
    body += path("M 12 46 C 8 20 22 8 32 4 C 42 8 56 20 52 46 C 44 60 20 60 12 46 Z", "url(#hd)", INK, 3.5)
    body += path("M 14 50 Q 32 62 50 50 L 48 58 Q 32 66 16 58 Z", "#d8403a", INK, 3)
    return render(W, H, body, defs)


def dragon_head(open_jaw):
    """Side view of the dragon's head facing right: the chase marker."""
    W, H = 200, 200
    defs = lin_grad("dh", [(0, DRAGON_L), (1, DRAGON_D)])
    body = ""
    # Horns and back frill.
    body += path("M 60 58 Q 30 20 10 24 Q 36 40 44 72 Z", IVORY, INK, 4)
    body += path("M 84 50 Q 70 8 46 4 Q 66 30 66 62 Z", IVORY, INK, 4)
    gap = 40 if open_jaw else 0
    # Lower jaw.
    body += ('<g transform="rotate(%d 70 120)">' % (gap * 0.6) +
             path("M 60 120 Q 120 128 176 128 Q 184 134 176 142 Q 120 156 64 150 Z",
                  DRAGON, INK, 4) +
             path("M 150 130 l 6 -12 l 6 12 M 126 130 l 6 -10 l 6 10", IVORY, INK, 2) + '</g>')
    if open_jaw:
        body += path("M 70 116 Q 130 120 172 116 Q 150 150 80 146 Z", "#3a0808", "none", 0)
    # Upper head and snout.
    body += path("M 30 110 Q 26 60 70 52 Q 120 46 150 76 Q 186 84 190 108 Q 188 122 172 124 "
                 "Q 120 126 60 128 Q 34 128 30 110 Z", "url(#dh)", INK, 4.5)
    body += path("M 160 124 l 6 12 l 6 -12 M 136 125 l 6 10 l 6 -10", IVORY, INK, 2)
    body += ellipse(178, 96, 5, 3, DRAGON_D, "none", 0)
    # Eye: angry yellow with a slit pupil and heavy brow.
    body += ellipse(104, 82, 16, 12, "#ffd23f", INK, 3)
    body += ellipse(108, 82, 3.5, 10, INK, "none", 0)
    body += path("M 84 70 L 126 78", "none", INK, 7)
    # Scales along the neck.
    for i, (x, y) in enumerate(((46, 96), (58, 108), (44, 118), (70, 100))):
        body += path("M %d %d q 6 -8 12 0" % (x, y), "none", DRAGON_D, 3)
    if open_jaw:
        body += path("M 188 96 q 6 -2 10 -6 M 188 104 q 8 0 10 2", "none", "#ffd23f", 3)
    return crop_tight(render(W, H, body, defs), pad=2)


def pad(img, n):
    out = Image.new("RGBA", (img.width + 2 * n, img.height + 2 * n), (0, 0, 0, 0))
    out.paste(img, (n, n))
    return out


def gem_icon():
    W, H = 80, 80
    d, s = items.gem(40, 40, 32, PAL["ruby_d"], PAL["ruby"], PAL["ruby_l"], "hg", 6)
    return crop_tight(render(W, H, s, d), pad=1)


# ---------------------------------------------------------------- claw

def claw():
    """The dragon's arm reaching down: a scaly forearm coming out of the dark,
    a broad knuckled hand and three thick hooked talons curling inward."""
    W, H, ARM = 320, 520, 130
    defs = (lin_grad("sc", [(0, DRAGON_L), (0.6, DRAGON), (1, DRAGON_D)], 0, 0, 1, 0) +
            lin_grad("tl", [(0, "#fffaf0"), (0.5, IVORY), (1, IVORY_D)], 0, 0, 1, 0))
    # Forearm above the wrist, wider toward the elbow, with a ridge of spikes.
    body = path("M 70 0 L 250 0 Q 232 70 216 %d L 104 %d Q 88 70 70 0 Z" % (ARM + 6, ARM + 6), "url(#sc)", INK, 5)
    for y in (14, 48, 82, 116):
        body += path("M %d %d l 16 -6 l -4 20 Z" % (240 - y * 0.2, y + 6), DRAGON_D, INK, 3)
        for k in range(4):
            x = 100 + k * 30 + (y // 34 % 2) * 15 - y * 0.05
            body += path("M %.1f %d q 14 14 28 0" % (x, y), "none", DRAGON_D, 3.5)
    body += '<g transform="translate(0 %d)">' % ARM
    # Wrist, with rows of scales.
    body += path("M 104 0 L 216 0 Q 224 70 246 150 L 74 150 Q 96 70 104 0 Z", "url(#sc)", INK, 5)
    for row, y in enumerate((20, 46, 72, 98, 124)):
        for k in range(5):
            x = 96 + k * 28 + (row % 2) * 14
            if 112 < x + 14 < 212 - (4 - row) * 4:
                body += path("M %d %d q 14 14 28 0" % (x, y), "none", DRAGON_D, 3.5)
    # Fingers: short and thick, spreading, with a knuckle bump each.
    fingers = [(-1, 116, 170, 84, 238), (0, 160, 176, 160, 248), (1, 204, 170, 236, 238)]
    for side, x0, y0, x1, y1 in fingers:
        # Talon first, so the finger tip overlaps its root.
        c = -side if side else 0.7
        w = 46
        bx, by = x1, y1 + 6
        tx, ty = bx + c * 40, by + 124
        talon = ("M %.1f %.1f Q %.1f %.1f %.1f %.1f Q %.1f %.1f %.1f %.1f Z"
                 % (bx - w / 2, by,
                    bx - w / 2 - c * 14 + (4 if c > 0 else -4), by + 104, tx, ty,
                    bx + w / 2 - c * 6, by + 56, bx + w / 2, by))
        body += path(talon, "url(#tl)", INK, 4.5)
        body += path("M %.1f %.1f Q %.1f %.1f %.1f %.1f" % (bx - w / 4, by + 10, bx - w / 4 - c * 4, by + 56,
                                                          tx - c * 4, ty - 14), "none", "#ffffff", 3.5)
        body += path("M %.1f %.1f Q %.1f %.1f %.1f %.1f" % (bx + w / 4, by + 12, bx + w / 4 + c * 2, by + 40,
                                                          bx + c * 20, by + 66), "none", IVORY_D, 3)
        # Finger.
        body += path("M %.1f %.1f L %.1f %.1f" % (x0, y0, x1, y1), "none", INK, 60)
        body += path("M %.1f %.1f L %.1f %.1f" % (x0, y0, x1, y1), "none", DRAGON, 50)
        body += path("M %.1f %.1f L %.1f %.1f" % (x0 - 12, y0, x1 - 12, y1 - 4), "none", DRAGON_L, 10,
                     'opacity="0.7"')
        for t in (0.3, 0.65):
            mx, my = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            body += path("M %.1f %.1f q 17 10 34 0" % (mx - 17, my), "none", DRAGON_D, 3.5)
        body += ellipse(x1, y1, 19, 11, DRAGON_D, "none", 0, 'opacity="0.35"')
    # Back of the hand over the finger roots, with knuckles.
    body += path("M 74 146 Q 70 200 110 196 Q 160 214 210 196 Q 250 200 246 146 Z", "url(#sc)", INK, 5)
    for x in (96, 128, 160, 192, 224):
        body += path("M %d 166 q 16 14 32 0" % (x - 16), "none", DRAGON_D, 4)
    body += path("M 112 8 Q 104 80 86 140", "none", DRAGON_L, 8, 'opacity="0.8"')
    body += '</g>'
    img = np.array(render(W, H, body, defs), float)
    # The arm fades into the dark it reaches out of: no cut edge.
    fade = np.clip(np.arange(H) / 150.0, 0, 1)[:, None] ** 1.3
    ink = np.array(hex_rgb(INK), float)
    img[..., :3] = img[..., :3] * (0.35 + 0.65 * fade[..., None]) + ink * (0.65 - 0.65 * fade[..., None])
    img[..., 3] *= fade
    return crop_tight(Image.fromarray(img.astype(np.uint8), "RGBA"), pad=2)


# ---------------------------------------------------------------- jaws

def teeth(top):
    """Top jaw: gum band along the top edge, teeth hanging down.  The
    bottom jaw is drawn the same way, flipped, with the teeth shifted half
    a tooth so that the two rows bite between each other."""
    W, H = 768, 400
    defs = (lin_grad("gum", [(0, DRAGON_D), (0.7, DRAGON), (1, "#e05a4a")]) +
            lin_grad("tooth", [(0, IVORY_D), (0.35, IVORY), (1, "#fffaf0")], 0, 0, 1, 0))
    n = 7
    tw = W / n
    off = 0 if top else tw / 2
    body = ""
    gum_h = 120
    for i in range(-1, n + 1):
        cx = off + (i + 0.5) * tw
        long_ln, short_ln = H - 10 - gum_h, H - 90 - gum_h
        ln = long_ln if (i % 2 == 0) == top else short_ln
        half = tw * 0.44
        d = ("M %.1f %.1f Q %.1f %.1f %.1f %.1f Q %.1f %.1f %.1f %.1f Z"
             % (cx - half, gum_h - 20, cx - half * 0.7, gum_h + ln * 0.6, cx + half * 0.12, gum_h + ln,
                cx + half * 0.8, gum_h + ln * 0.5, cx + half, gum_h - 20))
        body += path(d, "url(#tooth)", INK, 6)
        body += path("M %.1f %.1f Q %.1f %.1f %.1f %.1f" % (cx + half * 0.35, gum_h, cx + half * 0.3,
                                                          gum_h + ln * 0.45, cx + half * 0.05, gum_h + ln * 0.8),
                     "none", "#ffffff", 5)
    # Gum with a scalloped lower edge and the dark roof of the mouth above.
    scal = "M 0 0 L %d 0 L %.1f %d " % (W, off + (n + 1) * tw, gum_h + 10)
    for i in range(n + 1, -2, -1):
        bx = off + i * tw
        scal += "Q %.1f %d %.1f %d " % (bx - tw / 2, gum_h - 40, bx - tw, gum_h + 10)
    scal += "L 0 %d Z" % (gum_h + 10)
    body += path(scal, "url(#gum)", INK, 6)
    body += path("M 0 24 Q %d 50 %d 24" % (W / 2, W), "none", DRAGON_D, 8)
    for i in range(12):
        x = 20 + i * 64
        body += path("M %d 60 q 16 14 32 0" % x, "none", DRAGON_D, 4)
    img = render(W, H, body, defs)
    # Textures repeat, so the texels along the tips' edge are blended with the gum's
    # edge row: a clear first row keeps a faint line of gum off the other jaw's teeth.
    a = np.array(img)
    a[0, :, 3] = 0
    img = Image.fromarray(a, "RGBA")
    return img if top else img.transpose(Image.FLIP_TOP_BOTTOM)


def make(images):
    images.comment("Heads-up display frame and its scenery variants (drawn over the whole screen)")
    frames = [
        ("HUD", "hud.png", hud_frame(601, tile_of("wall.png"), None, 9, None)),
        ("HUD_ICE", "hud_ice.png", hud_frame(602, tile_of("wall_ice.png"), None, 11, None)),
        ("HUD_LAVA", "hud_lava.png", hud_frame(603, tile_of("wall_lava.png"), None, 8, None, glow="#ff8a1a")),
        ("HUD_CRYSTAL", "hud_crystal.png", hud_frame(604, tile_of("wall_crystal.png"), None, 10, None)),
        ("HUD_SLATE", "hud_slate.png", hud_frame(605, tile_of("wall_slate.png"), None, 7, None, glow="#9ad0f0")),
        ("HUD_MOSS", "hud_moss.png", hud_frame(606, tile_of("wall_moss.png"), None, 12, None)),
        ("HUD_HOARD", "hud_hoard.png", hud_frame(607, tile_of("wall_hoard.png"), None, 6, None, glow="#f2b630")),
        ("HUD_GOLD", "hud_gold.png", hud_frame(608, tile_of("wall_gold.png"), None, 9, None)),
    ]
    for key, fname, img in frames:
        images.add_exact(key, fname, img, 0.7607, 1.0)

    images.comment("HUD pieces")
    images.add("GEM", "gem.png", gem_icon(), hfrac=0.07)
    images.add("PANIC_BAR", "panic_bar.png", panic_fill(), wfrac=0.2)
    images.add("PANIC_BAR_OUTLINE", "panic_bar_outline.png", panic_outline(), wfrac=0.2)
    images.add("PANIC_BAR_TEXT", "panic_bar_text.png", panic_label(), wfrac=0.2)
    images.add("CHASE_BAR", "chase_bar.png", chase_bar(), wfrac=0.5)
    images.add("CHASE_PLAYER", "chase_player.png", halo(crop_tight(chase_player(), pad=4), 3), hfrac=0.075)
    # The dragon marker is drawn at a fifth of its size.
    images.add("CHASE_DRAGON", "chase_dragon.png", halo(pad(dragon_head(False), 12), 9), hfrac=0.4)
    images.add("CHASE_DRAGON_EATYOU", "chase_dragon_eat.png", halo(pad(dragon_head(True), 12), 9), hfrac=0.4)
    c = claw()
    images.add("DRAGON_CLAW", "dragon_claw.png", c, hfrac=0.6)
    images.add("DRAGON_CLAW_LEFTY", "dragon_claw_lefty.png", c.transpose(Image.FLIP_LEFT_RIGHT), hfrac=0.6)
    images.comment("The dragon's jaws closing on the runner")
    images.add_exact("DRAGON_TEETH_TOP", "teeth_top.png", teeth(True), 0.77, 0.7)
    images.add_exact("DRAGON_TEETH_BOT", "teeth_bottom.png", teeth(False), 0.77, 0.7)

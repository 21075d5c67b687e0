"""Obstacles: the rolling boulder, the breakable rock and its burst,
spikes, the stalactite and the hole."""

import math

import numpy as np
from PIL import Image, ImageFilter

from common import INK, hex_rgb, downsample, crop_set, crop_tight
from shapes import (render, path, poly, circle, ellipse, lin_grad, rad_grad,
                    star, smooth_closed, ramp, toon, rgba, outline_alpha)

# Slate blue-grey: cooler than every floor, so rocks do not sink into brown,
# gold or red stone.
ROCK_RAMP = [(0.0, "#1c1a26"), (0.25, "#46445a"), (0.5, "#72708c"),
             (0.75, "#a2a0ba"), (1.0, "#dedcee")]

# Light ring round every hazard, outside its dark outline: one of the two always
# stands out, on dark floors and walls as on bright ice.
HALO = (255, 243, 214)


def halo(img, width, opacity=0.85):
    """img with a soft light ring width pixels wide round its silhouette, on a
    canvas grown by width on every side."""
    w = int(width)
    big = Image.new("RGBA", (img.width + 2 * w, img.height + 2 * w), (0, 0, 0, 0))
    big.paste(img, (w, w))
    solid = big.getchannel("A").point(lambda v: 255 if v > 96 else 0)
    ring = solid.filter(ImageFilter.MaxFilter(2 * w + 1)).filter(ImageFilter.GaussianBlur(w * 0.35))
    layer = Image.new("RGBA", big.size, HALO + (0,))
    layer.putalpha(ring.point(lambda v: int(v * opacity)))
    return Image.alpha_composite(layer, big)


def sphere_points(k, rng):
    """k random unit vectors, repeated four times round the x axis so the
    pattern looks the same after a quarter turn (the roll loops in 4)."""
    v = rng.normal(size=(k, 3))
    v /= np.linalg.norm(v, axis=1)[:, None]
    out = []
    for q in range(4):
        a = q * math.pi / 2
        c, s = math.cos(a), math.sin(a)
        out.append(np.stack([v[:, 0], v[:, 1] * c - v[:, 2] * s,
                             v[:, 1] * s + v[:, 2] * c], axis=1))
    return np.concatenate(out)


def boulder_frames():
    n = 384
    R = 176.0
    rng = np.random.RandomState(401)
    pts = sphere_points(9, rng)
    tones = np.tile(rng.random_sample(9), 4)
    yy, xx = np.mgrid[0:n, 0:n].astype(float)
    x = (xx - n / 2) / R
    y = -(yy - n / 2) / R
    r2 = x * x + y * y
    inside = r2 < 1.0
    z = np.sqrt(np.clip(1 - r2, 0, 1))
    light = np.array([-0.5, 0.6, 0.65])
    light /= np.linalg.norm(light)
    frames = []
    for i in range(4):
        a = -i * (math.pi / 2) / 4  # top of the ball comes toward the viewer
        c, s = math.cos(a), math.sin(a)
        qx = x
        qy = y * c - z * s
        qz = y * s + z * c
        d = qx[..., None] * pts[:, 0] + qy[..., None] * pts[:, 1] + qz[..., None] * pts[:, 2]
        order = np.argsort(-d, axis=-1)
        d1 = np.take_along_axis(d, order[..., :1], -1)[..., 0]
        d2 = np.take_along_axis(d, order[..., 1:2], -1)[..., 0]
        ident = order[..., 0]
        edge = d1 - d2
        # Each cell a slightly raised plate: shade from the sphere normal,
        # darkened towards the cracks.
        lam = np.clip(x * light[0] + y * light[1] + z * light[2], 0, 1)
        v = 0.3 + 0.62 * lam + 0.14 * (tones[ident] - 0.5)
        v -= np.clip(0.05 - edge, 0, 0.05) * 2.0
        v = toon(np.clip(v, 0, 1), 4)
        rgb = ramp(v, ROCK_RAMP)
        crack = np.clip(1 - (edge - 0.008) / 0.012, 0, 1) * (z > 0.15)
        rgb = rgb * (1 - crack[..., None]) + np.array(hex_rgb(INK), float) * crack[..., None]
        # Rim light and outline.
        rim = np.clip((np.sqrt(r2) - 0.86) / 0.1, 0, 1) * np.clip(x * 0.7 - y * 0.7, 0, 1)
        rgb = rgb + rim[..., None] * np.array([60.0, 40.0, 20.0])
        ring = outline_alpha(inside, 7)
        alpha = ring
        body = inside.astype(float)
        ink = np.array(hex_rgb(INK), float)
        rgb = rgb * body[..., None] + ink * (1 - body[..., None])
        frames.append(rgba(rgb, alpha))
    return [downsample(f, 2) for f in crop_set(frames, pad=2)]


def rock_image():
    """A squat, lumpy rock with flat cartoon facets."""
    w, h = 420, 360
    rng = np.random.RandomState(402)
    yy, xx = np.mgrid[0:h, 0:w].astype(float)
    cx, cy = w / 2, h * 0.62
    ang = np.arctan2(yy - cy, xx - cx)
    k = np.arange(1, 6)
    amps = rng.normal(size=5) * 0.06 / k
    phs = rng.random_sample(5) * 2 * np.pi
    rad = 1.0 + sum(a * np.cos(kk * ang + p) for a, kk, p in zip(amps, k, phs))
    nx = (xx - cx) / (w * 0.45)
    ny = (yy - cy) / (h * 0.56)
    ny = np.where(ny > 0, ny * 2.2, ny)  # flat bottom
    rr = np.sqrt(nx * nx + ny * ny) / rad
    inside = rr < 1.0
    zz = np.sqrt(np.clip(1 - rr * rr, 0, 1))
    # Facets: Worley cells on the picture, each with a tilt.
    m = 11
    px = rng.random_sample(m) * w
    py = rng.random_sample(m) * h * 0.8 + h * 0.1
    d = np.sqrt((xx[..., None] - px) ** 2 + (yy[..., None] - py) ** 2)
    o = np.argsort(d, axis=-1)
    ident = o[..., 0]
    edge = np.take_along_axis(d, o[..., 1:2], -1)[..., 0] - np.take_along_axis(d, o[..., :1], -1)[..., 0]
    tilt = rng.random_sample((m, 2)) - 0.5
    lam = np.clip(-nx * 0.5 - ny * 0.45 + zz * 0.75, 0, 1)
    v = 0.2 + 0.65 * lam + tilt[ident, 0] * 0.25 - tilt[ident, 1] * 0.2
    v = toon(np.clip(v, 0, 1), 4)
    rgb = ramp(v, ROCK_RAMP)
    crack = np.clip(1 - (edge - 1.5) / 2.5, 0, 1) * (zz > 0.25)
    ink = np.array(hex_rgb(INK), float)
    rgb = rgb * (1 - 0.85 * crack[..., None]) + ink * 0.85 * crack[..., None]
    alpha = outline_alpha(inside, 7)
    body = inside.astype(float)
    rgb = rgb * body[..., None] + ink * (1 - body[..., None])
    img = rgba(rgb, alpha)
    # A bright crack that hints it can be broken.
    W, H = w, h
    crack_svg = path("M %.1f %.1f l 26 40 l -18 30 l 30 44 l -8 30" % (W * 0.52, H * 0.26),
                     "none", "#ffcf5a", 5) + path("M %.1f %.1f l 26 40 l -18 30 l 30 44 l -8 30" % (W * 0.52, H * 0.26), "none", INK, 2)
    over = render(W, H, crack_svg)
    img = Image.alpha_composite(img, over)
    return img


def rock_burst(rock, k):
    """Frame k (1..5) of the rock breaking: flash, flying chunks, dust."""
    W, H = rock.size
    t = k / 5.0
    rng = np.random.RandomState(500)
    cx, cy = W / 2, H * 0.6
    body = ""
    # Dust cloud: grey puffs that grow and fade.
    puffs = ""
    for j in range(9):
        a = 2 * math.pi * j / 9 + 0.3
        dist = (0.15 + 0.3 * t) * W * 0.9
        r = (0.12 + 0.16 * t) * W * 0.5
        puffs += circle(cx + math.cos(a) * dist * 0.8, cy + math.sin(a) * dist * 0.55 - t * 20,
                        r, "#b8a890", "none", 0)
    body += '<g opacity="%.2f">%s</g>' % (0.85 * (1 - t * 0.75), puffs)
    # Flash in the first frames.
    if k <= 3:
        s = 1.0 - (k - 1) * 0.3
        body += poly(star(cx, cy, W * 0.42 * s, W * 0.18 * s, 9, 0.2 * k), "#ffd23f", INK, 3)
        body += poly(star(cx, cy, W * 0.24 * s, W * 0.1 * s, 9, 0.2 * k + 0.2), "#fff6c0", "none", 0)
    # Chunks fly out and fall.
    for j in range(8):
        a = 2 * math.pi * j / 8 + rng.random_sample() * 0.5
        sp = 0.55 + rng.random_sample() * 0.45
        dist = t * W * 0.45 * sp
        x = cx + math.cos(a) * dist
        y = cy + math.sin(a) * dist * 0.7 + 140 * t * t - 40 * t
        sz = W * 0.09 * (1 - 0.3 * t) * (0.7 + rng.random_sample() * 0.6)
        rot = rng.random_sample() * 6 + t * 8 * (1 if j % 2 else -1)
        pts = []
        for q in range(5):
            b = rot + 2 * math.pi * q / 5
            rr = sz * (0.7 + 0.3 * ((q * 7 + j) % 3) / 2)
            pts.append((x + rr * math.cos(b), y + rr * math.sin(b)))
        body += poly(pts, "#8a7264", INK, 3)
        body += poly([pts[0], pts[1], ((pts[0][0] + pts[1][0]) / 2 + (x - pts[0][0]) * 0.3,
                                        (pts[0][1] + pts[1][1]) / 2 + (y - pts[0][1]) * 0.3)],
                     "#b49a84", "none", 0)
    return render(W, H, body)


def spike_floor():
    W, H = 360, 124
    defs = lin_grad("sp", [(0, "#e8e0d8"), (0.5, "#a8a0a0"), (1, "#5a5258")], 0, 0, 1, 0)
    body = ""
    base_y = H - 18
    n = 5
    for i in range(n):
        cx = 36 + i * (W - 72) / (n - 1)
        hgt = 92 if i % 2 == 0 else 78
        body += poly([(cx - 30, base_y), (cx, base_y - hgt), (cx + 30, base_y)], "url(#sp)", INK, 4)
        body += poly([(cx - 4, base_y - hgt + 14), (cx, base_y - hgt + 4), (cx - 14, base_y - 6)],
                     "#ffffff", "none", 0, 'opacity="0.6"')
        # Rusty-red tip: a warning.
        body += poly([(cx - 8, base_y - hgt + 24), (cx, base_y - hgt), (cx + 8, base_y - hgt + 24)],
                     "#b8402a", INK, 2)
    body += path("M 6 %d Q %d %d %d %d L %d %d Q %d %d 6 %d Z" % (
        base_y - 6, W / 2, base_y - 16, W - 6, base_y - 6, W - 6, H - 4, W / 2, H + 4, H - 4),
        "#5a4030", INK, 4)
    body += path("M 20 %d Q %d %d %d %d" % (base_y - 4, W / 2, base_y - 12, W - 20, base_y - 4),
                 "none", "#8a6444", 4)
    return render(W, H, body, defs)


def spike_wall():
    """Spikes sticking out of the left wall, pointing right (toward the
    middle of the corridor).  The picture stands face-on while the wall runs
    away from the eye, so the mount is a thin strip at the very edge: a wide
    one would hang in the air beside the wall."""
    W, H = 150, 340
    defs = lin_grad("spw", [(0, "#e8e0d8"), (0.5, "#a8a0a0"), (1, "#4a4248")], 0, 0, 0, 1)
    body = ""
    body += path(smooth_closed([(4, 10), (16, 6), (20, 60), (17, 170), (21, 280), (16, 334),
                                (4, 330), (3, 170)]), "#6e5442", INK, 4)
    n = 4
    for i in range(n):
        cy = 50 + i * (H - 100) / (n - 1)
        ln = 124 if i % 2 == 0 else 108
        x0 = 16
        body += poly([(x0, cy - 30), (x0 + ln, cy), (x0, cy + 30)], "url(#spw)", INK, 4)
        body += poly([(x0 + ln - 26, cy - 8), (x0 + ln, cy), (x0 + ln - 26, cy + 8)], "#b8402a", INK, 2)
        body += poly([(x0 + 6, cy - 20), (x0 + ln - 32, cy - 3), (x0 + 6, cy - 9)], "#ffffff", "none", 0,
                     'opacity="0.6"')
        body += circle(x0 - 2, cy, 8, "#8a8080", INK, 3)
    return render(W, H, body, defs)


def stalactite():
    W, H = 112, 300
    defs = lin_grad("st", [(0, "#d6b08a"), (0.45, "#a47a58"), (1, "#5a3e2e")], 0, 0, 1, 0)
    outline = [(6, 10), (30, 2), (60, 6), (88, 0), (106, 10), (96, 48), (88, 70),
               (82, 110), (74, 150), (70, 196), (62, 240), (56, 268), (50, 240),
               (44, 200), (38, 150), (28, 110), (22, 70), (14, 46)]
    body = path(smooth_closed(outline), "url(#st)", INK, 4)
    # Rings of the drip-built stone and a highlight.
    for y, wd in ((50, 40), (100, 28), (150, 18)):
        body += path("M %d %d q %d 8 %d 0" % (56 - wd, y, wd, wd * 2), "none", "#6e4c36", 4)
    body += path("M 26 22 Q 34 90 50 200", "none", "#f0d2ac", 6, 'opacity="0.8"')
    # A water drop at the tip.
    body += path("M 56 270 Q 64 284 56 292 Q 48 284 56 270 Z", "#9cd8ff", INK, 2)
    return render(W, H, body, defs)


def hole():
    """A pit in the floor seen from above."""
    W, H = 300, 276
    defs = rad_grad("pit", [(0, "#000000"), (0.55, "#0a0604"), (0.8, "#2a1c14"),
                            (1, "#4a3424")], 0.5, 0.5, 0.5)
    rng = np.random.RandomState(403)
    pts = []
    for i in range(14):
        a = 2 * math.pi * i / 14
        r = 1.0 + (rng.random_sample() - 0.5) * 0.14
        pts.append((W / 2 + math.cos(a) * (W / 2 - 14) * r, H / 2 + math.sin(a) * (H / 2 - 14) * r))
    body = path(smooth_closed(pts), "#7a5a40", INK, 5)
    inner = [(W / 2 + (x - W / 2) * 0.82, H / 2 + (y - H / 2) * 0.82) for x, y in pts]
    body += path(smooth_closed(inner), "url(#pit)", INK, 4)
    # Rim stones.
    for i in range(0, 14, 2):
        x, y = pts[i]
        x = W / 2 + (x - W / 2) * 0.91
        y = H / 2 + (y - H / 2) * 0.91
        body += ellipse(x, y, 16, 11, "#a07a58", INK, 3)
    # Inner wall: a lighter band on the far side fading into the dark.
    body += path("M %.1f %.1f Q %.1f %.1f %.1f %.1f" % (W * 0.22, H * 0.3, W * 0.5, H * 0.08,
                                                      W * 0.78, H * 0.3), "none", "#5a4030", 10,
                 'opacity="0.8"')
    return render(W, H, body, defs)


def make(images):
    images.comment("Obstacles")
    frames = [halo(f, 6) for f in boulder_frames()]
    for i, f in enumerate(frames):
        images.add("BOULDER_%d" % (i + 1), "boulder_%d.png" % (i + 1), f, hfrac=0.21)
    rock = downsample(rock_image(), 2)
    rock = crop_tight(rock, pad=2)
    images.add("ROCK", "rock.png", halo(rock, 6), hfrac=0.2)
    for k in range(1, 6):
        images.add("ROCK_EXP%d" % k, "rock_exp%d.png" % k, rock_burst(rock, k), hfrac=0.2)
    images.add("SPIKE", "spike.png", halo(crop_tight(spike_floor()), 6), wfrac=0.2)
    wall = halo(crop_tight(spike_wall()), 6)
    images.add("LEFTSPIKE", "spike_left.png", wall, hfrac=0.4)
    images.add("RIGHTSPIKE", "spike_right.png", wall.transpose(Image.FLIP_LEFT_RIGHT), hfrac=0.4)
    images.add("STALACTITE", "stalactite.png", halo(crop_tight(stalactite()), 5), hfrac=0.35)
    images.add("HOLE", "hole.png", halo(crop_tight(hole()), 8), hfrac=0.4)

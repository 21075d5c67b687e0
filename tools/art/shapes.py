"""Small helpers for drawing outlined cartoon shapes as SVG text and for
numpy-rendered shaded solids."""

import math

import numpy as np
from PIL import Image

from common import INK, svg_doc, svg_to_image, downsample, hex_rgb

SS = 2  # drawn at twice the size, scaled down for clean edges


def render(w, h, body, defs=""):
    """SVG body in a w x h coordinate space -> w x h RGBA image."""
    return downsample(svg_to_image(svg_doc(w, h, body, defs), w * SS, h * SS), SS)


def path(d, fill, stroke=INK, sw=3.0, extra=""):
    return ('<path d="%s" fill="%s" stroke="%s" stroke-width="%.2f" '
            'stroke-linejoin="round" stroke-linecap="round" %s/>' % (d, fill, stroke, sw, extra))


def poly(pts, fill, stroke=INK, sw=3.0, extra=""):
    d = "M " + " L ".join("%.2f %.2f" % p for p in pts) + " Z"
    return path(d, fill, stroke, sw, extra)


def smooth_closed(pts):
    """Closed Catmull-Rom spline through pts as an SVG path."""
    n = len(pts)
    d = "M %.2f %.2f " % pts[0]
    for i in range(n):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[(i + 1) % n], pts[(i + 2) % n]
        c1 = (p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6)
        d += "C %.2f %.2f %.2f %.2f %.2f %.2f " % (c1 + c2 + p2)
    return d + "Z"


def circle(cx, cy, r, fill, stroke=INK, sw=3.0, extra=""):
    return ('<circle cx="%.2f" cy="%.2f" r="%.2f" fill="%s" stroke="%s" '
            'stroke-width="%.2f" %s/>' % (cx, cy, r, fill, stroke, sw, extra))


def ellipse(cx, cy, rx, ry, fill, stroke=INK, sw=3.0, extra=""):
    return ('<ellipse cx="%.2f" cy="%.2f" rx="%.2f" ry="%.2f" fill="%s" stroke="%s" '
            'stroke-width="%.2f" %s/>' % (cx, cy, rx, ry, fill, stroke, sw, extra))


def lin_grad(gid, stops, x1=0, y1=0, x2=0, y2=1):
    s = ''.join('<stop offset="%.3f" stop-color="%s"/>' % (o, c) for o, c in stops)
    return ('<linearGradient id="%s" x1="%s" y1="%s" x2="%s" y2="%s">%s</linearGradient>'
            % (gid, x1, y1, x2, y2, s))


def rad_grad(gid, stops, cx=0.35, cy=0.3, r=0.75):
    s = ''.join('<stop offset="%.3f" stop-color="%s"/>' % (o, c) for o, c in stops)
    return ('<radialGradient id="%s" cx="%s" cy="%s" r="%s">%s</radialGradient>'
            % (gid, cx, cy, r, s))


def star(cx, cy, r1, r2, n, rot=0.0):
    pts = []
    for i in range(2 * n):
        r = r1 if i % 2 == 0 else r2
        a = rot + math.pi * i / n
        pts.append((cx + r * math.sin(a), cy - r * math.cos(a)))
    return pts


def glint(cx, cy, r, colour="#ffffff"):
    """Four-pointed sparkle."""
    return poly(star(cx, cy, r, r * 0.25, 4), colour, stroke="none", sw=0)


# ----------------------------------------------------------------- numpy

def ramp(v, stops):
    pos = [p for p, _ in stops]
    cols = np.array([hex_rgb(c) for _, c in stops], float)
    out = np.zeros(v.shape + (3,))
    for ch in range(3):
        out[..., ch] = np.interp(v, pos, cols[:, ch])
    return out


def toon(v, levels):
    s = v * levels
    f = np.floor(s)
    r = np.clip((s - f - 0.4) / 0.2, 0, 1)
    return np.clip((f + r * r * (3 - 2 * r)) / levels, 0, 1)


def rgba(rgb, alpha):
    a = np.zeros(rgb.shape[:2] + (4,), np.uint8)
    a[..., :3] = np.clip(rgb, 0, 255).astype(np.uint8)
    a[..., 3] = np.clip(alpha * 255, 0, 255).astype(np.uint8)
    return Image.fromarray(a, "RGBA")


def outline_alpha(inside, width):
    """Silhouette mask grown by width pixels (for a dark outline ring)."""
    from PIL import ImageFilter
    m = Image.fromarray((inside * 255).astype(np.uint8), "L")
    k = int(width) * 2 + 1
    return np.array(m.filter(ImageFilter.MaxFilter(k)), float) / 255.0

"""Corridor textures: ceiling, floor and wall for the base cave and for the
ice, lava and crystal sceneries.  Every noise source is periodic over the
tile, so the textures repeat without seams both ways."""

import numpy as np
from PIL import Image

from common import hex_rgb

N = 512
S = N / 256.0   # pattern sizes below are given for a 256 px tile


# ---------------------------------------------------------------- noise

def value_noise(n, period, rng):
    """Smooth noise on an n x n tile from a period x period lattice."""
    grid = rng.random_sample((period, period))
    c = np.arange(n) * period / n
    i0 = np.floor(c).astype(int)
    t = c - i0
    t = t * t * (3 - 2 * t)
    i1 = (i0 + 1) % period
    i0 %= period
    g00 = grid[np.ix_(i0, i0)]
    g01 = grid[np.ix_(i0, i1)]
    g10 = grid[np.ix_(i1, i0)]
    g11 = grid[np.ix_(i1, i1)]
    ty = t[:, None]
    tx = t[None, :]
    return (g00 * (1 - ty) * (1 - tx) + g01 * (1 - ty) * tx +
            g10 * ty * (1 - tx) + g11 * ty * tx)


def fbm(n, period, octaves, rng, gain=0.5):
    out = np.zeros((n, n))
    amp, tot = 1.0, 0.0
    for _ in range(octaves):
        out += amp * value_noise(n, period, rng)
        tot += amp
        amp *= gain
        period *= 2
    return out / tot


def worley(n, count, rng, warp=None, stretch=(1.0, 1.0)):
    """F1, F2 and the nearest point's index, searched with wrap-around.
    warp is a pair of periodic offset fields (dy, dx) in pixels."""
    # Jittered grid: evenly spread cells, no pinched slivers.
    g = max(2, int(round(np.sqrt(count))))
    jy, jx = np.mgrid[0:g, 0:g].reshape(2, -1).astype(float)
    jit = (rng.random_sample((g * g, 2)) - 0.5) * 0.8
    pts = np.stack([(jy + 0.5 + jit[:, 0]) * n / g,
                    (jx + 0.5 + jit[:, 1]) * n / g], axis=1)
    count = g * g
    yy, xx = np.mgrid[0:n, 0:n].astype(float)
    if warp is not None:
        yy = yy + warp[0]
        xx = xx + warp[1]
    best1 = np.full((n, n), 1e9)
    best2 = np.full((n, n), 1e9)
    ident = np.zeros((n, n), int)
    for k, (py, px) in enumerate(pts):
        dy = (yy - py + n / 2) % n - n / 2
        dx = (xx - px + n / 2) % n - n / 2
        d = np.sqrt((dy * stretch[0]) ** 2 + (dx * stretch[1]) ** 2)
        closer = d < best1
        best2 = np.where(closer, best1, np.minimum(best2, d))
        ident = np.where(closer, k, ident)
        best1 = np.where(closer, d, best1)
    return best1, best2, ident


def warp_field(n, period, amount, rng):
    return ((fbm(n, period, 3, rng) - 0.5) * 2 * amount * S,
            (fbm(n, period, 3, rng) - 0.5) * 2 * amount * S)


def shade(height, light=(-0.6, -0.8), strength=4.0):
    """Lambert-style shading from the periodic gradient of a height field."""
    gy = (np.roll(height, -1, 0) - np.roll(height, 1, 0)) * 0.5
    gx = (np.roll(height, -1, 1) - np.roll(height, 1, 1)) * 0.5
    nz = 1.0 / np.sqrt(1 + (gx * strength * N / 64) ** 2 + (gy * strength * N / 64) ** 2)
    nx = -gx * strength * N / 64 * nz
    ny = -gy * strength * N / 64 * nz
    lx, ly = light
    lz = 0.9
    ln = np.sqrt(lx * lx + ly * ly + lz * lz)
    return np.clip((nx * lx + ny * ly + nz * lz) / ln, 0, 1)


def ramp(v, stops):
    """Map v in 0..1 through colour stops [(pos, '#rrggbb'), ...]."""
    pos = [p for p, _ in stops]
    cols = np.array([hex_rgb(c) for _, c in stops], float)
    out = np.zeros(v.shape + (3,))
    for ch in range(3):
        out[..., ch] = np.interp(v, pos, cols[:, ch])
    return out


def toon(v, levels):
    """Soft-stepped shading: cartoon bands without jagged edges."""
    s = v * levels
    f = np.floor(s)
    r = s - f
    r = np.clip((r - 0.35) / 0.3, 0, 1)
    return np.clip((f + r * r * (3 - 2 * r)) / levels, 0, 1)


def to_image(rgb):
    a = np.zeros((N, N, 4), np.uint8)
    a[..., :3] = np.clip(rgb, 0, 255).astype(np.uint8)
    a[..., 3] = 255
    return Image.fromarray(a, "RGBA")


def edge_lines(f1, f2, width):
    """1 on cell borders (dark cartoon outline between stones), 0 inside."""
    e = f2 - f1
    width = width * S
    return np.clip(1 - (e - width * 0.5) / width, 0, 1)


# ---------------------------------------------------------------- pieces

def stones(seed, count, warp_amt, colours, gap, lumps=1.0, speck=0.15,
           light=(-0.5, -0.85), levels=4, stretch=(1.0, 1.0)):
    """Cartoon stone paving: pillowy cells, dark gaps, banded shading."""
    rng = np.random.RandomState(seed)
    warp = warp_field(N, 4, warp_amt, rng)
    f1, f2, ident = worley(N, count, rng, warp, stretch)
    e = f2 - f1
    dome = np.clip(e / (N / np.sqrt(count) * 0.35), 0, 1)
    dome = np.sqrt(dome)
    rough = fbm(N, 8, 4, rng)
    height = dome * lumps + rough * 0.35
    lit = shade(height, light)
    tone = rng.random_sample(ident.max() + 1)[ident]
    base = 0.25 + 0.55 * lit + 0.12 * (tone - 0.5)
    base += (fbm(N, 32, 2, rng) - 0.5) * speck
    v = toon(np.clip(base, 0, 1), levels)
    rgb = ramp(v, colours)
    line = edge_lines(f1, f2, gap)
    ink = np.array(hex_rgb(colours[0][1]), float) * 0.55
    rgb = rgb * (1 - line[..., None]) + ink * line[..., None]
    return rgb, (f1, f2, ident, line)


def strata(seed, bands, colours, crack_count, warp_amt=10.0, levels=4):
    """Layered rock for the walls: wavy horizontal beds split by cracks."""
    rng = np.random.RandomState(seed)
    wy, wx = warp_field(N, 3, warp_amt, rng)
    yy, xx = np.mgrid[0:N, 0:N].astype(float)
    phase = (yy + wy) / N * bands
    bed = phase - np.floor(phase)
    bed_id = np.floor(phase).astype(int) % bands
    tone = rng.random_sample(bands)[bed_id]
    # Each bed bulges out in the middle and is lit from above.
    bulge = np.sin(bed * np.pi) ** 0.6
    rough = fbm(N, 8, 4, rng)
    f1, f2, ident = worley(N, crack_count, rng, warp_field(N, 4, 14.0, rng),
                           stretch=(1.0, 0.6))
    cell = np.clip((f2 - f1) / (18.0 * S), 0, 1)
    height = bulge * 0.8 + rough * 0.4 + np.sqrt(cell) * 0.5
    lit = shade(height, (-0.3, -0.9))
    v = 0.22 + 0.55 * lit + 0.18 * (tone - 0.5)
    v += (fbm(N, 16, 3, rng) - 0.5) * 0.15
    v = toon(np.clip(v, 0, 1), levels)
    rgb = ramp(v, colours)
    dist = np.minimum(bed, 1 - bed) * N / bands
    gapline = np.clip(1 - (dist - 0.5 * S) / (1.5 * S), 0, 1)
    crack = edge_lines(f1, f2, 2.2)
    line = np.maximum(gapline * 0.9, crack)
    ink = np.array(hex_rgb(colours[0][1]), float) * 0.5
    rgb = rgb * (1 - line[..., None]) + ink * line[..., None]
    return rgb, (f1, f2, ident, line)


def glow(rgb, mask, colours):
    """Paint glowing veins (lava, ice light) where mask is high."""
    m = np.clip(mask, 0, 1)
    g = ramp(m, colours)
    return rgb * (1 - m[..., None]) + g * m[..., None]


# ---------------------------------------------------------------- sets

CAVE_ROCK = [(0.0, "#2a1c14"), (0.3, "#6a4630"), (0.55, "#a26d44"),
             (0.8, "#d29a62"), (1.0, "#f2c894")]
CAVE_FLOOR = [(0.0, "#2c2016"), (0.3, "#6e5238"), (0.55, "#9e7a52"),
              (0.8, "#c8a274"), (1.0, "#ecd0a0")]
CAVE_CEIL = [(0.0, "#221814"), (0.3, "#5a4034"), (0.55, "#86624a"),
             (0.8, "#b08660"), (1.0, "#d6ae84")]

ICE = [(0.0, "#0e2a4a"), (0.3, "#3a78b0"), (0.55, "#7cb8e4"),
       (0.8, "#bfe4fa"), (1.0, "#f4fcff")]
ICE_FLOOR = [(0.0, "#16385a"), (0.3, "#4a8cc0"), (0.55, "#96cdee"),
             (0.8, "#d0effc"), (1.0, "#ffffff")]

BASALT = [(0.0, "#120808"), (0.3, "#3a2624"), (0.55, "#5c3c34"),
          (0.8, "#84584a"), (1.0, "#a87a62")]
LAVA_GLOW = [(0.0, "#5a0c04"), (0.4, "#d8300e"), (0.75, "#ff8a1a"),
             (1.0, "#ffe070")]

CRYSTAL = [(0.0, "#1a0c2c"), (0.3, "#4a2a78"), (0.55, "#7c4ab8"),
           (0.8, "#b88ae8"), (1.0, "#f0dcff")]
CRYSTAL_FLOOR = [(0.0, "#180c26"), (0.3, "#40306a"), (0.55, "#6a58a0"),
                 (0.8, "#a08ad0"), (1.0, "#dcd0f8")]


def facets(seed, count, colours, light=(-0.5, -0.8)):
    """Crystal facets: flat-shaded cells, each with its own tilt, and
    bright rims."""
    rng = np.random.RandomState(seed)
    warp = warp_field(N, 4, 6.0, rng)
    f1, f2, ident = worley(N, count, rng, warp)
    tilt = rng.random_sample((ident.max() + 1, 2)) * 2 - 1
    lx, ly = light
    lit = 0.55 + 0.45 * (tilt[ident, 0] * lx + tilt[ident, 1] * ly) / 1.2
    # A gradient across each facet gives a glassy sheen.
    yy, xx = np.mgrid[0:N, 0:N].astype(float)
    sheen = np.sin((xx * tilt[ident, 0] + yy * tilt[ident, 1]) / N * 2 * np.pi * 3) * 0.08
    v = np.clip(lit + sheen + (fbm(N, 16, 2, rng) - 0.5) * 0.1, 0, 1)
    v = toon(v, 5)
    rgb = ramp(v, colours)
    rim = edge_lines(f1, f2, 3.0)
    hi = np.clip(1 - (f2 - f1 - 3.0 * S) / (2.0 * S), 0, 1) * (1 - rim)
    rgb = rgb * (1 - rim[..., None]) + np.array(hex_rgb(colours[0][1]), float) * rim[..., None]
    rgb = rgb + hi[..., None] * 90
    return rgb


def make_set(suffix):
    # The corridor stretches one tile across each surface, so the patterns
    # are fine-grained: a few dozen stones per tile, not a handful.
    if suffix == "":
        wall, _ = strata(11, 16, CAVE_ROCK, 36, warp_amt=7.0)
        floor, _ = stones(21, 81, 8.0, CAVE_FLOOR, 2.5)
        ceil, _ = stones(31, 64, 11.0, CAVE_CEIL, 3.0, lumps=1.3)
    elif suffix == "_ICE":
        wall, _ = strata(12, 12, ICE, 30, warp_amt=10.0, levels=5)
        rng = np.random.RandomState(121)
        frost = fbm(N, 8, 4, rng)
        wall = wall + (frost[..., None] - 0.5) * 50
        floor, _ = stones(22, 36, 16.0, ICE_FLOOR, 2.0, lumps=0.5, speck=0.05, levels=5)
        # Thin white scratches and cracks in the ice.
        rng = np.random.RandomState(221)
        g1, g2, _ = worley(N, 100, rng, warp_field(N, 4, 6.0, rng))
        scr = edge_lines(g1, g2, 1.0) * 0.6
        floor = floor * (1 - scr[..., None]) + 255 * scr[..., None]
        ceil, _ = stones(32, 49, 11.0, ICE, 2.5, lumps=1.4, levels=5)
    elif suffix == "_LAVA":
        wall, (f1, f2, _, line) = strata(13, 14, BASALT, 42, warp_amt=7.0)
        rng = np.random.RandomState(131)
        pulse = fbm(N, 4, 3, rng)
        wall = glow(wall, line * (0.55 + 0.6 * pulse), LAVA_GLOW)
        floor, (f1, f2, _, line) = stones(23, 64, 9.0, BASALT, 4.0)
        rng = np.random.RandomState(231)
        heat = fbm(N, 4, 3, rng)
        vein = np.clip(1 - (f2 - f1) / (9.0 * S), 0, 1) ** 1.5
        floor = glow(floor, vein * (0.7 + 0.5 * heat), LAVA_GLOW)
        ceil, (f1, f2, _, line) = stones(33, 56, 11.0, BASALT, 2.5, lumps=1.3)
        rng = np.random.RandomState(331)
        ceil = glow(ceil, line * 0.7 * fbm(N, 4, 3, rng) * 1.4, LAVA_GLOW)
    elif suffix == "_CRYSTAL":
        wall = facets(14, 100, CRYSTAL)
        floor, _ = stones(24, 72, 8.0, CRYSTAL_FLOOR, 2.5, levels=5)
        ceil = facets(34, 72, CRYSTAL, light=(0.4, 0.8))
    return to_image(ceil), to_image(floor), to_image(wall)


def make(images):
    for suffix, label in (("", "base cave"), ("_ICE", "ice"),
                          ("_LAVA", "lava"), ("_CRYSTAL", "crystal")):
        images.comment("Corridor textures, %s (tile both ways)" % label)
        ceil, floor, wall = make_set(suffix)
        low = suffix.lower()
        images.add("CEILING" + suffix, "ceiling%s.png" % low, ceil, hfrac=0.5)
        images.add("FLOOR" + suffix, "floor%s.png" % low, floor, hfrac=0.5)
        images.add("WALL" + suffix, "wall%s.png" % low, wall, hfrac=0.5)

"""Corridor textures: ceiling, floor and wall for the base cave and for the
ice, lava, crystal, slate, moss, hoard and gold sceneries, one cave a level.  Every noise source is periodic
over the tile, so the textures repeat without seams both ways.

One tile runs 15 units along the corridor, across a wall 2 units high or a
floor 3.5 units wide.  Each surface is drawn at its true shape (square pixels
in the cave, PX to a unit) and then squeezed to the stored size, so stones
come out round on screen instead of drawn out into stripes."""

import numpy as np
from PIL import Image

from common import hex_rgb

PX = 128          # pixels to a unit of the cave while drawing
ALONG = 15.0      # units of corridor one tile covers
WALL_H = 2.0
FLOOR_W = 3.5
S = 2.0           # pattern sizes below are given in half pixels (of a 256 px, 2-unit wall)
# Stored sizes (powers of two): along the run first for walls, across first for floors.
WALL_SIZE = (1024, 256)
FLOOR_SIZE = (512, 1024)


# ---------------------------------------------------------------- noise

def value_noise(n, period, rng):
    """Smooth noise on an n x n tile from a period x period lattice."""
    return value_noise_rect(n, n, period, period, rng)


def value_noise_rect(h, w, py, px, rng):
    """Smooth noise on an h x w tile from a py x px lattice."""
    grid = rng.random_sample((py, px))

    def axis(n, period):
        c = np.arange(n) * period / n
        i0 = np.floor(c).astype(int)
        t = c - i0
        return i0 % period, (i0 + 1) % period, t * t * (3 - 2 * t)

    y0, y1, ty = axis(h, py)
    x0, x1, tx = axis(w, px)
    ty = ty[:, None]
    tx = tx[None, :]
    return (grid[np.ix_(y0, x0)] * (1 - ty) * (1 - tx) + grid[np.ix_(y0, x1)] * (1 - ty) * tx +
            grid[np.ix_(y1, x0)] * ty * (1 - tx) + grid[np.ix_(y1, x1)] * ty * tx)


def fbm(shape, cell, octaves, rng, gain=0.5):
    """Fractal noise whose coarsest features are about cell pixels."""
    h, w = shape
    py, px = max(1, int(round(h / cell))), max(1, int(round(w / cell)))
    out = np.zeros(shape)
    amp, tot = 1.0, 0.0
    for _ in range(octaves):
        out += amp * value_noise_rect(h, w, py, px, rng)
        tot += amp
        amp *= gain
        py *= 2
        px *= 2
    return out / tot


def worley(shape, cell, rng, warp=None, stretch=(1.0, 1.0), jitter=0.8):
    """F1, F2 and the nearest point's index for points on a jittered grid of
    about cell pixels, with wrap-around.  warp is a pair of periodic offset
    fields (dy, dx) in pixels; stretch scales the distances (dy, dx)."""
    h, w = shape
    rows, cols = max(2, int(round(h / cell))), max(2, int(round(w / cell)))
    ch, cw = h / rows, w / cols
    jy = (rng.random_sample((rows, cols)) - 0.5) * jitter
    jx = (rng.random_sample((rows, cols)) - 0.5) * jitter
    yy, xx = np.mgrid[0:h, 0:w].astype(float)
    if warp is not None:
        yy = yy + warp[0]
        xx = xx + warp[1]
    gy = np.floor(yy / ch).astype(int)
    gx = np.floor(xx / cw).astype(int)
    best1 = np.full(shape, 1e9)
    best2 = np.full(shape, 1e9)
    ident = np.zeros(shape, int)
    for oy in range(-2, 3):
        for ox in range(-2, 3):
            ny, nx = gy + oy, gx + ox
            iy, ix = ny % rows, nx % cols
            d = np.sqrt(((yy - (ny + 0.5 + jy[iy, ix]) * ch) * stretch[0]) ** 2 +
                        ((xx - (nx + 0.5 + jx[iy, ix]) * cw) * stretch[1]) ** 2)
            closer = d < best1
            best2 = np.where(closer, best1, np.minimum(best2, d))
            ident = np.where(closer, iy * cols + ix, ident)
            best1 = np.where(closer, d, best1)
    return best1, best2, ident


def warp_field(shape, cell, amount, rng):
    return ((fbm(shape, cell, 3, rng) - 0.5) * 2 * amount * S,
            (fbm(shape, cell, 3, rng) - 0.5) * 2 * amount * S)


def shade(height, light=(-0.6, -0.8), strength=4.0):
    """Lambert-style shading from the periodic gradient of a height field."""
    k = strength * 8
    gy = (np.roll(height, -1, 0) - np.roll(height, 1, 0)) * 0.5 * k
    gx = (np.roll(height, -1, 1) - np.roll(height, 1, 1)) * 0.5 * k
    nz = 1.0 / np.sqrt(1 + gx ** 2 + gy ** 2)
    lx, ly = light
    lz = 0.9
    ln = np.sqrt(lx * lx + ly * ly + lz * lz)
    return np.clip((-gx * nz * lx - gy * nz * ly + nz * lz) / ln, 0, 1)


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


def to_image(rgb, size):
    """Squeeze a drawn surface to its stored size, wrapping round the edges
    so the resampling leaves no seam."""
    h, w = rgb.shape[:2]
    out_w, out_h = size
    # Pads that scale to whole pixels.
    py = h // np.gcd(h, out_h) * 2
    px = w // np.gcd(w, out_w) * 2
    while py < 8:
        py *= 2
    while px < 8:
        px *= 2
    padded = np.pad(np.clip(rgb, 0, 255), ((py, py), (px, px), (0, 0)), mode="wrap")
    big = Image.fromarray(padded.astype(np.uint8), "RGB")
    qy, qx = py * out_h // h, px * out_w // w
    small = big.resize((out_w + 2 * qx, out_h + 2 * qy), Image.LANCZOS)
    small = small.crop((qx, qy, qx + out_w, qy + out_h))
    a = np.zeros((out_h, out_w, 4), np.uint8)
    a[..., :3] = np.asarray(small)
    a[..., 3] = 255
    return Image.fromarray(a, "RGBA")


def edge_lines(f1, f2, width):
    """1 on cell borders (dark cartoon outline between stones), 0 inside."""
    e = f2 - f1
    width = width * S
    return np.clip(1 - (e - width * 0.5) / width, 0, 1)


# ---------------------------------------------------------------- pieces

def stones(shape, seed, cell, warp_amt, colours, gap, lumps=1.0, speck=0.15,
           light=(-0.5, -0.85), levels=4, stretch=(1.0, 1.0)):
    """Cartoon stone paving: pillowy cells, dark gaps, banded shading."""
    rng = np.random.RandomState(seed)
    warp = warp_field(shape, cell * 2, warp_amt, rng)
    f1, f2, ident = worley(shape, cell, rng, warp, stretch)
    e = f2 - f1
    dome = np.sqrt(np.clip(e / (cell * 0.35), 0, 1))
    rough = fbm(shape, cell / 1.5, 4, rng)
    height = dome * lumps + rough * 0.35
    lit = shade(height, light)
    tone = rng.random_sample(ident.max() + 1)[ident]
    base = 0.25 + 0.55 * lit + 0.12 * (tone - 0.5)
    base += (fbm(shape, cell / 3, 2, rng) - 0.5) * speck
    v = toon(np.clip(base, 0, 1), levels)
    rgb = ramp(v, colours)
    line = edge_lines(f1, f2, gap)
    ink = np.array(hex_rgb(colours[0][1]), float) * 0.55
    rgb = rgb * (1 - line[..., None]) + ink * line[..., None]
    return rgb, (f1, f2, ident, line)


def courses(shape, seed, rows, colours, warp_amt=6.0, levels=4, length=2.2):
    """Rough stone courses for the walls: rows of blocks a few times longer
    than high, their joints staggered, each block pillowed and lit from above."""
    h, w = shape
    rng = np.random.RandomState(seed)
    wy, wx = warp_field(shape, h / 2, warp_amt, rng)
    yy, xx = np.mgrid[0:h, 0:w].astype(float)
    phase = (yy + wy) / h * rows
    row = np.floor(phase).astype(int) % rows
    bed = phase - np.floor(phase)
    block = h / rows * length
    cols = max(2, int(round(w / block)))
    offs = rng.random_sample(rows)
    u = (xx + wx * 0.6) / w * cols + offs[row] * cols
    col = np.floor(u).astype(int) % cols
    along = u - np.floor(u)
    ident = row * cols + col
    # Distance to the block's edge, in pixels.
    dy = np.minimum(bed, 1 - bed) * h / rows
    dx = np.minimum(along, 1 - along) * w / cols
    edge = np.minimum(dy, dx)
    dome = np.sqrt(np.clip(edge / (h / rows * 0.4), 0, 1))
    rough = fbm(shape, h / rows / 2, 4, rng)
    lit = shade(dome * 0.9 + rough * 0.45, (-0.3, -0.9))
    tone = rng.random_sample(rows * cols)[ident]
    v = 0.22 + 0.58 * lit + 0.2 * (tone - 0.5)
    v += (fbm(shape, h / rows / 4, 3, rng) - 0.5) * 0.15
    v = toon(np.clip(v, 0, 1), levels)
    rgb = ramp(v, colours)
    f1, f2, _ = worley(shape, h / rows * 0.9, rng, warp_field(shape, h / 2, 5.0, rng))
    crack = edge_lines(f1, f2, 1.2) * (rough > 0.55)
    line = np.maximum(np.clip(1 - (edge - 1.5 * S) / (1.5 * S), 0, 1), crack * 0.8)
    ink = np.array(hex_rgb(colours[0][1]), float) * 0.5
    rgb = rgb * (1 - line[..., None]) + ink * line[..., None]
    return rgb, (edge, line)


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


MOSS = [(0.0, "#0e1a10"), (0.3, "#34462e"), (0.55, "#5e6e48"),
        (0.8, "#8e9a68"), (1.0, "#c8cc98")]
MOSS_GREEN = [(0.0, "#1e3a10"), (0.5, "#4e8a24"), (1.0, "#a8d858")]
GOLD = [(0.0, "#2a1a06"), (0.3, "#6e4a14"), (0.55, "#b07c26"),
        (0.8, "#e8b24a"), (1.0, "#fff0a8")]
GOLD_FLOOR = [(0.0, "#24160a"), (0.3, "#5a3e1c"), (0.55, "#8e6a36"),
              (0.8, "#c49a58"), (1.0, "#f0d49a")]
GOLD_SHINE = [(0.0, "#a86a12"), (0.5, "#f2b630"), (1.0, "#fff6c8")]

# Frozen basalt: blue-grey columns, frost on their edges, embers in the joints.
SLATE = [(0.0, "#0c1218"), (0.3, "#2c3844"), (0.55, "#4e6070"),
         (0.8, "#7c92a4"), (1.0, "#bcd0de")]
FROST = [(0.0, "#9ab8cc"), (1.0, "#f4fbff")]
EMBER = [(0.0, "#4a0e06"), (0.5, "#c8400e"), (1.0, "#ffb040")]
# The dragon's own den: crimson scales on the walls, gold spilt over dark red flags.
SCALE = [(0.0, "#1c0408"), (0.3, "#5a0e1c"), (0.55, "#8e1a2c"),
         (0.8, "#c2384a"), (1.0, "#f08090")]
DEN_FLOOR = [(0.0, "#1a0608"), (0.3, "#421418"), (0.55, "#66222a"),
             (0.8, "#8e3c40"), (1.0, "#c0686a")]

WALL = (int(WALL_H * PX), int(ALONG * PX))      # rows up the wall, columns along the run
FLOOR = (int(ALONG * PX), int(FLOOR_W * PX))    # rows along the run, columns across


def facets(shape, seed, cell, colours, light=(-0.5, -0.8)):
    """Crystal facets: flat-shaded cells, each with its own tilt, and
    bright rims."""
    rng = np.random.RandomState(seed)
    warp = warp_field(shape, cell * 2, 6.0, rng)
    f1, f2, ident = worley(shape, cell, rng, warp)
    tilt = rng.random_sample((ident.max() + 1, 2)) * 2 - 1
    lx, ly = light
    lit = 0.55 + 0.45 * (tilt[ident, 0] * lx + tilt[ident, 1] * ly) / 1.2
    # A gradient across each facet gives a glassy sheen.
    yy, xx = np.mgrid[0:shape[0], 0:shape[1]].astype(float)
    sheen = np.sin((xx * tilt[ident, 0] + yy * tilt[ident, 1]) / cell * 2 * np.pi * 0.3) * 0.08
    v = np.clip(lit + sheen + (fbm(shape, cell / 3, 2, rng) - 0.5) * 0.1, 0, 1)
    v = toon(v, 5)
    rgb = ramp(v, colours)
    rim = edge_lines(f1, f2, 3.0)
    hi = np.clip(1 - (f2 - f1 - 3.0 * S) / (2.0 * S), 0, 1) * (1 - rim)
    rgb = rgb * (1 - rim[..., None]) + np.array(hex_rgb(colours[0][1]), float) * rim[..., None]
    rgb = rgb + hi[..., None] * 90
    return rgb


def scales(shape, rows, cols, colours):
    """Overlapping round scales in staggered rows, each hanging over the row
    below it as roof tiles do, with a dark rim and a lit dome."""
    h, w = shape
    yy, xx = np.mgrid[0:h, 0:w].astype(float)
    sh, sw = h / rows, w / cols
    radius = sw * 0.8
    height = np.zeros(shape)
    ident = np.zeros(shape, int)
    row0 = np.floor(yy / sh).astype(int)
    for k in (0, -1, -2, -3):
        r = row0 + k
        cy = r * sh
        shift = (r % 2) * 0.5
        c = np.floor(xx / sw - shift + 0.5)
        cx = (c + shift) * sw
        d = np.sqrt((yy - cy) ** 2 + (xx - cx) ** 2)
        inside = (d < radius) & (yy >= cy)
        height = np.where(inside, 1 - d / radius, height)
        ident = np.where(inside, (r % rows) * cols + (c.astype(int) % cols), ident)
    lit = shade(np.sqrt(np.clip(height, 0, 1)) * 0.8, (-0.3, -0.9))
    tone = np.random.RandomState(rows * cols).random_sample(rows * cols)[ident]
    v = toon(np.clip(0.2 + 0.6 * lit + 0.15 * (tone - 0.5), 0, 1), 4)
    rgb = ramp(v, colours)
    line = np.clip(1 - (height * radius - 1.0 * S) / (1.5 * S), 0, 1)
    ink = np.array(hex_rgb(colours[0][1]), float) * 0.5
    return rgb * (1 - line[..., None]) + ink * line[..., None]


def coins(shape, seed, cell, base):
    """Gold coins heaped over a floor: round discs with a rim, thickest where
    a slow noise says the heap is."""
    rng = np.random.RandomState(seed)
    f1, f2, ident = worley(shape, cell, rng, jitter=0.9)
    heap = np.clip((fbm(shape, cell * 6, 3, rng) - 0.42) * 4.0, 0, 1)
    keep = rng.random_sample(ident.max() + 1)[ident] < heap
    r = cell * 0.42
    disc = np.clip((r - f1) / (0.8 * S), 0, 1) * keep
    tone = 0.45 + 0.55 * np.clip(1 - f1 / r, 0, 1) ** 0.6
    gold = ramp(np.clip(tone, 0, 1), GOLD_SHINE)
    rim = np.clip(1 - np.abs(f1 - r * 0.8) / (0.7 * S), 0, 1) * disc
    gold = gold * (1 - 0.45 * rim[..., None])
    return base * (1 - disc[..., None]) + gold * disc[..., None]


def make_set(suffix):
    # Stones about 0.4 to 0.5 units across: five or so up a wall, eight across
    # the floor.
    if suffix == "":
        wall, _ = stones(WALL, 11, 50, 14.0, CAVE_ROCK, 3.0, lumps=1.2, stretch=(1.0, 0.7))
        floor, _ = stones(FLOOR, 21, 54, 8.0, CAVE_FLOOR, 2.5)
        ceil, _ = stones(FLOOR, 31, 60, 11.0, CAVE_CEIL, 3.0, lumps=1.3)
    elif suffix == "_ICE":
        wall, _ = stones(WALL, 12, 64, 12.0, ICE, 2.0, lumps=0.7, levels=5)
        rng = np.random.RandomState(121)
        frost = fbm(WALL, 40, 4, rng)
        wall = wall + (frost[..., None] - 0.5) * 50
        floor, _ = stones(FLOOR, 22, 80, 16.0, ICE_FLOOR, 2.0, lumps=0.5, speck=0.05, levels=5)
        # Thin white scratches and cracks in the ice.
        rng = np.random.RandomState(221)
        g1, g2, _ = worley(FLOOR, 36, rng, warp_field(FLOOR, 70, 6.0, rng))
        scr = edge_lines(g1, g2, 1.0) * 0.6
        floor = floor * (1 - scr[..., None]) + 255 * scr[..., None]
        ceil, _ = stones(FLOOR, 32, 64, 11.0, ICE, 2.5, lumps=1.4, levels=5)
    elif suffix == "_LAVA":
        wall, (edge, line) = courses(WALL, 13, 4, BASALT, length=1.6)
        rng = np.random.RandomState(131)
        pulse = fbm(WALL, 120, 3, rng)
        wall = glow(wall, line * (0.55 + 0.6 * pulse), LAVA_GLOW)
        floor, (f1, f2, _, line) = stones(FLOOR, 23, 56, 9.0, BASALT, 4.0)
        rng = np.random.RandomState(231)
        heat = fbm(FLOOR, 120, 3, rng)
        vein = np.clip(1 - (f2 - f1) / (9.0 * S), 0, 1) ** 1.5
        floor = glow(floor, vein * (0.7 + 0.5 * heat), LAVA_GLOW)
        ceil, (f1, f2, _, line) = stones(FLOOR, 33, 60, 11.0, BASALT, 2.5, lumps=1.3)
        rng = np.random.RandomState(331)
        ceil = glow(ceil, line * 0.7 * fbm(FLOOR, 120, 3, rng) * 1.4, LAVA_GLOW)
    elif suffix == "_CRYSTAL":
        wall = facets(WALL, 14, 50, CRYSTAL)
        floor, _ = stones(FLOOR, 24, 56, 8.0, CRYSTAL_FLOOR, 2.5, levels=5)
        ceil = facets(FLOOR, 34, 56, CRYSTAL, light=(0.4, 0.8))
    elif suffix == "_MOSS":
        # Damp green stone with moss growing over it, thickest low on the walls.
        wall, (f1, f2, _, line) = stones(WALL, 15, 44, 16.0, MOSS, 3.0, lumps=1.3,
                                         stretch=(1.0, 0.75))
        rng = np.random.RandomState(151)
        low = np.linspace(0.0, 1.0, WALL[0])[:, None] ** 1.5
        moss = np.clip((fbm(WALL, 50, 4, rng) - 0.6 + 0.3 * low) * 3.0, 0, 1) * (1 - line)
        wall = glow(wall, moss * 0.7, MOSS_GREEN)
        floor, (f1, f2, _, line) = stones(FLOOR, 25, 50, 10.0, MOSS, 3.5, lumps=1.2)
        rng = np.random.RandomState(251)
        moss = np.clip((fbm(FLOOR, 40, 4, rng) - 0.5) * 3.0, 0, 1)
        floor = glow(floor, np.maximum(line * 0.9, moss * 0.6), MOSS_GREEN)
        ceil, _ = stones(FLOOR, 35, 70, 11.0, MOSS, 3.0, lumps=1.4)
    elif suffix == "_GOLD":
        # The hoard: warm dressed stone, gold seams, and coins underfoot.
        wall, (edge, line) = courses(WALL, 16, 4, GOLD_FLOOR, length=2.6, levels=5)
        rng = np.random.RandomState(161)
        wall = glow(wall, line * np.clip(fbm(WALL, 80, 3, rng) * 1.6 - 0.3, 0, 1), GOLD_SHINE)
        floor, (f1, f2, ident, line) = stones(FLOOR, 26, 30, 5.0, GOLD, 2.0, lumps=1.6, levels=5)
        rng = np.random.RandomState(261)
        heap = np.clip((fbm(FLOOR, 90, 3, rng) - 0.45) * 3.0, 0, 1)
        floor = floor * (0.55 + 0.45 * heap[..., None])
        ceil, _ = stones(FLOOR, 36, 64, 11.0, GOLD_FLOOR, 3.0, lumps=1.3)
    elif suffix == "_SLATE":
        # Fire and ice: upright basalt columns on the walls, their hexagonal tops
        # underfoot, frost on the edges and embers deep in a few joints.
        wall, (edge, line) = courses((WALL[1], WALL[0]), 17, 40, SLATE, length=3.0, levels=4)
        wall = np.transpose(wall, (1, 0, 2))
        line = line.T
        rng = np.random.RandomState(171)
        wall = glow(wall, line * np.clip(fbm(WALL, 90, 3, rng) * 2.2 - 1.0, 0, 1), EMBER)
        frost = np.clip((fbm(WALL, 30, 3, rng) - 0.55) * 3.0, 0, 1) * np.linspace(1.0, 0.2, WALL[0])[:, None]
        wall = glow(wall, frost * 0.8, FROST)
        floor, (f1, f2, _, line) = stones(FLOOR, 27, 58, 1.5, SLATE, 3.0, lumps=0.6, levels=4)
        rng = np.random.RandomState(271)
        floor = glow(floor, line * np.clip(fbm(FLOOR, 120, 3, rng) * 2.4 - 1.1, 0, 1), EMBER)
        floor = glow(floor, np.clip((fbm(FLOOR, 36, 3, rng) - 0.6) * 2.5, 0, 1) * (1 - line), FROST)
        ceil, _ = stones(FLOOR, 37, 50, 2.0, SLATE, 3.0, lumps=1.0)
        ceil = glow(ceil, np.clip((fbm(FLOOR, 40, 3, rng) - 0.5) * 2.0, 0, 1) * 0.7, FROST)
    elif suffix == "_HOARD":
        wall = scales(WALL, 10, 40, SCALE)
        floor, _ = stones(FLOOR, 28, 64, 10.0, DEN_FLOOR, 3.0, lumps=1.0)
        floor = coins(FLOOR, 281, 22, floor)
        ceil, _ = stones(FLOOR, 38, 58, 12.0, SCALE, 3.0, lumps=1.3)
    return (to_image(ceil, FLOOR_SIZE), to_image(floor, FLOOR_SIZE),
            to_image(wall, WALL_SIZE))


LOOKS = (("", "base cave"), ("_ICE", "ice"), ("_LAVA", "lava"),
         ("_CRYSTAL", "crystal"), ("_MOSS", "moss"), ("_GOLD", "gold"),
         ("_SLATE", "slate"), ("_HOARD", "hoard"))


def make(images):
    for suffix, label in LOOKS:
        images.comment("Corridor textures, %s (tile both ways)" % label)
        ceil, floor, wall = make_set(suffix)
        low = suffix.lower()
        images.add_exact("CEILING" + suffix, "ceiling%s.png" % low, ceil, 0.28571, 0.5)
        images.add_exact("FLOOR" + suffix, "floor%s.png" % low, floor, 0.28571, 0.5)
        images.add_exact("WALL" + suffix, "wall%s.png" % low, wall, 0.28571, 0.5)

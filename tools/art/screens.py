"""Screens: title logo, menu pieces, backdrops (team logo, credits, cave
map), the loading screen and icon, hint cards and the credits run signs."""

import math

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

from common import INK, PAL, hex_rgb, crop_tight, text_image, downsample_to
from shapes import (render, path, poly, circle, ellipse, lin_grad, rad_grad,
                    glint, star, smooth_closed, rgba)
import items
import obstacles
import runner
import hud
import textures

PARCH = [(0.0, "#b8925a"), (0.4, "#e0c08a"), (0.75, "#f2dcaa"), (1.0, "#fff0c8")]


def parchment(W, H, seed, radius=28, border=5, edge_dark=True):
    """A mottled parchment card with a dark outline and browned edges."""
    rng = np.random.RandomState(seed)
    textures_n = 256
    n1 = textures.value_noise(textures_n, 8, rng)
    n2 = textures.value_noise(textures_n, 32, rng)
    big = Image.fromarray(((n1 * 0.7 + n2 * 0.3) * 255).astype(np.uint8), "L").resize((W, H), Image.BICUBIC)
    v = np.array(big, float) / 255.0
    yy, xx = np.mgrid[0:H, 0:W].astype(float)
    # Rounded-rectangle signed distance (positive inside).
    qx = np.abs(xx - W / 2 + 0.5) - (W / 2 - radius - border)
    qy = np.abs(yy - H / 2 + 0.5) - (H / 2 - radius - border)
    outside = np.sqrt(np.maximum(qx, 0) ** 2 + np.maximum(qy, 0) ** 2) + np.minimum(np.maximum(qx, qy), 0)
    d = radius - outside
    tone = 0.55 + 0.45 * v
    if edge_dark:
        tone *= np.clip(0.55 + d / 40.0, 0.55, 1.0)
    rgb = textures.ramp(np.clip(tone, 0, 1), PARCH)
    ink = np.array(hex_rgb(INK), float)
    line = np.clip(1 - (d - border) / 1.5, 0, 1)
    rgb = rgb * (1 - line[..., None]) + ink * line[..., None]
    alpha = np.clip(d + 0.5, 0, 1)
    return rgba(rgb, alpha)


def paste_center(base, img, cx, cy):
    base.alpha_composite(img, (int(round(cx - img.width / 2)), int(round(cy - img.height / 2))))


def fit(img, w=None, h=None):
    s = min((w or 1e9) / img.width, (h or 1e9) / img.height)
    return img.resize((max(1, round(img.width * s)), max(1, round(img.height * s))), Image.LANCZOS)


# ---------------------------------------------------------------- title

def title_logo():
    """ZOOMQUEST in the display font: gold, slanted forward, with speed
    streaks trailing to the left."""
    word = text_image("ZOOMQUEST", 110, gradient=("#fff2a8", "#f58a1f"), tracking=2)
    W, H = word.width + 150, word.height + 40
    base = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    streaks = ""
    for i, (y, ln) in enumerate(((0.3, 120), (0.5, 150), (0.7, 110))):
        yy = 20 + word.height * y
        streaks += path("M %.1f %.1f L %.1f %.1f" % (150 - ln, yy, 150, yy), "none", INK, 16)
        streaks += path("M %.1f %.1f L %.1f %.1f" % (150 - ln + 6, yy, 146, yy), "none", "#ffd23f", 7)
    base.alpha_composite(render(W, H, streaks))
    # Shear forward for speed.
    lean = 0.28
    sheared = word.transform((word.width + int(lean * word.height), word.height), Image.AFFINE,
                             (1, lean, -lean * word.height, 0, 1, 0), Image.BICUBIC)
    base.alpha_composite(sheared, (120, 20))
    return crop_tight(base, pad=2)


def plaque(text, w=440, h=84, seed=1):
    """A wooden sign with a word: the main menu's items."""
    defs = lin_grad("wd", [(0, "#b07a4a"), (0.5, "#8a5a36"), (1, "#5a3a24")])
    body = ('<rect x="4" y="4" width="%d" height="%d" rx="18" fill="url(#wd)" stroke="%s" stroke-width="6"/>'
            % (w - 8, h - 8, INK))
    for y in (26, 48, 64):
        body += path("M 24 %d Q %d %d %d %d" % (y, w / 2, y + (4 if y % 2 else -4), w - 24, y), "none", "#5a3a24", 3)
    body += circle(22, h / 2, 6, "#c0c0c8", INK, 2.5) + circle(w - 22, h / 2, 6, "#c0c0c8", INK, 2.5)
    img = render(w, h, body, defs)
    word = text_image(text, 50, tracking=4)
    paste_center(img, word, w / 2, h / 2 + 2)
    return img


def menu_slab(W=700, H=392, card_h=178):
    """The pause and death menus' panel: a dark wooden board for the pale
    title and volume lines, with a parchment card in the middle for the
    black items. Drawn at depth -0.7, where it shows at 0.775 of its size;
    the card holds "continue from last checkpoint" with the cursor and the
    four items 0.1 apart, the board the big title above and the two volume
    lines below. The death menu stands it in the middle with its items
    where the pause menu has them, so the card reaches well past the longest
    item on the right as well. The options screen's board is the same,
    taller, its card holding twelve lines 0.1 apart."""
    defs = lin_grad("bd", [(0, "#5a3a24"), (0.5, "#3e281a"), (1, "#2a1a10")])
    body = '<rect x="4" y="4" width="%d" height="%d" rx="34" fill="url(#bd)" stroke="%s" stroke-width="7"/>' % (
        W - 8, H - 8, INK)
    # Grain of the boards, kept to the dark edges so no line crosses a text.
    for y in (22, 36, 50, H - 50, H - 36, H - 22):
        body += path("M 40 %d Q %d %d %d %d" % (y, W / 2, y + (3 if y % 4 else -3), W - 40, y), "none",
                     "#24160c", 2.5)
    for x, y in ((28, 28), (W - 28, 28), (28, H - 28), (W - 28, H - 28)):
        body += circle(x, y, 9, "#c99a62", INK, 3)
    img = render(W, H, body, defs)
    card = parchment(W - 38, card_h, 701, radius=18, border=5)
    paste_center(img, card, W / 2, H / 2)
    return img


def menu_selection():
    """The glow behind the menu item under the cursor: one glyph wide,
    stretched along the line by the game, so its ends fade within a texel."""
    W, H = 32, 60
    yy, xx = np.mgrid[0:H, 0:W].astype(float)
    v = np.clip(1 - np.abs(yy - (H - 1) / 2) / (H / 2), 0, 1)
    alpha = np.clip(v * 2.2, 0, 1) ** 1.2 * 0.92
    alpha[:, 0] = alpha[:, -1] = 0
    rgb = np.zeros((H, W, 3)) + np.array(hex_rgb("#ffc02a"), float)
    return rgba(rgb, alpha)


def arrow():
    """The menu cursor, pointing at the item: red with a bright edge, so
    it stands out on the dark board and on the parchment."""
    W, H = 96, 80
    defs = lin_grad("ar", [(0, "#ffd23f"), (0.45, "#f0641c"), (1, "#a8200a")])
    body = poly([(6, 24), (48, 24), (48, 6), (90, 40), (48, 74), (48, 56), (6, 56)], "url(#ar)", INK, 6)
    body += path("M 14 32 L 50 32 L 50 20", "none", "#fff2a8", 4)
    return crop_tight(render(W, H, body, defs), pad=1)


# ---------------------------------------------------------------- backdrops

def cave_backdrop(W, H, seed, warm=True):
    """A dark cave room lit from the middle: the backdrop of the screens."""
    rng = np.random.RandomState(seed)
    yy, xx = np.mgrid[0:H, 0:W].astype(float)
    tile = np.array(Image.open(textures_path("wall.png")).convert("RGB"), float)
    rock = tile[(yy.astype(int)) % tile.shape[0], (xx.astype(int)) % tile.shape[1]]
    r = np.sqrt(((xx - W / 2) / (W * 0.55)) ** 2 + ((yy - H * 0.5) / (H * 0.6)) ** 2)
    light = np.clip(1.1 - r, 0.12, 1.0) ** 1.4
    rgb = rock * light[..., None]
    return rgba(rgb, np.ones((H, W)))


def textures_path(name):
    from common import OUT
    return "%s/%s" % (OUT, name)


def team_logo():
    W, H = 800, 600
    img = Image.new("RGBA", (W, H), hex_rgb("#140e0a") + (255,))
    glow = Image.new("L", (W, H), 0)
    ImageDraw.Draw(glow).ellipse((150, 40, 650, 440), fill=110)
    glow = glow.filter(ImageFilter.GaussianBlur(70))
    warm = Image.new("RGBA", (W, H), hex_rgb("#6a3a1a") + (255,))
    img = Image.composite(warm, img, glow)
    defs = (lin_grad("hill", [(0, "#6aa85a"), (1, "#2e4a1e")]) +
            rad_grad("sky", [(0, "#2a3a6a"), (1, "#0e1428")], 0.5, 0.4, 0.7) +
            rad_grad("door", [(0, "#ffd23f"), (0.6, "#f58a1f"), (1, "#a8400a")], 0.5, 0.7, 0.6))
    cx, cy = 400, 250
    body = circle(cx, cy, 150, "url(#sky)", INK, 8)
    body += '<clipPath id="c"><circle cx="%d" cy="%d" r="146"/></clipPath>' % (cx, cy)
    body += '<g clip-path="url(#c)">'
    for sx, sy in ((320, 160), (360, 130), (470, 150), (440, 200), (300, 210), (500, 220)):
        body += glint(sx, sy, 7, "#fff6c0")
    body += circle(455, 170, 26, "#fff3b0", "none", 0) + circle(466, 162, 22, "#1a2246", "none", 0)
    body += path("M 230 330 Q 300 180 400 170 Q 500 180 570 330 Z", "url(#hill)", INK, 6)
    body += path("M 360 330 L 360 280 Q 400 236 440 280 L 440 330 Z", "url(#door)", INK, 6)
    body += circle(428, 300, 5, INK, "none", 0)
    body += path("M 300 240 q 10 -12 20 0 M 470 230 q 10 -12 20 0 M 500 270 q 10 -12 20 0", "none", "#2e4a1e", 4)
    body += '</g>'
    body += circle(cx, cy, 150, "none", INK, 8) + circle(cx, cy, 141, "none", "#c99a62", 5)
    img.alpha_composite(render(W, H, body, defs))
    t1 = text_image("HOLLOW HILL", 70, gradient=("#fff2a8", "#f2b630"), tracking=4)
    t2 = text_image("GAMES", 52, tracking=10)
    paste_center(img, t1, W / 2, 460)
    paste_center(img, t2, W / 2, 530)
    return img


def credits_backdrop():
    W, H = 800, 600
    img = cave_backdrop(W, H, 702)
    # Treasure heap in the middle.
    heap = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    defs = items.COIN_DEFS
    body = path("M 140 600 Q 400 330 660 600 Z", "#c0801a", INK, 6)
    rng = np.random.RandomState(703)
    for i in range(40):
        x = 200 + rng.random_sample() * 400
        y = 600 - rng.random_sample() * 200 * (1 - abs(x - 400) / 260)
        body += items.coin(x, y, 18, 0.45, False)
    heap.alpha_composite(render(W, H, body, defs))
    img.alpha_composite(heap)
    for name, x, y, s in (("CROWN", 400, 360, 140), ("GOBLET", 300, 430, 110), ("RUBY", 510, 440, 90),
                          ("CHEST", 620, 520, 130), ("EMERALD", 190, 520, 80)):
        paste_center(img, fit(items.treasure(name), s, s), x, y)
    title = text_image("CREDITS", 96, gradient=("#fff2a8", "#f58a1f"), tracking=6)
    paste_center(img, title, W / 2, 110)
    return img


def overworld():
    """A parchment map: a dotted path winding through eight caverns to the
    dragon's lair, the bottom left plain for the screen's words."""
    W, H = 800, 600
    img = parchment(W, H, 704, radius=36, border=8)
    spots = [(90, 380), (190, 250), (300, 360), (400, 200), (500, 330), (590, 180), (680, 290), (720, 120)]
    body = ""
    d = "M %d %d " % spots[0]
    for (x0, y0), (x1, y1) in zip(spots, spots[1:]):
        mx, my = (x0 + x1) / 2, (y0 + y1) / 2 - 40
        d += "Q %.1f %.1f %d %d " % (mx, my, x1, y1)
    body += path(d, "none", "#8a2a1a", 6, 'stroke-dasharray="4 14"')
    # Mountains and scribbles for a drawn-map feel.
    for x, y, s in ((150, 150, 1.0), (250, 130, 0.8), (480, 110, 1.1), (620, 70, 0.8), (60, 250, 0.7)):
        body += path("M %.1f %.1f L %.1f %.1f L %.1f %.1f" % (x - 40 * s, y + 30 * s, x, y - 30 * s, x + 40 * s, y + 30 * s),
                     "#d8b47a", "#5a3a24", 4)
        body += path("M %.1f %.1f L %.1f %.1f" % (x - 10 * s, y - 8 * s, x, y - 30 * s), "none", "#5a3a24", 3)
    for i, (x, y) in enumerate(spots):
        last = i == len(spots) - 1
        body += ellipse(x, y, 34 if not last else 44, 24 if not last else 32, "#3a2418", "#5a3a24", 5)
        body += ellipse(x, y + 4, 22 if not last else 30, 14 if not last else 20, "#0a0604", "none", 0)
    # Compass, up at the right, clear of the screen's two lines of text.
    body += poly(star(740, 420, 46, 12, 4), "#c99a62", "#5a3a24", 3)
    body += circle(740, 420, 8, "#8a2a1a", "#5a3a24", 2)
    img.alpha_composite(render(W, H, body))
    for i, (x, y) in enumerate(spots[:-1]):
        num = text_image(str(i + 1), 28, shadow=False)
        paste_center(img, num, x, y - 36)
    # The lair is the eighth level's cave too: its number stands to the left, clear of the head.
    paste_center(img, text_image(str(len(spots)), 28, shadow=False), spots[-1][0] - 64, spots[-1][1] + 4)
    head = fit(hud.dragon_head(False), 110, 110)
    paste_center(img, head, spots[-1][0] - 10, spots[-1][1] - 60)
    title = text_image("THE DRAGON'S CAVES", 46, fill="#fff3d6", tracking=2)
    paste_center(img, title, 300, 60)
    n = text_image("N", 26, shadow=False)
    paste_center(img, n, 740, 360)
    return img


def loading_screen():
    W, H = 768, 410
    img = parchment(W, H, 705, radius=30, border=6, edge_dark=True)
    dark = Image.new("RGBA", (W - 40, H - 40), hex_rgb("#1c1410") + (255,))
    mask = Image.new("L", (W - 40, H - 40), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, W - 41, H - 41), 22, fill=255)
    cave = cave_backdrop(W - 40, H - 40, 706)
    img.paste(cave, (20, 20), mask)
    title = text_image("ZOOMQUEST", 84, gradient=("#fff2a8", "#f58a1f"), tracking=2)
    paste_center(img, title, W / 2, 84)
    # The runner on the left, the dragon on the right; the game spins the
    # loading icon between them.
    run = fit(Image.open(textures_path("player_run_03.png")).convert("RGBA"), h=120)
    paste_center(img, run, 170, 290)
    head = fit(hud.dragon_head(True), 150, 150)
    paste_center(img, head, 610, 290)
    word = text_image("LOADING...", 34, tracking=3)
    paste_center(img, word, W / 2, 372)
    return img


def loading_icon():
    """A golden wheel with a ruby: spins while the images load."""
    W, H = 128, 128
    defs = items.COIN_DEFS
    body = poly(star(64, 64, 60, 44, 12), "url(#coin)", INK, 4)
    body += circle(64, 64, 36, "#c0801a", INK, 3)
    d, s = items.gem(64, 64, 26, PAL["ruby_d"], PAL["ruby"], PAL["ruby_l"], "lg", 6)
    return render(W, H, body + s, defs + d)


# ---------------------------------------------------------------- hints

HW, HH = 440, 252


def key_cap(label_svg, w, h):
    s = '<rect x="2" y="6" width="%d" height="%d" rx="12" fill="#8a8080" stroke="%s" stroke-width="4"/>' % (w - 4, h - 8, INK)
    s += '<rect x="8" y="2" width="%d" height="%d" rx="10" fill="#f0ece4" stroke="%s" stroke-width="4"/>' % (w - 16, h - 18, INK)
    return render(w, h, s + label_svg)


def hint_card(caption, art):
    card = parchment(HW, HH, 720 + len(caption), radius=24, border=5)
    art(card)
    words = text_image(caption, 30, tracking=1)
    words = fit(words, w=HW - 40) if words.width > HW - 40 else words
    paste_center(card, words, HW / 2, HH - 38)
    return card


def arrow_svg(direction):
    if direction == "left":
        return poly([(18, 40), (44, 18), (44, 30), (62, 30), (62, 50), (44, 50), (44, 62)], INK, "none", 0)
    return poly([(62, 40), (36, 18), (36, 30), (18, 30), (18, 50), (36, 50), (36, 62)], INK, "none", 0)


def hints():
    def steer(c):
        paste_center(c, key_cap(arrow_svg("left"), 80, 80), 90, 100)
        paste_center(c, key_cap(arrow_svg("right"), 80, 80), 350, 100)
        run = fit(Image.open(textures_path("player_run_01.png")).convert("RGBA"), h=150)
        paste_center(c, run, 220, 100)
        c.alpha_composite(render(HW, HH, path("M 150 100 L 180 100 M 260 100 L 290 100", "none", "#8a2a1a", 6)))

    def jump(c):
        bar = key_cap('<text x="0" y="0"/>', 200, 64)
        paste_center(c, bar, 120, 120)
        word = text_image("SPACE", 24, fill="#1c1410", outline="#f0ece4", shadow=False)
        paste_center(c, word, 120, 116)
        sp = fit(obstacles.spike_floor(), w=120)
        paste_center(c, sp, 330, 160)
        run = fit(Image.open(textures_path("player_run_06.png")).convert("RGBA"), h=100)
        paste_center(c, run, 330, 80)
        c.alpha_composite(render(HW, HH, path("M 270 150 Q 300 30 390 110", "none", "#8a2a1a", 5,
                                              'stroke-dasharray="8 8"')))

    def collect(c):
        for name, x, s in (("COIN", 90, 80), ("RUBY", 170, 80), ("CROWN", 260, 96), ("GOBLET", 350, 90)):
            paste_center(c, fit(items.treasure(name), s, s), x, 100)

    def picture(img, x=220, y=100, s=130):
        return lambda c: paste_center(c, fit(img, s, s), x, y)

    def bone(c):
        paste_center(c, fit(items.bone(), 110, 110), 120, 100)
        c.alpha_composite(render(HW, HH, path("M 190 100 L 250 100 M 236 86 L 252 100 L 236 114", "none", "#8a2a1a", 6)))
        paste_center(c, fit(hud.dragon_head(True), 140, 140), 330, 100)

    def boost(c):
        paste_center(c, fit(items.boost(), 110, 110), 100, 100)
        c.alpha_composite(render(HW, HH, path("M 170 100 L 220 100 M 206 86 L 222 100 L 206 114", "none", "#8a2a1a", 6)))
        rock = Image.open(textures_path("rock_exp2.png")).convert("RGBA")
        paste_center(c, fit(rock, 160, 140), 320, 100)

    def spinner(c):
        paste_center(c, fit(items.spinner(), 120, 120), 220, 100)
        c.alpha_composite(render(HW, HH, path("M 120 60 A 110 70 0 0 1 320 60", "none", "#8a2a1a", 6) +
                                 poly([(320, 40), (336, 70), (300, 66)], "#8a2a1a", "none", 0)))

    def cloak(c):
        run = fit(Image.open(textures_path("player_run_01.png")).convert("RGBA"), h=140)
        ghost = run.copy()
        a = np.array(ghost)
        a[..., 3] = (a[..., 3] * 0.45).astype(np.uint8)
        paste_center(c, Image.fromarray(a, "RGBA"), 300, 100)
        paste_center(c, fit(items.cloak(), 120, 120), 120, 100)
        paste_center(c, fit(obstacles.boulder_frames()[0], 70, 70), 370, 120)

    def clock(c):
        paste_center(c, fit(items.clock(), 120, 124), 140, 100)
        snail = (ellipse(310, 130, 60, 14, "#c8a070", INK, 4) + circle(320, 100, 34, "#d8784a", INK, 4) +
                 path("M 320 100 m -18 0 a 18 18 0 1 1 18 18 a 10 10 0 1 1 -8 -12", "none", INK, 3) +
                 path("M 262 126 L 250 96 M 270 124 L 266 94", "none", INK, 3) +
                 circle(250, 94, 4, INK, "none", 0) + circle(266, 92, 4, INK, "none", 0))
        c.alpha_composite(render(HW, HH, snail))

    def spring(c):
        paste_center(c, fit(items.spring_side(1.0, 0.0, True), 180, 110), 140, 130)
        run = fit(Image.open(textures_path("player_run_06.png")).convert("RGBA"), h=90)
        paste_center(c, run, 320, 60)
        c.alpha_composite(render(HW, HH, path("M 170 70 Q 220 -10 290 50", "none", "#8a2a1a", 5,
                                              'stroke-dasharray="8 8"')))

    def torch(c):
        paste_center(c, fit(items.torch(0), 80, 170), 150, 100)
        glow = Image.new("L", (HW, HH), 0)
        ImageDraw.Draw(glow).ellipse((200, 40, 400, 170), fill=160)
        glow = glow.filter(ImageFilter.GaussianBlur(24))
        dark = Image.new("RGBA", (HW, HH), hex_rgb("#1c1410") + (0,))
        dark.putalpha(glow)
        c.alpha_composite(dark)
        paste_center(c, fit(items.treasure("DIAMOND"), 60, 60), 300, 100)

    return [
        ("HINT_STEER", "ARROW KEYS STEER", steer),
        ("HINT_JUMP", "SPACE BAR JUMPS", jump),
        ("HINT_COLLECT", "GRAB THE TREASURE!", collect),
        ("HINT_BONE", "BONES MAKE DRAGON SNACKS", bone),
        ("HINT_BOOST", "BOOST SMASHES ROCKS", boost),
        ("HINT_SPINNER", "SPINNERS TURN THE CAVE", spinner),
        ("HINT_CLOAK", "CLOAK: NOTHING HITS YOU", cloak),
        ("HINT_CLOCK", "CLOCKS SLOW TIME DOWN", clock),
        ("HINT_SPRING", "SPRINGS LAUNCH YOU HIGH", spring),
        ("HINT_TORCH", "TORCHES LIGHT THE DARK", torch),
    ]


CREDITS = ["ZOOMQUEST", "MADE BY", "HOLLOW HILL GAMES", "CODE & LEVELS",
           "ART & SOUND", "THANKS FOR PLAYING!"]


def credit_sign(text):
    W, H = 420, 120
    defs = lin_grad("sc", [(0, "#fff2a8"), (0.5, "#f2b630"), (1, "#a86a12")])
    body = path("M 20 14 L 400 14 Q 414 60 400 106 L 20 106 Q 6 60 20 14 Z", "url(#sc)", INK, 6)
    body += path("M 32 24 L 388 24 Q 398 60 388 96 L 32 96 Q 22 60 32 24 Z", "#3a2418", INK, 3)
    img = render(W, H, body, defs)
    word = text_image(text, 44, gradient=("#fffaf0", "#ffd98a"), tracking=2)
    if word.width > W - 80:
        word = fit(word, w=W - 80)
    paste_center(img, word, W / 2, H / 2 + 2)
    return img


def make(images):
    images.comment("Menus: title logo, items, panel and cursor")
    images.add("ZOOMQUEST", "title_logo.png", title_logo(), wfrac=0.42)
    images.add("START_TEXT", "menu_start.png", plaque("START"), hfrac=0.08)
    # The main menu's second item opens the credits run.
    images.add("OPTIONS_TEXT", "menu_credits.png", plaque("CREDITS"), hfrac=0.08)
    # The third opens the options screen.
    images.add("MENU_OPTIONS", "menu_options.png", plaque("OPTIONS"), hfrac=0.08)
    images.add("MENU_SLAB", "menu_slab.png", menu_slab(800), hfrac=0.70001)
    images.add("OPTIONS_SLAB", "options_slab.png", menu_slab(604, 450, 310), hfrac=1.27)
    images.add("ARROW", "arrow.png", arrow(), hfrac=0.085)
    # One glyph advance at menu size (0.045 x 0.085 world units).
    images.add_exact("MENU_SELECTION", "menu_selection.png", menu_selection(), 0.012857, 0.0425)

    images.comment("Backdrops (drawn behind the screens, filling them)")
    images.add_exact("TEAM_LOGO", "team_logo.png", team_logo(), 0.982, 1.289)
    images.add_exact("CREDITS", "credits.png", credits_backdrop(), 0.982, 1.289)
    images.add_exact("OVERWORLD", "overworld.png", overworld(), 0.982, 1.289)

    # The loading screen and icon are sized by the game itself; they are
    # only files here, not entries.
    from common import save_png
    save_png(loading_screen(), "loading_screen.png")
    save_png(loading_icon(), "loading_icon.png")

    images.comment("Hint pictures, one per lesson")
    for key, caption, art in hints():
        images.add(key, key.lower() + ".png", hint_card(caption, art), wfrac=0.35)

    images.comment("Credits run signs")
    for i, text in enumerate(CREDITS):
        images.add("CREDIT_%d" % (i + 1), "credit_%d.png" % (i + 1), credit_sign(text), wfrac=0.3)

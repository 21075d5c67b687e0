#!/usr/bin/python3
"""Writes Data/Levels/Gold/level0.zqt .. level7.zqt.

Each level is laid out below as a script of small set pieces (a rock wall with one
gap, a row of floor spikes to jump, a line of coins ...) placed one after another
along the run. Nothing here is random: running it twice gives the same files.

Run from the repository root:  /usr/bin/python3 tools/levels/make_levels.py
"""

import os
import sys

OUT = os.path.join("Data", "Levels", "Gold")

# Label shown in front of each record; the game never reads it.
NAMES = {
    0: "Treasure", 1: "Rock", 2: "Spike", 3: "Boost", 4: "Spinner", 5: "Bone",
    6: "Spring", 7: "Clock", 8: "Hole", 9: "Cloak", 10: "Hint", 11: "Camera",
    12: "Torch", 13: "Fog", 14: "Scenery", 15: "Stalactite", 16: "Treasure",
    17: "Treasure", 18: "Boulder",
}

# Treasure pictures and what they are worth.
COIN = ("TREASURE_COIN", 10)
COINS = ("TREASURE_COINS", 25)
RUBY = ("TREASURE_RUBY", 50)
EMERALD = ("TREASURE_EMERALD", 50)
SAPPHIRE = ("TREASURE_SAPPHIRE", 50)
DIAMOND = ("TREASURE_DIAMOND", 75)
BAR = ("TREASURE_BAR", 80)
CHEST = ("TREASURE_CHEST", 200)
NECKLACE = ("TREASURE_NECKLACE", 100)
GOBLET = ("TREASURE_GOBLET", 150)
CROWN = ("TREASURE_CROWN", 500)

# Hanging stalactites reach down to the runner's head: steer round them, never jump.
STALACTITE = ["Y_VALUE", "0", "SIZE", "1.5"]

# Where a level's own look is switched on. The runner's first step already takes it
# past distance 0, and only what lies ahead of it can be touched.
START = 5

# Each look's fog: close to the mean colour of its walls and floor, so the corridor
# thins into a haze of its own colour instead of ending in a dark box.
FOG_NORMAL = (0.38, 0.28, 0.19, 0.8, 3.0, 18.0)


def fmt(v):
    s = ("%.3f" % v).rstrip("0").rstrip(".")
    return s if s not in ("", "-0") else "0"


class Level:
    def __init__(self, number, title):
        self.number = number
        self.title = title
        self.records = []   # (distance, order, code, x, words)

    def add(self, code, d, x=0.5, words=()):
        words = [str(w) for w in words]
        for w in words:
            assert w and not any(c.isspace() for c in w), (self.number, code, d, w)
        self.records.append((float(d), len(self.records), code, float(x), words))

    # ---- pickups -----------------------------------------------------------
    def treasure(self, d, x, kind=COIN, code=0, y=None):
        words = ["IMAGE", kind[0], "VALUE", kind[1]]
        if y is not None:
            words += ["Y_VALUE", fmt(y)]
        self.add(code, d, x, words)

    def coins(self, d, x0, n, step=14, x1=None, kind=COIN, code=0):
        """A line of treasure from x0 to x1 (straight when x1 is None)."""
        x1 = x0 if x1 is None else x1
        for i in range(n):
            t = i / (n - 1) if n > 1 else 0.0
            self.treasure(d + i * step, x0 + (x1 - x0) * t, kind, code)
        return d + (n - 1) * step

    def item(self, code, d, x):
        self.add(code, d, x)

    # ---- obstacles ---------------------------------------------------------
    def rock(self, d, x, size=None):
        self.add(1, d, x, ["SIZE", fmt(size)] if size else [])

    def rock_wall(self, d, gap):
        """Rocks across the run with one gap, at 0.1 .. 0.9 (the gap is the nearest)."""
        lanes = [0.1, 0.3, 0.5, 0.7, 0.9]
        assert gap in lanes, gap
        skip = gap
        for l in lanes:
            if l != skip:
                self.rock(d, l)

    def diamond(self, d, x):
        """One rock, then two either side of its line: round the first, back between the others."""
        self.rock(d, x)
        self.rock(d + 30, max(0.1, x - 0.25))
        self.rock(d + 30, min(0.9, x + 0.25))

    def ridge(self, d, x):
        """An ice ridge: floor spikes from wall to wall with a hole where the rock row would
        leave its gap, jumped rather than steered through."""
        self.spike_row(d)
        self.hole(d - 40, x)

    def spike(self, d, x, placement="floor"):
        self.add(2, d, x, ["PLACEMENT", placement])

    def spike_row(self, d):
        """Floor spikes from wall to wall: jump."""
        for l in (0.1, 0.3, 0.5, 0.7, 0.9):
            self.spike(d, l)

    def wall_spikes(self, d, side, n, step=30):
        for i in range(n):
            self.spike(d + i * step, 0.0 if side == "left" else 1.0, side)
        return d + (n - 1) * step

    def spring_field(self, d, x=0.5, wall=False):
        """A spring, then three rows it carries the runner over (a fine jump clears them too)."""
        self.item(6, d, x)
        for i, dd in enumerate((d + 12, d + 22, d + 32)):
            if wall:
                self.rock_wall(dd, (0.5, 0.1, 0.9)[i])
            else:
                self.spike_row(dd)

    def stalactite(self, d, x):
        self.add(15, d, x, STALACTITE)

    def gate(self, d):
        """Hanging stalactites either side, then rocks across the lane they leave: stay in
        the middle under them and jump only once past."""
        self.stalactite(d, 0.25)
        self.stalactite(d, 0.75)
        for x in (0.1, 0.3, 0.5, 0.7, 0.9):
            self.rock(d + 20, x)

    def spike_pair(self, d, step=36):
        """Two rows of floor spikes: land and jump again at once."""
        self.spike_row(d)
        self.spike_row(d + step)

    def gauntlet(self, d, gaps, step=70):
        """Rock walls one after another, each with its gap somewhere else: steer hard."""
        for i, gap in enumerate(gaps):
            self.rock_wall(d + i * step, gap)
        return d + (len(gaps) - 1) * step

    def boulder_run(self, d, n, step=30):
        """Boulders dropping one after another across the run."""
        for i in range(n):
            self.boulder(d + i * step, (0.2, 0.8, 0.5)[i % 3])

    def boulder_pair(self, d):
        self.boulder(d, 0.25)
        self.boulder(d + 40, 0.75)

    def hole(self, d, x):
        self.add(8, d, x)

    def boulder(self, d, x=0.5):
        self.add(18, d, x)

    # ---- triggers ----------------------------------------------------------
    def hint(self, d, key):
        self.add(10, d, 0.5, ["HINT", key])

    def camera(self, d, yaw, pitch, frames=180):
        self.add(11, d, 0.5, ["HalfWidth", "0.5", "Distance", frames,
                              "Yaw", fmt(yaw), "Pitch", fmt(pitch)])

    def fog(self, d, fog, frames=90):
        r, g, b, pct, start, end = fog
        self.add(13, d, 0.5, ["R", fmt(r), "G", fmt(g), "B", fmt(b), "PERCENT", fmt(pct),
                              "START_DIST", fmt(start), "END_DIST", fmt(end),
                              "FRAMES", frames])

    def scenery(self, d, look, alpha=1.0, frames=120, hud=None):
        suffix = "" if look == "CAVE" else "_" + look
        if hud is None:
            hud = "HUD" + suffix if alpha > 0 else "HUD"
        self.add(14, d, 0.5, ["CEILING", "CEILING" + suffix, "FLOOR", "FLOOR" + suffix,
                              "WALL", "WALL" + suffix, "FRAMES", frames,
                              "ALPHA", fmt(alpha), "HUDTEXTURE", hud])

    def torch(self, d, x):
        self.add(12, d, x)

    # ---- output ------------------------------------------------------------
    def text(self):
        lines = []
        for d, _, code, x, words in sorted(self.records):
            line = "%-10s Type: %2d  Distance: %6s  X: %-5s  Attributes:" % (
                NAMES[code], code, fmt(d), fmt(x))
            if words:
                line += " " + " ".join(words)
            lines.append(line)
        return "\n".join(lines) + "\n"

    def length(self):
        return max(r[0] for r in self.records)


# Looks: fog colours that go with each scenery.
FOG_ICE = (0.38, 0.53, 0.65, 0.8, 3.0, 18.0)
FOG_LAVA = (0.38, 0.17, 0.1, 0.8, 3.0, 18.0)
FOG_CRYSTAL = (0.35, 0.25, 0.49, 0.8, 3.0, 18.0)
# The dark: a third of the cave's own colour rather than black, so a torch's longer
# sight still ends in a haze and not in a black box.
FOG_DARK_MOSS = (0.09, 0.11, 0.07, 0.8, 0.5, 7.5)
FOG_DARK_HOARD = (0.12, 0.04, 0.05, 0.8, 0.5, 7.5)
FOG_GOLD = (0.5, 0.38, 0.2, 0.8, 4.0, 30.0)
FOG_HOARD = (0.36, 0.12, 0.15, 0.8, 3.0, 18.0)
FOG_SLATE = (0.29, 0.35, 0.41, 0.8, 3.0, 18.0)
FOG_SLATE_EMBER = (0.36, 0.31, 0.3, 0.8, 3.0, 16.0)
FOG_MOSS = (0.24, 0.3, 0.18, 0.8, 3.0, 18.0)


def level0():
    """Steering: rocks to steer round, coins showing the way. The plain brown cave."""
    L = Level(0, "The Wake")
    L.fog(START, FOG_NORMAL, 60)
    L.hint(20, "HINT_STEER")
    L.coins(70, 0.5, 12, 15)
    L.camera(260, 0.4, 0.0, 240)
    # Single rocks, the coins lead round them.
    L.rock(380, 0.5)
    L.coins(330, 0.5, 3, 12, 0.22)
    L.rock(500, 0.25)
    L.coins(450, 0.22, 4, 15, 0.72)
    L.rock(620, 0.75)
    L.coins(570, 0.72, 4, 15, 0.3)
    L.rock(740, 0.5)
    L.coins(760, 0.3, 3, 15, 0.5)
    L.camera(820, -0.4, 0.1, 240)
    # A pair with a lane between.
    L.rock(900, 0.15)
    L.rock(900, 0.85)
    L.coins(860, 0.5, 5, 15, kind=COINS)
    L.rock(1040, 0.5)
    L.treasure(1040, 0.12, RUBY)
    # Slalom.
    for i, x in enumerate((0.3, 0.7, 0.3, 0.7, 0.3)):
        L.rock(1160 + i * 90, x)
        L.treasure(1160 + i * 90, 1.0 - x)
    L.camera(1560, 0.0, 0.0, 200)
    # Diamonds of rocks: round the first, then through the middle of the next two.
    L.coins(1680, 0.5, 6, 15, kind=SAPPHIRE)
    L.diamond(1860, 0.5)
    L.coins(1800, 0.2, 4, 12)
    L.diamond(2020, 0.3)
    L.treasure(2050, 0.3, EMERALD)
    L.diamond(2180, 0.7)
    L.treasure(2210, 0.7, EMERALD)
    L.camera(2200, 0.5, -0.2, 200)
    L.diamond(2340, 0.5)
    L.treasure(2370, 0.5, NECKLACE)
    L.hole(2450, 0.5)
    L.coins(2500, 0.5, 4, 15)
    L.camera(2640, -0.5, 0.0, 240)
    L.rock(2740, 0.35)
    L.rock(2740, 0.65)
    L.coins(2700, 0.12, 5, 15, kind=COINS)
    L.rock(2880, 0.15)
    L.rock(2880, 0.5)
    L.treasure(2880, 0.85, BAR)
    L.rock(3020, 0.5)
    L.rock(3020, 0.85)
    L.treasure(3020, 0.15, RUBY)
    L.camera(3080, 0.0, 0.0, 200)
    L.rock(3160, 0.2)
    L.rock(3160, 0.8)
    L.coins(3130, 0.5, 6, 15)
    L.rock(3300, 0.5)
    L.coins(3340, 0.5, 8, 15)
    L.treasure(3480, 0.5, CROWN)
    return L


def level1():
    """Jumping: holes, rows of floor spikes, rocks. Ice."""
    L = Level(1, "Frozen Run")
    L.scenery(START, "ICE", 1.0, 60, "HUD_ICE")
    L.fog(START, FOG_ICE, 60)
    L.hint(20, "HINT_JUMP")
    L.coins(70, 0.5, 10, 15, kind=SAPPHIRE, code=16)
    L.hole(300, 0.5)
    L.coins(350, 0.5, 4, 12)
    L.spike_row(460)
    L.treasure(460, 0.5, RUBY, code=17, y=0.55)
    L.camera(520, 0.5, 0.1, 240)
    L.rock(580, 0.3)
    L.rock(580, 0.7)
    L.coins(560, 0.5, 4, 12)
    L.hole(700, 0.3)
    L.hole(700, 0.7)
    L.spike_row(820)
    L.coins(860, 0.5, 5, 14, 0.2)
    L.rock(960, 0.7)
    L.spike(960, 0.2)
    L.spike(960, 0.45)
    L.camera(1000, -0.5, 0.0, 240)
    L.spike_row(1080)
    L.spike_row(1180)
    L.coins(1110, 0.5, 4, 15, kind=COINS, code=16)
    L.ridge(1300, 0.1)
    L.treasure(1300, 0.2, EMERALD, code=17)
    L.hole(1400, 0.5)
    L.coins(1400, 0.2, 4, 15, 0.5)
    L.spike_row(1520)
    L.ridge(1640, 0.9)
    L.treasure(1640, 0.8, GOBLET)
    L.camera(1700, 0.0, -0.2, 200)
    L.coins(1700, 0.8, 6, 15, 0.5, kind=SAPPHIRE, code=16)
    L.hole(1820, 0.5)
    L.spike_row(1900)
    L.spike_row(1990)
    L.rock(2080, 0.5)
    L.coins(2060, 0.2, 4, 12)
    L.coins(2060, 0.8, 4, 12)
    L.spike_row(2200)
    L.treasure(2200, 0.5, NECKLACE, y=0.55)
    L.camera(2260, 0.6, 0.1, 240)
    L.ridge(2320, 0.5)
    L.hole(2420, 0.2)
    L.hole(2420, 0.8)
    L.coins(2400, 0.5, 5, 15, kind=COINS, code=17)
    L.spike_row(2540)
    L.rock(2640, 0.2)
    L.rock(2640, 0.8)
    L.spike(2640, 0.5)
    L.spike_row(2760)
    L.camera(2800, -0.3, 0.0, 240)
    L.coins(2800, 0.5, 6, 15, kind=SAPPHIRE, code=16)
    L.ridge(2960, 0.3)
    L.ridge(3100, 0.7)
    L.spike_row(3220)
    # Rocks rather than a second row here: a breather before the last jumps.
    L.rock(3300, 0.2)
    L.rock(3300, 0.8)
    L.coins(3240, 0.5, 5, 12)
    L.camera(3360, 0.0, 0.0, 200)
    L.hole(3420, 0.5)
    L.rock(3540, 0.5)
    L.spike(3540, 0.1)
    L.spike(3540, 0.9)
    L.coins(3600, 0.5, 6, 15)
    L.spike_row(3720)
    L.treasure(3840, 0.5, CROWN, code=17)
    return L


def level2():
    """Collecting and bones: lots of treasure, stalactites, wall spikes. Crystal."""
    L = Level(2, "Crystal Hoard")
    L.scenery(START, "CRYSTAL", 1.0, 60)
    L.fog(START, FOG_CRYSTAL, 60)
    L.hint(20, "HINT_COLLECT")
    L.coins(70, 0.5, 12, 14, kind=COINS)
    L.coins(260, 0.2, 6, 14, 0.8)
    L.stalactite(400, 0.5)
    L.coins(360, 0.2, 6, 14, kind=EMERALD, code=16)
    L.camera(420, 0.5, 0.2, 240)
    L.wall_spikes(480, "left", 4, 30)
    L.coins(480, 0.6, 4, 30, kind=SAPPHIRE, code=17)
    L.stalactite(640, 0.25)
    L.stalactite(640, 0.75)
    L.coins(620, 0.5, 4, 12)
    L.wall_spikes(760, "right", 4, 30)
    L.coins(760, 0.4, 4, 30, kind=RUBY)
    L.rock_wall(920, 0.5)
    L.treasure(920, 0.5, NECKLACE)
    L.camera(980, -0.5, 0.0, 240)
    L.stalactite(1040, 0.2)
    L.stalactite(1040, 0.5)
    L.treasure(1040, 0.85, CHEST)
    L.stalactite(1160, 0.5)
    L.stalactite(1160, 0.85)
    L.treasure(1160, 0.15, GOBLET)
    L.spike_row(1280)
    L.coins(1320, 0.5, 8, 14, kind=COINS, code=16)
    L.wall_spikes(1460, "left", 3, 40)
    L.wall_spikes(1460, "right", 3, 40)
    L.coins(1460, 0.5, 3, 40, kind=EMERALD)
    L.camera(1600, 0.0, 0.0, 200)
    # Checkpoint: bones.
    L.hint(1680, "HINT_BONE")
    L.coins(1730, 0.5, 8, 14)
    L.item(5, 1900, 0.5)
    L.stalactite(1980, 0.5)
    L.item(5, 1980, 0.15)
    L.item(5, 1980, 0.85)
    L.camera(2040, 0.5, -0.2, 240)
    L.rock(2100, 0.3)
    L.rock(2100, 0.7)
    L.item(5, 2100, 0.5)
    L.wall_spikes(2220, "left", 4, 30)
    L.wall_spikes(2220, "right", 4, 30)
    L.coins(2220, 0.5, 4, 30, kind=RUBY, code=17)
    L.stalactite(2400, 0.25)
    L.stalactite(2400, 0.75)
    L.item(5, 2400, 0.5)
    L.spike_row(2520)
    L.coins(2560, 0.5, 5, 14, 0.2, kind=COINS)
    L.stalactite(2680, 0.5)
    L.stalactite(2680, 0.85)
    L.treasure(2680, 0.15, NECKLACE)
    L.camera(2700, -0.5, 0.1, 240)
    L.rock_wall(2820, 0.1)
    L.item(5, 2820, 0.2)
    L.stalactite(2960, 0.2)
    L.stalactite(2960, 0.55)
    L.coins(2930, 0.85, 4, 14, kind=SAPPHIRE, code=16)
    L.hole(3080, 0.5)
    L.spike_row(3160)
    L.coins(3200, 0.5, 6, 14, kind=EMERALD, code=17)
    L.rock_wall(3340, 0.9)
    L.stalactite(3460, 0.8)
    L.stalactite(3460, 0.45)
    L.treasure(3460, 0.12, GOBLET)
    L.camera(3520, 0.0, 0.0, 200)
    L.wall_spikes(3580, "right", 5, 30)
    L.coins(3580, 0.3, 5, 30, kind=COINS)
    L.spike_row(3780)
    L.item(5, 3880, 0.5)
    L.coins(3920, 0.5, 8, 14, kind=RUBY)
    L.treasure(4100, 0.5, CROWN)
    return L


def level3():
    """Boost and spinner: boosts in open stretches, rock walls, first boulders. Lava."""
    L = Level(3, "Lava Sprint")
    L.scenery(START, "LAVA", 1.0, 60, "HUD_LAVA")
    L.fog(START, FOG_LAVA, 60)
    L.hint(20, "HINT_BOOST")
    L.coins(70, 0.5, 8, 15)
    L.item(3, 220, 0.5)
    L.coins(260, 0.5, 12, 24, kind=COINS)   # an open stretch to fly down
    L.camera(400, 0.6, 0.1, 200)
    L.rock(620, 0.5)
    L.gate(680)
    L.rock_wall(760, 0.1)
    L.treasure(760, 0.2, RUBY)
    L.rock_wall(900, 0.9)
    L.treasure(900, 0.8, RUBY)
    L.spike_row(1020)
    L.item(3, 1120, 0.5)
    L.coins(1160, 0.5, 10, 25, kind=COINS, code=16)
    L.camera(1200, -0.6, 0.0, 200)
    L.rock(1460, 0.25)
    L.rock(1460, 0.75)
    L.stalactite(1520, 0.5)
    L.stalactite(1520, 0.85)
    L.boulder(1600, 0.5)
    L.coins(1580, 0.15, 3, 15)
    L.stalactite(1740, 0.5)
    L.coins(1720, 0.15, 3, 15, kind=EMERALD, code=17)
    L.rock_wall(1860, 0.5)
    L.spike_row(1940)
    L.camera(1900, 0.0, 0.0, 200)
    L.coins(1900, 0.5, 5, 15)
    # Checkpoint: spinner.
    L.hint(2040, "HINT_SPINNER")
    L.coins(2090, 0.5, 8, 15)
    L.item(4, 2260, 0.5)
    L.coins(2300, 0.5, 6, 15, kind=SAPPHIRE)
    L.rock(2420, 0.3)
    L.rock(2420, 0.7)
    L.spike_row(2540)
    L.wall_spikes(2590, "left", 2, 25)
    L.item(3, 2640, 0.5)
    L.coins(2680, 0.5, 10, 25, kind=COINS, code=16)
    L.camera(2700, 0.5, -0.2, 240)
    L.rock_wall(2980, 0.3)
    L.boulder(3100, 0.5)
    L.item(4, 3180, 0.8)
    L.gate(3220)
    L.rock_wall(3300, 0.7)
    L.treasure(3300, 0.7, NECKLACE)
    L.stalactite(3420, 0.25)
    L.stalactite(3420, 0.75)
    L.coins(3400, 0.5, 4, 12)
    L.camera(3460, -0.4, 0.1, 240)
    L.spike_row(3540)
    L.wall_spikes(3640, "left", 3, 30)
    L.wall_spikes(3640, "right", 3, 30)
    L.coins(3640, 0.5, 3, 30, kind=RUBY, code=17)
    L.item(3, 3780, 0.5)
    L.coins(3820, 0.5, 10, 25, kind=COINS)
    L.boulder(4120, 0.3)
    L.rock_wall(4240, 0.5)
    L.treasure(4240, 0.5, CHEST)
    L.camera(4280, 0.0, 0.0, 200)
    L.item(4, 4360, 0.5)
    L.spike_row(4460)
    L.gate(4500)
    L.rock(4580, 0.2)
    L.rock(4580, 0.8)
    L.coins(4560, 0.5, 8, 15)
    L.treasure(4720, 0.5, CROWN)
    return L


def level4():
    """Cloak and clock: boulders, dense fields behind cloaks. Frozen basalt with embers."""
    L = Level(4, "Fire and Ice")
    L.scenery(START, "SLATE", 1.0, 60)
    L.fog(START, FOG_SLATE, 60)
    L.hint(20, "HINT_CLOAK")
    L.coins(70, 0.5, 8, 15)
    L.item(9, 240, 0.5)
    # Behind the cloak: a field that is hard without it.
    L.rock_wall(330, 0.3)
    L.rock_wall(420, 0.7)
    L.spike_row(500)
    L.coins(520, 0.5, 4, 12)
    L.camera(560, 0.5, 0.1, 200)
    L.boulder(700, 0.5)
    L.coins(680, 0.15, 4, 12)
    L.stalactite(820, 0.5)
    L.stalactite(820, 0.15)
    L.treasure(820, 0.85, NECKLACE)
    L.boulder(960, 0.3)
    L.spike_row(1060)
    L.rock_wall(1180, 0.5)
    L.camera(1200, -0.5, 0.0, 200)
    L.coins(1220, 0.5, 6, 15, kind=DIAMOND, code=16)
    L.boulder(1400, 0.7)
    L.gate(1420)
    L.wall_spikes(1480, "left", 4, 30)
    L.coins(1480, 0.65, 4, 30)
    L.stalactite(1640, 0.25)
    L.stalactite(1640, 0.75)
    L.rock_wall(1760, 0.9)
    L.spike_row(1860)
    L.camera(1900, 0.0, 0.0, 200)
    L.coins(1900, 0.5, 5, 15)
    # Checkpoint: clock; deeper in, the embers warm the haze.
    L.hint(2040, "HINT_CLOCK")
    L.fog(2060, FOG_SLATE_EMBER, 200)
    L.coins(2090, 0.5, 8, 15, kind=RUBY, code=17)
    L.item(7, 2260, 0.5)
    L.rock_wall(2340, 0.5)
    L.rock_wall(2420, 0.3)
    L.boulder(2540, 0.5)
    L.spike_row(2600)
    L.coins(2620, 0.5, 4, 12)
    L.camera(2660, 0.6, -0.1, 240)
    L.stalactite(2740, 0.5)
    L.stalactite(2740, 0.85)
    L.treasure(2740, 0.15, GOBLET)
    L.boulder(2900, 0.2)
    L.boulder(2980, 0.8)
    L.rock_wall(3100, 0.5)
    L.item(9, 3200, 0.5)
    L.rock_wall(3280, 0.1)
    L.rock_wall(3360, 0.9)
    L.spike_row(3440)
    L.rock_wall(3600, 0.5)
    L.camera(3620, -0.6, 0.1, 240)
    L.coins(3560, 0.5, 6, 15, kind=COINS)
    L.boulder(3760, 0.5)
    L.wall_spikes(3840, "right", 4, 30)
    L.coins(3840, 0.35, 4, 30, kind=EMERALD)
    L.item(7, 4000, 0.5)
    L.rock_wall(4080, 0.7)
    L.rock_wall(4160, 0.3)
    L.stalactite(4260, 0.25)
    L.stalactite(4260, 0.75)
    L.spike_row(4380)
    L.camera(4420, 0.0, 0.0, 200)
    L.boulder(4540, 0.5)
    L.coins(4520, 0.5, 8, 15, kind=COINS, code=16)
    L.rock_wall(4720, 0.5)
    L.gate(4760)
    L.spike_row(4820)
    L.coins(4860, 0.5, 6, 15)
    L.treasure(5000, 0.5, CROWN)
    return L


def level5():
    """Springs and torches: dark stretches lit by torches, springs over spike fields."""
    L = Level(5, "Into the Dark")
    L.scenery(START, "MOSS", 1.0, 60)
    L.fog(START, FOG_MOSS, 60)
    L.hint(20, "HINT_SPRING")
    L.coins(70, 0.5, 8, 15)
    # Spring over a field of spikes.
    L.spring_field(240)
    for i in range(3):   # in the spring's arc, and within a jump's reach
        L.treasure(252 + 10 * i, 0.5, SAPPHIRE, code=16, y=0.45)
    L.camera(360, 0.5, 0.0, 200)
    L.stalactite(440, 0.2)
    L.stalactite(440, 0.8)
    L.stalactite(560, 0.5)
    L.stalactite(560, 0.85)
    L.coins(540, 0.15, 3, 12)
    L.spring_field(660, 0.5, wall=True)
    L.boulder(860, 0.5)
    L.spike_pair(960)
    L.hole(1060, 0.3)
    L.hole(1060, 0.7)
    L.coins(1040, 0.5, 5, 14, kind=COINS)
    L.camera(1120, -0.5, 0.1, 240)
    L.rock_wall(1200, 0.7)
    L.stalactite(1320, 0.25)
    L.stalactite(1320, 0.75)
    L.coins(1300, 0.5, 3, 12, kind=RUBY)
    L.spring_field(1440)
    L.camera(1600, 0.0, 0.0, 200)
    L.coins(1620, 0.5, 5, 15)
    # Checkpoint: the torches, and the dark.
    L.hint(1760, "HINT_TORCH")
    L.coins(1810, 0.5, 6, 15)
    L.fog(1960, FOG_DARK_MOSS, 60)
    L.torch(2060, 0.5)
    L.coins(2040, 0.5, 6, 15, kind=COINS, code=17)
    L.rock(2160, 0.25)
    L.rock(2160, 0.75)
    L.stalactite(2280, 0.5)
    L.coins(2260, 0.15, 3, 12)
    L.spike_row(2380)
    L.torch(2560, 0.5)
    L.rock_wall(2560, 0.5)
    L.hole(2660, 0.5)
    L.coins(2640, 0.5, 4, 15, kind=EMERALD)
    L.stalactite(2760, 0.25)
    L.stalactite(2760, 0.75)
    L.spike_pair(2860)
    L.torch(3060, 0.5)
    L.gate(2900)
    L.rock_wall(3140, 0.1)
    L.boulder(3240, 0.5)
    L.coins(3180, 0.85, 3, 12, kind=RUBY)
    L.spike_row(3320)
    L.boulder_pair(3400)
    # Out of the dark into the moss again.
    L.fog(3540, FOG_MOSS, 150)
    L.camera(3560, 0.6, -0.2, 240)
    L.coins(3560, 0.5, 6, 15, kind=SAPPHIRE, code=16)
    L.spring_field(3660)
    L.stalactite(3840, 0.5)
    L.stalactite(3840, 0.15)
    L.treasure(3840, 0.85, NECKLACE)
    L.rock_wall(3960, 0.9)
    L.boulder_pair(4040)
    L.gate(4120)
    L.spike_row(4180)
    L.camera(4220, -0.5, 0.0, 240)
    L.wall_spikes(4280, "left", 4, 30)
    L.wall_spikes(4280, "right", 4, 30)
    L.coins(4280, 0.5, 4, 30, kind=COINS)
    L.rock_wall(4460, 0.5)
    L.stalactite(4580, 0.25)
    L.stalactite(4580, 0.75)
    L.spring_field(4680, 0.5, wall=True)
    L.camera(4800, 0.0, 0.0, 200)
    L.coins(4820, 0.5, 8, 15, kind=EMERALD, code=17)
    L.boulder_pair(4900)
    L.rock_wall(5000, 0.3)
    L.gate(5040)
    L.spike_pair(5100)
    L.coins(5140, 0.5, 6, 15)
    # Out of the hall: two walls close together before the crown.
    L.gauntlet(5220, (0.9, 0.3), 50)
    L.treasure(5340, 0.5, CROWN)
    return L


def level6():
    """Everything at once, in the dragon's own den and in the dark."""
    L = Level(6, "The Dragon's Hoard")
    L.scenery(START, "HOARD", 1.0, 60)
    L.fog(START, FOG_HOARD, 60)
    L.hint(20, "HINT_BOOST")
    L.coins(70, 0.5, 8, 15, kind=RUBY, code=17)
    L.item(3, 220, 0.5)
    L.coins(260, 0.5, 8, 25, kind=COINS)
    L.camera(300, 0.6, 0.1, 200)
    L.boulder_pair(520)
    L.boulder(640, 0.5)
    L.rock_wall(700, 0.7)
    L.spike_pair(780)
    L.stalactite(880, 0.5)
    L.stalactite(880, 0.15)
    L.item(4, 960, 0.85)
    L.rock_wall(1040, 0.9)
    L.gate(1070)
    L.spike_pair(1140)
    L.camera(1160, -0.6, 0.0, 200)
    L.boulder(1260, 0.3)
    L.wall_spikes(1320, "left", 4, 30)
    L.wall_spikes(1320, "right", 4, 30)
    L.coins(1320, 0.5, 4, 30, kind=COINS)
    L.item(9, 1480, 0.5)
    L.rock_wall(1540, 0.1)
    L.rock_wall(1610, 0.9)
    L.spike_pair(1680)
    L.rock_wall(1750, 0.5)
    L.stalactite(1840, 0.25)
    L.stalactite(1840, 0.75)
    L.spring_field(1940)
    L.camera(2080, 0.0, 0.0, 200)
    L.gauntlet(2020, (0.9, 0.3, 0.9))
    L.boulder_run(2160, 3)
    L.coins(2100, 0.5, 5, 15)
    # Checkpoint: into the dark.
    L.hint(2240, "HINT_TORCH")
    L.coins(2290, 0.5, 6, 15, kind=GOBLET)
    L.fog(2440, FOG_DARK_HOARD, 60)
    L.torch(2540, 0.5)
    L.rock_wall(2600, 0.5)
    L.boulder_pair(2680)
    L.spike_pair(2800)
    L.stalactite(2900, 0.5)
    L.stalactite(2900, 0.85)
    L.coins(2880, 0.15, 3, 12)
    L.torch(3050, 0.5)
    L.item(7, 3040, 0.5)
    L.rock_wall(3120, 0.1)
    L.rock_wall(3200, 0.9)
    L.spike_pair(3280)
    L.hole(3360, 0.5)
    L.boulder(3440, 0.3)
    L.torch(3560, 0.5)
    L.rock_wall(3560, 0.5)
    L.gate(3600)
    L.stalactite(3660, 0.25)
    L.stalactite(3660, 0.75)
    L.spike_row(3760)
    L.boulder_run(3900, 3)
    # Out of the dark: the last run through the den.
    L.fog(4060, FOG_HOARD, 150)
    L.camera(4000, 0.6, -0.2, 240)
    L.gauntlet(4120, (0.5, 0.1, 0.5, 0.9), 50)
    for i, x in enumerate((0.5, 0.1, 0.5, 0.9)):   # a coin in each gap shows the way
        L.treasure(4120 + 50 * i, x, COINS, code=16)
    L.coins(4300, 0.5, 4, 25, kind=COINS, code=16)
    L.rock_wall(4400, 0.1)
    L.boulder_pair(4460)
    L.gate(4520)
    L.spike_pair(4580)
    L.item(4, 4660, 0.5)
    L.stalactite(4760, 0.5)
    L.stalactite(4760, 0.15)
    L.rock_wall(4860, 0.9)
    L.camera(4900, -0.5, 0.1, 240)
    L.spike_row(4960)
    L.item(9, 5060, 0.5)
    L.rock_wall(5120, 0.3)
    L.rock_wall(5190, 0.7)
    L.boulder(5260, 0.5)
    L.spike_row(5320)
    L.rock_wall(5400, 0.1)
    L.spring_field(5500, 0.5, wall=True)
    L.camera(5640, 0.0, 0.0, 200)
    L.rock_wall(5700, 0.5)
    L.gate(5740)
    L.stalactite(5800, 0.25)
    L.stalactite(5800, 0.75)
    L.coins(5780, 0.5, 3, 12, kind=BAR)
    L.spike_row(5900)
    L.coins(5940, 0.5, 10, 15, kind=RUBY)
    # The last stretch: walls close together, then boulders, then the crown.
    L.gauntlet(6120, (0.1, 0.5, 0.9, 0.5, 0.1), 40)
    L.boulder_run(6330, 3)
    L.treasure(6420, 0.5, CROWN)
    return L


def level7():
    """The credits run: no danger, the makers' names to collect, a golden glow."""
    L = Level(7, "Credits")
    L.scenery(START, "GOLD", 1.0, 60)
    L.fog(START, FOG_GOLD, 60)
    L.hint(20, "HINT_COLLECT")
    L.coins(70, 0.5, 8, 15)
    L.camera(200, 0.4, -0.1, 300)
    d = 320
    for i in range(1, 7):
        # Signs big and high under the roof: readable from far off in the fog, and
        # passed overhead rather than snatched away at once.
        L.add(0, d, 0.5, ["IMAGE", "CREDIT_%d" % i, "VALUE", 100, "Y_VALUE", "0", "SIZE", "3"])
        L.coins(d + 60, 0.5, 6, 20, 0.5 + (0.3 if i % 2 else -0.3), kind=COINS, code=16 if i % 2 else 17)
        if i == 3:
            L.camera(d + 60, -0.4, 0.1, 300)
        d += 260
    L.camera(d, 0.0, 0.0, 300)
    L.coins(d, 0.5, 6, 15, kind=SAPPHIRE)
    # The crown well past the last sign: the run's last fifth fades to white.
    L.coins(d + 160, 0.5, 8, 25, kind=COINS)
    L.treasure(d + 400, 0.5, CROWN)
    return L


LEVELS = [level0, level1, level2, level3, level4, level5, level6, level7]


def main():
    os.makedirs(OUT, exist_ok=True)
    used = set()
    for make in LEVELS:
        L = make()
        used.update(r[2] for r in L.records)
        path = os.path.join(OUT, "level%d.zqt" % L.number)
        with open(path, "w", newline="\n") as f:
            f.write(L.text())
        print("%s: %d records, %.0f long (%.0f s at running speed)"
              % (path, len(L.records), L.length(), L.length() / 60.0))
    missing = sorted(set(range(19)) - used)
    if missing:
        sys.exit("type codes used nowhere: %s" % missing)


if __name__ == "__main__":
    main()

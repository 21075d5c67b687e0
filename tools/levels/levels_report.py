#!/usr/bin/python3
"""Writes docs/levels.md: how hard each level is for a person, measured.

Runs BUILD/level_curve (the human-like runner, 50 seeded runs per level, headless),
draws the curve into docs/levels-curve.png, draws every level's map into
docs/level-maps/, and writes the table with how it was measured into docs/levels.md.
The same levels and the same runner give the same files.

Run from the repository root:  /usr/bin/python3 tools/levels/levels_report.py [BUILD]
(`make levels-report` does this after building).
"""

import os
import subprocess
import sys
import time

from PIL import Image, ImageDraw, ImageFont

RUNS = 50
SEED = 1
DOCS = "docs"
CHART = os.path.join(DOCS, "levels-curve.png")
MAPS = os.path.join(DOCS, "level-maps")
NAMES = ["The Wake", "Frozen Run", "Crystal Hoard", "Lava Sprint", "Fire and Ice", "Into the Dark",
         "The Dragon's Hoard", "Credits"]


def font(size):
    try:
        return ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", size)
    except OSError:
        return ImageFont.load_default()


def measure(build):
    start = time.time()
    out = subprocess.run([os.path.join(build, "level_curve"), "--runs", str(RUNS), "--seed", str(SEED), "--ghosts"],
                         check=True, capture_output=True, text=True).stdout
    took = time.time() - start
    curve, touches = out.strip().split("\n\n")
    lines = curve.split("\n")
    head = lines[0].split("\t")
    rows = [dict(zip(head, l.split("\t"))) for l in lines[1:]]
    for r in rows:
        for k in r:
            r[k] = float(r[k])
    ghosts = [l.split("\t") for l in touches.split("\n")[1:]]
    return rows, [(t, int(n), int(g)) for t, n, g in ghosts], took


# The options screen's slower game speeds, and the finish share they aim at on level 6.
SPEEDS = [80, 70, 60]
SLOW_TARGET = 90


def measure_speed(build, percent):
    start = time.time()
    out = subprocess.run([os.path.join(build, "level_curve"), "--runs", str(RUNS), "--seed", str(SEED),
                          "--speed", str(percent)], check=True, capture_output=True, text=True).stdout
    lines = out.strip().split("\n")
    head = lines[0].split("\t")
    rows = [dict((k, float(v)) for k, v in zip(head, l.split("\t"))) for l in lines[1:]]
    return rows, time.time() - start


def speed_section(full, slow):
    lines = [
        "## At a slower game speed",
        "",
        "The options screen's game speed slows everything in play together; the runner keeps its own pace",
        "(it sees, reacts and presses keys in the player's time), so it has more time for each obstacle.",
        "Same runs and seeds as above, at each speed:",
        "",
        "| level | name | 100% | " + " | ".join("%d%%" % p for p in SPEEDS) + " |",
        "|---|---|---|" + "---|" * len(SPEEDS),
    ]
    for i, r in enumerate(full):
        l = int(r["level"])
        cells = ["%.0f%%" % (100.0 * r["finished"] / r["runs"])]
        cells += ["%.0f%%" % (100.0 * slow[p][i]["finished"] / slow[p][i]["runs"]) for p in SPEEDS]
        lines.append("| %d | %s | %s |" % (l, NAMES[l] if l < len(NAMES) else "", " | ".join(cells)))
    six = [(p, 100.0 * rows[6]["finished"] / rows[6]["runs"]) for p, rows in slow.items()
           if p <= 70 and len(rows) > 6]
    worst = min(six, key=lambda t: t[1])
    lines += ["", "Against the target: level 6 finished in at least %d%% of runs at 70%% or below: %.0f%% at its "
              "worst (%d%%): %s" % (SLOW_TARGET, worst[1], worst[0], "met" if worst[1] >= SLOW_TARGET else "NOT met"),
              ""]
    return lines


def chart(rows, path):
    w, h = 760, 380
    left, right, top, bottom = 70, 70, 40, 60
    img = Image.new("RGB", (w, h), (252, 250, 245))
    dr = ImageDraw.Draw(img)
    pw, ph = w - left - right, h - top - bottom
    f, small = font(13), font(11)
    dr.text((left, 10), "Human-like runner, %d seeded runs per level" % RUNS, fill=(20, 20, 20), font=font(15))
    # Target for level 6, and the 95% line for level 0.
    n = len(rows)
    slot = pw / n

    def py(pct):
        return top + ph * (1 - pct / 100.0)
    for pct in range(0, 101, 20):
        dr.line((left, py(pct), left + pw, py(pct)), fill=(222, 218, 208))
        dr.text((left - 38, py(pct) - 7), "%d%%" % pct, fill=(70, 70, 70), font=small)
    max_hits = max(4.0, max(r["hits_mean"] for r in rows))
    hits_top = (int(max_hits) // 2 + 2) * 2

    def hy(v):
        return top + ph * (1 - v / hits_top)
    for v in range(0, hits_top + 1, max(1, hits_top // 5)):
        dr.text((left + pw + 8, hy(v) - 7), str(v), fill=(160, 60, 40), font=small)
    for i, r in enumerate(rows):
        x0 = left + i * slot + slot * 0.2
        x1 = left + (i + 1) * slot - slot * 0.2
        pct = 100.0 * r["finished"] / r["runs"]
        if int(r["level"]) == 6:
            dr.rectangle((x0 - 6, py(80), x1 + 6, py(50)), fill=(210, 235, 210))
        if int(r["level"]) == 0:
            dr.rectangle((x0 - 6, py(100), x1 + 6, py(95)), fill=(210, 235, 210))
        dr.rectangle((x0, py(pct), x1, py(0)), fill=(70, 120, 190))
        dr.text((x0, py(pct) - 16), "%.0f%%" % pct, fill=(30, 60, 110), font=small)
        dr.text((x0 + 2, top + ph + 6), "level %d" % r["level"], fill=(30, 30, 30), font=small)
    pts = [(left + (i + 0.5) * slot, hy(r["hits_mean"])) for i, r in enumerate(rows)]
    dr.line(pts, fill=(190, 70, 40), width=2)
    for x, y in pts:
        dr.ellipse((x - 4, y - 4, x + 4, y + 4), fill=(190, 70, 40))
    dr.line((left, top, left, top + ph, left + pw, top + ph), fill=(60, 60, 60))
    dr.rectangle((left, h - 24, left + 12, h - 12), fill=(70, 120, 190))
    dr.text((left + 18, h - 26), "finished uncaught", fill=(30, 30, 30), font=f)
    dr.line((left + 170, h - 18, left + 194, h - 18), fill=(190, 70, 40), width=2)
    dr.text((left + 200, h - 26), "knocks taken per run (right scale)", fill=(30, 30, 30), font=f)
    dr.rectangle((left + 470, h - 24, left + 482, h - 12), fill=(210, 235, 210))
    dr.text((left + 488, h - 26), "target", fill=(30, 30, 30), font=f)
    img.save(path, optimize=False)


def maps():
    os.makedirs(MAPS, exist_ok=True)
    for n in range(8):
        subprocess.run(["tools/zqlevel", "map", "Data/Levels/Gold/level%d.zqt" % n, "-o",
                        os.path.join(MAPS, "level%d.png" % n)], check=True)


def verdict(rows):
    pct = {int(r["level"]): 100.0 * r["finished"] / r["runs"] for r in rows}
    notes = []
    if 0 in pct:
        notes.append("level 0 finished in %.0f%% of runs (target: at least 95%%): %s"
                     % (pct[0], "met" if pct[0] >= 95 else "NOT met"))
    if 6 in pct:
        notes.append("level 6 finished in %.0f%% (target: 50%% to 80%%): %s"
                     % (pct[6], "met" if 50 <= pct[6] <= 80 else "NOT met"))
    worst = max(((pct[l] - pct[l - 1], l) for l in range(1, 7) if l in pct and l - 1 in pct), default=None)
    if worst:
        notes.append("largest step easier than the level before, levels 1 to 6: %+.0f points at level %d "
                     "(target: at most +5): %s" % (worst[0], worst[1], "met" if worst[0] <= 5 else "NOT met"))
    return notes


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    rows, ghosts, took = measure(build)
    slow = {}
    took_all = took
    for p in SPEEDS:
        slow[p], slow_took = measure_speed(build, p)
        took_all += slow_took
    chart(rows, CHART)
    maps()
    played = sum(r["seconds_mean"] * r["runs"] for r in rows)   # seconds of play
    lines = [
        "# How hard the levels are",
        "",
        "Regenerate everything on this page with `make levels-report` (about %.0f s here)." % (took_all + 5),
        "",
        "## The curve",
        "",
        "![Finished share and knocks per level](levels-curve.png)",
        "",
        "| level | name | runs | finished uncaught | caught | knocks per run (mean / median / most) "
        "| mistakes per run | mean run length |",
        "|---|---|---|---|---|---|---|---|",
    ]
    for r in rows:
        l = int(r["level"])
        lines.append("| %d | %s | %d | %.0f%% | %d | %.1f / %.0f / %d | %.1f | %.0f s |" % (
            l, NAMES[l] if l < len(NAMES) else "", r["runs"], 100.0 * r["finished"] / r["runs"], r["caught"],
            r["hits_mean"], r["hits_median"], r["hits_max"], r["mistakes_mean"], r["seconds_mean"]))
    lines += ["", "Against the targets:", ""] + ["- " + n for n in verdict(rows)] + [
        "- level 7 is the credits run: nothing there can hurt the runner.",
        "",
        "The %d runs (%.0f minutes of play) took %.0f s of machine time, %.0f times faster than real time."
        % (sum(r["runs"] for r in rows), played / 60.0, took, played / max(took, 0.001)),
        "",
    ] + speed_section(rows, slow) + [
        "## Fair hits: ghost touches",
        "",
        "A ghost touch is a touch in which no opaque pixel of the runner's picture lies on an opaque pixel of",
        "the obstacle's, in the frame of the touch: the boxes met, the pictures did not. Every touch of the",
        "runs above and of one run of the automatic runner per level is drawn again in software as the game",
        "draws it (`tools/runners/Ghost_Touches.h`; a texel counts as opaque from alpha 128). A touch is one",
        "frame in which the collision check finds the obstacle (a knock can last several). Target: at most 2%",
        "for every kind.",
        "",
        "| obstacle | touches | ghost touches | share |",
        "|---|---|---|---|",
    ] + ["| %s | %d | %d | %s |" % (t, n, g, ("%.1f%%" % (100.0 * g / n)) if n else "no touches")
         for t, n, g in ghosts] + [
        "",
        "## How it was measured",
        "",
        "`build/level_curve` (source: `tools/level_curve.cpp`, runner: `tools/runners/Human_Runner.h`) plays",
        "each level %d times, headless, with a runner that plays like a person. Run *n* of level *L* uses the" % RUNS,
        "seed derived from (%d, *L*, *n*); the same seed plays the same run, so the table is the same on every" % SEED,
        "machine. Each run starts the level as a new game does (the cave's start-up fog, the dragon 300 behind)",
        "and ends when the level is passed (finished) or the dragon reaches the runner (caught); there is no",
        "continue from a checkpoint.",
        "",
        "The runner plays through the game's real keys and its real frame of play, with the game's clock moved",
        "on by each frame's length (the clock item's slow motion gives it more time, as it gives a person).",
        "What makes it play like a person:",
        "",
        "- **It sees only what is drawn.** An object counts as seen once part of its box is inside the 800 by 600",
        "  window at its depth and at least 35% of its own colour shows through the fog there (linear fog between",
        "  the fog's start and end, as the game draws it). Nothing past the fog, nothing off the edge of the picture,",
        "  nothing before the entity list puts it on screen. Torches and fog changes change what it can see.",
        "- **It reacts after 250 ms.** It acts on an object only 250 ms after first seeing it, and judges a moving",
        "  boulder from where it was 250 ms ago (carrying that motion forward).",
        "- **It steers with limited precision.** It plans on 0.012 of the corridor per frame (the game gives 0.015),",
        "  keeps 0.06 screen units round obstacles, aims with an error of 0.025 of the corridor (one sigma, drawn",
        "  anew for each new aim), lets go of the key within 0.02 of its aim, holds a key at least 70 ms, and times",
        "  a jump with a spread of 45 ms (one sigma, per obstacle).",
        "- **It makes occasional mistakes.** Each obstacle it sees is, with a chance of 5%, noticed 150 to 450 ms",
        "  late (two in five), misjudged 0.05 to 0.11 of the corridor to one side (three in ten), or jumped at",
        "  with three and a half times its usual timing spread (three in ten). A knock makes it look again: what",
        "  it misjudged right in front of it is then seen as it is.",
        "- **It plays it safe.** It will not thread an opening narrower than 0.04 of the corridor when a wider one",
        "  exists, and pressed against something low at a crawl it jumps.",
        "",
        "Otherwise it plans as the automatic runner does: which places across the corridor stay open at each",
        "obstacle it knows of, steering through them, jumping only when nothing stays open, riding springs,",
        "and picking up treasure and items the plan allows.",
        "",
        "The test suite keeps only a cheap check: every level is finished by the automatic runner",
        "(`test_level_runs`), and a small seeded sample of the human-like runner finds level 0 easier than",
        "level 6.",
        "",
        "## Maps",
        "",
        "Each level drawn along its distance by `tools/zqlevel map` (objects by type and place across the",
        "corridor, the look and the fog above each row, checkpoints and camera turns under it):",
        "",
    ]
    for n in range(8):
        lines.append("- [level %d: %s](level-maps/level%d.png)" % (n, NAMES[n], n))
    with open(os.path.join(DOCS, "levels.md"), "w") as f:
        f.write("\n".join(lines) + "\n")
    for r in rows:
        print("level %d: %d/%d finished, %.1f knocks" % (r["level"], r["finished"], r["runs"], r["hits_mean"]))


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Checks the shipped sounds the way a player hears them.

    check_sounds.py [REPO_ROOT] [--table]

Effects and voice lines are decoded by libsndfile, as the game does; the music is
played by SDL_mixer itself (on SDL's disk driver), loop seam included. Fails, with
one line per fault, on:
  - a start with a step (no fade-in) or a DC offset;
  - effects louder or softer than the rest, music tracks at different levels, music
    not sitting under the dragon's voice by the chosen amount (at the game's volume factors);
  - effects whose energy lies mostly below 60 Hz (small speakers cannot play it);
  - effects that take more than 20 ms to get going (the wind may swell);
  - music that is mostly bass, starts with a jump, or whose loop seam has a gap or a click.
--table prints every measurement as well.
"""
import glob
import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import measure  # noqa: E402

# The game's volume factors: effects and music as the sound manager plays them, the
# voice at full panic (the HUD keeps it at 0.5 or more).
EFFECT_FACTOR, MUSIC_FACTOR, VOICE_LEVEL = 0.4, 0.3, 1.0
# Music under the voices by this much (LU), so a line is heard clearly over it while
# the music still carries the chase. tools/sound/README says why.
MUSIC_UNDER_VOICE, MUSIC_UNDER_TOLERANCE = 10.0, 2.0
EFFECT_SPREAD = 4.0  # LU either side of the effects' median
VOICE_SPREAD = 4.0
MUSIC_SPREAD = 1.0  # LU between the loudest and the softest track
MAX_DC = 0.005
MAX_START = 0.02  # first half millisecond, share of full scale
MAX_LOW_SHARE = 0.5  # of an effect's energy below 60 Hz
MAX_MUSIC_BASS = 0.5  # of a track's energy below 150 Hz
MAX_ONSET_MS = 20.0
SWELLING = {"wind.wav"}
SEAM_DIP_DB = 6.0  # a loop seam may dip this much deeper than the music does elsewhere
SEAM_STEP = 1.5  # times the music's own 99.9th-percentile sample step


def effects(root):
    fx = os.path.join(root, "Data", "Sound", "SoundFX")
    return sorted(glob.glob(os.path.join(fx, "*.wav")) + glob.glob(os.path.join(fx, "Springs", "*.wav")))


def voices(root):
    return sorted(glob.glob(os.path.join(root, "Data", "Sound", "SoundFX", "Dragon", "*")))


def music(root):
    return sorted(glob.glob(os.path.join(root, "Data", "Sound", "Music", "*")))


def seam_dip(played, rate, period):
    """How much deeper (dB) the level falls at the loop seams than anywhere else in
    the music, and the biggest sample step at a seam relative to the music's own
    99.9th-percentile step. The level is taken in 10 ms windows against the second
    around each window."""
    win = int(0.01 * rate)
    power = np.array([np.mean(played[i:i + win] ** 2) for i in range(0, len(played) - win, win)]) + 1e-12
    around = np.convolve(power, np.ones(101) / 101, mode="same")
    dips = 10 * np.log10(around / power)
    at = [k * period for k in range(1, len(played) // period + 1) if k * period + rate // 2 <= len(played)]
    seams = [a // win for a in at]
    near = np.zeros(len(dips), bool)
    for s in seams:
        near[max(0, s - 10):s + 10] = True
    usual_dip = np.percentile(dips[~near][100:-100], 99)
    steps = np.abs(np.diff(played))
    usual_step = np.percentile(steps, 99.9)
    worst_dip = max(dips[max(0, s - 10):s + 10].max() for s in seams)
    worst_step = max(steps[a - 64:a + 64].max() for a in at)
    return float(worst_dip - usual_dip), float(worst_step / usual_step)


def loop_period(path, rate):
    """Samples per pass as SDL_mixer plays the file: an MP3 is as long as its frames
    (libmad adds no gap logic), a WAV as long as its data."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] == b"RIFF":
        x, r = measure.decode(path)
        return int(round(len(x) * rate / r))
    frames, i = 0, 0
    if data[:3] == b"ID3":
        i = 10 + ((data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9])
    rates = {0: 44100, 1: 48000, 2: 32000}
    bitrates = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320]
    while i + 4 <= len(data):
        if data[i] != 0xFF or (data[i + 1] & 0xE0) != 0xE0:
            break
        br = bitrates[data[i + 2] >> 4] * 1000
        sr = rates[(data[i + 2] >> 2) & 3]
        size = 144 * br // sr + ((data[i + 2] >> 1) & 1)
        frames += 1
        i += size
    return frames * 1152


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    root = args[0] if args else "."
    table = "--table" in sys.argv
    faults = []
    rows = {}

    def row(group, path, x, rate):
        name = os.path.relpath(path, os.path.join(root, "Data", "Sound"))
        r = {
            "lufs": measure.loudness(x, rate),
            "dc": float(np.mean(x)),
            "start": measure.start_step(x, rate),
            "low60": measure.band_share(x, rate, 0, 60),
            "low150": measure.band_share(x, rate, 0, 150),
            "onset": measure.onset_ms(x, rate),
            "peak": float(np.max(np.abs(x))),
        }
        rows.setdefault(group, []).append((name, r))
        if abs(r["dc"]) >= MAX_DC:
            faults.append(f"{name}: DC offset {r['dc']:.4f} (at most {MAX_DC})")
        if r["start"] > MAX_START and group != "music":
            faults.append(f"{name}: starts with a step to {r['start']:.3f} of full scale (no fade-in)")
        # A loop runs on from its end into its start, so it cannot fade in; it must
        # begin near silence all the same, or its first playing clicks.
        if group == "music" and abs(x[0]) > MAX_START:
            faults.append(f"{name}: its first sample jumps to {abs(x[0]):.3f} of full scale")
        return r

    def load(path):
        try:
            return measure.decode(path)
        except IOError as err:
            faults.append(str(err))
            return None, None

    for path in effects(root):
        x, rate = load(path)
        if x is None:
            continue
        r = row("effects", path, x, rate)
        base = os.path.basename(path)
        if r["low60"] > MAX_LOW_SHARE:
            faults.append(f"{base}: {r['low60']:.0%} of its energy below 60 Hz (at most {MAX_LOW_SHARE:.0%})")
        if base not in SWELLING and r["onset"] > MAX_ONSET_MS:
            faults.append(f"{base}: takes {r['onset']:.0f} ms to reach a tenth of its peak")
    for path in voices(root):
        x, rate = load(path)
        if x is not None:
            row("voices", path, x, rate)
    for path in music(root):
        x, rate = load(path)
        if x is None:
            continue
        r = row("music", path, x, rate)
        if r["low150"] > MAX_MUSIC_BASS:
            faults.append(f"{os.path.basename(path)}: {r['low150']:.0%} of its energy below 150 Hz")

    def spread(group, width, factor):
        vals = [r["lufs"] for _, r in rows.get(group, [])]
        med = float(np.median(vals)) if vals else 0.0
        for name, r in rows.get(group, []):
            if abs(r["lufs"] - med) > width:
                faults.append(f"{name}: {r['lufs']:.1f} LUFS, {r['lufs'] - med:+.1f} LU from the median "
                              f"of the {group} (at most {width:.0f})")
        return med + 20 * np.log10(factor)

    effect_level = spread("effects", EFFECT_SPREAD, EFFECT_FACTOR)
    voice_level = spread("voices", VOICE_SPREAD, VOICE_LEVEL)
    levels = [r["lufs"] for _, r in rows.get("music", [])]
    if levels and max(levels) - min(levels) > MUSIC_SPREAD:
        faults.append(f"music tracks are {max(levels) - min(levels):.1f} LU apart (at most {MUSIC_SPREAD:.0f})")
    music_level = float(np.mean(levels)) + 20 * np.log10(MUSIC_FACTOR) if levels else 0.0
    under = voice_level - music_level
    if abs(under - MUSIC_UNDER_VOICE) > MUSIC_UNDER_TOLERANCE:
        faults.append(f"music plays {under:.1f} LU under the voices (wanted {MUSIC_UNDER_VOICE:.0f} "
                      f"± {MUSIC_UNDER_TOLERANCE:.0f})")

    # Every music file loops in play: its seam, as SDL_mixer plays it.
    seams = {}
    for path in music(root):
        rate = 44100
        period = loop_period(path, rate)
        try:
            played = measure.play_music(path, period / rate + 1.0, rate)
        except (IOError, RuntimeError) as err:
            faults.append(str(err))
            continue
        dip, jump = seam_dip(played, rate, period)
        seams[os.path.basename(path)] = (dip, jump)
        if dip > SEAM_DIP_DB or jump > SEAM_STEP:
            faults.append(f"{os.path.basename(path)}: the loop seam dips {dip:.0f} dB deeper than the music "
                          f"elsewhere and steps {jump:.1f} times its biggest steps")

    if table:
        print(f"{'file':44} {'LUFS':>6} {'DC':>7} {'start':>6} {'<60Hz':>6} {'<150Hz':>6} {'onset':>6}")
        for group, items in rows.items():
            for name, r in items:
                print(f"{name[:44]:44} {r['lufs']:6.1f} {r['dc']:7.4f} {r['start']:6.3f} {r['low60']:6.0%} "
                      f"{r['low150']:6.0%} {r['onset']:5.0f}ms")
        for group, items in rows.items():
            vals = [r["lufs"] for _, r in items]
            print(f"{group}: median {np.median(vals):.1f} LUFS, range {min(vals):.1f} .. {max(vals):.1f}")
        print(f"as played: effects {effect_level:.1f}, voices {voice_level:.1f}, music {music_level:.1f} LUFS;"
              f" music {under:.1f} LU under the voices")
        for name, (dip, jump) in seams.items():
            print(f"loop seam of {name}: dips {dip:.1f} dB deeper than elsewhere, step {jump:.2f} x usual")
    for f in faults:
        print(f)
    if faults:
        print(f"{len(faults)} sound fault(s)")
        return 1
    print("sounds: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""Dry sound effects for the game, synthesised with numpy.

    synth.py OUTDIR

writes one 16-bit mono WAV per effect (and the dragon's wordless noises) into OUTDIR;
make_sounds.sh finishes them with sox (level, echo) and encodes the dragon's as MP3.
Every noise source has a fixed seed, so the output is the same on every run.
"""
import sys
import wave

import numpy as np

RATE = 22050


def seconds(n):
    return int(round(n * RATE))


def t_axis(dur):
    return np.arange(seconds(dur)) / RATE


def rng(seed):
    return np.random.default_rng(seed)


def phase(freq):
    """Running phase (radians) of a frequency given per sample or as a constant."""
    return 2 * np.pi * np.cumsum(freq) / RATE


def band_square(ph, top=6000.0, base=1000.0):
    """Square wave from its odd harmonics, stopping below `top` Hz (no aliasing)."""
    out = np.zeros_like(ph)
    k = 1
    while k * base < top:
        out += np.sin(k * ph) / k
        k += 2
    return out * 4 / np.pi


def band_saw(ph, harmonics=24):
    out = np.zeros_like(ph)
    for k in range(1, harmonics + 1):
        out += np.sin(k * ph) / k
    return out * 2 / np.pi


def triangle(ph):
    return 2 / np.pi * np.arcsin(np.sin(ph))


def decay(n, rate_per_s):
    return np.exp(-np.arange(n) / RATE * rate_per_s)


def fade(sig, fin=0.005, fout=0.02):
    sig = sig.copy()
    a, b = seconds(fin), seconds(fout)
    if a:
        sig[:a] *= np.linspace(0, 1, a)
    if b:
        sig[-b:] *= np.linspace(1, 0, b)
    return sig


def lowpass(sig, cutoff):
    """One-pole low-pass, run twice for a gentler slope."""
    a = np.exp(-2 * np.pi * cutoff / RATE)
    for _ in range(2):
        out = np.empty_like(sig)
        y = 0.0
        for i, x in enumerate(sig):
            y = (1 - a) * x + a * y
            out[i] = y
        sig = out
    return sig


def highpass(sig, cutoff):
    return sig - lowpass(sig, cutoff)


def resonator(sig, centre, q):
    """Two-pole band-pass whose centre may move per sample."""
    centre = np.broadcast_to(np.asarray(centre, dtype=float), sig.shape)
    out = np.empty_like(sig)
    y1 = y2 = 0.0
    for i, x in enumerate(sig):
        w = 2 * np.pi * centre[i] / RATE
        r = np.exp(-w / (2 * q))
        y = (1 - r) * x + 2 * r * np.cos(w) * y1 - r * r * y2
        out[i] = y
        y2, y1 = y1, y
    return out


def brown(n, seed):
    w = rng(seed).standard_normal(n)
    out = np.empty(n)
    y = 0.0
    for i in range(n):
        y = 0.995 * y + w[i] * 0.1
        out[i] = y
    return out


def place(buf, sig, start):
    start = seconds(start)
    end = min(len(buf), start + len(sig))
    if end > start:
        buf[start:end] += sig[: end - start]


def coin(f1, f2):
    a = band_square(phase(np.full(seconds(0.07), f1)), base=f1) * 0.5
    b = band_square(phase(np.full(seconds(0.45), f2)), base=f2) * 0.5 * decay(seconds(0.45), 7)
    return np.concatenate([fade(a, 0.002, 0.003), fade(b, 0.002, 0.05)])


def money_jingle():
    buf = np.zeros(seconds(0.9))
    place(buf, coin(988, 1319), 0.0)
    place(buf, coin(1319, 1760) * 0.8, 0.16)
    place(buf, sparkle_pings(0.6, 7, 11) * 0.3, 0.25)
    return buf


def sparkle_pings(dur, count, seed):
    r = rng(seed)
    buf = np.zeros(seconds(dur))
    for i in range(count):
        f = r.uniform(2600, 5200)
        n = seconds(0.12)
        ping = glock(f, n, 35)
        place(buf, fade(ping, 0.001, 0.01) * r.uniform(0.5, 1.0), i * dur / (count + 1))
    return buf


def glock(f, n, rate):
    """A struck metal bar: its inharmonic partials (1, 2.76, 5.40) dying at different
    speeds, with a short bright strike on top."""
    out = np.zeros(n)
    for ratio, amp, speed in ((1.0, 1.0, 1.0), (2.76, 0.45, 2.2), (5.40, 0.2, 4.0)):
        if f * ratio < RATE * 0.45:
            out += np.sin(phase(np.full(n, f * ratio))) * amp * decay(n, rate * speed)
    return out


def fm_bell(f, n, ratio=3.5, index=2.5, rate=5.0):
    """Two-operator FM: the modulator's depth dies faster than the tone, so the note
    starts bright and mellows."""
    t = np.arange(n) / RATE
    mod = np.sin(2 * np.pi * f * ratio * t) * index * np.exp(-t * rate * 2)
    return np.sin(2 * np.pi * f * t + mod) * np.exp(-t * rate)


def sparkle():
    buf = sparkle_pings(1.0, 16, 3)
    # a soft rising shimmer under the pings
    t = t_axis(1.0)
    sweep = 1800 + 2400 * t
    shimmer = (np.sin(phase(sweep)) + 0.5 * np.sin(phase(sweep * 1.5 + 7)) +
               0.3 * np.sin(phase(sweep * 2.01))) * np.sin(np.pi * t) * 0.2
    buf = buf + shimmer * (0.5 + 0.5 * np.sin(2 * np.pi * 14 * t))
    # a bright first ping, so the sparkle is there the moment the item is
    place(buf, glock(3520, seconds(0.3), 12) * 0.9, 0)
    return buf


def earthquake():
    dur = 2.6
    n = seconds(dur)
    t = t_axis(dur)
    # the rumble sits between 60 and 300 Hz: felt on big speakers, heard on small ones
    noise = highpass(lowpass(brown(n, 5), 300), 70)
    noise /= np.max(np.abs(noise))
    r = rng(6)
    bumps = np.interp(t, np.linspace(0, dur, 14), r.uniform(0.4, 1.0, 14))
    hum = np.sin(phase(78 + 8 * np.sin(2 * np.pi * 0.7 * t))) * 0.5 + np.sin(phase(np.full(n, 117))) * 0.3
    grit = lowpass(rng(26).standard_normal(n), 900) * 0.25
    sig = (noise * 1.2 + hum * 0.6 + grit) * bumps * (0.75 + 0.25 * np.sin(2 * np.pi * 7 * t))
    # a jolt at once, then the shaking builds
    env = np.minimum(1, 0.45 + t / 0.4) * np.minimum(1, t / 0.004) * np.minimum(1, (dur - t) / 0.8)
    return np.tanh(sig * env * 2.0)


def wind():
    dur = 3.2
    n = seconds(dur)
    t = t_axis(dur)
    noise = rng(7).standard_normal(n)
    centre = 650 + 450 * np.sin(2 * np.pi * 0.45 * t) + 200 * np.sin(2 * np.pi * 1.3 * t + 1)
    howl = resonator(noise, centre, 9.0)
    hiss = highpass(rng(8).standard_normal(n), 3000) * 0.05
    env = np.sin(np.pi * t / dur) ** 0.7
    sig = howl / np.max(np.abs(howl)) + hiss
    return sig * env * (0.8 + 0.2 * np.sin(2 * np.pi * 0.9 * t))


def fire():
    dur = 2.5
    n = seconds(dur)
    t = t_axis(dur)
    bed = lowpass(brown(n, 9), 500)
    bed = bed / np.max(np.abs(bed)) * 0.35
    roar = resonator(rng(10).standard_normal(n), 300, 2.0)
    roar = roar / np.max(np.abs(roar)) * 0.15
    buf = bed + roar
    r = rng(11)
    for _ in range(70):
        start = r.uniform(0, dur - 0.02)
        m = seconds(r.uniform(0.002, 0.009))
        burst = r.standard_normal(m) * decay(m, 600) * r.uniform(0.1, 0.35)
        place(buf, burst, start)
    place(buf, r.standard_normal(seconds(0.006)) * decay(seconds(0.006), 600) * 0.4, 0.002)
    env = np.minimum(1, t / 0.008) * np.minimum(1, (dur - t) / 0.4)
    return buf * env


def monster_hit():
    dur = 0.5
    n = seconds(dur)
    t = t_axis(dur)
    # a cartoon bonk: a falling drum tone, a hollow wooden knock (inharmonic modes)
    # and a cloth-and-leather smack of noise
    thud = np.sin(phase(75 + 140 * np.exp(-t * 18))) * decay(n, 9)
    knock = np.zeros(n)
    for f, amp, rate in ((310, 0.5, 16), (587, 0.35, 22), (943, 0.25, 30), (1390, 0.12, 40)):
        knock += np.sin(phase(f * (1 + 0.08 * np.exp(-t * 30)))) * amp * decay(n, rate)
    smack = resonator(rng(12).standard_normal(seconds(0.05)), 1500, 1.5) * decay(seconds(0.05), 70)
    smack /= np.max(np.abs(smack))
    body = lowpass(brown(n, 13), 400)
    body = body / np.max(np.abs(body)) * decay(n, 14) * 0.4
    buf = thud + knock + body
    place(buf, smack * 0.9, 0)
    return np.tanh(fade(buf, 0.001, 0.05) * 2.0)


def spinner():
    dur = 1.1
    n = seconds(dur)
    t = t_axis(dur)
    noise = rng(14).standard_normal(n)
    # whirling: the band sweeps up and down five times, faster as it spins up
    centre = 900 + 700 * np.sin(2 * np.pi * (3 * t + 2.5 * t * t))
    whoosh = resonator(noise, centre, 6.0)
    whoosh /= np.max(np.abs(whoosh))
    env = np.minimum(1, t / 0.008) * (0.3 + 0.7 * np.sin(np.pi * t / dur)) * (0.6 + 0.4 * np.abs(np.sin(2 * np.pi * (3 * t + 2.5 * t * t))))
    return whoosh * env


def bell_ring():
    dur = 2.2
    n = seconds(dur)
    buf = np.zeros(n)
    for f, amp, rate in ((880, 1.0, 2.2), (2429, 0.5, 4.5), (4752, 0.25, 8.0), (440, 0.4, 1.6),
                         (1320, 0.15, 5.0)):
        buf += np.sin(phase(np.full(n, f))) * amp * decay(n, rate)
    strike = highpass(rng(15).standard_normal(seconds(0.01)), 2000) * 0.3
    place(buf, strike, 0)
    return fade(buf, 0.001, 0.1)


def fat_bouncy():
    dur = 0.9
    n = seconds(dur)
    t = t_axis(dur)
    # a big spring: its wobbling tone, a metallic coil ringing (inharmonic, beating
    # partials that wobble with it) and the twang of the release
    wobble = 55 * np.sin(2 * np.pi * 11 * t) * np.exp(-3.5 * t)
    freq = 95 * (1 + 0.9 * t) + wobble
    ph = phase(freq)
    body = triangle(ph) * 0.7 + np.sin(ph / 2) * 0.3 + band_saw(ph, 10) * 0.2
    coil = np.zeros(n)
    for ratio, amp, rate in ((3.1, 0.35, 5), (4.67, 0.25, 6), (7.2, 0.15, 8), (11.3, 0.08, 10)):
        coil += np.sin(phase(freq * ratio + wobble * ratio * 0.3)) * amp * decay(n, rate)
    twang = resonator(rng(27).standard_normal(seconds(0.04)), 2400, 6.0) * decay(seconds(0.04), 90)
    twang /= np.max(np.abs(twang))
    sig = (body + coil) * decay(n, 3.2)
    place(sig, twang * 0.4, 0)
    return fade(sig, 0.003, 0.1)


def tick_tock():
    dur = 2.0
    buf = np.zeros(seconds(dur))
    click = rng(16).standard_normal(seconds(0.03)) * decay(seconds(0.03), 220)
    tick = resonator(click, 3200, 8.0)
    tock = resonator(click, 1100, 8.0)
    tick /= np.max(np.abs(tick))
    tock /= np.max(np.abs(tock))
    for i in range(4):
        place(buf, tick, i * 0.5)
        place(buf, tock * 0.9, i * 0.5 + 0.25)
    return buf


def good_tone():
    dur = 0.9
    buf = np.zeros(seconds(dur))
    for i, f in enumerate((523.25, 659.25, 783.99, 1046.5)):
        n = seconds(dur - i * 0.07)
        # an FM chime over a soft triangle, a little detuned for warmth
        ph = phase(np.full(n, f * 1.003))
        note = fm_bell(f, n, 2.0, 1.8, 4.5) + 0.25 * triangle(ph) * decay(n, 6)
        place(buf, fade(note, 0.004, 0.05) * 0.5, i * 0.07)
    return buf


def thunder():
    dur = 3.8
    n = seconds(dur)
    t = t_axis(dur)
    crack_n = seconds(0.25)
    crack = highpass(rng(17).standard_normal(crack_n), 900) * decay(crack_n, 14)
    rumble = lowpass(brown(n, 18), 220)
    rumble /= np.max(np.abs(rumble))
    r = rng(19)
    rolls = np.interp(t, np.linspace(0, dur, 20), r.uniform(0.3, 1.0, 20))
    env = np.minimum(1, t / 0.01) * np.exp(-t * 0.9)
    buf = rumble * rolls * env * 1.4
    place(buf, crack * 0.9, 0.0)
    return np.tanh(buf * 1.5)


def vloop():
    dur = 1.0
    n = seconds(dur)
    t = t_axis(dur)
    # a slide whistle going once round a loop: up, over the top and back down
    freq = 700 - 380 * np.cos(2 * np.pi * t / dur) + 12 * np.sin(2 * np.pi * 6 * t)
    ph = phase(freq)
    tone = np.sin(ph) + 0.25 * np.sin(2 * ph + 0.5) + 0.08 * np.sin(3 * ph)
    # the breath through the whistle: noise that follows the pitch
    breath = resonator(rng(28).standard_normal(n), freq, 12.0)
    breath /= np.max(np.abs(breath))
    sig = tone + 0.35 * breath
    env = np.minimum(1, t / 0.01) * (0.4 + 0.6 * np.sin(np.pi * t / dur) ** 0.4)
    return fade(sig * env, 0.005, 0.05) * 0.8


def applause(dur, claps, seed):
    r = rng(seed)
    buf = np.zeros(seconds(dur))
    for _ in range(claps):
        m = seconds(0.012)
        clap = resonator(r.standard_normal(m), r.uniform(900, 2200), 3.0) * decay(m, 300)
        place(buf, clap * r.uniform(0.3, 1.0), r.uniform(0, dur - 0.02))
    return buf / max(1e-9, np.max(np.abs(buf)))


# The dragon's wordless noises (raw; make_sounds.sh adds the cave echo).

def burp():
    dur = 0.85
    n = seconds(dur)
    t = t_axis(dur)
    r = rng(20)
    jitter = np.interp(t, np.linspace(0, dur, 40), r.uniform(-8, 8, 40))
    freq = 78 - 22 * t + jitter
    ph = phase(freq)
    pulses = band_saw(ph, 40)
    voiced = resonator(pulses, 420, 4.0) + resonator(pulses, 900, 5.0) * 0.6
    voiced /= np.max(np.abs(voiced))
    env = np.minimum(1, t / 0.03) * np.minimum(1, (dur - t) / 0.2)
    wobble = 0.75 + 0.25 * np.sin(2 * np.pi * 17 * t)
    return np.tanh(voiced * env * wobble * 2.5)


def eating():
    dur = 2.4
    buf = np.zeros(seconds(dur))
    r = rng(21)
    times = np.arange(0.05, dur - 0.25, 0.34)
    for k, start in enumerate(times):
        m = seconds(0.16)
        crunch = lowpass(r.standard_normal(m), 1400) * decay(m, 18)
        thump = np.sin(phase(np.full(m, 85 + 10 * (k % 2)))) * decay(m, 22)
        place(buf, crunch * 2.5 + thump * 0.8, start + r.uniform(-0.02, 0.02))
        # a wet "mm" of the jaws between bites
        m2 = seconds(0.14)
        hum = band_saw(phase(np.full(m2, 70 + 5 * k)), 12)
        hum = lowpass(hum, 400) * np.sin(np.linspace(0, np.pi, m2)) * 0.5
        place(buf, hum, start + 0.17)
    return buf


def breathing():
    dur = 3.6
    n = seconds(dur)
    t = t_axis(dur)
    noise = rng(22).standard_normal(n)
    breath = resonator(noise, 350 + 200 * np.sin(2 * np.pi * t / 1.8), 1.5)
    breath /= np.max(np.abs(breath))
    # in (shorter, higher) and out (longer, lower), twice
    env = np.abs(np.sin(np.pi * t / 1.8)) ** 1.5
    growl = band_saw(phase(np.full(n, 55)), 16)
    growl = lowpass(growl, 300) * 0.25
    return (breath + growl) * env


def snarling():
    dur = 1.8
    n = seconds(dur)
    t = t_axis(dur)
    r = rng(23)
    jitter = np.interp(t, np.linspace(0, dur, 60), r.uniform(-15, 15, 60))
    freq = 95 + 25 * np.sin(2 * np.pi * 1.2 * t) + jitter
    voiced = band_saw(phase(freq), 40) * (0.6 + 0.4 * np.sin(2 * np.pi * 24 * t))
    voiced = resonator(voiced, 600, 3.0) + resonator(voiced, 1200, 4.0) * 0.5
    voiced /= np.max(np.abs(voiced))
    rasp = resonator(r.standard_normal(n), 1800, 2.0)
    rasp /= np.max(np.abs(rasp))
    env = np.minimum(1, t / 0.1) * np.minimum(1, (dur - t) / 0.35)
    return np.tanh((voiced + rasp * 0.3) * env * 3.0)


def roar():
    dur = 2.2
    n = seconds(dur)
    t = t_axis(dur)
    r = rng(24)
    jitter = np.interp(t, np.linspace(0, dur, 50), r.uniform(-10, 10, 50))
    freq = 70 + 90 * np.sin(np.pi * np.minimum(1, t / 1.6)) ** 0.6 + jitter
    voiced = band_saw(phase(freq), 60)
    voiced = resonator(voiced, 500 + 300 * np.sin(np.pi * t / dur), 2.5) + resonator(voiced, 1400, 4.0) * 0.4
    voiced /= np.max(np.abs(voiced))
    air = resonator(r.standard_normal(n), 900, 1.2)
    air /= np.max(np.abs(air))
    env = np.minimum(1, t / 0.15) * np.minimum(1, (dur - t) / 0.7)
    return np.tanh((voiced + air * 0.45) * env * 3.5)


SOUNDS = {
    "money_jingle": money_jingle,
    "earthquake": earthquake,
    "wind": wind,
    "fire": fire,
    "MonsterHit": monster_hit,
    "spinner": spinner,
    "BellRing": bell_ring,
    "fat_bouncy": fat_bouncy,
    "tick_tock": tick_tock,
    "Good_tone": good_tone,
    "Thunder": thunder,
    "vloop": vloop,
    "Sparkle": sparkle,
    "applause": lambda: applause(2.6, 160, 25),
    "dragon_burp": burp,
    "dragon_eating": eating,
    "dragon_breathing": breathing,
    "dragon_snarling": snarling,
    "dragon_roar": roar,
}


def write(path, sig):
    peak = np.max(np.abs(sig))
    if peak > 0:
        sig = sig / peak * 0.7
    data = np.round(sig * 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def main():
    outdir = sys.argv[1]
    names = sys.argv[2:] or list(SOUNDS)
    for name in names:
        write(f"{outdir}/{name}.wav", SOUNDS[name]())


if __name__ == "__main__":
    main()

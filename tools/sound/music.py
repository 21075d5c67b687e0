#!/usr/bin/python3
"""The game's three pieces of music, synthesised with numpy.

    music.py MUSICDIR TMPDIR

writes MUSICDIR/Cartoon1Intro.wav (the chase loop of the levels and menus),
MUSICDIR/"Jivin Credits.wav" (a relaxed swing loop for the credits run) and
TMPDIR/zqt_song.wav (the theme, which mp3loop.py encodes as a looping MP3).

The loops are seamless: every note, echo and drum tail that runs past the end is
folded back onto the start, and the tempo is chosen so a beat is a whole number of
samples at 44100 Hz, the rate the game's mixer runs at.
"""
import os
import sys
import wave

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import level  # noqa: E402
import measure  # noqa: E402

RATE = 44100


def midi_hz(m):
    return 440.0 * 2 ** ((m - 69) / 12)


def env_adsr(n, a=0.005, d=0.08, s=0.6, r=0.05):
    out = np.full(n, float(s))
    na, nd, nr = int(a * RATE), int(d * RATE), int(r * RATE)
    na = min(na, n)
    out[:na] = np.linspace(0, 1, na, endpoint=False)
    nd = min(nd, n - na)
    out[na:na + nd] = np.linspace(1, s, nd, endpoint=False)
    nr = min(nr, n)
    out[n - nr:] *= np.linspace(1, 0, nr)
    return out


def additive(freq, n, amps, vibrato=0.0):
    t = np.arange(n) / RATE
    f = freq * (1 + vibrato * np.sin(2 * np.pi * 5.5 * t) * np.minimum(1, t / 0.15))
    ph = 2 * np.pi * np.cumsum(f) / RATE
    out = np.zeros(n)
    for k, a in enumerate(amps, start=1):
        if a and k * freq < RATE * 0.45:
            out += a * np.sin(k * ph)
    return out


def pulse(freq, n, width=0.25, vibrato=0.004):
    # band-limited pulse from its Fourier series
    amps = [2 / (k * np.pi) * np.sin(np.pi * k * width) for k in range(1, 40)]
    return additive(freq, n, amps, vibrato)


def saw(freq, n, harmonics=30, vibrato=0.0):
    return additive(freq, n, [1 / k for k in range(1, harmonics + 1)], vibrato)


def tri(freq, n):
    return additive(freq, n, [(1 / k ** 2) * (1 if (k // 2) % 2 == 0 else -1) if k % 2 else 0
                               for k in range(1, 16)])


class Track:
    def __init__(self, bpm, bars, seed, loop=True):
        self.beat = int(round(RATE * 60 / bpm))
        self.length = self.beat * 4 * bars
        self.buf = np.zeros(self.length + RATE * 4)
        self.loop = loop
        self.rng = np.random.default_rng(seed)

    def at(self, beats):
        return int(round(beats * self.beat))

    def add(self, start, sig):
        idx = start + np.arange(len(sig))
        if self.loop:
            np.add.at(self.buf, idx % self.length, sig)
        else:
            self.buf[idx] += sig

    def note(self, beats, dur, midi, voice, gain, echo=None):
        n = max(1, self.at(dur))
        sig = voice(midi_hz(midi), n) * gain
        self.add(self.at(beats), sig)
        if echo:
            delay, fb, count = echo
            for k in range(1, count + 1):
                self.add(self.at(beats + delay * k), sig * fb ** k)

    def noise(self, n, cutoff_hi=None, cutoff_lo=None):
        x = self.rng.standard_normal(n)
        spectrum = np.fft.rfft(x)
        freqs = np.fft.rfftfreq(n, 1 / RATE)
        if cutoff_hi:
            spectrum[freqs > cutoff_hi] = 0
        if cutoff_lo:
            spectrum[freqs < cutoff_lo] = 0
        return np.fft.irfft(spectrum, n)

    def kick(self, beats, gain=0.9):
        n = int(0.25 * RATE)
        t = np.arange(n) / RATE
        f = 55 + 120 * np.exp(-t * 30)
        sig = np.sin(2 * np.pi * np.cumsum(f) / RATE) * np.exp(-t * 14)
        self.add(self.at(beats), sig * gain)

    def snare(self, beats, gain=0.5, brush=False):
        n = int((0.3 if brush else 0.18) * RATE)
        t = np.arange(n) / RATE
        body = np.sin(2 * np.pi * 190 * t) * np.exp(-t * 35) * (0 if brush else 0.6)
        rattle = self.noise(n, 9000, 1500) * np.exp(-t * (12 if brush else 22))
        rattle /= np.max(np.abs(rattle))
        self.add(self.at(beats), (body + rattle * (0.5 if brush else 0.8)) * gain)

    def hat(self, beats, gain=0.18, open_=False):
        n = int((0.18 if open_ else 0.05) * RATE)
        t = np.arange(n) / RATE
        sig = self.noise(n, None, 7000) * np.exp(-t * (18 if open_ else 80))
        sig /= np.max(np.abs(sig))
        self.add(self.at(beats), sig * gain)

    def mix(self):
        out = self.buf[:self.length].copy()
        if not self.loop:
            out = self.buf.copy()
            nz = np.nonzero(np.abs(out) > 1e-4)[0]
            out = out[:nz[-1] + RATE // 2] if len(nz) else out
        return out


# Chords as MIDI notes (bass root first).
CHORDS = {
    "C": (48, [60, 64, 67]), "Am": (45, [57, 60, 64]), "F": (41, [53, 57, 60]),
    "G": (43, [55, 59, 62]), "Dm": (38, [50, 53, 57]), "Em": (40, [52, 55, 59]),
    "E": (40, [52, 56, 59]), "G7": (43, [55, 59, 62, 65]), "Cmaj7": (48, [60, 64, 67, 71]),
    "Am7": (45, [57, 60, 64, 67]), "Dm7": (38, [50, 53, 57, 60]), "Fmaj7": (41, [53, 57, 60, 64]),
    "E7": (40, [52, 56, 59, 62]), "A7": (45, [57, 61, 64, 67]),
}

# Melody shapes over one bar of four beats: (start beat, length in beats, chord tone),
# where tone 0..2 are the triad and 3..5 the same an octave up.
SHAPES = {
    "run_up": [(0, .5, 0), (.5, .5, 1), (1, .5, 2), (1.5, .5, 3), (2, 1, 4), (3, .5, 3), (3.5, .5, 2)],
    "hop": [(0, .75, 3), (.75, .25, 2), (1, .5, 1), (1.5, .5, 2), (2, .5, 3), (2.5, .5, 1), (3, 1, 2)],
    "chatter": [(0, .5, 2), (.5, .5, 2), (1, .5, 3), (1.5, .5, 2), (2, .5, 1), (2.5, .5, 0), (3, .5, 1), (3.5, .5, 2)],
    "gallop": [(0, .25, 3), (.25, .25, 3), (.5, .5, 4), (1, .25, 3), (1.25, .25, 3), (1.5, .5, 5),
               (2, .5, 4), (2.5, .5, 3), (3, 1, 2)],
    "land": [(0, .5, 4), (.5, .5, 3), (1, .5, 2), (1.5, .5, 1), (2, 2, 0)],
    "call": [(0, 1.5, 3), (1.5, .5, 2), (2, .5, 1), (2.5, .5, 2), (3, 1, 3)],
    "lazy": [(0, 1.5, 2), (2, .67, 3), (2.67, .33, 2), (3, 1, 1)],
    "swing": [(0, .67, 0), (.67, .33, 1), (1, .67, 2), (1.67, .33, 3), (2, 1.5, 4), (3.67, .33, 3)],
    "sigh": [(.67, .33, 3), (1, 1, 4), (2, .67, 3), (2.67, .33, 2), (3, 1, 0)],
    "hold": [(0, 3.5, 3)],
}


def tone(chord, idx):
    notes = CHORDS[chord][1][:3]
    lifted = [m + 12 for m in notes]
    return (notes + lifted)[idx] + 12 if notes[0] < 60 else (notes + lifted)[idx]


def vary(shape, bar, rng):
    """A bar's melody shape, varied so no two bars of a phrase are twins: some notes
    step to a neighbouring chord tone, and every other bar the rhythm is pushed by
    half a beat at its end."""
    out = []
    for s, d, k in shape:
        if rng.random() < 0.35:
            k = min(5, max(0, k + rng.choice([-1, 1])))
        out.append((s, d, k))
    if bar % 2 and out and out[-1][1] >= 1:
        s, d, k = out[-1]
        out[-1:] = [(s, d / 2, k), (s + d / 2, d / 2, min(5, k + 1))]
    return out


def chase_loop():
    """Cheerful cartoon chase, 150 beats a minute, 24 bars (38.4 s): a tune, a
    bridge over an arpeggio, and the tune again an octave up with a second voice."""
    trk = Track(150, 24, seed=31)
    rng = np.random.default_rng(32)
    a = ["C", "Am", "F", "G", "C", "Am", "Dm", "G"]
    b = ["F", "G", "Em", "Am", "F", "G", "C", "G"]
    a2 = ["C", "E", "Am", "F", "Dm", "G", "C", "G"]
    chords = a + b + a2
    shapes_a = ["run_up", "hop", "chatter", "gallop", "run_up", "call", "chatter", "land"]
    shapes_b = ["call", "gallop", "sigh", "chatter", "call", "swing", "run_up", "land"]
    shapes = shapes_a + shapes_b + ["gallop", "hop", "run_up", "chatter", "swing", "hop", "gallop", "land"]
    lead = lambda f, n: pulse(f, n, 0.25) * env_adsr(n, 0.004, 0.06, 0.55, 0.03)
    lead2 = lambda f, n: saw(f, n, 16, 0.004) * env_adsr(n, 0.01, 0.08, 0.5, 0.04)
    counter = lambda f, n: tri(f, n) * env_adsr(n, 0.01, 0.1, 0.5, 0.05)
    bass = lambda f, n: (tri(f, n) + 0.4 * pulse(f, n, 0.5, 0)) * env_adsr(n, 0.003, 0.1, 0.4, 0.03)
    stab = lambda f, n: saw(f, n, 12) * env_adsr(n, 0.003, 0.06, 0.25, 0.03)
    pluck = lambda f, n: pulse(f, n, 0.125, 0) * np.exp(-np.arange(n) / RATE * 12) * env_adsr(n, 0.002, 0.01, 1, 0.02)
    for bar, chord in enumerate(chords):
        b0 = bar * 4
        root, triad = CHORDS[chord]
        section = bar // 8
        melody = vary(SHAPES[shapes[bar]], bar, rng)
        voice, up = (lead2, 12) if section == 2 else (lead, 0)
        for s, d, k in melody:
            trk.note(b0 + s, d * 0.9, tone(chord, k) + up, voice, 0.22 if section < 2 else 0.16,
                     echo=(0.75, 0.3, 2))
        if section == 2:  # the first voice answers below the second
            for s, d, k in melody[::2]:
                trk.note(b0 + s, d * 0.9, tone(chord, (k + 2) % 6), counter, 0.1)
        # oom-pah in the tune, a running arpeggio in the bridge
        for beat in range(4):
            trk.note(b0 + beat, 0.45, root - 12 + (7 if beat % 2 else 0), bass, 0.12)
            if section == 1:
                for e, m in enumerate(triad + [triad[1] + 12]):
                    trk.note(b0 + beat + e * 0.25, 0.22, m + 12, pluck, 0.07)
            else:
                for m in triad:
                    trk.note(b0 + beat + 0.5, 0.2, m, stab, 0.05)
        # drums: the bridge drops the kick on three, the last phrase adds an open hat
        trk.kick(b0, 0.45)
        if section != 1:
            trk.kick(b0 + 2, 0.4)
        if bar % 2:
            trk.kick(b0 + 2.5, 0.35)
        trk.snare(b0 + 1)
        trk.snare(b0 + 3)
        for e in range(8):
            trk.hat(b0 + e * 0.5, 0.14 if e % 2 else 0.2, open_=(section == 2 and e == 7))
        if bar % 8 == 7:
            for e in range(4):
                trk.snare(b0 + 3 + e * 0.25, 0.25 + 0.08 * e)
        if bar % 4 == 3 and bar % 8 != 7:
            trk.note(b0 + 3.5, 0.45, tone(chord, 5) + 12, pluck, 0.08)
    return trk.mix()


def jive_loop():
    """Relaxed swing for the credits: 105 beats a minute, 16 bars."""
    trk = Track(105, 16, seed=47)
    chords = ["Cmaj7", "Am7", "Dm7", "G7", "Cmaj7", "A7", "Dm7", "G7",
              "Fmaj7", "Fmaj7", "Cmaj7", "Am7", "Dm7", "G7", "Cmaj7", "G7"]
    shapes = ["swing", "lazy", "sigh", "swing", "lazy", "sigh", "swing", "hold",
              "lazy", "sigh", "swing", "lazy", "sigh", "swing", "lazy", "swing"]
    vibes = lambda f, n: (additive(f, n, [1, 0, 0, 0.35, 0, 0.1]) *
                          np.exp(-np.arange(n) / RATE * 2.5) *
                          (1 + 0.25 * np.sin(2 * np.pi * 5 * np.arange(n) / RATE)) *
                          env_adsr(n, 0.003, 0.01, 1.0, 0.06))
    upright = lambda f, n: additive(f, n, [1, 0.5, 0.2, 0.1]) * np.exp(-np.arange(n) / RATE * 3) * env_adsr(n, 0.005, 0.01, 1, 0.04)
    organ = lambda f, n: additive(f, n, [1, 0.5, 0.25, 0, 0.12]) * env_adsr(n, 0.03, 0.2, 0.6, 0.1)
    for bar, chord in enumerate(chords):
        b0 = bar * 4
        root, notes = CHORDS[chord]
        for s, d, k in SHAPES[shapes[bar]]:
            trk.note(b0 + s, d * 0.95, tone(chord, k), vibes, 0.2, echo=(0.67, 0.25, 2))
        # walking bass: root, third, fifth, a step leading to the next chord
        nxt = CHORDS[chords[(bar + 1) % len(chords)]][0]
        walk = [root, notes[1] - 12, notes[2] - 12, nxt + (1 if nxt < root + 6 else -1)]
        for beat, m in enumerate(walk):
            while m > 52:
                m -= 12
            trk.note(b0 + beat, 1.0, m, upright, 0.3)
        # soft comping on the "and" of two, and beat four
        for start, length in ((1.67, 0.6), (3, 0.5)):
            for m in notes:
                trk.note(b0 + start, length, m, organ, 0.035)
        trk.kick(b0, 0.5)
        trk.kick(b0 + 2, 0.4)
        trk.snare(b0 + 1, 0.22, brush=True)
        trk.snare(b0 + 3, 0.22, brush=True)
        for beat in range(4):
            trk.hat(b0 + beat, 0.1, open_=(beat % 2 == 1))
            trk.hat(b0 + beat + 0.67, 0.06)
        # a pad under the lot, held over the bar line, so the loop never falls silent
        for m in notes:
            trk.note(b0, 4.3, m, organ, 0.02)
    return trk.mix()


def theme():
    """The theme: a bold tune in A minor turning to C major, 120 beats a minute,
    16 bars (32 s) that lead back into their start."""
    trk = Track(120, 16, seed=59)
    chords = ["Am", "F", "C", "G", "Am", "F", "G", "E",
              "F", "G", "Em", "Am", "F", "G", "C", "E"]
    shapes = ["call", "hop", "run_up", "gallop", "call", "chatter", "sigh", "hold",
              "run_up", "gallop", "hop", "chatter", "call", "swing", "land", "gallop"]
    brass = lambda f, n: saw(f, n, 20, 0.005) * env_adsr(n, 0.03, 0.1, 0.7, 0.08)
    bass = lambda f, n: (saw(f, n, 8) * 0.5 + tri(f, n)) * env_adsr(n, 0.005, 0.15, 0.5, 0.05)
    pad = lambda f, n: additive(f, n, [1, 0.3, 0.2, 0.1]) * env_adsr(n, 0.3, 0.5, 0.7, 0.4)
    for bar, chord in enumerate(chords):
        b0 = bar * 4
        root, notes = CHORDS[chord]
        for s, d, k in SHAPES[shapes[bar]]:
            trk.note(b0 + s, d * 0.92, tone(chord, k), brass, 0.16, echo=(0.5, 0.25, 2))
        for m in notes:
            trk.note(b0, 4.0, m, pad, 0.06)
        for e in range(8):
            trk.note(b0 + e * 0.5, 0.4, root - 12 + (12 if e % 2 else 0), bass, 0.12)
        trk.kick(b0, 0.6)
        trk.kick(b0 + 1.5, 0.35)
        trk.kick(b0 + 2, 0.55)
        trk.snare(b0 + 1)
        trk.snare(b0 + 3)
        for e in range(8):
            trk.hat(b0 + e * 0.5, 0.15)
        if bar == 15:  # a fill that throws the tune back to its start
            for e in range(4):
                trk.snare(b0 + 3 + e * 0.25, 0.25 + 0.08 * e)
    return trk.mix()


# Loudness (EBU R128) of every track: the three sit within a fraction of a LU of each
# other, and with the game's music factor about 10 LU under the dragon's voice.
MUSIC_LUFS = -17.5


def start_quietly(loop):
    """The same loop, turned to begin at its quietest sample of the last 20 ms before
    the downbeat: the game starts it from silence, and a loop that begins mid-note
    clicks then."""
    tail = np.arange(len(loop) - int(0.02 * RATE), len(loop))
    k = tail[np.argmin(np.abs(loop[tail]) + np.abs(loop[(tail + 1) % len(loop)]))]
    return np.roll(loop, -k)


def write(path, sig):
    sig = sig / np.max(np.abs(sig)) * level.PEAK
    drive = 1.0
    for _ in range(8):
        out = level.limit(sig * drive)
        miss = MUSIC_LUFS - measure.loudness(out, RATE)
        if abs(miss) < 0.05:
            break
        drive = min(level.MAX_DRIVE, drive * 10 ** (miss / 20))
    data = np.round(out * 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def main():
    music_dir, tmp_dir = sys.argv[1], sys.argv[2]
    write(f"{music_dir}/Cartoon1Intro.wav", start_quietly(chase_loop()))
    write(f"{music_dir}/Jivin Credits.wav", start_quietly(jive_loop()))
    write(f"{tmp_dir}/zqt_song.wav", theme())


if __name__ == "__main__":
    main()

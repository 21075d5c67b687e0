#!/usr/bin/python3
"""Puts a voice's formants back where they belong after a pitch shift.

    formant.py ORIGINAL.wav SHIFTED.wav OUT.wav [SCALE [GROWL]]

SHIFTED is ORIGINAL pitched down (sox pitch), which drags the formants down with the
pitch and muffles the words. Frame by frame, the spectral envelope of SHIFTED is
replaced by that of ORIGINAL, stretched by SCALE (below 1: a bigger throat, formants
a little lower). The pitch stays low; the vowels and consonants stay where a listener
expects them. GROWL (0 to 1) mixes in a copy ring-modulated at a slow, wandering rate:
every harmonic grows side bands a few tens of hertz away, which the ear hears as a
rough throat, while the envelope (and so the words) stays put. Both inputs are mono at the same rate and length (within a frame).
"""
import os
import sys
import wave

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from measure import decode as read  # noqa: E402

N = 1024  # frame, with 3/4 overlap
HOP = N // 4
LIFTER = 40  # cepstral coefficients kept for the envelope (formants, not harmonics)


def stft(x):
    win = np.hanning(N + 1)[:N]
    pad = np.concatenate([np.zeros(N), x, np.zeros(N)])
    count = (len(pad) - N) // HOP + 1
    return np.array([np.fft.rfft(pad[i * HOP:i * HOP + N] * win) for i in range(count)])


def istft(frames, length):
    win = np.hanning(N + 1)[:N]
    out = np.zeros((len(frames) - 1) * HOP + N)
    norm = np.zeros_like(out)
    for i, f in enumerate(frames):
        out[i * HOP:i * HOP + N] += np.fft.irfft(f, N) * win
        norm[i * HOP:i * HOP + N] += win * win
    out /= np.maximum(norm, 1e-3)
    return out[N:N + length]


def envelope(frames):
    """Smooth log-magnitude envelope of every frame (low-quefrency cepstrum)."""
    logmag = np.log(np.abs(frames) + 1e-6)
    cep = np.fft.irfft(logmag, N, axis=1)
    cep[:, LIFTER:N - LIFTER + 1] = 0
    return np.fft.rfft(cep, N, axis=1).real


def main():
    orig, rate = read(sys.argv[1])
    shifted, rate2 = read(sys.argv[2])
    scale = float(sys.argv[4]) if len(sys.argv) > 4 else 1.0
    if rate != rate2:
        raise SystemExit("both inputs at one rate, please")
    n = min(len(orig), len(shifted))
    a, b = stft(orig[:n]), stft(shifted[:n])
    want, have = envelope(a), envelope(b)
    bins = np.arange(want.shape[1])
    # Stretch the wanted envelope along frequency: a formant at f moves to f * scale.
    want = np.array([np.interp(bins / scale, bins, row) for row in want])
    gain = np.exp(np.clip(want - have, -6, 6))
    out = istft(b * gain, n)
    growl = float(sys.argv[5]) if len(sys.argv) > 5 else 0.0
    if growl > 0:
        t = np.arange(n) / rate
        rate_hz = 34 + 6 * np.sin(2 * np.pi * 0.7 * t)
        out = out + growl * out * np.sin(2 * np.pi * np.cumsum(rate_hz) / rate)
    out *= 0.9 / max(1e-9, np.max(np.abs(out)))
    with wave.open(sys.argv[3], "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(np.round(out * 32767).astype("<i2").tobytes())


if __name__ == "__main__":
    main()

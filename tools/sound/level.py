#!/usr/bin/python3
"""Finishes a sound: no offset, no click at either end, and a set loudness.

    level.py IN.wav OUT.wav LUFS

Removes any DC offset, fades in over the first 5 ms and out over the last 10 ms, then
scales the sound to the given integrated loudness (EBU R128). Sparse sounds (ticks,
crackles) would need their peaks past full scale for that: their peaks are rounded
off by a soft limiter at -1 dBFS, driven by at most 10 dB, so they still reach the
level of the rest. Writes 16-bit mono at the
input's rate.
"""
import os
import sys
import wave

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import measure  # noqa: E402

PEAK = 10 ** (-1 / 20)
MAX_DRIVE = 10 ** (10 / 20)


def limit(x):
    """Untouched up to half of PEAK, then bending smoothly towards PEAK."""
    knee = PEAK / 2
    over = np.abs(x) > knee
    y = x.copy()
    y[over] = np.sign(x[over]) * (knee + (PEAK - knee) * np.tanh((np.abs(x[over]) - knee) / (PEAK - knee)))
    return y


def main():
    x, rate = measure.decode(sys.argv[1])
    target = float(sys.argv[3])
    x = x - x.mean()
    a, b = int(0.005 * rate), int(0.01 * rate)
    x[:a] *= np.linspace(0, 1, a, endpoint=False) ** 2
    x[len(x) - b:] *= np.linspace(1, 0, b) ** 2
    x = x / max(1e-9, np.max(np.abs(x))) * PEAK
    drive = 1.0
    for _ in range(8):
        y = limit(x * drive)
        miss = target - measure.loudness(y, rate)
        if abs(miss) < 0.05:
            break
        drive = min(MAX_DRIVE, drive * 10 ** (miss / 20))
    x = y
    with wave.open(sys.argv[2], "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(np.round(np.clip(x, -1, 1) * 32767).astype("<i2").tobytes())


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Encodes a seamless loop as an MP3 that also loops seamlessly when SDL_mixer plays it.

    mp3loop.py LOOP.wav OUT.mp3

SDL_mixer streams MP3 through libmad and loops by rewinding the file without
resetting the decoder. A plain encoding then repeats lame's start-up delay and end
padding (silence) at every turn. Instead the loop is encoded three times over, and
the frames of the middle copy are kept: each frame's neighbours, the last and the
first included, are then the ones the encoder saw, so the decoder's carried-over
state joins them without a seam. The bit reservoir is off (no frame borrows bits from
the one before) and there is no tag frame. Only the first playing starts from a cold
decoder: the loop is turned so that those first 26 ms fall on the quiet tail of the
last bar.

The loop's length must be a whole number of MP3 frames (1152 samples), mono 16-bit.
"""
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

FRAME = 1152
DELAY = 1105  # lame's encoder delay (576) and the decoder's (529)
BITRATES = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320]
RATES = {0: 44100, 1: 48000, 2: 32000}


def frames(data):
    out, i = [], 0
    while i + 4 <= len(data) and data[i] == 0xFF and (data[i + 1] & 0xE0) == 0xE0:
        size = 144 * BITRATES[data[i + 2] >> 4] * 1000 // RATES[(data[i + 2] >> 2) & 3] + ((data[i + 2] >> 1) & 1)
        out.append(data[i:i + size])
        i += size
    return out


def main():
    src, dst = sys.argv[1], sys.argv[2]
    with wave.open(src) as w:
        rate = w.getframerate()
        if w.getnchannels() != 1 or w.getsampwidth() != 2:
            sys.exit(f"{src}: mono 16-bit wanted")
        x = np.frombuffer(w.readframes(w.getnframes()), "<i2")
    if len(x) % FRAME:
        sys.exit(f"{src}: {len(x)} samples is not a whole number of {FRAME}-sample frames")
    # The played stream is the kept frames' input delayed by DELAY: turn the loop so
    # playing starts one frame before the loop's own start.
    x = np.roll(x, FRAME - DELAY)
    with tempfile.TemporaryDirectory() as tmp:
        with wave.open(f"{tmp}/three.wav", "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(rate)
            w.writeframes(np.tile(x, 3).tobytes())
        subprocess.run(["lame", "--quiet", "-t", "--nores", "-b", "128", f"{tmp}/three.wav", f"{tmp}/three.mp3"],
                       check=True)
        with open(f"{tmp}/three.mp3", "rb") as f:
            got = frames(f.read())
    n = len(x) // FRAME
    if len(got) < 3 * n:
        sys.exit("lame gave fewer frames than the input holds")
    with open(dst, "wb") as f:
        f.write(b"".join(got[n:2 * n]))


if __name__ == "__main__":
    main()

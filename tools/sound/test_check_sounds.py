#!/usr/bin/python3
"""Faults the sound check must catch, on made-up sounds (fast: no playback).
usage: test_check_sounds.py"""

import os
import sys
import tempfile
import unittest
import wave

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_sounds  # noqa: E402
import measure  # noqa: E402

RATE = 22050


def tone(seconds, freq=440.0, amp=0.3):
    t = np.arange(int(seconds * RATE)) / RATE
    return amp * np.sin(2 * np.pi * freq * t)


class Measure_Test(unittest.TestCase):
    def test_loudness_of_a_reference_tone(self):
        # EBU's own calibration: a 1 kHz sine at -20 dBFS (peak) reads -23 LUFS.
        self.assertAlmostEqual(measure.loudness(tone(5, 1000, 0.1), RATE), -23.0, delta=0.1)
        self.assertAlmostEqual(measure.loudness(tone(5, 1000, 0.2), RATE), -23.0 + 6.02, delta=0.1)

    def test_start_with_a_step_and_a_fade_in(self):
        cos = 0.3 * np.cos(2 * np.pi * 440 * np.arange(RATE) / RATE)  # starts at its peak
        self.assertGreater(measure.start_step(cos, RATE), check_sounds.MAX_START)
        faded = cos.copy()
        n = int(0.005 * RATE)
        faded[:n] *= np.linspace(0, 1, n, endpoint=False) ** 2
        self.assertLessEqual(measure.start_step(faded, RATE), check_sounds.MAX_START)

    def test_late_start_and_rumble(self):
        late = np.concatenate([np.zeros(int(0.04 * RATE)), tone(0.5)])
        self.assertAlmostEqual(measure.onset_ms(late, RATE), 40.0, delta=1.0)
        self.assertLess(measure.onset_ms(tone(0.5), RATE), 1.0)
        self.assertGreater(measure.band_share(tone(1, 40) + tone(1, 400, 0.1), RATE, 0, 60), 0.85)
        self.assertLess(measure.band_share(tone(1, 90) + tone(1, 400, 0.1), RATE, 0, 60), 0.05)

    def test_libsndfile_decodes_what_was_written(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "offset.wav")
            x = tone(0.5) + 0.02
            with wave.open(path, "wb") as w:
                w.setnchannels(1)
                w.setsampwidth(2)
                w.setframerate(RATE)
                w.writeframes(np.round(x * 32767).astype("<i2").tobytes())
            y, rate = measure.decode(path)
        self.assertEqual(rate, RATE)
        self.assertEqual(len(y), len(x))
        self.assertAlmostEqual(float(np.mean(y)), 0.02, delta=0.001)


class Seam_Test(unittest.TestCase):
    def music(self, seconds):
        """A busy loop: chords in eighth notes, nothing quiet for long."""
        rate = 44100
        t = np.arange(int(seconds * rate)) / rate
        pulse = 0.6 + 0.4 * np.abs(np.sin(np.pi * 4 * t))
        return (0.2 * np.sin(2 * np.pi * 220 * t) + 0.1 * np.sin(2 * np.pi * 330 * t)) * pulse, rate

    def test_a_seamless_loop_passes(self):
        loop, rate = self.music(4.0)
        played = np.tile(loop, 2)
        dip, step = check_sounds.seam_dip(played, rate, len(loop))
        self.assertLess(dip, check_sounds.SEAM_DIP_DB)
        self.assertLess(step, check_sounds.SEAM_STEP)

    def test_a_gap_at_the_seam_fails(self):
        loop, rate = self.music(4.0)
        gapped = np.concatenate([loop[:-1105], np.zeros(1105)])  # an MP3's start-up delay
        dip, _ = check_sounds.seam_dip(np.tile(gapped, 2), rate, len(gapped))
        self.assertGreater(dip, check_sounds.SEAM_DIP_DB)

    def test_a_click_at_the_seam_fails(self):
        loop, rate = self.music(4.0)
        cut = loop[: len(loop) - 37]  # ends mid-cycle: the wave jumps at the seam
        cut[-1] = 0.6
        _, step = check_sounds.seam_dip(np.tile(cut, 2), rate, len(cut))
        self.assertGreater(step, check_sounds.SEAM_STEP)


if __name__ == "__main__":
    unittest.main()

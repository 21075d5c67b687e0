#!/usr/bin/python3
"""Can the dragon be understood? A closed-set test of its spoken lines.

    voice_check.py [DRAGON_DIR]          (default: Data/Sound/SoundFX/Dragon)

Each line, decoded as the game decodes it, is given to pocketsphinx with a grammar
that allows exactly the lines of dragon_lines.txt; a line counts as understood when
the recogniser picks its own text. Prints one row per line and the score.
"""
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
import measure  # noqa: E402

MODEL = "/usr/share/pocketsphinx/model/en-us"
# Words the dictionary lacks, spelled in its phones.
EXTRA = {
    "hrrmm": "HH ER M",
    "mmmm": "M M",
    "nooooo": "N OW",
    "getcha": "G EH CH AH",
    "snackie": "S N AE K IY",
    "oooh": "UW",
}


def lines():
    out = []
    with open(os.path.join(here, "dragon_lines.txt")) as f:
        for row in f:
            if row.strip() and not row.startswith("#"):
                name, _, heard = row.rstrip("\n").split("|")
                out.append((name, heard))
    return out


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "Data/Sound/SoundFX/Dragon"
    items = lines()
    words = sorted({w for _, h in items for w in h.split()})
    known = {}
    with open(os.path.join(MODEL, "cmudict-en-us.dict")) as f:
        for row in f:
            w, _, phones = row.strip().partition(" ")
            if w in words and w not in known:
                known[w] = phones
    known.update({w: p for w, p in EXTRA.items() if w in words})
    missing = [w for w in words if w not in known]
    if missing:
        sys.exit(f"no pronunciation for: {' '.join(missing)}")

    with tempfile.TemporaryDirectory() as tmp:
        with open(f"{tmp}/lines.dict", "w") as f:
            for w in words:
                f.write(f"{w} {known[w]}\n")
        with open(f"{tmp}/lines.jsgf", "w") as f:
            f.write("#JSGF V1.0;\ngrammar lines;\npublic <line> = " +
                    " | ".join(f"( {h} )" for _, h in items) + ";\n")
        with open(f"{tmp}/lines.ctl", "w") as ctl:
            for i, (name, _) in enumerate(items):
                x, rate = measure.decode(os.path.join(folder, name))
                n = int(len(x) * 16000 / rate)
                y = np.interp(np.arange(n) * rate / 16000, np.arange(len(x)), x)
                with wave.open(f"{tmp}/{i:02d}.wav", "wb") as w:
                    w.setnchannels(1)
                    w.setsampwidth(2)
                    w.setframerate(16000)
                    w.writeframes(np.clip(np.round(y * 32767), -32767, 32767).astype("<i2").tobytes())
                ctl.write(f"{i:02d}\n")
        subprocess.run(["pocketsphinx_batch", "-hmm", f"{MODEL}/en-us", "-dict", f"{tmp}/lines.dict",
                        "-jsgf", f"{tmp}/lines.jsgf", "-adcin", "yes", "-cepdir", tmp, "-cepext", ".wav",
                        "-ctl", f"{tmp}/lines.ctl", "-hyp", f"{tmp}/out.hyp", "-logfn", "/dev/null"],
                       check=True)
        heard = {}
        with open(f"{tmp}/out.hyp") as f:
            for row in f:
                text, _, rest = row.rstrip().rpartition(" (")
                heard[int(rest.split()[0])] = text.strip()
    score = 0
    for i, (name, want) in enumerate(items):
        got = heard.get(i, "")
        ok = got == want
        score += ok
        print(f"{'ok  ' if ok else 'MISS'} {name:40} heard: {got}")
    print(f"understood: {score}/{len(items)}")


if __name__ == "__main__":
    main()

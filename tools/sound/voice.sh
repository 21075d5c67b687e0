#!/bin/sh
# Speaks a line in the dragon's voice, then an MP3.
#   voice.sh OUT "Words to say" [stretch]
# flite's rms voice, slowed a little, pitched down most of an octave with its formants
# put back (a touch lower: a big throat), roughened by a ring-modulated copy, lightly
# driven and set in a small cave. The pitch shift alone would drag the formants down
# and smear the consonants; a long reverb would smear the rest.
# Deterministic: sox -R everywhere, no noise sources.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$1
text=$2
stretch=${3:-1.15}
PY=/usr/bin/python3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
I="-e signed -b 32"

flite -voice rms --setf duration_stretch="$stretch" -t "$text" -o "$tmp/raw.wav"
# Trim the silence at both ends (reverse to reach the tail).
sox -R "$tmp/raw.wav" $I "$tmp/trim.wav" silence 1 0.01 0.3% reverse silence 1 0.01 0.3% reverse
sox -R "$tmp/trim.wav" $I "$tmp/low.wav" pitch -1000
"$PY" "$here/formant.py" "$tmp/trim.wav" "$tmp/low.wav" "$tmp/throat.wav" 0.88 0.6
sox -R "$tmp/throat.wav" $I -r 22050 "$tmp/cave.wav" gain -8 highpass 60 overdrive 6 0 gain -6 highpass 40 \
    bass +3 100 pad 0 0.25 reverb 30 60 30 50 5 -3 highpass 40
"$PY" "$here/level.py" "$tmp/cave.wav" "$tmp/out.wav" -18
lame --quiet -V 4 "$tmp/out.wav" "$out"

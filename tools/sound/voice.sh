#!/bin/sh
# Speaks a line in the dragon's voice: espeak-ng, pitched down, a sub-octave growl layer,
# overdrive and a cave echo, then an MP3.
#   voice.sh OUT.mp3 "Words to say" [speed [pitch]]
# Deterministic: sox -R everywhere, no noise sources.
set -eu
out=$1
text=$2
speed=${3:-115}
pitch=${4:-20}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
F="-e floating-point -b 32"

espeak-ng -v en-us+Demonic -s "$speed" -p "$pitch" -w "$tmp/raw.wav" "$text"
# Trim the silence at both ends (reverse to reach the tail).
sox -R "$tmp/raw.wav" $F "$tmp/trim.wav" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
# fade cannot follow silence in the same call
sox -R "$tmp/trim.wav" $F "$tmp/fade.wav" fade 0.02 -0 0.06
sox -R "$tmp/fade.wav" $F "$tmp/body.wav" pitch -500 tremolo 28 35
sox -R "$tmp/fade.wav" $F "$tmp/sub.wav" pitch -1200 lowpass 900
sox -R -m -v 0.8 "$tmp/body.wav" -v 0.55 "$tmp/sub.wav" $F "$tmp/mix.wav"
sox -R "$tmp/mix.wav" -b 16 "$tmp/out.wav" gain -6 bass +6 overdrive 14 20 gain -6 pad 0 0.7 \
    reverb 45 50 70 100 12 norm -1
lame --quiet -V 4 "$tmp/out.wav" "$out"

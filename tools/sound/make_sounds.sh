#!/bin/sh
# Regenerates every sound of the game under Data/Sound/ from nothing but espeak-ng, flite,
# sox, lame and numpy. Same output on every run: fixed seeds, sox -R on every call.
#   tools/sound/make_sounds.sh            (from the repository root or anywhere)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fx="$root/Data/Sound/SoundFX"
dragon="$fx/Dragon"
music="$root/Data/Sound/Music"
PY=/usr/bin/python3
mkdir -p "$fx/Springs" "$dragon" "$music"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Loudness (EBU R128) every file is finished to. With the game's volume factors
# (effects 0.4, voice 1.0 at full panic, music 0.3) effects play about 4 LU over the
# music and the dragon 10 LU over it; README has the sums.
EFFECT_LUFS=-16
VOICE_LUFS=-18
level() { "$PY" "$here/level.py" "$@"; }

# --- Effects: synthesised dry, then cleaned (high-pass, no offset, fade-in) and levelled
"$PY" "$here/synth.py" "$tmp"
finish() { # name source [sox effects...]
    name=$1; src=$2; shift 2
    sox -R "$tmp/$src.wav" -e signed -b 32 "$tmp/$src.fin.wav" gain -6 "$@" highpass 30
    level "$tmp/$src.fin.wav" "$fx/$name" $EFFECT_LUFS
}
finish money_jingle.wav money_jingle echo 0.8 0.6 90 0.3
# Rumbles keep their weight above 60 Hz, where small speakers still play it.
finish earthquake.wav earthquake highpass 55 highpass 55
finish wind.wav wind
finish fire.wav fire highpass 70
finish MonsterHit.wav MonsterHit highpass 45
finish spinner.wav spinner
finish BellRing.wav BellRing
finish Springs/fat_bouncy.wav fat_bouncy
finish tick_tock.wav tick_tock
finish Good_tone.wav Good_tone pad 0 0.3 reverb 20 50 40
finish Thunder.wav Thunder highpass 60 highpass 60 pad 0 0.5 reverb 60 50 90
finish vloop.wav vloop
finish Sparkle.wav Sparkle pad 0 0.3 reverb 30 50 50

# --- Cheers: a high, happy voice ------------------------------------------------------
cheer() { # out words pitch-cents bend-shape voice
    espeak-ng -m -v "$5" -w "$tmp/cheer_raw.wav" \
        "<speak><prosody rate=\"70%\" pitch=\"+60%\">$2</prosody></speak>"
    # cut the soft breath before the word too: the cheer starts on its vowel
    sox -R "$tmp/cheer_raw.wav" -e floating-point -b 32 "$tmp/cheer_trim.wav" \
        silence 1 0.005 3% reverse silence 1 0.02 0.5% reverse
    # bend clicks in its first frames: pad before it and trim the pad off after; it also
    # lags by a frame, so the silence it leaves in front goes too
    sox -R "$tmp/cheer_trim.wav" -e floating-point -b 32 "$tmp/cheer_bent.wav" \
        gain -8 pitch "$3" pad 0.1 bend "$4" trim 0.1
    sox -R "$tmp/cheer_bent.wav" -e floating-point -b 32 "$tmp/cheer_start.wav" silence 1 0.002 2%
    sox -R "$tmp/cheer_start.wav" -e floating-point -b 32 "$tmp/$1" fade 0.005 -0 0.05 pad 0 0.3 reverb 25 50 40
}
cheer yehaw.wav "Yee haw!" 400 "0.45,300,0.3" en-us+f4
sox -R "$tmp/yehaw.wav" -e signed -b 32 -r 22050 -c 1 "$tmp/yehaw.fin.wav" highpass 30
level "$tmp/yehaw.fin.wav" "$fx/YEHAW.wav" $EFFECT_LUFS
cheer yeehoo.wav "Yeee hoo!" 300 "0.5,500,0.35" en-us+f2
sox -R "$tmp/yeehoo.wav" -e signed -b 32 -r 22050 -c 1 "$tmp/yeehoo.fin.wav" highpass 30
level "$tmp/yeehoo.fin.wav" "$fx/YEEHOO.wav" $EFFECT_LUFS
cheer c1.wav "Hooray!" 200 "0.3,200,0.3" en-us+f4
cheer c2.wav "Yay! Yay!" -100 "0.2,300,0.2" en-us+m3
cheer c3.wav "Woo hoo!" 500 "0.3,400,0.3" en+f2
cheer c4.wav "Alright!" 0 "0.3,200,0.3" en-us+m1
sox -R -m -v 0.5 "$tmp/c1.wav" -v 0.45 "|sox -R $tmp/c2.wav -p pad 0.25" \
    -v 0.4 "|sox -R $tmp/c3.wav -p pad 0.5" -v 0.4 "|sox -R $tmp/c4.wav -p pad 0.15" \
    -v 0.35 "$tmp/applause.wav" -e signed -b 32 -r 22050 -c 1 "$tmp/cheering.fin.wav" \
    trim 0 2.6 fade 0 -0 0.4 highpass 30
level "$tmp/cheering.fin.wav" "$fx/Cheering.wav" $EFFECT_LUFS

# --- The dragon: spoken lines and wordless noises, all MP3 ----------------------------
# The spoken lines and their texts live in dragon_lines.txt (voice_check.py reads it
# too). Lunch_Time is shipped without an extension: an MP3 all the same, known by its
# content.
grep -v '^#' "$here/dragon_lines.txt" | while IFS='|' read -r file words heard; do
    "$here/voice.sh" "$dragon/$file" "$words"
done
"$here/voice.sh" "$dragon/Laughing.mp3" "Hah hah hah hah hah!" 1.0
"$here/voice.sh" "$dragon/Laughing2.mp3" "Mwa ha ha ha haaa!" 1.1

noise() { # file source [sox effects...]
    out=$1; src=$2; shift 2
    sox -R "$tmp/$src.wav" -e signed -b 32 "$tmp/$src.fin.wav" gain -8 "$@" highpass 40 pad 0 0.3 \
        reverb 30 60 30 50 5 -3 highpass 40
    level "$tmp/$src.fin.wav" "$tmp/$src.lev.wav" $VOICE_LUFS
    lame --quiet -V 4 "$tmp/$src.lev.wav" "$dragon/$out"
}
noise Burp.mp3 dragon_burp
noise Eating.mp3 dragon_eating
noise Breathing.mp3 dragon_breathing
noise Snarling.mp3 dragon_snarling
noise Roar.mp3 dragon_roar bass +3

# --- Music -------------------------------------------------------------------------------
"$PY" "$here/music.py" "$music" "$tmp"
"$PY" "$here/mp3loop.py" "$tmp/zqt_song.wav" "$music/zqt_song.mp3"

echo "Sounds written under $root/Data/Sound ($(du -sh "$root/Data/Sound" | cut -f1))"

#!/bin/sh
# Regenerates every sound of the game under Data/Sound/ from nothing but espeak-ng, sox,
# lame and numpy. Same output on every run: fixed seeds, sox -R on every call.
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

# --- Effects: synthesised dry, then levelled (and some given a room) ---------------
"$PY" "$here/synth.py" "$tmp"
finish() { # name source [sox effects...]
    name=$1; src=$2; shift 2
    sox -R "$tmp/$src.wav" -b 16 -r 22050 -c 1 "$fx/$name" "$@" norm -1
}
finish money_jingle.wav money_jingle echo 0.8 0.6 90 0.3
finish earthquake.wav earthquake
finish wind.wav wind
finish fire.wav fire
finish MonsterHit.wav MonsterHit
finish spinner.wav spinner
finish BellRing.wav BellRing
finish Springs/fat_bouncy.wav fat_bouncy
finish tick_tock.wav tick_tock
finish Good_tone.wav Good_tone reverb 20 50 40
finish Thunder.wav Thunder pad 0 0.5 reverb 60 50 90
finish vloop.wav vloop
finish Sparkle.wav Sparkle reverb 30 50 50

# --- Cheers: a high, happy voice ------------------------------------------------------
cheer() { # out words pitch-cents bend-shape voice
    espeak-ng -m -v "$5" -w "$tmp/cheer_raw.wav" \
        "<speak><prosody rate=\"70%\" pitch=\"+60%\">$2</prosody></speak>"
    sox -R "$tmp/cheer_raw.wav" -e floating-point -b 32 "$tmp/cheer_trim.wav" \
        silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
    # bend clicks in its first frames: pad before it and trim the pad off after
    sox -R "$tmp/cheer_trim.wav" -e floating-point -b 32 "$tmp/$1" \
        gain -8 pitch "$3" pad 0.1 bend "$4" trim 0.1 fade 0.01 -0 0.05 pad 0 0.3 reverb 25 50 40
}
cheer yehaw.wav "Yee haw!" 400 "0.45,300,0.3" en-us+f4
sox -R "$tmp/yehaw.wav" -b 16 -r 22050 -c 1 "$fx/YEHAW.wav" norm -1
cheer yeehoo.wav "Yeee hoo!" 300 "0.5,500,0.35" en-us+f2
sox -R "$tmp/yeehoo.wav" -b 16 -r 22050 -c 1 "$fx/YEEHOO.wav" norm -1
cheer c1.wav "Hooray!" 200 "0.3,200,0.3" en-us+f4
cheer c2.wav "Yay! Yay!" -100 "0.2,300,0.2" en-us+m3
cheer c3.wav "Woo hoo!" 500 "0.3,400,0.3" en+f2
cheer c4.wav "Alright!" 0 "0.3,200,0.3" en-us+m1
sox -R -m -v 0.5 "$tmp/c1.wav" -v 0.45 "|sox -R $tmp/c2.wav -p pad 0.25" \
    -v 0.4 "|sox -R $tmp/c3.wav -p pad 0.5" -v 0.4 "|sox -R $tmp/c4.wav -p pad 0.15" \
    -v 0.35 "$tmp/applause.wav" -b 16 -r 22050 -c 1 "$fx/Cheering.wav" trim 0 2.6 fade 0 -0 0.4 norm -1

# --- The dragon: spoken lines and wordless noises, all MP3 ----------------------------
say() { # file words [speed [pitch]]
    "$here/voice.sh" "$dragon/$1" "$2" ${3:-115} ${4:-20}
}
say Wake_Up.mp3 "Hrrmm... Wake up! Wake up!" 105
say Mmm_Chewy_Nicer.mp3 "Mmmm, chewy. Nicer!"
say Dinners_On_You.mp3 "Dinner's on you!"
say Lunch_Time.mp3 "Lunch time!" 105
say Mmm_Chewy.mp3 "Mmmm, chewy!"
say Laughing.mp3 "Hah hah hah hah hah!" 140
say Laughing2.mp3 "Mwa ha ha ha haaa!" 130 30
say Eh_The_Lil_Bugger_Aint_Worth_It.mp3 "Eh... the little bugger ain't worth it."
say Getting_To_Old_For_This.mp3 "I'm getting too old for this."
say Nooo_Ah_Forget_It.mp3 "Nooooo! Ah, forget it."
say I_See_You_Thief.mp3 "I see you, thief!"
say Im_Gonna_Catch_You_Thief.mp3 "I'm gonna catch you, thief!"
say Im_Gonna_Getcha.mp3 "I'm gonna getcha!"
say Now_Ive_Found_You.mp3 "Now I've found you!"
say Put_That_Down.mp3 "Put that down!"
say There_You_Are_Petty_Rogue.mp3 "There you are, petty rogue!"
say You_Stole_My_Treasure.mp3 "You stole my treasure!"
say Get_Yo_Hands_Off.mp3 "Get yo hands off!"
say I_Bet_That_Hurt.mp3 "I bet that hurt!"
say The_Treasure_Will_Be_Mine_Again.mp3 "The treasure will be mine again!"
say Hey_Come_Back.mp3 "Hey! Come back!"
say Thats_Fast_Food.mp3 "That's fast food!"
say Hey_Snackie.mp3 "Hey, snackie!"
say That_Didnt_Go_Down_Right.mp3 "That didn't go down right."
say Im_Feeling_Queasy.mp3 "I'm feeling queasy."
say Ooh_Cut_That_Out.mp3 "Oooh! Cut that out!"
say Quit_Spinning_Around.mp3 "Quit spinning around!"
say What_The_Crap.mp3 "What the crap?"
say Whered_He_Go.mp3 "Where'd he go?"
say Why_Am_I_So_Slow.mp3 "Why am I so slow?"
# The one line shipped without an extension: an MP3 all the same, known by its content.
mv "$dragon/Lunch_Time.mp3" "$dragon/Lunch_Time"

noise() { # file source [sox effects...]
    out=$1; src=$2; shift 2
    sox -R "$tmp/$src.wav" -b 16 "$tmp/$src.fin.wav" gain -4 "$@" pad 0 0.6 reverb 45 50 70 norm -1
    lame --quiet -V 4 "$tmp/$src.fin.wav" "$dragon/$out"
}
noise Burp.mp3 dragon_burp
noise Eating.mp3 dragon_eating
noise Breathing.mp3 dragon_breathing
noise Snarling.mp3 dragon_snarling
noise Roar.mp3 dragon_roar bass +4

# --- Music -------------------------------------------------------------------------------
"$PY" "$here/music.py" "$music" "$tmp"
lame --quiet -V 4 "$tmp/zqt_song.wav" "$music/zqt_song.mp3"

echo "Sounds written under $root/Data/Sound ($(du -sh "$root/Data/Sound" | cut -f1))"

#!/usr/bin/env bash
# Takes a screenshot of every screen of the real game under Xvfb, into docs/screenshots/:
# loading, team logo, main menu, options, credits run, level complete, cave map, results, high
# scores, intro, play, pause, the dragon's claw and jaws, and the death menu. The README
# shows some of them. Run it again whenever the art or a screen changes.
# Usage: tools/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
set -u
cd "$(dirname "$0")/.."
source tests/e2e/game_driver.bash

BUILD=${1:-build}
OUT=$(mkdir -p "${2:-docs/screenshots}" && cd "${2:-docs/screenshots}" && pwd)

shot() {
  zq_shot "$OUT/$1.png"
  zq_note "$1"
}

# waits until two shots 0.7 s apart agree (the screen holds still), at most $1 s.
wait_still() {
  local deadline=$(( $(date +%s) + $1 ))
  zq_shot "$ZQ_WORK/a.png"
  while [ "$(date +%s)" -lt "$deadline" ]; do
    sleep 0.7
    zq_shot "$ZQ_WORK/b.png"
    [ "$(zq_pixels_differing "$ZQ_WORK/a.png" "$ZQ_WORK/b.png")" -lt 50 ] && return 0
    mv "$ZQ_WORK/b.png" "$ZQ_WORK/a.png"
  done
  return 1
}

# burst DIR COUNT SECONDS: COUNT shots of the window SECONDS apart, by one process (a
# new ImageMagick per shot takes a second or more on a busy machine).
burst() {
  local geometry
  geometry=$(xwininfo -id "$ZQ_WID" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {printf "%d %d %d %d", x, y, x + w, y + h}')
  mkdir -p "$1"
  /usr/bin/python3 - "$1" "$2" "$3" $geometry <<'PYTHON'
import sys
import time
from PIL import ImageGrab

folder, count, gap = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
box = tuple(int(v) for v in sys.argv[4:8])
for i in range(count):
    ImageGrab.grab(bbox=box).save("%s/%03d.png" % (folder, i))
    time.sleep(gap)
PYTHON
}

zq_start "$BUILD" screenshots

# The loading screen stays up at least 7 s; the logo then holds for about a second
# before it fades. Shots every 0.2 s; the logo is the one nearest its picture.
burst "$ZQ_WORK/start" 60 0.2
picks=$(/usr/bin/python3 - "$ZQ_WORK"/start/*.png <<'PYTHON'
import sys
from PIL import Image, ImageChops, ImageStat

def small(path):
    return Image.open(path).convert("RGB").resize((100, 75))

def distance(im, ref):
    return sum(ImageStat.Stat(ImageChops.difference(im, ref)).mean)

logo = small("Data/Images/team_logo.png")
shots = [(path, small(path)) for path in sys.argv[1:]]
# The loading screen: the first shot with something on it that is not the logo.
loading = next((p for p, im in shots if sum(ImageStat.Stat(im).mean) > 30 and distance(im, logo) > 60),
               shots[0][0])
print(loading, min(shots, key=lambda s: distance(s[1], logo))[0])
PYTHON
)
set -- $picks
[ $# -eq 2 ] || zq_fail "no shots of the start"
cp "$1" "$OUT/loading.png"
cp "$2" "$OUT/team_logo.png"
zq_note "loading team_logo"

# advance KEY: presses the key, waits for the screen to change and then to hold still.
advance() {
  zq_shot "$ZQ_WORK/before.png"
  zq_key "$1" 0.3
  local deadline=$(( $(date +%s) + 30 ))
  while [ "$(date +%s)" -lt "$deadline" ]; do
    zq_shot "$ZQ_WORK/after.png"
    [ "$(zq_pixels_differing "$ZQ_WORK/before.png" "$ZQ_WORK/after.png")" -gt 20000 ] && break
    sleep 0.3
  done
  wait_still 30
}

wait_still 60 || zq_fail "the main menu never held still"
shot main_menu
zq_key Right 1.5
shot main_menu_credits
# The options screen, below the other two, and back.
zq_key Down 1.5
zq_key Return 1.5
wait_still 10
shot options
zq_key Escape 1.5
zq_key Right 1.5

# The credits run, walked to its end with the developer key.
zq_key Return 4
shot credits
zq_key w 0.3
zq_wait_for message 30 || zq_fail "no level-complete screen after the credits run"
wait_still 30 # the fog fades from white over 100 slowed frames
shot level_complete
advance Return
# A first Enter only finishes a count-up that is still running.
[ "$(zq_screen_kind "$ZQ_WORK/b.png")" = message ] && advance Return
shot cave_map
advance Return
shot results
advance Return
[ "$(zq_screen_kind "$ZQ_WORK/b.png")" = message ] && advance Return
shot high_scores
advance Return

# Back on the main menu: the story, then level 0.
zq_key Left 1
zq_key Return 5
shot intro
zq_enter_play
sleep 4
shot play
zq_key p 4 # floating texts of the last pickup fade out meanwhile
zq_key Down 1
shot pause
zq_key Up 0.3
zq_key p 1.5

# The catch: a burst of shots from just before the key; the claw is the shot before
# the teeth come in with the most of its red, the jaws the one showing most of both
# the teeth and the world behind them.
burst "$ZQ_WORK/catch" 80 0.02 &
burst_pid=$!
sleep 0.5
zq_key d 0
wait "$burst_pid"
picks=$(/usr/bin/python3 - "$ZQ_WORK"/catch/*.png <<'PYTHON'
import sys
from PIL import Image

def load(path):
    return Image.open(path).convert("RGB").resize((200, 150)).load()

def teeth(px):
    return sum(1 for y in range(0, 20) for x in range(200) if min(px[x, y]) > 215)

def claw(px):
    return sum(1 for y in range(40, 120) for x in range(40, 200)
               if px[x, y][0] > 150 and px[x, y][1] < 90 and px[x, y][2] < 80)

def jaws(px):
    lit = sum(1 for y in range(40, 110) for x in range(200) if max(px[x, y]) > 90)
    return min(teeth(px), 600) * lit

shots = [(path, load(path)) for path in sys.argv[1:]]
before = []
for path, px in shots:
    if teeth(px) > 300:
        break
    before.append((path, px))
print(max(before or shots, key=lambda s: claw(s[1]))[0], max(shots, key=lambda s: jaws(s[1]))[0])
PYTHON
)
set -- $picks
[ $# -eq 2 ] || zq_fail "no shots of the catch"
cp "$1" "$OUT/death_claw.png"
cp "$2" "$OUT/death_jaws.png"
zq_note "death_claw death_jaws"
zq_wait_for death_menu 30 || zq_fail "no death menu"
sleep 3 # the burp; the cursor keeps spinning
shot death_menu
echo "screenshots: ok"

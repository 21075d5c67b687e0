#!/usr/bin/env bash
# Takes the README's screenshots from the real game under Xvfb: the main menu, level 0
# in play and the dragon's jaws closing. Run it again whenever the art changes.
# Usage: tools/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
set -u
cd "$(dirname "$0")/.."
source tests/e2e/game_driver.bash

BUILD=${1:-build}
OUT=$(mkdir -p "${2:-docs/screenshots}" && cd "${2:-docs/screenshots}" && pwd)

zq_start "$BUILD" screenshots

# The main menu is the first screen that holds still: the loading screen spins and the
# logo fades.
deadline=$(( $(date +%s) + 90 ))
zq_shot "$ZQ_WORK/a.png"
while :; do
  [ "$(date +%s)" -lt "$deadline" ] || zq_fail "the main menu never came up"
  sleep 0.7
  zq_shot "$ZQ_WORK/b.png"
  differing=$(zq_pixels_differing "$ZQ_WORK/a.png" "$ZQ_WORK/b.png")
  [ "${differing:-1}" -lt 50 ] && [ "$(zq_screen_kind "$ZQ_WORK/b.png")" = other ] && break
  mv "$ZQ_WORK/b.png" "$ZQ_WORK/a.png"
done
sleep 1
zq_shot "$OUT/main_menu.png"
zq_note "main menu: $OUT/main_menu.png"

# Into level 0 and a few seconds of running.
zq_enter_play
sleep 4
zq_shot "$OUT/in_play.png"
zq_note "in play: $OUT/in_play.png"

# The catch: shots every quarter second until the menu, keeping the one where the
# closing jaws show the most of both the teeth and the world behind them.
before=$(zq_count_out "random: ")
zq_key d 0.1
zq_wait_out "random: " "$before" 10 || zq_fail "d did not bring the dragon in"
mkdir -p "$ZQ_WORK/jaws"
for i in $(seq -w 1 80); do
  zq_shot "$ZQ_WORK/jaws/$i.png"
  [ "$(zq_screen_kind "$ZQ_WORK/jaws/$i.png")" = death_menu ] && { rm "$ZQ_WORK/jaws/$i.png"; break; }
  sleep 0.25
done
best=$(/usr/bin/python3 - "$ZQ_WORK"/jaws/*.png <<'PYTHON'
import sys
from PIL import Image

def score(path):
    im = Image.open(path).convert("RGB").resize((200, 150))
    px = im.load()
    teeth = sum(1 for y in range(0, 20) for x in range(200) if min(px[x, y]) > 215)
    lit = sum(1 for y in range(40, 110) for x in range(200) if max(px[x, y]) > 90)
    return min(teeth, 600) * lit

print(max(sys.argv[1:], key=score))
PYTHON
)
[ -n "$best" ] || zq_fail "no shot of the jaws"
cp "$best" "$OUT/death_jaws.png"
zq_note "jaws: $OUT/death_jaws.png"
echo "screenshots: ok"

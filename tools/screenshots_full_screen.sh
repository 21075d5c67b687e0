#!/usr/bin/env bash
# Screenshots of the game full screen on a 1920x1080 screen (the main menu and play),
# into docs/screenshots/, and the words tesseract reads back from each: the 4:3 picture
# fills the screen's height between black bars, its text as sharp as its size allows.
# Usage: tools/screenshots_full_screen.sh [BUILD_DIR] [OUTPUT_DIR]
set -u
cd "$(dirname "$0")/.."
export ZQ_XVFB_SCREEN=1920x1080
source tests/e2e/game_driver.bash

BUILD=${1:-build}
OUT=$(mkdir -p "${2:-docs/screenshots}" && cd "${2:-docs/screenshots}" && pwd)

zq_start "$BUILD" screenshots_full_screen
zq_wait_for_menus
zq_key F11 1
size=$(xwininfo -id "$ZQ_WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = 1920x1080 ] || zq_fail "full screen is $size, not 1920x1080"
# Past the team logo to the main menu, faded in.
for _ in $(seq 300); do [ "$(zq_screen)" = MainMenuScreen ] && break; sleep 0.2; done
[ "$(zq_screen)" = MainMenuScreen ] || zq_fail "the main menu never came"
sleep 3
zq_shot "$OUT/full_screen_menu.png"
zq_enter_play
sleep 3
zq_shot "$OUT/full_screen_play.png"
for shot in full_screen_menu full_screen_play; do
  # The game's words are light on dark plates or the cave: kept alone, tesseract reads them.
  words=$(convert "$OUT/$shot.png" -colorspace Gray -threshold 70% -negate png:- | tesseract - - 2>/dev/null |
    tr -s ' \n' ' ')
  zq_note "$shot: $(grep -o 'drawing the world at [0-9x]*' "$ZQ_WORK/game.out" | tail -n1 || true); tesseract reads: $words"
done
zq_note "ok"

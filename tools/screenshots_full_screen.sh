#!/usr/bin/env bash
# Screenshots of the game full screen on a 1920x1080 screen (the main menu and play),
# into docs/screenshots/, and the words tesseract reads back from each: the 4:3 picture
# fills the screen's height between black bars, its text as sharp as its size allows.
# Checks on the way that F11 leaves the screen's mode as it was (xrandr), that the bars
# are 240 px each side, and that a second F11 gives back the 800x600 window. Run with
# LD_LIBRARY_PATH leading to sdl12-compat to check that library; with WM=openbox (or
# another) a window manager runs, as sdl12-compat needs one for full screen.
# Usage: tools/screenshots_full_screen.sh [BUILD_DIR] [OUTPUT_DIR]
set -u
cd "$(dirname "$0")/.."
export ZQ_XVFB_SCREEN=1920x1080
source tests/e2e/game_driver.bash

BUILD=${1:-build}
OUT=$(mkdir -p "${2:-docs/screenshots}" && cd "${2:-docs/screenshots}" && pwd)

window_size() { xwininfo -id "$ZQ_WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
# Mean brightness (0..1000) of a region of a screenshot.
brightness() { convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:int(1000*mean)]' info:; }

zq_start "$BUILD" screenshots_full_screen
if [ -n "${WM:-}" ]; then
  "$WM" >/dev/null 2>&1 &
  sleep 1
  # The window manager hands keys to the active window only.
  xdotool windowactivate --sync "$ZQ_WID" 2>/dev/null
fi
zq_wait_for_menus
modes_before=$(xrandr --current 2>&1)
zq_key F11 1
size=$(window_size)
[ "$size" = 1920x1080 ] || zq_fail "full screen is $size, not 1920x1080"
[ "$(xrandr --current 2>&1)" = "$modes_before" ] || zq_fail "F11 changed the screen's mode (xrandr)"
zq_note "F11: 1920x1080 window, xrandr unchanged: $(head -n1 <<<"$modes_before")"
# Past the team logo to the main menu, faded in.
for _ in $(seq 300); do [ "$(zq_screen)" = MainMenuScreen ] && break; sleep 0.2; done
[ "$(zq_screen)" = MainMenuScreen ] || zq_fail "the main menu never came"
sleep 3
zq_shot "$OUT/full_screen_menu.png"
left=$(brightness "$OUT/full_screen_menu.png" 240x1080+0+0)
right=$(brightness "$OUT/full_screen_menu.png" 240x1080+1680+0)
edges=$(brightness "$OUT/full_screen_menu.png" 2x1080+240+0)/$(brightness "$OUT/full_screen_menu.png" 2x1080+1678+0)
[ "$left" -le 1 ] && [ "$right" -le 1 ] || zq_fail "the bars are not black (left $left, right $right)"
[ "${edges%/*}" -ge 20 ] && [ "${edges#*/}" -ge 20 ] || zq_fail "the picture does not start at 240 px (edges $edges)"
zq_note "bars: 240 px each side, brightness $left/$right; the picture's edge columns $edges"
zq_enter_play
sleep 3
zq_shot "$OUT/full_screen_play.png"
zq_key F11 1
size=$(window_size)
[ "$size" = 800x600 ] || zq_fail "a second F11 left a $size window, not the kept 800x600"
zq_note "second F11: the window is 800x600 again"
for shot in full_screen_menu full_screen_play; do
  # The game's words are light on dark plates or the cave: kept alone, tesseract reads them.
  words=$(convert "$OUT/$shot.png" -colorspace Gray -threshold 70% -negate png:- | tesseract - - 2>/dev/null |
    tr -s ' \n' ' ')
  zq_note "$shot: $(grep -o 'drawing the world at [0-9x]*' "$ZQ_WORK/game.out" | tail -n1 || true); tesseract reads: $words"
done
# In play the cave's stones read as letters too; the HUD's label alone is read cleanly.
hud=$(convert "$OUT/full_screen_play.png" -crop 500x120+400+60 +repage -colorspace Gray -threshold 70% -negate png:- |
  tesseract - - --psm 7 2>/dev/null | tr -s ' \n' ' ')
zq_note "full_screen_play, the HUD's label: tesseract reads: $hud"
zq_note "ok"

#!/usr/bin/env bash
# Starts the real game, finds its 800x600 window, takes a screenshot, checks that an
# idle frame loop sleeps instead of spinning, switches to full screen and back with
# F11, resizes the window (the picture follows, with black bars, and the size is
# kept), and ends it with Escape. Then checks that without any display the game says so
# in one line and exits cleanly. With ZQ_SDL=compat it also makes sure the game runs
# on sdl12-compat (LD_LIBRARY_PATH leading to it), not on the original SDL 1.2.
# Usage: tests/e2e/smoke.sh BUILD_DIR [SCREENSHOT.png]
set -u
cd "$(dirname "$0")/../.."
source tests/support/xserver.bash

BUILD=${1:-build}
SHOT=${2:-}
GAME="$BUILD/cavegame"
IDLE_SECONDS=4
MAX_CPU_PERCENT=50

fail() { echo "smoke: FAIL: $*" >&2; exit 1; }
note() { echo "smoke: $*"; }

[ -x "$GAME" ] || fail "$GAME is not built"
for tool in xdotool xwininfo import Xvfb xdpyinfo; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

WORK=$(mktemp -d)
GAME_PID=
cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
  zq_xserver_stop
  rm -rf "$WORK"
}
trap cleanup EXIT
[ -n "$SHOT" ] || SHOT="$WORK/smoke.png"
# The game's settings go here, never to the real ~/.config.
export XDG_CONFIG_HOME="$WORK/config"

# --- No display: one line on standard error, a non-zero status, no crash.
env -u DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy timeout 20 "$GAME" \
  >"$WORK/nodisplay.out" 2>"$WORK/nodisplay.err" </dev/null
status=$?
[ "$status" -ne 0 ] || fail "without a display the game exited with status 0"
[ "$status" -ne 124 ] || fail "without a display the game hung"
[ "$status" -lt 128 ] || fail "without a display the game died of a signal (status $status)"
lines=$(grep -c "Could not" "$WORK/nodisplay.err")
[ "$lines" -eq 1 ] || { cat "$WORK/nodisplay.err" >&2; fail "expected one line about the missing display, got $lines"; }
note "no display: status $status, '$(grep "Could not" "$WORK/nodisplay.err")'"

# --- A display: our own Xvfb unless one is given.
zq_xserver_start || fail "no X display"

# Mesa's software rasteriser threads wait for work actively; drawing on the game's
# own thread keeps the CPU figure about the game, not about the rasteriser.
SDL_AUDIODRIVER=dummy "$GAME" >"$WORK/game.out" 2>"$WORK/game.err" </dev/null &
GAME_PID=$!

wid=$(timeout 60 xdotool search --sync --onlyvisible --name '^Zoomquest!$' 2>/dev/null | head -n1)
[ -n "$wid" ] || { cat "$WORK/game.err" >&2; fail "no window named Zoomquest! within 60 s"; }
# SDL may replace its first window while setting up GL; take the one that stays.
sleep 1
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zoomquest!$' 2>/dev/null | tail -n1)
[ -n "$wid" ] || fail "the Zoomquest! window went away"
geometry=$(xwininfo -id "$wid")
width=$(awk '/Width:/ {print $2}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
[ "$width" = 800 ] && [ "$height" = 600 ] || fail "window is ${width}x${height}, not 800x600"
note "window $wid: ${width}x${height}"
win_x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry"); win_y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
# sdl12-compat's library carries its own version, 1.2.x; the original's file is 0.11.x.
sdl_file=$(grep -o '/[^ ]*libSDL-1\.2\.so[^ ]*' "/proc/$GAME_PID/maps" | head -n1)
case "$sdl_file" in */libSDL-1.2.so.1.2.*) sdl=compat ;; *) sdl=original ;; esac
note "SDL 1.2 in use: $sdl ($sdl_file)"
[ "${ZQ_SDL:-$sdl}" = "$sdl" ] || fail "expected the game to run on ${ZQ_SDL} SDL, it runs on the $sdl one"

# Past the loading screen (it stays up 7 s) to the menus, then let it idle.
sleep 9
kill -0 "$GAME_PID" 2>/dev/null || { cat "$WORK/game.err" >&2; fail "the game ended by itself"; }
ticks=$(getconf CLK_TCK)
# The frame loop runs on the main thread; Mesa's software renderer fills pixels on
# threads of its own, whose cost depends on the picture and the machine, not on
# whether the loop sleeps. A loop that spun would keep the main thread at 100%.
cpu_ticks() { awk '{print $14 + $15}' "$1"; }
before=$(cpu_ticks "/proc/$GAME_PID/task/$GAME_PID/stat"); before_all=$(cpu_ticks "/proc/$GAME_PID/stat")
sleep "$IDLE_SECONDS"
after=$(cpu_ticks "/proc/$GAME_PID/task/$GAME_PID/stat"); after_all=$(cpu_ticks "/proc/$GAME_PID/stat")
percent=$(( (after - before) * 100 / (ticks * IDLE_SECONDS) ))
percent_all=$(( (after_all - before_all) * 100 / (ticks * IDLE_SECONDS) ))
note "CPU while idle: main loop ${percent}% of a core, with the renderer's threads ${percent_all}%"
grep -q "^FPS: " "$WORK/game.out" && note "frame-rate warnings: $(grep -c '^FPS: ' "$WORK/game.out")"

import -window root "$SHOT" || fail "screenshot failed"
note "screenshot: $SHOT"
[ "$percent" -lt "$MAX_CPU_PERCENT" ] || fail "idle frame loop uses ${percent}% of a core"
# The menu is a lit cave; a black or near-black window means nothing was drawn.
brightness() { convert "$1" -crop "$2" -colorspace Gray -format '%[fx:int(mean*1000)]' info:; }
# A slow machine may still be fading in from the team logo: a few more looks.
for _ in $(seq 10); do
  lit=$(brightness "$SHOT" "800x600+$win_x+$win_y")
  [ "$lit" -ge 60 ] && break
  sleep 1; import -window root "$SHOT"
done
note "window brightness: $lit/1000"
[ "$lit" -ge 60 ] || fail "the window is dark (brightness $lit/1000)"

# --- F11: full screen, then back to the window, the game running and drawing throughout.
root_size=$(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
# Viewable top-level windows as large as the whole screen.
full_screen_windows() {
  xwininfo -root -children | awk '/^ +0x/ {print $1}' | while read -r id; do
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    grep -q 'Map State: IsViewable' <<<"$info" || continue
    size=$(awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}' <<<"$info")
    [ "$size" = "$root_size" ] && echo "$id"
  done
}
[ -z "$(full_screen_windows)" ] || fail "a full-screen window is up before F11"
# SDL 1.2 makes its own full-screen window; sdl12-compat (SDL2) asks the window
# manager, and a bare X server has none, so there only the rest is checked.
wm=yes; xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || wm=no
xdotool windowfocus "$wid" 2>/dev/null
xdotool key --clearmodifiers F11
for _ in $(seq 50); do [ -n "$(full_screen_windows)" ] && break; sleep 0.1; done
if [ -z "$(full_screen_windows)" ]; then
  [ "$sdl" = compat ] && [ "$wm" = no ] || fail "F11 did not fill the $root_size screen"
  grep -q '^fullscreen = on' "$XDG_CONFIG_HOME/zoomquest/settings" 2>/dev/null ||
    fail "after F11 the game does not count itself full screen"
  note "F11: no window manager to give sdl12-compat the whole screen; the game counts itself full screen"
fi
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || { cat "$WORK/game.err" >&2; fail "the game ended on F11"; }
import -window root "$WORK/full.png" || fail "full-screen screenshot failed"
lit=$(brightness "$WORK/full.png" "$root_size+0+0")
[ "$lit" -ge 40 ] || fail "the full screen is dark (brightness $lit/1000)"
# The picture fills the screen, not just an 800x600 corner of it (the screen is 4:3).
if [ -n "$(full_screen_windows)" ]; then
  corner=$(brightness "$WORK/full.png" "$(( ${root_size%x*} - 800 ))x$(( ${root_size#*x} - 600 ))+800+600")
  [ "$corner" -ge 40 ] || fail "full screen leaves the corner past 800x600 dark (brightness $corner/1000)"
fi
note "F11: full screen, the $root_size screen's brightness $lit/1000"
xdotool key --clearmodifiers F11
for _ in $(seq 50); do [ -z "$(full_screen_windows)" ] && break; sleep 0.1; done
[ -z "$(full_screen_windows)" ] || fail "a second F11 did not leave full screen"
for _ in $(seq 30); do grep -q '^fullscreen = off' "$XDG_CONFIG_HOME/zoomquest/settings" 2>/dev/null && break; sleep 0.1; done
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || { cat "$WORK/game.err" >&2; fail "the game ended on the second F11"; }
wid=$(timeout 10 xdotool search --onlyvisible --name '^Zoomquest!$' 2>/dev/null | tail -n1)
[ -n "$wid" ] || fail "no Zoomquest! window after leaving full screen"
geometry=$(xwininfo -id "$wid")
size=$(awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}' <<<"$geometry")
[ "$size" = 800x600 ] || fail "back from full screen the window is $size"
import -window root "$WORK/back.png" || fail "screenshot after F11 failed"
x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry"); y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
lit=$(brightness "$WORK/back.png" "800x600+$x+$y")
[ "$lit" -ge 60 ] || fail "back in the window the picture is dark (brightness $lit/1000)"
grep -q '^fullscreen = off' "$XDG_CONFIG_HOME/zoomquest/settings" 2>/dev/null ||
  fail "the settings file does not say full screen is off again"
note "second F11: window $size, brightness $lit/1000, settings kept"

# --- A wider window: the picture is as high as the window and centred, black beside it.
xdotool windowsize "$wid" 1000 600
for _ in $(seq 50); do grep -q '^window = 1000x600' "$XDG_CONFIG_HOME/zoomquest/settings" 2>/dev/null && break; sleep 0.1; done
grep -q '^window = 1000x600' "$XDG_CONFIG_HOME/zoomquest/settings" 2>/dev/null ||
  fail "the resized window's size is not kept in the settings file"
sleep 1.5
import -window root "$WORK/wide.png" || fail "screenshot of the wide window failed"
bar_left=$(brightness "$WORK/wide.png" "100x600+$x+$y")
bar_right=$(brightness "$WORK/wide.png" "100x600+$((x + 900))+$y")
lit=$(brightness "$WORK/wide.png" "800x600+$((x + 100))+$y")
[ "$bar_left" -le 2 ] && [ "$bar_right" -le 2 ] ||
  fail "beside the picture the 1000x600 window is not black (left $bar_left/1000, right $bar_right/1000)"
[ "$lit" -ge 60 ] || fail "the picture in the 1000x600 window is dark (brightness $lit/1000)"
note "window resized to 1000x600: picture centred (brightness $lit/1000), bars black, size kept"

# Escape on the main menu quits (the team logo before it ignores it, and a slow
# machine may still show the logo), so press it once a second until the game ends.
xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
for second in $(seq 20); do
  xdotool key --clearmodifiers Escape
  for _ in $(seq 10); do kill -0 "$GAME_PID" 2>/dev/null || break 2; sleep 0.1; done
done
if kill -0 "$GAME_PID" 2>/dev/null; then
  fail "the game did not end within 20 s of pressing Escape"
fi
wait "$GAME_PID"
status=$?
GAME_PID=
[ "$status" -eq 0 ] || { cat "$WORK/game.err" >&2; fail "the game exited with status $status"; }
note "ended by Escape (pressed $second time(s)) with status 0"

# Escape while the images load ends the program at once, cleanly.
LP_NUM_THREADS=0 SDL_AUDIODRIVER=dummy "$GAME" >"$WORK/load.out" 2>"$WORK/load.err" </dev/null &
GAME_PID=$!
wid=$(timeout 60 xdotool search --sync --onlyvisible --name '^Zoomquest!$' 2>/dev/null | tail -n1)
[ -n "$wid" ] || fail "no window for the loading-screen run"
xdotool windowfocus "$wid" 2>/dev/null
xdotool key --clearmodifiers Escape
for _ in $(seq 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$GAME_PID" 2>/dev/null && fail "Escape on the loading screen did not end the game within 5 s"
wait "$GAME_PID"
status=$?
GAME_PID=
[ "$status" -eq 0 ] || { cat "$WORK/load.err" >&2; fail "quitting while loading gave status $status"; }
note "Escape while loading: status 0"
echo "smoke: ok"

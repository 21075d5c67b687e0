#!/usr/bin/env bash
# Starts the real game, finds its 800x600 window, takes a screenshot, checks that an
# idle frame loop sleeps instead of spinning, and ends it with Escape. Then checks
# that without any display the game says so in one line and exits cleanly.
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

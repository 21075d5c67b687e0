# Shared by the end-to-end scripts: runs the real game in a scratch folder holding a
# copy of Data/ (so the shipped high score table is never written), under its own Xvfb
# unless a display is given, and drives it with xdotool.
# Source it, then call zq_start BUILD_DIR NAME.

ZQ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ZQ_ROOT/tests/support/xserver.bash"
ZQ_WORK=
ZQ_GAME_PID=
ZQ_WID=
ZQ_GAME=
ZQ_NAME=e2e

zq_fail() { echo "$ZQ_NAME: FAIL: $*" >&2; zq_dump_output; exit 1; }
zq_note() { echo "$ZQ_NAME: $*"; }

zq_dump_output() {
  [ -n "$ZQ_WORK" ] || return 0
  if [ -s "$ZQ_WORK/game.err" ]; then echo "--- game stderr (last lines)" >&2; tail -n 15 "$ZQ_WORK/game.err" >&2; fi
  if [ -s "$ZQ_WORK/game.out" ]; then echo "--- game stdout (last lines)" >&2; tail -n 15 "$ZQ_WORK/game.out" >&2; fi
}

# SIGTERM ends the game cleanly; one stuck for 2 s is killed.
zq_stop_game() {
  [ -n "$ZQ_GAME_PID" ] || return 0
  kill "$ZQ_GAME_PID" 2>/dev/null
  for _ in $(seq 20); do zq_alive || break; sleep 0.1; done
  zq_alive && kill -9 "$ZQ_GAME_PID" 2>/dev/null
  wait "$ZQ_GAME_PID" 2>/dev/null
  ZQ_GAME_PID=
}

zq_cleanup() {
  [ -n "${ZQ_KEEP_OUTPUT:-}" ] && [ -n "$ZQ_WORK" ] && cp "$ZQ_WORK/game.out" "$ZQ_WORK/game.err" "$ZQ_KEEP_OUTPUT/" 2>/dev/null
  zq_stop_game
  zq_xserver_stop
  [ -n "$ZQ_WORK" ] && rm -rf "$ZQ_WORK"
}

# zq_start BUILD_DIR NAME: copies the data, starts the display and the game, waits for
# its window.
zq_start() {
  local build=$1
  ZQ_NAME=$2
  local game
  game=$(cd "$ZQ_ROOT" && realpath -e "$build/cavegame" 2>/dev/null) || zq_fail "$build/cavegame is not built"
  ZQ_GAME=$game
  for tool in xdotool xwininfo import compare Xvfb xdpyinfo; do
    command -v "$tool" >/dev/null || zq_fail "$tool is not installed"
  done
  trap zq_cleanup EXIT

  [ -n "$ZQ_WORK" ] && rm -rf "$ZQ_WORK"
  ZQ_WORK=$(mktemp -d)
  cp -r "$ZQ_ROOT/Data" "$ZQ_WORK/Data" || zq_fail "could not copy Data/"

  zq_xserver_start || zq_fail "no X display"

  # Settings go to the run's own folder (or ZQ_CONFIG, for a script that starts the game
  # again), never to the real ~/.config; the game tells
  # which screen it shows in its trace.
  (cd "$ZQ_WORK" && exec env SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} XDG_CONFIG_HOME="${ZQ_CONFIG:-$ZQ_WORK/config}" \
      ZQ_TRACE="$ZQ_WORK/trace" "$game" >"$ZQ_WORK/game.out" 2>"$ZQ_WORK/game.err" </dev/null) &
  ZQ_GAME_PID=$!
  ZQ_WID=$(timeout 60 xdotool search --sync --onlyvisible --name '^Zoomquest!$' 2>/dev/null | head -n1)
  [ -n "$ZQ_WID" ] || zq_fail "no window named Zoomquest! within 60 s"
  xdotool windowfocus --sync "$ZQ_WID" 2>/dev/null || xdotool windowfocus "$ZQ_WID" 2>/dev/null
  zq_note "game $ZQ_GAME_PID, window $ZQ_WID, working folder $ZQ_WORK"
}

zq_alive() { kill -0 "$ZQ_GAME_PID" 2>/dev/null; }

# One key press. The game takes one input event a frame (a press and a release are two),
# so presses are kept apart.
zq_key() {
  zq_alive || zq_fail "the game ended unexpectedly"
  xdotool key --clearmodifiers "$1"
  sleep "${2:-0.15}"
}

# The number of lines of standard output that contain the text.
zq_count_out() { grep -c -F -- "$1" "$ZQ_WORK/game.out" 2>/dev/null || true; }

# zq_wait_out TEXT BEFORE SECONDS: waits until more than BEFORE lines contain TEXT.
zq_wait_out() {
  local deadline=$(( $(date +%s%N) + ${3%.*} * 1000000000 ))
  while [ "$(zq_count_out "$1")" -le "$2" ]; do
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# zq_wait_quiet TEXT SECONDS CAP: waits until no new line with TEXT came for SECONDS
# (at most CAP seconds in all).
zq_wait_quiet() {
  local last count same=0 waited=0
  last=$(zq_count_out "$1")
  while [ "$waited" -lt $(( $3 * 10 )) ]; do
    sleep 0.1
    waited=$((waited + 1))
    count=$(zq_count_out "$1")
    if [ "$count" -eq "$last" ]; then
      same=$((same + 1))
      [ "$same" -ge $(( $2 * 10 )) ] && return 0
    else
      same=0
      last=$count
    fi
  done
}

# The screen the game shows, from the last screen change in its trace: a Game_State
# screen name, or "none" (loading, or play).
zq_screen() {
  awk '$1 == "screen" { s = $2 } END { print (s == "" || s == "play") ? "none" : s }' \
    "$ZQ_WORK/trace" 2>/dev/null || echo none
}

# Waits for the game's progress, not for a time: the loading screen stays up at least
# 7 s and keys pressed before it ends are not read, so this waits for the first screen
# (the team logo) to be current. The cap only catches a game that is stuck.
zq_wait_for_menus() {
  local deadline=$(( $(date +%s) + ${1:-300} )) screen
  while :; do
    zq_alive || zq_fail "the game ended while loading"
    screen=$(zq_screen)
    [ -n "$screen" ] && [ "$screen" != none ] && return 0
    [ "$(date +%s)" -lt "$deadline" ] || zq_fail "still loading after ${1:-300} s"
    sleep 0.2
  done
}

# From the logo or the main menu into level 0: Enter until no screen is current (play).
# The intro starts the level on the first Enter once its last line is up, and play
# ignores Enter. However slow the frames, each Enter that lands moves a screen on.
zq_enter_play() {
  local presses=0 screen
  while :; do
    screen=$(zq_screen)
    [ "$screen" = none ] && return 0
    presses=$((presses + 1))
    [ "$presses" -le 60 ] || zq_fail "60 presses of Enter did not lead into play (still on $screen)"
    zq_key Return 0.3
  done
}

zq_shot() {
  local geometry
  geometry=$(xwininfo -id "$ZQ_WID" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {printf "%dx%d+%d+%d", w, h, x, y}')
  import -window root -crop "$geometry" +repage "$1" 2>/dev/null || zq_fail "screenshot failed"
}

# What a screenshot shows: "message" for the screens that stand on a plain background
# with yellow lines near the top and the bottom (level complete, results), "death_menu"
# for the menu in the dragon's jaws ("You got dragon snacked!" in pale yellow above
# the middle), "other" for anything else.
zq_screen_kind() {
  /usr/bin/python3 - "$1" <<'PYTHON'
import sys
from collections import Counter
from PIL import Image

im = Image.open(sys.argv[1]).convert("RGB")
w, h = im.size

def count(top, bottom, test):
    n = 0
    for y in range(int(top * h), int(bottom * h)):
        for x in range(0, w, 2):
            if test(*im.getpixel((x, y))):
                n += 1
    return n

yellow = lambda r, g, b: r > 180 and g > 160 and b < 110
pale_yellow = lambda r, g, b: r > 230 and g > 230 and 80 < b < 170
_, most = Counter(im.resize((200, 150)).getdata()).most_common(1)[0]
if most / (200 * 150) > 0.6 and count(0.12, 0.18, yellow) > 100 and count(0.80, 0.86, yellow) > 100:
    print("message")
elif count(0.28, 0.37, pale_yellow) > 300:
    print("death_menu")
else:
    print("other")
PYTHON
}

# zq_wait_for KIND SECONDS: waits until a screenshot is of that kind ("other" waits for
# the screen to be none of the known ones).
zq_wait_for() {
  local deadline=$(( $(date +%s) + $2 ))
  while [ "$(date +%s)" -lt "$deadline" ]; do
    zq_shot "$ZQ_WORK/probe.png"
    [ "$(zq_screen_kind "$ZQ_WORK/probe.png")" = "$1" ] && return 0
    sleep 0.3
  done
  return 1
}

# Number of differing pixels of two screenshots.
zq_pixels_differing() {
  compare -metric AE "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

# Entries of a high score table: the numbers before the first "E".
zq_score_entries() {
  sed 's/E.*//' "$1" | tr -s ' \t\r\n' '\n' | grep -c '^[0-9][0-9]*$' || true
}

# Ends the game from the main menu (Escape there quits) and checks a clean exit.
zq_quit_from_main_menu() {
  local screen deadline=$(( $(date +%s) + 60 ))
  # Slow frames: the menu may still be on its way.
  while screen=$(zq_screen) && [ "$screen" != MainMenuScreen ] && [ "$(date +%s)" -lt "$deadline" ]; do
    zq_alive || break
    sleep 0.2
  done
  zq_key Escape 0.2
  for _ in $(seq 300); do zq_alive || break; sleep 0.1; done
  if zq_alive; then
    zq_stop_game
    zq_fail "the game did not end on Escape: it was not on the main menu"
  fi
  wait "$ZQ_GAME_PID"
  local status=$?
  ZQ_GAME_PID=
  [ "$status" -eq 0 ] || zq_fail "the game exited with status $status"
}

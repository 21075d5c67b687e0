#!/usr/bin/env bash
# Plays the real game under a private Xvfb and saves screenshots of the
# loading screen, the team logo, the main menu, play and the death jaws,
# for looking at the art in place.  Usage: screenshots.sh BUILD_DIR OUT_DIR
set -u
BUILD=${1:-build}
OUT=${2:-/tmp/zq_shots}
cd "$(dirname "$0")/../.."
mkdir -p "$OUT"
source tests/support/xserver.bash
unset DISPLAY # its own server, so the shots show the game alone
GAME_PID=
trap '[ -n "$GAME_PID" ] && kill $GAME_PID 2>/dev/null; zq_xserver_stop' EXIT
zq_xserver_start || exit 1
# Settings go to the output folder, never to the real ~/.config.
SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$OUT/config" "$BUILD/cavegame" >"$OUT/game.out" 2>"$OUT/game.err" </dev/null &
GAME_PID=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zoomquest!$' | head -n1)
[ -n "$wid" ] || { echo "no game window"; exit 1; }
shot() { import -window "$wid" "$OUT/$1.png"; }
key() { xdotool key --window "$wid" "$1"; }
sleep 2; shot 1_loading
sleep 6.5; shot 2_team_logo
key Return; sleep 1.5; shot 3_menu
key Return; sleep 1; shot 4_intro
for _ in 1 2 3 4 5 6; do key Return; sleep 0.5; done
sleep 3; shot 5_play_start
sleep 4; shot 6_play
sleep 4; shot 7_play_later
key d; sleep 0.9; shot 8_claw
sleep 1.2; shot 9_jaws
sleep 2; shot 10_death_menu

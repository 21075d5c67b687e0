#!/usr/bin/env bash
# A player opens OPTIONS from the main menu, changes every line (volumes, full screen,
# steering, the four keys, flashing, speed), leaves and quits; the settings file holds
# each choice. The game started again finds them: one more change there leaves every
# other line as it was, and nothing is said about the file.
# Usage: tests/e2e/options.sh BUILD_DIR
set -u
source "$(dirname "$0")/game_driver.bash"

BUILD=${1:-build}
CONFIG=$(mktemp -d)
export ZQ_CONFIG=$CONFIG
SETTINGS=$CONFIG/zoomquest/settings

to_screen() {
  local tries=0
  while [ "$(zq_screen)" != "$1" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 40 ] || zq_fail "never reached $1 (on $(zq_screen))"
    zq_key "$2" 0.3
  done
}

open_options() {
  zq_wait_for_menus
  to_screen MainMenuScreen Return
  zq_key Down 0.3
  zq_key Return 0.5
  [ "$(zq_screen)" = OptionsScreen ] || zq_fail "Down and Enter on the main menu did not open the options"
}

expect_lines() {
  local line
  for line in "$@"; do
    grep -qxF -- "$line" "$SETTINGS" || { cat "$SETTINGS" >&2; zq_fail "the settings file lacks \"$line\""; }
  done
}

zq_start "$BUILD" options
trap 'zq_cleanup; rm -rf "$CONFIG"' EXIT
open_options
zq_key Left            # music
zq_key Down; zq_key Left # effects
zq_key Down; zq_key Return # full screen
zq_key Down; zq_key Return # steering
for key in a l j q; do      # left, right, jump, pause
  zq_key Down; zq_key Return; zq_key "$key"
done
zq_key Down                 # past the reset, which would undo the keys
zq_key Down; zq_key Return  # flashing
zq_key Down; zq_key Left; zq_key Left; zq_key Left # speed, to 70%
zq_key Escape 0.5
to_screen MainMenuScreen Escape
zq_quit_from_main_menu
CHOSEN=("music = 0.9" "effects = 0.9" "fullscreen = on" "steering = mouse" "left = a" "right = l"
  "jump = j" "pause = q" "flashing = reduced")
expect_lines "${CHOSEN[@]}" "speed = 70%"
zq_note "every choice written"

zq_start "$BUILD" options
trap 'zq_cleanup; rm -rf "$CONFIG"' EXIT
open_options
for _ in $(seq 10); do zq_key Down; done
zq_key Right                # speed, to 80%
zq_key Escape 0.5
to_screen MainMenuScreen Escape
zq_quit_from_main_menu
expect_lines "${CHOSEN[@]}" "speed = 80%"
! grep -q "Settings:" "$ZQ_WORK/game.err" || { cat "$ZQ_WORK/game.err" >&2; zq_fail "the game complained about its settings"; }
zq_note "every choice kept after a restart"

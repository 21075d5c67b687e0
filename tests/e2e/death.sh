#!/usr/bin/env bash
# The dragon catches the runner (developer key d): the claw and the jaws play out, the
# death menu comes up, "Continue from last checkpoint" puts the runner back in play,
# where a second catch works the same; "Quit" leads to the main menu, and Escape there
# ends the game cleanly.
# Usage: tests/e2e/death.sh BUILD_DIR
set -u
source "$(dirname "$0")/game_driver.bash"

BUILD=${1:-build}
# A catch sends the dragon's claw in, and the first attack of a level speaks.
CLAW_LINE="random: "

zq_start "$BUILD" death
zq_wait_for_menus
zq_enter_play

# d only works in play; until it does, Enter leads on through the menus and the story.
catch() {
  local tries=0 before
  while :; do
    tries=$((tries + 1))
    [ "$tries" -le 8 ] || zq_fail "d never brought the dragon in"
    before=$(zq_count_out "$CLAW_LINE")
    zq_key d 0.2
    zq_wait_out "$CLAW_LINE" "$before" 5 && return 0
    zq_key Return 0.5
  done
}

catch
zq_note "caught"
# No key is read before the menu: Enter during the claw and the jaws changes nothing.
zq_key Return 0.2
zq_wait_for death_menu 60 || zq_fail "no death menu after the catch"
zq_shot "$ZQ_WORK/death_menu.png"
zq_note "death menu up"

# The cursor starts on "Continue from last checkpoint".
zq_key Return 1.0
zq_wait_for other 30 || zq_fail "the death menu stayed after Enter"
sleep 1
zq_alive || zq_fail "the game ended after continuing"
zq_shot "$ZQ_WORK/continued.png"
differing=$(zq_pixels_differing "$ZQ_WORK/death_menu.png" "$ZQ_WORK/continued.png")
[ "${differing:-0}" -gt 50000 ] || zq_fail "the screen barely changed after continuing ($differing pixels)"
zq_note "back in play ($differing pixels changed)"

# Play really resumed: a second catch brings the claw and the menu again.
catch
zq_wait_for death_menu 60 || zq_fail "no death menu after the second catch"
zq_key Down 0.3          # "Quit"
zq_key Return 0.5
zq_wait_for other 30 || zq_fail "the death menu stayed after Quit"
sleep 0.5
zq_quit_from_main_menu
echo "death: ok"

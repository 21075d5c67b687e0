#!/usr/bin/env bash
# Ctrl+C (SIGINT) and kill or a logout (SIGTERM) end the game cleanly with status 0,
# wherever it is: on the loading screen, on the main menu, in play and on the pause
# menu. The high score table is left as it was.
# Usage: tests/e2e/signals.sh BUILD_DIR
set -u
source "$(dirname "$0")/game_driver.bash"

BUILD=${1:-build}

# ends_on SIGNAL WHERE: the signal ends the game, status 0, table unchanged.
ends_on() {
  local table="$ZQ_WORK/Data/Score/highscores.txt" status
  cp "$table" "$ZQ_WORK/table.before"
  kill -s "$1" "$ZQ_GAME_PID"
  # A frame or two is all it takes; the cap only catches a game that ignores it.
  for _ in $(seq 600); do zq_alive || break; sleep 0.1; done
  if zq_alive; then
    kill -9 "$ZQ_GAME_PID"
    zq_fail "SIG$1 $2 did not end the game within 60 s"
  fi
  wait "$ZQ_GAME_PID"
  status=$?
  ZQ_GAME_PID=
  [ "$status" -eq 0 ] || zq_fail "SIG$1 $2: exit status $status"
  cmp -s "$table" "$ZQ_WORK/table.before" || zq_fail "SIG$1 $2 changed the high score table"
  zq_note "SIG$1 $2: status 0"
}

zq_start "$BUILD" signals
ends_on TERM "while loading"

zq_start "$BUILD" signals
zq_wait_for_menus
zq_key Return 0.3
[ "$(zq_screen)" = MainMenuScreen ] || zq_note "(on $(zq_screen), not the main menu)"
ends_on INT "on the main menu"

zq_start "$BUILD" signals
zq_wait_for_menus
zq_enter_play
ends_on INT "in play"

zq_start "$BUILD" signals
zq_wait_for_menus
zq_enter_play
zq_key p 0.3
for _ in $(seq 100); do [ "$(zq_screen)" = PauseScreen ] && break; sleep 0.2; done
[ "$(zq_screen)" = PauseScreen ] || zq_fail "p did not open the pause menu"
ends_on TERM "on the pause menu"
echo "signals: ok"

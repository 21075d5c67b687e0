#!/usr/bin/env bash
# Plays the whole game as a player in a hurry would: logo, main menu, the story, all
# eight levels (the developer key w ends each one; Enter through the level-complete and
# cave-map screens), the results and the high score table, back to the main menu.
# The high score table (a copy of the shipped one) must gain exactly one entry.
# Usage: tests/e2e/play_through.sh BUILD_DIR
set -u
source "$(dirname "$0")/game_driver.bash"

BUILD=${1:-build}
RESULTS_LINE="Eh_The_Lil_Bugger_Aint_Worth_It.mp3"
MAX_ROUNDS=30

zq_start "$BUILD" play_through
TABLE="$ZQ_WORK/Data/Score/highscores.txt"
cp "$TABLE" "$ZQ_WORK/table.before"
entries_before=$(zq_score_entries "$TABLE")

zq_wait_for_menus
zq_enter_play

# One round per level: w puts the runner at the end of the level; once the
# level-complete screen is up, Enter finishes its count-up (or is already past it) and
# Enter again leads on through the cave map. Whatever screen a round ends on, the next
# one picks up from there, so slow frames never derail the run; the results screen's
# voice line tells when the last level is behind.
rounds=0
levels_ended=0
while [ "$(zq_count_out "$RESULTS_LINE")" -eq 0 ]; do
  rounds=$((rounds + 1))
  [ "$rounds" -le "$MAX_ROUNDS" ] || zq_fail "no results screen after $MAX_ROUNDS rounds of w and Enter"
  zq_key w 0.3
  if zq_wait_for message 20; then
    levels_ended=$((levels_ended + 1))
    for _ in 1 2 3; do
      zq_key Return 0.6
      [ "$(zq_count_out "$RESULTS_LINE")" -eq 0 ] || break
    done
    # Slow frames: let the screen go before the next w, so no level counts twice.
    [ "$(zq_count_out "$RESULTS_LINE")" -eq 0 ] && zq_wait_for other 15
  else
    zq_key Return 0.5     # still on a menu or the story
  fi
done
zq_note "results screen after $rounds rounds, $levels_ended of them ending a level"
[ "$levels_ended" -eq 8 ] || zq_fail "$levels_ended levels were ended with w, not 8"

# Results: the first Enter may only finish the count-up. The table is written on the
# first frame of the high score screen.
for _ in 1 2 3 4; do
  cmp -s "$TABLE" "$ZQ_WORK/table.before" || break
  zq_key Return 0.6
done
cmp -s "$TABLE" "$ZQ_WORK/table.before" && zq_fail "the high score table was never written"
sleep 0.5
[ "$(zq_count_out "$RESULTS_LINE")" -eq 1 ] ||
  zq_fail "the results voice line was asked for $(zq_count_out "$RESULTS_LINE") times, not once"

entries_after=$(zq_score_entries "$TABLE")
[ "$entries_after" -eq $((entries_before + 1)) ] ||
  zq_fail "the table went from $entries_before to $entries_after entries: $(cat "$TABLE")"
grep -q 'E' "$TABLE" || zq_fail "the table lost its end marker: $(cat "$TABLE")"
ls "$TABLE".?* >/dev/null 2>&1 && zq_fail "a temporary table was left behind: $(ls "$TABLE".?*)"
zq_note "high score table: $(cat "$ZQ_WORK/table.before") -> $(cat "$TABLE")"
cmp -s "$ZQ_ROOT/Data/Score/highscores.txt" "$ZQ_WORK/table.before" ||
  zq_fail "the shipped high score table changed"

# Enter on the table goes back to the main menu, where Escape ends the game.
zq_key Return 0.5
zq_quit_from_main_menu
echo "play_through: ok"

#!/usr/bin/env bash
# Plays a level of the real game for a while under Xvfb and counts the game's own
# "FPS: " lines (a frame slower than 55 fps), the check that the benchmark agrees
# with what a player gets. The developer key w and Enter lead to the level; then the
# runner steers and jumps at random for the given seconds.
# With FULL_SCREEN=1 the screen is 1920x1080 and F11 puts the game full screen on it.
# Usage: tools/game_fps.sh BUILD_DIR [LEVEL] [SECONDS]      (LP_NUM_THREADS is passed on)
set -u
[ "${FULL_SCREEN:-}" = 1 ] && export ZQ_XVFB_SCREEN=1920x1080
source "$(dirname "$0")/../tests/e2e/game_driver.bash"

BUILD=${1:-build}
LEVEL=${2:-3}
SECONDS_TO_PLAY=${3:-20}

zq_start "$BUILD" game_fps
zq_wait_for_menus
if [ "${FULL_SCREEN:-}" = 1 ]; then
  zq_key F11 1
  size=$(xwininfo -id "$ZQ_WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  [ "$size" = 1920x1080 ] || zq_fail "full screen is $size, not 1920x1080"
fi
zq_enter_play
# Level 0 is running; each w ends the level, Enter leads through the screens.
for _ in $(seq "$LEVEL"); do
  zq_key w 0.3
  zq_wait_for message 30 || zq_fail "the level did not end"
  zq_key Return 0.8
  zq_key Return 0.8
  zq_wait_for other 30
done
sleep 1
before=$(grep -c '^FPS: ' "$ZQ_WORK/game.out")
# The keys go through one xdotool reading them all from a script: a process started
# for every key would take from the game the very time on a busy two-core machine
# that is being measured.
keys=(Left Right space Left Right)
script=$ZQ_WORK/keys.xdo
: >"$script"
for ((ms = 0; ms < SECONDS_TO_PLAY * 1000;)); do
  key=${keys[$((RANDOM % ${#keys[@]}))]}
  hold=$((RANDOM % 4 + 1))
  printf 'keydown %s\nsleep 0.%s\nkeyup %s\n' "$key" "$hold" "$key" >>"$script"
  ms=$((ms + hold * 100))
done
traced=$(wc -l <"$ZQ_WORK/trace")
start=$(date +%s.%N)
xdotool - <"$script"
played=$(echo "$(date +%s.%N) - $start" | bc)
zq_alive || zq_fail "the game ended"
# Every warned frame took 1000 / fps ms; the rest of the time went in frames of at
# most 18.2 ms, so at least (rest / 16.7 ms) more frames were drawn.
tail -n +1 "$ZQ_WORK/game.out" | grep '^FPS: ' | tail -n +$((before + 1)) | awk -v played="$played" '
  { slow += 1; ms += 1000 / $2 }
  END {
    rest = played * 1000 - ms; if (rest < 0) rest = 0
    others = rest / 16.7
    printf "game_fps: %.1f s played, %d \"FPS: \" lines (%.1f s in slow frames), about %.0f frames in all: %.1f%% slow\n",
      played, slow, ms / 1000, slow + others, (slow + others > 0 ? 100 * slow / (slow + others) : 0)
  }'
# Every change of the world's resolution the game made on the way.
grep -o 'drawing the world at .*' "$ZQ_WORK/game.out" | sed 's/^/game_fps: /'
# The screens passed while playing (a death shows its menu, drawn more cheaply than play).
echo "game_fps: screens while playing: $(tail -n +$((traced + 1)) "$ZQ_WORK/trace" | awk '$1 == "screen" {printf "%s ", $2}')"

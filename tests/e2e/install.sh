#!/usr/bin/env bash
# Installs into a temporary prefix and starts the game from its launcher as a user
# would: the window opens, the user's working folder gets a writable high score
# table copied from the shipped one, and the installed data stays untouched.
set -u
BUILD=${1:-build}
cd "$(dirname "$0")/../.."
tmp=$(mktemp -d)
trap 'kill $pid 2>/dev/null; rm -rf "$tmp"' EXIT
fail() { echo "install: $*" >&2; exit 1; }

cmake --install "$BUILD" --prefix "$tmp/prefix" >/dev/null || fail "cmake --install failed"
for f in bin/zoomquest bin/zoomquest-fullscreen lib/zoomquest/cavegame lib/zoomquest/cavegame_fullscreen \
         share/zoomquest/Data/Images/image_info.zqt share/zoomquest/Data/Score/highscores.txt \
         share/applications/zoomquest.desktop share/icons/hicolor/128x128/apps/zoomquest.png; do
  [ -e "$tmp/prefix/$f" ] || fail "missing after install: $f"
done
[ -w "$tmp/prefix/share/zoomquest/Data/Score/highscores.txt" ] && [ "$(id -u)" != 0 ] &&
  fail "installed high score file is writable"

export XDG_DATA_HOME="$tmp/home"
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} "$tmp/prefix/bin/zoomquest" >"$tmp/out.log" 2>&1 &
pid=$!
wid=$(timeout 20 xdotool search --sync --name '^Zoomquest!$' 2>/dev/null | head -n1)
[ -n "$wid" ] || { cat "$tmp/out.log"; fail "no window from the launcher"; }
scores="$XDG_DATA_HOME/zoomquest/Data/Score/highscores.txt"
[ -w "$scores" ] || fail "no writable high score table in the user's folder"
cmp -s "$scores" Data/Score/highscores.txt || fail "user's table differs from the shipped one"
[ -e "$XDG_DATA_HOME/zoomquest/Data/Images/image_info.zqt" ] || fail "user's folder does not reach the images"
# Escape quits on the loading screen and on the main menu (the logo between them
# ignores it), so press it once a second until the game ends.
for _ in $(seq 30); do
  kill -0 $pid 2>/dev/null || break
  xdotool windowfocus "$wid" 2>/dev/null; xdotool key --clearmodifiers Escape 2>/dev/null
  sleep 1
done
kill -0 $pid 2>/dev/null && fail "the game did not end on Escape"
wait $pid; status=$?
[ $status -eq 0 ] || { cat "$tmp/out.log"; fail "exit status $status"; }
echo "install: ok"

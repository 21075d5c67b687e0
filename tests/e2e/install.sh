#!/usr/bin/env bash
# Installs into a temporary prefix and starts the game from its launcher as a user
# would: the window opens, the user's working folder gets a writable high score
# table copied from the shipped one, and the installed data stays untouched.
set -u
BUILD=${1:-build}
cd "$(dirname "$0")/../.."
tmp=$(mktemp -d)
trap 'kill ${pid:-} 2>/dev/null; rm -rf "$tmp"' EXIT
fail() { echo "install: $*" >&2; exit 1; }

cmake --install "$BUILD" --prefix "$tmp/prefix" >/dev/null || fail "cmake --install failed"
for f in bin/zoomquest bin/zoomquest-fullscreen lib/zoomquest/cavegame lib/zoomquest/cavegame_fullscreen \
         share/zoomquest/Data/Images/image_info.zqt share/zoomquest/Data/Score/highscores.txt \
         share/applications/zoomquest.desktop share/icons/hicolor/128x128/apps/zoomquest.png; do
  [ -e "$tmp/prefix/$f" ] || fail "missing after install: $f"
done

# What a distribution checks before it takes the game: the AppStream file, the desktop
# entry, an icon at every hicolor size (of that size) and a man page that renders cleanly.
metainfo=$(ls "$tmp/prefix/share/metainfo/"*.metainfo.xml 2>/dev/null | head -n1)
[ -n "$metainfo" ] || fail "no AppStream metainfo installed"
appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.log" 2>&1 ||
  { cat "$tmp/appstream.log"; fail "appstreamcli rejects $(basename "$metainfo")"; }
grep -q '<content_rating' "$metainfo" || fail "metainfo has no content rating"
grep -q '<screenshot' "$metainfo" || fail "metainfo has no screenshots"
for shot in $(sed -n 's|.*<image>.*/screenshots/\(.*\)</image>.*|\1|p' "$metainfo"); do
  [ -e "docs/screenshots/$shot" ] || fail "metainfo names a screenshot we do not have: $shot"
done
desktop-file-validate "$tmp/prefix/share/applications/zoomquest.desktop" ||
  fail "desktop-file-validate rejects the desktop entry"
for size in 16 24 32 48 64 128 256; do
  icon="$tmp/prefix/share/icons/hicolor/${size}x${size}/apps/zoomquest.png"
  [ -e "$icon" ] || fail "no ${size}x${size} icon"
  [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $(identify -format '%wx%h' "$icon")"
done
manpage="$tmp/prefix/share/man/man6/zoomquest.6"
[ -e "$manpage" ] || fail "no man page zoomquest.6"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manpage" 2>&1 >"$tmp/man.txt")
[ -z "$warnings" ] || { echo "$warnings"; fail "man --warnings complains about zoomquest.6"; }
for section in SYNOPSIS KEYS GAMEPAD FILES ENVIRONMENT; do
  grep -q "^$section" "$tmp/man.txt" || fail "the man page has no $section section"
done
[ -e "$tmp/prefix/share/man/man6/zoomquest-fullscreen.6" ] || fail "no man page for zoomquest-fullscreen"
[ -w "$tmp/prefix/share/zoomquest/Data/Score/highscores.txt" ] && [ "$(id -u)" != 0 ] &&
  fail "installed high score file is writable"

export XDG_DATA_HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config"
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

#!/usr/bin/env bash
# Soak run: the real game, built with AddressSanitizer and UndefinedBehaviorSanitizer,
# under its own Xvfb, fed random key presses for a while across every screen.
# Fails on any sanitizer report, a crash or unexpected exit, or resident memory that
# keeps growing once the first level has been entered (5% at most).
#
# Usage: tools/soak.sh [SECONDS] [BUILD_DIR]
#   SECONDS    how long to play (default 600)
#   BUILD_DIR  a sanitizer build (-DZQ_SANITIZE=ON); default build-asan when it is
#              one, else build-soak (configured and built here, incrementally)
# Environment:
#   ZQ_SOAK_AUDIO=disk   play through SDL's disk audio driver into /dev/null instead
#                        of the dummy driver
#   ZQ_SOAK_SEED=N       the random seed (default: from the clock; printed)
#   ZQ_SOAK_OUT=DIR      where logs and the memory series go (default BUILD_DIR/soak)
#   ZQ_SOAK_NO_BUILD=1   use the build as it is
set -u
cd "$(dirname "$0")/.."
ROOT=$(pwd)
source tests/support/xserver.bash

DURATION=${1:-600}
BUILD=${2:-}
fail() { echo "soak: FAIL: $*" >&2; exit 1; }
note() { echo "soak: $*"; }

case "$DURATION" in ''|*[!0-9]*) fail "SECONDS must be a whole number, not '$DURATION'";; esac
for tool in Xvfb xdotool xdpyinfo cmake; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
PY=/usr/bin/python3
[ -x "$PY" ] || PY=$(command -v python3) || fail "python3 is not installed"

sanitized() { grep -q '^ZQ_SANITIZE:BOOL=ON' "$1/CMakeCache.txt" 2>/dev/null; }
if [ -z "$BUILD" ]; then
  # make test has just built build-asan the same way; a third build would only cost time.
  if sanitized build-asan; then BUILD=build-asan; else BUILD=build-soak; fi
fi
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  note "configuring $BUILD (Debug, sanitizers)"
  cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DZQ_SANITIZE=ON >/dev/null || fail "cmake configure failed"
fi
sanitized "$BUILD" || fail "$BUILD is not a sanitizer build (configure it with -DZQ_SANITIZE=ON)"
if [ "${ZQ_SOAK_NO_BUILD:-0}" != 1 ]; then
  cmake --build "$BUILD" -j2 --target cavegame >"$BUILD/soak-build.log" 2>&1 ||
    { tail -n 30 "$BUILD/soak-build.log" >&2; fail "building $BUILD/cavegame failed"; }
fi
GAME="$ROOT/$BUILD/cavegame"
[ -x "$GAME" ] || fail "$GAME is not built"

OUT=${ZQ_SOAK_OUT:-$ROOT/$BUILD/soak}
mkdir -p "$OUT" || fail "cannot create $OUT"
rm -f "$OUT"/game-*.out "$OUT"/game-*.err "$OUT"/sanitizer.* "$OUT"/rss-*.txt "$OUT"/xvfb.log

# The game writes its high score file; it plays in a copy so the shipped one stays as it is.
WORK=$(mktemp -d)
# Its settings likewise stay in the copy, away from the real ~/.config.
export XDG_CONFIG_HOME="$WORK/config"
cleanup() {
  zq_xserver_stop
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
cp -a Data "$WORK/Data" || fail "cannot copy Data/"

unset DISPLAY # its own server, always: a desktop would take the random keys
zq_xserver_start "$OUT/xvfb.log" || fail "Xvfb did not start"

if [ "${ZQ_SOAK_AUDIO:-dummy}" = disk ]; then
  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
else
  export SDL_AUDIODRIVER=dummy
fi
# Mesa keeps its allocations until exit, so leak checking is left to the logic tests.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=0:quarantine_size_mb=16:exitcode=86:log_path=$OUT/sanitizer"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=87:log_path=$OUT/sanitizer"

note "build $BUILD, ${DURATION} s, display $DISPLAY, audio $SDL_AUDIODRIVER, logs in $OUT"
"$PY" "$ROOT/tools/soak_play.py" --game "$GAME" --work "$WORK" --out "$OUT" \
  --seconds "$DURATION" --seed "${ZQ_SOAK_SEED:-}"

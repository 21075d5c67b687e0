#!/usr/bin/env bash
# Every test of the game, as `make test` runs it: the unit and drawing tests, the same
# tests built with AddressSanitizer and UndefinedBehaviorSanitizer, short fuzz runs,
# the data checks, and the end-to-end runs of the real program under Xvfb.
set -u
cd "$(dirname "$0")/.."

BUILD=${1:-build}
ASAN_BUILD=${2:-build-asan}
FUZZ_BUILD=${3:-build-fuzz}
JOBS=$(nproc)
failed=()

step() { printf '\n=== %s\n' "$*"; }
run() {  # run NAME COMMAND...: records a failure, keeps going so one run shows every fault
  local name=$1; shift
  if "$@"; then echo "--- $name: ok"; else echo "--- $name: FAILED"; failed+=("$name"); fi
}

# One X server for everything that needs a display, unless one is already there.
source tests/support/xserver.bash
trap zq_xserver_stop EXIT
zq_xserver_start || exit 1
export SDL_AUDIODRIVER=dummy

step "Data and source checks"
run "sources follow .clang-format" tools/check_format.sh
run "image list and images" /usr/bin/python3 tools/art/check_images.py .
run "the image check catches broken data" /usr/bin/python3 tools/art/test_check_images.py .
run "sounds: clicks, offsets, levels, bass, late starts, loop seams" /usr/bin/python3 tools/sound/check_sounds.py .
run "the sound check catches broken sounds" /usr/bin/python3 tools/sound/test_check_sounds.py

step "Unit and drawing tests ($BUILD)"
run "unit and drawing tests" ctest --test-dir "$BUILD" -L 'unit|draw' --output-on-failure -j"$JOBS" --timeout 300

step "Sanitizer build ($ASAN_BUILD)"
if cmake -S . -B "$ASAN_BUILD" -DCMAKE_BUILD_TYPE=Debug -DZQ_SANITIZE=ON >/dev/null &&
   cmake --build "$ASAN_BUILD" -j"$JOBS" >/dev/null; then
  # Mesa's drivers keep allocations until exit; leaks are checked in the logic tests only.
  run "unit tests under sanitizers" env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$ASAN_BUILD" -L unit --output-on-failure -j"$JOBS" --timeout 300
  run "drawing tests under sanitizers" env ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$ASAN_BUILD" -L draw --output-on-failure --timeout 300
else
  failed+=("sanitizer build")
fi

step "Fuzz targets, a short run each ($FUZZ_BUILD)"
if CC=clang CXX=clang++ cmake -S . -B "$FUZZ_BUILD" -DCMAKE_BUILD_TYPE=Debug -DZQ_FUZZ=ON -DZQ_TESTS=ON \
     -DZQ_FUZZ_SECONDS=${ZQ_FUZZ_SECONDS:-10} >/dev/null &&
   cmake --build "$FUZZ_BUILD" -j"$JOBS" --target $(ls tests/fuzz/*.cpp 2>/dev/null | xargs -n1 basename | sed 's/\.cpp$//') >/dev/null; then
  run "fuzz targets" env ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$FUZZ_BUILD" -L fuzz --output-on-failure --timeout 120
else
  failed+=("fuzz build")
fi

step "End-to-end runs of the real program"
for t in tests/e2e/*.sh; do
  [ -e "$t" ] || continue
  run "$(basename "$t")" "$t" "$BUILD"
done

# Fedora, Arch and Debian 13 give the game sdl12-compat (SDL 1.2 on SDL2) instead of
# the original: the smoke run again on its library, taken from Debian 12's package
# without installing it over the system's.
step "The smoke run on sdl12-compat"
sdl12_compat_dir() {
  local cache="$BUILD/sdl12-compat"
  if ! ls "$cache"/x/usr/lib/*/sdl12-compat/libSDL-1.2.so.0 >/dev/null 2>&1; then
    rm -rf "$cache" && mkdir -p "$cache" &&
      (cd "$cache" && apt-get download -q libsdl1.2-compat >/dev/null 2>&1 && dpkg -x libsdl1.2-compat_*.deb x) ||
      { echo "could not fetch libsdl1.2-compat (apt-get download)" >&2; return 1; }
  fi
  dirname "$(ls "$cache"/x/usr/lib/*/sdl12-compat/libSDL-1.2.so.0 | head -n1)"
}
if compat=$(sdl12_compat_dir); then
  run "smoke.sh on sdl12-compat" env LD_LIBRARY_PATH="$(realpath "$compat")" ZQ_SDL=compat tests/e2e/smoke.sh "$BUILD"
else
  failed+=("sdl12-compat library")
fi

echo
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${#failed[@]} step(s):"; printf '  - %s\n' "${failed[@]}"
  exit 1
fi
echo "All tests passed."

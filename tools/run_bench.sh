#!/usr/bin/env bash
# The frame-time benchmark, as `make bench` runs it: builds frame_bench in the given
# build folder if needed and runs it from the repository root, under its own X server
# when there is no display. Extra arguments go to frame_bench (--frames N, --level L).
# LP_NUM_THREADS, when set, chooses Mesa's software renderer threads; BENCH_THREADS="1 2 3"
# runs the benchmark once for each of those thread counts.
set -eu
cd "$(dirname "$0")/.."

BUILD=${1:-build}
shift || true

if [ ! -x "$BUILD/frame_bench" ]; then
  cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD" -j"$(nproc)" --target frame_bench >/dev/null
fi

source tests/support/xserver.bash
trap zq_xserver_stop EXIT
zq_xserver_start || exit 1

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
if [ -n "${BENCH_THREADS:-}" ]; then
  for threads in $BENCH_THREADS; do
    LP_NUM_THREADS=$threads "$BUILD/frame_bench" "$@"
    echo
  done
else
  "$BUILD/frame_bench" "$@"
fi

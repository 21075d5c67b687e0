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

XVFB_PID=
cleanup() { if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  if ! command -v Xvfb >/dev/null; then
    echo "run_bench: no display and no Xvfb (install xvfb, e.g. with make test-deps)" >&2
    exit 1
  fi
  DISPLAY_NUM=
  for n in $(seq 130 160); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { DISPLAY_NUM=$n; break; }
  done
  if [ -z "$DISPLAY_NUM" ]; then
    echo "run_bench: no free X display number" >&2
    exit 1
  fi
  # -noreset: SDL opens the display twice in a row, and a server that resets when
  # the first connection closes drops the second.
  Xvfb ":$DISPLAY_NUM" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$DISPLAY_NUM"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$DISPLAY_NUM" ] && break; sleep 0.1; done
  if [ ! -e "/tmp/.X11-unix/X$DISPLAY_NUM" ]; then
    echo "run_bench: Xvfb did not start" >&2
    exit 1
  fi
fi

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
if [ -n "${BENCH_THREADS:-}" ]; then
  for threads in $BENCH_THREADS; do
    LP_NUM_THREADS=$threads "$BUILD/frame_bench" "$@"
    echo
  done
else
  "$BUILD/frame_bench" "$@"
fi

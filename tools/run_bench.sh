#!/usr/bin/env bash
# The frame-time benchmark, as `make bench` runs it: builds frame_bench in the given
# build folder if needed and runs it from the repository root, under its own X server
# when there is no display. Extra arguments go to frame_bench (--frames N, --level L).
# LP_NUM_THREADS, when set, chooses Mesa's software renderer threads; BENCH_THREADS="1 2 3"
# runs the benchmark once for each of those thread counts. With --size WxH the X server's
# screen is made at least that large, so the window is not cut down to fit it.
#
#   tools/run_bench.sh --compare REV [BUILD] [--rounds R] [frame_bench args]
# builds REV (any git revision) in a folder of its own and runs its benchmark and this
# tree's one after the other, a level at a time and in turns, so both see the same load;
# then prints per level each one's p50/p99/cpu (means over the rounds) and the ratios.
set -eu
cd "$(dirname "$0")/.."

COMPARE=
if [ "${1:-}" = "--compare" ]; then
  COMPARE=${2:?"--compare needs a revision"}
  shift 2
fi
BUILD=build
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  BUILD=$1
  shift
fi

if [ ! -x "$BUILD/frame_bench" ]; then
  cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD" -j"$(nproc)" --target frame_bench >/dev/null
fi

# A window larger than the screen would be made smaller by the game.
args=("$@")
for i in "${!args[@]}"; do
  if [ "${args[$i]}" = --size ] && [[ "${args[$((i + 1))]:-}" =~ ^([0-9]+)x([0-9]+)$ ]]; then
    w=${BASH_REMATCH[1]}; h=${BASH_REMATCH[2]}
    export ZQ_XVFB_SCREEN="$((w > 1024 ? w : 1024))x$((h > 768 ? h : 768))"
  fi
done

source tests/support/xserver.bash
trap zq_xserver_stop EXIT
zq_xserver_start || exit 1

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

if [ -n "$COMPARE" ]; then
  ROUNDS=2
  FRAMES=600
  LEVELS=()
  SIZE=()
  while [ $# -gt 0 ]; do
    case $1 in
      --rounds) ROUNDS=$2; shift 2 ;;
      --frames) FRAMES=$2; shift 2 ;;
      --level) LEVELS+=("$2"); shift 2 ;;
      --size) SIZE=(--size "$2"); shift 2 ;;
      *) echo "run_bench: --compare takes --rounds, --frames, --level and --size" >&2; exit 2 ;;
    esac
  done
  [ ${#LEVELS[@]} -gt 0 ] || LEVELS=(0 1 2 3 4 5 6 7)
  HASH=$(git rev-parse --verify "$COMPARE^{commit}")
  # Kept between runs: a second comparison against the same revision builds nothing.
  BASE=${BENCH_BASE_DIR:-${TMPDIR:-/tmp}/zq-bench-$HASH}
  if [ ! -x "$BASE/build/frame_bench" ]; then
    rm -rf "$BASE"
    mkdir -p "$BASE"
    git archive "$HASH" | tar -x -C "$BASE"
    echo "building $COMPARE ($HASH) in $BASE" >&2
    cmake -S "$BASE" -B "$BASE/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BASE/build" -j"$(nproc)" --target frame_bench >/dev/null
  fi
  OUT=$(mktemp -d)
  echo "before: $COMPARE ($(git log -1 --format='%h %s' "$HASH"))"
  echo "after:  this tree ($(git log -1 --format='%h %s' HEAD)$(git diff --quiet HEAD || echo ', with changes'))"
  echo "${SIZE[*]:-800x600 window}, LP_NUM_THREADS=${LP_NUM_THREADS:-(default)}, $FRAMES frames a run, $ROUNDS rounds; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
  # Each run is a separate process from its own tree (its own images and levels);
  # the order swaps every round so neither side always runs first.
  for round in $(seq "$ROUNDS"); do
    for level in "${LEVELS[@]}"; do
      order="before after"
      [ $((round % 2)) -eq 0 ] && order="after before"
      for side in $order; do
        if [ "$side" = before ]; then
          (cd "$BASE" && build/frame_bench --frames "$FRAMES" --level "$level" "${SIZE[@]}") >"$OUT/$side.$level.$round"
        else
          "$BUILD/frame_bench" --frames "$FRAMES" --level "$level" "${SIZE[@]}" >"$OUT/$side.$level.$round"
        fi
      done
    done
  done
  echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo
  # Row of frame_bench: name, then p50 p95 p99 max >18.2 | update | draw | cpu mean.
  awk -v levels="${LEVELS[*]}" -v rounds="$ROUNDS" -v dir="$OUT" 'BEGIN {
    printf "%-7s | %6s %6s %6s | %6s %6s %6s | %6s %6s | %6s %6s %6s\n", "level",
      "p50", "", "", "p99", "", "", ">18.2", "", "cpu", "", ""
    printf "%-7s | %6s %6s %6s | %6s %6s %6s | %6s %6s | %6s %6s %6s\n", "",
      "before", "after", "ratio", "before", "after", "ratio", "before", "after", "before", "after", "ratio"
    n = split(levels, L, " ")
    for (i = 1; i <= n; ++i) {
      for (s = 0; s < 2; ++s) {
        side = s ? "after" : "before"
        p50[s] = p99[s] = cpu[s] = slow[s] = 0
        for (r = 1; r <= rounds; ++r) {
          file = dir "/" side "." L[i] "." r
          while ((getline line < file) > 0) {
            if (line ~ /^level [0-9]/) {
              split(line, f, " ")
              p50[s] += f[3]; p99[s] += f[5]; slow[s] += f[7]
              m = split(line, parts, "|"); cpu[s] += parts[m] + 0
            }
          }
          close(file)
        }
        p50[s] /= rounds; p99[s] /= rounds; cpu[s] /= rounds; slow[s] /= rounds
      }
      printf "level %d | %6.2f %6.2f %6.3f | %6.2f %6.2f %6.3f | %5.1f%% %5.1f%% | %6.2f %6.2f %6.3f\n", L[i],
        p50[0], p50[1], p50[0] ? p50[1] / p50[0] : 0, p99[0], p99[1], p99[0] ? p99[1] / p99[0] : 0,
        slow[0], slow[1], cpu[0], cpu[1], cpu[0] ? cpu[1] / cpu[0] : 0
    }
  }'
  echo "(ratio: after / before; >18.2: share of frames below 55 fps; cpu: ms of CPU per frame, all threads)"
  rm -rf "$OUT"
  exit 0
fi

if [ -n "${BENCH_THREADS:-}" ]; then
  for threads in $BENCH_THREADS; do
    LP_NUM_THREADS=$threads "$BUILD/frame_bench" "$@"
    echo
  done
else
  "$BUILD/frame_bench" "$@"
fi

#!/usr/bin/env bash
# Long fuzzing of the game's file readers: builds every tests/fuzz/fuzz_*.cpp with clang
# and libFuzzer (plus AddressSanitizer and UndefinedBehaviorSanitizer), runs each for
# the given time on its committed corpus, which it grows, and then shrinks the corpus
# back to the inputs that add coverage (the committed ones all stay).
#
# Usage: tools/run_fuzz.sh [BUILD_DIR] [SECONDS] [TARGET...]
#   BUILD_DIR  default build-fuzz;  SECONDS  per target, default 600
#   TARGET     only these (e.g. fuzz_level_loader); default every target
# Environment: ZQ_FUZZ_JOBS  targets run side by side (default 2, at most the cores)
# Findings (crash-*, leak-*, timeout-*, oom-* inputs) go to BUILD_DIR/fuzz-findings/.
set -u
cd "$(dirname "$0")/.."
ROOT=$(pwd)

BUILD=${1:-build-fuzz}
SECONDS_EACH=${2:-600}
shift $(( $# < 2 ? $# : 2 ))
fail() { echo "run_fuzz: FAIL: $*" >&2; exit 1; }
note() { echo "run_fuzz: $*"; }
case "$SECONDS_EACH" in ''|*[!0-9]*) fail "SECONDS must be a whole number, not '$SECONDS_EACH'";; esac
command -v clang++ >/dev/null || fail "clang++ is not installed"

if [ $# -gt 0 ]; then
  TARGETS=("$@")
else
  TARGETS=()
  for src in tests/fuzz/fuzz_*.cpp; do [ -e "$src" ] && TARGETS+=("$(basename "$src" .cpp)"); done
fi
[ ${#TARGETS[@]} -gt 0 ] || fail "no fuzz targets in tests/fuzz/"
for t in "${TARGETS[@]}"; do [ -f "tests/fuzz/$t.cpp" ] || fail "no tests/fuzz/$t.cpp"; done

# The same configuration as make test's short runs, so the two share one build.
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DZQ_FUZZ=ON -DZQ_TESTS=ON \
  >"$ROOT/$BUILD.configure.log" 2>&1 || { tail -n 20 "$ROOT/$BUILD.configure.log" >&2; fail "configure failed"; }
rm -f "$ROOT/$BUILD.configure.log"
cmake --build "$BUILD" -j2 --target "${TARGETS[@]}" >"$BUILD/fuzz-build.log" 2>&1 ||
  { tail -n 30 "$BUILD/fuzz-build.log" >&2; fail "building the fuzz targets failed"; }

FINDINGS="$ROOT/$BUILD/fuzz-findings"
LOGS="$ROOT/$BUILD/fuzz-logs"
mkdir -p "$FINDINGS" "$LOGS"
JOBS=${ZQ_FUZZ_JOBS:-2}
[ "$JOBS" -le "$(nproc)" ] || JOBS=$(nproc)
[ "$JOBS" -ge 1 ] || JOBS=1

fuzz_one() {  # the run of one target; its log says everything
  local t=$1 corpus="$ROOT/tests/fuzz/corpus/$1"
  mkdir -p "$corpus"
  ( cd "$BUILD/tests" &&
    ASAN_OPTIONS=detect_leaks=1 ./"$t" -max_total_time="$SECONDS_EACH" -timeout=5 -rss_limit_mb=1024 \
      -max_len=4096 -print_final_stats=1 -artifact_prefix="$FINDINGS/$t-" "$corpus" ) \
    >"$LOGS/$t.log" 2>&1
  echo $? >"$LOGS/$t.status"
}

note "${#TARGETS[@]} target(s), ${SECONDS_EACH} s each, $JOBS at a time"
for t in "${TARGETS[@]}"; do
  rm -f "$FINDINGS/$t-"* "$LOGS/$t.status"
  git ls-files "tests/fuzz/corpus/$t" >"$LOGS/$t.committed" 2>/dev/null
  while [ "$(jobs -rp | wc -l)" -ge "$JOBS" ]; do sleep 1; done
  note "$t: running"
  fuzz_one "$t" &
done
wait

# Shrink each grown corpus: the committed inputs first, then only what adds coverage.
for t in "${TARGETS[@]}"; do
  corpus="tests/fuzz/corpus/$t"
  fresh=$(mktemp -d)
  while read -r f; do [ -f "$f" ] && cp "$f" "$fresh/"; done <"$LOGS/$t.committed"
  merge() {  # merge [FLAGS]: the grown corpus into $fresh, keeping what adds features
    ( cd "$BUILD/tests" && ASAN_OPTIONS=detect_leaks=0 ./"$t" -merge=1 -timeout=5 -rss_limit_mb=1024 \
        -max_len=4096 "$@" "$fresh" "$ROOT/$corpus" ) >"$LOGS/$t.merge.log" 2>&1
  }
  merged=0
  if merge; then
    merged=1
    # Hit counts make many inputs "new"; past a few hundred files, edges alone decide.
    if [ "$(ls "$fresh" | wc -l)" -gt 300 ]; then
      rm -rf "$fresh"; fresh=$(mktemp -d)
      while read -r f; do [ -f "$f" ] && cp "$f" "$fresh/"; done <"$LOGS/$t.committed"
      merge -use_counters=0 || merged=0
    fi
  fi
  if [ "$merged" = 1 ] && [ -n "$(ls -A "$fresh")" ]; then
    find "$corpus" -maxdepth 1 -type f -delete
    cp "$fresh"/* "$corpus/"
  else
    note "$t: merging the corpus failed (see $LOGS/$t.merge.log); left as grown"
  fi
  rm -rf "$fresh"
done

# One line per target: runs, coverage, corpus, findings.
bad=0
for t in "${TARGETS[@]}"; do
  log="$LOGS/$t.log"
  status=$(cat "$LOGS/$t.status" 2>/dev/null || echo "?")
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  cov=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n1)
  files=$(find "tests/fuzz/corpus/$t" -maxdepth 1 -type f | wc -l)
  bytes=$(du -sb "tests/fuzz/corpus/$t" | cut -f1)
  found=$(ls "$FINDINGS/$t-"* 2>/dev/null | wc -l)
  echo "$t: ${runs:-?} runs, ${cov:-no coverage line}, corpus $files files ($bytes bytes), findings $found, status $status"
  if [ "$found" -gt 0 ] || [ "$status" != 0 ]; then
    bad=1
    ls "$FINDINGS/$t-"* 2>/dev/null | sed 's/^/  finding: /'
    grep -E 'ERROR: |runtime error|SUMMARY' "$log" | head -n 5 | sed 's/^/  /'
  fi
done
[ "$bad" -eq 0 ] || fail "see the findings above and the logs in $LOGS"
note "ok: no findings"

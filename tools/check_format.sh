#!/usr/bin/env bash
# Every C++ source follows .clang-format; prints the files that do not.
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 1; }
bad=$(git ls-files '*.cpp' '*.h' | while read -r f; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"
done)
if [ -n "$bad" ]; then
  echo "Not formatted (run: clang-format -i FILE):"; echo "$bad"; exit 1
fi

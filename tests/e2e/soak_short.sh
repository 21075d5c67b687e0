#!/usr/bin/env bash
# A short soak: 45 s of random keys on the sanitizer build of the real game, across
# its screens. The normal build given as $1 is not used: the soak needs the sanitizers
# and reuses build-asan, which make test has just built.
set -u
cd "$(dirname "$0")/../.."
exec tools/soak.sh 45

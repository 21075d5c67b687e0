#!/usr/bin/env bash
# A short soak: 45 s of random keys on the sanitizer build of the real game, across
# its screens. The normal build given as $1 is not used: the soak needs the sanitizers
# and reuses build-asan, which make test has just built.
# In 45 s the bounded pools are still filling (the sanitizer's 16 MB quarantine, the
# 4 MB of decoded sounds), which alone can add 10% to 200 MB; growth past 15% in that
# time is a leak. The ten-minute soak holds the 5% line.
set -u
cd "$(dirname "$0")/../.."
ZQ_SOAK_RSS_LIMIT=${ZQ_SOAK_RSS_LIMIT:-0.15} exec tools/soak.sh 45

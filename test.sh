#!/usr/bin/env bash
# Sets up a fresh machine, builds everything, and runs every test through CTest.
# The window tests run offscreen, so no X server is needed. Fuzzing is separate:
# .ci/run, or `scripts/deps.sh fuzz && scripts/fuzz.sh`.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh runtime build test
scripts/build.sh
cd "${BUILD_DIR:-build}"
export QT_QPA_PLATFORM=offscreen
exec ctest --output-on-failure -j"$(nproc)"

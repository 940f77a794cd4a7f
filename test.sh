#!/usr/bin/env bash
# Sets up a fresh machine, builds, and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
status=0
# Short fuzzing runs of the file readers, when clang's libFuzzer is available.
if [ -x scripts/fuzz.sh ]; then
  scripts/fuzz.sh || status=$?
fi
(cd "${BUILD_DIR:-build}" && ctest --output-on-failure -j"$(nproc)") || status=$?
exit $status

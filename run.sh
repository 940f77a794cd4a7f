#!/usr/bin/env bash
# Sets up a fresh machine, builds the editor and the batch tool (no tests, no
# benchmarks, in build-app), and starts the editor on the bundled sample map.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh runtime build
BUILD_DIR=build-app TARGETS="velmot velmot-cli velmot-cli-gis" scripts/build.sh -DVELMOT_TESTS=OFF -DVELMOT_BENCH=OFF
exec ./build-app/velmot "${@:-resources/sample/sample.vlm}"

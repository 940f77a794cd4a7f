#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR). Arguments go to the
# CMake configure step, e.g. -DVELMOT_TESTS=OFF; $TARGETS limits what is built.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# Lets worktrees of the same repository share compiled objects.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
# Debug information names the build directory, which ccache would otherwise
# hash, so that no two checkouts ever share an object.
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
target_args=()
for t in ${TARGETS:-}; do target_args+=(--target "$t"); done
cmake --build "$BUILD_DIR" -j"$(nproc)" "${target_args[@]}"

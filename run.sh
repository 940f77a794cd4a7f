#!/usr/bin/env bash
# Sets up a fresh machine, builds, and starts the editor on the bundled sample map.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
exec ./build/velmot "${@:-resources/sample/sample.vlm}"

#!/usr/bin/env bash
# Short libFuzzer runs of every fuzz/*.cpp target (the file readers), built
# with clang into build-fuzz. Exits non-zero when a target finds a crash;
# skips with a note when clang or libFuzzer is not installed.
set -uo pipefail
cd "$(dirname "$0")/.."
CXX_FUZZ=${CXX_FUZZ:-clang++}
BUILD=${FUZZ_BUILD_DIR:-build-fuzz}
SECONDS_EACH=${FUZZ_SECONDS:-20}

if ! command -v "$CXX_FUZZ" >/dev/null 2>&1; then
  echo "fuzz: $CXX_FUZZ not found; skipping the fuzzing runs"
  exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/p.cpp"
if ! "$CXX_FUZZ" -fsanitize=fuzzer,address "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
  echo "fuzz: libFuzzer is not available for $CXX_FUZZ; skipping the fuzzing runs"
  exit 0
fi
targets=(fuzz/*.cpp)
if [ ! -e "${targets[0]}" ]; then
  echo "fuzz: no targets"
  exit 0
fi

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
cmake -S . -B "$BUILD" -DCMAKE_CXX_COMPILER="$CXX_FUZZ" -DCMAKE_BUILD_TYPE=Release -DVELMOT_FUZZ=ON >/dev/null || exit 1
mkdir -p "$BUILD"
if ! cmake --build "$BUILD" -j"$(nproc)" >"$BUILD/build.log" 2>&1; then
  tail -n 60 "$BUILD/build.log"
  exit 1
fi

# Qt keeps some caches for the life of the process; leaks are not what we hunt.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export QT_QPA_PLATFORM=offscreen
status=0
for src in "${targets[@]}"; do
  name=$(basename "$src" .cpp)
  corpus="$BUILD/corpus/$name"
  rm -rf "$corpus"
  mkdir -p "$corpus"
  # Hand-made seeds (small valid files) when there are any: read, not written.
  seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds=("fuzz/seeds/$name")
  log="$BUILD/$name.log"
  if "$BUILD/$name" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=3072 \
      -artifact_prefix="$BUILD/$name-" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    echo "fuzz: $name ok ($(grep -o 'Done [0-9]* runs' "$log" | tail -1))"
  else
    echo "fuzz: $name FAILED; log in $log, reproducer $BUILD/$name-*"
    tail -n 40 "$log"
    status=1
  fi
done
exit $status

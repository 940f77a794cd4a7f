#!/usr/bin/env bash
# libFuzzer runs of every fuzz/*.cpp target (the file and text readers),
# built with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz. Each target first replays the hostile inputs kept in
# fuzz/corpus/<target>/, then fuzzes for FUZZ_SECONDS (default 60).
# Exits non-zero on any finding (crash, leak of the sanitizers' kind,
# undefined behaviour, timeout) and names the reproducer.
#
# Without clang or libFuzzer the runs are skipped with a note, unless
# FUZZ_REQUIRED=1 (continuous integration), which makes that a failure.
#   FUZZ_SECONDS=600 scripts/fuzz.sh            # ten minutes per target
#   FUZZ_TARGETS="fuzz_idt fuzz_bitmap" scripts/fuzz.sh
set -uo pipefail
cd "$(dirname "$0")/.."
CXX_FUZZ=${CXX_FUZZ:-clang++}
BUILD=${FUZZ_BUILD_DIR:-build-fuzz}
SECONDS_EACH=${FUZZ_SECONDS:-60}
REQUIRED=${FUZZ_REQUIRED:-0}

unavailable() {
  echo "fuzz: $1"
  [ "$REQUIRED" = 1 ] && exit 1
  exit 0
}

command -v "$CXX_FUZZ" >/dev/null 2>&1 || unavailable "$CXX_FUZZ not found; skipping the fuzzing runs"
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/p.cpp"
"$CXX_FUZZ" -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1 ||
  unavailable "libFuzzer is not available for $CXX_FUZZ; skipping the fuzzing runs"

if [ -n "${FUZZ_TARGETS:-}" ]; then
  read -r -a names <<<"$FUZZ_TARGETS"
else
  names=()
  for src in fuzz/*.cpp; do names+=("$(basename "$src" .cpp)"); done
fi
[ ${#names[@]} -gt 0 ] || unavailable "no targets"

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
mkdir -p "$BUILD"
cmake -S . -B "$BUILD" -DCMAKE_CXX_COMPILER="$CXX_FUZZ" -DCMAKE_BUILD_TYPE=Release -DVELMOT_FUZZ=ON >/dev/null || exit 1
if ! cmake --build "$BUILD" -j"$(nproc)" --target "${names[@]}" >"$BUILD/build.log" 2>&1; then
  tail -n 60 "$BUILD/build.log"
  exit 1
fi

# Qt keeps some caches for the life of the process; leaks are not what we hunt.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen
status=0
for name in "${names[@]}"; do
  flags=(-timeout=10 -rss_limit_mb=3072 -artifact_prefix="$BUILD/$name-")
  log="$BUILD/$name.log"

  # The kept hostile inputs, once each: a regression run.
  if [ -d "fuzz/corpus/$name" ]; then
    if ! "$BUILD/$name" "${flags[@]}" -runs=0 "fuzz/corpus/$name" >"$log.corpus" 2>&1; then
      echo "fuzz: $name FAILED on the kept corpus; log in $log.corpus"
      tail -n 40 "$log.corpus"
      status=1
      continue
    fi
  fi

  # Fuzzing from the kept inputs and seeds, into a scratch corpus.
  work="$BUILD/corpus/$name"
  rm -rf "$work"
  mkdir -p "$work"
  dirs=("$work")
  for d in "fuzz/seeds/$name" "fuzz/corpus/$name"; do [ -d "$d" ] && dirs+=("$d"); done
  if "$BUILD/$name" "${flags[@]}" -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
      "${dirs[@]}" >"$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    echo "fuzz: $name ok: ${runs:-?} runs in ${SECONDS_EACH} s, no findings"
  else
    echo "fuzz: $name FAILED; log in $log, reproducer $BUILD/$name-*"
    tail -n 40 "$log"
    status=1
  fi
done
exit $status

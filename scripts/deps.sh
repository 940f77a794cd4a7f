#!/usr/bin/env bash
# Installs the Debian packages of the named groups (default: runtime build),
# skipping apt entirely when everything is already there.
#
#   runtime   what the built editor needs to run (fonts, Qt's Japanese texts,
#             the TIFF, WebP and PDF readers)
#   build     compiler, CMake and Qt headers for velmot and velmot-cli
#   test      GoogleTest and Google Benchmark, for ./test.sh; shapely (GEOS)
#             for bench/against_geos.sh
#   fuzz      clang with libFuzzer, for scripts/fuzz.sh
#   devtools  a virtual X server and screenshot/click tools, for looking at
#             the window by hand; the tests themselves run offscreen
#
# VELMOT_NO_APT=1 never calls apt: it prints what is missing and goes on,
# for machines where someone else installs packages.
set -euo pipefail

group_packages() {
  case "$1" in
    runtime) echo "fonts-ipafont-gothic qt6-qpa-plugins qt6-translations-l10n libgdal32 libgeos-c1v5 libqt6svg6 qt6-image-formats-plugins libpoppler-qt6-3" ;;
    build) echo "cmake g++ make ccache pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libgdal-dev libgeos-dev qt6-svg-dev libpoppler-qt6-dev" ;;
    test) echo "libgtest-dev libgmock-dev libbenchmark-dev python3-shapely" ;;
    fuzz) echo "clang libclang-rt-dev" ;;
    devtools) echo "xvfb xauth x11-utils imagemagick xdotool valgrind" ;;
    *)
      echo "deps.sh: unknown group '$1' (runtime, build, test, fuzz, devtools)" >&2
      exit 2
      ;;
  esac
}

groups=("$@")
[ ${#groups[@]} -eq 0 ] && groups=(runtime build)
packages=()
for g in "${groups[@]}"; do
  list_text=$(group_packages "$g")
  read -r -a list <<<"$list_text"
  packages+=("${list[@]}")
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "${VELMOT_NO_APT:-0}" = 1 ]; then
  echo "deps.sh: not installing (VELMOT_NO_APT=1); missing for ${groups[*]}:"
  echo "  apt-get install --no-install-recommends ${missing[*]}"
  exit 0
fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "deps.sh: need root or sudo to install: ${missing[*]}" >&2
    echo "  (or install them yourself and set VELMOT_NO_APT=1)" >&2
    exit 1
  fi
  SUDO="sudo"
fi
echo "Installing (${groups[*]}): ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

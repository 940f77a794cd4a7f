#!/usr/bin/env bash
# Instructions, as callgrind counts them (the same on a busy machine as on a
# quiet one), of `velmot-cli compose` less `velmot-cli --version`, against
# one GEOS polygonize of the network bench/against_geos.sh hands it. The peer
# is counted calling polygonize once and twice and the difference taken, so
# that the interpreter's start and the building of the lines drop out.
#
#   bench/geos_instructions.sh WORK.vlm
#
# Needs valgrind (scripts/deps.sh devtools) and python3-shapely. VELMOT_CLI
# overrides build/velmot-cli, PYTHON the interpreter that has shapely.
set -euo pipefail
cd "$(dirname "$0")/.."
WORK=$(realpath "${1:?usage: bench/geos_instructions.sh WORK.vlm}")
CLI=$(realpath "${VELMOT_CLI:-build/velmot-cli}")
PY=${PYTHON:-/usr/bin/python3}
command -v valgrind >/dev/null || { echo "valgrind is missing (scripts/deps.sh devtools)" >&2; exit 2; }
"$PY" -c 'import shapely' 2>/dev/null || { echo "python3-shapely is missing (scripts/deps.sh)" >&2; exit 2; }
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# The same noded lines as bench/against_geos.sh, polygonized CALLS times.
cat > "$TMP/peer.py" <<'PY'
import os, sys
from shapely.ops import polygonize
from geos_network import noded_lines
count, segs = noded_lines(sys.argv[1])
for _ in range(int(os.environ['CALLS'])):
    len(list(polygonize(segs)))
PY

# Instructions of one command run under callgrind.
count() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
        sed -n 's/.*refs: *//p' | tr -d ,
}
# The output goes to a directory of its own: the save's sweep for stale
# files then has nothing else to look at.
compose=$(count "$CLI" compose "$WORK" -o "$TMP/out.vlm" --force)
start=$(count "$CLI" --version)
once=$(CALLS=1 PYTHONHASHSEED=0 PYTHONPATH="$PWD/bench" count "$PY" "$TMP/peer.py" "$WORK")
twice=$(CALLS=2 PYTHONHASHSEED=0 PYTHONPATH="$PWD/bench" count "$PY" "$TMP/peer.py" "$WORK")
work=$((compose - start))
geos=$((twice - once))
echo "map: $WORK"
printf 'velmot-cli compose               %12d instructions\n' "$compose"
printf 'velmot-cli --version             %12d\n' "$start"
printf 'compose minus start              %12d\n' "$work"
printf 'GEOS polygonize (one call)       %12d\n' "$geos"
awk -v w="$work" -v g="$geos" 'BEGIN { printf "ratio                            %12.2fx\n", w / g }'

#!/usr/bin/env bash
# CPU time and peak memory of `velmot-cli import` on a generated boundary
# layer, against GDAL alone reading the same file in the same run.
#
#   bench/import_speed.sh [RUNS] [CELLS] [VERTICES]   (default 3 runs, 55, 165)
#
# The layer is a CELLS x CELLS grid of polygons in longitude/latitude whose
# shared borders are wavy lines of VERTICES segments, each written the same
# in both neighbours, as real boundary data is: the default is 3,025
# polygons of about 2 million vertices (42 MB of GeoJSON). The import runs
# with the default size (2560 x 1920) and a memory bound high enough to let
# it through. VELMOT_CLI overrides build/velmot-cli-gis; the peer is
# build/bench_gis --gdal-read.
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-3}
CELLS=${2:-55}
VERTICES=${3:-165}
CLI=${VELMOT_CLI:-build/velmot-cli-gis}
PEER=build/bench_gis
[ -x "$CLI" ] && [ -x "$PEER" ] || { echo "build $CLI and $PEER first (scripts/build.sh)" >&2; exit 2; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

/usr/bin/python3 - "$tmp/grid.geojson" "$CELLS" "$VERTICES" <<'PY'
import math, random, sys
out, n, v = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def corner(i, j):
    r = random.Random(i * 7919 + j)
    jx = r.uniform(-0.25, 0.25) if 0 < i < n else 0
    jy = r.uniform(-0.25, 0.25) if 0 < j < n else 0
    return (130.0 + (i + jx) * 0.2, 30.0 + (j + jy) * 0.2)
def border(a, b, seed):
    r = random.Random(seed)
    f1, f2, p1, p2 = r.uniform(1, 4), r.uniform(5, 11), r.uniform(0, 6.28), r.uniform(0, 6.28)
    a1, a2 = r.uniform(0.03, 0.08), r.uniform(0.005, 0.015)
    pts = []
    for k in range(v + 1):
        t = k / v
        w = math.sin(math.pi * t) * (a1 * math.sin(f1 * math.pi * t + p1) +
                                     a2 * math.sin(f2 * 2 * math.pi * t + p2))
        pts.append('[%.5f,%.5f]' % (a[0] + (b[0] - a[0]) * t + w * (b[1] - a[1]),
                                    a[1] + (b[1] - a[1]) * t - w * (b[0] - a[0])))
    return pts
across = {(i, j): border(corner(i, j), corner(i + 1, j), 1000003 * j + i)
          for j in range(n + 1) for i in range(n)}
up = {(i, j): border(corner(i, j), corner(i, j + 1), 2000003 * i + j + 17)
      for i in range(n + 1) for j in range(n)}
with open(out, 'w') as f:
    f.write('{"type":"FeatureCollection","features":[\n')
    for j in range(n):
        for i in range(n):
            ring = (across[i, j] + up[i + 1, j][1:] + across[i, j + 1][::-1][1:] +
                    up[i, j][::-1][1:])
            f.write(('' if i == 0 and j == 0 else ',\n') +
                    '{"type":"Feature","properties":{"name":"cell %d-%d"},"geometry":'
                    '{"type":"Polygon","coordinates":[[%s]]}}' % (i, j, ','.join(ring)))
    f.write('\n]}\n')
PY

# Best CPU (user + system) and its peak resident memory over the runs.
measure() {
  local best="" line
  for _ in $(seq "$RUNS"); do
    line=$(/usr/bin/time -f '%U %S %M' "$@" 2>&1 >/dev/null | tail -1)
    best=$(echo "$line" | awk -v b="$best" '{c = $1 + $2; if (b == "" || c < b + 0) print c, $3; else print b}' | tr -d '\n')
  done
  echo "$best"
}

echo "source: $(du -m "$tmp/grid.geojson" | cut -f1) MB, $("$PEER" --gdal-read "$tmp/grid.geojson")"
imp=$(measure "$CLI" import "$tmp/grid.geojson" -o "$tmp/out.vlm" --force --max-memory 8000)
gdal=$(measure "$PEER" --gdal-read "$tmp/grid.geojson")
"$CLI" import "$tmp/grid.geojson" -o "$tmp/out.vlm" --force --max-memory 8000 | sed 's/^/velmot-cli: /'
read -r ic im <<<"$imp"
read -r gc gm <<<"$gdal"
awk -v ic="$ic" -v im="$im" -v gc="$gc" -v gm="$gm" 'BEGIN {
  printf "velmot-cli import   %6.2f s CPU  %5.0f MB peak\n", ic, im / 1024
  printf "GDAL alone reading  %6.2f s CPU  %5.0f MB peak\n", gc, gm / 1024
  printf "ratio               %6.2fx       %5.2fx\n", ic / gc, im / gm
}'

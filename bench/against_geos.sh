#!/usr/bin/env bash
# Times the whole `velmot-cli compose` (load, compose, write) against GEOS
# polygonize (through shapely) on the same network, as CPU time, best of
# several runs, and prints the ratio.
#
#   bench/against_geos.sh WORK.vlm [RUNS]      (default 5 runs)
#
# It also times `velmot-cli --version` and gives the composition without the
# process start against GEOS. The maps: the shared world map, and from
# `build/bench_phases --write-map large|sparse OUT.vlm` a large dense one and
# a sparse one of large extent (6995 x 8255 px, under 5,000 records).
#
# The network handed to polygonize (bench/geos_network.py) is the work
# file's point list cut into lines at every shared point, so that it is noded
# as polygonize expects; building those lines is not timed. VELMOT_CLI
# overrides build/velmot-cli, PYTHON the interpreter that has shapely.
set -euo pipefail
cd "$(dirname "$0")/.."
WORK=${1:?usage: bench/against_geos.sh WORK.vlm [RUNS]}
RUNS=${2:-5}
CLI=${VELMOT_CLI:-build/velmot-cli}
# Debian's python3-shapely lives with the system interpreter.
PY=${PYTHON:-/usr/bin/python3}
[ -x "$CLI" ] || { echo "no $CLI: build first (scripts/build.sh)" >&2; exit 2; }
"$PY" -c 'import shapely' 2>/dev/null || { echo "python3-shapely is missing (scripts/deps.sh)" >&2; exit 2; }

PYTHONPATH=bench "$PY" - "$WORK" "$RUNS" "$CLI" <<'EOF'
import os, resource, subprocess, sys, tempfile, time
from shapely.ops import polygonize
from geos_network import noded_lines

work, runs, cli = sys.argv[1], int(sys.argv[2]), sys.argv[3]

count, segs = noded_lines(work)

def cpu_children():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime

best_geos, polygons = float('inf'), 0
for _ in range(runs):
    t = time.process_time()
    polygons = len(list(polygonize(segs)))
    best_geos = min(best_geos, time.process_time() - t)

best_cli, said = float('inf'), ''
with tempfile.TemporaryDirectory() as tmp:
    out = os.path.join(tmp, 'out.vlm')
    for _ in range(runs):
        if os.path.exists(out):
            os.remove(out)
        before = cpu_children()
        r = subprocess.run([cli, 'compose', work, '-o', out], capture_output=True, text=True)
        used = cpu_children() - before
        if r.returncode != 0:
            sys.exit('velmot-cli compose failed:\n' + r.stderr)
        best_cli = min(best_cli, used)
        said = r.stdout.strip()

# What starting the process costs alone, to take off the command's figure.
best_start = float('inf')
for _ in range(runs):
    before = cpu_children()
    subprocess.run([cli, '--version'], capture_output=True)
    best_start = min(best_start, cpu_children() - before)

print(f'map: {work}: {count} records, {len(segs)} noded lines, {polygons} polygons')
print(f'velmot-cli: {said}')
print(f'velmot-cli compose (whole process)  {best_cli * 1000:8.1f} ms CPU')
print(f'GEOS polygonize                     {best_geos * 1000:8.1f} ms CPU')
print(f'ratio                               {best_cli / best_geos:8.2f}x')
print(f'velmot-cli --version (process start) {best_start * 1000:7.1f} ms CPU')
print(f'compose minus start, against GEOS   {(best_cli - best_start) / best_geos:8.2f}x')
EOF

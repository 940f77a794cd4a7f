#!/usr/bin/env bash
# Best-of-N CPU time (user + system) and wall time of one command, for timing
# velmot-cli on a map, e.g.
#
#   bench/cli_time.sh 9 build/velmot-cli check big.vlm --json
#
# The command's output is discarded; its exit code does not matter (a check
# that finds failures exits 1).
set -euo pipefail
RUNS=${1:?usage: bench/cli_time.sh RUNS COMMAND...}
shift
/usr/bin/python3 - "$RUNS" "$@" <<'PY'
import resource, subprocess, sys, time
runs, cmd = int(sys.argv[1]), sys.argv[2:]
best_cpu = best_wall = float('inf')
for _ in range(runs):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    t = time.perf_counter()
    subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - t
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    best_cpu, best_wall = min(best_cpu, cpu), min(best_wall, wall)
print(f"best of {runs}: {best_cpu * 1000:.1f} ms CPU, {best_wall * 1000:.1f} ms wall")
PY

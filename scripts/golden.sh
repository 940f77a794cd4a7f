#!/usr/bin/env bash
# Runs two builds of velmot-cli over the same maps and compares every output
# byte for byte: what a pure move of code must leave unchanged.
#   scripts/golden.sh OLD/velmot-cli NEW/velmot-cli
set -euo pipefail
old=$(realpath "$1"); new=$(realpath "$2")
root=$(cd "$(dirname "$0")/.." && pwd)
maps=("$root/resources/sample/sample.vlm" "$root/../shared/data/world-50m.vlm")
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
run() {  # run CLI OUTDIR MAP
    local cli=$1 out=$2 map=$3 n; n=$(basename "$map" .vlm)
    mkdir -p "$out"; cd "$out"
    cp "$map" in.vlm; [[ -f ${map%.vlm}.bmp ]] && cp "${map%.vlm}.bmp" in.bmp
    { "$cli" compose in.vlm -o c.vlm --idt c.idt --title T --time "2020/01/02 03:04:05" --json
      "$cli" check in.vlm; "$cli" check in.vlm --json; "$cli" info c.idt --json
      "$cli" read-idt c.idt -o r.vlm --json; "$cli" clean in.vlm -o k.vlm --json
      "$cli" export c.vlm -o e.geojson; "$cli" export c.vlm -o e.svg
    } > "$n.out" 2> "$n.err" || true
    sed -i -E "s|$out|OUT|g; s/[0-9.]+ ms/T ms/g; s/\"(ms|seconds)\": *[0-9.]+/\"\1\":T/g" "$n.out" "$n.err"
    cd - >/dev/null
}
status=0
for m in "${maps[@]}"; do
    n=$(basename "$m" .vlm)
    run "$old" "$work/old/$n" "$m"; run "$new" "$work/new/$n" "$m"
    if ! diff -r "$work/old/$n" "$work/new/$n" >/dev/null; then
        echo "$n: outputs differ"; diff -r "$work/old/$n" "$work/new/$n" | head -20; status=1
    else
        echo "$n: $(ls "$work/old/$n" | wc -l) files identical"
    fi
done
exit $status

#!/usr/bin/env bash
# Every #include "folder/..." in src/ must point to the including folder or to
# a folder on a lower floor. A folder missing from the table fails too, so a
# new folder has to be given its floor here.
set -euo pipefail
cd "$(dirname "$0")/../../src"
declare -A floor=(
  [text]=1 [base]=1 [georef]=1
  [store]=2 [raster]=2
  [render]=3 [ops]=3 [formats]=3 [doc]=3
  [compose]=4 [shell]=4 [trace]=4
  [gis]=5
  [usecases]=6
  [editor]=7
  [app]=8 [cli]=8
)
bad=0
for dir in */; do
  dir=${dir%/}
  if [[ -z ${floor[$dir]:-} ]]; then echo "src/$dir has no floor"; bad=1; continue; fi
  while IFS=: read -r file line target; do
    to=${target%%/*}
    [[ $to == "$dir" ]] && continue
    # The batch tool stands beside the editor, on the use cases.
    if [[ $dir == cli && $to == editor ]]; then echo "$file:$line: cli includes \"$target\""; bad=1
    # The window meets the editor at its doors: Editor.h, Ui.h, and the
    # commands of the GIS library the core does not link.
    elif [[ $dir == app && $to == editor && ! $target =~ ^editor/(Editor|Ui|commands/GisCommands)\.h$ ]]; then
      echo "$file:$line: app includes \"$target\" (only the editor's doors)"; bad=1
    elif [[ -z ${floor[$to]:-} ]]; then echo "$file:$line: includes \"$target\" (no such floor)"; bad=1
    elif (( floor[$to] >= floor[$dir] )); then
      echo "$file:$line: $dir (floor ${floor[$dir]}) includes \"$target\" (floor ${floor[$to]})"; bad=1
    fi
  done < <(grep -rnoE '^#include "[a-z]+/[^"]+"' "$dir" | sed -E 's/:#include "/:/; s/"$//')
done
# Inside the editor, the tools run no command group but the three whose
# handlers a press reaches (a point added, a position placed, a control point).
while IFS=: read -r file line target; do
  [[ $target =~ ^editor/commands/(InputPopup|AreaPositionDialog|ControlPoints)\.h$ ]] && continue
  echo "$file:$line: a tool includes \"$target\""; bad=1
done < <(grep -rnoE '^#include "editor/commands/[^"]+"' editor/tools | sed -E 's/:#include "/:/; s/"$//')
# The canvas paints and never switches modes: it knows neither the modes nor
# the tools.
if grep -nE '^#include "editor/(Modes|Services)\.h"|^#include "editor/tools/' editor/Canvas.*; then bad=1; fi
# Nor may a lower floor declare what the editor defines.
for dir in */; do
  dir=${dir%/}
  (( ${floor[$dir]:-9} < ${floor[editor]} )) || continue
  if grep -rnE '\bclass Editor\b|\bEditor&' "$dir"; then bad=1; fi
done
exit $bad

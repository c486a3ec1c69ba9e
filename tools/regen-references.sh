#!/usr/bin/env bash
# Regenerates the recorded regression references after an intended change of the drawing or
# the layout: the draw list of the symbol sheet, and for every demo score its layout JSON and
# the draw list of each page. Look at the sheet and the pages it also writes before committing.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${NUO4_BUILD_DIR:-build/dev}
REFS=tests/app/references
OUT=${TMPDIR:-/tmp}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$BUILD" --target nuo4-cli
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
CLI="$BUILD/src/app/nuo4-cli"
"$CLI" glyphs --symbols --draw-list "$REFS/symbols_draw_list.json" -o "$OUT/nuo4-symbols.png"
for SCORE in resources/demo/*.nuoabc; do
  NAME=$(basename "$SCORE" .nuoabc)
  # Compact, so the references stay small.
  "$CLI" layout "$SCORE" | /usr/bin/python3 -c \
    'import json,sys; print(json.dumps(json.load(sys.stdin), separators=(",", ":"), ensure_ascii=False))' \
    >"$REFS/${NAME}_layout.json"
  "$CLI" render "$SCORE" --draw-list "$REFS/${NAME}_draw_list.json" -o "$OUT/nuo4-$NAME.png" >/dev/null
done
echo "references written; the sheet is $OUT/nuo4-symbols.png, the demo pages $OUT/nuo4-<name>*.png"

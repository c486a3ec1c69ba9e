#!/usr/bin/env bash
# Regenerates the recorded regression references after an intended change of the drawing:
# the draw list of the symbol sheet. Look at the sheet it also writes before committing.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${NUO4_BUILD_DIR:-build/dev}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$BUILD" --target nuo4-cli
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$BUILD/src/app/nuo4-cli" glyphs --symbols --draw-list tests/app/references/symbols_draw_list.json \
  -o "${TMPDIR:-/tmp}/nuo4-symbols.png"
echo "references written; the sheet is ${TMPDIR:-/tmp}/nuo4-symbols.png"

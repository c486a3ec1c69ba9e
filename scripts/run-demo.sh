#!/usr/bin/env bash
# Builds the Release configuration and runs the furthest working path on a bundled demo score.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
BUILD=${NUO4_RUN_BUILD_DIR:-build/release}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUO4_BUILD_TESTS=OFF
cmake --build "$BUILD" -j"$(nproc)"
SCORE=${1:-resources/demo/molihua.nuoabc}
OUT=${NUO4_DEMO_OUT:-build/demo}
mkdir -p "$OUT"
NAME=$(basename "$SCORE" .nuoabc)
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  # A display: the editor on the demo score.
  exec "$BUILD/src/app/nuo4" "$SCORE"
fi
echo "No display (DISPLAY and WAYLAND_DISPLAY are not set): the editor cannot open here;" \
     "typesetting the demo instead."
export QT_QPA_PLATFORM=offscreen
"$BUILD/src/app/nuo4-cli" render "$SCORE" -o "$OUT/$NAME.pdf"
"$BUILD/src/app/nuo4-cli" render "$SCORE" -o "$OUT/$NAME.png" --dpi 150
echo "Typeset: $OUT/$NAME.pdf and $OUT/$NAME*.png"

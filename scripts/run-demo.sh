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
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# Until the editor exists, the furthest path: the score laid out and typeset to PDF and PNG.
"$BUILD/src/app/nuo4-cli" render "$SCORE" -o "$OUT/$NAME.pdf"
"$BUILD/src/app/nuo4-cli" render "$SCORE" -o "$OUT/$NAME.png" --dpi 150
echo "Typeset: $OUT/$NAME.pdf and $OUT/$NAME*.png"

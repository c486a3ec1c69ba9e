#!/usr/bin/env bash
# Builds the Release configuration and runs the furthest working path on a bundled demo score.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
BUILD=${NUO4_RUN_BUILD_DIR:-build/release}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUO4_BUILD_TESTS=OFF
cmake --build "$BUILD" -j"$(nproc)"
SCORE=${1:-resources/demo/molihua.nuoabc}
"$BUILD/src/app/nuo4-cli" parse "$SCORE"

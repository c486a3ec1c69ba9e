#!/usr/bin/env bash
# Builds the test configuration (AddressSanitizer and UndefinedBehaviorSanitizer), checks the
# formatting and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/check-format.sh
BUILD=${NUO4_TEST_BUILD_DIR:-build/test}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNUO4_SANITIZE=ON -DNUO4_BUILD_TESTS=ON \
      -DNUO4_BUILD_BENCH=ON
cmake --build "$BUILD" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"

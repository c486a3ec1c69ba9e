#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each for SECONDS over the
# committed corpus. Usage: tools/fuzz/run.sh SECONDS [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/../.."
SECONDS_PER_TARGET=${1:-60}
shift || true
BUILD=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DNUO4_SANITIZE=ON -DNUO4_BUILD_FUZZ=ON -DNUO4_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tools/fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
mkdir -p tools/fuzz/findings
for t in "${targets[@]}"; do
  corpus="tools/fuzz/corpus/${t#fuzz_}"
  work="$BUILD/work/${t#fuzz_}"
  mkdir -p "$corpus" "$work"
  echo "== $t for ${SECONDS_PER_TARGET}s (corpus $corpus)"
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1 \
    LSAN_OPTIONS=suppressions=tools/fuzz/lsan.supp:print_suppressions=0 \
    "$BUILD/tools/fuzz/$t" -max_total_time="$SECONDS_PER_TARGET" -max_len=8192 -timeout=10 \
      -rss_limit_mb=4096 -artifact_prefix=tools/fuzz/findings/ -print_final_stats=1 \
      "$work" "$corpus"
done

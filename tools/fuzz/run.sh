#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each for SECONDS over the
# committed corpus. Usage: tools/fuzz/run.sh [--fast] SECONDS [TARGET...]
# --fast builds with UBSan only (build/fuzz-fast): several times more inputs a second, for
# hunting slow inputs and crashes; memory errors need the default build.
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD=build/fuzz
SANITIZERS=address,undefined
if [ "${1:-}" = --fast ]; then
  BUILD=build/fuzz-fast
  SANITIZERS=undefined
  shift
fi
SECONDS_PER_TARGET=${1:-60}
shift || true
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DNUO4_SANITIZE=ON -DNUO4_SANITIZERS="$SANITIZERS" \
  -DNUO4_BUILD_FUZZ=ON -DNUO4_BUILD_TESTS=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  cmake --build "$BUILD" -j"$(nproc)"
  for f in tools/fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
else
  cmake --build "$BUILD" -j"$(nproc)" --target "${targets[@]}"
fi
mkdir -p tools/fuzz/findings
for t in "${targets[@]}"; do
  corpus="tools/fuzz/corpus/${t#fuzz_}"
  work="$BUILD/work/${t#fuzz_}"
  mkdir -p "$corpus" "$work"
  # The pipeline takes inputs up to 6 KB (it ignores longer ones) and lays one out in tens of
  # milliseconds under the sanitizers: a second is only reached by a case that grows faster
  # than its input. Qt's
  # font and glyph caches grow during a run, so libFuzzer's leak check after an input would
  # run nearly every input twice; leaks are still reported when the run ends. Its tens of
  # thousands of features make the entropic schedule's bookkeeping cost more than the inputs.
  # Unwinding the stack of every allocation and free costs the pipeline much and finds nothing:
  # it keeps the allocating function (two frames, taken without unwinding), which the leak
  # suppressions match on; with none at all the leak check at exit would pass over every leak.
  # Rerun a finding from its file with ASAN_OPTIONS=malloc_context_size=30 for whole stacks.
  limits=(-max_len=8192 -timeout=10)
  asan=detect_leaks=1
  if [ "$t" = fuzz_pipeline ]; then
    limits=(-max_len=6000 -timeout=1 -detect_leaks=0 -entropic=0)
    asan=detect_leaks=1:malloc_context_size=2
  fi
  echo "== $t for ${SECONDS_PER_TARGET}s (corpus $corpus)"
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=$asan \
    LSAN_OPTIONS=suppressions=tools/fuzz/lsan.supp:print_suppressions=0 \
    "$BUILD/tools/fuzz/$t" -max_total_time="$SECONDS_PER_TARGET" "${limits[@]}" \
      -rss_limit_mb=4096 -artifact_prefix=tools/fuzz/findings/ -print_final_stats=1 \
      "$work" "$corpus"
done

#!/usr/bin/env bash
# Fails when a C++ source of the project does not follow .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' \
                       'tests/*.h' 'bench/*.cpp' 'tools/*.cpp' 'tools/*.h')
[ ${#files[@]} -eq 0 ] && exit 0
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "Formatting differs from .clang-format; run: clang-format -i <files>" >&2
  exit 1
fi
echo "format check: ${#files[@]} files follow .clang-format"

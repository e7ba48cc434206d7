#!/usr/bin/env bash
# Fails when a C++ source of the tree is off the house style (.clang-format).
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files=$(git ls-files '*.cpp' '*.h')
else
  files=$(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
echo "$files" | xargs clang-format --dry-run --Werror

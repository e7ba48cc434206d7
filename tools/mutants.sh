#!/usr/bin/env bash
# Mutation check: applies each deliberate fault of tools/mutants.txt alone to
# the tree, rebuilds and runs the suite (the fast tests first, then the runs of
# the programs), and expects it to fail. Prints one
# line a mutant and exits 1 when any survived or did not apply.
#   tools/mutants.sh [BUILD_DIR] [LIST]   (default build-mutants tools/mutants.txt)
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-mutants}
list=${2:-tools/mutants.txt}

generator=()
[ -e "$build/CMakeCache.txt" ] || ! command -v ninja >/dev/null || generator=(-G Ninja)
cmake -S . -B "$build" "${generator[@]}" >/dev/null || exit 2
cmake --build "$build" -j2 >/dev/null || { echo "the unmutated tree does not build"; exit 2; }
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest -j2 >/dev/null) || { echo "the unmutated suite fails"; exit 2; }

caught=0 survived=0 broken=0
while IFS= read -r line; do
  case "$line" in ''|'#'*) continue ;; esac
  file=$(echo "$line" | awk -F ' [|] ' '{print $1}')
  what=$(echo "$line" | awk -F ' [|] ' '{print $4}')
  cp "$file" "$file.orig"
  if ! python3 - "$file" "$line" <<'PY'
import sys
path, line = sys.argv[1], sys.argv[2]
_, old, new, _ = line.split(' | ')
old, new = old.replace('\\n', '\n'), new.replace('\\n', '\n')
text = open(path).read()
if old not in text:
    sys.exit(1)
open(path, 'w').write(text.replace(old, new, 1))
PY
  then
    echo "NOT APPLIED  $file: $what"; broken=$((broken + 1)); mv "$file.orig" "$file"; continue
  fi
  if ! cmake --build "$build" -j2 >/dev/null 2>&1; then
    verdict="caught (build)"
  elif (cd "$build" && QT_QPA_PLATFORM=offscreen ctest -j4 -E '^(soak|e2e|package)[.]' --stop-on-failure >/dev/null 2>&1 &&
    QT_QPA_PLATFORM=offscreen ctest -j4 -R '^(e2e|package)[.]' --stop-on-failure >/dev/null 2>&1); then
    verdict="SURVIVED"
  else
    verdict="caught"
  fi
  mv "$file.orig" "$file"
  touch "$file"
  case "$verdict" in caught*) caught=$((caught + 1)) ;; *) survived=$((survived + 1)) ;; esac
  printf '%-15s %s: %s\n' "$verdict" "$file" "$what"
done < "$list"
cmake --build "$build" -j2 >/dev/null
echo "caught $caught, survived $survived, not applied $broken"
[ "$survived" -eq 0 ] && [ "$broken" -eq 0 ]

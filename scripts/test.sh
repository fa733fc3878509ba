#!/usr/bin/env bash
# Builds Kestavine Idle and its tests for 64-bit and 32-bit Windows and runs
# the whole suite of each under Wine, on a virtual display when there is none.
# Installs what is missing first. Name presets to run only those
# (scripts/test.sh mingw-x64).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
source scripts/virtual-display.sh

presets=("$@")
[[ ${#presets[@]} -gt 0 ]] || presets=(mingw-x64 mingw-x86)
for preset in "${presets[@]}"; do
  echo "== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

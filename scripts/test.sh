#!/usr/bin/env bash
# Builds Kestavine Idle and its tests for 64-bit Windows and runs the whole
# suite under Wine, on a virtual display when there is none. Installs what is
# missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
source scripts/virtual-display.sh

cmake --preset mingw-x64
cmake --build --preset mingw-x64
ctest --preset mingw-x64

#!/usr/bin/env bash
# Times SendChat against the stand-in chat host in another process: the median
# and p90 of many calls to a responsive host, and what a hung host costs.
# Builds what it needs first. Usage: bench/sendchat.sh [calls]   (default 200)
# SENDCHAT_BUILD_DIR picks the build folder (default build/mingw-x64).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${SENDCHAT_BUILD_DIR:-$root/build/mingw-x64}
calls=${1:-200}

if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake --preset mingw-x64 -S "$root" -B "$build" >&2
fi
cmake --build "$build" --target sendchat_bench chathost -j2 >&2

echo "| measure | figure |"
echo "|---|---|"
"$root/cmake/wine-run.sh" "$build/bin/sendchat_bench.exe" "$calls"

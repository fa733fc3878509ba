#!/usr/bin/env bash
# The program's file: its size and the DLLs it imports, for each build tree
# that has it (64-bit build/mingw-x64, 32-bit build/mingw-x86).
#
#   bench/size.sh          (after a build; prints Markdown table rows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe="Kestavine Idle 1.0.exe"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-size.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

row() {
  local arch=$1 tools=$2 file=$root/build/mingw-$1/bin/$exe bytes stripped imports
  [[ -f $file ]] || return 0
  bytes=$(stat -c %s "$file")
  # The build keeps its symbols; what a release without them would weigh:
  "$tools-strip" -o "$tmp/$arch.exe" "$file"
  stripped=$(stat -c %s "$tmp/$arch.exe")
  imports=$("$tools-objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | paste -sd, | sed 's/,/, /g')
  echo "| Size of \`$exe\`, $arch | $bytes bytes ($(awk "BEGIN { printf \"%.0f\", $bytes / 1024 }") KiB); without symbols $stripped bytes ($(awk "BEGIN { printf \"%.0f\", $stripped / 1024 }") KiB) | imports: $imports |"
}

row x64 x86_64-w64-mingw32
row x86 i686-w64-mingw32

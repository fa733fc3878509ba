#!/usr/bin/env bash
# What ships: the program as each build makes it (the release program, built
# for size and without symbols) with the DLLs it imports, for the 64-bit and
# the 32-bit build when they are there, and the release zips that
# scripts/package.sh leaves in dist/, when it has.
#
#   bench/size.sh          (after a build; prints Markdown table rows)
#   BENCH_BIN, BENCH_BIN_X86   the builds' program folders (default
#                          build/mingw-x64/bin and build/mingw-x86/bin)
# shellcheck source=bench/lib.sh
source "$(dirname "$0")/lib.sh"

# "N bytes (K KiB)" of a file.
size() {
  local bytes
  bytes=$(stat -c %s "$1")
  echo "$bytes bytes ($(kv_calc "$bytes / 1024" %.1f) KiB)"
}

# The comma-separated lines of a command's output.
listed() { "$@" | paste -sd, | sed 's/,/, /g'; }

program_row() {
  local arch=$1 objdump=$2 file=$3/$KESTAVINE_EXE
  [[ -f $file ]] || return 0
  bench_row "Size of \`$KESTAVINE_EXE\`, $arch" "$(size "$file")" \
    "imports: $(listed sed -n 's/^[[:space:]]*DLL Name: //p' < <("$objdump" -p "$file"))"
}

zip_row() {
  [[ -f $1 ]] || return 0
  bench_row "Size of the release zip \`${1##*/}\`" "$(size "$1")" "holds: $(listed unzip -Z1 "$1")"
}

program_row x64 x86_64-w64-mingw32-objdump "$BENCH_BIN"
program_row x86 i686-w64-mingw32-objdump "${BENCH_BIN_X86:-$KV_ROOT/build/mingw-x86/bin}"
shopt -s nullglob
for zip in "$KV_ROOT"/dist/Kestavine-Idle-*-win64.zip "$KV_ROOT"/dist/Kestavine-Idle-*-win32.zip; do
  zip_row "$zip"
done

#!/usr/bin/env bash
# Builds the 64-bit and the 32-bit program and packs each as Windows users
# download it: dist/Kestavine-Idle-1.0-win64.zip and -win32.zip, each holding
# the program, a read-me and the licence, and dist/SHA256SUMS. Installs what
# is missing first. One commit packs to the same bytes in any folder at any
# time: the files in a zip come in a fixed order, with fixed attributes and
# the time of the commit (or of SOURCE_DATE_EPOCH when it is set).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

exe="Kestavine Idle 1.0.exe"
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
dist=$PWD/dist
stage=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
rm -rf "$dist"
mkdir -p "$dist"

# Text files as Windows' Notepad shows them: with CRLF line ends.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }

for build in mingw-x64:win64 mingw-x86:win32; do
  preset=${build%%:*}
  zip=Kestavine-Idle-1.0-${build##*:}.zip
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target kestavine_idle
  rm -rf "${stage:?}/$preset"
  mkdir "$stage/$preset"
  cp "build/$preset/bin/$exe" "$stage/$preset/"
  crlf docs/README-Windows.txt "$stage/$preset/README.txt"
  crlf LICENSE "$stage/$preset/LICENSE.txt"
  chmod 644 "$stage/$preset"/*
  touch -d "@$epoch" "$stage/$preset"/*
  # -X: no owners or extra time stamps; TZ: the stored local time is UTC.
  (cd "$stage/$preset" && TZ=UTC zip -X -q "$dist/$zip" "$exe" README.txt LICENSE.txt)
done

(cd "$dist" && sha256sum Kestavine-Idle-1.0-win64.zip Kestavine-Idle-1.0-win32.zip >SHA256SUMS)
cat "$dist/SHA256SUMS"

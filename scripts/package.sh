#!/usr/bin/env bash
# Builds the 64-bit and the 32-bit program and packs each as Windows users
# download it: dist/Kestavine-Idle-1.0-win64.zip and -win32.zip, each holding
# the program, a read-me and the licence, dist/SHA256SUMS, and dist/BUILDINFO,
# which names the commit, the Debian release and the exact versions of the
# packages that made the bytes. Installs what building needs first. One commit
# packs to the same bytes in any folder at any time with the same packages:
# the files in a zip come in a fixed order, with fixed attributes and the
# time of the commit (or of SOURCE_DATE_EPOCH when it is set).
#
# Run here, it is a local try; a release is made in a fresh root of one
# Debian release (scripts/release.sh), and rebuilt from its BUILDINFO by
# scripts/check-reproducible.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/release-lib.sh
source scripts/release-lib.sh

scripts/install-deps.sh build

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
  # The 32-bit program must run on Windows XP: no release without that.
  [[ $preset != mingw-x86 ]] || /usr/bin/python3 tests/winxp/imports_test.py "build/$preset/bin/$exe"
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
kv_buildinfo "$(git rev-parse HEAD)" "$epoch" >"$dist/BUILDINFO"
cat "$dist/SHA256SUMS" "$dist/BUILDINFO"

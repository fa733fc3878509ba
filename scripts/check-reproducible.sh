#!/usr/bin/env bash
# Checks that a commit packs to the same bytes wherever and whenever it is
# built: two fresh clones in folders of different names and depths, packed one
# after the other under different time zones and umasks. Prints the SHA-256
# sums of both programs and both zips, and fails if the two builds differ.
#
#   scripts/check-reproducible.sh [COMMIT]     (default: HEAD)
set -euo pipefail
cd "$(dirname "$0")/.."

commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")
scripts/install-deps.sh
work=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT

# pack FOLDER TZ UMASK: clones the commit into FOLDER, packs it, prints the sums.
pack() {
  local dir=$1
  git clone -q --no-checkout "$PWD" "$dir"
  git -C "$dir" checkout -q "$commit"
  if ! (cd "$dir" && umask "$3" && TZ=$2 scripts/package.sh) >"$dir.log" 2>&1; then
    cat "$dir.log" >&2
    return 1
  fi
  (cd "$dir" && sha256sum build/mingw-{x64,x86}/bin/"Kestavine Idle 1.0.exe" dist/*.zip)
}

echo "Packing $commit twice ..."
first=$(pack "$work/first" UTC 022)
second=$(pack "$work/another/folder/second" Pacific/Auckland 077)
echo "$first"
if [[ $first != "$second" ]]; then
  echo "The two builds differ:"
  diff <(echo "$first") <(echo "$second") || true
  exit 1
fi
echo "Reproducible: both builds gave these bytes."

#!/usr/bin/env bash
# Makes a release of the checked-out commit: packs it with scripts/package.sh
# in a fresh root of one Debian release, so that its bytes come from that
# release's packages alone and not from whatever this machine has, and puts
# the zips, SHA256SUMS and BUILDINFO into dist/. Anyone can rebuild it from
# its BUILDINFO with scripts/check-reproducible.sh.
#
#   scripts/release.sh [RELEASE]     (default: 13, Debian 13 "trixie")
#
# Debian 13 is the stable release, whose packages change only by point
# releases and security fixes, so a root of it can be made for years; its
# MinGW-w64 (GCC 14, binutils 2.44) still builds the 32-bit program for
# Windows XP, which package.sh checks. Needs what scripts/debian-root.sh
# needs (root or sudo, mounts, chroot), and exits 77 where that is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

release=${1:-13}
git diff --quiet HEAD -- ||
  echo "Note: the release is of commit $(git rev-parse --short HEAD) as committed; the tree's changes are not in it"
work=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-release.XXXXXX")
trap 'rm -rf "$work"' EXIT
started=$SECONDS
scripts/debian-root.sh --results "$work/root" "$release" scripts/package.sh

rm -rf dist
cp -r "$work/root/dist" dist
echo
echo "== The release, in dist/ (made in $((SECONDS - started)) s):"
(cd dist && ls -l -- *.zip SHA256SUMS BUILDINFO && cat SHA256SUMS BUILDINFO)

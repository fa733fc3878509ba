#!/usr/bin/env bash
# Checks that the same bytes come out again.
#
#   scripts/check-reproducible.sh RELEASE-FOLDER
#   scripts/check-reproducible.sh BUILDINFO [SHA256SUMS]
#
# A release: rebuilds the commit its BUILDINFO names in a fresh root of the
# Debian release it names, and compares. First the root's packages with the
# recorded ones: where the archive has moved on since, it says which package
# versions differ, since other bytes then need not mean another program.
# Then each zip in SHA256SUMS (by default the one beside BUILDINFO) with the
# rebuilt one, and, where the release's zip lies beside SHA256SUMS, which file
# in it differs. The commit must be in this repository. Exits 0 when the
# bytes match, 1 when they differ on the recorded packages (or the release's
# zip does not match its own SHA256SUMS), 2 when they differ and the packages
# are not those recorded, and 77 when this machine cannot make the root.
#
#   scripts/check-reproducible.sh [COMMIT]     (default: HEAD)
#
# A commit, on this machine: two fresh clones in folders of different names
# and depths, packed one after the other under different time zones and
# umasks. Prints the SHA-256 sums of both programs and both zips, and fails
# if the two builds differ.
set -euo pipefail
# Paths given are the caller's, taken before leaving the caller's folder.
args=()
for arg in "$@"; do
  if [[ -e $arg ]]; then args+=("$(realpath "$arg")"); else args+=("$arg"); fi
done
cd "$(dirname "$0")/.."
# shellcheck source=scripts/release-lib.sh
source scripts/release-lib.sh
work=
trap 'rm -rf "$work"' EXIT

# check_release BUILDINFO SHA256SUMS
check_release() {
  local buildinfo=$1 sums=$2 commit debian status=0
  commit=$(kv_buildinfo_field "$buildinfo" Commit)
  debian=$(kv_buildinfo_field "$buildinfo" Debian-Release)
  if [[ -z $commit ]]; then
    echo "$buildinfo names no commit: it is not a release's BUILDINFO"
    return 1
  elif [[ -n $(kv_buildinfo_field "$buildinfo" Uncommitted) ]]; then
    echo "$buildinfo is of a tree with uncommitted changes: no commit rebuilds it"
    return 1
  elif [[ -z $debian ]]; then
    echo "$buildinfo was made on $(kv_buildinfo_field "$buildinfo" System), not on a Debian release: no root of it can be made"
    return 1
  elif ! git cat-file -e "$commit^{commit}" 2>/dev/null; then
    echo "Commit $commit is not in this repository ($PWD): fetch the history that holds it, then check again"
    return 1
  fi

  work=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-rebuild.XXXXXX")
  echo "== Rebuilding $commit in a fresh Debian $debian root"
  scripts/debian-root.sh --commit "$commit" --results "$work" "$debian" scripts/package.sh || status=$?
  ((status != 77)) || return 77
  if ((status != 0)) || [[ ! -f $work/dist/SHA256SUMS ]]; then
    echo "The rebuild failed (status $status): nothing to compare"
    return 1
  fi

  echo
  echo "== $commit rebuilt, compared with the release"
  kv_compare_release "$buildinfo" "$sums" "$work/dist"
}

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

if [[ -d ${args[0]:-} ]]; then
  check_release "${args[0]}/BUILDINFO" "${args[0]}/SHA256SUMS"
  exit
elif [[ -f ${args[0]:-} ]]; then
  check_release "${args[0]}" "${args[1]:-$(dirname "${args[0]}")/SHA256SUMS}"
  exit
fi

commit=$(git rev-parse --verify "${args[0]:-HEAD}^{commit}")
scripts/install-deps.sh build
work=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-reproducible.XXXXXX")

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

#!/usr/bin/env bash
# A release against its rebuild, on made-up releases: which packages moved,
# which file in a zip differs, and what the check concludes from both.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../e2e/lib.sh"
# shellcheck source=scripts/release-lib.sh
source "$KV_ROOT/scripts/release-lib.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-release-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
exe="Kestavine Idle 1.0.exe"

# release FOLDER README-TEXT PACKAGE-LINE...: a release as package.sh makes
# one: a zip of the program, its read-me and licence, SHA256SUMS, BUILDINFO.
release() {
  local dir=$1 text=$2 files=$work/files.$RANDOM
  shift 2
  mkdir -p "$dir" "$files"
  printf 'MZ\x90\0program' >"$files/$exe"
  printf '%s\r\n' "$text" >"$files/README.txt"
  printf 'MIT\r\n' >"$files/LICENSE.txt"
  touch -d @1796712337 "$files"/*
  (cd "$files" && TZ=UTC zip -X -q "$dir/Kestavine-Idle-1.0-win32.zip" "$exe" README.txt LICENSE.txt)
  (cd "$dir" && sha256sum Kestavine-Idle-1.0-win32.zip >SHA256SUMS)
  printf '%s\n' "Commit: 0123abc" "Debian-Release: trixie" "$@" >"$dir/BUILDINFO"
}
compare() {
  kv_compare_release "$1/BUILDINFO" "$1/SHA256SUMS" "$2" >"$work/out" && status=0 || status=$?
  cat "$work/out"
}
said() { grep -qF -- "$1" "$work/out"; }

packages=("Package: zip 3.0-15" "Package: binutils-mingw-w64-i686 2.44-3" "Package: mingw-w64-common 12.0.0-5")
release "$work/released" "Kestavine Idle for Windows" "${packages[@]}"

echo "-- the packages"
printf '%s\n' "Package: zip 3.0-15" "Package: binutils-mingw-w64-i686 2.45-1" "Package: make 4.4.1-2" \
  "Unpackaged: /usr/local/bin/cmake" >"$work/moved"
e2e_check "a changed version, a package gone, one come and a tool of no package are each named" \
  test "$(kv_package_changes "$work/released/BUILDINFO" "$work/moved")" = \
  "/usr/local/bin/cmake: unpackaged in the rebuild, not in the release
binutils-mingw-w64-i686: 2.44-3 in the release, 2.45-1 in the rebuild
make: 4.4.1-2 in the rebuild, not in the release
mingw-w64-common: 12.0.0-5 in the release, not in the rebuild"

# dpkg's answers where /usr is merged but a package still names its file
# under /bin, and where one file belongs to two packages.
mkdir "$work/bin"
cat >"$work/bin/dpkg-query" <<'STUB'
#!/bin/bash
[[ $1 == -W ]] && exec printf '%s 1.0\n' "${@:4}"
[[ " $* " != *" /bin/sed "* ]] || echo "sed: /bin/sed"
[[ " $* " != *" /usr/bin/cmake "* ]] || echo "cmake, cmake-data:amd64: /usr/bin/cmake"
STUB
chmod +x "$work/bin/dpkg-query"
touch "$work/tool"
kv_release_files() { printf '%s\n' /usr/bin/sed /usr/bin/cmake "$work/tool" /usr/bin/cmake; }
e2e_check "the packages that own the tools are found, under /bin too, and a tool of none is named" \
  test "$(PATH=$work/bin:$PATH kv_release_packages)" = "unpackaged $work/tool
cmake 1.0
cmake-data:amd64 1.0
sed 1.0"

echo "-- the zips"
release "$work/same" "Kestavine Idle for Windows" "${packages[@]}"
compare "$work/released" "$work/same"
e2e_check "the same bytes from the same packages: reproduced" test "$status" = 0
e2e_check "... and said so" said "Reproduced: commit 0123abc"

release "$work/planted" "Kestavine Idle for Windowz" "${packages[@]}"
compare "$work/released" "$work/planted"
e2e_check "one byte of the read-me: not reproduced" test "$status" = 1
e2e_check "... the zip is named, and the read-me in it, and nothing else" \
  test "$(grep -F DIFFERS "$work/out" | cut -d: -f1)|$(sed -n 's/^  //p' "$work/out")" = \
  "Kestavine-Idle-1.0-win32.zip|README.txt: differs, from byte 26 on"

release "$work/moved-on" "Kestavine Idle for Windowz" "${packages[@]:0:2}" "Package: mingw-w64-common 12.0.0-6"
compare "$work/released" "$work/moved-on"
e2e_check "other bytes from other packages: not conclusive" test "$status" = 2
e2e_check "... and the package that moved is named" said "mingw-w64-common: 12.0.0-5 in the release, 12.0.0-6 in the rebuild"

cp -r "$work/released" "$work/forged"
cp "$work/planted/Kestavine-Idle-1.0-win32.zip" "$work/forged/"
compare "$work/forged" "$work/same"
e2e_check "a zip that is not the one its SHA256SUMS names fails, even where the sums match" test "$status" = 1
e2e_check "... and the file in it that differs is named" said "README.txt: differs"

unzip -q "$work/released/Kestavine-Idle-1.0-win32.zip" -d "$work/later" && touch -d @1796799999 "$work/later"/*
(cd "$work/later" && TZ=UTC zip -X -q ../later.zip "$exe" README.txt LICENSE.txt)
e2e_check "the same files at another time: the zips' records are named, not a file" \
  test "$(kv_zip_differences "$work/released/Kestavine-Idle-1.0-win32.zip" "$work/later.zip")" = \
  "the files in them are the same: the zips' own records of them (times, attributes, order) differ"
unzip -q "$work/released/Kestavine-Idle-1.0-win32.zip" -d "$work/less" && rm "$work/less/$exe"
(cd "$work/less" && zip -X -q ../less.zip README.txt LICENSE.txt)
e2e_check "a file the rebuild lacks is named as such" \
  test "$(kv_zip_differences "$work/released/Kestavine-Idle-1.0-win32.zip" "$work/less.zip")" = "$exe: only in the release"
e2e_finish

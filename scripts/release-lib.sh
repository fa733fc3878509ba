# shellcheck shell=bash
# Sourced by the package and reproducibility scripts: what a release records
# of the machine that made it (its BUILDINFO), and how a rebuild is told apart
# from it: by the packages that made the bytes, and by the files in the zips.
set -euo pipefail

# The triplets of the two toolchains, 64-bit and 32-bit.
KV_TRIPLETS=(x86_64-w64-mingw32 i686-w64-mingw32)

# The files whose packages make the release's bytes, one a line: each
# toolchain's compiler drivers and the compilers proper, the assembler and
# the linker, windres and the preprocessor it runs (its triplet's plain gcc),
# the runtime and system libraries linked in statically, and the headers;
# then the tools that configure, build and pack.
kv_release_files() {
  local triplet cxx name
  for triplet in "${KV_TRIPLETS[@]}"; do
    cxx=$triplet-g++-posix
    command -v "$cxx" "$triplet-gcc-posix" "$triplet-gcc" "$triplet-windres" || true
    command -v "$cxx" >/dev/null || continue
    for name in cc1 cc1plus as ld collect2; do
      name=$("$cxx" -print-prog-name="$name")
      # A program it does not find in its own folders it runs from the PATH.
      [[ $name == */* ]] || name=$(command -v "$name") || continue
      echo "$name"
    done
    for name in libstdc++.a libgcc.a libgcc_eh.a libpthread.a crt2.o libmingw32.a libmingwex.a \
      libmsvcrt.a libkernel32.a libuser32.a libgdi32.a; do
      "$cxx" -print-file-name="$name"
    done
    echo "/usr/$triplet/include/windows.h"
    echo "/usr/$triplet/include/_mingw.h"
  done
  command -v cmake make zip sed || true
}

# The packages that own those files, "NAME VERSION" a line, sorted; a file
# that no package owns (a tool installed by hand) as "unpackaged PATH".
kv_release_packages() {
  local file owned owned_paths paths=()
  declare -A seen=()
  while IFS= read -r file; do
    file=$(readlink -f "$file") || continue
    [[ -e $file && -z ${seen[$file]:-} ]] || continue
    seen[$file]=1
    paths+=("$file")
  done < <(kv_release_files)
  # dpkg names a file by the path its package has: with /usr merged, a
  # package may still have it under /bin or /lib.
  # Its answer: "PACKAGE[, PACKAGE...]: PATH" a line.
  owned=$(dpkg-query -S "${paths[@]}" "${paths[@]#/usr}" 2>/dev/null | grep -v '^diversion ' || true)
  owned_paths=$(awk -F ': ' '{ print $NF }' <<<"$owned")
  for file in "${paths[@]}"; do
    grep -qxF -e "$file" -e "${file#/usr}" <<<"$owned_paths" || echo "unpackaged $file"
  done
  # shellcheck disable=SC2016 # dpkg-query's fields
  [[ -z $owned ]] || awk -F ': ' '{ gsub(/, /, "\n", $1); print $1 }' <<<"$owned" | sort -u |
    xargs -r dpkg-query -W -f '${binary:Package} ${Version}\n'
}

# kv_buildinfo COMMIT EPOCH: the BUILDINFO of a release of COMMIT packed at
# EPOCH on this machine, as "Key: value" lines.
kv_buildinfo() {
  local ID="" VERSION_CODENAME="" PRETTY_NAME="unknown system" line
  # shellcheck disable=SC1091 # the machine's own
  [[ ! -r /etc/os-release ]] || source /etc/os-release
  echo "Source: Kestavine Idle, scripts/package.sh"
  echo "Commit: $1"
  git diff --quiet HEAD -- 2>/dev/null ||
    echo "Uncommitted: yes (the tree had changes that no commit holds: no one can rebuild this)"
  echo "Date: $(date -u -d "@$2" '+%Y-%m-%d %H:%M:%S') UTC (SOURCE_DATE_EPOCH $2)"
  line="System: $PRETTY_NAME"
  [[ ! -r /etc/debian_version ]] || line+=", $(cat /etc/debian_version)"
  echo "$line"
  [[ $ID != debian || -z $VERSION_CODENAME ]] || echo "Debian-Release: $VERSION_CODENAME"
  echo "Architecture: $(dpkg --print-architecture 2>/dev/null || uname -m)"
  kv_release_packages | sed 's/^unpackaged /Unpackaged: /; t; s/^/Package: /'
}

# kv_buildinfo_field FILE KEY: the value of the first "KEY: value" line.
kv_buildinfo_field() { sed -n "s/^$2: //p" "$1" | head -n 1; }

# kv_package_changes RELEASED REBUILT: the packages whose versions differ
# between two BUILDINFO files, or that only one of them has, one a line.
kv_package_changes() {
  awk '
    /^(Package|Unpackaged): / && FNR == NR { was[$2] = $1 == "Package:" ? $3 : "unpackaged"; next }
    /^(Package|Unpackaged): / { now[$2] = $1 == "Package:" ? $3 : "unpackaged" }
    END {
      for (p in was) if (!(p in now)) print p ": " was[p] " in the release, not in the rebuild"
      for (p in now)
        if (!(p in was)) print p ": " now[p] " in the rebuild, not in the release"
        else if (was[p] != now[p]) print p ": " was[p] " in the release, " now[p] " in the rebuild"
    }' "$1" "$2" | LC_ALL=C sort
}

# kv_zip_differences RELEASED REBUILT: which files differ between two zips,
# one a line; when none does, that the zips' own records of them do.
kv_zip_differences() {
  local work name found=0 at
  work=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-zips.XXXXXX")
  if ! { unzip -q "$1" -d "$work/release" && unzip -q "$2" -d "$work/rebuild"; } 2>/dev/null; then
    rm -rf "$work"
    echo "one of the zips does not unpack"
    return
  fi
  while IFS= read -r name; do
    if [[ ! -f $work/rebuild/$name ]]; then
      echo "$name: only in the release"
    elif [[ ! -f $work/release/$name ]]; then
      echo "$name: only in the rebuild"
    elif at=$(cmp "$work/release/$name" "$work/rebuild/$name" 2>&1); then
      continue
    else
      at=${at#*differ: } # cmp: "A B differ: byte N, line M"
      echo "$name: differs, from ${at%%,*} on"
    fi
    found=1
  done < <({ unzip -Z1 "$1" && unzip -Z1 "$2"; } | LC_ALL=C sort -u)
  ((found)) || echo "the files in them are the same: the zips' own records of them (times, attributes, order) differ"
  rm -rf "$work"
}

# kv_compare_release BUILDINFO SHA256SUMS REBUILT: a release against its
# rebuild (a folder as package.sh's dist/): first the packages, then each zip
# that SHA256SUMS names, and, where the release's zip lies beside SHA256SUMS,
# which file in it differs. Returns 0 when the bytes match, 1 when they differ
# on the recorded packages or the release's zip is not the one its
# SHA256SUMS names, 2 when they differ and so do the packages.
kv_compare_release() {
  local buildinfo=$1 sums=$2 rebuilt=$3 commit debian changes
  local sum name now beside differ=0 forged=0 folder
  folder=$(dirname "$sums")
  commit=$(kv_buildinfo_field "$buildinfo" Commit)
  debian=$(kv_buildinfo_field "$buildinfo" Debian-Release)
  if [[ ! -f $rebuilt/BUILDINFO ]]; then
    changes="the commit's package.sh writes no BUILDINFO: the root's packages are not compared"
  else
    changes=$(kv_package_changes "$buildinfo" "$rebuilt/BUILDINFO")
  fi
  if [[ -n $changes ]]; then
    echo "The archive has moved on since the release: the root's packages are not those recorded:"
    echo "  ${changes//$'\n'/$'\n'  }"
  else
    echo "Packages: the root's are those recorded, version for version"
  fi

  while read -r sum name; do
    name=${name#\*}
    now=$(cd "$rebuilt" && sha256sum "$name" 2>/dev/null | cut -d' ' -f1) || now=
    beside=$folder/$name
    if [[ -f $beside && $(sha256sum "$beside" | cut -d' ' -f1) != "$sum" ]]; then
      echo "$name: DIFFERS: the file beside SHA256SUMS is not the one SHA256SUMS names"
      differ=1 forged=1
    elif [[ -z $now ]]; then
      echo "$name: DIFFERS: the rebuild made no such file"
      differ=1
      continue
    elif [[ $now == "$sum" ]]; then
      echo "$name: same bytes ($sum)"
      continue
    else
      echo "$name: DIFFERS: $sum in the release, $now rebuilt"
      differ=1
    fi
    if [[ ! -f $beside ]]; then
      echo "  (put the release's zip beside SHA256SUMS to see which file in it differs)"
    elif [[ $(sha256sum "$beside" | cut -d' ' -f1) == "$now" ]]; then
      echo "  the rebuild gives the zip beside it: it is SHA256SUMS that is wrong"
    else
      if command -v unzip >/dev/null; then
        kv_zip_differences "$beside" "$rebuilt/$name" | sed 's/^/  /'
      else
        echo "  (install unzip to see which file in it differs)"
      fi
    fi
  done <"$sums"

  echo
  if ((differ == 0)); then
    echo "Reproduced: commit $commit, rebuilt in a fresh Debian $debian root, gives the release's bytes"
  elif [[ -z $changes ]] || ((forged)); then
    echo "NOT reproduced: the release's files are not what commit $commit gives (above)"
    return 1
  else
    echo "Not reproduced, and not conclusive: the bytes differ, but so do the packages (above)"
    return 2
  fi
}

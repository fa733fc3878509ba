#!/usr/bin/env bash
# The 32-bit program as Windows XP's loader sees it: its header names Windows
# XP (5.01) as the oldest Windows it runs on, and every function it imports is
# one that the system DLLs of the XP era export (the lists in exports/).
#   imports_test.sh OBJDUMP PROGRAM
set -euo pipefail
objdump=$1
program=$2
exports=$(dirname "$0")/exports
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

header=$("$objdump" -p "$program")
for field in MajorOSystemVersion=5 MinorOSystemVersion=1 MajorSubsystemVersion=5 MinorSubsystemVersion=1; do
  value=$(awk -v name="${field%=*}" '$1 == name { print $2 }' <<<"$header")
  [[ $value == "${field#*=}" ]] || fail "${field%=*} is '$value', not ${field#*=}"
done

# The import tables, one "dll name" a line: objdump lists each DLL's name,
# then one "address hint name" row a function.
imports=$(awk '/^\tDLL Name: / { dll = tolower($3); sub(/\.dll$/, "", dll); next }
  dll != "" && /^\t[0-9a-f]+\t/ { print dll, $3 }
  /^$/ { dll = "" }' <<<"$header")
count=$(wc -l <<<"$imports")
((count > 50)) || fail "only $count imports found: the import tables were not read"

while read -r dll; do
  if [[ ! -f $exports/$dll.txt ]]; then
    fail "imports from $dll.dll, for which there is no XP-era list"
    continue
  fi
  while read -r name; do
    fail "$dll.dll has no export \"$name\" in the XP era"
  done < <(awk -v dll="$dll" '$1 == dll { print $2 }' <<<"$imports" | LC_ALL=C sort -u | LC_ALL=C comm -23 - "$exports/$dll.txt")
done < <(awk '{ print $1 }' <<<"$imports" | sort -u)

echo "$count imports checked against the XP-era lists"
((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"

#!/usr/bin/env bash
# README.md against the tree it maps, so that the map cannot drift from it: at
# most 200 lines; every `path` in its Layout (which puts nothing else in
# backticks) exists, and every top-level folder git tracks is named there;
# every relative link of README.md, docs/ and bench/ finds its file, and the
# heading it names, whose anchor is made as GitHub makes it.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../e2e/lib.sh"
cd "$KV_ROOT"
e2e_check "README.md has at most 200 lines ($(wc -l <README.md))" test "$(wc -l <README.md)" -le 200

layout=$(awk '/^## / { on = $0 == "## Layout" } on' README.md)
folders=$(git ls-files | sed -n 's|/.*||p' | sort -u) # fails, and so ends the test, without git
missing=() unnamed=() broken=()
while read -r path; do [[ -e $path ]] || missing+=("$path"); done < <(grep -o "\`[^\`]*\`" <<<"$layout" | tr -d '`')
for folder in $folders; do [[ $layout == *"\`$folder/"* ]] || unnamed+=("$folder/"); done
e2e_check "every path the Layout names exists (missing: ${missing[*]:-none})" test ${#missing[@]} = 0
e2e_check "the Layout names every top-level folder (left out: ${unnamed[*]:-none})" test ${#unnamed[@]} = 0

anchors() { sed -n 's/^#\{1,6\} //p' "$1" | tr '[:upper:]' '[:lower:]' | sed 's/[^a-z0-9 _-]//g; s/ /-/g'; }
for file in README.md docs/*.md bench/README.md; do
  while IFS='#' read -r path anchor; do
    target=${path:+$(dirname "$file")/$path}
    if [[ -z $anchor ]]; then [[ -e $target ]]; else anchors "${target:-$file}" | grep -qxF -- "$anchor"; fi ||
      broken+=("$file: $path${anchor:+#$anchor}")
  done < <(grep -o '](\([^)]*\))' "$file" | sed 's/^](//; s/)$//' | grep -v '^[a-z]*:')
done
e2e_check "every relative link finds its file, and its heading (broken: ${broken[*]:-none})" test ${#broken[@]} = 0
e2e_finish

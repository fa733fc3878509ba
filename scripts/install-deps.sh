#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, those
# that are missing only. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake make git
  g++-mingw-w64-x86-64 # the cross compiler and MinGW-w64 headers and libraries
  googletest           # GoogleTest sources, built for the Windows target
  wine wine64          # runs the programs and tests
  xvfb x11-utils       # a virtual display when there is none, and xdpyinfo
  xdotool imagemagick  # real mouse input and screenshots for the end-to-end tests
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"

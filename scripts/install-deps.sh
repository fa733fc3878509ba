#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, those
# that are missing only. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake make git
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 # the cross compilers, 64- and 32-bit
  googletest           # GoogleTest sources, built for the Windows target
  wine wine64 wine32:i386 # runs the programs and tests, 64- and 32-bit
  fonts-wine              # "MS Sans Serif", the face of every caption
  xvfb x11-utils       # a virtual display when there is none, and xdpyinfo
  xdotool imagemagick  # real mouse input and screenshots for the end-to-end tests
  zip                  # the release zips
)

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)

# 32-bit Wine comes from Debian's i386 packages.
dpkg --print-foreign-architectures | grep -qx i386 || "${sudo[@]}" dpkg --add-architecture i386

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"

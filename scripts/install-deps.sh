#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, those
# that are missing only, and nothing they merely recommend. Uses sudo when not
# run as root.
#
#   scripts/install-deps.sh [build]
#
# "build": only what building and packing the programs need, not Wine and
# what runs and tests them; a release is made with no more than that.
set -euo pipefail
# shellcheck source=cmake/wine-loader.sh
source "$(dirname "$0")/../cmake/wine-loader.sh"

# The X libraries Wine's display driver loads as it runs, for programs of
# its own kind (Debian only recommends them).
wine_x_libraries=(libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxfixes3)
packages=(
  cmake make git
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix # the cross compilers the toolchain files name
  googletest     # GoogleTest sources, built for the Windows target
  python3-pefile # reads the 32-bit program's import tables for the Windows XP check
  zip            # the release zips
)
[[ ${1:-} == build ]] || packages+=(
  wine64 # runs the 64-bit programs and tests
  # Liberation Sans: Wine draws the "MS Sans Serif" captions in it, finding no
  # face of that name (Debian's Wine 8 loads none of the fonts-wine package's).
  fonts-liberation
  "${wine_x_libraries[@]}"
  xvfb x11-utils      # a virtual display when there is none; xdpyinfo, and xev for the benchmarks
  xdotool imagemagick # real mouse input and screenshots for the end-to-end tests
  openbox metacity    # window managers the window's own chrome is tested under
  # GNOME's and KDE's Wayland compositors, with Xwayland; their session bus,
  # and what drives pointer and keys through them
  mutter kwin-wayland xwayland dbus-daemon python3-dbus
  gcc libc6-dev pkg-config libwayland-dev plasma-wayland-protocols
  unzip               # the release zips' listing in the benchmarks
  python3-xlib        # the benchmarks follow the X server's stacking of windows
)

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)

# 32-bit Wine, from Debian's i386 packages, only where 32-bit programs run:
# elsewhere it could never start.
if [[ ${1:-} != build ]] && kv_can_run_32bit; then
  packages+=(wine32:i386 "${wine_x_libraries[@]/%/:i386}")
  dpkg --print-foreign-architectures | grep -qx i386 || "${sudo[@]}" dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

installed() { dpkg-query -W -f '${db:Status-Abbrev}\n' | grep -c '^ii'; }
before=$(installed)
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
echo "Set-up: $(($(installed) - before)) packages installed in $SECONDS s"

#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest and the scripts: the loader of
# the program's own kind, a private prefix inside the build tree (made once,
# shared by later runs), no debug chatter, no first-run installer dialogs, and
# a virtual X server when there is no display. A 32-bit program on a machine
# that cannot start 32-bit programs is not run: the run ends as skipped.
# KESTAVINE_WINXP=1 runs the program in a prefix of its own that reports
# Windows XP, the oldest Windows the 32-bit program is built for.
# KESTAVINE_WM (the name of a window manager running on the display) runs it
# in a prefix of its own whose windows the window manager manages, as in the
# prefix a user makes. KESTAVINE_WINE_DRIVER (wayland) runs it in a prefix of
# its own whose windows that graphics driver of Wine's draws.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=cmake/wine-loader.sh
source "$here/wine-loader.sh"

prog=$1
shift
bits=$(kv_pe_bits "$prog") || { echo "not a Windows program: $prog" >&2; exit 1; }
kv_skip_unless_runnable "$bits"

build_dir=${KESTAVINE_BUILD_DIR:-}
if [[ -z $build_dir ]]; then
  # The program lives somewhere below the build tree; its top holds CMakeCache.txt.
  d=$(cd "$(dirname "$prog")" && pwd)
  while [[ $d != / && ! -f $d/CMakeCache.txt ]]; do d=$(dirname "$d"); done
  [[ -f $d/CMakeCache.txt ]] || d=$(cd "$(dirname "$prog")" && pwd)
  build_dir=$d
fi

# The prefix is 64-bit (it runs 32-bit programs too, where they run at all):
# Wine's own programs in it run under the 64-bit loader.
session=$(kv_wine_loader 64)
winxp=0 prefix=wineprefix managed=N
[[ ${KESTAVINE_WINXP:-0} == 0 ]] || winxp=1 prefix=wineprefix-winxp
[[ -z ${KESTAVINE_WM:-} ]] || prefix=wineprefix-wm managed=
driver=${KESTAVINE_WINE_DRIVER:-}
[[ -z $driver ]] || prefix=wineprefix-$driver

export WINEPREFIX=${WINEPREFIX:-$build_dir/$prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# A display: the caller's, or a virtual one kept for this build tree.
# shellcheck source=cmake/build-display.sh
source "$here/build-display.sh"
kv_build_display "$build_dir" || exit 1

# The prefix is made once; concurrent runs wait for the first to finish it.
ready=$WINEPREFIX/.kestavine-prefix-2
if [[ ! -f $ready ]]; then
  exec 9>"$build_dir/.wineprefix.lock"
  flock 9
  if [[ ! -f $ready ]]; then
    mkdir -p "$WINEPREFIX"
    (WINEARCH=win64 exec_detached "$session" wineboot -i) || true
    # With no window manager on the virtual display, Wine is to place and
    # unmap every window itself, or each hidden window waits 2 s for one.
    if [[ -n $managed ]]; then
      (exec_detached "$session" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f) || true
    fi
    if [[ -n $driver ]]; then
      (exec_detached "$session" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f) || true
    fi
    if ((winxp)); then
      (exec_detached "$session" reg add 'HKCU\Software\Wine' /v Version /d winxp /f) || true
    fi
    (exec_detached "$KV_WINESERVER" -w) || true
    touch "$ready"
  fi
  exec 9>&-
fi

# The Wine session (its server, desktop and services) is started here, apart,
# with no terminal, pipe or lock of the caller's: started by the program itself
# they would inherit its output pipes and outlive it, and CTest would wait on
# them. Both return at once when the session is already up. The server, and
# the session with it, ends KV_LINGER seconds after its last program; the
# delay must be attached to -p, since a bare -p keeps the server for ever.
exec 7>"$build_dir/.wineserver.lock"
flock 7
(exec_detached "$KV_WINESERVER" -p"$KV_LINGER") || true
(exec_detached "$session" cmd /c exit) || true
exec 7>&-

# What Windows the prefix reports, asked of the session now up (so that
# nothing started here outlives the question).
if ((winxp)); then
  version=$("$session" cmd /c ver 2>/dev/null </dev/null | tr -d '\r\n')
  [[ $version == *" 5.1."* ]] || { echo "the prefix $WINEPREFIX reports \"$version\", not Windows XP" >&2; exit 1; }
fi

kv_build_display "$build_dir" || exit 1
exec "$(kv_wine_loader "$bits")" "$prog" "$@"

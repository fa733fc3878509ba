#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest and the scripts: a private prefix
# inside the build tree (made once, shared by later runs), no debug chatter, no
# first-run installer dialogs, and a virtual X server when there is no display.
set -euo pipefail

prog=$1
shift
build_dir=${KESTAVINE_BUILD_DIR:-}
if [[ -z $build_dir ]]; then
  # The program lives somewhere below the build tree; its top holds CMakeCache.txt.
  d=$(cd "$(dirname "$prog")" && pwd)
  while [[ $d != / && ! -f $d/CMakeCache.txt ]]; do d=$(dirname "$d"); done
  [[ -f $d/CMakeCache.txt ]] || d=$(cd "$(dirname "$prog")" && pwd)
  build_dir=$d
fi

export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
WINE=${WINE:-wine}
command -v "$WINE" >/dev/null || WINE=wine64

source "$(dirname "${BASH_SOURCE[0]}")/start-xvfb.sh"
# A display: the caller's, or a virtual one kept for this build tree.
source "$(dirname "${BASH_SOURCE[0]}")/build-display.sh"

# The prefix is made once; concurrent runs wait for the first to finish it.
ready=$WINEPREFIX/.kestavine-prefix-2
if [[ ! -f $ready ]]; then
  exec 9>"$build_dir/.wineprefix.lock"
  flock 9
  if [[ ! -f $ready ]]; then
    mkdir -p "$WINEPREFIX"
    (exec_detached wineboot -i) || true
    # There is no window manager on the virtual display: Wine is to place and
    # unmap every window itself, or each hidden window waits 2 s for one.
    (exec_detached "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f) || true
    (exec_detached wineserver -w) || true
    touch "$ready"
  fi
  exec 9>&-
fi

# The Wine session (its server, desktop and services) is started here, apart,
# with no terminal, pipe or lock of the caller's: started by the program itself
# they would inherit its output pipes and outlive it, and CTest would wait on
# them. Both return at once when the session is already up.
exec 7>"$build_dir/.wineserver.lock"
flock 7
(exec_detached wineserver -p 30) || true
(exec_detached "$WINE" cmd /c exit) || true
exec 7>&-

exec "$WINE" "$prog" "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)

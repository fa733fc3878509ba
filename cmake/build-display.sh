# shellcheck shell=bash
# Sourced: the virtual display of a build tree.
# shellcheck source=cmake/start-xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/start-xvfb.sh"

# kv_build_display BUILD_DIR: when the caller has no display of its own, uses
# (and starts when there is none) a virtual X server kept for that build tree,
# so that every program and script of one test run shares one screen. Nobody
# stops it: it ends by itself KV_LINGER seconds after its last client, and is
# started anew when needed after that. Call it again just before a program is
# to use the display: it may have ended in between. Exports DISPLAY.
kv_build_display() {
  [[ -z ${DISPLAY:-} || $DISPLAY == "${KV_BUILD_DISPLAY:-}" ]] || return 0
  local display_file=$1/.xvfb.display
  exec 8>"$1/.xvfb.lock"
  flock 8
  if [[ -f $display_file ]] && xdpyinfo -display "$(cat "$display_file")" >/dev/null 2>&1; then
    DISPLAY=$(cat "$display_file")
  elif start_free_xvfb 90 140 "$KV_LINGER"; then
    echo "$xvfb_display" >"$display_file"
    DISPLAY=$xvfb_display
  else
    exec 8>&-
    echo "no free display for Xvfb" >&2
    return 1
  fi
  exec 8>&-
  KV_BUILD_DISPLAY=$DISPLAY
  export DISPLAY KV_BUILD_DISPLAY
}

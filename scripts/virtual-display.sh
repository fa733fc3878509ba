# shellcheck shell=bash
# Sourced by the scripts: when there is no display, starts a virtual X server
# on a free display number, exports DISPLAY and stops the server on exit.
if [[ -z ${DISPLAY:-} ]]; then
  # shellcheck source=cmake/start-xvfb.sh
  source "$(dirname "${BASH_SOURCE[0]}")/../cmake/start-xvfb.sh"
  start_free_xvfb 20 80 || { echo "no free display for Xvfb" >&2; exit 1; }
  kestavine_xvfb_pid=$xvfb_pid
  kestavine_stop_xvfb() { kill "$kestavine_xvfb_pid" 2>/dev/null || true; }
  trap kestavine_stop_xvfb EXIT
  export DISPLAY=$xvfb_display
fi

# Sourced with $build_dir set: when there is no DISPLAY, uses (and starts
# once) a virtual X server kept for this build tree, so that every program and
# script of one test run shares one screen. Exports DISPLAY.
if [[ -z ${DISPLAY:-} ]]; then
  exec 8>"$build_dir/.xvfb.lock"
  flock 8
  display_file=$build_dir/.xvfb.display
  if [[ -f $display_file ]] && xdpyinfo -display "$(cat "$display_file")" >/dev/null 2>&1; then
    DISPLAY=$(cat "$display_file")
  else
    source "$(dirname "${BASH_SOURCE[0]}")/start-xvfb.sh"
    start_free_xvfb 90 140 || { echo "no free display for Xvfb" >&2; exit 1; }
    echo "$xvfb_display" >"$display_file"
    DISPLAY=$xvfb_display
  fi
  exec 8>&-
  export DISPLAY
fi

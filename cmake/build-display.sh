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
    for n in $(seq 90 140); do
      if ! xdpyinfo -display ":$n" >/dev/null 2>&1 && [[ ! -e /tmp/.X$n-lock ]]; then
        setsid Xvfb ":$n" -screen 0 1024x768x24 -br -nolisten tcp >/dev/null 2>&1 </dev/null 8>&- &
        for _ in $(seq 50); do
          xdpyinfo -display ":$n" >/dev/null 2>&1 && break
          sleep 0.1
        done
        echo ":$n" >"$display_file"
        DISPLAY=:$n
        break
      fi
    done
  fi
  exec 8>&-
  export DISPLAY
fi

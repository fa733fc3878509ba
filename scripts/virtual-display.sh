# Sourced by the scripts: when there is no display, starts a virtual X server
# on a free display number, exports DISPLAY and stops the server on exit.
if [[ -z ${DISPLAY:-} ]]; then
  for n in $(seq 20 80); do
    if [[ ! -e /tmp/.X$n-lock ]] && ! xdpyinfo -display ":$n" >/dev/null 2>&1; then
      Xvfb ":$n" -screen 0 1024x768x24 -br -nolisten tcp >/dev/null 2>&1 </dev/null &
      kestavine_xvfb_pid=$!
      kestavine_stop_xvfb() { kill "$kestavine_xvfb_pid" 2>/dev/null || true; }
      trap kestavine_stop_xvfb EXIT
      for _ in $(seq 100); do
        xdpyinfo -display ":$n" >/dev/null 2>&1 && break
        sleep 0.1
      done
      export DISPLAY=:$n
      break
    fi
  done
  [[ -n ${DISPLAY:-} ]] || { echo "no free display for Xvfb" >&2; exit 1; }
fi

# Sourced: start_free_xvfb FIRST LAST starts a virtual X server on the first
# free display number in that range, detached and holding none of the
# caller's descriptors beyond its own, and waits until it answers. Sets
# xvfb_display (":N") and xvfb_pid; returns 1 when no number is free.
start_free_xvfb() {
  local n
  for n in $(seq "$1" "$2"); do
    if [[ ! -e /tmp/.X$n-lock ]] && ! xdpyinfo -display ":$n" >/dev/null 2>&1; then
      setsid Xvfb ":$n" -screen 0 1024x768x24 -br -nolisten tcp >/dev/null 2>&1 </dev/null 8>&- &
      xvfb_pid=$!
      xvfb_display=:$n
      for _ in $(seq 100); do
        xdpyinfo -display "$xvfb_display" >/dev/null 2>&1 && return 0
        sleep 0.1
      done
      return 0
    fi
  done
  return 1
}

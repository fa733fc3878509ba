# shellcheck shell=bash
# Sourced: the way the scripts start the servers that may outlive them.

# exec_detached COMMAND...: this shell becomes the command, in a session of
# its own, with /dev/null for its standard streams and none of the other
# descriptors the shell holds. A server left running (an X server, Wine's)
# then holds no pipe or lock of the caller's, so nobody waits on those for as
# long as it lives. Call it in a subshell: (exec_detached ...)
exec_detached() {
  local fd
  for fd in /proc/"$BASHPID"/fd/*; do
    fd=${fd##*/}
    if ((fd > 2)); then eval "exec $fd>&-"; fi
  done
  exec setsid "$@" </dev/null >/dev/null 2>&1
}

# start_free_xvfb FIRST LAST [LINGER] starts a virtual X server on the first
# free display number in that range, detached, and waits until it answers.
# With LINGER, the server ends by itself that many seconds after its last
# client has gone. Sets xvfb_display (":N") and xvfb_pid; returns 1 when no
# number is free, or no server started answers.
start_free_xvfb() {
  local n ending=(-noreset)
  # An X server resets when its last client leaves, and refuses whoever
  # connects meanwhile: the first client is the check below, so it must not.
  [[ -z ${3:-} ]] || ending=(-terminate "$3")
  for n in $(seq "$1" "$2"); do
    if [[ ! -e /tmp/.X$n-lock ]] && ! xdpyinfo -display ":$n" >/dev/null 2>&1; then
      (exec_detached Xvfb ":$n" -screen 0 1024x768x24 -br -nolisten tcp "${ending[@]}") &
      xvfb_pid=$!
      xvfb_display=:$n
      for _ in $(seq 100); do
        # Ours must answer, not a server of the number that is still ending.
        kill -0 "$xvfb_pid" 2>/dev/null || break
        xdpyinfo -display "$xvfb_display" >/dev/null 2>&1 && return 0
        sleep 0.1
      done
      kill "$xvfb_pid" 2>/dev/null || true
    fi
  done
  return 1
}

# shellcheck shell=bash
# Sourced by the end-to-end tests (e2e_init BIN_DIR, the built programs'
# folder): the shared library, displays, checks, screenshots, the sent lines.
# shellcheck source=scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"

# shellcheck source=tests/e2e/wayland.sh
source "$(dirname "${BASH_SOURCE[0]}")/wayland.sh"

e2e_failures=0
E2E_WAYLAND= # set on a Wayland desktop (see wayland.sh)
# shellcheck disable=SC2034 # for the tests
E2E_KWIN5= # set under KWin 5 (see wayland.sh)

e2e_init() {
  # The programs of a build this machine cannot run are not tested here.
  kv_skip_unless_runnable "$(kv_pe_bits "$1/$KESTAVINE_EXE")"
  kv_init "$1"
  if [[ -n ${KESTAVINE_WM:-} ]]; then
    e2e_window_manager_display "$KESTAVINE_WM" || exit 1
  else
    source "$KV_ROOT/cmake/build-display.sh"
    kv_build_display "$KESTAVINE_BUILD_DIR" || exit 1
  fi
  # With KESTAVINE_BUSY, as on a machine whose every processor is busy.
  [[ -z ${KESTAVINE_BUSY:-} ]] || { kv_start_busy && echo "beside ${#kv_busy[@]} busy processes (${kv_busy[*]})"; }
}

# A display of the test's own with a window manager on it (openbox, metacity,
# or a Wayland compositor: see wayland.sh), ended with the test; the programs
# run in a Wine prefix whose windows it manages (see cmake/wine-run.sh).
e2e_window_manager_display() {
  local wm_command
  case $1 in
    openbox) wm_command=(openbox --config-file "$KV_ROOT/tests/e2e/openbox-rc.xml") ;;
    metacity) wm_command=(metacity --no-composite) ;;
    mutter | kwin) e2e_wayland_display "$1" && E2E_WAYLAND=1 && return 0 ;;
    *) echo "no such window manager to test under: $1" >&2 && return 1 ;;
  esac
  # shellcheck source=cmake/start-xvfb.sh
  source "$KV_ROOT/cmake/start-xvfb.sh"
  start_free_xvfb 141 190 || { echo "no free display for Xvfb" >&2 && return 1; }
  e2e_xvfb_pid=$xvfb_pid
  # Ended before the test ends, so that the next test finds its number free.
  # shellcheck disable=SC2317 # called by kv_cleanup
  kestavine_stop_xvfb() {
    kill "$e2e_xvfb_pid" 2>/dev/null || return 0
    kv_wait_for 10 0.1 e2e_ended "$e2e_xvfb_pid" || true
  }
  export DISPLAY=$xvfb_display
  "${wm_command[@]}" >"$KV_TMP/$1.log" 2>&1 &
  kv_pids+=("$!")
  # A window manager says it runs by naming its check window on the root.
  kv_wait_for 20 0.1 eval "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" && return 0
  { echo "$1 did not start on $DISPLAY:" && cat "$KV_TMP/$1.log"; } >&2
  return 1
}

# Without its window there is nothing to test: the test ends there.
e2e_start_kestavine() { kv_start_kestavine || exit 1; }

# The place, from 1, in a list of windows the window manager keeps on the root
# window ($1: _NET_CLIENT_LIST, those it manages; _NET_CLIENT_LIST_STACKING,
# the same bottom first) of the window whose title matches the pattern $2
# (Wine 10 gives the title to more X windows than the one managed).
e2e_listed_at() {
  grep -nixFf <(xdotool search --name "^$2\$" | xargs printf '0x%x\n') \
    <(xprop -root -notype "$1" | tr -d , | cut -d' ' -f5- | tr ' ' '\n') | cut -d: -f1 | grep -m1 .
}
e2e_managed() { e2e_listed_at _NET_CLIENT_LIST "$1" >/dev/null; }

# The window's 300 x 100 pixels, at FORM_X, FORM_Y, as the screen shows them;
# on a Wayland desktop, as the window drew them (Xwayland's root shows nothing).
e2e_window_shot() {
  if [[ -n $E2E_WAYLAND ]]; then
    import -window "$(xdotool search --name "^$KESTAVINE_TITLE\$" | head -n 1)" "$@"
  else
    import -window root -crop "300x100+$FORM_X+$FORM_Y" +repage "$@"
  fi
}

# Whether the window, at FORM_X, FORM_Y, is seen on the screen above whatever
# lies under it: its navy ground shows at points beside every control. On a
# Wayland desktop: the compositor stacks it above the chat room.
e2e_seen_on_top() {
  local shot=$KV_TMP/on-top.png top
  if [[ -n $E2E_WAYLAND ]]; then
    top=$(e2e_listed_at _NET_CLIENT_LIST_STACKING "$KESTAVINE_TITLE") &&
      (($(e2e_listed_at _NET_CLIENT_LIST_STACKING 'Chat host \(stand-in\)') < top))
    return
  fi
  e2e_window_shot "$shot"
  [[ $(convert "$shot" -format '%[hex:p{10,40}] %[hex:p{290,40}] %[hex:p{150,25}] %[hex:p{50,60}] %[hex:p{250,60}]' info:) =~ ^(0D146F[0-9A-F]*( |$)){5}$ ]]
}

# Waits up to $1 seconds until the window is seen on top; the wait starts a
# moment after the action it follows, so that a raise it set off has come.
e2e_seen_on_top_within() { sleep 0.3 && kv_wait_for "$1" 0.2 e2e_seen_on_top; }

e2e_check() {
  if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1" && e2e_failures=$((e2e_failures + 1)); fi
}
e2e_finish() {
  ((e2e_failures == 0)) || { echo "$e2e_failures check(s) failed" && exit 1; }
  echo "all checks passed"
}

# Waits for a process to end: up to 10 s, or 20 s on a Wayland desktop, where
# Mutter takes a frame for each step of the closing window's shrink (2 to 9 s).
e2e_ended() { ! kill -0 "$1" 2>/dev/null; }
e2e_wait_exit() { kv_wait_for "$((E2E_WAYLAND ? 20 : 10))" 0.1 e2e_ended "$1"; }

# "x y width height" of the window with exactly this title.
e2e_window_geometry() {
  xdotool search --name "^$1\$" getwindowgeometry --shell | awk -F= '{ v[$1] = $2 } END { print v["X"], v["Y"], v["WIDTH"], v["HEIGHT"] }'
}
e2e_form_at() { e2e_window_geometry "$KESTAVINE_TITLE" | cut -d' ' -f1-2; } # Kestavine Idle's "x y"

# The hand leaves the window for a point off it and off the room, (100, 700),
# and comes back to the title strip of the window at FORM_X, FORM_Y: in one
# jump, or in steps of about 4 and 12 pixels by turns, 10 ms apart.
e2e_hand_back() {
  local dx=$((FORM_X + AT_TITLE_STRIP[0] - 100)) dy=$((FORM_Y + AT_TITLE_STRIP[1] - 700)) n=1 part moves=()
  [[ $1 == jump ]] || n=$(((${dx#-} > ${dy#-} ? ${dx#-} : ${dy#-}) / 8 + 1))
  for part in $(kv_uneven_parts "$n"); do
    moves+=(mousemove $((100 + dx * part / (2 * n))) $((700 + dy * part / (2 * n))) sleep 0.01)
  done
  kv_input mousemove 100 700 sleep 0.2 "${moves[@]}" sleep 0.19
}

# Whether the window with exactly this title is minimised, as X shows it: off
# the screen or iconic (a window manager's), or Wine's own small iconic bar.
e2e_minimised() {
  local id info
  id=$(xdotool search --name "^$1\$" | head -n 1)
  info=$(xwininfo -id "$id")
  [[ $info != *"Map State: IsViewable"* ]] || ! grep -qE 'Width: 300$' <<<"$info" || ! grep -qE 'Height: 100$' <<<"$info" ||
    xprop -id "$id" WM_STATE | grep -q 'window state: Iconic' # a compositor keeps it mapped
}

# The status label's caption width on screen (what is not black in its box),
# with the window at FORM_X, FORM_Y.
e2e_status_width() { e2e_window_shot png:- | convert - -crop 65x17+118+32 +repage -trim -format '%w' info: 2>/dev/null; }

# Field of sent line N (1-based): its time or its text.
e2e_sent_time() { kv_sent | sed -n "$1p" | cut -f1; }
e2e_sent_text() { kv_sent | sed -n "$1p" | cut -f2-; }

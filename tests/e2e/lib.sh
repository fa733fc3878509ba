# Sourced by the end-to-end tests and the run script: starts the real programs
# under Wine on the (virtual) screen and drives them with real X input.
#   e2e_init BIN_DIR   the folder holding the built programs
set -euo pipefail

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_WINE_RUN=$E2E_ROOT/cmake/wine-run.sh
KESTAVINE_EXE_NAME="Kestavine Idle 1.0.exe"
KESTAVINE_TITLE="Kestavine Idle"
# Where the window opens on the screen.
FORM_X=0
FORM_Y=126

e2e_pids=()
e2e_failures=0

e2e_init() {
  E2E_BIN=$(cd "$1" && pwd)
  build_dir=$(cd "$E2E_BIN/.." && pwd)
  export KESTAVINE_BUILD_DIR=$build_dir
  source "$E2E_ROOT/cmake/build-display.sh"
  E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-e2e.XXXXXX")
  trap e2e_cleanup EXIT
}

e2e_cleanup() {
  local pid
  for pid in "${e2e_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${e2e_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  [[ -n ${E2E_KEEP:-} ]] || rm -rf "$E2E_TMP"
  # A virtual display the caller started goes too.
  ! declare -F kestavine_stop_xvfb >/dev/null || kestavine_stop_xvfb
}

# A path as Windows programs under Wine see it.
e2e_winpath() { echo "Z:${1//\//\\}"; }

e2e_now() { date +%s.%N; }

# Float arithmetic and comparison, with awk (always there) rather than bc.
e2e_calc() { awk "BEGIN { printf \"%.3f\", $* }"; }
e2e_true() { awk "BEGIN { exit !($*) }"; }

# Starts a Windows program in the background; its pid is in $e2e_last_pid.
e2e_start() {
  "$E2E_WINE_RUN" "$@" >/dev/null 2>&1 &
  e2e_last_pid=$!
  e2e_pids+=("$e2e_last_pid")
}

# Waits (up to $2 seconds, default 10) until a visible window with exactly this title exists.
e2e_wait_window() {
  local title=$1 limit=${2:-10} end
  end=$(e2e_calc "$(e2e_now) + $limit")
  until e2e_window_visible "$title"; do
    e2e_true "$(e2e_now) > $end" && return 1
    sleep 0.1
  done
}

e2e_window_visible() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# "x y width height" of the window with exactly this title.
e2e_window_geometry() {
  xdotool search --name "^$1\$" getwindowgeometry | awk '
    /Position/ { split($2, p, ",") }
    /Geometry/ { split($2, g, "x") }
    END { print p[1], p[2], g[1], g[2] }'
}

e2e_start_kestavine() {
  e2e_start "$E2E_BIN/$KESTAVINE_EXE_NAME"
  KESTAVINE_PID=$e2e_last_pid
  e2e_wait_window "$KESTAVINE_TITLE" 20 || { echo "FAIL: the window never appeared"; exit 1; }
  sleep 0.3 # its first paint
}

# Waits (up to $2 seconds) for a process to end.
e2e_wait_exit() {
  local pid=$1 limit=${2:-10} i
  for ((i = 0; i < limit * 10; i++)); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# Mouse input at a point of the main window's client area.
e2e_click() { xdotool mousemove $((FORM_X + $1)) $((FORM_Y + $2)) click "${3:-1}"; }
e2e_press() { xdotool mousemove $((FORM_X + $1)) $((FORM_Y + $2)) mousedown "${3:-1}"; }
e2e_release() { xdotool mouseup "${1:-1}"; }

e2e_screenshot() { import -window root "$1"; }

# The colour of one screen pixel of a screenshot, as RRGGBB.
e2e_pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }

# How many pixels of a screenshot's area (x y w h) have exactly this colour.
e2e_count_colour() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- | grep -ci "#$6" || true
}

e2e_check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAIL: $what"
    e2e_failures=$((e2e_failures + 1))
  fi
}

e2e_finish() {
  if ((e2e_failures > 0)); then
    echo "$e2e_failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}

# The width of what is drawn (not black) in a screenshot's area: the length of
# a caption in white on black.
e2e_ink_width() { convert "$1" -crop "$4x$5+$2+$3" +repage -trim -format '%w' info: 2>/dev/null; }

# The status label's caption width on screen, with the window's top-left at ($1, $2).
e2e_status_width() {
  local shot=$E2E_TMP/status.png
  e2e_screenshot "$shot"
  e2e_ink_width "$shot" $(($1 + 118)) $(($2 + 32)) 65 17
}

# The stand-in chat host, in its own process, logging to $CHAT_LOG.
e2e_start_chathost() {
  CHAT_LOG=${CHAT_LOG:-$E2E_TMP/chat.log}
  : >"$CHAT_LOG"
  e2e_start "$E2E_BIN/chathost.exe" --log "$(e2e_winpath "$CHAT_LOG")" "$@"
  CHATHOST_PID=$e2e_last_pid
  local i
  for ((i = 0; i < 200; i++)); do
    grep -qx ready "$CHAT_LOG" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "FAIL: the chat host never said it was ready"
  exit 1
}

# The lines the room has sent so far, one a line: "<host seconds><TAB><text>".
e2e_sent() { sed -n 's/^sent \([0-9.]*\) "\(.*\)"$/\1\t\2/p' "$CHAT_LOG"; }
e2e_sent_count() { e2e_sent | wc -l; }

# Waits up to $2 seconds until the room has sent at least $1 lines.
e2e_wait_sent() {
  local want=$1 limit=$2 end
  end=$(e2e_calc "$(e2e_now) + $limit")
  until (($(e2e_sent_count) >= want)); do
    e2e_true "$(e2e_now) > $end" && return 1
    sleep 0.05
  done
}

# Field of sent line N (1-based): its time or its text.
e2e_sent_time() { e2e_sent | sed -n "$1p" | cut -f1; }
e2e_sent_text() { e2e_sent | sed -n "$1p" | cut -f2-; }

# Replaces the reason box's text by typing, as a user would.
e2e_type_reason() {
  e2e_click 150 72
  xdotool key End shift+Home BackSpace
  [[ -z $1 ]] || xdotool type --delay 20 -- "$1"
}

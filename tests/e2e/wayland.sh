# shellcheck shell=bash
# Sourced by lib.sh: a Wayland desktop of the test's own, GNOME's (mutter) or
# KDE's (kwin) compositor, headless, with Xwayland, on whose X display the
# programs run. Pointer and keys go through the compositor's own input
# interface, as a user's do, so that a move the compositor makes follows them.

# e2e_wayland_display mutter|kwin: starts the compositor and its session bus,
# sets DISPLAY (and XAUTHORITY), and takes kv_input over; all of it ends with
# the test, which is skipped where the compositor cannot run.
e2e_wayland_display() {
  local compositor=$1 log=$KV_TMP/$1.log
  export XDG_RUNTIME_DIR=$KV_TMP/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  # Xwayland's sockets: a folder every user may write to, as a desktop has it.
  [[ -d /tmp/.X11-unix ]] || mkdir -m 1777 /tmp/.X11-unix
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
  dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS" >/dev/null 2>&1 &
  kv_pids+=("$!")
  kv_wait_for 10 0.1 test -S "$XDG_RUNTIME_DIR/bus" || { echo "no session bus started" >&2 && return 1; }
  export WAYLAND_DISPLAY=wayland-kestavine
  case $compositor in
    mutter)
      mutter --wayland --headless --virtual-monitor 1024x768 --wayland-display "$WAYLAND_DISPLAY" >"$log" 2>&1 &
      ;;
    kwin)
      # A copy: the packaged program's file capability is refused in a
      # container. Fake input needs KWin's permission checks off.
      mkdir "$KV_TMP/kwin"
      cp /usr/bin/kwin_wayland "$KV_TMP/kwin/"
      # No pull of edges, which holds back a move (as in openbox-rc.xml).
      export XDG_CONFIG_HOME=$KV_TMP/config
      mkdir "$XDG_CONFIG_HOME"
      printf '[Windows]\nBorderSnapZone=0\nWindowSnapZone=0\nCenterSnapZone=0\n' >"$XDG_CONFIG_HOME/kwinrc"
      # KWin names its X display only to programs it starts, and KWin 6
      # ends with such a program: this one lasts as long as KWin.
      cat >"$KV_TMP/kwin/started" <<EOF
#!/bin/sh
echo "\$DISPLAY \$XAUTHORITY" >$KV_TMP/kwin.x.tmp && mv $KV_TMP/kwin.x.tmp $KV_TMP/kwin.x
until [ -s $KV_TMP/kwin.pid ]; do sleep 0.1; done
while kill -0 "\$(cat $KV_TMP/kwin.pid)"; do sleep 1; done
EOF
      chmod +x "$KV_TMP/kwin/started"
      KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 "$KV_TMP/kwin/kwin_wayland" --virtual --xwayland \
        --width 1024 --height 768 --socket "$WAYLAND_DISPLAY" "$KV_TMP/kwin/started" >"$log" 2>&1 &
      echo "$!" >"$KV_TMP/kwin.pid"
      ;;
  esac
  e2e_compositor_pid=$!
  kv_pids+=("$e2e_compositor_pid")
  if ! kv_wait_for 30 0.2 e2e_xwayland_ready; then
    e2e_ended "$e2e_compositor_pid" || { echo "$1 started no Xwayland:" && cat "$log" && return 1; } >&2
    echo "Skipped: $1 cannot run here: $(grep -v '^dbus-daemon' "$log" | tail -n 1)" && exit "$KV_SKIPPED"
  fi
  echo "$1 on Wayland display $WAYLAND_DISPLAY, Xwayland $DISPLAY"
  # A program hears nothing of a pointer that has left its window with no
  # button held: the window follows only a pointer that never outruns it.
  export KV_STEADY_HAND=8
  # After KWin 5 has moved a window, Xwayland places the pointer as far from
  # where it is as the window moved, until it has left the window: a Plasma 5
  # user moves it off the window and back before clicking it again.
  # shellcheck disable=SC2034 # for the tests
  [[ $compositor != kwin || $(dpkg-query -W -f '${Version}' kwin-wayland) != *:5.* ]] || E2E_KWIN5=1
  e2e_start_input "$compositor"
}

# e2e_taken_to AT WANT: whether the window ("X Y") lies where the hand took it;
# on Wayland also as far off as Xwayland's pointer lies off the hand's, within
# one of the hand's last two steps (see docs/linux-desktops.md: Mutter and X).
e2e_taken_to() {
  local at want x y
  [[ $1 == "$2" ]] && return 0
  [[ -n $E2E_WAYLAND ]] || return 1
  read -ra at <<<"$1" && read -ra want <<<"$2"
  read -r x y < <(xdotool getmouselocation | sed -E 's/^x:(-?[0-9]+) y:(-?[0-9]+).*/\1 \2/')
  x=$((x - e2e_pointer[0])) y=$((y - e2e_pointer[1]))
  ((at[0] - want[0] == x && at[1] - want[1] == y && (${x#-} <= e2e_steps[0] || ${x#-} <= e2e_steps[2]) && (${y#-} <= e2e_steps[1] || ${y#-} <= e2e_steps[3])))
}

# Whether the compositor's Xwayland answers, with DISPLAY and XAUTHORITY set.
e2e_xwayland_ready() {
  local xwayland
  e2e_ended "$e2e_compositor_pid" && return 1
  if [[ -f $KV_TMP/kwin.x ]]; then
    read -r DISPLAY XAUTHORITY <"$KV_TMP/kwin.x"
  else
    xwayland=$(pgrep -P "$e2e_compositor_pid" -x Xwayland | head -n 1) || return 1
    DISPLAY=$(tr '\0' '\n' <"/proc/$xwayland/cmdline" | grep -m1 '^:[0-9]*$') || return 1
    XAUTHORITY=$(tr '\0' '\n' <"/proc/$xwayland/cmdline" | grep -A1 -x -- -auth | tail -n +2)
  fi
  export DISPLAY XAUTHORITY
  xdpyinfo >/dev/null 2>&1
}

# The compositor's input client (see mutter_input.py), which kv_input feeds.
e2e_start_input() {
  local client=(/usr/bin/python3 "$KV_ROOT/tests/e2e/mutter_input.py")
  [[ $1 == mutter ]] || client=("$(e2e_kwin_input)") || exit 1
  coproc E2E_INPUT { exec "${client[@]}" 2>"$KV_TMP/input.log"; }
  kv_pids+=("$E2E_INPUT_PID")
  e2e_pointer=(0 0) e2e_steps=(0 0 0 0) # where the hand has the pointer; its last two steps' sizes
  e2e_input_said || { echo "the input client did not start:" && cat "$KV_TMP/input.log"; } >&2 || exit 1
  # shellcheck disable=SC2317 # called through kv_input
  kv_input() { e2e_compositor_input "$@"; }
}

# The KWin input client, built from the protocol's XML.
# shellcheck disable=SC2046 # pkg-config's words
e2e_kwin_input() {
  local xml=/usr/share/plasma-wayland-protocols/fake-input.xml
  wayland-scanner client-header "$xml" "$KV_TMP/fake-input-client-protocol.h" &&
    wayland-scanner private-code "$xml" "$KV_TMP/fake-input-protocol.c" &&
    cc -O2 -Wall -Wextra -I"$KV_TMP" -o "$KV_TMP/kwin_input" "$KV_ROOT/tests/e2e/kwin_input.c" \
      "$KV_TMP/fake-input-protocol.c" $(pkg-config --cflags --libs wayland-client) >&2 && echo "$KV_TMP/kwin_input"
}

e2e_input_said() { local answer && read -r -t 10 -u "${E2E_INPUT[0]}" answer && [[ $answer == ok ]]; }
e2e_input_send() {
  { echo "$*" >&"${E2E_INPUT[1]}" && e2e_input_said; } || { echo "the input client failed at \"$*\":" && cat "$KV_TMP/input.log"; } >&2
}

# evdev's codes of the keys the tests press (US layout), and of the buttons.
declare -A e2e_keys=([Escape]=1 [Return]=28 [BackSpace]=14 [Home]=102 [End]=107 [" "]=57 [,]=51 [.]=52 [-]=12)
for e2e_row in "2 1234567890" "16 qwertyuiop" "30 asdfghjkl" "44 zxcvbnm"; do
  read -r e2e_code e2e_row <<<"$e2e_row"
  for ((e2e_i = 0; e2e_i < ${#e2e_row}; e2e_i++)); do e2e_keys[${e2e_row:e2e_i:1}]=$((e2e_code + e2e_i)); done
done
e2e_buttons=([1]=272 [2]=274 [3]=273)

# One key, alone or with shift ("shift+Home"), pressed and released.
e2e_key_press() {
  local key=${1#shift+}
  [[ $1 == "$key" ]] || e2e_input_send key 42 1
  e2e_input_send key "${e2e_keys[$key]:?no key code for $key}" 1 && e2e_input_send key "${e2e_keys[$key]}" 0
  [[ $1 == "$key" ]] || e2e_input_send key 42 0
}

# kv_input's words: mousemove X Y, mousemove_relative [--] DX DY, click,
# mousedown and mouseup B, key NAME..., type --delay MS -- TEXT, sleep S.
e2e_compositor_input() {
  local i
  while (($#)); do
    case $1 in
      mousemove | mousemove_relative)
        [[ $2 != -- ]] || set -- "$1" "${@:3}"
        [[ $1 == mousemove_relative ]] || set -- "$1" $(($2 - e2e_pointer[0])) $(($3 - e2e_pointer[1])) "${@:4}"
        e2e_steps=("${e2e_steps[@]:2}" "${2#-}" "${3#-}")
        e2e_pointer=($((e2e_pointer[0] + $2)) $((e2e_pointer[1] + $3)))
        e2e_input_send move "${e2e_pointer[@]}"
        shift 3
        ;;
      click | mousedown | mouseup)
        [[ $1 == mouseup ]] || e2e_input_send button "${e2e_buttons[$2]}" 1
        [[ $1 == mousedown ]] || e2e_input_send button "${e2e_buttons[$2]}" 0
        shift 2
        ;;
      key) shift && while (($#)) && [[ $1 != sleep ]]; do e2e_key_press "$1" && shift; done ;;
      type) # --delay MS -- TEXT: each key waits for the compositor already
        for ((i = 0; i < ${#5}; i++)); do e2e_key_press "${5:i:1}"; done
        shift 5
        ;;
      sleep) sleep "$2" && shift 2 ;;
      *) echo "no such input: $1" >&2 && return 1 ;;
    esac
  done
}

#!/usr/bin/env bash
# Builds Kestavine Idle and starts it under Wine beside the stand-in chat room,
# installing what is missing first. On your display: click START and watch the
# lines arrive in the room; closing Kestavine Idle with its "X" ends the run.
# With no display: a virtual one, START clicked here, and after one full tick
# a screenshot and the room's transcript saved in build/run/.
# KESTAVINE_BUILD_DIR picks the build folder (default build/mingw-x64).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
headless=0
[[ -n ${DISPLAY:-} ]] || headless=1
source scripts/virtual-display.sh

build=${KESTAVINE_BUILD_DIR:-$PWD/build/mingw-x64}
cmake --preset mingw-x64 -B "$build" >/dev/null
cmake --build "$build" -j2 --target kestavine_idle chathost

out=$PWD/build/run
mkdir -p "$out"
# shellcheck source=scripts/lib.sh
source scripts/lib.sh
kv_init "$build/bin"
CHAT_LOG=$out/chat.log

kv_start_chathost
kv_start_kestavine
echo "Kestavine Idle is running beside the stand-in chat room."

write_transcript() {
  kv_sent | awk -F '\t' 'NR == 1 { t0 = $1 } { printf "[+%7.3f s] %s\n", $1 - t0, substr($0, index($0, "\t") + 1) }' \
    >"$out/transcript.txt"
}

if ((headless)); then
  kv_click "${AT_START[@]}"
  # The banner at once, then one full tick: the banner and the reason line.
  kv_wait_sent 3 30 || echo "the room got fewer lines than expected"
  sleep 0.3
  import -window root -crop 800x400+0+0 "$out/screenshot.png"
  write_transcript
  echo "Saved $out/screenshot.png and $out/transcript.txt:"
  cat "$out/transcript.txt"
else
  echo "Click START in Kestavine Idle; close it with its \"X\" to end."
  while kill -0 "$KESTAVINE_PID" 2>/dev/null; do sleep 0.5; done
  write_transcript
  echo "The room's transcript is in $out/transcript.txt."
fi

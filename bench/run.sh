#!/usr/bin/env bash
# The benchmark suite: builds what it needs, runs every benchmark under Wine
# and prints one Markdown table of figures headed by the commit, the Wine and
# the machine they came from, so that a copy of it (bench/README.md keeps
# some) says what it measured; the table is also written to
# build/bench/results.md. Figures are printed, never judged: no run fails on
# a number.
#
#   bench/run.sh
#
# Set BENCH_X86=0 to leave out the 32-bit build. The benchmarks run on the
# caller's display if there is one (clicks land at the top left of the
# screen), else on a virtual one of their own.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$PWD/build/bench
mkdir -p "$out"
log=$out/run.log
: >"$log"

scripts/install-deps.sh
# shellcheck source=cmake/wine-loader.sh
source cmake/wine-loader.sh

echo "Building (64-bit) ..." >&2
if ! { cmake --preset mingw-x64 &&
  cmake --build --preset mingw-x64 --target kestavine_idle chathost bench_bare_window bench_spin_wait sendchat_bench; } >"$out/build-x64.log" 2>&1; then
  tail -30 "$out/build-x64.log" >&2
  echo "the 64-bit build failed; see $out/build-x64.log" >&2
  exit 1
fi
if [[ ${BENCH_X86:-1} != 0 ]]; then
  echo "Building the program (32-bit) ..." >&2
  { cmake --preset mingw-x86 && cmake --build --preset mingw-x86 --target kestavine_idle; } >"$out/build-x86.log" 2>&1 ||
    echo "the 32-bit build failed (see $out/build-x86.log); its row is left out" >&2
fi

display_note="display ${DISPLAY:-}"
if [[ -z ${DISPLAY:-} ]]; then
  source scripts/virtual-display.sh
  display_note="a virtual X server of its own (Xvfb $DISPLAY)"
fi
export DISPLAY

started=$(date '+%Y-%m-%d %H:%M %Z')
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
rows=()
# Runs one benchmark script; its Markdown rows join the table, its progress the log.
run() {
  local script=$1 line
  echo "Running $script ..." >&2
  while IFS= read -r line; do
    [[ $line == \|* ]] && rows+=("$line")
  done < <("$script" 2> >(tee -a "$log" >&2) || echo "| $script | failed, see build/bench/run.log | |")
}

run bench/cpu_idle.sh
run bench/sendchat.sh
run bench/startup.sh
run bench/close.sh
run bench/on_top.sh
run bench/size.sh
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
{
  echo "Kestavine Idle benchmarks, $started"
  echo
  echo "- Commit: $(git describe --always --dirty 2>/dev/null || echo unknown)"
  echo "- Machine: ${cpu:-unknown CPU}, $(nproc) cores; $(. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME, ")$(uname -sr)"
  echo "- Wine: $("$(kv_wine_loader 64)" --version 2>/dev/null), 64-bit programs in a prefix of the benchmarks' own (build/bench/wineprefix), on $display_note"
  echo "- Load average (1, 5, 15 min) before: $load_before; after: $load_after. CPU figures are noisy when the machine is busy."
  echo "- CPU from /proc/<pid>/stat and /proc/<pid>/task/*/schedstat of the Wine processes; times from the X server's own map, unmap and configure notifications, and its stacking of windows."
  echo
  echo "| Benchmark | Result | Beside it, same run |"
  echo "|---|---|---|"
  printf '%s\n' "${rows[@]}"
} | tee "$out/results.md"

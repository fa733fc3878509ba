#!/usr/bin/env bash
# SendChat against the stand-in chat host in another process: the median and
# p90 of many calls to a responsive host, and what a hung host costs.
#
#   bench/sendchat.sh            (after a build; prints Markdown table rows)
#   BENCH_SENDCHAT_CALLS=200     timed calls to the responsive host
# shellcheck source=bench/lib.sh
source "$(dirname "$0")/lib.sh"
bench_init

# The rows come from the Windows program, with its C runtime's line ends.
"$KV_WINE_RUN" "$BENCH_BIN/sendchat_bench.exe" "${BENCH_SENDCHAT_CALLS:-200}" | tr -d '\r'

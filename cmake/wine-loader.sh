# shellcheck shell=bash disable=SC2034
# Sourced by everything that starts Wine or installs it: which Wine loader runs
# a Windows program, and whether this machine can run 32-bit programs at all,
# decided here and nowhere else.
#
# Each program runs under the loader of its own kind, called directly. Debian's
# `wine` command prefers the 32-bit loader whenever 32-bit Wine is installed,
# and that loader hands 64-bit programs on to the 64-bit one; on a machine
# whose kernel cannot start 32-bit Linux programs (sandboxed containers, WSL 1,
# kernels booted with ia32_emulation=0) nothing would start at all.
#
# KESTAVINE_NO_32BIT=1 has the harness treat this machine as one that cannot
# start 32-bit programs, to exercise that path on a machine that can.

KV_WINE64=/usr/lib/wine/wine64
KV_WINE32=/usr/lib/wine/wine
# Debian's server script (libwine's): the 64-bit server, which serves programs
# of both kinds, wherever it is installed.
KV_WINESERVER=/usr/lib/wine/wineserver

# The exit status that CTest counts as a skipped test (SKIP_RETURN_CODE).
KV_SKIPPED=77

# Seconds that a Wine session, and a virtual display kept for a build tree,
# outlive the last program that used them: long enough to serve the next
# program of a test run, short enough that nothing is left running for long.
KV_LINGER=30

# kv_pe_bits FILE: 64 or 32, the kind of Windows program FILE is, from the
# machine field of its PE header; fails for a file that is neither.
kv_pe_bits() {
  local at signature
  at=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null) || return 1
  at=${at//[[:space:]]/}
  [[ -n $at ]] || return 1
  signature=$(od -An -tx1 -j"$at" -N6 "$1" 2>/dev/null) || return 1
  signature=${signature//[[:space:]]/}
  case ${signature:0:8}:${signature:8:4} in
    50450000:6486) echo 64 ;; # "PE\0\0", then IMAGE_FILE_MACHINE_AMD64 (little-endian)
    50450000:4c01) echo 32 ;; # IMAGE_FILE_MACHINE_I386
    *) return 1 ;;
  esac
}

# kv_wine_loader BITS: the Wine loader for programs of that kind.
kv_wine_loader() {
  if [[ $1 == 32 ]]; then echo "$KV_WINE32"; else echo "$KV_WINE64"; fi
}

# kv_can_run_32bit: whether this machine starts 32-bit (i386) Linux programs,
# as 32-bit Wine is one. Found out by trying once, with a program of 91 bytes
# that only exits; the answer is exported (KESTAVINE_32BIT), so that the
# scripts and tests started from here do not try again. When the answer is no,
# KESTAVINE_32BIT_REASON says why, in one line.
kv_can_run_32bit() {
  if [[ ${KESTAVINE_NO_32BIT:-0} != 0 ]]; then
    KESTAVINE_32BIT_REASON="KESTAVINE_NO_32BIT is set: run as on a machine that cannot start 32-bit programs"
    return 1
  fi
  if [[ -z ${KESTAVINE_32BIT:-} ]]; then
    local probe error
    probe=$(mktemp "${TMPDIR:-/tmp}/kestavine-i386.XXXXXX")
    # An i386 ELF header, one loadable segment, and exit(0) through int 0x80.
    printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5b\0\0\0\x5b\0\0\0\x05\0\0\0\0\x10\0\0\x31\xc0\x40\x31\xdb\xcd\x80' >"$probe"
    chmod +x "$probe"
    if error=$("$probe" 2>&1); then
      KESTAVINE_32BIT=yes
    else
      KESTAVINE_32BIT=no
      KESTAVINE_32BIT_REASON="this machine cannot start 32-bit programs (${error##*: })"
    fi
    rm -f "$probe"
    export KESTAVINE_32BIT KESTAVINE_32BIT_REASON
  fi
  [[ $KESTAVINE_32BIT == yes ]]
}

# kv_skip_unless_runnable BITS: ends the caller with the skipped status and the
# reason in one line when this machine cannot run programs of that kind.
kv_skip_unless_runnable() {
  if [[ $1 == 32 ]] && ! kv_can_run_32bit; then
    echo "Skipped: $KESTAVINE_32BIT_REASON"
    exit "$KV_SKIPPED"
  fi
}

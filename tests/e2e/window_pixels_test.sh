#!/usr/bin/env bash
# The real program on the (virtual) screen: a screenshot shows every part of
# the window where it is designed to be.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$1"

e2e_start_kestavine
shot=$KV_TMP/window.png
import -window root "$shot"

at() { convert "$shot" -format "%[hex:p{$((FORM_X + $1)),$((FORM_Y + $2))}]" info: | cut -c1-6; }
is() { [[ $(at "$1" "$2") == "$3" ]]; }
# How many pixels of an area (x y w h) have exactly this colour.
count() { convert "$shot" -crop "$3x$4+$((FORM_X + $1))+$((FORM_Y + $2))" +repage -depth 8 txt:- | grep -ci "#$5" || true; }
some() { (($(count "$@") >= ${MIN:-1})); }
grey() { local c && c=$(at "$1" "$2") && [[ ${c:0:2} == "${c:2:2}" && ${c:2:2} == "${c:4:2}" && $c != 000000 ]]; }

navy=0D146F
e2e_check "navy ground between the controls and at the bottom, not above the window" eval "is 150 25 $navy && is 150 96 $navy && ! is 0 -1 $navy"
e2e_check "black status and reason boxes, their border pixels their own" eval "is 119 33 000000 && is 182 48 000000 && is 90 65 000000"
e2e_check "white text in both boxes" eval "some 118 32 65 17 FFFFFF && some 89 64 121 17 FFFFFF"
e2e_check "the bottom line's ends and both diagonal lines" eval "is 70 80 000000 && is 225 80 000000 && is 112 56 000000 && is 192 64 000000"
e2e_check "the black ground of the title strip, START and STOP" eval "is 3 18 000000 && is 2 90 000000 && is 296 90 000000"
e2e_check "the grey highlights of the title strip, START and STOP" eval "grey 150 1 && grey 32 73 && grey 266 73"
e2e_check "the white text of the title strip, START and STOP" \
  eval "MIN=20 some 0 5 300 11 FFFFFF && MIN=10 some 0 77 65 12 FFFFFF && MIN=10 some 234 77 65 12 FFFFFF"
e2e_check "the '-' over the strip, the 'X' at its end, cut off at the window's right edge" \
  eval "MIN=3 some 264 0 17 17 FFFFFF && MIN=5 some 280 7 20 25 FFFFFF && ! is 301 14 FFFFFF"

e2e_finish

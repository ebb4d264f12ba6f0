#!/usr/bin/env bash
# splitter-render's --size follows one rule in every window, menu bar or not: the client area becomes
# the size rounded to whole pixels at 15 twips a pixel, and the defined size given explicitly draws the
# same picture as no size at all. Usage: render_size_test.sh SPLITTER-RENDER
set -euo pipefail
render="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
# Width and height of a PNG file, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }
expect() {
  local window=$1 size=$2 want=$3 got
  "$render" "$window" --client-only --size "$size" -o "$work/shot.png" >/dev/null 2>&1
  got="$(png_size "$work/shot.png")"
  [ "$got" = "$want" ] || { echo "$window --size $size: $got, not $want"; failures=$((failures + 1)); }
}
# The defined client sizes: 5145x4215 twips (343x281 pixels) for the main window, which has the menu bar.
declare -A defined=([SplitterForm]=5145x4215 [Splitter3]=7020x6360 [Splitter4]=7530x6360 [Splitter5]=8910x8370)
for window in SplitterForm Splitter3 Splitter4 Splitter5; do
  expect "$window" 5145x4215 343x281
  expect "$window" 5145x4200 343x280
  expect "$window" 5145x4230 343x282
  expect "$window" 3000x3870 200x258
  expect "$window" 3007x4222 200x281  # half a pixel and less rounds down
  expect "$window" 3008x4223 201x282  # more rounds up
  "$render" "$window" --client-only -o "$work/defined.png" >/dev/null 2>&1
  "$render" "$window" --client-only --size "${defined[$window]}" -o "$work/explicit.png" >/dev/null 2>&1
  cmp -s "$work/defined.png" "$work/explicit.png" ||
    { echo "$window: --size ${defined[$window]} draws another picture than its defined size"; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ] && echo "every size drew a picture of its own size"
[ "$failures" -eq 0 ]

#!/usr/bin/env bash
# Builds the program's measurement harness and a bare Qt window with the same three-entry menu bar, and
# prints the whole-program figures side by side: start-up to first painted frame, peak RSS, resize with
# layout and paint, drag move and release through Qt mouse events, and callgrind instruction counts.
#   bench/compare.sh            full run (a few minutes)
#   bench/compare.sh --quick    fewer runs, for a smoke test
# Environment: SPLITTER_BENCH_BUILD (build directory, default build-bench), NO_CALLGRIND=1 to skip valgrind.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${SPLITTER_BENCH_BUILD:-$root/build-bench}
starts=40 resizes=3000 rounds=3 drags=20 moves=300 cg_resizes=200
if [[ ${1:-} == --quick ]]; then
  starts=8 resizes=300 drags=4 moves=100 cg_resizes=50
fi

mkdir -p "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSPLITTER_BENCHMARKS=ON -DSPLITTER_TESTS=OFF \
  >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j2 --target launch program_harness bare_window core_bench >/dev/null
b=$build/bench
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The main window's client area is 5145 x 4215 twips, Splitter5's 8910 x 8370: pixels at 15 twips each.
main_size=343x281 s5_size=594x558

echo "# $(date -u +%FT%TZ)  $(nproc) cores  $(lscpu | sed -n 's/^Model name: *//p')  Qt $(qtpaths6 --qt-version 2>/dev/null || echo '?')"
echo "# start-ups: $starts each, interleaved; resizes: $rounds rounds of $resizes sizes; drag: $drags drags of $moves moves"

# --- start-up and peak RSS: one process per run, stamped by the launcher ---
"$b/launch" "$starts" bare -- "$b/bare_window" --startup --size $main_size \
  :: ours -- "$b/program_harness" --startup \
  :: ours4 -- "$b/program_harness" --startup --all >"$tmp/start" 2>"$tmp/start.err" \
  || { cat "$tmp/start.err"; exit 1; }

# --- resize, layout and paint, alternating sides round by round ---
for ((r = 0; r < rounds; ++r)); do
  "$b/program_harness" --resize "$resizes" 2>/dev/null | sed 's/^/ours /' >>"$tmp/resize"
  "$b/bare_window" --resize "$resizes" --size $s5_size 2>/dev/null | sed 's/^/bare /' >>"$tmp/resize"
  "$b/bare_window" --resize "$resizes" --size $s5_size --no-menu 2>/dev/null | sed 's/^/bare_nomenu /' >>"$tmp/resize"
done

# --- drag through Qt mouse events ---
"$b/program_harness" --drag "$drags" "$moves" 2>/dev/null >"$tmp/drag"

# --- layout alone: Splitter5's Form_Resize through the in-memory host ---
"$b/core_bench" --benchmark_filter='BM_FormResize/panes:5/w:8910/h:8370$' --benchmark_repetitions=9 \
  --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null >"$tmp/core"

# --- instruction counts ---
cg() {  # cg NAME OPS COMMAND...: instructions per operation between the instrumentation switches
  local name=$1 ops=$2; shift 2
  valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$tmp/cg.$name" "$@" >/dev/null 2>&1
  awk -v n="$name" -v ops="$ops" '/^totals:/ { printf "%s %.0f\n", n, $2 / ops }' "$tmp/cg.$name" >>"$tmp/cg"
}
if [[ -z ${NO_CALLGRIND:-} ]] && command -v valgrind >/dev/null; then
  cg resize_ours $cg_resizes "$b/program_harness" --resize $cg_resizes --callgrind
  cg resize_bare $cg_resizes "$b/bare_window" --resize $cg_resizes --size $s5_size --callgrind
  cg resize_bare_nomenu $cg_resizes "$b/bare_window" --resize $cg_resizes --size $s5_size --no-menu --callgrind
  cg drag_move $((2 * 100)) "$b/program_harness" --drag 2 100 --callgrind
  cg drag_release 10 "$b/program_harness" --drag 10 20 --callgrind-release
fi

# --- the table ---
field() { awk -v k="$1" -v f="$2" '$1 " " $2 == k { print $f; exit }' "$3"; }
# Median over rounds of a per-round figure (column f) for "SIDE KEY" lines.
rounds_median() { awk -v k="$1" -v f="$2" '$1 " " $2 == k { v[n++] = $f } END {
  if (!n) { print "nan"; exit }
  for (i = 1; i < n; ++i) for (j = i; j > 0 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
  print v[int((n - 1) / 2)] }' "$3"; }
dfield() { awk -v k="$1" -v f="$2" '$1 == k { print $f; exit }' "$tmp/drag"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0) print "-"; else printf "%.2f", a / b }'; }
row() { printf '%-44s %16s %16s %8s   %s\n' "$@"; }
fmt() { awk -v m="$1" -v lo="$2" -v hi="$3" -v s="$4" 'BEGIN { printf "%.*f [%.*f-%.*f]", s, m, s, lo, s, hi }'; }

echo
row "figure (median [p10-p90])" "ours" "bare" "ours/bare" "target"
sb=$(field "bare first_paint_us" 3 "$tmp/start"); so=$(field "ours first_paint_us" 3 "$tmp/start")
so4=$(field "ours4 first_paint_us" 3 "$tmp/start")
ms() { awk -v k="$1 first_paint_us" '$1 " " $2 == k { printf "%.2f [%.2f-%.2f]", $3 / 1000, $4 / 1000, $5 / 1000 }' "$tmp/start"; }
row "start-up to first frame, ms" "$(ms ours)" "$(ms bare)" "$(ratio "$so" "$sb")" "<= 1.05 x bare"
row "  all four windows painted, ms" "$(awk -v v="$so4" 'BEGIN { printf "%.2f", v / 1000 }')" "" \
  "$(ratio "$so4" "$sb")" ""
rb=$(field "bare peak_rss_kib" 3 "$tmp/start"); ro=$(field "ours peak_rss_kib" 3 "$tmp/start")
ro4=$(field "ours4 peak_rss_kib" 3 "$tmp/start")
mib() { awk -v k="$1" 'BEGIN { printf "%.2f", k / 1024 }'; }
row "peak RSS, first window, MiB" "$(mib "$ro")" "$(mib "$rb")" "$(ratio "$ro" "$rb")" \
  "<= bare + 1 MiB (ours - bare = $(awk -v a="$ro" -v b="$rb" 'BEGIN { printf "%+.2f", (a - b) / 1024 }') MiB)"
row "peak RSS, all four windows, MiB" "$(mib "$ro4")" "$(mib "$rb")" "$(ratio "$ro4" "$rb")" \
  "<= bare + 4 MiB (ours - bare = $(awk -v a="$ro4" -v b="$rb" 'BEGIN { printf "%+.2f", (a - b) / 1024 }') MiB)"
for side in ours bare bare_nomenu; do
  eval "rz_$side=\$(rounds_median '$side resize_us' 3 \"\$tmp/resize\")"
  eval "rz_${side}_lo=\$(rounds_median '$side resize_us' 4 \"\$tmp/resize\")"
  eval "rz_${side}_hi=\$(rounds_median '$side resize_us' 5 \"\$tmp/resize\")"
done
row "resize + layout + paint (Splitter5), us" "$(fmt "$rz_ours" "$rz_ours_lo" "$rz_ours_hi" 1)" \
  "$(fmt "$rz_bare" "$rz_bare_lo" "$rz_bare_hi" 1)" "$(ratio "$rz_ours" "$rz_bare")" "<= 1.1 x bare"
row "  against a bare window without menu bar" "" "$(fmt "$rz_bare_nomenu" "$rz_bare_nomenu_lo" "$rz_bare_nomenu_hi" 1)" \
  "$(ratio "$rz_ours" "$rz_bare_nomenu")" "(Splitter5 has no menu bar)"
layout_ns=$(awk -F, '/_median"/ { print $3; exit }' "$tmp/core")
row "layout alone: Splitter5 Form_Resize, us" "$(awk -v n="$layout_ns" 'BEGIN { printf "%.3f", n / 1000 }')" "-" "-" "< 1 us"
dm=$(dfield drag_move_us 2)
row "drag move, event to repainted indicator, us" \
  "$(fmt "$dm" "$(dfield drag_move_us 3)" "$(dfield drag_move_us 4)" 1)" "-" "-" "<= 25 us"
row "  allocations per move (total / in handling)" \
  "$(dfield drag_move_allocs 2) / $(dfield drag_move_handler_allocs 2)" "-" "-" ""
row "  pixels painted per move (outside indicator)" \
  "$(dfield drag_move_painted_px 2) ($(dfield drag_move_outside_px 4))" "-" "-" \
  "p90 outside the indicator's old and new areas"
dr=$(dfield drag_release_us 2)
row "drag release, layout and repaint, us" \
  "$(fmt "$dr" "$(dfield drag_release_us 3)" "$(dfield drag_release_us 4)" 1)" "-" "-" "<= 125 us"
if [[ -s $tmp/cg ]]; then
  c() { awk -v k="$1" '$1 == k { print $2 }' "$tmp/cg"; }
  row "callgrind: resize, instructions" "$(c resize_ours)" "$(c resize_bare)" "$(ratio "$(c resize_ours)" "$(c resize_bare)")" ""
  row "  against a bare window without menu bar" "" "$(c resize_bare_nomenu)" "$(ratio "$(c resize_ours)" "$(c resize_bare_nomenu)")" ""
  row "callgrind: drag move, instructions" "$(c drag_move)" "-" "-" ""
  row "callgrind: drag release, instructions" "$(c drag_release)" "-" "-" ""
fi

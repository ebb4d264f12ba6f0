#!/usr/bin/env bash
# Builds the program's measurement harness and a bare Qt window with the same three-entry menu bar, and
# prints the whole-program figures side by side: start-up to first painted frame, peak RSS, resize with
# layout and paint, drag move and release through Qt mouse events, and callgrind instruction counts.
# Five panes in nested QSplitters are measured too, for reference.
#   bench/compare.sh            full run (a few minutes)
#   bench/compare.sh --quick    fewer runs, for a smoke test
# Environment: SPLITTER_BENCH_BUILD (build directory, default build-bench), NO_CALLGRIND=1 to skip valgrind,
# NO_XVFB=1 to skip the resizes on a real X server (Xvfb, run when installed), BASELINE=1 to measure without
# AVX2 on a processor that has it (the program's pixel loops built for the baseline only, Qt's turned off).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${SPLITTER_BENCH_BUILD:-$root/build-bench}
clones=ON
if [[ -n ${BASELINE:-} ]]; then
  build=${SPLITTER_BENCH_BUILD:-$root/build-bench-baseline}
  clones=OFF
  export QT_NO_CPU_FEATURE="avx2 avx512f avx512bw avx512vl"
fi
starts=40 resizes=3000 rounds=3 drags=40 moves=300 cg_resizes=200
if [[ ${1:-} == --quick ]]; then
  starts=8 resizes=300 drags=4 moves=100 cg_resizes=50 rounds=1
fi

# The program's packages, Google Benchmark, valgrind for the instruction counts and Xvfb for the resizes
# on a real X server.
source "$root/scripts/setup.sh"
bench_packages=("${splitter_run_packages[@]}" libbenchmark-dev)
[[ -n ${NO_CALLGRIND:-} ]] || bench_packages+=(valgrind)
[[ -n ${NO_XVFB:-} ]] || bench_packages+=(xvfb)
splitter_install "${bench_packages[@]}"

mkdir -p "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSPLITTER_BENCHMARKS=ON -DSPLITTER_TESTS=OFF \
  -DSPLITTER_PIXEL_CLONES=$clones \
  >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j2 --target launch program_harness bare_window qsplitter_window core_bench >/dev/null
b=$build/bench
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
tmp=$(mktemp -d)
xvfb_pid=
trap 'rm -rf "$tmp"; [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null' EXIT

# The main window's client area is 5145 x 4215 twips, Splitter5's 8910 x 8370: pixels at 15 twips each.
main_size=343x281 s5_size=594x558

echo "# $(date -u +%FT%TZ)  $(nproc) cores  $(lscpu | sed -n 's/^Model name: *//p')  Qt $(qtpaths6 --qt-version 2>/dev/null || echo '?')"
[[ -z ${BASELINE:-} ]] || echo "# baseline x86-64: the program's pixel loops and Qt's without AVX2 (QT_NO_CPU_FEATURE=$QT_NO_CPU_FEATURE)"
echo "# start-ups: $starts each, interleaved; $rounds rounds of $resizes resizes and of $drags drags of $moves moves"

# --- start-up and peak RSS: one process per run, stamped by the launcher ---
"$b/launch" "$starts" bare -- "$b/bare_window" --startup --size $main_size \
  :: ours -- "$b/program_harness" --startup \
  :: ours4 -- "$b/program_harness" --startup --all \
  :: qsplit -- "$b/qsplitter_window" --startup >"$tmp/start" 2>"$tmp/start.err" \
  || { cat "$tmp/start.err"; exit 1; }

# --- resize, layout and paint, alternating sides round by round ---
for ((r = 0; r < rounds; ++r)); do
  "$b/program_harness" --resize "$resizes" 2>/dev/null | sed 's/^/ours /' >>"$tmp/resize"
  "$b/bare_window" --resize "$resizes" --size $s5_size 2>/dev/null | sed 's/^/bare /' >>"$tmp/resize"
  "$b/bare_window" --resize "$resizes" --size $s5_size --no-menu 2>/dev/null | sed 's/^/bare_nomenu /' >>"$tmp/resize"
  "$b/qsplitter_window" --resize "$resizes" --no-menu 2>/dev/null | sed 's/^/qsplit /' >>"$tmp/resize"
done

# --- drag through Qt mouse events, in rounds like the resizes ---
for ((r = 0; r < rounds; ++r)); do
  "$b/program_harness" --drag "$drags" "$moves" 2>/dev/null >>"$tmp/drag"
  "$b/qsplitter_window" --drag "$drags" "$moves" 2>/dev/null >>"$tmp/qdrag"
  "$b/qsplitter_window" --drag "$drags" "$moves" --opaque 2>/dev/null >>"$tmp/qdrag_opaque"
done

# --- end to end under a real X server: the same resizes on Xvfb (xcb), each timed until the server has
# handled the painted frame (a round trip after the paint) ---
if [[ -z ${NO_XVFB:-} ]] && command -v Xvfb >/dev/null; then
  source "$root/scripts/xvfb.sh"
  start_xvfb "$tmp"
  display=${DISPLAY#:}
  for ((r = 0; r < rounds; ++r)); do
    for side in "ours $b/program_harness --resize $resizes" \
                "bare_nomenu $b/bare_window --resize $resizes --size $s5_size --no-menu" \
                "qsplit $b/qsplitter_window --resize $resizes --no-menu"; do
      set -- $side
      name=$1; shift
      DISPLAY=":$display" QT_QPA_PLATFORM=xcb SPLITTER_BENCH_SYNC=1 "$@" 2>/dev/null | sed "s/^/$name /" >>"$tmp/xresize" \
        || echo "compare.sh: $name on Xvfb failed" >&2
    done
  done
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
fi

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
  cg resize_qsplit $cg_resizes "$b/qsplitter_window" --resize $cg_resizes --no-menu --callgrind
  cg drag_move $((2 * 100)) "$b/program_harness" --drag 2 100 --callgrind
  cg drag_release 10 "$b/program_harness" --drag 10 20 --callgrind-release
  cg qsplit_move $((2 * 100)) "$b/qsplitter_window" --drag 2 100 --callgrind
fi

# --- the table ---
# "SIDE KEY median p10 p90 n" lines (start-up, resize) and "KEY median p10 p90 n" lines (drag).
get() { awk -v k="$1" -v f="$2" '$1 " " $2 == k { print $f; exit }' "$3"; }
# Median over the rounds of column f: of "KEY ..." lines in a drag file, of "SIDE KEY ..." in the resizes.
median_of() { awk -v k="$1" -v f="$2" '(NF == 5 ? $1 : $1 " " $2) == k { v[n++] = $f } END {
  if (!n) { print "nan"; exit }
  for (i = 1; i < n; ++i) for (j = i; j > 0 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
  print v[int((n - 1) / 2)] }' "$3"; }
dget() { median_of "$1" "$2" "$3"; }
rounds() { median_of "$1" "$2" "$tmp/resize"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0) print "-"; else printf "%.2f", a / b }'; }
spread() { awk -v m="$1" -v lo="$2" -v hi="$3" -v d="$4" -v s="$5" 'BEGIN { printf "%.*f [%.*f-%.*f]", s, m / d, s, lo / d, s, hi / d }'; }
row() { printf '%-42s %19s %19s %9s %19s   %s\n' "$@"; }
startup() { spread "$(get "$1 first_paint_us" 3 "$tmp/start")" "$(get "$1 first_paint_us" 4 "$tmp/start")" \
  "$(get "$1 first_paint_us" 5 "$tmp/start")" 1000 2; }
resize() { spread "$(rounds "$1 resize_us" 3)" "$(rounds "$1 resize_us" 4)" "$(rounds "$1 resize_us" 5)" 1 1; }
drag() { spread "$(dget "$1" 2 "$2")" "$(dget "$1" 3 "$2")" "$(dget "$1" 4 "$2")" 1 1; }
mib() { awk -v k="$(get "$1 peak_rss_kib" 3 "$tmp/start")" 'BEGIN { printf "%.2f", k / 1024 }'; }
rss_delta() { awk -v a="$(get "$1 peak_rss_kib" 3 "$tmp/start")" -v b="$(get "bare peak_rss_kib" 3 "$tmp/start")" \
  'BEGIN { printf "%+.2f", (a - b) / 1024 }'; }

echo
echo "# figures: median [p10-p90]; for resizes and drags the median over the rounds of each round's figure"
row "figure" "ours" "bare" "ours/bare" "nested QSplitter" "target"
row "start-up to first frame, ms" "$(startup ours)" "$(startup bare)" \
  "$(ratio "$(get "ours first_paint_us" 3 "$tmp/start")" "$(get "bare first_paint_us" 3 "$tmp/start")")" \
  "$(startup qsplit)" "<= 1.05 x bare"
row "  all four windows painted, ms" "$(startup ours4)" "" \
  "$(ratio "$(get "ours4 first_paint_us" 3 "$tmp/start")" "$(get "bare first_paint_us" 3 "$tmp/start")")" "" ""
row "peak RSS, first window, MiB" "$(mib ours)" "$(mib bare)" "$(rss_delta ours)" "$(mib qsplit)" \
  "<= bare + 1 MiB (ours/bare column: difference)"
row "peak RSS, all four windows, MiB" "$(mib ours4)" "" "$(rss_delta ours4)" "" "<= bare + 4 MiB"
row "resize + layout + paint (Splitter5), us" "$(resize ours)" "$(resize bare)" \
  "$(ratio "$(rounds "ours resize_us" 3)" "$(rounds "bare resize_us" 3)")" "$(resize qsplit)" "<= 1.1 x bare"
row "  bare window without menu bar" "" "$(resize bare_nomenu)" \
  "$(ratio "$(rounds "ours resize_us" 3)" "$(rounds "bare_nomenu resize_us" 3)")" "" \
  "<= 1.5 x (Splitter5 and the QSplitter window have no menu bar)"
if [[ -s $tmp/xresize ]]; then
  xresize() { spread "$(median_of "$1 resize_us" 3 "$tmp/xresize")" "$(median_of "$1 resize_us" 4 "$tmp/xresize")" \
    "$(median_of "$1 resize_us" 5 "$tmp/xresize")" 1 1; }
  row "resize on Xvfb (xcb), end to end, us" "$(xresize ours)" "$(xresize bare_nomenu)" \
    "$(ratio "$(median_of "ours resize_us" 3 "$tmp/xresize")" "$(median_of "bare_nomenu resize_us" 3 "$tmp/xresize")")" \
    "$(xresize qsplit)" "bare and QSplitter windows without menu bar"
fi
layout_ns=$(awk -F, '/_median"/ { print $3; exit }' "$tmp/core")
row "layout alone: Splitter5 Form_Resize, us" "$(awk -v n="$layout_ns" 'BEGIN { printf "%.3f", n / 1000 }')" \
  "-" "-" "-" "< 1 us"
row "drag move, event to repainted indicator, us" "$(drag drag_move_us "$tmp/drag")" "-" "-" \
  "$(drag drag_move_us "$tmp/qdrag")" "<= 25 us; QSplitter: rubber band"
row "" "" "" "" "$(drag drag_move_us "$tmp/qdrag_opaque")" "QSplitter: opaque resize"
row "  allocations per move: all / in handling" \
  "$(printf %.0f "$(dget drag_move_allocs 2 "$tmp/drag")") / $(printf %.0f "$(dget drag_move_handler_allocs 2 "$tmp/drag")")" \
  "-" "-" "$(printf %.0f "$(dget drag_move_allocs 2 "$tmp/qdrag")")" ""
row "  pixels painted per move (p90 outside)" \
  "$(printf %.0f "$(dget drag_move_painted_px 2 "$tmp/drag")") ($(printf %.0f "$(dget drag_move_outside_px 4 "$tmp/drag")"))" \
  "-" "-" "" \
  "outside: not in the indicator's old or new area"
row "drag release, layout and repaint, us" "$(drag drag_release_us "$tmp/drag")" "-" "-" \
  "$(drag drag_release_us "$tmp/qdrag")" "<= 125 us; QSplitter: rubber band"
if [[ -s $tmp/cg ]]; then
  c() { awk -v k="$1" '$1 == k { print $2 }' "$tmp/cg"; }
  row "callgrind instructions: resize" "$(c resize_ours)" "$(c resize_bare)" \
    "$(ratio "$(c resize_ours)" "$(c resize_bare)")" "$(c resize_qsplit)" ""
  row "  bare window without menu bar" "" "$(c resize_bare_nomenu)" \
    "$(ratio "$(c resize_ours)" "$(c resize_bare_nomenu)")" "" "<= 1.5 x"
  row "callgrind instructions: drag move" "$(c drag_move)" "-" "-" "$(c qsplit_move)" "QSplitter: rubber band"
  row "callgrind instructions: drag release" "$(c drag_release)" "-" "-" "" "<= 250000"
fi

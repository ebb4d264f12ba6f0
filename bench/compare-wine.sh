#!/usr/bin/env bash
# The Windows program's figures under Wine on Xvfb, against a bare Win32 window with the same three-entry
# menu bar, as bench/compare.sh does for the Linux program: the size of splitter.exe, start-up to the first
# frame and peak working set (one process per run, interleaved), and a resize of Splitter5 with its layout
# and repaint against the bare window's resize with its repaint.
#   bench/compare-wine.sh            full run
#   bench/compare-wine.sh --quick    fewer runs
# Environment: SPLITTER_WIN32_BUILD (the cross build, default build-win32).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${SPLITTER_WIN32_BUILD:-$root/build-win32}
starts=15 resizes=2000 rounds=3
if [[ ${1:-} == --quick ]]; then
  starts=4 resizes=300 rounds=1
fi

if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DSPLITTER_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target splitter program_harness bare_window >/dev/null
b=$build/bench/win32
tmp=$(mktemp -d)
xvfb_pid=
trap 'rm -rf "$tmp"; WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null; [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null' EXIT
source "$root/scripts/xvfb.sh"
start_xvfb "$tmp" 1600x1100
export WINEPREFIX="$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[[ -f $WINEPREFIX/system.reg ]] || { wineboot -i >/dev/null 2>&1 || true; wineserver -w; }
wineserver -p  # one Wine server for all runs, so that its start-up is not counted in any of them

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "# $(date -u +%FT%TZ)  $(nproc) cores  $(wine --version)  under Xvfb"
size=$(stat -c %s "$build/src/win32/splitter.exe")
echo "splitter.exe: $size bytes ($(awk -v s="$size" 'BEGIN { printf "%.2f", s / 1048576 }') MB)"

for ((i = 0; i < starts; ++i)); do
  wine "$b/bare_window.exe" --startup | tr -d '\r' >>"$tmp/bare-start"
  wine "$b/program_harness.exe" --startup | tr -d '\r' >>"$tmp/ours-start"
done
bare_ms=$(cut -d' ' -f1 "$tmp/bare-start" | median) ours_ms=$(cut -d' ' -f1 "$tmp/ours-start" | median)
bare_kb=$(cut -d' ' -f2 "$tmp/bare-start" | sort -n | tail -n 1) ours_kb=$(cut -d' ' -f2 "$tmp/ours-start" | sort -n | tail -n 1)
echo "start-up to first frame (median of $starts): program $ours_ms ms, bare window $bare_ms ms, ratio $(ratio "$ours_ms" "$bare_ms")"
echo "peak working set (largest of $starts): program $ours_kb KB, bare window $bare_kb KB, ratio $(ratio "$ours_kb" "$bare_kb")"

for ((r = 0; r < rounds; ++r)); do
  wine "$b/program_harness.exe" --resize "$resizes" | tr -d '\r' >>"$tmp/ours-resize"
  wine "$b/bare_window.exe" --resize "$resizes" | tr -d '\r' >>"$tmp/bare-resize"
done
ours_us=$(median <"$tmp/ours-resize") bare_us=$(median <"$tmp/bare-resize")
echo "resize with repaint (median of $rounds rounds of $resizes): Splitter5 $ours_us us, bare window $bare_us us, ratio $(ratio "$ours_us" "$bare_us")"

# shellcheck shell=bash
# Sourced by the X11 tests: starts a private Xvfb server and the program on it, and gives helpers.
# The program is "$1"; it runs with no window manager unless the test names one in window_manager
# (openbox) before sourcing this.
set -euo pipefail
program="$1"
work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
  if [ -n "${xvfb_pid:-}" ] && ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "the X server has ended:" >&2
    sed 's/^/Xvfb: /' "$work/xvfb.log" >&2
  fi
  exit 1
}

# shellcheck source=../../scripts/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
start_xvfb "$work" || fail "no X server"
pids+=("$xvfb_pid")
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

if [ -n "${window_manager:-}" ]; then
  "$window_manager" --startup "touch $work/wm-ready" >"$work/wm.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -e "$work/wm-ready" ] && break; sleep 0.1; done
  [ -e "$work/wm-ready" ] || fail "$window_manager did not start"
fi

# Under AddressSanitizer: libxkbcommon-x11 hands strndup() atom names that end without a NUL, which is
# legal, but strict string checks read on to the NUL and report an overflow in the X11 platform's start.
if [ -n "${ASAN_OPTIONS:-}" ]; then export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"; fi
"$program" 2>"$work/program.log" &
program_pid=$!
pids+=("$program_pid")

# The id of the shown window with this title; waits for one to appear.
window() { timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
# A window's size as WIDTHxHEIGHT.
size_of() { eval "$(xdotool getwindowgeometry --shell "$1")"; echo "${WIDTH}x${HEIGHT}"; }

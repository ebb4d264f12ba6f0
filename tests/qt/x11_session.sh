# shellcheck shell=bash
# Sourced by the X11 tests: starts a private Xvfb server and the program on it, and gives helpers.
# The program is "$1"; it runs with no window manager.
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

# -displayfd picks a display number nobody uses, so these tests can run side by side; the server writes
# it once it takes connections. -noreset keeps it from starting itself over each time its last client
# leaves (the program's own display check, each xdotool call before the program connects): every such
# reset reloads the keymap through a child xkbcomp, which on a loaded machine can fail and end the
# server under the test.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
pids+=("$xvfb_pid")
for _ in $(seq 300); do
  [ "$(tail -c 1 "$work/display" | wc -l)" -eq 1 ] && break  # the number is whole once its newline is there
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended as it started"
  sleep 0.1
done
DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
[ "$DISPLAY" != ":" ] || fail "Xvfb did not start within 30 seconds"
export DISPLAY
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

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

#!/usr/bin/env bash
# The heap check of opening and closing windows (splitter_heap_tests) on a private Xvfb server, where the
# windows are X11 windows with an icon and another client can destroy them; then once more with the
# program on an accessibility bus of its own, when dbus-run-session and at-spi-bus-launcher are there.
# Usage: heap_x11_test.sh HEAP_TESTS_BINARY (needs Xvfb and xdotool).
set -euo pipefail
tests="$1"
work="$(mktemp -d)"
xvfb_pid=""
# shellcheck disable=SC2317  # run by the trap
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=../../scripts/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
start_xvfb "$work" || { echo "FAIL: no X server" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb GLIBC_TUNABLES=glibc.malloc.tcache_count=0
unset WAYLAND_DISPLAY AT_SPI_BUS_ADDRESS

echo "== on X11"
"$tests"

launcher="$(command -v at-spi-bus-launcher || echo /usr/libexec/at-spi-bus-launcher)"
if ! command -v dbus-run-session >/dev/null || [ ! -x "$launcher" ]; then
  echo "== no accessibility bus here (dbus-run-session, at-spi-bus-launcher): skipped"
  exit 0
fi
echo "== on X11 with an accessibility bus"
export XDG_RUNTIME_DIR="$work" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LAUNCHER="$launcher" TESTS="$tests"
# shellcheck disable=SC2016
dbus-run-session -- bash -c '"$LAUNCHER" --launch-immediately >/dev/null 2>&1 & bus=$!
  status=0; "$TESTS" || status=$?; kill "$bus" 2>/dev/null; exit "$status"' 2>&1 | grep -v "^dbus-daemon"
exit "${PIPESTATUS[0]}"

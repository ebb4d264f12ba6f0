#!/usr/bin/env bash
# The program started where no platform can start: an unknown -platform, a Wayland compositor that is not
# there with no X display, DISPLAY or WAYLAND_DISPLAY set but empty. Each time it must end with status 1
# and one line on its error output, as for an X display that cannot be opened, not abort with Qt's page.
# Usage: platform_problems_test.sh PROGRAM
set -uo pipefail
program="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
failures=0
# expect NAME PATTERN ENV... -- ARGS...: status 1, exactly one line on stderr, matching PATTERN.
expect() {
  local name=$1 pattern=$2 status=0
  shift 2
  local environment=()
  while [ "$1" != -- ]; do environment+=("$1"); shift; done
  shift
  env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$work/runtime" "${environment[@]}" timeout 20 "$program" "$@" \
    >"$work/out" 2>"$work/err" </dev/null || status=$?
  local lines
  lines="$(wc -l <"$work/err")"
  if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -Eq "$pattern" "$work/err"; then
    echo "FAILED $name: status $status, $lines lines:"
    sed 's/^/    /' "$work/err" | head -n 5
    failures=$((failures + 1))
  else
    echo "ok     $name: $(cat "$work/err")"
  fi
}
expect "-platform bogus" "^splitter: no platform is named bogus \(the platforms are: .*offscreen.*xcb" \
  DISPLAY=:987 -- -platform bogus
expect "QT_QPA_PLATFORM=bogus" "no platform is named bogus" QT_QPA_PLATFORM=bogus --
expect "a compositor that is not there, DISPLAY unset" \
  "^splitter: cannot open the Wayland display wayland-dead; cannot open the display \(DISPLAY is not set\)$" WAYLAND_DISPLAY=wayland-dead --
expect "a compositor that is not there, DISPLAY empty" \
  "^splitter: cannot open the Wayland display wayland-dead; cannot open the display \(DISPLAY is empty\)$" WAYLAND_DISPLAY=wayland-dead DISPLAY= --
expect "an X display that is not there, WAYLAND_DISPLAY empty" "^splitter: cannot open the display :987$" \
  DISPLAY=:987 WAYLAND_DISPLAY= --
expect "-platform xcb with DISPLAY empty" "^splitter: cannot open the display \(DISPLAY is empty\)$" DISPLAY= -- -platform xcb
expect "-platform wayland, no compositor" "^splitter: cannot open the Wayland display wayland-0$" -- -platform wayland
[ "$failures" -eq 0 ]

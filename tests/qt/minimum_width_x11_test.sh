#!/usr/bin/env bash
# On a private Xvfb server: the main window, whose menu bar can take its whole height, keeps its minimum
# width of 2000 twips (134 pixels at 15 twips a pixel, with no frame) however small another client makes
# it, and keeps any height. Usage: minimum_width_x11_test.sh PROGRAM (needs Xvfb and xdotool).
# shellcheck source-path=SCRIPTDIR source=x11_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/x11_session.sh"

main="$(window SplitterForm)" || fail "the main window did not appear"
# Asks for a size, then waits for the window to settle at one that matches the pattern.
expect_size() {
  xdotool windowsize "$main" "$1" "$2"
  local size=""
  for _ in $(seq 200); do  # up to 20 seconds: a loaded machine may be slow to answer
    sleep 0.1
    size="$(size_of "$main")"
    [[ "$size" =~ ^$3$ ]] && return 0
  done
  fail "asked for $1x$2: the window is $size, not $3"
}
expect_size 1 1 '134x[0-9]+'  # as high as its menu bar: it has no minimum height
expect_size 1 200 134x200
expect_size 300 1 300x1
expect_size 400 300 400x300
kill -0 "$program_pid" 2>/dev/null || fail "the program ended"
echo "the main window kept its minimum width"

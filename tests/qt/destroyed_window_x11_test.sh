#!/usr/bin/env bash
# On a private Xvfb server: a window that another X client destroys (xdotool windowclose) in the middle
# of a drag counts as closed. Its menu entry opens it again, and the program ends, with status 0, once
# its last window is gone. Usage: destroyed_window_x11_test.sh PROGRAM (needs Xvfb and xdotool).
# shellcheck source-path=SCRIPTDIR source=x11_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/x11_session.sh"

open_three() { xdotool mousemove --window "$main" 25 10 sleep 0.2 click 1; }  # the first menu entry

main="$(window SplitterForm)" || fail "the main window did not appear"
open_three
three="$(window Splitter3)" || fail "the menu did not open Splitter3"

# Press in the gap at Splitter3's vertical bar (3360 twips = 224 px), drag, destroy the window, release.
xdotool mousemove --window "$three" 225 200 sleep 0.3 mousedown 1 sleep 0.3 \
        mousemove --window "$three" 200 210 sleep 0.3 mousemove --window "$three" 180 220 sleep 0.3
xdotool windowclose "$three"
sleep 0.5
xdotool mouseup 1
sleep 0.5
kill -0 "$program_pid" 2>/dev/null || fail "the program ended while its main window was open"

open_three
again="$(window Splitter3)" || fail "the menu did not open Splitter3 again after it was destroyed"
[ "$again" != "$three" ] || fail "the destroyed window was found again"

# Destroying the two remaining windows ends the program.
xdotool windowclose "$main"
sleep 0.5
kill -0 "$program_pid" 2>/dev/null || fail "the program ended while Splitter3 was open"
xdotool windowclose "$again"
for _ in $(seq 150); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end when its last window was destroyed"
status=0
wait "$program_pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "a destroyed window counted as closed; the program ended with its last window"

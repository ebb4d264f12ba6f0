# shellcheck shell=bash
# Sourced by the tests and benchmarks that need a private X server. start_xvfb DIR [WxH] starts Xvfb and
# waits until it takes connections; it sets xvfb_pid and exports DISPLAY, or returns 1 with the reason on
# standard error (the server's own messages are in DIR/xvfb.log).
#
# -displayfd: the server picks a display number nobody uses, so tests can run side by side, and writes it
#   once it takes connections (a fixed number may be taken, and a socket appears before the server is
#   ready). The number is whole once its newline is there.
# -noreset: the server does not start itself over each time its last client leaves (a display check, an
#   xdotool call, one test program ending before the next starts). A client that connects during such a
#   reset is refused ("cannot open display"), and each reset reloads the keymap through a child xkbcomp,
#   which on a loaded machine can fail and end the server.
start_xvfb() {
  local dir=$1 screen=${2:-1280x1024}
  Xvfb -displayfd 3 -noreset -screen 0 "${screen}x24" -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
  xvfb_pid=$!
  local _
  for _ in $(seq 300); do
    if [ "$(tail -c 1 "$dir/display" | wc -l)" -eq 1 ]; then
      DISPLAY=":$(tr -d '[:space:]' <"$dir/display")"
      export DISPLAY
      return 0
    fi
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
      echo "Xvfb ended as it started: $(tail -n 3 "$dir/xvfb.log" | tr '\n' ' ')" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "Xvfb did not take connections within 30 seconds" >&2
  return 1
}

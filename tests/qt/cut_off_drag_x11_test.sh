#!/usr/bin/env bash
# On a private Xvfb server with openbox: drags that the window system cuts off, and windows resized while
# a bar's indicator is out, in each of the four windows, checked in the pixels against splitter-render.
#  - Press on a bar, move 40 pixels, minimise (or unmap) the window, release, bring it back: the drag has
#    ended where the pointer was last seen, a plain move over the window changes nothing, and F8, ten
#    Rights and Return then move the first bar by 150 twips.
#  - F8, End, shrink the window to 250x200, Return: the first bar is laid out at the new upper limit,
#    250 * 15 - 100 twips; the same for a press on it, a move far past the edge, the shrink and a release.
#    Splitter5 is shrunk to 310 pixels instead, which leaves its bar in sight for splitter-render to drag.
# Usage: cut_off_drag_x11_test.sh PROGRAM SPLITTER-RENDER SPLITTER-SCREEN-CHECK [DESKTOP-ENTRY]
# (with the desktop entry, also checks that its StartupWMClass is the windows' X11 class)
# (needs Xvfb, openbox, xdotool and ImageMagick's import).
render="$2" check_screen="$3"
window_manager=openbox  # read by x11_session.sh
export window_manager
# shellcheck source-path=SCRIPTDIR source=x11_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/x11_session.sh"

failures=0
check() {
  local name=$1 output
  shift
  if output="$("$@" 2>&1)"; then echo "ok     $name"; else
    echo "FAILED $name"
    sed 's/^/         /' <<<"$output"
    failures=$((failures + 1))
  fi
}
reference_height() { od -An -tu1 -j20 -N4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }'; }
# "X Y WIDTH HEIGHT" of a window's contents (menu bar and client area) on the screen. Each window is put
# at a place of its own (place), as xdotool reports a framed window's position with its frame added.
# shellcheck disable=SC2153  # WIDTH and HEIGHT come from the eval
geometry() {
  eval "$(xdotool getwindowgeometry --shell "${id[$1]}")"
  echo "${at[$1]} $WIDTH $HEIGHT"
}
declare -A at=([SplitterForm]="20 40" [Splitter3]="600 40" [Splitter4]="600 40" [Splitter5]="600 40")
place() { xdotool windowmove --sync "${id[$1]}" ${at[$1]} 2>/dev/null || true; }
# The client area (below any menu bar) against splitter-render's picture drawn with the given arguments
# at the client's present size; tried for a few seconds, as the window repaints asynchronously.
client_matches() {
  local name=$1 x y w h reference="$work/$2-expected.png" shot="$work/$2.png"
  shift 2
  read -r x y w h <<<"$(geometry "$name")"
  "$render" "$name" --client-only --size "$((w * 15))x$(((h - menu[$name]) * 15))" "$@" -o "$reference" \
    >/dev/null || { echo "splitter-render $name $* failed"; return 1; }
  for _ in $(seq 15); do
    import -window root "$shot"
    "$check_screen" compare "$shot" "$x" $((y + menu[$name])) "$reference" >"$work/compare.out" 2>&1 && return 0
    sleep 0.1
  done
  [ -n "${SPLITTER_X11_KEEP:-}" ] && cp "$shot" "$reference" "$SPLITTER_X11_KEEP/"
  echo "splitter-render $name $* at $x,$((y + menu[$name])): $(cat "$work/compare.out")"
  return 1
}
bring_back() { xdotool windowmap --sync "${id[$1]}" windowactivate --sync "${id[$1]}" 2>/dev/null || true; place "$1"; sleep 0.4; }
# Moves the pointer to client pixel X Y of a window (below any menu bar).
point() { echo mousemove --window "${id[$1]}" "$2" $(($3 + menu[$1])); }

main="$(window SplitterForm)" || fail "the main window did not appear"
# The desktop entry links the windows to its launcher by their X11 class.
if [ -n "${4:-}" ]; then
  wm_class="$(sed -n 's/^StartupWMClass=//p' "$4")"
  check "the main window's class is the desktop entry's StartupWMClass ($wm_class)" \
    bash -c "xdotool search --class '^$wm_class\$' | grep -qx '$main'"
fi
declare -A id=([SplitterForm]="$main") menu=([SplitterForm]=0 [Splitter3]=0 [Splitter4]=0 [Splitter5]=0)
place SplitterForm
read -r _ _ _ mh <<<"$(geometry SplitterForm)"
"$render" SplitterForm --client-only -o "$work/first.png" >/dev/null || fail "splitter-render failed"
menu[SplitterForm]=$((mh - $(reference_height "$work/first.png")))
# The menu entries, reached from the keyboard: Alt gives the menu bar the keyboard on its first entry.
declare -A rights=([Splitter3]=0 [Splitter4]=1 [Splitter5]=2)
# Opens a window from the main window's menu, freshly laid out: closed first if it is open.
open_fresh() {
  if [ -n "${id[$1]:-}" ]; then
    xdotool windowclose "${id[$1]}"
    for _ in $(seq 50); do xdotool search --onlyvisible --name "^$1\$" >/dev/null || break; sleep 0.1; done
  fi
  bring_back SplitterForm
  xdotool key alt sleep 0.2
  [ "${rights[$1]}" -eq 0 ] || xdotool key --repeat "${rights[$1]}" --delay 100 Right
  xdotool sleep 0.2 key Return
  id[$1]="$(window "$1")" || fail "the menu did not open $1"
  place "$1"
  bring_back "$1"
}

# Where each window's first bar, Image1, stands (twips); the main window is never reopened.
declare -A image1=([SplitterForm]=2340 [Splitter3]=3360 [Splitter4]=3360 [Splitter5]=4560)
declare -A defined=([SplitterForm]=2340 [Splitter3]=3360 [Splitter4]=3360 [Splitter5]=4560)
reset() {
  if [ "$1" = SplitterForm ]; then return; fi
  open_fresh "$1"
  image1[$1]=${defined[$1]}
}

# Press on a bar, move 40 pixels along its axis, cut the drag off with `xdotool CUT`, release, bring the
# window back. BAR is Image1 (left-right), or Image2 of Splitter3 (up-down, its gap at 114,183 in a
# container whose inner corner is at 30 twips).
cut_off() {
  local name=$1 bar=$2 cut=$3 w=${id[$1]} px py dx=0 dy=0 position
  if [ "$bar" = Image1 ]; then
    px=$((image1[$name] / 15 + 2)) py=100 dx=40
    position=$(((px + dx) * 15))
  else
    px=114 py=183 dy=40
    position=$(((py + dy) * 15 - 30))
  fi
  bring_back "$name"
  # shellcheck disable=SC2046
  xdotool $(point "$name" "$px" "$py") sleep 0.2 mousedown 1 sleep 0.2 \
    $(point "$name" $((px + dx / 2)) $((py + dy / 2))) sleep 0.2 $(point "$name" $((px + dx)) $((py + dy))) sleep 0.3
  xdotool "$cut" "$w"
  sleep 0.5
  xdotool mouseup 1
  sleep 0.3
  bring_back "$name"
  [ "$bar" = Image1 ] && image1[$name]=$position
  local drags=(--drag "$bar:$position")
  check "$name, $cut in mid-drag: the drag ended where the pointer was last seen ($bar at $position)" \
    client_matches "$name" "$name-$cut" "${drags[@]}"
  # shellcheck disable=SC2046
  xdotool $(point "$name" 20 20) sleep 0.2 $(point "$name" 60 70) sleep 0.2 $(point "$name" 30 90) sleep 0.3
  check "$name, $cut in mid-drag: later plain moves leave the bars alone" \
    client_matches "$name" "$name-$cut-moved" "${drags[@]}"
  xdotool key F8 sleep 0.1 key --repeat 10 --delay 30 Right sleep 0.1 \
    key Return
  image1[$name]=$((image1[$name] + 150))
  [ "$bar" = Image1 ] && drags=()
  check "$name, $cut in mid-drag: F8, ten Rights and Return then move Image1 to ${image1[$name]}" \
    client_matches "$name" "$name-$cut-keys" "${drags[@]}" --drag "Image1:${image1[$name]}"
}

# F8, End, the shrink, Return; or a press on Image1, a move far past the right edge, the shrink and a
# release there.
shrink_in_mid_move() {
  local name=$1 how=$2 w=${id[$1]} x y width height narrow=250
  [ "$name" = Splitter5 ] && narrow=310
  read -r x y width height <<<"$(geometry "$name")"
  bring_back "$name"
  if [ "$how" = keyboard ]; then
    xdotool key F8 sleep 0.1 key End
  else
    local px=$((image1[$name] / 15 + 2))
    # shellcheck disable=SC2046
    xdotool $(point "$name" "$px" 100) sleep 0.2 mousedown 1 sleep 0.2 $(point "$name" 1000 100) sleep 0.3
  fi
  xdotool windowsize --sync "$w" "$narrow" $((200 + menu[$name]))
  sleep 0.5
  if [ "$how" = keyboard ]; then xdotool key Return; else xdotool mouseup 1; fi
  image1[$name]=$((narrow * 15 - 100))
  check "$name, shrunk to ${narrow}x200 in mid-move ($how): Image1 is laid out at ${image1[$name]}" \
    client_matches "$name" "$name-shrunk-$how" --drag "Image1:${image1[$name]}"
  xdotool windowsize --sync "$w" "$width" "$height"
  sleep 0.3
}

for name in SplitterForm Splitter3 Splitter4 Splitter5; do
  bar=Image1
  [ "$name" = Splitter3 ] && bar=Image2
  reset "$name"
  for cut in windowminimize windowunmap; do
    cut_off "$name" "$bar" "$cut"
    reset "$name"
  done
  for how in keyboard mouse; do
    shrink_in_mid_move "$name" "$how"
    reset "$name"
  done
done
kill -0 "$program_pid" 2>/dev/null || fail "the program ended"
[ "$failures" -eq 0 ] || fail "$failures checks failed"
echo "drags cut off by the window system and shrinks in mid-move held in every window"

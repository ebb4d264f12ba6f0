# Shared by scripts/run, scripts/test and bench/compare.sh: installs missing Debian packages, configures
# and builds, each with its output kept in a log file under build/logs and a line or two on the terminal.
# Sourced, not run.
set -euo pipefail

SPLITTER_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SPLITTER_BUILD="${SPLITTER_BUILD:-$SPLITTER_ROOT/build}"
SPLITTER_LOGS="${SPLITTER_LOGS:-$SPLITTER_ROOT/build/logs}"
SPLITTER_JOBS="${SPLITTER_JOBS:-$(nproc)}"
# The command as it was typed, to be run again once the packages are in (sourced, we see its arguments).
SPLITTER_COMMAND="$0${*:+ $*}"

# What building and running the program needs: the compiler and build tools, Qt with its X11, offscreen
# and Wayland platform plugins, libxcb (the program talks to the X server directly too), and the font for
# the Japanese menu captions. A Wayland client draws its own pointer from a cursor theme, so one comes
# too: DMZ, which is small and becomes the default theme where there is none.
splitter_run_packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins qt6-wayland libgl-dev
                       libxcb1-dev fonts-noto-cjk dmz-cursor-theme)
# Added for the tests: GoogleTest (its CMake package needs GoogleMock's files too), Xvfb and xdotool for
# the checks of what other X clients do to the windows, with openbox to minimise them and ImageMagick's
# import to take screenshots, Xlib for the heap check on X11 (which waits for Xlib to catch up with the
# server), Qt's private headers, through which the host fuzzer reads a window's backing store, and
# dpkg-dev, with which the README's commands make the package.
splitter_test_packages=(libgtest-dev libgmock-dev xvfb xdotool openbox imagemagick libx11-dev qt6-base-private-dev
                        dpkg-dev)
# Added for scripts/test --full: clang with its sanitizer and libFuzzer runtimes, the validators that the
# desktop entry and AppStream metadata are checked with, a D-Bus session with the AT-SPI registry and
# its Python client for the AT-SPI checks, the Orca screen reader with speech-dispatcher for the checks
# of what it says, and MinGW-w64, GoogleTest's sources and Wine for the Windows program and its checks,
# with xwininfo and ImageMagick to read the screen, and wixl and msitools to build and read its installer.
splitter_full_packages=(clang libclang-rt-14-dev desktop-file-utils appstream
                        dbus-bin dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0 python3-gi
                        orca speech-dispatcher python3-speechd
                        g++-mingw-w64-x86-64-posix googletest wine wine64 x11-utils imagemagick wixl msitools)

# --- output ---------------------------------------------------------------------------------------------

splitter_say() { printf '%s\n' "$*"; }
splitter_complain() { printf '%s\n' "$*" >&2; }

# "41 s" or "2 min 05 s", for the time since the given value of $SECONDS.
splitter_elapsed() {
  local s=$((SECONDS - $1))
  if [ "$s" -ge 60 ]; then printf '%d min %02d s' $((s / 60)) $((s % 60)); else printf '%d s' "$s"; fi
}

# The path as the person typed it from the top of the project, when it lies inside it.
splitter_shown() {
  case "$1" in "$SPLITTER_ROOT"/*) printf '%s' "${1#"$SPLITTER_ROOT"/}" ;; *) printf '%s' "$1" ;; esac
}

# Runs a command with all its output appended to LOG. LABEL is printed first; on a terminal it is then
# kept up to date with what PROGRESS (a function given the log's path; may be empty) reads from the log,
# and wiped at the end so that the caller's summary takes its place.
splitter_logged() {
  local log=$1 label=$2 progress=$3
  shift 3
  if [ ! -t 1 ]; then
    splitter_say "$label"
    "$@" >>"$log" 2>&1
    return
  fi
  # Background jobs of a script ignore Ctrl-C; pass it on.
  "$@" >>"$log" 2>&1 &
  local pid=$! status=0
  trap 'kill -TERM '"$pid"' 2>/dev/null; printf "\n" ; exit 130' INT TERM
  while kill -0 "$pid" 2>/dev/null; do
    printf '\r\033[K%s %s' "$label" "$([ -z "$progress" ] || "$progress" "$log")"
    sleep 0.5
  done
  wait "$pid" || status=$?
  trap - INT TERM
  printf '\r\033[K'
  return "$status"
}

# Progress read from the logs: apt's status lines, ninja's [done/total] and ctest's "done/total Test".
splitter_apt_progress() {
  local line
  line="$(grep -aoE '^(dl|pm)status:[^:]*:[0-9.]+' "$1" | tail -n 1)" || true
  case "$line" in
    dlstatus:*) line="${line##*:}" && printf 'downloading, %s%%' "${line%%.*}" ;;
    pmstatus:*) line="${line##*:}" && printf 'unpacking and setting up, %s%%' "${line%%.*}" ;;
  esac
}
splitter_ninja_progress() { grep -aoE '^\[[0-9]+/[0-9]+\]' "$1" | tail -n 1 | tr -d '[]' || true; }
splitter_ctest_progress() { grep -aoE '^ *[0-9]+/[0-9]+ Test' "$1" | tail -n 1 | sed 's/ Test$//; s/^ *//' || true; }

# The last lines of a log, and where the rest is; then returns 1.
splitter_show_failure() {
  local log=$1 what=$2
  tail -n 40 "$log"
  splitter_say "$what: the whole output is in $(splitter_shown "$log")"
  return 1
}

# --- packages -------------------------------------------------------------------------------------------

# Prints those of the given packages that are not installed, one a line.
splitter_missing_packages() {
  local installed
  installed="$(dpkg-query -W -f='${Package} ${Status}\n' "$@" 2>/dev/null | awk '/ install ok installed$/ { print $1 }')" || true
  local p
  for p in "$@"; do
    grep -qxF "$p" <<<"$installed" || printf '%s\n' "$p"
  done
}

# How apt-get is run as root: directly when we are root, else through sudo when it is there and lets us.
# Sets splitter_as_root; when neither works, sets splitter_no_root to the reason and returns 1.
splitter_find_root() {
  splitter_as_root=()
  splitter_no_root=""
  [ "$(id -u)" -eq 0 ] && return 0
  if ! command -v sudo >/dev/null 2>&1; then
    splitter_no_root="you are not root and sudo is not installed"
    return 1
  fi
  splitter_as_root=(sudo)
  sudo -n true 2>/dev/null && return 0
  # Not without a password: is one enough, and is there a terminal to ask for it on?
  local listing
  listing="$(LC_ALL=C sudo -n -l 2>&1)" || true
  if grep -q "password is required" <<<"$listing"; then
    if [ ! -t 0 ]; then
      splitter_no_root="sudo needs your password and there is no terminal to ask for it on"
    elif sudo -v -p "[sudo] password for %u, to install the packages: "; then
      return 0
    else
      splitter_no_root="sudo did not let you (a wrong password, or you may not use it)"
    fi
  else
    splitter_no_root="you are not root and sudo does not let you run apt-get"
  fi
  splitter_as_root=()
  return 1
}

splitter_apt_get_install() {
  local apt=("${splitter_as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o APT::Status-Fd=1)
  "${apt[@]}" update && "${apt[@]}" install -y --no-install-recommends "$@"
}

# Installs those of the given packages that are missing, with apt's output in build/logs/apt.log. Without
# a way to become root it says what to run instead and ends the script.
splitter_install() {
  local missing
  mapfile -t missing < <(splitter_missing_packages "$@")
  [ ${#missing[@]} -eq 0 ] && return 0
  local count="${#missing[@]} package"
  [ ${#missing[@]} -eq 1 ] || count+=s
  if ! splitter_find_root; then
    splitter_complain "$SPLITTER_COMMAND needs $count that are not installed:"
    splitter_complain "  ${missing[*]}"
    splitter_complain "Installing them needs root, but $splitter_no_root. Run this (it asks for the root password):"
    splitter_complain ""
    splitter_complain "  su -c 'apt-get update && apt-get install --no-install-recommends ${missing[*]}'"
    splitter_complain ""
    splitter_complain "and then $SPLITTER_COMMAND again."
    exit 1
  fi
  mkdir -p "$SPLITTER_LOGS"
  # This run's output goes to a log of its own, then to the end of apt.log, which keeps every run's.
  local log="$SPLITTER_LOGS/apt.log" run_log="$SPLITTER_LOGS/apt-run.log" start=$SECONDS status=0
  printf '=== %s: %s installs %s\n' "$(date '+%F %T')" "$0" "${missing[*]}" >"$run_log"
  splitter_logged "$run_log" "Installing $count…" splitter_apt_progress \
    splitter_apt_get_install "${missing[@]}" || status=$?
  # apt's own summary: "0 upgraded, 214 newly installed, ..." and "... 812 MB of additional disk space ...".
  local added size
  added="$(grep -aoE '[0-9]+ newly installed' "$run_log" | tail -n 1 | cut -d' ' -f1)" || true
  size="$(grep -aoE 'After this operation, [0-9.,]+ [kMG]B' "$run_log" | tail -n 1 | awk '{ print $4, $5 }')" || true
  cat "$run_log" >>"$log" && rm -f "$run_log"
  [ "$status" -eq 0 ] || splitter_show_failure "$log" "apt-get could not install ${missing[*]}" || exit 1
  local extra=""
  [ -n "$added" ] && [ "$added" -gt ${#missing[@]} ] && extra=" and $((added - ${#missing[@]})) they need"
  splitter_say "Installed $count (${missing[*]})$extra${size:+, $size,} in $(splitter_elapsed "$start") (log: $(splitter_shown "$log"))."
}

# --- building -------------------------------------------------------------------------------------------

# The log files of the build directory in use: build/logs/NAME.log for build/, asan-NAME.log for
# build-asan/, and so on.
splitter_log() {
  local tag
  tag="$(basename "$SPLITTER_BUILD")"
  tag="${tag#build}"
  tag="${tag#-}"
  mkdir -p "$SPLITTER_LOGS"
  printf '%s/%s%s.log' "$SPLITTER_LOGS" "${tag:+$tag-}" "$1"
}

# Configures $SPLITTER_BUILD with the given extra CMake options, through ccache when it is installed.
splitter_configure() {
  local werror=OFF launcher=""
  [ -n "${CI:-}" ] && werror=ON
  command -v ccache >/dev/null 2>&1 && launcher=ccache
  local log
  log="$(splitter_log configure)"
  : >"$log"
  splitter_logged "$log" "Configuring $(splitter_shown "$SPLITTER_BUILD")…" "" \
    cmake -S "$SPLITTER_ROOT" -B "$SPLITTER_BUILD" -G Ninja -DSPLITTER_WERROR="$werror" \
    -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" "$@" ||
    splitter_show_failure "$log" "CMake could not configure $(splitter_shown "$SPLITTER_BUILD")"
}

# Builds the given targets (all when none) in $SPLITTER_BUILD.
splitter_build() {
  local log start=$SECONDS what="${*:-everything}"
  log="$(splitter_log build)"
  : >"$log"
  local targets=()
  [ $# -eq 0 ] || targets=(--target "$@")
  splitter_logged "$log" "Building $what in $(splitter_shown "$SPLITTER_BUILD")…" splitter_ninja_progress \
    cmake --build "$SPLITTER_BUILD" -j "$SPLITTER_JOBS" "${targets[@]}" ||
    splitter_show_failure "$log" "The build failed" || return 1
  if grep -q '^ninja: no work to do' "$log"; then
    splitter_say "$what: up to date."
    return 0
  fi
  local warnings
  warnings="$(grep -c ' warning: ' "$log")" || true
  local note=""
  [ "$warnings" -eq 0 ] || note=" with $warnings compiler warnings (see $(splitter_shown "$log"))"
  splitter_say "Built $what in $(splitter_elapsed "$start")$note."
}

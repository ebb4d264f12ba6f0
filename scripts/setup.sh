# Shared by scripts/run and scripts/test: installs whatever Debian packages are missing, then configures
# and builds into build/. Sourced, not run.
set -euo pipefail

SPLITTER_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SPLITTER_BUILD="${SPLITTER_BUILD:-$SPLITTER_ROOT/build}"

splitter_packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-private-dev qt6-qpa-plugins libgl-dev
                   fonts-noto-cjk libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev)

splitter_install() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

splitter_build() {
  local werror=OFF
  [ -n "${CI:-}" ] && werror=ON
  cmake -S "$SPLITTER_ROOT" -B "$SPLITTER_BUILD" -G Ninja -DSPLITTER_WERROR="$werror" "$@" >/dev/null
  cmake --build "$SPLITTER_BUILD" -j "$(nproc)"
}

splitter_install "${splitter_packages[@]}"

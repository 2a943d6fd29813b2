# Shared by scripts/run and scripts/test: locate the tree, install what is missing.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libhidapi-dev
  libudev-dev libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth
  fonts-dejavu-core clang-14 libclang-rt-14-dev libx11-dev libglib2.0-dev
  gsettings-desktop-schemas dconf-gsettings-backend dconf-service dbus-daemon libglib2.0-bin
  dpkg-dev file desktop-file-utils groff-base xdotool openbox)

# install_missing PACKAGE... : apt-get install whatever dpkg does not know yet.
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing Debian packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; return 1; }
    sudo=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null ||
    { "${sudo[@]}" apt-get update -q >/dev/null &&
      "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null; }
}

# configure_and_build DIR CMAKE-ARGS... : one Ninja build tree under the source tree.
configure_and_build() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}

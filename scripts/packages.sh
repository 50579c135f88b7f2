# Debian packages the build, the tests and the demo need. Sourced by the
# scripts; installs what is missing (with sudo when not run as root).
KPL_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6 libsqlite3-dev sqlite3
  mdbtools-dev libmdb3 libglib2.0-dev
  fonts-dejavu-core fonts-liberation2 xvfb xauth xdotool imagemagick)

kpl_install_packages() {
  local missing=()
  for p in "${KPL_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

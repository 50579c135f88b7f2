# Debian packages the build, the tests, the demo and the Debian package (its
# dependencies are computed by dpkg-shlibdeps) need; mdbtools is the
# independent Jet reader the tests compare written Jet files with. Sourced by the
# scripts; installs what is missing (with sudo when not run as root).
KPL_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev libsqlite3-dev sqlite3
  mdbtools
  fonts-dejavu-core fonts-liberation2 xvfb xauth xdotool imagemagick
  dpkg-dev file man-db)
# What scripts/windows adds for the Windows build and its tests under Wine.
KPL_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix qt6-base-dev-tools xz-utils zip wine wine64)

kpl_install_packages() {
  local missing=()
  for p in "${KPL_PACKAGES[@]}" "$@"; do
    # A package whose triggers wait (man-db while another install runs) is
    # installed all the same.
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null |
      grep -Eq "install ok (installed|triggers-pending|triggers-awaited)" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  # Waits for another install on the machine to finish.
  local wait=(-o DPkg::Lock::Timeout=600)
  "${sudo[@]}" apt-get "${wait[@]}" update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${wait[@]}" install -y \
    --no-install-recommends "${missing[@]}"
}

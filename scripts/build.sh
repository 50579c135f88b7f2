# The one build configuration of the scripts, sourced by them after
# packages.sh. scripts/demo, scripts/test, scripts/package and
# scripts/screenshot configure the same folder with the same flags, so the
# program is compiled once for all of them; only the sanitizer build of
# scripts/test and the clang build of scripts/fuzz are builds of their own.

# The shared build folder (KPL_BUILD_DIR names another) and the parallel jobs,
# one per core of the machine.
kpl_build_dir=${KPL_BUILD_DIR:-build}
kpl_jobs=$(nproc)

# Compiler cache, where the Debian package is installed: a folder built
# again (another clone, a cleaned build folder) reuses what was compiled.
kpl_cache_flags=()
if command -v ccache >/dev/null; then
  kpl_cache_flags=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# kpl_configure DIR [CMAKE_ARGUMENTS...]: configures DIR as a build optimised
# with debugging information, unless the arguments say otherwise.
kpl_configure() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${kpl_cache_flags[@]}" "$@" \
    >/dev/null
}

# kpl_configure_hardened DIR [CMAKE_ARGUMENTS...]: DIR with the hardening
# flags Debian builds its packages with (dpkg-buildflags, every hardening
# feature on), which the package made from it and its lintian check ask for.
kpl_configure_hardened() {
  local dir=$1
  shift
  kpl_configure "$dir" \
    "-DCMAKE_C_FLAGS=$(kpl_buildflags CPPFLAGS) $(kpl_buildflags CFLAGS)" \
    "-DCMAKE_CXX_FLAGS=$(kpl_buildflags CPPFLAGS) $(kpl_buildflags CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(kpl_buildflags LDFLAGS)" "$@"
}

# kpl_configure_shared: the shared build folder, hardened and with warnings as
# errors, since the package is made from this same build.
kpl_configure_shared() {
  kpl_configure_hardened "$kpl_build_dir" -DKPL_WARNINGS_AS_ERRORS=ON
}
kpl_buildflags() {
  DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"
}

# kpl_build DIR [TARGET...]: builds the targets (all without any) with one
# job per core.
kpl_build() {
  local dir=$1
  shift
  local targets=()
  [ $# -eq 0 ] || targets=(--target "$@")
  cmake --build "$dir" -j "$kpl_jobs" "${targets[@]}"
}

# kpl_windows_sdk: sets kpl_windows_sdk to the Qt and SQLite for Windows of
# ../shared/windows-sdk/, unpacked once into ~/.cache/kpl/ (into a folder of
# its own first, so that an interrupted unpacking is never taken for a whole
# one).
kpl_windows_sdk() {
  local archive cache
  archive=$(ls ../shared/windows-sdk/qt6.*-mingw64.tar.xz)
  cache=${XDG_CACHE_HOME:-$HOME/.cache}/kpl/$(basename "$archive" .tar.xz)
  kpl_windows_sdk=$cache/qt6.4.2-mingw64-posix
  if [ ! -d "$kpl_windows_sdk" ]; then
    rm -rf "$cache.partial"
    mkdir -p "$cache.partial"
    tar -C "$cache.partial" -xJf "$archive"
    mv "$cache.partial" "$cache"
  fi
}

#!/usr/bin/env bash
# The Debian package on a real machine: builds it from the build tree,
# checks it with lintian where that is installed, installs it with apt-get,
# links the installed program into a demo project's component folder, runs a
# silent start through the link and checks what it did, checks the command,
# its manual page and the default language file, and removes the package
# again, which leaves none of its files behind.
#   debian_package.sh BUILD_DIR SOURCE_DIR VERSION
# Installing needs root: exits 77 (skipped) otherwise.
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
version=$3
package=kpl-presets-config
program=/usr/lib/$package/KPL_Presets_Config

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }
installed() { dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; }

[ "$(id -u)" -eq 0 ] || skip "installing the package needs root"
# Every build tree of this machine installs and removes the same package:
# one test at a time.
lock_dir=/run/lock
[ -d "$lock_dir" ] || lock_dir=/tmp
exec 9>"$lock_dir/$package-test.lock"
flock -w 900 9 || fail "another run of this test held the machine for 15 minutes"
installed && skip "$package is installed on this machine; the test would replace and remove it"

work=$(mktemp -d /tmp/kpl-package-test.XXXXXX)
# apt reads the package file as its own unprivileged user.
chmod 755 "$work"
cleanup() {
  installed && apt-get remove -y -qq -o DPkg::Lock::Timeout=300 "$package" >/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

echo "-- package"
(cd "$build" && cpack -B "$work/cpack" >/dev/null)
deb=$work/cpack/${package}_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"); CPack wrote: $(ls "$work/cpack")"
if command -v lintian >/dev/null; then
  lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$deb" || fail "lintian"
else
  echo "lintian is not installed: not checked"
fi

echo "-- install"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Lock::Timeout=300 "$deb"
installed || fail "apt-get did not install $package"
files=$(dpkg -L "$package")
[ "$(KPL_Presets_Config --version)" = "KPL_Presets_Config $version" ] ||
  fail "KPL_Presets_Config --version through PATH: $(KPL_Presets_Config --version)"

echo "-- silent start through a link in a demo project"
"$source/scripts/make-demo-project" --link "$work/project" "$program" >/dev/null
project=$work/project
[ "$(readlink "$project/KPL_Presets/KPL_Presets_Config")" = "$program" ] || fail "no link"
code=0
(cd "$project/KPL_Presets" && KPL_SERVICE_LOG=$work/service.log ./KPL_Presets_Config /EXTERNAL SILENT) ||
  code=$?
[ "$code" -eq 0 ] || fail "silent start ended with exit code $code: $(cat "$work/service.log" 2>/dev/null)"
tr -d '\r' < "$project/KPL_Presets/KPL_Presets.cfg" | grep -qx "S_Prog=$version - Standalone" ||
  fail "no edit record in KPL_Presets.cfg"
db=$project/KPL_Presets/KPL_Presets.mdb
records=$(sqlite3 "$db" 'SELECT count(*) FROM PRESET_DEFS')
tuned=$(sqlite3 "$db" "SELECT count(*) FROM PRESET_DEFS AS d JOIN Source_PRESET_DEFS AS s
  ON s.ID = d.ID WHERE d.min IS NOT s.min OR d.max IS NOT s.max OR d.pass IS NOT s.pass")
[ "$records" -gt 0 ] && [ "$tuned" -gt 0 ] ||
  fail "PRESET_DEFS: $records records, $tuned with tuned values carried over"
[ ! -e "$project/N4Rcfglog.txt" ] || fail "errors logged: $(cat "$project/N4Rcfglog.txt")"
echo "$records records, $tuned with tuned values carried over"

echo "-- manual page and default language file"
page=/usr/share/man/man1/KPL_Presets_Config.1.gz
if [ -e "$page" ]; then
  bash "$source/tests/packaging/man_page.sh" "$page" KPL_Presets_Config
else
  echo "this machine's dpkg leaves manual pages out: not checked"
fi
cmp /usr/share/$package/KPL_Presets_Config.ini "$source/src/resources/language/KPL_Presets_Config.ini" ||
  fail "the installed default language file differs from the project's"

echo "-- remove"
apt-get remove -y -q -o DPkg::Lock::Timeout=300 "$package"
! installed || fail "$package still installed"
! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q config-files ||
  fail "$package left configuration files"
while IFS= read -r file; do
  [ -d "$file" ] || [ ! -e "$file" -a ! -L "$file" ] || fail "$file left after removal"
done <<<"$files"
for folder in /usr/lib/$package /usr/share/$package /usr/share/doc/$package; do
  [ ! -e "$folder" ] || fail "$folder left after removal"
done
echo "passed"

#!/usr/bin/env bash
# The manual page as man shows it: rendered without a warning, with every
# section, and with every entry of the --help text it is made from.
#   man_page.sh PAGE PROGRAM
set -euo pipefail
page=$1
program=$2
command -v man >/dev/null || { echo "SKIPPED: man is not installed"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

warnings=$(mktemp)
trap 'rm -f "$warnings"' EXIT
text=$(MANWIDTH=100 LC_ALL=C.UTF-8 man --warnings -l "$page" 2>"$warnings") || fail "man: $(cat "$warnings")"
[ ! -s "$warnings" ] || fail "man warns: $(cat "$warnings")"

for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES ENVIRONMENT "EXIT STATUS" "SEE ALSO"; do
  grep -qx "$section" <<<"$text" || fail "no section $section"
done
# An entry of the help is a line indented by two blanks; its term ends at
# the next two blanks.
while IFS= read -r term; do
  grep -qF -- "$term" <<<"$text" || fail "the page lacks the entry $term"
done < <("$program" --help | sed -n 's/^  \([^ ]\([^ ]\| [^ ]\)*\).*/\1/p')
echo "passed"

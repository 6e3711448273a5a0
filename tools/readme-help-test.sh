#!/usr/bin/env bash
# The README quotes each tool's --help; this checks that the quotes are what the programs print.
# Every "$ NAME --help" line of README.md starts a quote that runs to the next "$ " line or the end
# of its code block (blank lines at its end left out); NAME is run as the program given for it.
#   tools/readme-help-test.sh README.md PROGRAM...
set -uo pipefail
readme=$1
shift
status=0
for program in "$@"; do
  name=$(basename "$program")
  quoted=$(awk -v start="\$ $name --help" '
    $0 == start { inside = 1; next }
    inside && (/^\$ / || /^```/) { exit }
    inside { print }' "$readme")
  if [ -z "$quoted" ]; then
    echo "readme-help-test: $readme quotes no \"\$ $name --help\""
    status=1
    continue
  fi
  # $(...) drops the blank lines at the end of both texts alike.
  printed=$("$program" --help)
  if [ "$quoted" != "$printed" ]; then
    echo "readme-help-test: $readme's quote of \"$name --help\" differs from the program's (< README, > program):"
    diff <(printf '%s\n' "$quoted") <(printf '%s\n' "$printed")
    status=1
  fi
done
exit $status

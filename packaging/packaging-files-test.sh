#!/usr/bin/env bash
# The packaged text files: every example a tool's --help gives stands on a line of its own in the
# tool's rendered man page, and the desktop entry hands the editor the folder it is opened with.
#   packaging/packaging-files-test.sh MAN_PAGE_DIR DESKTOP_FILE PROGRAM...
set -uo pipefail
pages=$1
desktop=$2
shift 2
status=0
fail() { echo "packaging-files-test: $*"; status=1; }

trim() { sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//'; }

for program in "$@"; do
  name=$(basename "$program")
  # The indented lines after "Examples:" in the --help text.
  examples=$("$program" --help | awk '/^Examples:$/ { inside = 1; next } inside && /^  / { print; next } { inside = 0 }' | trim)
  [ -n "$examples" ] || continue
  page=$pages/$name.1.gz
  [ -f "$page" ] || { fail "$page missing"; continue; }
  rendered=$(MANWIDTH=250 man -l "$page" 2>/dev/null | trim)
  while IFS= read -r example; do
    grep -qxF -- "$example" <<<"$rendered" || fail "$name.1: the example \"$example\" is not a line of its own"
  done <<<"$examples"
done

# A launcher replaces %f by the path of the folder dropped on it or chosen to open with it.
folder="/home/user/My Scenarios/Crete1941"
command=$(sed -n 's/^Exec=//p' "$desktop")
[ "${command//%f/$folder}" = "vrkedit $folder" ] || fail "$desktop: Exec=$command does not pass a folder to vrkedit"
exit $status

#!/usr/bin/env bash
# Kelpie on the accessibility bus: a listener (atspi_listen.py, through python3-pyatspi) checks
# every control's name and the notification each typed command brings.
# Usage: atspi_e2e.sh PATH-TO-KELPIE. Exit 77 (skipped) where the desktop cannot start.
set -uo pipefail
kelpie=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
  { echo "SKIPPED: python3-pyatspi is not installed"; exit 77; }
. "$here/desktop.sh"

"$kelpie" "$data" >"$work/kelpie.log" 2>&1 &
pids+=($!)
has_keyboard "Kelpie .*222 MHz"
timeout 180 /usr/bin/python3 "$here/atspi_listen.py" ||
  fail "see above; Kelpie wrote: $(tail -n 5 "$work/kelpie.log")"
echo "PASSED: every control named, every result given to the screen reader"

#!/usr/bin/env bash
# A short traffic net typed through a real X server: a listing, its pass, a remark, a relay and
# a tactical call from the list's popup menu opened by the keyboard, the tactical call typed back
# to find its station, then Tools > "Export check-ins..." and the CSV file's facts columns.
# Usage: traffic_e2e.sh PATH-TO-KELPIE. Exit 77 (skipped) where no X server can be started.
set -uo pipefail
kelpie=$(realpath "$1")

. "$(dirname "$0")/x_session.sh"
data="$work/data"
make_data_folder "$data"
"$kelpie" "$data" >"$work/kelpie.log" 2>&1 &
pids+=($!)
has_keyboard "Kelpie .*222 MHz"

type_entries k1abc N2XYZ w3rst T1
has_keyboard " Traffic"
type_entries "2 p Boston"
has_keyboard "Kelpie .*222 MHz"
type_entries P1
has_keyboard " Passed"
type_entries "w2xyz 3.910"
has_keyboard "Kelpie .*222 MHz"
type_entries R2
has_keyboard " Remark"
type_entries "Mobile, low battery"
has_keyboard "Kelpie .*222 MHz"
type_entries V3
has_keyboard " Relayed by"
type_entries n2xyz
has_keyboard "Kelpie .*222 MHz"
# Check-in 3 is chosen: Tab into the list, the menu key, the last item but one.
key Tab Menu Up Up Return
has_keyboard " Tactical call"
type_entries "shelter 1"
has_keyboard "Kelpie .*222 MHz"
type_entries shelter1 # the tactical call stands for its station: nothing is checked in

side="$data/$(date +%m%d%yF.TRF)"
wait_for 50 test -s "$side" || fail "no side file: $(ls "$data")"
# Tools > "Export check-ins...": today's log, the name proposed, the report of it.
key alt+t Down Down Return
has_keyboard " Select Check-in log file to export..."
key Return
has_keyboard " Export check-ins"
key Return
has_keyboard "^ Export check-ins$"
key Return
csv="$data/222 MHz $(date +%F).csv"
wait_for 50 test -s "$csv" || fail "no CSV export: $(ls "$data")"
rows=$(python3 "$(dirname "$0")/../reports/csv_readback.py" "$csv" /dev/stdout)
got=$(cut -f2,11-14,16-18 <<<"$rows")
passed_at=$(sed -n 2p <<<"$rows" | cut -f15)
[[ $passed_at =~ ^[0-2][0-9]:[0-5][0-9]$ ]] || fail "the pass's local time: '$passed_at'"
want=$(printf '%s\n' \
  "Callsign	Traffic count	Precedence	Destination	Passed to	Tactical call	Relayed by	Remark" \
  "K1ABC	2	Priority	Boston	W2XYZ 3.910			" \
  "N2XYZ							Mobile, low battery" \
  "W3RST					SHELTER 1	N2XYZ	")
[ "$got" = "$want" ] || fail "the export's facts: $(diff <(echo "$want") <(echo "$got"))"
echo "PASSED: a traffic net typed through the X server, its facts in the export"

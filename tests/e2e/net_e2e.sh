#!/usr/bin/env bash
# The real Kelpie under a real X server, typed into the way an operator types: Xvfb with a
# window manager (openbox; without one, dialogs never get the keyboard), keys sent through the
# X server with xdotool at 15 ms a key, files compared byte for byte.
# Usage: net_e2e.sh PATH-TO-KELPIE. Exit 77 (skipped) where no X server can be started.
set -uo pipefail
kelpie=$(realpath "$1")

. "$(dirname "$0")/x_session.sh"
data="$work/data"
make_data_folder "$data"

today=$(date +%-m/%-d/%Y)
log="$data/$(date +%m%d%yF.ILE)"
"$kelpie" "$data" >"$work/kelpie.log" 2>&1 &
kelpie_pid=$!
pids+=($kelpie_pid)
has_keyboard "Kelpie .*222 MHz"

# A short net typed without a pause from the moment the window is up: capitals come with Shift
# (which, with the Space option on, must not mark anything), "D2" deletes check-in 2, "DL" asks.
type_entries k1abc N2XYZ w3rst D2 DL
has_keyboard " Delete last checkin !"
key Return
has_keyboard "Kelpie .*222 MHz"
crlf K1ABC BOB FN20 >"$work/log.expected"
cmp -s "$log" "$work/log.expected" || fail "today's log after D2 and DL: $(od -c "$log" | head -n 5)"

# File > "Print Shortcuts" from the keyboard: the menu opens with its first item active.
key alt+f Down Down Return
has_keyboard "^Kelpie$"
key Return
pdf="$data/Print Shortcuts $(date +%F).pdf"
[ -s "$pdf" ] || fail "no PDF of the shortcuts: $(ls "$data")"

# File > Exit (Up wraps to the last item): the roster takes today's check-in, nothing else.
has_keyboard "Kelpie .*222 MHz"
key alt+f Up Return
for _ in $(seq 300); do kill -0 "$kelpie_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$kelpie_pid" 2>/dev/null && fail "Kelpie did not end after File > Exit"
crlf "${roster_head[@]}" K1ABC BOB FN20 1/1/2021 "$today" - N2XYZ AL BOSTON 3/3/2023 4/4/2024 - \
  W3RST RAY PHILLY 5/5/2025 6/6/2026 - >"$work/roster.expected"
cmp -s "$data/NETCONT.ROL" "$work/roster.expected" ||
  fail "roster after the net: $(od -c "$data/NETCONT.ROL" | head -n 20)"
echo "PASSED: a net typed through the X server"

#!/usr/bin/env bash
# The real Kelpie under a real X server, typed into the way an operator types: Xvfb with a
# window manager (openbox; without one, dialogs never get the keyboard), keys sent through the
# X server with xdotool at 15 ms a key, files compared byte for byte.
# Usage: net_e2e.sh PATH-TO-KELPIE. Exit 77 (skipped) where no X server can be started.
set -uo pipefail
kelpie=$(realpath "$1")

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
for tool in Xvfb openbox xdotool wmctrl; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (./test.sh installs it)"
done

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to fd 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; kill -0 "${pids[0]}" 2>/dev/null || break; sleep 0.1; done
[ -s "$work/display" ] || skip "Xvfb could not start: $(tail -n 3 "$work/xvfb.log" | tr '\n' ' ')"
export DISPLAY=":$(cat "$work/display")"

# Nothing of the user's own: settings, window placement and printers stay out of reach.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
export CUPS_SERVER="$work/no-cups" QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
wmctrl -m >/dev/null 2>&1 || fail "the window manager did not answer"

# Waits (at most 30 s) until a visible window whose title matches has the keyboard.
has_keyboard() {
  local id
  for _ in $(seq 300); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      [ "$(xdotool getactivewindow 2>/dev/null)" = "$id" ] && return 0
      xdotool windowactivate "$id" 2>/dev/null
    done
    sleep 0.1
  done
  fail "no window \"$1\" took the keyboard"
}
key() { xdotool key --delay 15 "$@"; }
# Types each entry and Enter at 15 ms a key, without waiting for Kelpie ("\n" is no Enter).
type_entries() {
  local e
  for e in "$@"; do xdotool type --delay 15 "$e" && xdotool key Return; done
}

data="$work/data"
mkdir -p "$data"
crlf() { printf '%s\r\n' "$@"; }
roster_head=("222 MHz" W1NC 1/2/2020 "initial check-in date" "last check-in date" "old call sign")
crlf "${roster_head[@]}" K1ABC BOB FN20 1/1/2021 2/2/2022 - N2XYZ AL BOSTON 3/3/2023 4/4/2024 - \
  W3RST RAY PHILLY 5/5/2025 6/6/2026 - >"$data/NETCONT.ROL"
crlf "// KelpieW Marten Net Control for Windows" "// Kelpie v2.1 settings, written by Kelpie for Linux" \
  "[Path to check-in log files]" "$data" "[Net Control\`s Call]" W1NC "[Band for this Net]" "222 MHz" \
  "// To change between Acknowledge and Comments" "[Use the <Enter> key + shortcuts]" No \
  "// Miles or kM in file write function" "[Use Miles or kM]" Miles \
  "// Path ex: C:\\Program Files\\Internet Exploror\\iexplore" "[Path to web browser]" "" \
  "// To mark Acknowledge and Comments" "[Use the <Enter> key + shortcuts to mark]" Yes \
  "// Calculate beam heading from ADIF data" "[NetControl 6-digit Grid]" FN31pr >"$data/Kelpie_Control.ini"

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

#!/usr/bin/env bash
# Two Kelpie windows on one shared net: a real Mosquitto broker on 127.0.0.1, both windows on a
# real X server, each typed into through xdotool; both logs end byte for byte the same.
# Usage: share_e2e.sh PATH-TO-KELPIE. Exit 77 (skipped) where no X server can be started.
set -uo pipefail
kelpie=$(realpath "$1")
. "$(dirname "$0")/x_session.sh" mosquitto python3

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
printf 'listener %s 127.0.0.1\nallow_anonymous true\npersistence false\n' "$port" >"$work/mosquitto.conf"
[ "$(id -u)" -eq 0 ] && echo "user root" >>"$work/mosquitto.conf"
mosquitto -c "$work/mosquitto.conf" >"$work/mosquitto.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break; sleep 0.1; done

log_name=$(date +%m%d%yF.ILE)
# The net's name the settings give (band, net callsign, today's date): window a names it in its
# address, window b meets it through Tools > "Share this net..." without typing it.
url="mqtt://127.0.0.1:$port/222%20MHz%20W1NC%20$(date +%F)"
start_window() {
  make_data_folder "$work/$1"
  "$kelpie" "$work/$1" "${@:2}" >"$work/$1.log" 2>&1 &
  pids+=($!)
  eval "pid_$1=$!"
}
window() { has_keyboard_of --pid "$(eval echo "\$pid_$1")"; }
start_window a --share "$url"
start_window b

# Waits (at most 30 s) until both logs hold the same bytes, expected in $work/expected.
logs_agree() {
  for _ in $(seq 300); do
    cmp -s "$work/a/$log_name" "$work/expected" && cmp -s "$work/b/$log_name" "$work/expected" &&
      return 0
    sleep 0.1
  done
  fail "$1: a: $(od -c "$work/a/$log_name" | head -n 8) b: $(od -c "$work/b/$log_name" | head -n 8)"
}

# Window a checks in a station before b shares: b joining late gets it.
window a
type_entries k1abc
expected=(K1ABC BOB FN20)
crlf "${expected[@]}" >"$work/expected"
for _ in $(seq 300); do cmp -s "$work/a/$log_name" "$work/expected" && break; sleep 0.1; done
window b
key alt+t Up Return  # the last item, "Stop sharing", is off: Up lands on "Share this net..."
has_keyboard "^Share this net$"
xdotool type --delay 15 127.0.0.1
key Tab ctrl+a
xdotool type --delay 15 "$port"
key Return
logs_agree "window b joining the net"
sleep 1.1

# Check-ins of the same second are ordered by the windows' identities: each one waits for the
# last to be on both windows, then for the next second.
for step in b:n2xyz:N2XYZ:AL:BOSTON a:w3rst:W3RST:RAY:PHILLY; do
  IFS=: read -r w typed call name qth <<<"$step"
  window "$w"
  type_entries "$typed"
  expected+=("$call" "$name" "$qth")
  crlf "${expected[@]}" >"$work/expected"
  logs_agree "$call typed on window $w"
  sleep 1.1
done
# D2 on the other window deletes the same line everywhere.
window b
type_entries D2
crlf K1ABC BOB FN20 W3RST RAY PHILLY >"$work/expected"
logs_agree "a delete on one window"
echo "PASSED: two windows sharing one net through a broker"

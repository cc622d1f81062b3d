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
url="mqtt://127.0.0.1:$port/e2e%20net"
start_window() {
  make_data_folder "$work/$1"
  "$kelpie" "$work/$1" --share "$url" >"$work/$1.log" 2>&1 &
  pids+=($!)
  eval "pid_$1=$!"
}
start_window a
start_window b
window() { has_keyboard_of --pid "$(eval echo "\$pid_$1")"; }

# Waits (at most 30 s) until both logs hold the same bytes, expected in $work/expected.
logs_agree() {
  for _ in $(seq 300); do
    cmp -s "$work/a/$log_name" "$work/expected" && cmp -s "$work/b/$log_name" "$work/expected" &&
      return 0
    sleep 0.1
  done
  fail "$1: a: $(od -c "$work/a/$log_name" | head -n 8) b: $(od -c "$work/b/$log_name" | head -n 8)"
}

# Check-ins of the same second are ordered by the windows' identities: each one waits for the
# last to be on both windows, then for the next second.
expected=()
for step in a:k1abc:K1ABC:BOB:FN20 b:n2xyz:N2XYZ:AL:BOSTON a:w3rst:W3RST:RAY:PHILLY; do
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

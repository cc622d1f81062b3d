#!/usr/bin/env bash
# The listeners' page in a real browser: a real Mosquitto with an MQTT listener and a websockets
# listener serving the built page (http_dir), two Kelpie windows on a real X server sharing a
# net typed into through xdotool, and Debian's Chromium (headless, driven by playwright-core)
# showing the page: its table's rows are the windows' list after check-ins, a mark, a delete
# and a late check-in, and a hostile name stays text.
# Usage: web_e2e.sh PATH-TO-KELPIE WEB_FOLDER NODE_MODULES. Exit 77 (skipped) where no X server
# or no Chromium can be started.
set -uo pipefail
kelpie=$(realpath "$1") web=$(realpath "$2") modules=$(realpath "$3")
. "$(dirname "$0")/x_session.sh" mosquitto python3 node
[ -x /usr/bin/chromium ] || skip "chromium is not installed (./test.sh installs it)"
[ -f "$web/index.html" ] && [ -f "$web/kelpie.js" ] || fail "no built page in $web"

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}
port=$(free_port) wsport=$(free_port)
# Mosquitto 2.0 starts a websockets listener only beside an ordinary one.
printf 'listener %s 127.0.0.1\nlistener %s 127.0.0.1\nprotocol websockets\nhttp_dir %s\n' \
  "$port" "$wsport" "$web" >"$work/mosquitto.conf"
printf 'allow_anonymous true\npersistence false\n' >>"$work/mosquitto.conf"
[ "$(id -u)" -eq 0 ] && echo "user root" >>"$work/mosquitto.conf"
mosquitto -c "$work/mosquitto.conf" >"$work/mosquitto.log" 2>&1 &
pids+=($!)
for p in "$port" "$wsport"; do
  wait_for 100 bash -c "echo >/dev/tcp/127.0.0.1/$p" 2>/dev/null ||
    fail "mosquitto: $(tail -n 3 "$work/mosquitto.log")"
done

# A station whose roster name and QTH are markup: the page must show them as characters.
hostile='<img src=x onerror=alert(1)>'
start_window() {
  make_data_folder "$work/$1"
  crlf N0EVL "$hostile" "<b>QTH</b>" 7/7/2021 8/8/2022 - >>"$work/$1/NETCONT.ROL"
  "$kelpie" "$work/$1" --share "mqtt://127.0.0.1:$port/Club%20Net%20%2B1" >"$work/$1.log" 2>&1 &
  pids+=($!)
  eval "pid_$1=$!"
}
window() { has_keyboard_of --pid "$(eval echo "\$pid_$1")"; }
start_window a
start_window b

mkfifo "$work/browser.in"
node "$(dirname "$0")/web_e2e.js" "http://127.0.0.1:$wsport/index.html?net=Club%20Net%20%2B1" \
  "$modules" <"$work/browser.in" >"$work/browser.out" 2>&1 &
pids+=($!)
browser=$!
exec 4>"$work/browser.in"
# The browser ends when its input does (playwright-core keeps it from dying of a signal).
trap 'exec 4>&-; cleanup' EXIT
wait_for 300 grep -q '^ready\|^SKIP' "$work/browser.out"
grep -q '^SKIP' "$work/browser.out" && skip "$(sed -n 's/^SKIP //p' "$work/browser.out")"
grep -q '^ready' "$work/browser.out" || fail "the browser: $(tail -n 5 "$work/browser.out")"

log_name=$(date +%m%d%yF.ILE)
# Waits (at most 30 s) until both windows' logs hold the same bytes: the list they agree on.
logs_agree() {
  for _ in $(seq 300); do
    [ -f "$work/a/$log_name" ] && cmp -s "$work/a/$log_name" "$work/b/$log_name" &&
      [ "$(tr -d '\r' <"$work/a/$log_name" | wc -l)" -eq "$1" ] && return 0
    sleep 0.1
  done
  fail "the windows' logs differ or lack lines: a: $(od -c "$work/a/$log_name" | head -n 8)"
}
checks=0
# The page shows the windows' list (number, callsign, name and QTH of each check-in, from the
# log both windows wrote), the marks given as JSON, and has said what is given.
page_shows() {
  local marks=$1 said=$2
  checks=$((checks + 1))
  python3 - "$work/a/$log_name" "$marks" "$said" >"$work/check$checks.json" <<'PY'
import json, sys
lines = open(sys.argv[1], encoding='cp1252', newline='').read().split('\r\n')[:-1]
rows = [[str(i // 3 + 1)] + lines[i:i + 3] for i in range(0, len(lines), 3)]
want = {'rows': rows, 'marks': json.loads(sys.argv[2])}
if sys.argv[3]:
    want['said'] = sys.argv[3]
print(json.dumps(want))
PY
  echo "check $work/check$checks.json" >&4
  wait_for 400 test "$(grep -c '^ok\|^FAIL' "$work/browser.out")" -ge "$checks"
  [ "$(grep '^ok\|^FAIL' "$work/browser.out" | sed -n "${checks}p")" = ok ] ||
    fail "check $checks: $(grep '^FAIL' "$work/browser.out" | tail -n 1)"
}

window a
type_entries k1abc
logs_agree 3
page_shows '{}' "1, K1ABC, BOB, FN20"
window b
type_entries n2xyz
logs_agree 6
page_shows '{}' "2, N2XYZ, AL, BOSTON"
window a
type_entries w3rst
logs_agree 9
page_shows '{}' "3, W3RST, RAY, PHILLY"
# Acknowledge mode, then check-in 1 acknowledged on window b.
window b
type_entries A 1
page_shows '{"1": "acknowledged"}' ""
# D2 on window a deletes N2XYZ everywhere; the page renumbers as the windows do.
window a
type_entries D2
logs_agree 6
page_shows '{"1": "acknowledged"}' ""
# A late check-in, with markup for a name.
window b
type_entries n0evl
logs_agree 9
page_shows '{"1": "acknowledged"}' "3, N0EVL, $hostile, <b>QTH</b>"
exec 4>&-
echo "PASSED: the listeners' page shows the windows' list"

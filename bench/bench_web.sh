#!/usr/bin/env bash
# The listeners' page in a real browser, against its figures: a check-in typed on a window
# (real Kelpie, Xvfb, xdotool) until its row is in the page's table in Chromium (median at most
# 50 ms, 99th percentile 200 ms, over 100); the page opened on a net of 1,000 check-ins until
# the whole table shows (500 ms); and bench_share's figures with 200 listeners connected over
# WebSockets, to compare with its figures without them (within 20%).
# Usage: bench/bench_web.sh BUILD_FOLDER (a Release build with -DKELPIE_BENCH=ON).
set -uo pipefail
build=$(realpath "$1")
src=$(cd "$(dirname "$0")/.." && pwd)
kelpie=$build/kelpie web=$build/web modules=$build/web-npm/node_modules
. "$src/tests/e2e/x_session.sh" mosquitto node
[ -x /usr/bin/chromium ] || skip "chromium is not installed"
[ -f "$web/kelpie.js" ] || fail "no page in $web: build with KELPIE_WEB on"

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}
port=$(free_port) wsport=$(free_port)
printf 'listener %s 127.0.0.1\nlistener %s 127.0.0.1\nprotocol websockets\nhttp_dir %s\n' \
  "$port" "$wsport" "$web" >"$work/mosquitto.conf"
printf 'allow_anonymous true\npersistence false\nlog_dest none\nmax_queued_messages 10000\n' \
  >>"$work/mosquitto.conf"
[ "$(id -u)" -eq 0 ] && echo "user root" >>"$work/mosquitto.conf"
mosquitto -c "$work/mosquitto.conf" &
pids+=($!)
for p in "$port" "$wsport"; do wait_for 100 bash -c "echo >/dev/tcp/127.0.0.1/$p" 2>/dev/null; done

# A window with 100 stations in its roster, shared, with the keyboard.
make_data_folder "$work/a"
calls=()
for a in A B C D; do
  for b in A B C D E F G H I J K L M N O P Q R S T U V W X Y; do
    calls+=("W1$a$b")
    crlf "W1$a$b" "OP $a$b" "TOWN $a$b" 1/1/2021 2/2/2022 - >>"$work/a/NETCONT.ROL"
  done
done
"$kelpie" "$work/a" --share "mqtt://127.0.0.1:$port/Bench%20Net" >"$work/a.log" 2>&1 &
pids+=($!)
has_keyboard_of --pid "$!"
node "$src/bench/bench_web.js" typed "http://127.0.0.1:$wsport/index.html?net=Bench%20Net" \
  "$modules" "${calls[@]}"
node "$src/bench/bench_web.js" load "http://127.0.0.1:$wsport/index.html" "$modules" 1000 \
  "$port" "Big Net"

# bench_share without listeners and with 200 on its broker's websockets listener, five runs
# of each in turn (one run varies more than the 20% to be told apart). As in use, the loggers'
# computer is not the broker's: the loggers run on the first core, the broker on the second; the
# listeners stand for browsers on computers of their own, at the lowest priority beside the
# broker. The figures are the medians of the runs.
shim=$work/shim cpu0=() cpu1=()
mkdir -p "$shim"
if [ "$(nproc)" -ge 2 ] && command -v taskset >/dev/null; then
  cpu0=(taskset -c 0) cpu1=(taskset -c 1)
fi
printf '#!/bin/sh\nexec %s %s "$@"\n' "${cpu1[*]}" "$(command -v mosquitto)" >"$shim/mosquitto"
chmod +x "$shim/mosquitto"
loggers() { PATH="$shim:$PATH" "${cpu0[@]}" "$build/bench_share" 2>/dev/null | grep ' ms '; }
for run in 1 2 3 4 5; do
  loggers >>"$work/without.txt"
  lport=$(free_port)
  rm -f "$work/ready"
  "${cpu1[@]}" nice -n 19 node "$src/bench/bench_web.js" listeners "ws://127.0.0.1:$lport/" \
    "$modules" 200 "$work/ready" >/dev/null &
  listeners=$!
  pids+=($listeners)
  KELPIE_BENCH_BROKER_LINES=$(printf 'listener %s 127.0.0.1\nprotocol websockets' "$lport") \
    KELPIE_BENCH_READY_FILE="$work/ready" loggers >>"$work/with.txt"
  kill "$listeners"
  wait "$listeners" 2>/dev/null
done
echo "bench_share's figures (medians of 5 runs) without and with 200 listeners (limit +20%):"
awk -F '  +' '
  { v = $2; sub(/ ms.*/, "", v); n = ++count[FILENAME, $1]; val[FILENAME, $1, n] = v + 0
    if (!($1 in seen)) { seen[$1] = 1; order[++labels] = $1 } }
  function median(f, l,   k, j, t, a, n) {
    n = count[f, l]
    for (k = 1; k <= n; ++k) { t = val[f, l, k]; for (j = k - 1; j > 0 && a[j] > t; --j) a[j + 1] = a[j]; a[j + 1] = t }
    return a[int((n + 1) / 2)] }
  END { for (i = 1; i <= labels; ++i) { l = order[i]; w = median(ARGV[1], l); x = median(ARGV[2], l)
    printf "  %-66s %9.3f ms %9.3f ms  %+4.0f%%\n", l, w, x, (w > 0 ? 100 * (x - w) / w : 0) } }
' "$work/without.txt" "$work/with.txt"

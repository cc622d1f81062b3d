#!/usr/bin/env bash
# A short net run with the real Orca listening: speech-dispatcher speaking to a silent sound
# device, Orca's debug log read for what it spoke ("SPEECH OUTPUT: '...'"), keys typed through
# the X server by xdotool. Each result must be heard.
# Usage: orca_e2e.sh PATH-TO-KELPIE. Exit 77 (skipped) where Orca cannot start.
set -uo pipefail
kelpie=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
for tool in orca speech-dispatcher; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
# Orca runs once a user; a second one would stop the first (perhaps the reader of the person
# running the tests).
if pgrep -u "$(id -u)" -x orca >/dev/null; then
  echo "SKIPPED: an Orca of this user is running already"
  exit 77
fi
. "$here/desktop.sh"

# No sound: ALSA's default device swallows everything.
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_RUNTIME_DIR/speech-dispatcher"
cp -r /etc/speech-dispatcher/. "$XDG_CONFIG_HOME/speech-dispatcher/" 2>/dev/null
echo 'AudioOutputMethod "alsa"' >>"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
speech-dispatcher -s -t 0 -c unix_socket -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" \
  >"$work/speechd.log" 2>&1 &
pids+=($!)
wait_for 100 test -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ||
  skip "speech-dispatcher did not start: $(tail -n 3 "$work/speechd.log" | tr '\n' ' ')"

# Orca's own settings; its debug log written line by line, so it can be read while Orca runs.
prefs="$work/orca"
mkdir -p "$prefs"
printf 'import orca.debug\nif orca.debug.debugFile:\n    orca.debug.debugFile.reconfigure(line_buffering=True)\n' \
  >"$prefs/orca-customizations.py"
log="$work/orca-debug.log"
orca -u "$prefs" --debug --debug-file "$log" >"$work/orca.log" 2>&1 &
orca_pid=$!
pids+=($orca_pid)
spoke() { grep -q "SPEECH OUTPUT: '" "$log" 2>/dev/null; }
wait_for 600 spoke || skip "Orca did not start speaking: $(tail -n 3 "$work/orca.log" | tr '\n' ' ')"

"$kelpie" "$data" >"$work/kelpie.log" 2>&1 &
pids+=($!)
has_keyboard "Kelpie .*222 MHz"
# Orca has taken the window when it names the entry line.
heard_after() { tail -n +"$1" "$log" | grep -F "SPEECH OUTPUT: '" | grep -qF -- "$2"; }
wait_for 300 heard_after 1 "Enter Call # 1" || fail "Orca did not read the entry line: $(grep -F "SPEECH OUTPUT" "$log" | tail -n 5)"

# What is typed ("key:" for xdotool key names), and what Orca must say after it.
steps=(
  "k1abc" "1, K1ABC, BOB, FN20"
  "w9new" "2, W9NEW, first time"
  "1" "1, K1ABC, acknowledged"
  "D2" "Deleted 2, W9NEW"
  "?n2*" "1 station found. 1. N2XYZ AL BOSTON 4/4/2024"
  "1" "2, N2XYZ, AL, BOSTON"
  "key:ctrl+r" "2 check-ins. The last, newest first: 2, N2XYZ, AL, BOSTON; 1, K1ABC, BOB, FN20"
  "key:Tab" "Check-ins"
  "key:Down" "2 of 2, 2 N2XYZ AL BOSTON 3/3/2023 4/4/2024"
  "key:Escape" "Enter Call # 3"
  "DL" "Are you sure you want to delete N2XYZ ?"
  "key:Return" "Deleted 2, N2XYZ"
)
for ((i = 0; i < ${#steps[@]}; i += 2)); do
  typed=${steps[i]} said=${steps[i + 1]}
  from=$(($(wc -l <"$log") + 1))
  [ "$typed" != key:Tab ] || before_tab=$from
  if [[ $typed == key:* ]]; then
    xdotool key "${typed#key:}"
  else
    xdotool type --delay 15 "$typed" && xdotool key Return
  fi
  wait_for 300 heard_after "$from" "$said" ||
    fail "after \"$typed\" Orca did not say \"$said\"; it said: $(tail -n +"$from" "$log" | grep -F "SPEECH OUTPUT" | head -n 8)"
  echo "typed \"$typed\": Orca said \"$said\""
done
# The keyboard stayed on the entry line while the program selected lines of the list.
moved=$(head -n "$before_tab" "$log" | grep -F "SPEECH OUTPUT: 'List with" | head -n 1)
[ -z "$moved" ] || fail "Orca took the list for the keyboard's place before Tab: $moved"
kill "$orca_pid"
echo "PASSED: a net heard through Orca"

# Sourced by the end-to-end tests: a private desktop with nothing of the user's own (an X server,
# Xvfb, with a window manager, openbox: without one, dialogs never get the keyboard), helpers to
# wait with bounds and to type at a fast typist's pace (15 ms a key), and a data folder maker.
# Arguments: further programs the test needs. Exits 77 (skipped) with a reason where a part
# cannot start.
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
for tool in Xvfb openbox xdotool wmctrl "$@"; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (./test.sh installs it)"
done

work=$(mktemp -d)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1 _
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  "$@"
}

# Settings, window placement and printers of the user stay out of reach.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local"
export XDG_RUNTIME_DIR="$work/run" CUPS_SERVER="$work/no-cups" QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Xvfb picks a free display and writes its number to fd 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 100 test -s "$work/display" ||
  skip "Xvfb could not start: $(tail -n 3 "$work/xvfb.log" | tr '\n' ' ')"
export DISPLAY=":$(cat "$work/display")"
wait_for 100 xdotool getdisplaygeometry >/dev/null 2>&1 || skip "the X server $DISPLAY does not answer"

# openbox now and then fails to open a display that has just come up: it is started again.
for _ in 1 2 3; do
  openbox >>"$work/openbox.log" 2>&1 &
  pids+=($!)
  wait_for 50 wmctrl -m >/dev/null 2>&1 && break
  echo "openbox ($DISPLAY): $(tail -n 1 "$work/openbox.log")"
done
wmctrl -m >/dev/null 2>&1 ||
  fail "the window manager did not answer: $(tail -n 3 "$work/openbox.log" | tr '\n' ' ')"

# Waits (at most 30 s) until a visible window that `xdotool search ARGS` finds has the keyboard.
has_keyboard_of() {
  local id _
  for _ in $(seq 300); do
    for id in $(xdotool search --onlyvisible "$@" 2>/dev/null); do
      [ "$(xdotool getactivewindow 2>/dev/null)" = "$id" ] && return 0
      xdotool windowactivate "$id" 2>/dev/null
    done
    sleep 0.1
  done
  fail "no window ($*) took the keyboard"
}
has_keyboard() { has_keyboard_of --name "$1"; }
key() { xdotool key --delay 15 "$@"; }
# Types each entry and Enter, without waiting for Kelpie ("\n" is no Enter).
type_entries() {
  local e
  for e in "$@"; do xdotool type --delay 15 "$e" && xdotool key Return; done
}

crlf() { printf '%s\r\n' "$@"; }
roster_head=("222 MHz" W1NC 1/2/2020 "initial check-in date" "last check-in date" "old call sign")
# A data folder $1 with three stations in the roster and the settings of a 222 MHz net; $2 is
# the Space option ("Use the <Enter> key + shortcuts to mark"), Yes unless given.
make_data_folder() {
  mkdir -p "$1"
  crlf "${roster_head[@]}" K1ABC BOB FN20 1/1/2021 2/2/2022 - N2XYZ AL BOSTON 3/3/2023 4/4/2024 - \
    W3RST RAY PHILLY 5/5/2025 6/6/2026 - >"$1/NETCONT.ROL"
  crlf "// KelpieW Marten Net Control for Windows" "// Kelpie v2.1 settings, written by Kelpie for Linux" \
    "[Path to check-in log files]" "$1" "[Net Control\`s Call]" W1NC "[Band for this Net]" "222 MHz" \
    "// To change between Acknowledge and Comments" "[Use the <Enter> key + shortcuts]" No \
    "// Miles or kM in file write function" "[Use Miles or kM]" Miles \
    "// Path ex: C:\\Program Files\\Internet Exploror\\iexplore" "[Path to web browser]" "" \
    "// To mark Acknowledge and Comments" "[Use the <Enter> key + shortcuts to mark]" "${2:-Yes}" \
    "// Calculate beam heading from ADIF data" "[NetControl 6-digit Grid]" FN31pr >"$1/Kelpie_Control.ini"
}

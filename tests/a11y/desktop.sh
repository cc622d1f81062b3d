# Sourced by the screen-reader tests: a private desktop for the real Kelpie with nothing of the
# user's own (an X server with a window manager, a D-Bus session and the accessibility bus),
# a data folder with a three-station roster, and the helpers to wait on it with bounds.
# Exits 77 (skipped) with a reason where a part cannot start.

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
for tool in Xvfb openbox xdotool wmctrl dbus-daemon dbus-send /usr/libexec/at-spi-bus-launcher; do
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

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local"
export XDG_RUNTIME_DIR="$work/run" CUPS_SERVER="$work/no-cups" QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Xvfb picks a free display and writes its number to fd 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 100 test -s "$work/display" ||
  skip "Xvfb could not start: $(tail -n 3 "$work/xvfb.log" | tr '\n' ' ')"
export DISPLAY=":$(cat "$work/display")"
wait_for 100 xdotool getdisplaygeometry >/dev/null 2>&1 || skip "the X server $DISPLAY does not answer"

dbus-daemon --session --nofork --address="unix:path=$work/session-bus" >"$work/dbus.log" 2>&1 &
pids+=($!)
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/session-bus"
wait_for 100 test -S "$work/session-bus" || skip "no D-Bus session bus: $(cat "$work/dbus.log")"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
a11y_bus() {
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress >/dev/null 2>&1
}
wait_for 100 a11y_bus || skip "the accessibility bus did not start: $(cat "$work/atspi.log")"

# openbox now and then fails to open a display that has just come up: it is started again.
for _ in 1 2 3; do
  openbox >>"$work/openbox.log" 2>&1 &
  pids+=($!)
  wait_for 50 wmctrl -m >/dev/null 2>&1 && break
  echo "openbox ($DISPLAY): $(tail -n 1 "$work/openbox.log")"
done
wmctrl -m >/dev/null 2>&1 ||
  fail "the window manager did not answer: $(tail -n 3 "$work/openbox.log" | tr '\n' ' ')"

# Waits (at most 30 s) until a visible window whose title matches has the keyboard.
has_keyboard() {
  local id _
  for _ in $(seq 300); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      [ "$(xdotool getactivewindow 2>/dev/null)" = "$id" ] && return 0
      xdotool windowactivate "$id" 2>/dev/null
    done
    sleep 0.1
  done
  fail "no window \"$1\" took the keyboard"
}

data="$work/data"
mkdir -p "$data"
crlf() { printf '%s\r\n' "$@"; }
crlf "222 MHz" W1NC 1/2/2020 "initial check-in date" "last check-in date" "old call sign" \
  K1ABC BOB FN20 1/1/2021 2/2/2022 - N2XYZ AL BOSTON 3/3/2023 4/4/2024 - \
  W3RST RAY PHILLY 5/5/2025 6/6/2026 - >"$data/NETCONT.ROL"
crlf "// KelpieW Marten Net Control for Windows" "// Kelpie v2.1 settings, written by Kelpie for Linux" \
  "[Path to check-in log files]" "$data" "[Net Control\`s Call]" W1NC "[Band for this Net]" "222 MHz" \
  "// To change between Acknowledge and Comments" "[Use the <Enter> key + shortcuts]" No \
  "// Miles or kM in file write function" "[Use Miles or kM]" Miles \
  "// Path ex: C:\\Program Files\\Internet Exploror\\iexplore" "[Path to web browser]" "" \
  "// To mark Acknowledge and Comments" "[Use the <Enter> key + shortcuts to mark]" No \
  "// Calculate beam heading from ADIF data" "[NetControl 6-digit Grid]" FN31pr >"$data/Kelpie_Control.ini"

# Sourced by the screen-reader tests: the end-to-end tests' private desktop plus a D-Bus session
# and the accessibility bus, and a data folder with a three-station roster in $data.
# Exits 77 (skipped) with a reason where a part cannot start.
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/x_session.sh" dbus-daemon dbus-send \
  /usr/libexec/at-spi-bus-launcher
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

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

data="$work/data"
make_data_folder "$data" No

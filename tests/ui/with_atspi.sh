#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: with_atspi.sh PROGRAM [ARGS...]
# Runs a test program where a screen reader can read it: on an X display, a
# session bus and an AT-SPI bus of its own, accessibility on. Where one of
# them cannot be had it prints "skipped: ..." and succeeds, so that a machine
# without them still runs the rest of the suite.
set -u
skip() {
    echo "skipped: $*"
    exit 0
}
launcher=/usr/libexec/at-spi-bus-launcher
for tool in Xvfb dbus-launch dbus-send; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[ -x "$launcher" ] || skip "$launcher is not installed (at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"

work=$(mktemp -d) || exit 1
xvfb='' bus='' atspi=''
cleanup() {
    for p in $atspi $bus $xvfb; do kill "$p" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
i=0
while [ ! -s "$work/display" ] && [ $i -lt 100 ]; do
    kill -0 "$xvfb" 2>/dev/null || skip "Xvfb did not start"
    sleep 0.1
    i=$((i + 1))
done
[ -s "$work/display" ] || skip "Xvfb did not start"
DISPLAY=:$(cat "$work/display")
export DISPLAY

eval "$(dbus-launch --sh-syntax 2>/dev/null)" || skip "no session bus"
[ -n "${DBUS_SESSION_BUS_PID:-}" ] || skip "no session bus"
bus=$DBUS_SESSION_BUS_PID
"$launcher" --launch-immediately >/dev/null 2>&1 &
atspi=$!
# The launcher names the AT-SPI bus on the session bus once it is up.
i=0
until dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; do
    [ $i -lt 50 ] && kill -0 "$atspi" 2>/dev/null || skip "the AT-SPI bus did not start"
    sleep 0.1
    i=$((i + 1))
done

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"

#!/usr/bin/env bash
# The program with --pointer=auto in a Wayland session of KWin (tests/support/with-kwin) on a
# machine without /dev/uinput: it must choose the portal, so the portal holds a session that the
# program asked for (KDE's backend starts it without a question), and no XWayland warning.
# Usage: portal_auto_test.sh PROGRAM_DIR
set -euo pipefail
program_dir="$1"
[ ! -w /dev/uinput ] || { echo "portal_auto_test: /dev/uinput is writable here, not run"; exit 0; }
tmp=$(mktemp -d)
cp -r "$program_dir" "$tmp/program"
unset DISPLAY
export XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=offscreen LANG=C LC_ALL=C
"$tmp/program/vantrel" 2>"$tmp/err" &
pid=$!
trap 'kill -KILL "$pid" 2>/dev/null; rm -rf "$tmp"' EXIT
session_held() {
  busctl --address="$DBUS_SESSION_BUS_ADDRESS" tree org.freedesktop.portal.Desktop 2>/dev/null |
    grep -q '/org/freedesktop/portal/desktop/session/.*/vantrel'
}
for _ in $(seq 600); do session_held && break; sleep 0.05; done
status=0
session_held || { echo "FAIL: no portal session of the program" >&2; status=1; }
kill -0 "$pid" 2>/dev/null || { echo "FAIL: the program ended" >&2; status=1; }
if grep -q XWayland "$tmp/err"; then echo "FAIL: XWayland warning" >&2; status=1; fi
cat "$tmp/err" >&2
exit "$status"

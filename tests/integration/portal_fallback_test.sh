#!/usr/bin/env bash
# The program with --pointer=portal, on an X display (scripts/with-xvfb) and a private bus with
# the test portal (tests/support/with-portal): a refusal and a session the desktop closes are each
# said once, in the language file's words, and the program goes on (with XTest); without any
# portal the option ends the program with status 69.
# Usage: portal_fallback_test.sh PROGRAM_DIR
set -euo pipefail
program_dir="$1"
source "$(dirname "$0")/../support/checks.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
control() {  # control METHOD ARGS...: steers the test backend
  dbus-send --session --print-reply --dest=org.freedesktop.impl.portal.desktop.vantreltest \
    /org/vantrel/PortalTest "org.vantrel.PortalTest.$1" "${@:2}"
}
start_asked() { control Calls | grep -q '"Start"'; }
# The English line of the language file, as the program shows it.
line() { sed -n "s/^$1=//p" "$program_dir/Lang/English.lng" | tr -d '\r'; }

# A copy of the program folder: the program writes its settings beside itself.
cp -r "$program_dir" "$tmp/program"
export LANG=C LC_ALL=C
unset WAYLAND_DISPLAY

run_until_said() {  # run_until_said NAME LINE STEER...: STEER runs once the program has asked
  local name="$1" text
  text=$(line "$2")
  control Reset >/dev/null
  [ "$name" = refused ] && control AnswerStart uint32:1 uint32:0 >/dev/null
  "$tmp/program/vantrel" --pointer=portal 2>"$tmp/$name.err" &
  local pid=$!
  if [ "$name" = closed ]; then
    wait_for start_asked || fail "$name: the program did not ask for a session"
    sleep 0.5
    control CloseSessions >/dev/null
  fi
  wait_for grep -qF "$text" "$tmp/$name.err" || fail "$name: the program did not say: $text"
  sleep 1
  kill -0 "$pid" 2>/dev/null || fail "$name: the program ended instead of going on"
  [ "$(grep -cF "$text" "$tmp/$name.err")" = 1 ] || fail "$name: said more than once"
  # KILL: the message box is still up, and ending through it is not what this test is about.
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null || true
}
run_until_said refused 39
run_until_said closed 40

status=0
DBUS_SESSION_BUS_ADDRESS=unix:path=$tmp/no-bus "$tmp/program/vantrel" --pointer=portal \
  2>"$tmp/none.err" || status=$?
[ "$status" = 69 ] || fail "no portal: exit status $status, not 69"
grep -q -- "--pointer=portal" "$tmp/none.err" || fail "no portal: no message"

checks_done portal_fallback_test

#!/usr/bin/env bash
# The whole program on a headless sway (tests/support/with-sway) with wev's window filling the
# output: the output it picks itself is the wlroots virtual pointer, and a preloaded pad steered
# through a FIFO holds the stick. sway is stopped for four seconds while the stick is held to
# the right, then runs again and the stick comes back; a push left and a click must then reach
# wev as before the stall. (The push left first: the held stick leaves the pointer on the
# window's border at the output's edge, where sway, not wev, takes a click.)
# Usage: wlroots_stall_test.sh PROGRAM_DIR PAD_PRELOAD
set -euo pipefail
program_dir=$(cd "$1" && pwd)
preload=$(realpath -e "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/checks.sh"

dir=$(mktemp -d)
cleanup() {
  kill -CONT "$VANTREL_SWAY_PID" 2>/dev/null || true
  end_then_remove "$dir" "${pid:-}" "${wev:+-$wev}"
}
trap cleanup EXIT
fresh_copy "$program_dir"
export XDG_SESSION_TYPE=wayland
unset DISPLAY

# What wev reported after the first $1 bytes of its log.
reported_after() { tail -c "+$(($1 + 1))" "$dir/wev.log"; }
log_size() { stat -c %s "$dir/wev.log"; }
# Button events of the left button after byte $1: presses and releases, in order.
clicks_after() {
  reported_after "$1" | sed -n 's/.*button: 272 .*state: \([01]\).*/\1/p' | tr -d '\n'
}
# The pointer's x in wev's window after byte $1, one line per enter or motion.
xs_after() {
  reported_after "$1" | sed -n 's/.*\(enter\|motion\): .*x, y: \([-0-9.]*\),.*/\2/p'
}
moved_left_after() {  # moved_left_after OFFSET: two reports after OFFSET, the second further left
  xs_after "$1" | awk 'NR > 1 && $1 < last { found = 1 } { last = $1 } END { exit !found }'
}
pad() { echo "$@" >&3; }
click_arrives() {  # click_arrives WHEN: button 1 pressed and let go reach wev as one click
  local from
  from=$(log_size)
  pad 0 0 1
  wait_for eval '[ "$(clicks_after '"$from"')" = 1 ]' || { fail "$1: no press reached wev"; return; }
  pad 0 0 0
  wait_for eval '[ "$(clicks_after '"$from"')" = 10 ]' || fail "$1: no release reached wev"
}

setsid script -qfc wev "$dir/wev.log" >/dev/null &
wev=$!
wait_for grep -q 'xdg_toplevel] configure' "$dir/wev.log" || fail "wev did not map its window"

pad_fifo
QT_QPA_PLATFORM=wayland LD_PRELOAD=$preload "$dir/vantrel" --pointer=auto 2>"$dir/stderr" &
pid=$!
# The last step of the start (this sway has no notification area).
wait_for grep -qF "running without a tray icon" "$dir/stderr" || fail "the program did not start"

# Down and right from the output's corner until the pointer is in wev's window.
pad 32767 32767 0
wait_for grep -q 'wl_pointer] enter' "$dir/wev.log" || fail "the stick moved nothing into wev"
pad 0 0 0
click_arrives "before the stall"

from=$(log_size)
pad 32767 0 0
wait_for eval '[ -n "$(xs_after '"$from"')" ]' || fail "the held stick moved nothing"
kill -STOP "$VANTREL_SWAY_PID"
sleep 4  # the stall itself: long enough for the program's socket to sway to fill
from=$(log_size)
kill -CONT "$VANTREL_SWAY_PID"
pad -32768 0 0
wait_for moved_left_after "$from" || fail "after the stall the stick moved nothing"
pad 0 0 0
click_arrives "after the stall"
kill -0 "$pid" || fail "the program ended"
[ "$failures" -eq 0 ] || { echo "--- standard error of the program:" >&2; cat "$dir/stderr" >&2; }
checks_done wlroots_stall_test

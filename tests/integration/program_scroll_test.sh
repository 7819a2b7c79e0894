#!/usr/bin/env bash
# The whole program scrolling an X client's window with a preloaded virtual pad's right stick:
#   held: the stick held up clicks button 4 on the window under the pointer again and again,
#   and once it is let go no more clicks come.
#   trigger: a right stick resting at its end when the pad is opened scrolls nothing.
# Usage: program_scroll_test.sh PROGRAM_DIR PAD_PRELOAD [CASE]; without CASE it runs every case,
# each inside its own display (scripts/with-xvfb).
set -euo pipefail
program_dir=$(cd "$1" && pwd)
preload=$(realpath -e "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/checks.sh"

if [ $# -lt 3 ]; then
  failed=0
  for case in held trigger; do
    "$root/scripts/with-xvfb" "$0" "$program_dir" "$preload" "$case" || failed=1
  done
  exit $failed
fi
case=$3

dir=$(mktemp -d)
cleanup() { end_then_remove "$dir" "${pid:-}" "${xev:-}"; }
trap cleanup EXIT
fresh_copy "$program_dir"
export XDG_SESSION_TYPE=x11 QT_QPA_PLATFORM=xcb

clicks() { grep -c "button $1," "$dir/xev.log" || true; }
fail() { echo "$case: $1" >&2; cat "$dir/stderr" >&2; exit 1; }

# The window to scroll, with the pointer over it.
stdbuf -oL xev -geometry 400x300+0+0 -name scroll-target -event button >"$dir/xev.log" &
xev=$!
wait_for xdotool search --onlyvisible --name scroll-target || fail "no xev window"
xdotool mousemove 200 150

pad_fifo
[ "$case" = trigger ] && export VANTREL_PAD_RIGHT="0 -32768"
LD_PRELOAD=$preload "$dir/vantrel" 2>"$dir/stderr" &
pid=$!
wait_for xdotool search --class vantrel || fail "the program did not start"

case $case in
  held)
    echo "0 0 0 0 -32768" >&3
    wait_for eval '[ "$(clicks 4)" -ge 6 ]' || fail "the held stick scrolled nothing"
    echo "0 0 0 0 0" >&3
    # Let go: the count stops. Read it until two reads a second apart agree, then once more.
    before=-1
    wait_for eval 'now=$(clicks 4); [ "$now" = "$before" ] || { before=$now; sleep 1; false; }'
    sleep 1
    [ "$(clicks 4)$(clicks 5)" = "${before}0" ] || fail "scrolling went on after the let-go" ;;
  trigger)
    # A second stick pushed gives the check something that does arrive: the pointer's own.
    echo "32767 0 0 0 -32768" >&3
    wait_for eval '[ "$(xdotool getmouselocation --shell | sed -n s/^X=//p)" -gt 300 ]' ||
      fail "the program ran no ticks"
    [ "$(clicks 4)$(clicks 5)" = 00 ] || fail "a right stick at its end scrolled" ;;
esac
exit 0

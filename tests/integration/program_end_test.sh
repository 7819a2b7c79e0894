#!/usr/bin/env bash
# The whole program, ended the ways a session ends it. Each case starts a fresh copy (no settings
# file yet) with a preloaded virtual pad, waits until it runs, ends it, and expects status 0, the
# settings file written and no error on standard error:
#   TERM, INT, HUP while the XWayland warning box is up, and the X server going away then, also
#   while a joystick button holds the left mouse button (x11-held). The warning is reached
#   through a Wayland socket that accepts and never answers, so the start must also give up on
#   it instead of waiting for ever.
#   The compositor going away (Qt's windows on Wayland, no X server).
#   wlroots-lost: the compositor going away while only the pointer output used it (Qt's windows
#   on X) and the stick is held: the loss is said once, in the language file's words, XTest takes
#   over, and TERM then ends the program as above.
# Usage: program_end_test.sh PROGRAM_DIR PAD_PRELOAD [CASE]; without CASE it runs every case,
# each inside its own display (scripts/with-xvfb, tests/support/with-sway).
set -euo pipefail
program_dir=$(cd "$1" && pwd)
preload=$(realpath -e "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/checks.sh"

if [ $# -lt 3 ]; then
  failed=0
  for end in TERM INT HUP x11 x11-held; do
    "$root/scripts/with-xvfb" "$0" "$program_dir" "$preload" "$end" || failed=1
  done
  "$root/tests/support/with-sway" "$0" "$program_dir" "$preload" wayland || failed=1
  "$root/scripts/with-xvfb" "$root/tests/support/with-sway" "$0" "$program_dir" "$preload" \
    wlroots-lost || failed=1
  exit $failed
fi
end=$3

dir=$(mktemp -d)
cleanup() { end_then_remove "$dir" "${silent:-}" "${pid:-}"; }
trap cleanup EXIT
fresh_copy "$program_dir"
export XDG_SESSION_TYPE=wayland

said() { grep -qF "$1" "$dir/stderr"; }
# Whether the X server has its left button down.
left_down() {
  python3 -c 'import ctypes as c
x = c.CDLL("libX11.so.6"); x.XOpenDisplay.restype = c.c_void_p
x.XDefaultRootWindow.argtypes = [c.c_void_p]; x.XDefaultRootWindow.restype = c.c_ulong
d = x.XOpenDisplay(None); w = c.c_ulong(); i = c.c_int(); m = c.c_uint()
x.XQueryPointer(c.c_void_p(d), x.XDefaultRootWindow(d), c.byref(w), c.byref(w), c.byref(i),
                c.byref(i), c.byref(i), c.byref(i), c.byref(m))
exit(0 if m.value & 256 else 1)'
}
pad_fifo

if [ "$end" = wlroots-lost ]; then
  VANTREL_PAD_PUSHED=1 QT_QPA_PLATFORM=xcb LD_PRELOAD=$preload "$dir/vantrel" 2>"$dir/stderr" &
  pid=$!
  lost=$(sed -n 's/^37=//p' "$dir/Lang/English.lng" | tr -d '\r')
  # The program's window exists once the output was chosen, the wlroots one here.
  running=(xdotool search --class vantrel)
elif [ "$end" = wayland ]; then
  unset DISPLAY
  QT_QPA_PLATFORM=wayland LD_PRELOAD=$preload "$dir/vantrel" 2>"$dir/stderr" &
  pid=$!
  # The tray icon is the last step of the start (this sway has no notification area).
  running=(said "running without a tray icon")
else
  python3 -c 'import socket, sys, time
s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(4); time.sleep(3600)' \
    "$dir/silent" &
  silent=$!
  wait_for test -S "$dir/silent"
  WAYLAND_DISPLAY=$dir/silent QT_QPA_PLATFORM=xcb LD_PRELOAD=$preload "$dir/vantrel" \
    2>"$dir/stderr" &
  pid=$!
  # The warning box, titled as the language file's line 4 says.
  title=$(sed -n 's/^0*4=//p' "$dir/Lang/English.lng" | tr -d '\r')
  running=(xdotool search --onlyvisible --name "^$title\$")
fi

status=0
if ! wait_for "${running[@]}"; then
  echo "$end: the program did not reach its running state" >&2
  status=1
fi
case $end in
  wlroots-lost)
    kill -9 "$VANTREL_SWAY_PID"
    wait_for said "$lost" || echo "$end: the loss was not said" >&2
    sleep 1  # time for a second notice, which must not come
    [ "$(grep -cF "$lost" "$dir/stderr")" -eq 1 ] || { echo "$end: not said once" >&2; status=1; }
    # The held stick now takes the X pointer to the screen's right edge.
    wait_for eval '[ "$(xdotool getmouselocation --shell | sed -n s/^X=//p)" = 1279 ]' ||
      { echo "$end: XTest did not take over" >&2; status=1; }
    kill -s TERM "$pid" ;;
  x11-held)
    echo 0 0 1 >&3
    wait_for left_down || { echo "$end: the button did not go down" >&2; status=1; }
    kill -9 "$VANTREL_XVFB_PID" ;;
  x11) kill -9 "$VANTREL_XVFB_PID" ;;
  wayland) kill -9 "$VANTREL_SWAY_PID" ;;
  *) kill -s "$end" "$pid" ;;
esac
# The end must come by itself; after a minute it is forced, and the case fails.
wait_for eval '! kill -0 "$pid"' || { echo "$end: the program did not end" >&2; kill -9 "$pid"; }
code=0
wait "$pid" || code=$?
pid=
[ "$code" -eq 0 ] || { echo "$end: exit status $code, expected 0" >&2; status=1; }
[ -f "$dir/Vantrel.ini" ] || { echo "$end: the settings were not saved" >&2; status=1; }
case $end in
  x11* | wayland) said "the display is gone (the session ended); settings saved" ||
    { echo "$end: the end was not said" >&2; status=1; } ;;
esac
if grep -qi "connection broke\|error" "$dir/stderr"; then
  echo "$end: an error was reported" >&2
  status=1
fi
[ $status -eq 0 ] || { echo "--- standard error of the program:" >&2; cat "$dir/stderr" >&2; }
exit $status

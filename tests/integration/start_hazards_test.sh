#!/usr/bin/env bash
# The whole program started the odd ways users and other users' files start it, each case in a
# fresh copy (no settings file yet) on its own X display:
#   foreign-folder: a program folder whose name is not UTF-8 (as unzip leaves Windows names),
#     started from a folder that holds a library of the update check's name: the check's fetch
#     process loads the program's own module, never the planted one, and the settings go
#     beside the program.
#   stderr-closed: standard error closed and no runtime folder: the held stick still reaches
#     the screen's edge, and TERM ends the program normally.
#   renamed-copy: a copy under another name, started while the first runs, says that one runs
#     and ends with status 3 (here by TERM while its box is open).
#   no-joystick-signal: TERM while the no-joystick box is open ends with status 2, nothing saved.
#   at-logon-waits: started by the logon entry without a joystick: no box, the tray icon up,
#     nothing saved while it waits; TERM ends it normally.
# Usage: start_hazards_test.sh PROGRAM_DIR PAD_PRELOAD PLANTED_MODULE [CASE]
set -euo pipefail
program_dir=$(cd "$1" && pwd)
preload=$(realpath -e "$2")
planted=$(realpath -e "$3")
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/checks.sh"

if [ $# -lt 4 ]; then
  failed=0
  for case in foreign-folder stderr-closed renamed-copy no-joystick-signal at-logon-waits; do
    "$root/scripts/with-xvfb" "$0" "$program_dir" "$preload" "$planted" "$case" ||
      { echo "$case: failed" >&2; failed=1; }
  done
  exit $failed
fi
case=$4

export LC_ALL=C  # folder names are bytes here
dir=$(mktemp -d)
cleanup() { end_then_remove "$dir" "${pid:-}" "${second:-}" "${proxy:-}"; }
trap cleanup EXIT
prog=$dir/program
[ "$case" = foreign-folder ] && prog=$dir/$'Programme-\xe9t\xe9'
fresh_copy "$program_dir" "$prog"
export QT_QPA_PLATFORM=xcb
mkdir "$dir/cwd"
cd "$dir/cwd"

fail() { echo "$case: $*" >&2; status=1; }
visible_box() { xdotool search --onlyvisible --name "^$(sed -n 's/^0*4=//p' "$prog/Lang/English.lng" | tr -d '\r')\$"; }
pointer_x() { xdotool getmouselocation --shell | sed -n s/^X=//p; }
# Ends the program and returns its exit status; a program that does not end is killed.
end_with() {
  kill -s TERM "$1"
  wait_for eval "! kill -0 $1" || { fail "did not end"; kill -9 "$1"; }
  local code=0
  wait "$1" || code=$?
  return $code
}

status=0
expected=0
case $case in
  foreign-folder)
    cp "$planted" libvantrel-http.so
    # The update check's fetch process (2 s after the tray icon) asks this proxy, which takes
    # the connection and never answers: its arrival shows that a module was loaded and fetches.
    python3 -c 'import os, socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(1)
open(sys.argv[1] + ".new", "w").write(str(s.getsockname()[1]))
os.rename(sys.argv[1] + ".new", sys.argv[1])
s.accept(); open(sys.argv[2], "w").close(); time.sleep(300)' "$dir/proxy-port" "$dir/fetching" &
    proxy=$!
    wait_for test -s "$dir/proxy-port" || fail "the proxy did not start"
    https_proxy=http://127.0.0.1:$(cat "$dir/proxy-port") LD_PRELOAD=$preload "$prog/vantrel" \
      2>"$dir/stderr" &
    pid=$!
    wait_for test -e "$dir/fetching" || fail "the update check did not fetch"
    ! grep -F "no update check" "$dir/stderr" || fail "the program's own module was not loaded"
    [ ! -e planted-module-ran ] || fail "the library in the current folder was loaded" ;;
  stderr-closed)
    mkdir -m 700 "$dir/tmp"
    env -u XDG_RUNTIME_DIR TMPDIR="$dir/tmp" VANTREL_PAD_PUSHED=1 LD_PRELOAD=$preload \
      "$prog/vantrel" 2>&- &
    pid=$!
    wait_for eval '[ "$(pointer_x)" = 1279 ]' || fail "the held stick did not move the pointer" ;;
  renamed-copy)
    LD_PRELOAD=$preload "$prog/vantrel" 2>"$dir/stderr" &
    pid=$!
    wait_for xdotool search --class vantrel || fail "the first copy did not start"
    cp -r "$prog" "$dir/copy"
    mv "$dir/copy/vantrel" "$dir/copy/Vantrel2"
    LD_PRELOAD=$preload "$dir/copy/Vantrel2" 2>"$dir/stderr2" &
    second=$!
    wait_for visible_box || fail "the renamed copy said nothing"
    code=0
    end_with "$second" || code=$?
    second=
    [ "$code" -eq 3 ] || fail "the renamed copy ended with $code, expected 3" ;;
  no-joystick-signal)
    "$prog/vantrel" 2>"$dir/stderr" &
    pid=$!
    expected=2
    wait_for visible_box || fail "no box said that no joystick was found" ;;
  at-logon-waits)
    "$prog/vantrel" --at-logon 2>"$dir/stderr" &
    pid=$!
    wait_for xdotool search --onlyvisible --class vantrel || fail "no tray icon while waiting"
    ! visible_box >/dev/null 2>&1 || fail "a box while waiting"
    [ ! -e "$prog/Vantrel.ini" ] || fail "the waiting wrote the settings" ;;
esac

code=0
end_with "$pid" || code=$?
pid=
[ "$code" -eq "$expected" ] || fail "exit status $code, expected $expected"
if [ "$expected" -eq 0 ]; then
  [ -f "$prog/Vantrel.ini" ] || fail "the settings were not saved beside the program"
else
  [ ! -e "$prog/Vantrel.ini" ] && [ ! -e "$dir/config/vantrel" ] || fail "settings were written"
fi
[ $status -eq 0 ] || { echo "--- standard error:" >&2; cat "$dir"/stderr* >&2 2>/dev/null || true; }
exit $status

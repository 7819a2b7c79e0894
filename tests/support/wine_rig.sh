# The rig of the wine tests of the Windows program (tests/windows/*.sh), sourced by them: a
# throw-away prefix set to Windows 10 with Tahoma inside the X display of scripts/with-xvfb
# (trayer is the notification area), the project's joystick on wine's device bus, the checks'
# report, waiting for a state, and what can be seen from outside: windows, the tray icon,
# the pointer. Sourcing it makes $tmp (removed at exit) and $WINEPREFIX inside it.
: "${DISPLAY:?run inside scripts/with-xvfb}"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-wine-program.XXXXXX")
export WINEPREFIX="$tmp/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$tmp"
}
trap cleanup EXIT
# A command that ends the test (set -e) says which one it was.
trap 'echo "FAIL: line $LINENO: \"$BASH_COMMAND\" ended with status $?" >&2' ERR
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# The start-at-logon value's line in `reg query`, empty without one.
logon_value() {
  wine reg query "$run_key" /v Vantrel 2>/dev/null | tr -d '\r' | grep REG_SZ || true
}

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }
check() {  # check DESCRIPTION COMMAND...
  local what="$1"
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
# The last line of a test: exit status 1 after any failure.
report() {  # report TEST_NAME
  if [ "$failures" -ne 0 ]; then
    echo "$1: $failures failed" >&2
    exit 1
  fi
  echo "$1: all passed"
}
# Polls COMMAND... every 0.1 s for up to SECONDS; its output is the result.
wait_for() {  # wait_for SECONDS COMMAND...
  local tries=$(($1 * 10))
  shift
  local out
  for _ in $(seq "$tries"); do
    if out=$("$@" 2>/dev/null) && [ -n "$out" ]; then
      echo "$out"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# A fresh prefix as a Windows 10 user has it, with Tahoma for the windows' texts.
prepare_prefix() {
  wineboot --init >/dev/null 2>&1
  wine winecfg -v win10 >/dev/null 2>&1
  cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  # The windows ask for Arial and Verdana, which wine lacks: Tahoma stands in, not a serif font.
  for family in Arial Verdana; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$family" /d Tahoma /f >/dev/null 2>&1
  done
  end_session
}
# Ends the wine session, and with it every program in it; returns once it is gone.
end_session() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
}
# Starts the session with the project's joystick on its device bus (JOYSTICK_PRELOAD is
# tests/windows/WineJoystickPreload.cpp built); stick() then moves it.
start_joystick_session() {  # start_joystick_session JOYSTICK_PRELOAD
  mkfifo "$tmp/joystick"
  # The device bus starts with the session: the session is started with the joystick's library.
  wineserver -p
  LD_PRELOAD="$1" VANTREL_WINE_JOYSTICK="$tmp/joystick" wineboot >/dev/null 2>&1
  # The bus lists the joystick's HID device once it has taken it in.
  for _ in $(seq 30); do
    wine reg query 'HKLM\System\CurrentControlSet\Enum\HID' 2>/dev/null |
      grep -q 'VID_0000&PID_0000' && break
    sleep 1
  done
}
stick() { timeout 10 sh -c "echo '$*' >'$tmp/joystick'"; }

# Starts the program (wine COMMAND...) with its output in $tmp/LOG, its process in $vantrel, and
# waits up to 60 s for its tray icon: the icon's window goes to $icon and the time it took to
# $took_ms. Without one, the log goes to stderr and the status is 1.
start_to_tray() {  # start_to_tray LOG COMMAND...
  local log="$tmp/$1" started
  shift
  started=$(date +%s%N)
  wine "$@" >"$log" 2>&1 &
  vantrel=$!
  if icon=$(wait_for 60 tray_icon); then
    took_ms=$((($(date +%s%N) - started) / 1000000))
    return 0
  fi
  cat "$log" >&2
  return 1
}

# Visible top-level windows of the program, by wine's window class.
program_windows() {
  xdotool search --onlyvisible --maxdepth 1 --class '^vantrel\.exe$' 2>/dev/null || true
}
# The window docked in trayer's panel (two levels below it), if any.
tray_icon() {
  local panel
  panel=$(xdotool search --maxdepth 1 --name '^panel$' 2>/dev/null | head -n1) || return 0
  xwininfo -id "$panel" -tree 2>/dev/null |
    awk '/^        0x[0-9a-f]+ / && $0 !~ / 1x1\+/ { print $1; exit }'
}
geometry() {  # geometry WINDOW -> "x y width height"
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                           /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}
click_at() {  # click_at X Y BUTTON
  xdotool mousemove "$1" "$2"
  sleep 0.2
  xdotool click "$3"
}
# Gives WINDOW the keyboard focus; prints it once the server says it has it.
focus_on() {
  xdotool windowfocus "$1" 2>/dev/null || true
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && echo "$1"
}
# Waits up to SECONDS for the background process PID to end, else ends it; its exit status
# goes to $status.
wait_exit() {  # wait_exit PID SECONDS
  status=0
  timeout "$2" tail --pid="$1" -f /dev/null || kill "$1" 2>/dev/null || true
  wait "$1" || status=$?
}

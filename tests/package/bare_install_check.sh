#!/usr/bin/env bash
# Installs the Debian package on a bare Debian 12 that never built Vantrel (a debootstrap minbase
# chroot) and uses it there as a person would: `apt-get install ./vantrel_*.deb`, `vantrel
# --version`, then the program under Xvfb with trayer as the notification area and a virtual
# joystick, run by an ordinary user: the tray icon docks, the options dialog's OK writes
# ~/.config/vantrel/Vantrel.ini and the autostart entry, Exit ends with status 0. Last,
# `apt-get remove vantrel` must leave no file of the package, and the user's files must stay.
# Takes several minutes (apt downloads Qt into the chroot): not part of the test command.
# Usage, as root from the project's root, after a build (for the joystick preload):
#   tests/package/bare_install_check.sh [DEB]     (default: scripts/package-deb makes one)
# The bare system is made once into $VANTREL_BARE_CACHE (default ~/.cache/vantrel-bare-deb) and
# copied anew for every run; the transcript of the last run is run.log there.
set -uo pipefail

# --- inside the bare system ---
inside() {
  failures=0
  fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
  check() {  # check DESCRIPTION COMMAND...
    local what="$1"
    shift
    if "$@"; then echo "ok: $what"; else fail "$what"; fi
  }
  wait_for() {  # wait_for SECONDS COMMAND...: polls until COMMAND prints something
    local tries=$(($1 * 10)) out
    shift
    for _ in $(seq "$tries"); do
      if out=$("$@" 2>/dev/null) && [ -n "$out" ]; then echo "$out"; return 0; fi
      sleep 0.1
    done
    return 1
  }
  export DEBIAN_FRONTEND=noninteractive
  cd /srv/check
  deb=$(ls vantrel_*.deb)

  echo "== apt-get install ./$deb"
  apt-get update -qq
  check "no Qt, SDL or Vantrel before" sh -c '! dpkg -l libqt6core6 libsdl2-2.0-0 vantrel 2>/dev/null | grep -q "^ii"'
  check "apt-get install ./$deb" apt-get install -y -q "./$deb"
  dpkg -L vantrel >/srv/check/package-files
  check "vantrel --version: $(vantrel --version 2>&1)" sh -c 'vantrel --version | grep -qx "vantrel [0-9]*\.[0-9]*\.[0-9]*"'

  echo "== the program under Xvfb and trayer (installing the test's own tools)"
  apt-get install -y -q --no-install-recommends xvfb xauth trayer xdotool x11-utils >/dev/null
  useradd -m tester
  exec 3>/tmp/display
  Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s /tmp/display ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 /tmp/display)"
  trayer --edge top --align right --widthtype request --height 24 --transparent false \
    >/tmp/trayer.log 2>&1 &
  trayer=$!
  wait_for 20 sh -c 'xwininfo -root -tree | grep "\"panel\""' >/dev/null || fail "trayer shows no panel"
  install -d -o tester -m 700 /tmp/run-tester
  setpriv --reuid=tester --regid=tester --init-groups -- env -i HOME=/home/tester \
    DISPLAY="$DISPLAY" XDG_RUNTIME_DIR=/tmp/run-tester PATH=/usr/bin:/bin LANG=C.UTF-8 \
    LD_PRELOAD=/srv/check/joystick.so vantrel >/tmp/vantrel.log 2>&1 &
  vantrel=$!
  tray_icon() {
    local panel
    panel=$(xdotool search --maxdepth 1 --name '^panel$' 2>/dev/null | head -n1) || return 0
    xwininfo -id "$panel" -tree 2>/dev/null |
      awk '/^        0x[0-9a-f]+ / && $0 !~ / 1x1\+/ { print $1; exit }'
  }
  if icon=$(wait_for 60 tray_icon); then
    echo "ok: the tray icon docks ($icon)"
  else
    fail "no tray icon"; cat /tmp/vantrel.log; return 1
  fi
  program_windows() {
    xdotool search --onlyvisible --maxdepth 1 --classname '^vantrel$' 2>/dev/null | sort || true
  }
  windows_before=
  new_window() { comm -13 <(echo "$windows_before") <(program_windows) | head -n1; }
  open_menu() {  # right click on the icon, until its menu shows: the menu grabs the keyboard
    windows_before=$(program_windows)
    read -r x y w h < <(xwininfo -id "$icon" | awk '/Absolute upper-left X/ {x=$NF}
      /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
    wait_for 30 new_window >/dev/null || fail "no menu after a right click on the icon"
  }
  options_dialog() {
    xdotool search --onlyvisible --name 'Vantrel Package Test Pad' 2>/dev/null | head -n1
  }
  ini=/home/tester/.config/vantrel/Vantrel.ini
  check "no settings file before OK" test ! -e "$ini"
  open_menu
  xdotool key Down Return  # the first entry: Options...
  if dialog=$(wait_for 30 options_dialog); then
    echo "ok: Options... opens \"$(xdotool getwindowname "$dialog")\""
  else
    fail "no options dialog"
  fi
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool key Return  # Enter presses OK
  if wait_for 20 sh -c "test -f $ini && echo yes" >/dev/null; then
    echo "ok: OK writes $ini"
  else
    fail "no $ini after OK"
  fi
  # The file is written before the dialog goes; until it has gone, it keeps the tray's clicks.
  dialog_gone() { [ -n "$(options_dialog)" ] || echo gone; }
  wait_for 20 dialog_gone >/dev/null || fail "the options dialog stays after OK"
  eight_lines() { [ "$(wc -l <"$1")" -eq 8 ] && [ "$(grep -c $'\r$' "$1")" -eq 8 ]; }
  check "Vantrel.ini: eight lines ending in CR LF" eight_lines "$ini"
  check "Vantrel.ini belongs to the user" test "$(stat -c %U "$ini")" = tester
  autostart=/home/tester/.config/autostart/Vantrel.desktop
  check "the autostart entry starts /usr/bin/vantrel" grep -qx 'Exec=/usr/bin/vantrel --at-logon' "$autostart"
  check "the autostart entry carries TryExec" grep -qx 'TryExec=/usr/bin/vantrel' "$autostart"
  check "nothing written into /usr/lib/vantrel" \
    test "$(find /usr/lib/vantrel -newer "/srv/check/package-files" | wc -l)" -eq 0
  open_menu
  xdotool key Up Return  # the last entry: Exit
  status=0
  timeout 30 tail --pid="$vantrel" -f /dev/null || { fail "Exit did not end the program"; kill "$vantrel"; }
  wait "$vantrel" || status=$?
  check "Exit ends the program with status 0 (was $status)" test "$status" -eq 0
  echo "--- program output"; cat /tmp/vantrel.log; echo "---"

  echo "== apt-get remove vantrel"
  check "apt-get remove vantrel" apt-get remove -y -q vantrel
  left=""
  while IFS= read -r path; do
    case "$path" in /usr/lib/vantrel*|/usr/share/doc/vantrel*) [ -e "$path" ] && left="$left $path" ;; esac
    [ -e "$path" ] && [ ! -d "$path" ] && left="$left $path"
  done </srv/check/package-files
  check "no file of the package is left${left:+:$left}" test -z "$left"
  check "dpkg knows no vantrel file" sh -c '! dpkg -S /usr/lib/vantrel 2>/dev/null'
  check "the user's settings stay" test -f "$ini"
  check "the user's autostart entry stays" test -f "$autostart"
  echo "bare install check: $failures failure(s)"
  [ "$failures" -eq 0 ]
}
if [ "${1:-}" = --inside ]; then
  inside
  status=$?
  # Nothing of the check may outlive it: a server left in the chroot keeps its /dev mounted.
  for pid in ${vantrel:-} ${trayer:-} ${xvfb:-}; do kill "$pid" 2>/dev/null; done
  exit $status
fi
[ "$(id -u)" -eq 0 ] || { echo "bare_install_check: run as root"; exit 2; }
project="$(cd "$(dirname "$0")/../.." && pwd)"
deb="${1:-}"
if [ -z "$deb" ]; then deb=$("$project/scripts/package-deb" | tail -n1) || exit 2; fi
preload="${VANTREL_JOYSTICK_PRELOAD:-$project/build/tests/package/vantrel_virtual_joystick.so}"
[ -f "$preload" ] || { echo "bare_install_check: build first ($preload is missing)"; exit 2; }
cache="${VANTREL_BARE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vantrel-bare-deb}"
mkdir -p "$cache"
if [ ! -f "$cache/base.ok" ]; then
  command -v debootstrap >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null || exit 2
  mirror=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources)
  rm -rf "$cache/base"
  debootstrap --variant=minbase bookworm "$cache/base" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    { echo "debootstrap failed, see $cache/debootstrap.log"; exit 2; }
  cp /etc/apt/sources.list.d/debian.sources "$cache/base/etc/apt/sources.list.d/"
  rm -f "$cache/base/etc/apt/sources.list"
  touch "$cache/base.ok"
fi

chroot_dir="$cache/root"
# A busy mount is detached lazily: whatever still holds it must not keep it in place for the
# rm -rf below, which would then reach into the host's /dev and /sys.
unmount() {
  for m in dev/pts dev proc sys; do
    umount "$chroot_dir/$m" 2>/dev/null || umount -l "$chroot_dir/$m" 2>/dev/null
  done
}
unmount
if grep -qF " $chroot_dir/" /proc/mounts; then
  echo "bare install check: something is still mounted below $chroot_dir; not removing it" >&2
  exit 1
fi
rm -rf "$chroot_dir"
cp -a "$cache/base" "$chroot_dir"
cp /etc/resolv.conf "$chroot_dir/etc/resolv.conf"
mkdir -p "$chroot_dir/srv/check"
cp "$deb" "$chroot_dir/srv/check/"
cp "$preload" "$chroot_dir/srv/check/joystick.so"
cp "$0" "$chroot_dir/srv/check/bare_install_check.sh"
mount --bind /proc "$chroot_dir/proc"
mount --bind /sys "$chroot_dir/sys"
mount --bind /dev "$chroot_dir/dev"
mount --bind /dev/pts "$chroot_dir/dev/pts"
trap unmount EXIT
chroot "$chroot_dir" /usr/bin/env -i HOME=/root LANG=C.UTF-8 \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  bash /srv/check/bare_install_check.sh --inside >"$cache/run.log" 2>&1
status=$?
grep -E '^(ok|FAIL|==|bare)' "$cache/run.log" | tail -n 40
echo "exit status: $status (transcript: $cache/run.log)"
exit $status

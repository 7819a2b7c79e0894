#!/usr/bin/env bash
# Builds the Debian package with scripts/package-deb and checks what can be seen without
# installing it: control fields and Depends, every file with its mode and owner, the maintainer
# scripts, lintian (no errors) and apt's resolution on this Debian 12. Then where the real
# program keeps Vantrel.ini: beside itself in a writable program folder, in the user's
# ~/.config/vantrel in a read-only one, and always there for the packaged program, even as root.
# Usage: package_test.sh SOURCE_DIR BUILD_DIR JOYSTICK_PRELOAD
#   The package is built in BUILD_DIR/deb, or in $VANTREL_DEB_BUILD (say build-deb/, to share it
#   with scripts/package-deb).
set -euo pipefail
src="$1"
build="$2"
preload="$3"

tmp=$(mktemp -d)
programs=()
cleanup() {
  for p in "${programs[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
  chmod -R u+w "$tmp" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
source "$src/tests/support/checks.sh"

echo "== building the package"
deb=$("$src/scripts/package-deb" "${VANTREL_DEB_BUILD:-$build/deb}" | tail -n1)
echo "$deb"
version=$(sed -n 's/^project(Vantrel VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
check "file name vantrel_${version}-1_amd64.deb" test "$(basename "$deb")" = "vantrel_${version}-1_amd64.deb"

echo "== control"
dpkg-deb --info "$deb"
field() { dpkg-deb --field "$deb" "$1"; }
check "Package vantrel" test "$(field Package)" = vantrel
check "Version ${version}-1" test "$(field Version)" = "${version}-1"
check "Architecture amd64" test "$(field Architecture)" = amd64
# Depends: what the program links (dpkg-shlibdeps) and Qt's Wayland plugin; nothing else.
depends=$(field Depends | tr ',' '\n' | sed -e 's/^ *//' -e 's/ .*//' | LC_ALL=C sort)
want_depends=$(printf '%s\n' libc6 libevdev2 libgcc-s1 libqt6core6 libqt6dbus6 libqt6gui6 \
  libqt6network6 libqt6widgets6 libsdl2-2.0-0 libstdc++6 libudev1 libwayland-client0 libx11-6 \
  libx11-xcb1 libxcb1 libxtst6 qt6-wayland | LC_ALL=C sort)
[ "$depends" = "$want_depends" ] || fail "Depends names
$depends
instead of
$want_depends"
field Depends | grep -q 'libqt6widgets6 (>= ' || fail "Depends carries no shlibs versions"
check "maintainer scripts: only postinst and postrm" \
  test "$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -v -e '^\./$' -e '^\./control$' \
    -e '^\./md5sums$' | LC_ALL=C sort | tr '\n' ' ')" = "./postinst ./postrm "

echo "== files"
# "mode owner path[ -> target]" for each entry but the folders, which must all be 755 root.
dpkg-deb --contents "$deb" >"$tmp/contents"
sed -E 's/^(\S+) (\S+) +\S+ \S+ \S+ (.*)$/\1 \2 \3/' "$tmp/contents" >"$tmp/entries"
dirs_bad=$(grep '^d' "$tmp/entries" | grep -v '^drwxr-xr-x root/root ' || true)
[ -z "$dirs_bad" ] || fail "folders not 755 root: $dirs_bad"
expected_files() {
  local f size
  echo "-rwxr-xr-x root/root ./usr/lib/vantrel/vantrel"
  echo "-rw-r--r-- root/root ./usr/lib/vantrel/libvantrel-http.so"
  for f in "$src"/resources/Lang/*.lng; do
    echo "-rw-r--r-- root/root ./usr/lib/vantrel/Lang/$(basename "$f")"
  done
  for f in "$src"/resources/docs/*.txt; do
    echo "-rw-r--r-- root/root ./usr/lib/vantrel/$(basename "$f")"
  done
  echo "lrwxrwxrwx root/root ./usr/bin/vantrel -> ../lib/vantrel/vantrel"
  echo "-rw-r--r-- root/root ./usr/share/applications/vantrel.desktop"
  echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/vantrel.svg"
  for f in "$src"/resources/icons/vantrel-*.png; do
    size=$(basename "$f" .png)
    size=${size#vantrel-}
    echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/${size}x${size}/apps/vantrel.png"
  done
  echo "-rw-r--r-- root/root ./usr/lib/udev/rules.d/60-vantrel-uinput.rules"
  echo "-rw-r--r-- root/root ./usr/share/doc/vantrel/copyright"
  echo "-rw-r--r-- root/root ./usr/share/doc/vantrel/changelog.Debian.gz"
  echo "-rw-r--r-- root/root ./usr/share/man/man1/vantrel.1.gz"
}
have=$(grep -v '^d' "$tmp/entries" | LC_ALL=C sort)
want=$(expected_files | LC_ALL=C sort)
[ "$have" = "$want" ] || fail "the package holds
$have
instead of
$want"

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
check "the udev rule is the one scripts/install writes" \
  cmp -s "$root/usr/lib/udev/rules.d/60-vantrel-uinput.rules" "$src/packaging/60-vantrel-uinput.rules"
check "the rule opens uinput to the person at the desktop" \
  grep -q 'KERNEL=="uinput".*TAG+="uaccess".*OPTIONS+="static_node=uinput"' \
  "$root/usr/lib/udev/rules.d/60-vantrel-uinput.rules"
check "the menu entry validates" desktop-file-validate "$root/usr/share/applications/vantrel.desktop"
check "the menu entry starts the launcher" \
  grep -qx 'Exec=vantrel' "$root/usr/share/applications/vantrel.desktop"
check "the program and its module are stripped" sh -c "! file -L '$root/usr/lib/vantrel/vantrel' \
  '$root/usr/lib/vantrel/libvantrel-http.so' | grep -q 'not stripped'"
check "the man page names every exit status" \
  sh -c "zcat '$root/usr/share/man/man1/vantrel.1.gz' | grep -c '^\.B [0-9]' | grep -qx 6"
check "the changelog names this version" \
  sh -c "zcat '$root/usr/share/doc/vantrel/changelog.Debian.gz' | head -n1 | grep -qF '(${version}-1)'"
# Without a running udev (a chroot, a container) the scripts do nothing and succeed.
dpkg-deb -e "$deb" "$tmp/control"
for script in postinst postrm; do
  action=configure
  [ "$script" = postrm ] && action=remove
  check "$script $action succeeds without udev" \
    env PATH=/nonexistent /bin/sh "$tmp/control/$script" "$action"
done

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 --display-info "$deb" >"$tmp/lintian" 2>&1 ||
  fail "lintian finds errors"
cat "$tmp/lintian"

echo "== apt"
if ! apt-get install --simulate "$deb" >"$tmp/apt" 2>&1 || ! grep -q '^Inst vantrel ' "$tmp/apt"; then
  cat "$tmp/apt"
  fail "apt-get install --simulate does not resolve the package"
fi

echo "== where the real program keeps its settings"
# Root may write any folder, so as root the program runs as nobody; files it must reach are
# copied to a place nobody can read.
chmod 755 "$tmp"
as_user=()
owner=$(id -u)
if [ "$owner" -eq 0 ]; then
  owner=nobody
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
cp "$preload" "$tmp/joystick.so"
# Starts EXECUTABLE with HOME, waits until it handles SIGTERM (it then runs, past start-up),
# ends it that way and expects status 0: the end that saves the settings.
run_until_saved() {  # run_until_saved LABEL EXECUTABLE HOME [COMMAND PREFIX...]
  local label="$1" exe="$2" home="$3"
  shift 3
  mkdir -p "$home/run"
  chmod 700 "$home/run"
  env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" XDG_RUNTIME_DIR="$home/run" \
    QT_QPA_PLATFORM=offscreen LD_PRELOAD="$tmp/joystick.so" "$@" "$exe" \
    >"$tmp/$label.log" 2>&1 &
  local pid=$!
  programs+=("$pid")
  local handled=""
  for _ in $(seq 600); do
    local caught
    caught=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null) || break
    if [ -n "$caught" ] && (((16#$caught >> 14) & 1)); then handled=yes; break; fi
    sleep 0.1
  done
  [ -n "$handled" ] || { fail "$label: the program never got running"; cat "$tmp/$label.log" >&2; }
  kill -TERM "$pid" 2>/dev/null || true
  local status=0
  wait "$pid" || status=$?
  check "$label: SIGTERM ends the program with status 0 (was $status)" test "$status" -eq 0
}
eight_lines() { [ "$(wc -l <"$1")" -eq 8 ] && [ "$(grep -c $'\r$' "$1")" -eq 8 ]; }

cp -r "$build/program" "$tmp/writable"
mkdir "$tmp/home-w"
chown -R "$owner" "$tmp/writable" "$tmp/home-w"
run_until_saved writable "$tmp/writable/vantrel" "$tmp/home-w" "${as_user[@]}"
check "writable folder: Vantrel.ini beside the program" eight_lines "$tmp/writable/Vantrel.ini"
check "writable folder: nothing in ~/.config/vantrel" test ! -e "$tmp/home-w/.config/vantrel"

cp -r "$build/program" "$tmp/readonly"
rm -f "$tmp/readonly/Vantrel.ini"
chmod -R a-w "$tmp/readonly"
mkdir "$tmp/home-r"
chown "$owner" "$tmp/home-r"
run_until_saved readonly "$tmp/readonly/vantrel" "$tmp/home-r" "${as_user[@]}"
check "read-only folder: Vantrel.ini in ~/.config/vantrel" \
  eight_lines "$tmp/home-r/.config/vantrel/Vantrel.ini"
check "read-only folder: nothing written beside the program" test ! -e "$tmp/readonly/Vantrel.ini"

# The packaged program as whoever runs this test (root included): never its own folder.
mkdir "$tmp/home-p"
packaged_files=$(find "$root/usr/lib/vantrel" | LC_ALL=C sort)
run_until_saved packaged "$root/usr/lib/vantrel/vantrel" "$tmp/home-p"
check "packaged program: Vantrel.ini in ~/.config/vantrel" \
  eight_lines "$tmp/home-p/.config/vantrel/Vantrel.ini"
check "packaged program: its folder holds only the package's files" \
  test "$(find "$root/usr/lib/vantrel" | LC_ALL=C sort)" = "$packaged_files"

checks_done package

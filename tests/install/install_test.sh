#!/usr/bin/env bash
# Installs the built program into a temporary HOME with scripts/install, checks every file, the
# menu entry and the launcher, then checks that scripts/uninstall keeps only the settings file
# and that --purge leaves the HOME as it was.
# Usage: install_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src="$1"
build="$2"

tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
source "$src/tests/support/checks.sh"

# A HOME whose path the menu entry has to quote: a blank, a dollar, a percent and a quote.
export HOME="$tmp/home dir \$x %f 'q'"
mkdir -p "$HOME"
unset XDG_DATA_HOME XDG_CONFIG_HOME
export XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

prefix="$HOME/.local/lib/vantrel"
data="$HOME/.local/share"

# Files of other programs in the same places; uninstalling must leave them alone.
foreign=(
  ".local/bin/other-tool"
  ".local/share/applications/other.desktop"
  ".local/share/icons/hicolor/48x48/apps/other.png"
  ".config/autostart/Other.desktop"
)
for f in "${foreign[@]}"; do
  mkdir -p "$(dirname "$HOME/$f")"
  echo "not Vantrel's" >"$HOME/$f"
done

# What the program folder must hold, taken from the sources.
expected_program_files() {
  echo vantrel
  echo libvantrel-http.so
  for f in "$src"/resources/Lang/*.lng; do echo "Lang/$(basename "$f")"; done
  for f in "$src"/resources/docs/*.txt; do basename "$f"; done
  echo icons/hicolor/scalable/apps/vantrel.svg
  for f in "$src"/resources/icons/vantrel-*.png; do
    size=$(basename "$f" .png)
    size=${size#vantrel-}
    echo "icons/hicolor/${size}x${size}/apps/vantrel.png"
  done
}

# Files (and links) below a folder, one relative path a line.
files_below() {
  if [ -d "$1" ]; then (cd "$1" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort); fi
}

# The Exec value of a desktop entry as the argument list a launcher runs: string unescaping,
# %% to %, then the quoting rules (which are the shell's double-quote rules for \ " ` $).
exec_arguments() {
  local value
  value=$(sed -n 's/^Exec=//p' "$1")
  value=${value//\\\\/\\}
  value=${value//%%/%}
  eval "set -- $value"
  printf '%s\n' "$@"
}

check_installed() {  # check_installed LABEL
  local label="$1"
  local want
  want=$(expected_program_files | LC_ALL=C sort)
  local have
  have=$(files_below "$prefix" | grep -v -e '^Vantrel\.ini$' -e '^vantrel\.exe\.manifest$' || true)
  [ "$have" = "$want" ] || fail "$label: program folder holds
$have
instead of
$want"
  check "$label: executable" test -x "$prefix/vantrel"
  for f in "$src"/resources/Lang/*.lng; do
    check "$label: $(basename "$f")" cmp -s "$f" "$prefix/Lang/$(basename "$f")"
  done
  for f in "$src"/resources/docs/*.txt; do
    check "$label: $(basename "$f")" cmp -s "$f" "$prefix/$(basename "$f")"
  done
  check "$label: program folder writable" touch "$prefix/.write-test"
  rm -f "$prefix/.write-test"

  check "$label: scalable icon" cmp -s "$src/resources/icons/vantrel.svg" \
    "$data/icons/hicolor/scalable/apps/vantrel.svg"
  for f in "$src"/resources/icons/vantrel-*.png; do
    local size
    size=$(basename "$f" .png)
    size=${size#vantrel-}
    check "$label: ${size}px icon" cmp -s "$f" "$data/icons/hicolor/${size}x${size}/apps/vantrel.png"
  done

  local launcher="$HOME/.local/bin/vantrel"
  check "$label: launcher is a link" test -L "$launcher"
  [ "$(readlink -f "$launcher")" = "$(readlink -f "$prefix/vantrel")" ] ||
    fail "$label: launcher resolves to $(readlink -f "$launcher")"

  local entry="$data/applications/vantrel.desktop"
  check "$label: menu entry" test -f "$entry"
  if command -v desktop-file-validate >/dev/null; then
    local report
    report=$(desktop-file-validate "$entry" 2>&1) || fail "$label: desktop-file-validate: $report"
    [ -z "$report" ] || fail "$label: desktop-file-validate: $report"
  else
    echo "note: desktop-file-validate not installed, entry checked by this test only"
  fi
  for line in "[Desktop Entry]" "Type=Application" "Name=Vantrel" "Icon=vantrel" "Terminal=false"; do
    grep -qxF "$line" "$entry" || fail "$label: menu entry lacks $line"
  done
  grep -q '^Categories=.*Utility;' "$entry" || fail "$label: menu entry not in Utility"
  local args
  args=$(exec_arguments "$entry")
  [ "$args" = "$prefix/vantrel" ] || fail "$label: Exec gives «$args», not the executable"
}

install_quietly() {
  "$src/scripts/install" "$build" >"$tmp/install.log" 2>&1 || {
    cat "$tmp/install.log" >&2
    fail "scripts/install failed"
    exit 1
  }
}

# 1. Install and check everything.
install_quietly
check_installed "first install"

# The launcher starts the installed program: without a display it must end with Qt's complaint
# about the display, not hang and not fail to load. (The guard only stops a hang.)
# A subshell, so the shell's own report of the abort stays out of the test's output.
status=$( (
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
    timeout -k 5 120 "$HOME/.local/bin/vantrel" >"$tmp/run.log" 2>&1 && echo 0 || echo $?
) 2>/dev/null)
if [ "$status" -eq 0 ] || [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  fail "launcher without a display ended with status $status"
fi
grep -qi 'display' "$tmp/run.log" || fail "launcher did not reach the display: $(cat "$tmp/run.log")"

# 2. What the running program leaves beside itself and in the autostart folder.
printf '4\r\n5\r\n6\r\n1.5\r\n0\r\n1\r\n0\r\nItaliano.lng\r\n' >"$prefix/Vantrel.ini"
cp "$prefix/Vantrel.ini" "$tmp/settings.expected"
echo "manifest" >"$prefix/vantrel.exe.manifest"
chmod 444 "$prefix/vantrel.exe.manifest"
mkdir -p "$HOME/.config/autostart"
echo "[Desktop Entry]" >"$HOME/.config/autostart/Vantrel.desktop"

# 3. Installing again updates and keeps the settings.
install_quietly
check_installed "second install"
check "settings kept by a new install" cmp -s "$tmp/settings.expected" "$prefix/Vantrel.ini"

# 4. Uninstall keeps only the settings file.
"$src/scripts/uninstall" >"$tmp/uninstall.log" 2>&1 || fail "scripts/uninstall failed: $(cat "$tmp/uninstall.log")"
[ "$(files_below "$prefix")" = "Vantrel.ini" ] || fail "uninstall left $(files_below "$prefix")"
check "settings kept by uninstall" cmp -s "$tmp/settings.expected" "$prefix/Vantrel.ini"
for gone in ".local/bin/vantrel" ".local/share/applications/vantrel.desktop" \
  ".local/share/icons/hicolor/scalable/apps/vantrel.svg" \
  ".local/share/icons/hicolor/48x48/apps/vantrel.png" ".config/autostart/Vantrel.desktop"; do
  if [ -e "$HOME/$gone" ] || [ -L "$HOME/$gone" ]; then fail "uninstall left $gone"; fi
done

# 5. Install once more (the settings come back), then purge: only the foreign files remain.
install_quietly
check "settings found by the next install" cmp -s "$tmp/settings.expected" "$prefix/Vantrel.ini"
"$src/scripts/uninstall" --purge >"$tmp/uninstall.log" 2>&1 ||
  fail "scripts/uninstall --purge failed: $(cat "$tmp/uninstall.log")"
left=$(files_below "$HOME")
want=$(printf '%s\n' "${foreign[@]}" | LC_ALL=C sort)
[ "$left" = "$want" ] || fail "after --purge the HOME holds
$left
instead of
$want"
for f in "${foreign[@]}"; do
  [ "$(cat "$HOME/$f")" = "not Vantrel's" ] || fail "uninstall changed $f"
done
# Folders: only the usual per-user ones and those of the foreign files may remain.
allowed=$( (
  printf '%s\n' .config .config/autostart .local .local/bin .local/lib .local/share \
    .local/share/applications .local/share/icons .local/share/icons/hicolor \
    .local/share/icons/hicolor/48x48 .local/share/icons/hicolor/48x48/apps
) | LC_ALL=C sort)
dirs=$(cd "$HOME" && find . -mindepth 1 -type d -printf '%P\n' | LC_ALL=C sort)
extra=$(LC_ALL=C comm -23 <(echo "$dirs") <(echo "$allowed"))
[ -z "$extra" ] || fail "after --purge these folders remain: $extra"

# 6. The XDG base folders are honoured: menu entry, icons and autostart entry go where they say.
export XDG_DATA_HOME="$tmp/xdg data"
export XDG_CONFIG_HOME="$tmp/xdg config"
data="$XDG_DATA_HOME"
install_quietly
check_installed "install with XDG_DATA_HOME"
mkdir -p "$XDG_CONFIG_HOME/autostart"
echo "[Desktop Entry]" >"$XDG_CONFIG_HOME/autostart/Vantrel.desktop"
"$src/scripts/uninstall" --purge >/dev/null 2>&1 || fail "uninstall with XDG folders failed"
left=$(files_below "$XDG_DATA_HOME"; files_below "$XDG_CONFIG_HOME"; files_below "$prefix")
[ -z "$left" ] || fail "uninstall with XDG folders left: $left"
[ ! -e "$data/applications/vantrel.desktop" ] || fail "menu entry left in XDG_DATA_HOME"

checks_done "install and uninstall"

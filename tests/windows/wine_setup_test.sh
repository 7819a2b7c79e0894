#!/usr/bin/env bash
# Runs the Windows setup program under wine as a user and an administrator would: installs
# silently into a fresh prefix, starts the installed program with the joystick, updates over
# it while it runs, installs elsewhere with /D=, and removes both; checks the files, the
# shortcut, the uninstall entry, the Run value and the program's end from outside.
#   wine_setup_test.sh SETUP ZIP JOYSTICK_PRELOAD WINDOW_PICTURE_TOOL
# ZIP is the portable package of the same build: the setup installs exactly its files. With
# VANTREL_SCREENSHOTS set to a folder, the setup's pages in English and Italian are saved there
# as windows-setup-<language>-<page>.png.
set -euo pipefail
setup=$(realpath "$1")
zip=$(realpath "$2")
preload=$(realpath "$3")
picture_tool=$(realpath "$4")
shots=${VANTREL_SCREENSHOTS:-}
source "$(dirname "$0")/../support/wine_rig.sh"

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel'
version=$(basename "$setup" | sed 's/^Vantrel-\(.*\)-setup\.exe$/\1/')
# The value NAME of the uninstall entry, as reg prints it ("REG_SZ text", "REG_DWORD 0x1").
entry() {
  wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *\(REG_[A-Z]*\) *\(.*\)$/\1 \2/p"
}
# Files below FOLDER, one relative path a line, sorted.
files_in() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }

echo "== silent install into a fresh prefix"
# wine knows no UAC: the manifest says what Windows would do with the setup.
check "the setup runs with the user's rights, no UAC prompt (its manifest: asInvoker)" \
  test "$(grep -ao 'requestedExecutionLevel level="[A-Za-z]*"' "$setup")" = \
  'requestedExecutionLevel level="asInvoker"'
prepare_prefix
start_joystick_session "$preload"
wine "$setup" /S >"$tmp/setup-1.log" 2>&1 || fail "setup /S failed with status $?"
# The user's folders as wine names them, in one question.
{ read -r local_data; read -r app_data; read -r profile; } < <(wine cmd /c \
  'echo %LOCALAPPDATA%&echo %APPDATA%&echo %USERPROFILE%' 2>/dev/null | tr -d '\r')
windows_dir="$local_data\\Programs\\Vantrel"
dir=$(winepath -u "$windows_dir" 2>/dev/null)
unzip -Z1 "$zip" | grep -v '/$' | sed 's|^Vantrel/||' | LC_ALL=C sort >"$tmp/zip-files"
(cat "$tmp/zip-files"; echo Uninstall.exe) | LC_ALL=C sort >"$tmp/expected-files"
check "the program folder $windows_dir holds the package's files and Uninstall.exe" \
  cmp -s <(files_in "$dir") "$tmp/expected-files"
start_menu=$(winepath -u "$app_data\\Microsoft\\Windows\\Start Menu\\Programs" 2>/dev/null)
shortcut="$start_menu/Vantrel.lnk"
check "the Start-menu shortcut starts $windows_dir\\Vantrel.exe" \
  grep -qaF "$windows_dir\\Vantrel.exe" "$shortcut"
desktop=$(winepath -u "$profile\\Desktop" 2>/dev/null)
check "no desktop shortcut unless ticked" test ! -e "$desktop/Vantrel.lnk"
size=$(du -sk "$dir" | cut -f1)
printf -v size_hex '0x%x' "$size"
while read -r name expected; do
  check "uninstall entry: $name is $expected (is $(entry "$name"))" test "$(entry "$name")" = "$expected"
done <<ENTRY
DisplayName REG_SZ Vantrel
DisplayVersion REG_SZ $version
Publisher REG_SZ Dorvane & Kestani
DisplayIcon REG_SZ $windows_dir\\Vantrel.exe,0
UninstallString REG_SZ "$windows_dir\\Uninstall.exe"
QuietUninstallString REG_SZ "$windows_dir\\Uninstall.exe" /S
InstallLocation REG_SZ $windows_dir
NoModify REG_DWORD 0x1
NoRepair REG_DWORD 0x1
ENTRY
# The setup counts the size in KiB as it writes the files, du as the disk holds them.
estimated=$(($(entry EstimatedSize | cut -d' ' -f2)))
check "uninstall entry: EstimatedSize ($estimated KiB) within 10 % of the folder's $size KiB" \
  test $((estimated * 10)) -ge $((size * 9)) -a $((estimated * 10)) -le $((size * 11))

# Starts the installed program and waits for its tray icon; its process goes to $vantrel.
start_installed() {  # start_installed LOG
  check "the installed Vantrel.exe starts with the joystick and shows its tray icon" \
    start_to_tray "$1" "$dir/Vantrel.exe"
}
ini="$dir/Vantrel.ini"
echo "== the installed program, then a setup over it"
start_installed vantrel-1.log
check "no Vantrel.ini before anything is saved" test ! -e "$ini"
# What the update must put back, and what is the user's own.
rm "$dir/License.txt"
printf '01=Mine\r\n' >"$dir/Lang/Mine.lng"
wine "$setup" /S >"$tmp/setup-2.log" 2>&1 || fail "the second setup failed with status $?"
wait_exit "$vantrel" 30
check "the setup ends the running program as Exit does: status 0 (was $status)" test "$status" -eq 0
check "which saves Vantrel.ini beside itself: eight lines in CR LF" \
  test -f "$ini" -a "$(wc -l <"$ini" 2>/dev/null)" = 8 -a "$(grep -c $'\r$' "$ini" 2>/dev/null)" = 8
check "the update puts the program files back" test -f "$dir/License.txt"

echo "== a setup over the program that runs with saved settings and a Run value"
start_installed vantrel-2.log
# Found settings with start at logon (the default) write the Run value at the start.
run_value=$(wait_for 20 logon_value) || fail "no Run value from the second start"
cp "$ini" "$tmp/ini-before" 2>/dev/null || fail "no Vantrel.ini to keep"
written=$(stat -c %y "$ini")
wine "$setup" /S >"$tmp/setup-3.log" 2>&1 || fail "the third setup failed with status $?"
wait_exit "$vantrel" 30
check "the setup ends the running program again: status 0 (was $status)" test "$status" -eq 0
check "the program saved on the way out" test "$(stat -c %y "$ini")" != "$written"
check "Vantrel.ini is kept byte for byte" cmp -s "$tmp/ini-before" "$ini"
check "the Run value is kept ($run_value)" test "$(logon_value)" = "$run_value" -a -n "$run_value"
check "the user's language file is kept" test -f "$dir/Lang/Mine.lng"

echo "== the uninstaller, silent, while the program runs"
start_installed vantrel-3.log
# What the uninstaller runs from a copy of itself and leaves behind: the kept settings alone.
printf 'Lang/Mine.lng\nVantrel.ini\n' >"$tmp/kept-files"
uninstalled() {
  [ -z "$(entry DisplayName)" ] && [ -z "$(logon_value)" ] && [ ! -e "$shortcut" ] &&
    cmp -s <(files_in "$dir") "$tmp/kept-files" && echo yes
}
wine "$dir/Uninstall.exe" /S >"$tmp/uninstall.log" 2>&1 || fail "Uninstall.exe /S failed with status $?"
if wait_for 60 uninstalled >/dev/null; then
  pass "entry, Run value, shortcut and program files gone; Vantrel.ini and Lang/Mine.lng kept"
else
  fail "after the uninstaller: entry \"$(entry DisplayName)\", Run value \"$(logon_value)\"," \
    "files: $(files_in "$dir" | tr '\n' ' ')"
fi
wait_exit "$vantrel" 30
check "the uninstaller ends the running program as Exit does: status 0 (was $status)" \
  test "$status" -eq 0
wine reg export HKCU "$tmp/hkcu.reg" /y >/dev/null 2>&1
check "no registry value of the user's names Vantrel" \
  sh -c "! iconv -f UTF-16 -t UTF-8 '$tmp/hkcu.reg' | grep -i vantrel"

echo "== silent install into a folder of one's own, and its removal"
other='C:\Other Programs\Vantrel Here'
# /D= takes the rest of the command line as it is, spaces and all: cmd hands it over unquoted.
wine cmd /c "$(winepath -w "$setup" | tr -d '\r') /S /D=$other" >"$tmp/setup-4.log" 2>&1 ||
  fail "setup /D= failed with status $?"
other_dir=$(winepath -u "$other" 2>/dev/null)
check "/D= installs into $other" test -f "$other_dir/Vantrel.exe"
check "and the uninstall entry says so" test "$(entry InstallLocation)" = "REG_SZ $other"
gone() { [ ! -e "$other_dir" ] && [ -z "$(entry DisplayName)" ] && echo yes; }
wine "$other_dir/Uninstall.exe" /S >"$tmp/uninstall-2.log" 2>&1 || true
if wait_for 60 gone >/dev/null; then
  pass "the uninstaller removes a folder with no settings in it"
else
  fail "left after the uninstaller: $(find "$other_dir" 2>/dev/null | tr '\n' ' ')"
fi

if [ -n "$shots" ]; then
  echo "== the setup's pages, for the pictures"
  # A page is drawn once two looks of the window, a moment apart, agree.
  look_of() { "$picture_tool" "$window" --look "$@" 2>/dev/null; }
  settled_look() {
    local a
    a=$(look_of "$@") && sleep 0.3 && [ "$(look_of "$@")" = "$a" ] && echo "$a"
  }
  new_page() {  # new_page PREVIOUS_LOOK
    local now
    now=$(settled_look 0 0 200 200) && [ "$now" != "$1" ] && echo "$now"
  }
  # The first and the last page show the side picture where the others show their header.
  side_picture() { [ "$(settled_look 10 150 40 40)" = "$1" ] && echo shown; }
  picture() { "$picture_tool" "$window" "$shots/windows-setup-$name-$1.png" >/dev/null 2>&1 || true; }
  next_page() {
    wait_for 10 focus_on "$window" >/dev/null || true
    xdotool key Return
  }
  for language in english:en_US italiano:it_IT; do
    name=${language%%:*}
    wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
    LANG=${language#*:}.UTF-8 LC_ALL=${language#*:}.UTF-8 wine "$setup" >"$tmp/setup-$name.log" 2>&1 &
    gui=$!
    window=$(wait_for 60 xdotool search --onlyvisible --maxdepth 1 --name 'Vantrel') ||
      { fail "no setup window in $name"; continue; }
    window=$(echo "$window" | head -n1)
    look=""
    for page in welcome components directory; do
      look=$(wait_for 20 new_page "$look") || fail "no $page page in $name"
      picture "$page"
      [ "$page" = welcome ] && side=$(look_of 10 150 40 40)
      next_page
    done
    # The directory page's Install writes the files; the last page follows by itself.
    wait_for 60 entry EstimatedSize >/dev/null || fail "the setup in $name installed nothing"
    if wait_for 30 side_picture "$side" >/dev/null; then picture finish; else fail "no last page in $name"; fi
    kill "$gui" 2>/dev/null || true
    end_session
  done
fi

report "wine setup test"

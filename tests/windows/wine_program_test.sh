#!/usr/bin/env bash
# Runs the Windows package under wine, from outside as a user would: unzipped into a temporary
# folder, a throw-away prefix set to Windows 10 with Tahoma, inside the X display of
# scripts/with-xvfb (trayer is the notification area). Checks what can be seen: windows, the
# tray icon, files, the registry, the X pointer and exit statuses.
#   wine_program_test.sh ZIP JOYSTICK_PRELOAD WINDOW_PICTURE_TOOL
# JOYSTICK_PRELOAD is tests/windows/WineJoystickPreload.cpp built, WINDOW_PICTURE_TOOL
# tests/windows/WindowPicture.cpp. With VANTREL_SCREENSHOTS set to a folder, the tray menu and
# the options dialog are saved there as windows-tray-menu.png and windows-options.png.
set -euo pipefail
zip=$(realpath "$1")
preload=$(realpath "$2")
picture_tool=$(realpath "$3")

shots=${VANTREL_SCREENSHOTS:-}
source "$(dirname "$0")/../support/wine_rig.sh"
shots=${shots:-$tmp}

pointer_position() { xdotool getmouselocation | sed 's/x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/'; }
pointer_at() { [ "$(pointer_position)" = "$1 $2" ] && echo yes; }
pointer_right_of() {  # prints the position once the pointer is right of X
  local px py
  read -r px py < <(pointer_position)
  [ "$px" -gt "$1" ] && echo "$px $py"
}

echo "== package and prefix"
unzip -q "$zip" -d "$tmp/unzipped"
program="$tmp/unzipped/Vantrel"
check "the package holds a program folder with Vantrel.exe" test -f "$program/Vantrel.exe"
prepare_prefix

echo "== without a joystick"
wine "$program/Vantrel.exe" >"$tmp/no-joystick.log" 2>&1 &
vantrel=$!
warning_title=$(sed -n 's/^04=//p' "$program/Lang/English.lng" | tr -d '\r')
if box=$(wait_for 60 xdotool search --onlyvisible --name "^$warning_title\$"); then
  pass "the message titled \"$warning_title\" shows"
  box=$(echo "$box" | head -n1)
  check "no tray icon while it shows" test -z "$(tray_icon)"
  # Return presses the message box's only button, once the box has the keyboard.
  wait_for 10 focus_on "$box" >/dev/null || fail "the message box never took the focus"
  xdotool key Return
else
  fail "no message titled \"$warning_title\""
fi
wait_exit "$vantrel" 30
check "exit status 2 without a joystick (was $status)" test "$status" -eq 2
end_session

echo "== started at logon without a joystick"
check "the tray icon docks while it waits for a joystick" \
  start_to_tray at-logon.log "$program/Vantrel.exe" --at-logon
check "no message while it waits" test -z "$(xdotool search --onlyvisible --name "^$warning_title\$")"
check "it keeps running" kill -0 "$vantrel"
check "the waiting writes no settings" test ! -e "$program/Vantrel.ini"
end_session

echo "== with a joystick"
start_joystick_session "$preload"
if start_to_tray joystick.log "$program/Vantrel.exe"; then
  pass "the tray icon docks ($took_ms ms from start to tray)"
else
  fail "no tray icon"
  exit 1
fi

# Right click on the icon opens the menu; prints its window.
open_menu() {
  local before menu
  before=$(program_windows | sort)
  read -r ix iy iw ih < <(geometry "$icon")
  click_at $((ix + iw / 2)) $((iy + ih / 2)) 3
  for _ in $(seq 300); do  # up to 30 s: a loaded machine takes its time
    menu=$(comm -13 <(echo "$before") <(program_windows | sort) | head -n1)
    [ -n "$menu" ] && break
    sleep 0.1
  done
  echo "$menu"
}
# Clicks the menu's entry NUMBER (from 1, separators not counted), by the rows measured below.
click_entry() {  # click_entry MENU NUMBER
  local mx my mw mh top height
  read -r mx my mw mh < <(geometry "$1")
  read -r _ top height _ < <(awk '$3 > 3' "$tmp/menu-bands" | sed -n "$2p")
  click_at $((mx + mw / 2)) $((my + top + height / 2)) 1
}
options_title=$(sed -n 's/^29=//p' "$program/Lang/English.lng" | tr -d '\r')
options_dialog() {
  xdotool search --onlyvisible --maxdepth 1 --name "^$options_title" 2>/dev/null | head -n1
}
# The dialog's client area in the X window (wine draws the caption and the frame itself), and
# its layout in twips at 96 dpi, 15 twips a pixel: the client area is 492 x 458 pixels
# (7380 x 6870 twips, the settings added below the first layout's 4590 included).
client_height=458
client_at() {  # client_at DIALOG X Y -> screen position of client pixel X, Y
  local dx dy dw dh border
  read -r dx dy dw dh < <(geometry "$1")
  border=$(((dw - 492) / 2))
  echo $((dx + border + $2)) $((dy + dh - client_height - border + $3))
}

# The menu of fifteen positions: ten entries, six of them with pictures, and five separators.
menu=$(open_menu)
if [ -z "$menu" ]; then
  fail "no menu after a right click on the tray icon"
  exit 1
fi
read -r mx my mw mh < <(geometry "$menu")
xdotool mousemove $((mx - 40)) $((my + mh + 40))  # off the menu: no entry highlighted
# The menu's rows, once it is drawn whole (a menu still being drawn shows fewer).
menu_bands() {
  "$picture_tool" "$menu" "$shots/windows-tray-menu.png" >"$tmp/menu-bands" 2>/dev/null
  [ "$(wc -l <"$tmp/menu-bands")" -eq 15 ] && echo drawn
}
wait_for 10 menu_bands >/dev/null || true
entries=$(awk '$3 > 3' "$tmp/menu-bands" | wc -l)
separators=$(awk '$3 <= 3' "$tmp/menu-bands" | wc -l)
pictures=$(awk '$3 > 3 && $4 == 1' "$tmp/menu-bands" | wc -l)
check "a right click opens the menu: 10 entries, 5 separators (saw $entries, $separators)" \
  test "$entries" -eq 10 -a "$separators" -eq 5
check "six entries show a picture (saw $pictures)" test "$pictures" -eq 6

# Options, untick start at logon, OK by the joystick's first button (the left mouse button).
click_entry "$menu" 1
if dialog=$(wait_for 20 options_dialog); then
  pass "Options opens the dialog \"$(xdotool getwindowname "$dialog")\""
else
  fail "Options did not open the dialog"
  exit 1
fi
sleep 0.5
"$picture_tool" "$dialog" "$shots/windows-options.png" >/dev/null 2>&1
check "no Run value before the options are confirmed" test -z "$(logon_value)"
click_at $(client_at "$dialog" 192 42) 1
sleep 0.3
# The joystick's button is held until OK looks pressed: a busy machine may keep the program
# from reading the joystick for longer than any fixed press.
ok_look() {  # the look of OK's middle, in the dialog's window pixels
  local dx dy dw dh border
  read -r dx dy dw dh < <(geometry "$dialog")
  border=$(((dw - 492) / 2))
  "$picture_tool" "$dialog" --look $((border + 276)) $((dh - client_height - border + 279)) 24 12
}
look_other_than() { local now; now=$(ok_look) && [ "$now" != "$1" ] && echo "$now"; }
stable_look() { local a; a=$(ok_look) && sleep 0.2 && [ "$(ok_look)" = "$a" ] && echo "$a"; }
xdotool mousemove $(client_at "$dialog" 288 285)
released=$(wait_for 10 stable_look) || released=$(ok_look)
stick button 0 1
check "the joystick's button presses OK" wait_for 10 look_other_than "$released"
stick button 0 0
ini="$program/Vantrel.ini"
if wait_for 10 sh -c "test -f '$ini' && echo yes" >/dev/null; then
  pass "a joystick button clicks OK, which writes Vantrel.ini"
else
  fail "no Vantrel.ini after the joystick's click on OK"
fi
dialog_gone() { [ -n "$(options_dialog)" ] || echo gone; }
check "the dialog closed" wait_for 5 dialog_gone
check "Vantrel.ini has eight lines, each ending in CR LF" \
  test "$(wc -l <"$ini")" -eq 8 -a "$(grep -c $'\r$' "$ini")" -eq 8
check "start at logon unticked: no Run value" test -z "$(logon_value)"

# Options again, tick start at logon, OK clicked with the mouse.
menu=$(open_menu)
click_entry "$menu" 1
dialog=$(wait_for 20 options_dialog) || true
sleep 0.5
click_at $(client_at "$dialog" 192 42) 1
sleep 0.3
click_at $(client_at "$dialog" 288 285) 1
value=$(wait_for 10 logon_value) || true
windows_path=$(winepath -w "$program/Vantrel.exe" | tr -d '\r')
echo "  Run value: $value"
check "start at logon ticked: the Run value holds the program's path in quotes and --at-logon" \
  test "$(echo "$value" | sed 's/^ *Vantrel *REG_SZ *//')" = "\"$windows_path\" --at-logon"

manifest="$program/Vantrel.exe.manifest"
check "the manifest is beside the program" test -f "$manifest"
attributes=$(wine cmd /c attrib "$(winepath -w "$manifest")" 2>/dev/null | tr -d '\r' | head -n1)
flags=${attributes%%[A-Z]:\\*}
echo "  attrib: $attributes"
check "the manifest is read-only, hidden and system" \
  sh -c "echo '$flags' | grep -q R && echo '$flags' | grep -q H && echo '$flags' | grep -q S"

# The stick pushed right: the X pointer moves right, not up or down. The stick is held until
# the pointer has moved: with no window manager here, wine holds the program's thread for up to
# 2 s after a dialog closes (it waits for a window manager to withdraw the window), and the
# options dialog has just closed.
xdotool mousemove 400 400
wait_for 5 pointer_at 400 400 >/dev/null || fail "the pointer could not be put at 400,400"
pushed=$(date +%s%N)
stick axes 32767 0
moved=$(wait_for 10 pointer_right_of 420) || moved=$(pointer_position)
took=$((($(date +%s%N) - pushed) / 1000000))
stick axes 0 0
read -r px py <<<"$moved"
check "the stick moves the X pointer right (400,400 to $px,$py; seen after $took ms)" \
  test "$px" -gt 420 -a "$py" -eq 400

# Exit from the menu: settings saved again, status 0, the icon gone.
written=$(stat -c %y "$ini")
sleep 1.1
menu=$(open_menu)
if [ -n "$menu" ]; then click_entry "$menu" 10; else fail "no menu for Exit"; fi
wait_exit "$vantrel" 30
check "Exit ends the program with status 0 (was $status)" test "$status" -eq 0
check "Exit saves the settings" test "$(stat -c %y "$ini")" != "$written"
check "no tray icon after Exit" test -z "$(tray_icon)"

report "wine program test"

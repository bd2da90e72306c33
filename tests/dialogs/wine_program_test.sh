#!/usr/bin/env bash
# The settings dialog in the running terminal, connected to a pseudo-terminal
# that stands for the device:
#   wine_program_test.sh CASE TALVORIX_EXE DRIVER_EXE PTY_DEVICE DISPLAY_NUMBER WORK_DIR
# CASE: line (the open port follows the dialog, also after Cancel) or font
# (a confirmed font redraws the screen and stays after Cancel).
# The driver, in its inspect mode, describes the program's windows in snapshot.txt.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_session.sh"

test_case=$1 talvorix=$2 driver=$3 pty_device=$4 display_number=$5 work=$6
mkdir -p "$work" && cd "$work" || exit 1
rm -f snapshot.txt status.txt

main_title='通信ターミナル'
main_class=TALVORIXClass
settings_title='通信ターミナル設定'

line_speed_is() { [ -f status.txt ] && grep -q "^speed=$1 " status.txt; }

# The terminal switched to COM7 while disconnected (COM5, the default, is left
# to other tests of the prefix), the device at the other end, connected.
start_connected() {
  "$pty_device" "$WINEPREFIX/dosdevices/com7" status.txt &
  device_pid=$!
  start_session "$display_number" "$talvorix"
  start_program "$driver" inspect snapshot.txt
  wait_for "the main window" window_shown "$main_title" "$main_class" || finish
  open_settings
  expect_field 544 enabled 1
  keys alt+p Down Down
  close_settings Return
  focus_window "$main_title" "$main_class"
  keys shift+Prior
  wait_for "the line on COM7 at 1000000 bit/s" line_speed_is 1000000 || finish
}

# 設定 → 通信設定 from the keyboard: F10 opens the menu bar on its first pop-up.
open_settings() {
  focus_window "$main_title" "$main_class"
  keys F10 Right Right Down Return
  wait_for "the settings dialog" window_shown "$settings_title" || finish
  focus_window "$settings_title"
}

close_settings() {  # KEY
  keys "$1"
  wait_for "the settings dialog to close" not window_shown "$settings_title" || finish
}

# The size of what is drawn in the terminal window: the box around every
# pixel that differs from the background, as WIDTHxHEIGHT.
drawn_size() {
  local screen left top right bottom
  screen=$(grep -m1 'class=TALVORIXChildClass' snapshot.txt | tr '\t' '\n' | sed -n 's/^screen=//p')
  IFS=, read -r left top right bottom <<<"$screen"
  eval "$(xdotool getwindowgeometry --shell "$desktop" | grep -E '^(X|Y)=')"
  import -window root screen.png
  # Leave out the right and bottom edges, where the scroll bars are.
  convert screen.png -crop "$((right - left - 20))x$((bottom - top - 20))+$((X + left))+$((Y + top))" \
    +repage -fuzz 5% -trim -format '%wx%h' info:
}

line() {
  start_connected
  open_settings
  expect_field 544 enabled 0
  expect_field 544 sel COM7
  expect_field 545 sel 1000k
  keys alt+b Down Return
  wait_for "the dialog to close" not window_shown "$settings_title" || finish
  wait_for "the open port at 2000000 bit/s" line_speed_is 2000000 || finish
  # The device side slows the line down; Cancel still applies the record's settings.
  kill -USR1 "$device_pid"
  wait_for "the line at 9600 bit/s" line_speed_is 9600 || finish
  open_settings
  expect_field 545 sel 2000k
  close_settings Escape
  wait_for "the open port back at 2000000 bit/s" line_speed_is 2000000 || finish
  finish
}

font() {
  start_connected
  kill -USR2 "$device_pid"
  sleep 1.5
  local before after
  before=$(drawn_size)
  open_settings
  keys alt+f
  wait_for "the font dialog" window_shown 'Font' || finish
  keys alt+s && xdotool type 28 && keys Return
  wait_for "the font dialog to close" not window_shown 'Font' || finish
  close_settings Escape
  sleep 1.5
  after=$(drawn_size)
  [ "${after#*x}" -gt $(( ${before#*x} * 3 / 2 )) ] ||
    fail "the text drawn is ${after#*x} px high after choosing a 28-point font, ${before#*x} px before"
  # Opening the font dialog again starts from the font that was kept.
  open_settings
  keys alt+f
  wait_for "the font dialog again" window_shown 'Font' || finish
  sleep 0.5
  expect_field 1138 sel 28
  keys Escape
  wait_for "the font dialog to close" not window_shown 'Font' || finish
  close_settings Escape
  finish
}

case $test_case in
  line) line ;;
  font) font ;;
  *) echo "unknown case $test_case" >&2; exit 2 ;;
esac

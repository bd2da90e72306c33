#!/usr/bin/env bash
# One case of the dialog tests, with the dialog driver under Wine and Xvfb:
#   wine_dialogs_test.sh CASE DRIVER_EXE DISPLAY_NUMBER WORK_DIR
# CASE: settings-defaults, settings-connected, settings-cancel, settings-font,
#       about, debug. WINEPREFIX must name a prepared prefix. With SHOT_DIR set,
#       the settings-defaults and about cases leave screenshots of their dialogs there.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_session.sh"

test_case=$1 driver=$2 display_number=$3 work=$4
mkdir -p "$work" && cd "$work" || exit 1
rm -f snapshot.txt result.txt

# Runs the driver in MODE, waits for the window TITLE and for a snapshot that shows it.
open_box() {  # MODE TITLE [connected]
  start_session "$display_number" "$driver" "$1" snapshot.txt result.txt ${3:-}
  wait_for "the window $2" window_shown "$2" || finish
  focus_window "$2"
}

box_ended() { [ -f result.txt ]; }

settings_defaults() {
  open_box settings '通信ターミナル設定'
  expect_layout "$here/settings_layout.tsv" '通信ターミナル設定' ''
  expect_field 544 items 'COM1=0|COM2=0|COM3=0|COM4=0|COM5=0|COM6=0|COM7=0|COM8=0|COM9=0|COM10=0|COM11=0|COM12=0|COM13=0|COM14=0|COM15=0|COM16=0|COM17=0|COM18=0|COM19=0|COM20=0|TELNET=0|ネットワーク...=0'
  expect_field 545 items '4800=4800|9600=9600|28800=28800|38400=38400|51200=51200|56000=56000|57600=57600|64000=64000|76800=76800|115.2k=115200|128k=128000|153.6k=153600|230.4k=230400|250k=250000|312.5k=312500|375k=375000|460.8k=460800|500k=500000|600k=600000|750K=750000|800K=800000|960K=960000|1000k=1000000|2000k=2000000|3000k=3000000'
  expect_field 546 items '5=0|6=0|7=0|8=0'
  expect_field 547 items 'なし=0|偶数=2|奇数=1|マーク=3|スペース=4'
  expect_field 548 items '1=0|1.5=1|2=2'
  for id in 544 545 546 547 548; do expect_field $id enabled 1; done
  expect_checks 549=0 550=0 551=0 552=1 553=0 554=0 556=0 557=1
  [ -n "${SHOT_DIR:-}" ] && shoot_window '通信ターミナル設定' "$SHOT_DIR/settings-dialog.png"
  # From the defaults one step on in each list (TELNET, above the network
  # entry, in the port list), the flow-control box, then OK.
  keys alt+b Down alt+a Down alt+s Down alt+d Up alt+p End Up alt+l space alt+t space
  keys Return
  wait_for "the dialog to end" box_ended || finish
  expect_result ended=1 port=21 baud=2000000 bits=7 parity=2 stop=1 flow=1 wrap=0 newline=0 echo=0 \
    cnreceive=0 errors=1
  finish
}

settings_connected() {
  open_box settings '通信ターミナル設定' connected
  expect_field 544 enabled 0
  expect_field 544 sel COM5
  keys alt+p End alt+a Down alt+a Down Return
  wait_for "the dialog to end" box_ended || finish
  expect_result ended=1 port=5 parity=1
  finish
}

settings_cancel() {
  open_box settings '通信ターミナル設定'
  keys alt+b Down alt+p Down alt+l space Escape
  wait_for "the dialog to end" box_ended || finish
  expect_result ended=1 port=5 baud=1000000 flow=0 cnreceive=1
  finish
}

settings_font() {
  open_box settings '通信ターミナル設定'
  keys alt+f
  wait_for "the font dialog" window_shown 'Font' || finish
  expect_no_line '^applied'
  # A size and a colour of one's own, confirmed.
  keys alt+s && xdotool type 16 && keys alt+c r
  sleep 0.5
  keys Return
  wait_for "the font to be applied" grep -q '^applied' snapshot.txt || finish
  expect_line '^applied	relayout$'
  # A second time the font dialog starts from the chosen font; cancelling it changes nothing.
  keys alt+f
  wait_for "the font dialog again" window_shown 'Font' || finish
  sleep 0.5
  expect_field 1138 sel 16
  expect_field 1139 sel Red
  keys Escape
  wait_for "the font dialog to close" not window_shown 'Font' || finish
  # Cancelling the settings keeps the font and its colour.
  keys Escape
  wait_for "the dialog to end" box_ended || finish
  expect_result ended=1 fg=0000ff defaultfg=0000ff port=5
  expect_result_line '^font	height=-21	'
  [ "$(grep -c '^applied	' result.txt)" = 1 ] || fail "the font was applied $(grep -c '^applied	' result.txt) times, not once"
  [ "$(grep '^font	' result.txt | cut -f2-)" = "$(grep '^resetfont	' result.txt | cut -f2-)" ] ||
    fail "the font that a reset restores differs from the chosen one"
  finish
}

about() {
  open_box about 'ターミナルソフト のバージョン情報'
  local version
  version=$(grep '^version' snapshot.txt | cut -f2)
  expect_layout "$here/about_layout.tsv" 'ターミナルソフト のバージョン情報' "$version"
  expect_line '^window	class=#32770	style=[0-9a-f]*c8[0-9a-f]{4}	.*title=ターミナルソフト のバージョン情報$'
  # The picture lies over the hidden icon; the labels from x 55 units on may cover its right edge.
  local label_left
  label_left=$(field_of 529 rect | cut -d, -f1)
  expect_picture 'ターミナルソフト のバージョン情報' "$here/../../terminal/ui/talvorix_about.bmp" 10 10 \
    $(( label_left - 10 < 64 ? label_left - 10 : 64 ))
  [ -n "${SHOT_DIR:-}" ] && shoot_window 'ターミナルソフト のバージョン情報' "$SHOT_DIR/about-box.png"
  # Esc (IDCANCEL) leaves the box open; only OK ends it.
  keys Escape
  sleep 1.5
  box_ended && fail "Esc closed the About box"
  window_shown 'ターミナルソフト のバージョン情報' || fail "the About box went away after Esc"
  keys Return
  wait_for "the About box to end" box_ended || finish
  finish
}

debug() {
  open_box debug '通信ターミナル'
  expect_line '^window	class=#32770	.*title=通信ターミナル$'
  expect_line '^control [0-9]+	class=Static	.*text=Key_Dataの大きさ：8$'
  expect_line '^control 1	class=Button	.*text=OK	'
  expect_no_line '^control 2	'
  keys Return
  wait_for "the message box to end" box_ended || finish
  finish
}

case $test_case in
  settings-defaults) settings_defaults ;;
  settings-connected) settings_connected ;;
  settings-cancel) settings_cancel ;;
  settings-font) settings_font ;;
  about) about ;;
  debug) debug ;;
  *) echo "unknown case $test_case" >&2; exit 2 ;;
esac

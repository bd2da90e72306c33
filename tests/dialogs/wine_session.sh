# Shared steps of the dialog tests under Wine: a private Xvfb, a Wine virtual
# desktop running one program, keys typed into it, and checks of the driver's
# snapshot (snapshot.txt) and result (result.txt) in the current directory.
# Only the processes started here are ended, by their ids.

failures=0
xvfb_pid=
device_pid=
desktop=
desktop_name=
started_programs=()

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The Wine processes of this test: Wine processes running in its own directory
# whose command line names one of the programs it started or its desktop.
own_wine_processes() {
  local dir command
  for dir in /proc/[0-9]*; do
    [ "$(readlink "$dir/cwd" 2>/dev/null)" = "$PWD" ] || continue
    [[ "$(readlink "$dir/exe" 2>/dev/null)" == */wine* ]] || continue
    command=$(tr '\0' ' ' <"$dir/cmdline" 2>/dev/null)
    for name in "${started_programs[@]}" "/desktop=$desktop_name,"; do
      [[ "$command" == *"$name"* ]] && { echo "${dir#/proc/}"; break; }
    done
  done
}

# Ends the processes of this test and exits with the verdict.
finish() {
  trap - INT TERM
  local pids
  pids=$(own_wine_processes)
  [ -n "$pids" ] && kill $pids 2>/dev/null
  [ -n "$device_pid" ] && kill "$device_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  if [ "$failures" -ne 0 ]; then
    echo "--- snapshot" >&2; cat snapshot.txt >&2 2>/dev/null
    echo "--- result" >&2; cat result.txt >&2 2>/dev/null
  fi
  exit $((failures != 0))
}

not() { ! "$@"; }

# The snapshot line of the window TITLE, of window class CLASS (any by default).
window_line() {  # TITLE [CLASS]
  grep -m1 "^window	class=${2:-[^	]*}	.*title=$1\$" snapshot.txt 2>/dev/null
}

window_shown() { [ -n "$(window_line "$@")" ]; }

# One tab-separated NAME=value field of a window's snapshot line.
window_field() {  # NAME TITLE [CLASS]
  window_line "$2" "${3:-}" | tr '\t' '\n' | sed -n "s/^$1=//p"
}

# Polls CHECK... every 0.2 s for up to 20 s.
wait_for() {  # WHAT CHECK...
  local what=$1; shift
  for _ in $(seq 100); do
    "$@" && return 0
    sleep 0.2
  done
  fail "timed out waiting for $what"
  return 1
}

start_session() {  # DISPLAY_NUMBER PROGRAM ARGUMENTS...
  local number=$1; shift
  export DISPLAY=:$number
  trap finish INT TERM
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  wait_for "Xvfb $DISPLAY" display_ready || finish
  desktop_name="dialogs$number"
  start_program "$@"
}

# Starts one more program in the session's desktop.
start_program() {  # PROGRAM ARGUMENTS...
  started_programs+=("$1")
  "$TALVORIX_WINE" explorer /desktop="$desktop_name,1024x768" "$@" >/dev/null 2>&1 &
}

display_ready() { xdotool getmouselocation >/dev/null 2>&1; }

# Keys reach the program only through the desktop window, and only while the
# pointer is over one of the program's windows: it rests on the caption of TITLE.
focus_window() {  # TITLE [CLASS]
  desktop=$(xdotool search --onlyvisible --name "^$desktop_name - Wine desktop\$" | head -n 1)
  [ -n "$desktop" ] || { fail "no Wine desktop window"; finish; }
  local frame
  frame=$(window_field frame "$@")
  xdotool mousemove --window "$desktop" $(( ${frame%%,*} + 10 )) $(( $(cut -d, -f2 <<<"$frame") + 5 ))
  xdotool windowfocus "$desktop" 2>/dev/null
}

keys() {
  local key
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.25
  done
}

expect_line() {  # EXTENDED_REGEX: some line of the snapshot matches
  grep -Eq "$1" snapshot.txt || fail "no snapshot line matches: $1"
}

expect_no_line() {
  grep -Eq "$1" snapshot.txt && fail "a snapshot line matches: $1"
}

# The tab-separated FIELD=value of the first control line with ID.
field_of() {  # ID FIELD
  grep -m1 "^control $1	" snapshot.txt | tr '\t' '\n' | sed -n "s/^$2=//p"
}

expect_field() {  # ID FIELD VALUE
  local actual
  actual=$(field_of "$1" "$2")
  [ "$actual" = "$3" ] || fail "control $1: $2 is '$actual', not '$3'"
}

expect_checks() {  # ID=STATE...
  local pair
  for pair in "$@"; do expect_field "${pair%%=*}" checked "${pair#*=}"; done
}

expect_result() {  # NAME=VALUE...
  local pair
  for pair in "$@"; do
    grep -qx "$pair" result.txt || fail "result lacks $pair (has: $(grep "^${pair%%=*}=" result.txt))"
  done
}

expect_result_line() {
  grep -Eq "$1" result.txt || fail "no result line matches: $1"
}

# Dialog units to pixels, rounded, given how many pixels SPAN dialog units take.
to_pixels() {  # UNITS PIXELS SPAN
  echo $(( ($1 * $2 + $3 / 2) / $3 ))
}

near() { [ $(( $1 - $2 )) -le 1 ] && [ $(( $2 - $1 )) -le 1 ]; }

# Every control of the layout file, in tab order, with its class, style,
# position and size (one pixel of rounding allowed) and text; VERSION in a
# text stands for the given version.
expect_layout() {  # LAYOUT_FILE TITLE VERSION
  local window units_x units_y
  # units: the pixels of 400 x 800 dialog units in this dialog
  window=$(window_line "$2")
  units_x=$(tr '\t' '\n' <<<"$window" | sed -n 's/^units=\([0-9]*\),.*/\1/p')
  units_y=$(tr '\t' '\n' <<<"$window" | sed -n 's/^units=[0-9]*,//p')
  local controls
  controls=$(sed -n "/^window.*title=$2\$/,/^window/p" snapshot.txt | grep '^control ')
  local index=0 id class style x y w h text
  while IFS=$'\t' read -r id class style x y w h text; do
    [ "${id:0:1}" = "#" ] && continue  # a comment
    index=$((index + 1))
    local line
    line=$(sed -n "${index}p" <<<"$controls")
    [ -n "$line" ] || { fail "control $index ($id) is missing"; continue; }
    local got
    got=$(cut -f1 <<<"$line"); [ "$got" = "control $id" ] || fail "control $index is '$got', not $id"
    got=$(tr '\t' '\n' <<<"$line" | sed -n 's/^class=//p'); [ "$got" = "$class" ] || fail "control $id: class $got, not $class"
    got=$(tr '\t' '\n' <<<"$line" | sed -n 's/^style=//p'); [ "$got" = "$style" ] || fail "control $id: style $got, not $style"
    got=$(tr '\t' '\n' <<<"$line" | sed -n 's/^text=//p'); [ "$text" = "*" ] || [ "$got" = "${text//VERSION/$3}" ] || fail "control $id: text '$got', not '${text//VERSION/$3}'"
    local rect left top right bottom
    rect=$(tr '\t' '\n' <<<"$line" | sed -n 's/^rect=//p')
    IFS=, read -r left top right bottom <<<"$rect"
    near "$left" "$(to_pixels "$x" "$units_x" 400)" || fail "control $id: left $left px, not $x units"
    near "$top" "$(to_pixels "$y" "$units_y" 800)" || fail "control $id: top $top px, not $y units"
    [ "$w" = "-" ] || near $((right - left)) "$(to_pixels "$w" "$units_x" 400)" || fail "control $id: width $((right - left)) px, not $w units"
    [ "$h" = "-" ] || near $((bottom - top)) "$(to_pixels "$h" "$units_y" 800)" || fail "control $id: height $((bottom - top)) px, not $h units"
  done <"$1"
  [ "$(wc -l <<<"$controls")" = "$index" ] || fail "the dialog has $(wc -l <<<"$controls") controls, not $index"
}

# The client origin of the window TITLE on the root window.
client_origin() {  # TITLE
  local desktop_x desktop_y origin
  eval "$(xdotool getwindowgeometry --shell "$desktop" | grep -E '^(X|Y)=')"
  origin=$(window_field origin "$1")
  echo "$((X + ${origin%,*})),$((Y + ${origin#*,}))"
}

# The picture must stand at client pixel (LEFT, TOP) of the window, pixel for
# pixel, as far as WIDTH columns (labels to its right may cover the rest).
expect_picture() {  # TITLE BITMAP LEFT TOP WIDTH
  local origin height differing
  origin=$(client_origin "$1")
  height=$(identify -format '%h' "$2")
  import -window root screen.png
  convert screen.png -crop "${5}x${height}+$(( ${origin%,*} + $3 ))+$(( ${origin#*,} + $4 ))" +repage shown.png
  convert "$2" -crop "${5}x${height}+0+0" +repage wanted.png
  differing=$(compare -metric AE shown.png wanted.png null: 2>&1)
  [ "$differing" = 0 ] || fail "the picture at ($3, $4) differs from $2 in $differing pixels"
}

shoot_window() {  # TITLE FILE
  local frame left top right bottom
  frame=$(window_field frame "$1")
  IFS=, read -r left top right bottom <<<"$frame"
  eval "$(xdotool getwindowgeometry --shell "$desktop" | grep -E '^(X|Y)=')"
  mkdir -p "$(dirname "$2")"
  import -window root -crop "$((right - left))x$((bottom - top))+$((X + left))+$((Y + top))" +repage "$2"
}

#!/bin/bash
# Starts the real zarn in an X server and drives it as a person would:
# clicks and keys through xdotool, pane text through the clipboard, the
# caption and the error box through the window list.
#   desktop-test.sh ZARN BOARD [BUILD]
# With BUILD, the build is also installed into a fresh prefix and started
# from its desktop entry.
# ZARN_SCREENSHOT=file.png also saves the window after the upload.
set -u
zarn=$(realpath "$1")
board=$(realpath "$2")
build=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIP: $*"; exit 77; }
fail() {
  echo "FAIL: $*"
  for shown in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    echo "  window on screen: $(xdotool getwindowname "$shown") $(xdotool getwindowgeometry "$shown" | tr -s '\n ' ' ')"
  done
  exit 1
}

for tool in Xvfb xdotool xclip unshare; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps installs it)"
done
"$here/in-serial-namespace.sh" -- true 2>/dev/null ||
  skip "no private mount namespace here (needs root: unshare --mount)"

work=$(mktemp -d /tmp/zarn-desktop.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  if [ -n "${ZARN_KEEP:-}" ]; then echo "kept: $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || skip "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local limit=$(($1 * 10))
  shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}

visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
window_shown() { [ -n "$(visible_window "$1")" ]; }
window_gone() { [ -z "$(visible_window "$1")" ]; }

window=
start_zarn() {  # folder [--com1 device]
  local folder=$1
  shift
  # A PATH with no tasm.exe on it: the program finds the one beside it.
  (cd "$folder" && PATH=/usr/bin:/bin exec "$here/in-serial-namespace.sh" "$@" -- "$zarn") \
    >>"$work/zarn.log" 2>&1 &
  pids+=($!)
  zarn_pid=$!
  wait_for 20 window_shown '^Morvane Zarn' || fail "the window did not come up"
  window=$(visible_window '^Morvane Zarn')
}

stop_zarn() {
  kill "$zarn_pid" 2>/dev/null
  wait "$zarn_pid" 2>/dev/null
  wait_for 10 window_gone '^Morvane Zarn'
}

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
click_button() {  # the buttons' centres in the designed layout
  case $1 in
    Open) click 40 20 ;; Save) click 112 20 ;; "Save as") click 184 20 ;;
    TASM) click 256 20 ;; Run) click 328 20 ;;
  esac
}

# A pane's whole text, through select-all and copy.
pane_text() {  # editor|results
  if [ "$1" = editor ]; then click 150 200; else click 520 200; fi
  echo -n "<nothing copied>" | xclip -selection clipboard
  xdotool key ctrl+a ctrl+c
  sleep 0.2
  timeout 60 xclip -o -selection clipboard
}

# Types lines into the editor, replacing what it held.
type_program() {
  click 150 200
  xdotool key ctrl+a BackSpace
  while IFS= read -r line; do
    xdotool type --delay 1 -- "$line"
    xdotool key Return
  done
}

# Answers the file dialog titled $1 with the path $2.
answer_dialog() {
  wait_for 10 window_shown "^$1\$" || fail "no dialog \"$1\""
  xdotool windowfocus --sync "$(visible_window "^$1\$")"
  xdotool key ctrl+a
  xdotool type --delay 1 -- "$2"
  xdotool key Return
  wait_for 10 window_gone "^$1\$" || fail "dialog \"$1\" stayed open"
}

# The error box as Ctrl+C copies it; presses OK.
error_box() {
  wait_for 20 window_shown '^Zarn$' || fail "no error box"
  echo -n "<nothing copied>" | xclip -selection clipboard
  xdotool windowfocus --sync "$(visible_window '^Zarn$')"
  xdotool key ctrl+c
  sleep 0.2
  xclip -o -selection clipboard
  xdotool key Return
  wait_for 10 window_gone '^Zarn$' || fail "the error box stayed open"
}

expect_equal() {  # what expected actual
  [ "$2" = "$3" ] && { echo "ok: $1"; return; }
  diff <(printf '%s\n' "$2") <(printf '%s\n' "$3")
  fail "$1"
}

# The dump the results pane must show for an image: address lines of 16.
expected_dump() {
  od -An -v -tx1 "$1" | tr 'a-f' 'A-F' | tr -s ' \n' '\n' | sed '/^$/d' |
    awk 'BEGIN { line = "0000 " }
         { line = line " " $0; n++; if (n % 16 == 0) { print line; line = sprintf("%04X ", n % 65536) } }
         END { print line }'
}

source "$here/desktop-scenarios.sh"

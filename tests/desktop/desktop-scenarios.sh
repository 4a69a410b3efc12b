# The scenarios of desktop-test.sh, run in order on one lab folder.

lab="$work/lab"
mkdir -p "$lab"
program='; blink: toggles P1.0, then sends a greeting
P1.0    .equ    90h
        .org    0
start:  mov     r7,#10
loop:   cpl     P1.0
        acall   delay
        djnz    r7,loop
        sjmp    start
delay:  mov     r6,#200
wait:   djnz    r6,wait
        ret
msg:    .text   "Morvane Zarn"
        .db     0
        .end'

# The board stand-in on a pseudo-terminal; board_device is its terminal.
start_board() {
  "$board" --quiet --record "$work/board.rec" >"$work/board.out" 2>>"$work/board.log" &
  pids+=($!)
  wait_for 10 test -s "$work/board.out" || fail "the board stand-in did not start"
  board_device=$(head -n 1 "$work/board.out")
}
board_has_received() { [ -f "$work/board.rec" ] && [ "$(wc -l <"$work/board.rec")" -ge "$1" ]; }
board_bytes() { awk '{ print $2 }' "$work/board.rec"; }
image_bytes() { od -An -v -tx1 "$1" | tr 'a-f' 'A-F' | tr -s ' \n' '\n' | sed '/^$/d'; }

echo "== start-up with no serial port at all"
start_zarn "$lab"
expect_equal "caption" "Morvane Zarn" "$(xdotool getwindowname "$window")"
expect_equal "results pane" $'Results\nCOM1 error' "$(pane_text results)"

echo "== typing a program into the editor"
type_program <<<"$program"
expect_equal "editor" "$program" "$(pane_text editor)"

echo "== Save as to a new file"
click_button "Save as"
answer_dialog "Save As" "$lab/blink.asm"
wait_for 10 test -s "$lab/blink.asm" || fail "blink.asm was not written"
expect_equal "file with CR LF line ends" "$(sed 's/$/\r/' <<<"$program")" "$(cat "$lab/blink.asm")"
expect_equal "caption after Save as" "Morvane Zarn" "$(xdotool getwindowname "$window")"

echo "== TASM with the bundled assembler"
click_button TASM
wait_for 20 test -s "$lab/work.lst" || fail "no listing"
listing=$(pane_text results)
expect_equal "listing in the results pane" "$(tr -d '\r' <"$lab/work.lst")" "$listing"
expect_equal "no assembly errors" "tasm: Number of errors = 0" "$(tail -n 1 <<<"$listing")"
[ -s "$lab/work.bin" ] || fail "no image"
stop_zarn

echo "== Run against the board stand-in"
start_board
start_zarn "$lab" --com1 "$board_device"
expect_equal "COM1 found at start-up" $'Results\nCOM1 ok' "$(pane_text results)"
click_button Open
answer_dialog Open "$lab/blink.asm"
expect_equal "caption after Open" "Morvane Zarn     $lab/blink.asm" "$(xdotool getwindowname "$window")"
expect_equal "opened program" "$program" "$(pane_text editor)"
click_button Run
wait_for 60 board_has_received "$(stat -c %s "$lab/work.bin")" || fail "the board did not get the image"
expect_equal "dump in the results pane" "$(expected_dump "$lab/work.bin")" "$(pane_text results)"
expect_equal "bytes the board received" "$(image_bytes "$lab/work.bin")" "$(board_bytes)"
if [ -n "${ZARN_SCREENSHOT:-}" ]; then
  click 150 380  # ends the selections that copying made
  click 520 400
  click 380 40  # the bare form between the controls
  sleep 0.3
  import -window "$window" "$ZARN_SCREENSHOT" && echo "screenshot: $ZARN_SCREENSHOT"
fi

echo "== TASM in a read-only folder"
chmod 555 "$lab"
click_button TASM
rule=---------------------------
expect_equal "error box" "$(printf '%s\n' $rule Zarn $rule 'Datei work.asm kann nicht erstellt werden.' $rule OK $rule)" "$(error_box)"
chmod 755 "$lab"
expect_equal "results pane kept" "$(expected_dump "$lab/work.bin")" "$(pane_text results)"
stop_zarn

if [ -n "$build" ]; then
  echo "== installed into a fresh prefix, started from its desktop entry"
  prefix="$work/prefix"
  cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install failed"
  entry="$prefix/share/applications/zarn.desktop"
  expect_equal "menu category" "Categories=Development;Electronics;" "$(grep '^Categories=' "$entry")"
  [ -f "$prefix/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$entry").svg" ] || fail "no icon"
  zarn=$(sed -n 's/^Exec=//p' "$entry")
  expect_equal "entry starts the installed program" "$prefix/bin/zarn" "$zarn"
  mkdir -p "$work/fresh"
  start_zarn "$work/fresh"
  type_program <<<"$program"
  click_button TASM
  wait_for 20 test -s "$work/fresh/work.lst" || fail "the installed program found no assembler"
  expect_equal "installed assembler's listing" "$(tr -d '\r' <"$lab/work.lst")" "$(pane_text results)"
  stop_zarn
fi

echo "all desktop scenarios passed"

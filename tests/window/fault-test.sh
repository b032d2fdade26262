#!/usr/bin/env bash
# Faults a user or the machine can cause while the window is up: the display
# going away, no usable font, signals at any moment, a burst of keys, the
# window hidden or resized while it draws. Each scenario runs on a private X
# server with the plumbing of window-test.sh (sourced last: its final line runs
# the scenario named here).
#
#   fault-test.sh TILVERA GRAB SCENARIO [ARTIFACT_DIR]
set -uo pipefail

# ---------------------------------------------------------------- helpers

# The server dies under the program, as when an X session crashes.
kill_x_server() {
  kill -KILL "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=''
}

expect_stderr() {  # expect_stderr LINE: standard error is exactly this one line
  local text
  text=$(cat "$work/stderr")
  [[ $text == "$1" ]] || fail "stderr is '$text', expected '$1'"
}

pause_now() {
  press x
  expect_still
}

# Keys pressed while the program cannot read them all reach it between two
# polls: it is stopped, the server queues them, and it goes on.
burst() {  # burst KEY...
  kill -STOP "$program_pid"
  x xdotool key --delay 0 "$@" || fail "xdotool key failed"
  sleep 0.2  # the server has delivered them to the program's connection
  kill -CONT "$program_pid"
}

repeat() {  # repeat N WORD: WORD N times
  local words=()
  for ((i = 0; i < $1; i++)); do words+=("$2"); done
  echo "${words[@]}"
}

hide() { x xdotool windowunmap --sync "$window" || fail "cannot hide the window"; }
show() {
  x xdotool windowmap --sync "$window" || fail "cannot show the window"
  # Without a window manager the keyboard does not come back by itself.
  x xdotool windowfocus --sync "$window" || fail "cannot focus the window"
  sleep 0.5  # the next poll repaints it
}

# ---------------------------------------------------------------- scenarios

# Without OpenGL, SDL falls back to its software renderer, which does not wait
# for the display's refresh; unpaced, it showed some 200 trees a second. Each
# tree shows at least one level, and a level at most once a refresh (about
# 60 Hz here): a slower machine only shows fewer, so the bound cannot fail for
# want of speed.
paced_without_opengl() {
  xvfb_options=(-extension GLX)
  count_trees
  start_program
  local before after
  before=$(trees_begun)
  sleep 2
  after=$(trees_begun)
  ((after - before <= 2 * 60 + 10)) || fail "$((after - before)) trees in 2 s: not in step with the display"
  ((after > before)) || fail "no tree was begun in 2 s"
}

display_lost_while_drawing() {
  start_program
  expect_drawing
  kill_x_server
  expect_exit_within 5 1
  expect_stderr "tilvera: lost the display"
}

display_lost_while_paused() {
  start_program
  pause_now
  kill_x_server
  expect_exit_within 2 1
  expect_stderr "tilvera: lost the display"
}

# An empty configuration leaves fontconfig without a single face.
no_font_draws_without_banner() {
  FONTCONFIG_FILE="$work/fonts.conf"
  export FONTCONFIG_FILE
  printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$FONTCONFIG_FILE"
  start_program
  expect_drawing
  pause_now
  expect_stderr "tilvera: no usable font; drawing without the banner"
  local banner
  banner=$(banner_pixel_count)
  ((banner == 0)) || fail "$banner banner pixels without a font"
  press y
  expect_drawing
  press q
  expect_exit 0
}

# Started with standard error closed and no font: the warning has nowhere to
# go, and must not go into the X connection, which would otherwise take the
# descriptor's number; a corrupted connection hung the program for good.
no_font_with_stderr_closed() {
  FONTCONFIG_FILE="$work/fonts.conf"
  export FONTCONFIG_FILE
  printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$FONTCONFIG_FILE"
  local program=$tilvera
  tilvera=$work/tilvera-without-stderr
  printf '#!/bin/sh\nexec "%s" 2>&-\n' "$program" >"$tilvera"
  chmod +x "$tilvera"
  start_program
  expect_drawing
  kill -TERM "$program_pid"
  expect_exit_within 5 0
}

sigint_while_drawing_ends() {
  start_program
  expect_drawing
  kill -INT "$program_pid"
  expect_exit_within 2 0
}

sigterm_while_paused_ends() {
  start_program
  pause_now
  kill -TERM "$program_pid"
  expect_exit_within 2 0
}

close_request_while_drawing_ends_quickly() {
  start_program
  expect_drawing
  x "$grab" close "$window" || fail "cannot send the close request"
  expect_exit_within 2 0
}

# Several keys between two polls count as the last of them alone.
key_burst_ending_in_q_ends() {
  start_program
  expect_drawing
  burst $(repeat 999 x) q
  expect_exit_within 5 0
}

key_burst_ending_in_x_pauses_once() {
  start_program
  expect_drawing
  burst $(repeat 500 q) $(repeat 499 y) x
  expect_running
  expect_still
  # One key resumes: the burst left no queue of further pauses behind it.
  press y
  expect_drawing
  sleep 1
  expect_drawing
  press q
  expect_exit 0
}

# Hidden (unmapped, as a window manager does when it minimises), the program
# draws on; shown again, the window is repainted whole from the image.
hidden_while_drawing_goes_on() {
  count_trees
  start_program
  expect_drawing
  hide
  expect_trees_after "$(trees_begun)" 20 "while the window was hidden"
  show
  expect_drawing
  pause_now
  local before
  before=$(picture)
  hide
  sleep 0.5
  show
  [[ $(picture) == "$before" ]] || fail "shown again, the window differs from the image"
  press y
  expect_drawing
  press q
  expect_exit 0
}

resized_while_drawing_goes_on() {
  start_program
  expect_drawing
  local size
  for size in "800 600" "300 200" "1000 700" "637 439" "800 600"; do
    x xdotool windowsize --sync "$window" $size || fail "cannot resize to $size"
    sleep 0.2
  done
  running || fail "the program ended while resized"
  expect_drawing
  pause_now
  [[ $(client_size) == 800x600 ]] || fail "client area is $(client_size)"
  local before p
  before=$(picture)
  hide
  show
  [[ $(picture) == "$before" ]] || fail "shown again, the window differs from the image"
  while read -r p; do
    [[ $p == "$grey" ]] || fail "pixel beyond the picture is $p"
  done < <(pixels 640 0 700 200 799 599 0 445 300 520 636 599)
  press y
  expect_drawing
  press q
  expect_exit 0
}

source "$(dirname "$0")/window-test.sh"

#!/usr/bin/env bash
# The window under a Wayland compositor (weston, shown through a private Xvfb)
# that goes away while the program draws or waits: the program must say so
# and fail, not pass the loss off as a user's close. Runs with the plumbing of
# window-test.sh (sourced last: its final line runs the scenario named here).
#
#   wayland-test.sh TILVERA GRAB SCENARIO [ARTIFACT_DIR]
#
# TILVERA_WAITING_WINDOW names the test program that opens the window and only
# waits, as a pause does: no key can be pressed inside the compositor from here.
# TILVERA_TREE_COUNTER names the tree counter preloaded into the program.
set -uo pipefail

weston_pid=''

# Weston draws its output into a window of the private X server. Its headless
# back end would need no X server, but SDL cannot start on a compositor
# without an output.
start_compositor() {
  start_x_server
  chmod 700 "$work"  # libwayland refuses a runtime directory others can enter
  export XDG_RUNTIME_DIR=$work WAYLAND_DISPLAY=tilvera-test SDL_VIDEODRIVER=wayland
  weston --backend=x11-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 \
    >"$work/weston.log" 2>&1 &
  weston_pid=$!
  for _ in $(seq 100); do
    [[ -S $work/$WAYLAND_DISPLAY ]] && grep -q 'launching.*desktop-shell' "$work/weston.log" &&
      return
    kill -0 "$weston_pid" 2>/dev/null || fail "weston did not start: $(tail -n 3 "$work/weston.log")"
    sleep 0.1
  done
  fail "weston offers no socket"
}

lose_compositor() {
  stop "$weston_pid" KILL
  weston_pid=''
}

# Called by window-test.sh's cleanup, before the X server goes.
scenario_cleanup() {
  [[ -n $weston_pid ]] && lose_compositor
}

start_on_compositor() {  # start_on_compositor PROGRAM
  start_compositor
  "$1" >"$work/stdout" 2>"$work/stderr" &
  program_pid=$!
}

# The program, counted, on the compositor until a whole tree is drawn: its
# window is up and it draws. Losing the compositor any earlier, while SDL
# still waits for the window's first configure, tests SDL rather than us.
start_drawing_on_compositor() {
  count_trees
  start_on_compositor "$tilvera"
  expect_trees_after 0 30 "on the compositor"
}

# The waiting window prints "waiting" once it is open. With a sanitizer build
# on a loaded machine that can take several seconds.
expect_window_open() {
  for _ in $(seq 200); do
    grep -q waiting "$work/stdout" && return
    running || fail "the program ended by itself"
    sleep 0.1
  done
  fail "the window did not open"
}

# Just opened, the window still answers the compositor's first configure and
# shows its first frame, which takes a second of processor time when the
# machine is busy. It settles once a whole second goes by without a tick; a
# window that keeps working never does.
expect_settled() {
  local ticks
  for _ in $(seq 10); do
    ticks=$(cpu_ticks)
    sleep 1
    (($(cpu_ticks) == ticks)) && return
  done
  fail "the window is still busy 10 s after opening"
}

expect_lost_display() {
  expect_exit 1
  [[ $(cat "$work/stderr") == "tilvera: lost the display" ]] ||
    fail "stderr is '$(cat "$work/stderr")'"
}

# ---------------------------------------------------------------- scenarios

compositor_lost_while_drawing() {
  start_drawing_on_compositor
  lose_compositor
  expect_lost_display
}

compositor_lost_while_waiting() {
  start_on_compositor "${TILVERA_WAITING_WINDOW:?the waiting-window test program}"
  expect_window_open
  expect_settled
  expect_idle
  lose_compositor
  expect_lost_display
}

# The check must not take a user's close for a loss. In sanitizer builds the
# leak check is off for this exit: SDL's Wayland back end loads libraries of
# its own and unloads them again at exit, and what they keep can then be
# named by no suppression. The X11 window tests check this exit for leaks.
sigterm_still_ends_normally() {
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
  export ASAN_OPTIONS
  start_drawing_on_compositor
  kill -TERM "$program_pid"
  expect_exit 0
  [[ ! -s $work/stderr ]] || fail "stderr is '$(cat "$work/stderr")'"
}

source "$(dirname "$0")/window-test.sh"

#!/usr/bin/env bash
# One scenario of the real window, run the way a user meets it: the program on
# a private X server of its own (no window manager), driven with xdotool and
# looked at through grab.
#
#   window-test.sh TILVERA GRAB SCENARIO [ARTIFACT_DIR]
#
# A failing scenario leaves a screenshot of the window in ARTIFACT_DIR.
set -uo pipefail

tilvera=$1 grab=$2 scenario=$3 artifacts=${4:-}
title='TILVERA. Pulse Q para acabar. Otra para parar. (árboles fractales al azar)'
grey='200 200 200'
white='255 255 255'

# In sanitizer builds: what the window's libraries keep until exit is not ours.
# The project's one list, named here too so that a scenario run by hand, outside
# the test preset, is judged the same way.
LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(dirname "$0")/../../sanitizers/lsan.supp"
export LSAN_OPTIONS

work=$(mktemp -d)
xvfb_pid='' program_pid='' window=''

# ---------------------------------------------------------------- plumbing

stop() {  # stop PID SIGNAL: ends a process of ours and reaps it
  kill "-$2" "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

cleanup() {
  [[ -n $program_pid ]] && stop "$program_pid" KILL
  # A script that sources this one may have more to stop first.
  declare -F scenario_cleanup >/dev/null && scenario_cleanup
  [[ -n $xvfb_pid ]] && stop "$xvfb_pid" TERM
  rm -rf "$work"
}
trap cleanup EXIT

# A failure inside $(...) ends only that subshell; it signals the script to end too.
trap 'exit 1' USR1
fail() {
  echo "FAIL [$scenario]: $*" >&2
  if [[ $BASHPID != "$$" ]]; then
    kill -USR1 $$
    exit 1
  fi
  if [[ -n $window && -n $artifacts ]] && running; then
    mkdir -p "$artifacts"
    "$grab" png "$window" "$artifacts/$scenario.png" 2>/dev/null &&
      echo "screenshot: $artifacts/$scenario.png" >&2
  fi
  [[ -s $work/stderr ]] && { echo "program's stderr:" >&2; cat "$work/stderr" >&2; }
  exit 1
}

# Every X client call is bounded, so a hang fails the test instead of stalling it.
x() { timeout 10 "$@"; }

xvfb_options=()  # a scenario may add some, e.g. to leave out an extension
start_x_server() {
  # -displayfd picks a free display and writes its number once it accepts
  # clients. -noreset: by default the server resets whenever its last client
  # leaves, and a program connecting during that reset is refused; the probe
  # below would otherwise cause exactly that.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset "${xvfb_options[@]}" \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    if [[ $(cat "$work/display") == *[0-9] ]]; then
      DISPLAY=":$(cat "$work/display")"
      export DISPLAY
      for _ in $(seq 50); do
        x xdpyinfo >/dev/null 2>&1 && return
        sleep 0.1
      done
      fail "Xvfb on $DISPLAY accepts no client"
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
    sleep 0.1
  done
  fail "Xvfb gave no display number"
}

running() {
  local state
  state=$(ps -o stat= -p "$program_pid" 2>/dev/null) || return 1
  [[ $state != Z* ]]
}

# Starts the program and waits for its window; false when it ended first.
launch_program() {
  # A background job of a script ignores SIGINT; the program must get it as a
  # user's Control+C would deliver it.
  env --default-signal=INT "$tilvera" >"$work/stdout" 2>"$work/stderr" &
  program_pid=$!
  for _ in $(seq 100); do
    window=$(x xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | head -n 1)
    [[ -n $window ]] && return 0
    running || return 1
    sleep 0.1
  done
  fail "no window appeared"
}

# Starts the program on a private display, waits for its window and gives it
# the keyboard: without a window manager nobody else would.
start_program() {
  start_x_server
  launch_program || fail "the program ended before showing its window"
  x xdotool windowfocus --sync "$window" || fail "cannot focus the window"
  sleep 0.5  # the first levels reach the screen
}

press() { x xdotool key --delay 20 "$@" || fail "xdotool key $* failed"; }

# The program's exit within SECONDS, polled every tenth of a second. The bounds
# are generous for a loaded machine and a sanitizer build; what they tell apart
# is an exit at the next poll from one that waits for a key or never comes.
expect_exit_within() {  # expect_exit_within SECONDS STATUS
  local tenths=$(($1 * 10))
  for ((i = 0; i < tenths; i++)); do
    running || break
    sleep 0.1
  done
  running && fail "the program is still running after $1 s"
  local status=0
  wait "$program_pid" || status=$?
  program_pid=''
  ((status == $2)) || fail "exit status $status, expected $2"
}

expect_exit() { expect_exit_within 10 "$1"; }  # expect_exit STATUS

expect_running() {
  sleep 0.5
  running || fail "the program ended"
}

picture() { x "$grab" hash "$window" "$@" || fail "cannot read the window"; }

# Drawing goes on: the picture changes within a few seconds.
expect_drawing() {
  local first
  first=$(picture)
  for _ in $(seq 50); do
    sleep 0.1
    [[ $(picture) != "$first" ]] && return
  done
  fail "the picture did not change: not drawing"
}

# Paused: the picture stays the same. The pause begins at the generator's next
# poll, so a change caught while the last level is still being drawn is
# forgiven twice.
expect_still() {
  local before after
  for _ in 1 2 3; do
    before=$(picture)
    sleep 0.4
    after=$(picture)
    [[ $before == "$after" ]] && return
  done
  fail "the picture keeps changing: not paused"
}

# The pause blocks on the window system instead of spinning: over one second
# the program neither uses processor time nor wakes up. (Counting wake-ups
# matters: a loop that presents in step with the display sleeps most of the
# time and would pass on processor time alone.)
expect_idle() {
  local ticks switches
  ticks=$(cpu_ticks) switches=$(context_switches)
  sleep 1
  ticks=$(($(cpu_ticks) - ticks)) switches=$(($(context_switches) - switches))
  ((ticks <= 10)) || fail "paused, yet $ticks ticks of CPU in one second"
  ((switches <= 10)) || fail "paused, yet woken $switches times in one second"
}

cpu_ticks() {  # user + system time of the program, in clock ticks
  awk '{ print $14 + $15 }' "/proc/$program_pid/stat"
}

context_switches() {  # of the program's main thread, which runs the generator
  awk '/ctxt_switches/ { n += $2 } END { print n }' "/proc/$program_pid/status"
}

# Runs the program with tree-counter.cpp preloaded (its path in
# TILVERA_TREE_COUNTER), which keeps the number of trees begun in a file. The
# wrapper execs, so the program keeps the process id start_program waits on.
count_trees() {
  local counter=${TILVERA_TREE_COUNTER:?the tree counter library}
  local program=$tilvera
  tilvera=$work/counted-tilvera
  cat >"$tilvera" <<EOF2
#!/bin/sh
TILVERA_TREE_COUNT_FILE='$work/trees' LD_PRELOAD='$counter' exec '$program'
EOF2
  chmod +x "$tilvera"
  # The counter comes ahead of the AddressSanitizer runtime in a dev build;
  # it intercepts nothing that runtime needs first.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
  export ASAN_OPTIONS
}

trees_begun() {  # trees begun so far, the start-up's reading of the time not counted
  local calls
  calls=$(cat "$work/trees" 2>/dev/null)
  echo $((${calls:-1} - 1))
}

# Waits up to SECONDS for the count to pass COUNT by at least 2, so that at
# least one whole tree was drawn in between.
expect_trees_after() {  # expect_trees_after COUNT SECONDS WHEN
  for ((i = 0; i < $2 * 10; i++)); do
    (($(trees_begun) >= $1 + 2)) && return
    sleep 0.1
  done
  fail "no tree was finished $3 (trees begun: $1, then $(trees_begun))"
}

pixels() { x "$grab" pixels "$window" "$@" || fail "cannot read pixels"; }

client_size() {
  x xwininfo -id "$window" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'
}

# How many pixels of the box are in the dark blue of the banner's text (or its
# blend with the grey): blue well above red and green.
banner_pixel_count() {
  local coordinates=() x0 y0
  for ((y0 = 14; y0 <= 38; y0++)); do
    for ((x0 = 125; x0 <= 260; x0++)); do coordinates+=("$x0" "$y0"); done
  done
  pixels "${coordinates[@]}" |
    awk '{ m = ($1 > $2 ? $1 : $2) } $3 - m >= 60 { n++ } END { print n + 0 }'
}

# ---------------------------------------------------------------- scenarios

title_and_size() {
  start_program
  local shown
  shown=$(x "$grab" title "$window") || fail "cannot read the title"
  [[ $shown == "$title" ]] || fail "title is '$shown'"
  # The old WM_NAME, which older window managers show, in its own Latin-1;
  # xprop hands it back in the UTF-8 of the locale.
  local old_name
  old_name=$(LC_ALL=C.UTF-8 x xprop -id "$window" WM_NAME) || fail "cannot read WM_NAME"
  [[ $old_name == "WM_NAME(STRING) = \"$title\"" ]] || fail "WM_NAME is $old_name"
  [[ $(client_size) == 637x439 ]] || fail "client area is $(client_size)"
}

# The first level is on screen once the disc shows white somewhere. Loaded, a
# sanitizer build takes seconds to get there after the window appears, so a
# check of fixed pixels waits for it rather than for a fixed time.
expect_first_level_shown() {
  for _ in $(seq 100); do
    pixels 318 40 150 214 486 214 200 100 436 100 | grep -q "^$white\$" && return
    sleep 0.1
  done
  fail "the disc never showed"
}

# The window appears once, complete. Shown before its renderer exists, it would
# be mapped, destroyed and mapped again as the OpenGL renderer replaces it: a
# flash for the user, two placements for a window manager, and a window that
# vanishes under whoever found it first.
appears_once() {
  start_x_server
  xev -root -event substructure -event property >"$work/root-events" 2>&1 &
  local xev_pid=$!
  # Listening once a change to the root's properties comes through.
  for _ in $(seq 100); do
    x xprop -root -f _TILVERA_TEST 8s -set _TILVERA_TEST ready
    grep -q PropertyNotify "$work/root-events" && break
    sleep 0.1
  done
  grep -q PropertyNotify "$work/root-events" || fail "xev does not listen to the root window"
  launch_program || fail "the program ended before showing its window"
  expect_first_level_shown
  kill "$xev_pid"
  wait "$xev_pid" 2>/dev/null
  local maps
  maps=$(grep -c '^MapNotify' "$work/root-events")
  ((maps == 1)) || fail "the window was mapped $maps times"
}

shows_canvas() {
  start_program
  expect_first_level_shown
  # Below the usable area, left and right of the trunk, nothing but background.
  local p
  while read -r p; do
    [[ $p == "$grey" ]] || fail "background pixel is $p"
  done < <(pixels 1 437 2 430 100 436 540 436 635 437)

  # The disc, centred at (318, 214) pixels with a radius of 212, shows white
  # wherever the tree leaves it free: probes on three rings, enough of them free.
  local coordinates=()
  mapfile -t coordinates < <(awk 'BEGIN {
    for (r = 70; r <= 190; r += 60)
      for (a = 0; a < 360; a += 20) {
        t = a * 3.14159265 / 180
        printf "%d\n%d\n", 318 + r * cos(t), 214 + r * sin(t)
      }
  }')
  local white_count
  white_count=$(pixels "${coordinates[@]}" | grep -c "^$white\$")
  ((white_count >= 10)) || fail "only $white_count of 54 disc probes are white"

  local banner
  banner=$(banner_pixel_count)
  ((banner >= 50)) || fail "only $banner banner pixels near (127, 18)"
}

q_ends() {
  start_program
  press q
  expect_exit 0
}

key_pauses_and_next_key_resumes() {
  start_program
  expect_drawing
  press x
  expect_still
  expect_idle
  press y
  expect_drawing
  press q
  expect_exit 0
}

q_during_pause_only_resumes() {
  start_program
  press x
  expect_still
  press q
  expect_running
  expect_drawing
  press q
  expect_exit 0
}

control_q_pauses() {
  start_program
  press ctrl+q
  expect_running
  expect_still
  press y
  expect_drawing
}

close_request_ends() {
  start_program
  x "$grab" close "$window" || fail "cannot send the close request"
  expect_exit 0
}

close_request_while_paused_ends() {
  start_program
  press x
  expect_still
  x "$grab" close "$window" || fail "cannot send the close request"
  expect_exit 0
}

sigterm_ends() {
  start_program
  kill -TERM "$program_pid"
  expect_exit 0
}

sigint_while_paused_ends() {
  start_program
  press x
  expect_still
  kill -INT "$program_pid"
  expect_exit 0
}

# A screen of 256 colours, which no renderer of SDL's draws on: refused in one
# line that names the screen as the cause.
eight_bit_screen_refused() {
  xvfb_options=(-screen 0 1024x768x8)
  start_x_server
  local status=0
  timeout -s KILL 10 "$tilvera" >"$work/stdout" 2>"$work/stderr" || status=$?
  ((status == 1)) || fail "exit status $status, expected 1"
  [[ $(wc -l <"$work/stderr") == 1 ]] || fail "stderr is not one line"
  grep -q '^tilvera: cannot open a window: cannot draw on this screen (' "$work/stderr" ||
    fail "unexpected message"
}

# On a screen smaller than the window, its top left (and with it the title bar
# a window manager puts there) stays on the screen, within reach.
small_screen_keeps_top_left_on_screen() {
  xvfb_options=(-screen 0 320x240x24)  # overrides the usual screen
  start_program
  local x y
  x=$(x xwininfo -id "$window" | awk '/Absolute upper-left X/ { print $NF }')
  y=$(x xwininfo -id "$window" | awk '/Absolute upper-left Y/ { print $NF }')
  [[ -n $x && -n $y ]] || fail "no position for the window"
  ((x >= 0 && y >= 0)) || fail "the window starts at $x,$y, off the 320x240 screen"
  expect_running  # the window cannot be read back: most of it lies off the screen
}

# A larger window shows the same picture one to one at its top left and
# background beyond it.
resize_shows_background() {
  start_program
  press x
  expect_still
  local before
  before=$(picture 637 439)
  x xdotool windowsize "$window" 800 600 || fail "cannot resize the window"
  sleep 0.5
  [[ $(client_size) == 800x600 ]] || fail "client area is $(client_size) after resizing"
  [[ $(picture 637 439) == "$before" ]] || fail "the picture moved or was scaled"
  local p
  while read -r p; do
    [[ $p == "$grey" ]] || fail "pixel beyond the picture is $p"
  done < <(pixels 637 0 700 200 799 599 0 439 300 520 636 599)
}

no_display_fails() {
  local status=0
  # Bounded: a program that took an invisible window would run on for ever.
  timeout -s KILL 10 env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$tilvera" \
    >"$work/stdout" 2>"$work/stderr" || status=$?
  ((status == 1)) || fail "exit status $status, expected 1"
  [[ $(wc -l <"$work/stderr") == 1 ]] || fail "stderr is not one line"
  grep -q '^tilvera: cannot open a window: .' "$work/stderr" || fail "unexpected message"

  # SDL_VIDEODRIVER set empty names no driver; one that does not exist is the
  # cause the message gives.
  local driver expected
  for driver in "" bogus; do
    expected="tilvera: cannot open a window: no display (DISPLAY is not set)"
    [[ -n $driver ]] &&
      expected="tilvera: cannot open a window: no display (the video driver $driver does not start: $driver not available)"
    status=0
    timeout -s KILL 10 env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER="$driver" "$tilvera" \
      >"$work/stdout" 2>"$work/stderr" || status=$?
    ((status == 1)) || fail "SDL_VIDEODRIVER='$driver': exit status $status, expected 1"
    [[ $(cat "$work/stderr") == "$expected" ]] ||
      fail "SDL_VIDEODRIVER='$driver': unexpected message: $(cat "$work/stderr")"
  done
}

# A display that works, and a video driver named by the user that would show
# nothing there: refused, naming the driver rather than blaming the display.
invisible_driver_refused() {
  local driver status
  start_x_server
  for driver in dummy offscreen; do
    status=0
    SDL_VIDEODRIVER=$driver timeout -s KILL 10 "$tilvera" >"$work/stdout" 2>"$work/stderr" ||
      status=$?
    ((status == 1)) || fail "$driver: exit status $status, expected 1"
    [[ $(cat "$work/stderr") == "tilvera: cannot open a window: no display (the video driver $driver shows no window)" ]] ||
      fail "$driver: unexpected message: $(cat "$work/stderr")"
  done
}

"$scenario"

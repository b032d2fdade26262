#!/usr/bin/env bash
# Tilvera installed into a scratch root and started the way a desktop menu
# starts it, with the Exec line of its desktop entry: the window shows on a
# private X server, and "q" ends the program with status 0.
#
#   launch-from-entry.sh BUILD_DIR SCRATCH_DIR
set -uo pipefail

build=$1 scratch=$2
xvfb_pid='' program_pid=''

cleanup() {
  [[ -n $program_pid ]] && { kill -KILL "$program_pid" 2>/dev/null; wait "$program_pid" 2>/dev/null; }
  [[ -n $xvfb_pid ]] && { kill -TERM "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [[ -s $scratch/stderr ]] && { echo "program's stderr:" >&2; cat "$scratch/stderr" >&2; }
  exit 1
}

# Still running, and not merely a zombie waiting to be reaped.
running() {
  local state
  state=$(ps -o stat= -p "$program_pid" 2>/dev/null) || return 1
  [[ $state != Z* ]]
}

rm -rf "$scratch"
mkdir -p "$scratch"
DESTDIR=$scratch/root cmake --install "$build" --prefix /usr >"$scratch/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$scratch/install.log")"
prefix=$scratch/root/usr

# The command line as the desktop runs it; the entry passes no field codes.
command=$(sed -n 's/^Exec=//p' "$prefix/share/applications/tilvera.desktop")
[[ -n $command && $command != *%* ]] || fail "Exec line '$command'"

# -displayfd picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/display" \
  >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ $(cat "$scratch/display") == *[0-9] ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"
  sleep 0.1
done
[[ $(cat "$scratch/display") == *[0-9] ]] || fail "Xvfb gave no display number"
export DISPLAY=":$(cat "$scratch/display")"

# $command is split into words as the desktop splits a plain Exec line.
# shellcheck disable=SC2086
PATH=$prefix/bin:$PATH $command >"$scratch/stdout" 2>"$scratch/stderr" &
program_pid=$!

window=''
for _ in $(seq 100); do
  window=$(timeout 10 xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | head -n 1)
  [[ -n $window ]] && break
  running || fail "the program ended before showing its window"
  sleep 0.1
done
[[ -n $window ]] || fail "no window appeared"
# It is the installed program that runs, not one found elsewhere on PATH.
[[ $(readlink "/proc/$program_pid/exe") == "$prefix/bin/tilvera" ]] ||
  fail "the entry started $(readlink "/proc/$program_pid/exe")"
title=$(timeout 10 xdotool getwindowname "$window")
[[ $title == "TILVERA. Pulse Q para acabar. Otra para parar."* ]] || fail "window title '$title'"

# Without a window manager nobody else gives the window the keyboard.
timeout 10 xdotool windowfocus --sync "$window" || fail "cannot focus the window"
timeout 10 xdotool key q || fail "cannot press q"
for _ in $(seq 100); do
  running || break
  sleep 0.1
done
status=0
wait "$program_pid" || status=$?
program_pid=''
((status == 0)) || fail "the program ended with status $status after q"

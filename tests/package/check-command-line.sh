#!/usr/bin/env bash
# tilvera's command line, through the real program: help and version go to
# standard output with status 0, anything else is one usage line on standard
# error with status 2. Neither reaches the window: with no display at all,
# opening one would end with status 1 instead.
#
#   check-command-line.sh TILVERA VERSION
set -uo pipefail

tilvera=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

fail() {
  echo "FAIL: $*" >&2
  failed=1
}

run() {  # run ARGUMENT...: sets status, out, err
  timeout 10 env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u SDL_VIDEODRIVER \
    "$tilvera" "$@" >"$work/out" 2>"$work/err"
  status=$?
  out=$(cat "$work/out") err=$(cat "$work/err")
}

run --help
((status == 0)) || fail "--help: status $status"
[[ -z $err ]] || fail "--help wrote to standard error: $err"
for phrase in 'Usage: tilvera' 'q, Q' 'quit' 'pause' 'Pulse Q para acabar' 'Otra para parar'; do
  [[ $out == *"$phrase"* ]] || fail "--help does not say '$phrase'"
done

run --version
((status == 0)) || fail "--version: status $status"
[[ $out == "tilvera $version" ]] || fail "--version printed '$out'"
[[ -z $err ]] || fail "--version wrote to standard error: $err"

for bad in --fullscreen -x 'two words' --help=no; do
  run "$bad"
  ((status == 2)) || fail "'$bad': status $status, expected 2"
  [[ -z $out ]] || fail "'$bad' wrote to standard output: $out"
  [[ $(wc -l <"$work/err") -eq 1 && $err == *"'$bad'"*usage:* ]] ||
    fail "'$bad': standard error is not one usage line naming it: $err"
done

# The check above means something only if the program, run plainly, does fail
# for want of a display.
run
((status == 1)) || fail "without a display the program ended with status $status, expected 1"

exit "$failed"

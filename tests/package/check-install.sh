#!/usr/bin/env bash
# `cmake --install` into a scratch DESTDIR puts every file in place, and no other.
#
#   check-install.sh BUILD_DIR SCRATCH_DIR
set -uo pipefail
source "$(dirname "$0")/installed-files.sh"

build=$1 scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch"
if ! DESTDIR=$scratch/root cmake --install "$build" --prefix /usr >"$scratch/install.log" 2>&1; then
  cat "$scratch/install.log" >&2
  echo "FAIL: cmake --install failed" >&2
  exit 1
fi
check_installed_tree "$scratch/root/usr"
exit "$installed_failed"

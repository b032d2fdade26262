#!/usr/bin/env bash
# Each manual page renders with man(1) without a single warning from groff and
# has the sections a reader looks for.
#
#   check-manual-pages.sh PAGE...
set -uo pipefail

failed=0
for page in "$@"; do
  text=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings=all --encoding=UTF-8 -l "$page" 2>/tmp/man-warnings.$$)
  status=$?
  warnings=$(cat /tmp/man-warnings.$$)
  rm -f /tmp/man-warnings.$$
  if ((status != 0)) || [[ -n $warnings ]]; then
    echo "FAIL $page: status $status" >&2
    echo "$warnings" >&2
    failed=1
    continue
  fi
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" ENVIRONMENT FILES "SEE ALSO"; do
    grep -q "^$section\$" <<<"$text" || { echo "FAIL $page: no $section section" >&2; failed=1; }
  done
  # The version was filled in.
  grep -q '@PROJECT_VERSION@' <<<"$text" && { echo "FAIL $page: version not filled in" >&2; failed=1; }
done
exit "$failed"

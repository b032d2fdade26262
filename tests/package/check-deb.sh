#!/usr/bin/env bash
# The Debian package that `cpack -G DEB` makes: its control fields and its
# files, unpacked into a scratch root.
#
#   check-deb.sh BUILD_DIR SCRATCH_DIR VERSION
set -uo pipefail
source "$(dirname "$0")/installed-files.sh"

build=$1 scratch=$2 version=$3
rm -rf "$scratch"
mkdir -p "$scratch"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  echo "FAIL: cpack failed" >&2
  exit 1
fi
deb=$scratch/tilvera_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || { echo "FAIL: no $deb; made: $(ls "$scratch")" >&2; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
expect_field() {  # expect_field NAME VALUE
  [[ $(field "$1") == "$2" ]] || installed_fail "$1 is '$(field "$1")', expected '$2'"
}
expect_field Package tilvera
expect_field Version "$version"
expect_field Section graphics
expect_field Architecture "$(dpkg --print-architecture)"
expect_field Recommends fonts-arapey
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] ||
  installed_fail "Maintainer '$(field Maintainer)' is not 'Name <address>'"
[[ -n $(field Description) ]] || installed_fail "no Description"

# The newest entry of the list of changes is this version: a version raised
# without saying what changed fails here.
changes=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/tilvera/changelog.gz | gzip -d)
[[ $(dpkg-parsechangelog -l - -S Version <<<"$changes") == "$version" ]] ||
  installed_fail "the changelog's newest entry is not version $version"

# Depends as bare package names: alternatives split, versions dropped.
depends=$(field Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/^ *//; s/ *$//' | sort -u)
for library in libsdl2-2.0-0 libfreetype6 libfontconfig1 libpng16-16 libx11-6 libwayland-client0; do
  grep -qx "$library" <<<"$depends" || installed_fail "Depends lacks $library: $(field Depends)"
done

# The listing names the same files as an installation under /usr.
listed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./usr/||' | LC_ALL=C sort)
expected=$(printf '%s\n' "${installed_files[@]}" | LC_ALL=C sort)
[[ $listed == "$expected" ]] || installed_fail "the package lists other files:
$(diff <(echo "$expected") <(echo "$listed"))"

# Debian's own checker finds no error and no warning. (As root it says that
# it would rather not run as root; that line is no finding.)
lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'root privileges' >&2
((PIPESTATUS[0] == 0)) || installed_fail "lintian has findings"

dpkg-deb -x "$deb" "$scratch/root" || installed_fail "dpkg-deb cannot unpack the package"
check_installed_tree "$scratch/root/usr"
exit "$installed_failed"

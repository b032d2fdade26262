# What an installation of Tilvera holds, and the checks on it that both a
# `cmake --install` and the Debian package must pass. Sourced by the tests.

# Every file, relative to the prefix, and nothing else.
installed_files=(
  bin/tilvera
  bin/tilvera-render
  share/applications/tilvera.desktop
  share/doc/tilvera/changelog.gz
  share/doc/tilvera/copyright
  share/icons/hicolor/128x128/apps/tilvera.png
  share/icons/hicolor/256x256/apps/tilvera.png
  share/icons/hicolor/48x48/apps/tilvera.png
  share/man/man1/tilvera-render.1.gz
  share/man/man6/tilvera.6.gz
)

# A failure is reported and remembered; the checks go on so that one run shows
# everything that is wrong.
installed_failed=0
installed_fail() {
  echo "FAIL: $*" >&2
  installed_failed=1
}

# PNG header: width and height are the big-endian words at bytes 16 and 20,
# the colour type the byte at 25 (6: RGB with alpha).
png_shape() {
  local bytes
  bytes=$(od -An -tu1 -j16 -N10 "$1" | tr -s ' \n' ' ')
  read -r w1 w2 w3 w4 h1 h2 h3 h4 _depth colour <<<"$bytes"
  echo "$(((w1 << 24) + (w2 << 16) + (w3 << 8) + w4))x$(((h1 << 24) + (h2 << 16) + (h3 << 8) + h4)) type $colour"
}

# check_installed_tree ROOT: ROOT is the prefix (for instance DESTDIR/usr).
check_installed_tree() {
  local root=$1 file

  local found expected
  found=$(cd "$root" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
  expected=$(printf '%s\n' "${installed_files[@]}" | LC_ALL=C sort)
  [[ $found == "$expected" ]] ||
    installed_fail "installed files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$found"))"

  for file in bin/tilvera bin/tilvera-render; do
    [[ -f $root/$file && -x $root/$file ]] || installed_fail "$file is not an executable file"
  done

  local size shape
  for size in 48 128 256; do
    file=$root/share/icons/hicolor/${size}x${size}/apps/tilvera.png
    [[ -f $file ]] || continue
    shape=$(png_shape "$file")
    [[ $shape == "${size}x${size} type 6" ]] ||
      installed_fail "${size}x${size} icon is $shape, expected ${size}x${size} RGBA"
  done

  local entry=$root/share/applications/tilvera.desktop
  if [[ -f $entry ]]; then
    desktop-file-validate "$entry" || installed_fail "the installed desktop entry does not validate"
    # The launcher must reach what was installed beside it.
    local exec icon
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [[ -x $root/bin/$exec ]] || installed_fail "Exec=$exec names no installed program"
    [[ -f $root/share/icons/hicolor/48x48/apps/$icon.png ]] ||
      installed_fail "Icon=$icon names no installed icon"
  fi

  for file in share/man/man6/tilvera.6.gz share/man/man1/tilvera-render.1.gz \
    share/doc/tilvera/changelog.gz; do
    [[ -f $root/$file ]] || continue
    gzip -t "$root/$file" || installed_fail "$file is no valid gzip file"
  done
}

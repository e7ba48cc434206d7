#!/usr/bin/env bash
# The Debian package and the menu entry, checked from a configured and built
# build directory.
#   check_package.sh deb BUILD_DIR VERSION   cpack's .deb: files, modes, fields
#   check_package.sh desktop BUILD_DIR       cmake --install's menu entry
set -euo pipefail

mode=${1:?mode: deb or desktop}
build=$(cd "${2:?build directory}" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Width and height of a PNG, from its header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }'
}

check_deb() {
  local version=${3:?version}
  local arch deb listing
  arch=$(dpkg --print-architecture)
  if ! (cd "$build" && cpack -G DEB -B "$tmp") >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log" >&2
    fail "cpack -G DEB failed"
    return
  fi
  deb=$tmp/tamsel_${version}_${arch}.deb
  if [ ! -f "$deb" ]; then
    fail "no $(basename "$deb"); cpack made: $(cd "$tmp" && echo *.deb)"
    return
  fi

  # "mode owner path" for every entry, without the leading "."
  listing=$(dpkg-deb -c "$deb" | awk '{ sub(/^\./, "", $6); print $1, $2, $6 }')
  local path
  for path in /usr/bin/tamsel /usr/bin/tamsel-cli /usr/bin/tamsel-sim; do
    grep -qxF -- "-rwxr-xr-x root/root $path" <<<"$listing" || fail "no executable $path"
  done
  for path in /usr/share/applications/tamsel.desktop \
    /usr/share/icons/hicolor/scalable/apps/tamsel.svg \
    /usr/share/icons/hicolor/48x48/apps/tamsel.png \
    /usr/share/icons/hicolor/256x256/apps/tamsel.png \
    /usr/share/doc/tamsel/README.md \
    /usr/share/doc/tamsel/copyright \
    /usr/share/doc/tamsel/changelog.gz \
    /usr/share/man/man1/tamsel.1.gz \
    /usr/share/man/man1/tamsel-cli.1.gz \
    /usr/share/man/man1/tamsel-sim.1.gz; do
    grep -qxF -- "-rw-r--r-- root/root $path" <<<"$listing" || fail "no file $path (mode 644, root)"
  done
  # A wrong install prefix or a stray absolute path would put files elsewhere.
  local stray
  stray=$(awk '$1 !~ /^d/ && $3 !~ "^/usr/(bin|share)/" { print $3 }' <<<"$listing")
  [ -z "$stray" ] || fail "files outside /usr/bin and /usr/share: $stray"

  [ "$(dpkg-deb -f "$deb" Package)" = tamsel ] || fail "Package is not tamsel"
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is not $version"
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  [ -n "$depends" ] || fail "Depends is empty: dpkg-shlibdeps did not run"
  # One library of the window program and one of every program.
  grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks libqt6widgets6: $depends"
  grep -q 'libc6' <<<"$depends" || fail "Depends lacks libc6: $depends"

  # Package managers show the description's lines as they are.
  local long
  long=$(dpkg-deb -f "$deb" Description | awk 'length > 80')
  [ -z "$long" ] || fail "description lines over 80 characters: $long"

  dpkg-deb -x "$deb" "$tmp/root"
  local program sections
  for program in tamsel tamsel-cli tamsel-sim; do
    [ -f "$tmp/root/usr/bin/$program" ] || continue
    # Into a variable first: grep -q leaving early would fail the pipe.
    sections=$(readelf -S "$tmp/root/usr/bin/$program")
    if grep -qE '\.symtab|\.debug_info' <<<"$sections"; then
      fail "/usr/bin/$program is not stripped"
    fi
  done
  local size
  for size in 48 256; do
    path=$tmp/root/usr/share/icons/hicolor/${size}x${size}/apps/tamsel.png
    [ -f "$path" ] || continue
    [ "$(png_size "$path")" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $(png_size "$path")"
  done
  local newest
  newest=$(gzip -dc "$tmp/root/usr/share/doc/tamsel/changelog.gz" 2>/dev/null | sed -n 1p) || true
  [[ $newest == "tamsel ($version) "* ]] || fail "changelog.gz does not begin with version $version: $newest"
}

check_desktop() {
  cmake --install "$build" --prefix "$tmp/usr" >"$tmp/install.log" 2>&1 || {
    cat "$tmp/install.log" >&2
    fail "cmake --install failed"
    return
  }
  local entry=$tmp/usr/share/applications/tamsel.desktop
  if [ ! -f "$entry" ]; then
    fail "cmake --install put no share/applications/tamsel.desktop"
    return
  fi
  # Errors, warnings and hints alike: the entry should draw none.
  local report
  report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate rejects the entry"
  [ -z "$report" ] || fail "desktop-file-validate: $report"

  # The program and the icon the entry names are the ones installed.
  local exec icon
  exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  icon=$(sed -n 's/^Icon=//p' "$entry")
  if [ -z "$exec" ] || [ ! -x "$tmp/usr/bin/$exec" ]; then
    fail "Exec=$exec is not an installed program"
  fi
  if [ -z "$icon" ] || [ ! -f "$tmp/usr/share/icons/hicolor/scalable/apps/$icon.svg" ]; then
    fail "Icon=$icon has no scalable icon"
  fi
  compgen -G "$tmp/usr/share/icons/hicolor/*x*/apps/$icon.png" >/dev/null || fail "Icon=$icon has no PNG icon"
  grep -qx 'Name=Tamsel' "$entry" || fail "the entry is not named Tamsel"
}

case $mode in
deb) check_deb "$@" ;;
desktop) check_desktop "$@" ;;
*)
  echo "unknown mode $mode" >&2
  exit 2
  ;;
esac
[ "$failures" -eq 0 ] || exit 1
echo "OK: $mode"

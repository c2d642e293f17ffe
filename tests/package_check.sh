#!/usr/bin/env bash
# Makes the Debian package and the portable ZIP from a built tree and checks them: what the
# package holds, its desktop entry and metainfo, and the unpacked programs run as a new user
# and as a portable folder would.
#   tests/package_check.sh [BUILD_DIR]
set -euo pipefail
# The programs speak English here unless a check asks for Japanese.
unset LC_ALL LC_MESSAGES LANGUAGE
export LANG=C.UTF-8
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "package check: $*" >&2
  exit 1
}
# Everything below a folder, for telling whether a run wrote anything there.
tree() { (cd "$1" && find . | LC_ALL=C sort); }

id=org.dulvane.dulvane
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
arch="$(dpkg --print-architecture)"
(cd "$build" && cpack -B "$tmp/out" >"$tmp/cpack.log" 2>&1) || {
  cat "$tmp/cpack.log" >&2
  fail "cpack failed"
}

# The Debian package: exactly the two programs, the menu entry, the metainfo, the icons, the
# documents (with the pictures the guides show) and the manual pages in English and Japanese.
deb="$tmp/out/dulvane_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$tmp/out")"
doc=./usr/share/doc/dulvane
expected="$(
  printf '%s\n' ./usr/bin/dulvane ./usr/bin/dulvane-admin \
    "./usr/share/applications/$id.desktop" "./usr/share/metainfo/$id.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/$id.svg" \
    "$doc/copyright" "$doc/changelog.gz" "$doc/user-guide.md" "$doc/admin-guide.md" \
    "$doc/examples/forward.conf.example" ./usr/lib/systemd/system/dulvane-forward.service \
    ./usr/lib/sysusers.d/dulvane-forward.conf
  for size in 16 32 64 128; do echo "./usr/share/icons/hicolor/${size}x${size}/apps/$id.png"; done
  grep -oh 'screenshots/[-_a-z0-9]*\.png' "$root/docs/user-guide.md" "$root/docs/admin-guide.md" |
    sort -u | sed "s|^|$doc/|"
  for page in dulvane dulvane-admin; do
    echo "./usr/share/man/man1/$page.1.gz"
    echo "./usr/share/man/ja/man1/$page.1.gz"
  done
)"
files="$(dpkg-deb -c "$deb" | awk '$1 ~ /^-/ {print $6}')"
if [ "$(LC_ALL=C sort <<<"$files")" != "$(LC_ALL=C sort <<<"$expected")" ]; then
  diff <(LC_ALL=C sort <<<"$expected") <(LC_ALL=C sort <<<"$files") >&2 || true
  fail "the package holds other files than expected (< missing, > extra)"
fi
# The relay's example configuration is readable by its owner only, as the relay requires.
grep -q '^-rw------- .*examples/forward.conf.example$' <<<"$(dpkg-deb -c "$deb")" ||
  fail "the relay's example configuration is not mode 600"
depends="$(dpkg-deb -f "$deb" Depends)"
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks the toolkit: $depends"
grep -q 'libsqlite3' <<<"$depends" || fail "Depends lacks the engine: $depends"

pkg="$tmp/pkg"
dpkg-deb -x "$deb" "$pkg"
desktop="$pkg/usr/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop entry rejected"
appstreamcli validate --no-net "$pkg/usr/share/metainfo/$id.metainfo.xml" >"$tmp/as.log" 2>&1 || {
  cat "$tmp/as.log" >&2
  fail "metainfo rejected"
}
grep -q "<release version=\"$version\"" "$pkg/usr/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo names no release $version"
# The menu entry starts a program of the package and shows its icon.
exec_name="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
[ -x "$pkg/usr/bin/$exec_name" ] || fail "Exec=$exec_name is not a program of the package"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "Icon= does not name the icon"

# The documents: machine-readable copyright, the changelog naming this release first, every
# picture a guide links to beside it.
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "$pkg/$doc/copyright" || fail "copyright is not in Debian's machine-readable format"
grep -qx 'License: other' "$pkg/$doc/copyright" || fail "copyright names no licence"
zcat "$pkg/$doc/changelog.gz" >"$tmp/changelog"
changed="$(dpkg-parsechangelog -l "$tmp/changelog" -S Version)" ||
  fail "changelog.gz is not a Debian changelog"
[ "$changed" = "$version" ] || fail "changelog.gz starts with $changed, not $version"
for guide in "$pkg/$doc"/*.md; do
  for picture in $(grep -o 'screenshots/[-_a-z0-9]*\.png' "$guide"); do
    [ -f "$pkg/$doc/$picture" ] || fail "$(basename "$guide") shows $picture, which is not there"
  done
done

# The manual pages render without a warning, in each language, and name the release.
for page in "$pkg"/usr/share/man/man1/*.1.gz "$pkg"/usr/share/man/ja/man1/*.1.gz; do
  warnings="$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)" || fail "man failed on $page"
  [ -z "$warnings" ] || fail "$page renders with warnings: $warnings"
  zcat "$page" | grep -q "^\.TH .* \"[-a-z]* $version\"" || fail "$page names no release $version"
done
for page in dulvane dulvane-admin; do
  zcat "$pkg/usr/share/man/ja/man1/$page.1.gz" | grep -q '^\.SH 名前$' ||
    fail "the Japanese page of $page has no Japanese headings"
done

# --help and --version answer without the toolkit: no platform plugin may even be needed.
bin="$pkg/usr/bin"
out="$(QT_QPA_PLATFORM=none timeout 10 "$bin/dulvane" --version)" || fail "dulvane --version failed"
[ "$(head -n1 <<<"$out")" = "dulvane $version" ] || fail "dulvane --version said: $out"
grep -q '^SQLite ' <<<"$out" || fail "dulvane --version names no engine: $out"
out="$(QT_QPA_PLATFORM=none timeout 10 "$bin/dulvane" --help)" || fail "dulvane --help failed"
grep -q '^Usage: dulvane' <<<"$out" || fail "dulvane --help said: $out"
out="$(timeout 10 "$bin/dulvane-admin" --help)" || fail "dulvane-admin --help failed"
grep -q '^Usage: dulvane-admin' <<<"$out" || fail "dulvane-admin --help said: $out"
# Under a Japanese locale both command lines speak Japanese: the translations are built in.
for program in dulvane dulvane-admin; do
  out="$(LANG=ja_JP.UTF-8 QT_QPA_PLATFORM=none timeout 10 "$bin/$program" --help)" ||
    fail "$program --help failed under a Japanese locale"
  grep -q "^使用法: $program" <<<"$out" || fail "$program --help in Japanese said: $out"
done

# Starts a program as a user with an empty home; it waits in the settings window until the
# timeout ends it.
run_as_new_user() { # program home
  mkdir -p "$2"
  local rc=0
  env HOME="$2" XDG_CONFIG_HOME="$2/.config" QT_QPA_PLATFORM=offscreen \
    timeout 5 "$1" >"$tmp/run.log" 2>&1 || rc=$?
  if [ "$rc" != 124 ]; then
    cat "$tmp/run.log" >&2
    fail "$1 ended by itself (exit $rc) instead of waiting for the settings"
  fi
}

# Installed for every user: the user's own settings file is made, nothing beside the program.
before="$(tree "$pkg")"
run_as_new_user "$bin/dulvane" "$tmp/home"
[ "$(tree "$pkg")" = "$before" ] || fail "the installed program wrote beside itself"
ini="$tmp/home/.config/dulvane/DULVANE.INI"
[ -f "$ini" ] || fail "no settings file for the new user: $(tree "$tmp/home" | tr '\n' ' ')"
"$bin/dulvane-admin" check "$ini" >/dev/null || fail "the new user's settings file is not sound"

# Portable: the settings file beside the programs is used, none is made for the user.
zip="$tmp/out/dulvane-$version-portable-$(uname -s).zip"
[ -f "$zip" ] || fail "no $(basename "$zip") among: $(ls "$tmp/out")"
(cd "$tmp" && cmake -E tar xf "$zip")
portable="$tmp/$(basename "$zip" .zip)"
[ "$(tree "$portable" | tr '\n' ' ')" = ". ./DULVANE.INI ./dulvane ./dulvane-admin " ] ||
  fail "the portable folder holds: $(tree "$portable" | tr '\n' ' ')"
"$portable/dulvane-admin" check "$portable/DULVANE.INI" >/dev/null || fail "the portable settings file is not sound"
out="$(LANG=ja_JP.UTF-8 "$portable/dulvane-admin" --help)"
grep -q '^使用法: dulvane-admin' <<<"$out" || fail "the portable dulvane-admin speaks no Japanese"
run_as_new_user "$portable/dulvane" "$tmp/home2"
[ ! -e "$tmp/home2/.config/dulvane" ] || fail "the portable program made a settings file for the user"

echo "package check: $(basename "$deb") and $(basename "$zip") passed"

#!/usr/bin/env bash
# Makes the Debian package and the portable ZIP from a built tree and checks them: what the
# package holds, its desktop entry and metainfo, and the unpacked programs run as a new user
# and as a portable folder would.
#   tests/package_check.sh [BUILD_DIR]
set -euo pipefail
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

# The Debian package: exactly the two programs, the menu entry, the metainfo and the icons.
deb="$tmp/out/dulvane_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$tmp/out")"
expected="$(
  printf '%s\n' ./usr/bin/dulvane ./usr/bin/dulvane-admin \
    "./usr/share/applications/$id.desktop" "./usr/share/metainfo/$id.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/$id.svg"
  for size in 16 32 64 128; do echo "./usr/share/icons/hicolor/${size}x${size}/apps/$id.png"; done
)"
files="$(dpkg-deb -c "$deb" | awk '$1 ~ /^-/ {print $6}')"
if [ "$(LC_ALL=C sort <<<"$files")" != "$(LC_ALL=C sort <<<"$expected")" ]; then
  diff <(LC_ALL=C sort <<<"$expected") <(LC_ALL=C sort <<<"$files") >&2 || true
  fail "the package holds other files than expected (< missing, > extra)"
fi
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

# --help and --version answer without the toolkit: no platform plugin may even be needed.
bin="$pkg/usr/bin"
out="$(QT_QPA_PLATFORM=none timeout 10 "$bin/dulvane" --version)" || fail "dulvane --version failed"
[ "$(head -n1 <<<"$out")" = "dulvane $version" ] || fail "dulvane --version said: $out"
grep -q '^SQLite ' <<<"$out" || fail "dulvane --version names no engine: $out"
out="$(QT_QPA_PLATFORM=none timeout 10 "$bin/dulvane" --help)" || fail "dulvane --help failed"
grep -q '^Usage: dulvane' <<<"$out" || fail "dulvane --help said: $out"
out="$(timeout 10 "$bin/dulvane-admin" --help)" || fail "dulvane-admin --help failed"
grep -q '^Usage: dulvane-admin' <<<"$out" || fail "dulvane-admin --help said: $out"

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
run_as_new_user "$portable/dulvane" "$tmp/home2"
[ ! -e "$tmp/home2/.config/dulvane" ] || fail "the portable program made a settings file for the user"

echo "package check: $(basename "$deb") and $(basename "$zip") passed"

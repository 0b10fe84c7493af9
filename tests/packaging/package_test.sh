#!/usr/bin/env bash
# Builds the Debian package from a build tree with CPack, unpacks it into a
# temporary root (no installation, no root rights needed), checks what it
# holds and where, and starts the unpacked program with its menu entry's
# command in the X server given by DISPLAY until its window appears.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"

work=$(mktemp -d "${TMPDIR:-/tmp}/trelvan-package-XXXXXX")
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
check() { local what="$1"; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

# --- The package ------------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
arch=$(dpkg --print-architecture)
deb="$work/out/trelvan_${version}_${arch}.deb"
[ -f "$deb" ] || { ls "$work/out" >&2; echo "FAIL: no $(basename "$deb")" >&2; exit 1; }
echo "ok: $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
check "Package: trelvan" test "$(field Package)" = trelvan
check "Version: $version" test "$(field Version)" = "$version"
check "Architecture: $arch" test "$(field Architecture)" = "$arch"
check "Section: science" test "$(field Section)" = science
check "a maintainer with an address" grep -Eq '^.+ <[^ ]+@[^ ]+>$' <<<"$(field Maintainer)"
# The package names of Depends, one a line, without their versions.
depends=$(field Depends | tr ',' '\n' | awk '{print $1}')
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqcustomplot2.1-qt6; do
  check "depends on $lib" grep -Fqx "$lib" <<<"$depends"
done
check "a summary and a description" test "$(field Description | wc -l)" -ge 3

# --- Its files --------------------------------------------------------------
root="$work/root"
dpkg-deb -x "$deb" "$root"
expected="usr/bin/trelvan
usr/lib/trelvan/libkavrel.so.1
usr/lib/trelvan/libkavrel.so.1.0.0
usr/share/applications/trelvan.desktop
usr/share/doc/trelvan/LICENSE
usr/share/doc/trelvan/README.md
usr/share/doc/trelvan/copyright
usr/share/doc/trelvan/sim/README.md
usr/share/icons/hicolor/scalable/apps/trelvan.svg
usr/share/metainfo/org.example.trelvan.metainfo.xml"
actual=$(cd "$root" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
if [ "$actual" = "$expected" ]; then
  echo "ok: the files where they belong"
else
  fail "the files where they belong"
  diff <(echo "$expected") <(echo "$actual") >&2 || true
fi
check "the program is executable" test -x "$root/usr/bin/trelvan"
check "the device library has no development link" test ! -e "$root/usr/lib/trelvan/libkavrel.so"

dynamic=$(readelf -d "$root/usr/bin/trelvan")
check "RUNPATH \$ORIGIN/../lib/trelvan" grep -Fq 'Library runpath: [$ORIGIN/../lib/trelvan]' <<<"$dynamic"
check "no RPATH (LD_LIBRARY_PATH comes first)" bash -c '! grep -q "(RPATH)" <<<"$1"' _ "$dynamic"
check "the device library found beside the program" \
  grep -Fq "libkavrel.so.1 => $root/usr/bin/../lib/trelvan/libkavrel.so.1" <<<"$(ldd "$root/usr/bin/trelvan")"
mkdir "$work/real"
cp "$root/usr/lib/trelvan/libkavrel.so.1.0.0" "$work/real/libkavrel.so.1"
check "a library in LD_LIBRARY_PATH takes its place" \
  grep -Fq "libkavrel.so.1 => $work/real/libkavrel.so.1" <<<"$(LD_LIBRARY_PATH="$work/real" ldd "$root/usr/bin/trelvan")"

# --- Menu entry, icon and software-centre entry, where the tools exist -------
desktop="$root/usr/share/applications/trelvan.desktop"
if command -v desktop-file-validate >/dev/null; then
  check "desktop-file-validate" desktop-file-validate "$desktop"
else
  echo "skipped: desktop-file-validate is not installed"
fi
if command -v appstreamcli >/dev/null; then
  check "appstreamcli validate --no-net" appstreamcli validate --no-net \
    "$root/usr/share/metainfo/org.example.trelvan.metainfo.xml"
  check "appstreamcli validate-tree --no-net (entry, menu entry and id agree)" \
    appstreamcli validate-tree --no-net "$root"
else
  echo "skipped: appstreamcli is not installed"
fi
if command -v rsvg-convert >/dev/null; then
  check "the icon draws" rsvg-convert -w 48 -h 48 -o "$work/icon.png" \
    "$root/usr/share/icons/hicolor/scalable/apps/trelvan.svg"
else
  echo "skipped: rsvg-convert is not installed"
fi

# --- The unpacked program ---------------------------------------------------
home="$work/home"
mkdir "$home"
bin="$root/usr/bin"
run() { env -u XDG_DATA_HOME HOME="$home" PATH="$bin:$PATH" "$@"; }

version_text=$(run env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb trelvan --version || true)
check "--version without a display" grep -Eq "^Trelvan $version \(built .+\)$" <<<"$version_text"
help_text=$(run env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb trelvan --help || true)
check "--help names the user's data folder" grep -Fq "$home/.local/share/trelvan/data/" <<<"$help_text"
check "--help creates nothing" test ! -e "$home/.local/share/trelvan"

command=$(sed -n 's/^Exec=//p' "$desktop")
check "the menu entry starts trelvan" test "$command" = trelvan
# env replaces itself with the program: $! is the program's process.
env -u XDG_DATA_HOME HOME="$home" PATH="$bin:$PATH" $command >"$work/program.log" 2>&1 &
pid=$!
window=""
for _ in $(seq 1 300); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Trelvan <???>"'; then window=yes; break; fi
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
if [ -n "$window" ]; then
  echo "ok: window found: Trelvan <???>"
  check "the module is the unpacked simulated one" \
    grep -Fq "$root/usr/lib/trelvan/libkavrel.so.1.0.0" "/proc/$pid/maps"
  check "auto-save folder in the user's data folder" test -d "$home/.local/share/trelvan/data"
  check "nothing made beside the executable" test ! -e "$bin/data"
else
  cat "$work/program.log" >&2
  fail "no window titled 'Trelvan <???>' appeared"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "the package installs and runs"

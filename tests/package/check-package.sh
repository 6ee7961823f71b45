#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what it holds:
# its dependencies, its files, and that the desktop entry, the metainfo and
# the program itself are sound once unpacked into a scratch root.
# Usage: check-package.sh BUILD_FOLDER
set -euo pipefail
build="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null) || fail "cpack could not make the package"
deb="$(ls "$scratch"/out/*.deb)"
echo "package: $(basename "$deb")"

depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6widgets6 libqt6gui6 libqt6svg6 libqt6printsupport6 libqt6core6 libc6; do
    grep -q "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
done

app=org.example.kelmo_note.KelmoNote
files="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for file in ./usr/bin/kelmo-note ./usr/share/applications/$app.desktop ./usr/share/metainfo/$app.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/$app.svg ./usr/share/icons/hicolor/48x48/apps/$app.png \
    ./usr/share/icons/hicolor/256x256/apps/$app.png ./usr/share/man/man1/kelmo-note.1 \
    ./usr/share/kelmo-note/artwork/ring-29x25.kpx ./usr/share/kelmo-note/artwork/icon-44x44.kpx; do
    grep -qx -- "$file" <<<"$files" || grep -qx -- "$file.gz" <<<"$files" || fail "the package lacks $file"
done

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$app.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net --explain "$root/usr/share/metainfo/$app.metainfo.xml" ||
    fail "the metainfo is not valid"
[ -x "$root/usr/bin/kelmo-note" ] || fail "the program is not executable"
if ldd "$root/usr/bin/kelmo-note" | grep -q 'not found'; then
    fail "the program needs libraries that are not there: $(ldd "$root/usr/bin/kelmo-note" | grep 'not found')"
fi
# The printing module, where the program looks for it beside the others.
module="$(find "$root/usr/lib" -path '*/kelmo-note/kelmo-note-printing.so')"
[ -n "$module" ] || fail "the package lacks the printing module"
if ldd "$module" | grep -q 'not found'; then
    fail "the printing module needs libraries that are not there: $(ldd "$module" | grep 'not found')"
fi
ldd "$root/usr/bin/kelmo-note" | grep -q -e libQt6PrintSupport -e libQt6Svg &&
    fail "the program itself loads Qt's print support or SVG library at start"
file_type="$(od -An -c -N4 "$root/usr/share/icons/hicolor/48x48/apps/$app.png" | tr -d ' ')"
[ "$file_type" = "211PNG" ] || fail "the 48x48 icon is not a PNG"
man -l "$root/usr/share/man/man1/kelmo-note.1"* >/dev/null 2>&1 || [ ! -x /usr/bin/man ] ||
    fail "the manual page does not format"
echo "the package is sound"

#!/bin/sh
# Packs the build with cpack, unpacks the .deb into a scratch root and checks
# what a user gets: every file in place, metadata that validates, manual pages
# that render, and programs that run from the unpacked /usr layout.
# Argument: the build folder (already built; nothing is rebuilt).
set -eu
build=$1
for tool in dpkg-deb dpkg-shlibdeps; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is missing (Debian packages dpkg and dpkg-dev), no package to check"
        exit 77
    fi
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; fail "cpack -G DEB failed"; }
deb="$tmp/out/tolvane_1.10_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb") was made"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tolvane ] && [ "$(field Version)" = 1.10 ] || fail "wrong package name or version"
field Depends | grep -q 'libqt6widgets6' || fail "the dependencies were not computed: $(field Depends)"
field Depends | grep -q 'libstorm9' || fail "StormLib is not among the dependencies: $(field Depends)"
field Depends | grep -q 'libqscintilla2-qt6' || fail "the editor's QScintilla is not a dependency: $(field Depends)"
[ "$(field Suggests)" = wine ] || fail "wine is not suggested"
[ -n "$(field Maintainer)" ] && [ -n "$(field Section)" ] || fail "no maintainer or section"

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
usr="$root/usr"
id=org.example.tolvane
for file in bin/tolvane bin/tolvane-cli bin/tolvane-launch libexec/tolvane/tolvane-maps \
    share/tolvane/Func.txt share/tolvane/1.36/Syn.txt share/tolvane/1.26/AIConst.txt \
    share/applications/$id.desktop share/icons/hicolor/scalable/apps/tolvane.svg \
    share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml share/doc/tolvane/copyright \
    share/man/man1/tolvane.1.gz share/man/man1/tolvane-cli.1.gz share/man/man1/tolvane-launch.1.gz; do
    [ -e "$usr/$file" ] || fail "$file is not in the package"
done
if [ -e "$build/src/app/tolvane-bridge.exe" ]; then
    [ -e "$usr/bin/tolvane-bridge.exe" ] || fail "the bridge helper was built but is not in the package"
fi
grep -qx 'Exec="/usr/bin/tolvane-launch" %F' "$usr/share/applications/$id.desktop" ||
    fail "the desktop entry does not start /usr/bin/tolvane-launch"

# Validators, where installed; their verdict is what software centres and menus apply.
validate() {
    if command -v "$1" >/dev/null 2>&1; then
        "$@" || fail "$* does not pass"
    else
        echo "note: $1 is not installed, not run"
    fi
}
validate desktop-file-validate "$usr/share/applications/$id.desktop"
validate appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml"
mkdir -p "$tmp/mime/packages"
cp "$usr/share/mime/packages/$id.xml" "$tmp/mime/packages/"
if command -v update-mime-database >/dev/null 2>&1; then
    # It reports a faulty definition on standard error but exits 0.
    errors=$(XDG_DATA_DIRS="$tmp" update-mime-database "$tmp/mime" 2>&1)
    [ -z "$errors" ] || fail "the file type definition: $errors"
    grep -q ':text/x-jass:\*\.j$' "$tmp/mime/globs2" || fail "*.j is not a JASS script"
    grep -q ':application/x-warcraft3-map:\*\.w3x$' "$tmp/mime/globs2" || fail "*.w3x is not a map"
else
    echo "note: update-mime-database is not installed, not run"
fi
for page in tolvane tolvane-cli; do
    gzip -t "$usr/share/man/man1/$page.1.gz" || fail "$page.1.gz is not gzip"
    if command -v groff >/dev/null 2>&1; then
        warnings=$(gzip -dc "$usr/share/man/man1/$page.1.gz" | groff -man -ww -z 2>&1)
        [ -z "$warnings" ] || fail "$page(1) has warnings: $warnings"
    fi
done

# The programs run from the unpacked tree, the launcher finding its data there.
cli="$usr/bin/tolvane-cli"
help=$("$cli" --help) || fail "tolvane-cli --help failed"
if printf '%s\n' "$help" | grep -q -- '--version'; then
    [ "$("$cli" --version)" = "tolvane-cli 1.10" ] || fail "tolvane-cli --version does not print its version"
fi
printf 'function Start takes nothing returns nothing\r\nendfunction\r\n' >"$tmp/script.j"
[ "$("$cli" check "$tmp/script.j")" = "$tmp/script.j: No errors found!" ] || fail "tolvane-cli check does not run"
work=$(XDG_DATA_HOME="$tmp/xdg" "$usr/bin/tolvane-launch" --seed-only) || fail "the launcher failed"
cmp -s "$usr/share/tolvane/Func.txt" "$work/Func.txt" || fail "the launcher did not fill the working folder"
echo "package: $(basename "$deb") passed every check"

#!/bin/sh
# Installs the build into a temporary prefix and checks the installed
# launcher: it fills a per-user working folder with the shipped files, keeps
# the user's edits, and starts the editor in that folder from any folder.
# Arguments: the build folder and the repository's data folder.
set -eu
build=$1
data=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
for file in bin/tolvane bin/tolvane-cli bin/tolvane-launch \
    share/tolvane/Func.txt share/tolvane/1.36/Func.txt share/tolvane/1.26/AIConst.txt \
    share/applications/org.example.tolvane.desktop share/icons/hicolor/scalable/apps/tolvane.svg; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done
[ ! -e "$prefix/share/tolvane/.gitattributes" ] || fail "repository files are installed with the data"
grep -qx "Exec=\"$prefix/bin/tolvane-launch\" %F" "$prefix/share/applications/org.example.tolvane.desktop" ||
    fail "the desktop entry does not start the installed launcher"
grep -qx "Icon=tolvane" "$prefix/share/applications/org.example.tolvane.desktop" || fail "the desktop entry has no icon"

# First start, from an unrelated folder.
mkdir "$tmp/elsewhere"
cd "$tmp/elsewhere"
work=$(XDG_DATA_HOME="$tmp/xdg" "$prefix/bin/tolvane-launch" --seed-only)
[ "$work" = "$tmp/xdg/tolvane" ] || fail "working folder is '$work'"
diff -r -x '.git*' "$data" "$work" >/dev/null || fail "the working folder does not hold the shipped files"
[ -z "$(ls -A "$tmp/elsewhere")" ] || fail "the launcher wrote into the current folder"

# Later starts keep edited files and bring back deleted ones.
echo "Mine takes nothing returns nothing" >"$work/Func.txt"
rm "$work/1.26/Syn.txt"
XDG_DATA_HOME="$tmp/xdg" "$prefix/bin/tolvane-launch" --seed-only >/dev/null
[ "$(cat "$work/Func.txt")" = "Mine takes nothing returns nothing" ] || fail "an edited file was replaced"
cmp -s "$data/1.26/Syn.txt" "$work/1.26/Syn.txt" || fail "a deleted file did not come back"

# Without XDG_DATA_HOME the folder is under the home folder.
home_work=$(env -u XDG_DATA_HOME HOME="$tmp/home" "$prefix/bin/tolvane-launch" --seed-only)
[ "$home_work" = "$tmp/home/.local/share/tolvane" ] || fail "working folder without XDG_DATA_HOME is '$home_work'"
[ -f "$home_work/AIFunc.txt" ] || fail "the home working folder was not filled"

# The editor starts in the working folder: a stand-in records where.
cat >"$prefix/bin/tolvane" <<STANDIN
#!/bin/sh
pwd -P >"$tmp/started-in"
printf '%s|' "\$@" >"$tmp/started-on"
STANDIN
chmod +x "$prefix/bin/tolvane"
ln -s "$prefix/bin/tolvane-launch" "$tmp/elsewhere/link-to-launcher"
XDG_DATA_HOME="$tmp/xdg" ./link-to-launcher "my map.j" /abs/b.ai
[ "$(cat "$tmp/started-in")" = "$(cd "$work" && pwd -P)" ] || fail "the editor did not start in the working folder"
[ "$(cat "$tmp/started-on")" = "$PWD/my map.j|/abs/b.ai|" ] || fail "the files reached the editor as $(cat "$tmp/started-on")"

"$prefix/bin/tolvane-cli" import --help | grep -q '\.ai' || fail "the installed tolvane-cli does not run"
echo "launcher: all checks passed"

#!/usr/bin/env bash
# Lints the vJASS map project of the test data as the map is built: the
# enabled triggers of its trigger tree, in the tree's order, after the game's
# common.j and blizzard.j. The project keeps the globals of its GUI triggers
# in variable.lml, not in a war3map.j; this writes them into a stand-in
# war3map.j (udg_ variables, a gg_trg_ global per trigger, and the other gg_
# objects of the map's older compiled script) and passes it with --map.
#
#   tools/vjass-yardstick.sh [JASS_DATA] [CLI]    # prints the findings, exits as lint does
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
data="${1:-${JASS_DATA:-$root/../shared/jass-data}}"
cli="${2:-${BUILD_DIR:-$root/build}/src/cli/tolvane-cli}"
project="$data/vjass/titanland/trigger"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The trigger tree: "Category: name" at the left, "    'NN-Trigger': 'Name'"
# below, and "        Disab" or "        Comment" under a trigger that is one.
awk '
  function unquote(s) { gsub(/^'"'"'|'"'"'$/, "", s); return s }
  /^[^ ]/ { flush(); split($0, a, ": "); category = unquote(a[1]); next }
  /^    [^ ]/ { flush(); line = substr($0, 5); split(line, a, ": "); file = unquote(a[1]); name = unquote(a[2]); kind = ""; next }
  /^        / { kind = substr($0, 9); next }
  function flush() { if (file != "") print category "\t" file "\t" name "\t" kind; file = "" }
  END { flush() }
' "$project/catalog.lml" >"$work/tree.tsv"

# The enabled triggers written in JASS, in the order of the tree.
: >"$work/files"
while IFS=$'\t' read -r category file name kind; do
    path="$category/$file.j"
    if [ "$kind" != "Disab" ] && [ -f "$project/$path" ]; then
        printf '%s\0' "$path" >>"$work/files"
    fi
done <"$work/tree.tsv"

# The stand-in war3map.j.
{
    echo "globals"
    # variable.lml: "Name: type", then "    Array : N" for an array.
    awk '
      function flush() {
        if (name == "") return
        t = type
        if (t ~ /code$|^heroskill$|^ordercode$/) t = "integer"
        if (t ~ /^(imagefile|modelfile|stringext|skymodelstring|musictheme|anyfile|preloadfile|scriptcode)$/) t = "string"
        print "    " t (array ? " array" : "") " udg_" name
        name = ""
      }
      /^[^ ]/ { flush(); split($0, a, ": "); name = a[1]; type = a[2]; array = 0; next }
      /^    Array/ { array = 1 }
      END { flush() }
    ' "$project/variable.lml"
    awk -F '\t' '$4 != "Comment" { name = $3; gsub(/[^A-Za-z0-9_]/, "_", name); print "    trigger gg_trg_" name }' \
        "$work/tree.tsv" | sort -u
    # Sounds, rects, cameras... of the map, as its older script declares them.
    sed -n '/^globals/,/^endglobals/p' "$data/scripts/maps/titanland-lop_war3map.j" \
        | grep -E '^ *[a-z]+ +gg_' | grep -v 'gg_trg_' || true
} >"$work/war3map.j"
# Objects placed after that script was written: the editor declares one per
# object, typed by its prefix.
(cd "$project" && xargs -0 cat) <"$work/files" | grep -oE '\bgg_(snd|rct|cam|unit|dest|item)_[A-Za-z0-9_]+' | sort -u \
    | while read -r name; do
        grep -qE " $name\b" "$work/war3map.j" && continue
        case "$name" in
            gg_snd_*) type=sound ;; gg_rct_*) type=rect ;; gg_cam_*) type=camerasetup ;;
            gg_unit_*) type=unit ;; gg_dest_*) type=destructable ;; *) type=item ;;
        esac
        echo "    $type $name"
    done >>"$work/war3map.j"
echo "endglobals" >>"$work/war3map.j"

cd "$project"
status=0
xargs -0 "$cli" lint --api "$data/2.0.4/common.j" --api "$data/2.0.4/blizzard.j" --map "$work/war3map.j" \
    <"$work/files" || status=$?
echo "$(tr -cd '\0' <"$work/files" | wc -c) files" >&2
exit "$status"

#!/usr/bin/env bash
# Installs what is missing, builds and makes the Debian package
# tolvane_<version>_<arch>.deb in the build folder; prints its path.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/tools/install-deps.sh"
BUILD_DIR="$build" "$root/tools/build.sh" >/dev/null
if ! (cd "$build" && cpack -G DEB) >"$build/cpack.log" 2>&1; then
    cat "$build/cpack.log" >&2
    exit 1
fi
ls "$build"/tolvane_*.deb

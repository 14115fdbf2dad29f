#!/usr/bin/env bash
# Installs what is missing, builds and starts the editor in run/, a working
# folder that holds the language files it reads at start.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" -DBUILD_TESTING=OFF
mkdir -p "$root/run"
# Seed the working folder; never overwrite files the user edited there.
if [ -d "$root/data" ]; then
  find "$root/data" -maxdepth 1 -type f -name '*.txt' -exec cp -n {} "$root/run/" \;
fi
cd "$root/run"
exec "${BUILD_DIR:-$root/build}/src/app/tolvane" "$@"

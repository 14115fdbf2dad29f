#!/usr/bin/env bash
# Installs what is missing, builds and starts the editor in run/, a working
# folder that holds the language files it reads at start.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" -DBUILD_TESTING=OFF
mkdir -p "$root/run"
# Seed the working folder, subfolders (older patches) included; never
# overwrite files the user edited there.
if [ -d "$root/data" ]; then
  (cd "$root/data" && find . -type f -name '*.txt') | while IFS= read -r f; do
    if [ ! -e "$root/run/$f" ]; then
      mkdir -p "$root/run/$(dirname "$f")"
      cp "$root/data/$f" "$root/run/$f"
    fi
  done
fi
cd "$root/run"
exec "${BUILD_DIR:-$root/build}/src/app/tolvane" "$@"

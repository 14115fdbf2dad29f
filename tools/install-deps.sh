#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the editor need,
# skipping those already present. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # The editor control's view.
  libqscintilla2-qt6-dev
  qt6-qpa-plugins libxkbcommon-x11-0 fonts-dejavu-core
  # StormLib: the scripts inside maps (.w3x, .w3m archives).
  libstorm-dev
  # The bridge helper to the game editor under Wine, and its tests. 64-bit Wine
  # only: the 32-bit packages (wine32, an i386 architecture) break it here.
  g++-mingw-w64-x86-64-posix wine wine64
  # The Debian package (cpack reads the programs with file and dpkg-shlibdeps)
  # and the validators its test runs on the desktop entry, metainfo, file type
  # and manual pages.
  file dpkg-dev appstream desktop-file-utils shared-mime-info groff-base
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

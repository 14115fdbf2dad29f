#!/usr/bin/env bash
# Renders the SVG masters in this folder to the embedded PNGs (1x and 2x).
# Needs the Qt 6 SVG image plugin (Debian: libqt6svg6); the program itself
# does not, it embeds only the PNGs.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
g++ -std=c++20 -fPIC "$here/render-icons.cpp" $(pkg-config --cflags --libs Qt6Gui) -o "$tmp/render-icons"
QT_QPA_PLATFORM=offscreen "$tmp/render-icons" "$here"

#!/usr/bin/env bash
# Renders the About box's SVG masters to the embedded PNGs. Needs the Qt 6
# SVG image plugin (Debian: libqt6svg6); the program itself embeds only PNGs.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
g++ -std=c++20 -fPIC "$here/render-icons.cpp" $(pkg-config --cflags --libs Qt6Gui) -o "$tmp/render-icons"
QT_QPA_PLATFORM=offscreen "$tmp/render-icons" "$here"

#!/usr/bin/env bash
# Renders packaging/icons/tournevent.svg to the PNG sizes of the hicolor theme, committed under
# packaging/icons/hicolor/SIZExSIZE/apps/tournevent.png. Run it after changing the drawing
# (needs rsvg-convert, Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert --width "$size" --height "$size" tournevent.svg --output "hicolor/${size}x${size}/apps/tournevent.png"
done

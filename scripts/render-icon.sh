#!/usr/bin/env bash
# Renders the program icon's PNG sizes (kept in the program's resources and installed with
# the desktop entry) from resources/icons/vemora.svg. Run after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" vemora.svg -o "vemora-$size.png"
done

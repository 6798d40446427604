#!/usr/bin/env bash
# Installs Vemora's desktop entry and icon for the current user (under ~/.local/share), so
# that the desktop's program menu starts build/bin/vemora with its own icon. Nothing is
# installed system-wide; remove the files named below to undo it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
data="${XDG_DATA_HOME:-$HOME/.local/share}"
for size in 16 24 32 48 64 128 256; do
  install -Dm644 "$root/resources/icons/vemora-$size.png" "$data/icons/hicolor/${size}x${size}/apps/vemora.png"
done
install -Dm644 "$root/resources/icons/vemora.svg" "$data/icons/hicolor/scalable/apps/vemora.svg"
mkdir -p "$data/applications"
sed "s|^Exec=.*|Exec=\"$root/build/bin/vemora\"|" "$root/resources/vemora.desktop" >"$data/applications/vemora.desktop"
echo "Installeret: $data/applications/vemora.desktop"

#!/usr/bin/env bash
# Installs what is missing, builds Vemora and starts the desktop program on its program
# folder (build/bin). On the first start the folder gets a demo season to look at.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
BIN="$(pwd)/build/bin"
if ! ls "$BIN" | grep -qi '^sekdata\.mdb$'; then
  if "$BIN/vemora-cli" demo --help >/dev/null 2>&1; then
    echo "Første start: opretter en demosæson i $BIN ..."
    "$BIN/vemora-cli" --folder "$BIN" --yes demo >/dev/null || true
  fi
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  cat >&2 <<MSG
Der er ingen skærm (DISPLAY er ikke sat), så vinduet kan ikke vises.
Kør programmet uden skærm med:   QT_QPA_PLATFORM=offscreen $BIN/vemora
eller brug kommandolinjen:        $BIN/vemora-cli --help
MSG
  exit 1
fi
exec "$BIN/vemora" "$@"

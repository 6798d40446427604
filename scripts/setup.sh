#!/usr/bin/env bash
# Installs the Debian packages Vemora needs to build, run and test. Idempotent: packages
# already present are left alone, and apt is only asked when something is missing.
set -euo pipefail
PKGS=(
  build-essential cmake ninja-build pkg-config
  libsqlite3-dev sqlite3 locales
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libcli11-dev libzip-dev
  docx2txt python3-docx
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-dejavu-core
  xvfb xauth xdotool imagemagick poppler-utils
  librsvg2-bin
  clang-14 libclang-rt-14-dev
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installerer manglende pakker: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests check number formatting under a Danish (decimal comma) locale.
if ! locale -a 2>/dev/null | grep -qi '^da_DK\.utf-\?8$'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *da_DK.UTF-8 UTF-8/da_DK.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^da_DK.UTF-8 UTF-8' /etc/locale.gen || echo 'da_DK.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
fi

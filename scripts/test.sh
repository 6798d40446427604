#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, the exhaustive ones
# (CTest label "slow") included; a quicker run while working: cd build && ctest -LE slow
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2

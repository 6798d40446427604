#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the tests. The exhaustive variants
# (CTest label "slow") run with: cd build && ctest -L slow
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2 -LE slow

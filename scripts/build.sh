#!/usr/bin/env bash
# Configures and builds Vemora into build/ (Release with debug info). Two parallel jobs:
# the machines this is built on have two cores.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-2}
# A compiler cache, when the machine has one, makes rebuilds of unchanged sources cheap.
LAUNCHER=()
command -v ccache >/dev/null 2>&1 && LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${LAUNCHER[@]}" >/dev/null
fi
cmake --build "$BUILD_DIR" -j "$JOBS" "$@"

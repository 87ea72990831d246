#!/usr/bin/env bash
# Sets Ostrovik up on this machine and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd "${OSTROVIK_BUILD_DIR:-build}"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --output-on-failure -j "$(nproc)" --timeout 600

#!/usr/bin/env bash
# Sets Ostrovik up on this machine and starts the emulator.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec "${OSTROVIK_BUILD_DIR:-build}/bin/ostrovik" "$@"

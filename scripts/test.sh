#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs all three test tiers (unit, win, e2e).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

# The Windows tests start their own Xvfb display, PulseAudio server and wineserver (tools/testenv).
cmake --preset windows
cmake --build --preset windows
ctest --preset windows

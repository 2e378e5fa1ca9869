#!/usr/bin/env bash
# Installs what is missing, builds the presets and runs all test tiers: unit, the same under the sanitizers
# with the fuzz targets, win and e2e.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and each fuzz target for
# a bounded time from its committed seeds.
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize

# The Windows tests start their own Xvfb display, PulseAudio server and wineserver (tools/testenv).
cmake --preset windows
cmake --build --preset windows
ctest --preset windows

#!/usr/bin/env bash
# Set-up and build, then every test; ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh --all
export QT_QPA_PLATFORM=offscreen
cd build && ctest --output-on-failure -j "$(nproc)" --timeout 300

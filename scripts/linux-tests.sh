#!/usr/bin/env bash
# Runs every Linux test in build/ once (what scripts/setup.sh --all built),
# offscreen; ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/../build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j "$(nproc)" --timeout 300

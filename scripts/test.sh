#!/usr/bin/env bash
# Set-up and build, then every test; ends with ctest's summary. Then the Linux
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer
# (scripts/sanitize.sh), then the Windows build's tests under wine
# (scripts/windows.sh). RAVO_SKIP_WINDOWS=1 leaves Windows out and
# RAVO_SKIP_SANITIZE=1 the sanitizers, for a quick local run. Prints how long
# each phase took.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/phases.sh

phase "set-up" ./scripts/setup.sh --install
phase "Linux build" ./scripts/setup.sh --all
phase "Linux tests" ./scripts/linux-tests.sh
if [ "${RAVO_SKIP_SANITIZE:-0}" = "1" ]; then
  echo "test: sanitizer build skipped (RAVO_SKIP_SANITIZE=1)" >&2
else
  phase "sanitizer build and tests" ./scripts/sanitize.sh
fi
if [ "${RAVO_SKIP_WINDOWS:-0}" = "1" ]; then
  echo "test: Windows tests skipped (RAVO_SKIP_WINDOWS=1)" >&2
else
  phase "Windows build" ./scripts/windows.sh --build
  phase "Windows tests" ./scripts/windows.sh --test
fi
phase_summary

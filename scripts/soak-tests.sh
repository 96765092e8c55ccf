#!/usr/bin/env bash
# Runs a whole test suite N times in a row and counts the runs that passed, to
# show that it passes every time, not now and then. Builds first.
#   scripts/soak-tests.sh N [linux|windows]    (default: linux, then windows)
# The Windows runs share one prefix, made fresh at the start. Each run's log
# is kept in soak-logs/; the figures are printed at the end. Exits non-zero
# when any run failed.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:?usage: soak-tests.sh N [linux|windows]}
suites=${2:-linux windows}
logs=$PWD/soak-logs
mkdir -p "$logs"
summary=()
failed=0

for suite in $suites; do
  case $suite in
    linux) ./scripts/setup.sh --all >/dev/null; run=(./scripts/linux-tests.sh) ;;
    windows) ./scripts/windows.sh --build >/dev/null; rm -rf build-windows/wineprefix; run=(./scripts/windows.sh --test) ;;
    *) echo "soak: unknown suite '$suite' (linux, windows)" >&2; exit 2 ;;
  esac
  passed=0
  for i in $(seq 1 "$runs"); do
    log="$logs/$suite-$i.log"
    start=$(date +%s)
    if "${run[@]}" >"$log" 2>&1; then
      passed=$((passed + 1)); verdict=passed
    else
      failed=1; verdict="FAILED: $(grep -E '^[[:space:]]+[0-9]+ - ' "$log" | grep -v '(Skipped)' | tr -s ' ' | paste -sd ';' - || true)"
    fi
    echo "soak: $suite run $i of $runs: $verdict ($(grep -E 'tests passed' "$log" | tail -1 || true)) $(( $(date +%s) - start )) s" >&2
  done
  summary+=("$suite: $passed of $runs runs passed")
done
printf 'soak: %s\n' "${summary[@]}"
exit $failed

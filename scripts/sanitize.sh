#!/usr/bin/env bash
# Builds Linux test programs with sanitizers and runs them, one ctest entry per
# test program (a sanitized program's start is what costs).
#   scripts/sanitize.sh            AddressSanitizer + UndefinedBehaviorSanitizer
#                                  on the core's and the simulator's test programs
#                                  (build-asan/): what CI runs
#   scripts/sanitize.sh --all      the same on every test program, desktop included
#   scripts/sanitize.sh --thread   ThreadSanitizer: the programs whose tests run
#                                  threads: jobs, link, simulator, desktop (build-tsan/)
# Optimised at -O1 with line tables only: a full debug build takes twice as
# long to compile and the reports still name file and line.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh --install

core_programs=(tests_link tests_sim tests_divedata_jobs tests_firmware tests_settings)
case "${1:-}" in
  --thread)
    build=build-tsan
    flags="-fsanitize=thread"
    programs=("${core_programs[@]}" tests_divedata_sim tests_settings_e2e tests_app_shell tests_desktop_faults
              tests_desktop_dive tests_desktop_shell tests_desktop_unit_view)
    # Qt and GLib are not built with ThreadSanitizer: their own locking is
    # invisible to it. scripts/tsan.supp names that third-party code (the
    # hand-off of a queued call between threads) and nothing of ours.
    export TSAN_OPTIONS="halt_on_error=0 second_deadlock_stack=1 report_signal_unsafe=0 history_size=4 suppressions=$PWD/scripts/tsan.supp ${TSAN_OPTIONS:-}"
    ;;
  --all | "")
    build=build-asan
    flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
    if [ "${1:-}" = --all ]; then programs=(); else programs=("${core_programs[@]}"); fi
    export ASAN_OPTIONS="detect_leaks=1 detect_stack_use_after_return=0 ${ASAN_OPTIONS:-}"
    export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp print_suppressions=0 ${LSAN_OPTIONS:-}"
    export UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1 ${UBSAN_OPTIONS:-}"
    ;;
  *) echo "usage: sanitize.sh [--all|--thread]" >&2; exit 2 ;;
esac
# Tests that hold real time to a few tens of milliseconds (link time running
# 50 times faster than real time, the wake-on-data measurement) are left to the
# plain suite: a sanitized program is two to ten times slower.
export GTEST_FILTER="${GTEST_FILTER:--DownloadTest.*:WakeOnDataTest.*}"

. scripts/lib/packages.sh
use_ccache
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Sanitize -DRAVO_BENCH=OFF -DRAVO_TEST_PER_PROGRAM=ON \
  -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1 -fno-omit-frame-pointer $flags" \
  -DCMAKE_EXE_LINKER_FLAGS_SANITIZE="$flags" >/dev/null
if [ ${#programs[@]} -gt 0 ]; then
  cmake --build "$build" -j "$(nproc)" --target "${programs[@]}"
  filter="^($(IFS='|'; echo "${programs[*]}"))\$"
else
  cmake --build "$build" -j "$(nproc)"
  filter="."
fi

export QT_QPA_PLATFORM=offscreen
cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 1200 -R "$filter"

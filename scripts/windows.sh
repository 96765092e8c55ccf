#!/usr/bin/env bash
# Cross-builds the core, ravo-cli.exe, ravo-unit-sim.exe and the tests for
# 64-bit Windows into build-windows/ (mingw-w64, no Qt) and runs the tests
# under wine, headless. Installs what is missing first, like setup.sh.
#   scripts/windows.sh            build and test
#   scripts/windows.sh --build    build only
#   scripts/windows.sh --test     test only (what was built last)
# A test that hangs fails with its name at the time-out; nothing is re-run.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
mode=${1:-all}
build=build-windows

ensure_packages cmake make g++-mingw-w64-x86-64-posix wine wine64 googletest libcli11-dev nlohmann-json3-dev

if [ "$mode" != "--test" ]; then
  mkdir -p "$build/header-deps"
  # The header-only libraries, alone in a folder: the host's /usr/include must
  # not reach the cross compiler.
  ln -sfn /usr/include/CLI "$build/header-deps/CLI"
  ln -sfn /usr/include/nlohmann "$build/header-deps/nlohmann"
  use_ccache
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" -DRAVO_QT=OFF \
    -DRAVO_HEADER_DEPS="$PWD/$build/header-deps" -DRAVO_GTEST_SOURCE=/usr/src/googletest >/dev/null
  cmake --build "$build" -j "$(nproc)"
fi
[ "$mode" = "--build" ] && exit 0

# Headless wine in a prefix of its own: no display, no debug chatter, no
# offer to install Mono or Gecko.
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# One server for the whole run, started persistent before anything else uses
# the prefix. Left to itself, wine's server ends three seconds after the last
# program, and a test program that starts while it is shutting down is cut
# off from it ("wine client error: recvmsg: Connection reset by peer").
# (A "-p" given once a server runs is refused.) Its output goes nowhere, so it
# cannot hold ctest's output open.
mkdir -p "$WINEPREFIX"
# One test run at a time on this prefix: a second run's "wineserver -k" would
# end the server under the first run's programs, and a program cut off from
# its server ends without a word (no output, status 0 or SIGQUIT).
# (The lock is this script's alone: what it starts gets the file closed, so
# a server or program left behind cannot hold it.)
exec 9>"$build/wineprefix.lock"
flock 9
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p </dev/null >/dev/null 2>&1 9>&-
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineboot -u </dev/null >/dev/null 2>&1 9>&-

cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 300 9>&-

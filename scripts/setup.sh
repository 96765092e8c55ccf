#!/usr/bin/env bash
# Installs what the build needs (Debian/Ubuntu), configures and builds the
# programs (ravo-config, ravo-cli, ravo-unit-sim) into build/; with --all also
# the tests and benchmarks; with --install only installs. Safe to run again:
# it installs only what is missing and rebuilds incrementally.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh

# libxml2-utils (xmllint) checks the UDDF export against its schema, poppler-utils
# (pdftoppm) renders the PDF report in the tests.
ensure_packages cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libcurl4-openssl-dev libgtest-dev \
  libcli11-dev nlohmann-json3-dev locales desktop-file-utils appstream ccache libxml2-utils poppler-utils

# A locale with a decimal comma, so the tests can prove that files and status
# lines are written in the C locale whatever the user's locale is.
has_de_locale() { locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; }
if ! has_de_locale; then
  if [ -f /etc/locale.gen ]; then
    as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null || echo "setup: locale-gen failed" >&2
  else
    as_root locale-gen de_DE.UTF-8 >/dev/null || echo "setup: locale-gen de_DE.UTF-8 failed" >&2
  fi
fi
if ! has_de_locale; then
  # Without it the locale tests skip; CI must prove the guarantee, not skip it.
  if [ "${CI:-}" = "true" ]; then
    echo "setup: the de_DE.UTF-8 locale could not be generated; the C-locale tests cannot run" >&2
    exit 1
  fi
  echo "setup: warning: no de_DE.UTF-8 locale; the C-locale tests will be skipped" >&2
fi

[ "${1:-}" = "--install" ] && exit 0

use_ccache
cmake -S . -B build -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
if [ "${1:-}" = "--all" ]; then
  cmake --build build -j "$(nproc)"
else
  cmake --build build -j "$(nproc)" --target ravo-config ravo-cli ravo-unit-sim
fi

#!/usr/bin/env bash
# Installs what the build needs (Debian/Ubuntu), configures and builds the
# programs (ravo-config, ravo-cli, ravo-unit-sim) into build/; with --all also
# the tests and benchmarks. Safe to run again: it installs only what is
# missing and rebuilds incrementally.
set -euo pipefail
cd "$(dirname "$0")/.."

# libxml2-utils (xmllint) checks the UDDF export against its schema, poppler-utils
# (pdftoppm) renders the PDF report in the tests.
packages=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libcurl4-openssl-dev libgtest-dev
          libcli11-dev nlohmann-json3-dev locales desktop-file-utils appstream libxml2-utils poppler-utils)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# A locale with a decimal comma, so the tests can prove that files and status
# lines are written in the C locale whatever the user's locale is.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  if [ -f /etc/locale.gen ]; then
    "${sudo_cmd[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo_cmd[@]}" locale-gen >/dev/null || true
  else
    "${sudo_cmd[@]}" locale-gen de_DE.UTF-8 >/dev/null || true
  fi
fi

build_type=${BUILD_TYPE:-RelWithDebInfo}
if command -v ccache >/dev/null && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
if [ "${1:-}" = "--all" ]; then
  cmake --build build -j "$(nproc)"
else
  cmake --build build -j "$(nproc)" --target ravo-config ravo-cli ravo-unit-sim
fi

#!/usr/bin/env bash
# Installs the build in BUILD_DIR into a temporary prefix and validates the
# installed desktop entry and AppStream metainfo, and that the icon is there.
set -euo pipefail
build=${1:?usage: validate_desktop_files.sh BUILD_DIR}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
id=example.varnholm.RavoConfig
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
test -s "$prefix/share/icons/hicolor/scalable/apps/$id.svg"
test -x "$prefix/bin/ravo-config"
echo "desktop files valid"

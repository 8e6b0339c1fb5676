#!/usr/bin/env bash
# Builds everything and runs every test: the native tests (sanitizers on),
# then the Windows tests under Wine.  Exits non-zero when a build breaks or a
# test fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/build.sh
. scripts/display.sh

prefix="$PWD/build/mingw/wineprefix"
build/mingw/wine-run.sh --init
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; kill ${trelvane_xvfb_pid:-} 2>/dev/null || true' EXIT

status=0
echo "== native tests"
ctest --preset native -j2 || status=1
echo "== Windows tests under Wine"
ctest --preset mingw -j2 || status=1
exit $status

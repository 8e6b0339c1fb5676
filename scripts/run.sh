#!/usr/bin/env bash
# Builds the installer and starts it, on its embedded demo package, under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/build.sh --installer-only
. scripts/display.sh
build/mingw/wine-run.sh --init
echo "starting build/mingw/bin/InstallTrelvane7.08g.exe under Wine (display $DISPLAY)"
set +e
build/mingw/wine-run.sh build/mingw/bin/InstallTrelvane7.08g.exe
rc=$?
echo "installer exit code: $rc"
exit $rc

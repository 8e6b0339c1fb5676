#!/usr/bin/env bash
# Builds everything and runs every test: the native tests (sanitizers on),
# the fuzz targets over their seed corpora, then the Windows tests under Wine,
# the fault sweep and the kill sweep.  Exits non-zero when a build breaks or a
# test fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/build.sh
. scripts/display.sh

prefix="$PWD/build/mingw/wineprefix"
build/mingw/wine-run.sh --init
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; kill ${trelvane_xvfb_pid:-} 2>/dev/null || true' EXIT

# GoogleTest writes one XML report per program; the skipped cases are listed
# from them at the end, since CTest counts a program with skips as passed.
reports="$PWD/build/test-reports"
rm -rf "$reports"
mkdir -p "$reports/native" "$reports/mingw"

status=0
echo "== native tests"
GTEST_OUTPUT="xml:$reports/native/" ctest --preset native -j2 || status=1
echo "== fuzz targets"
# Built and run over their seed corpora every time, so that a change of an
# interface they use cannot leave them broken unnoticed.
{ cmake --preset fuzz >/dev/null && cmake --build --preset fuzz && ctest --preset fuzz -j2; } || status=1
echo "== Windows tests under Wine"
# Wine maps the root of the Linux file system to drive Z:.
GTEST_OUTPUT="xml:Z:$(printf '%s' "$reports/mingw/" | tr / '\\')" ctest --preset mingw -j2 || status=1
echo "== fault sweep"
# Every fault point, every damaged package, one killed run (README: Reliability).
bash scripts/fault-sweep.sh || status=1
echo "== kill sweep"
# Every point of the same scenarios held and killed, then recovered by the
# next start (README: Reliability).  Chained: a point recovered exactly is
# the next one's starting state, and the quiet run to the end follows the
# last point of each scenario and any point that differs.
bash scripts/fault-sweep.sh kills --chained || status=1
echo "== summary"
python3 scripts/skipped-tests.py "$reports/native" "$reports/mingw"
[ $status = 0 ] && echo "all tests passed" || echo "SOME TESTS FAILED (see above)"
exit $status

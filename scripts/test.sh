#!/usr/bin/env bash
# Builds everything and runs every test: the Windows tests under Wine, then
# the fault sweep; beside them, on the other processor, the native build and
# its tests (sanitizers on), whose output follows once they are done.  The
# Windows tests mostly wait on the emulator and run one at a time where they
# share the prefix, so the native side costs no time of its own.  Exits
# non-zero when a build breaks or a test fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/build.sh --installer-only
. scripts/display.sh

prefix="$PWD/build/mingw/wineprefix"
build/mingw/wine-run.sh --init

# GoogleTest writes one XML report per program; the skipped cases are listed
# from them at the end, since CTest counts a program with skips as passed.
reports="$PWD/build/test-reports"
rm -rf "$reports"
mkdir -p "$reports/native" "$reports/mingw"

native_log="$PWD/build/native-tests.log"
(
  cmake --preset native >/dev/null
  echo "== native build"
  cmake --build --preset native -j1
  echo "== native tests"
  GTEST_OUTPUT="xml:$reports/native/" ctest --preset native -j2
) >"$native_log" 2>&1 &
native_pid=$!
trap 'kill $native_pid 2>/dev/null || true; WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; kill ${trelvane_xvfb_pid:-} 2>/dev/null || true' EXIT

status=0
echo "== Windows tests under Wine (the native build and tests run beside them: build/native-tests.log)"
# Wine maps the root of the Linux file system to drive Z:.
GTEST_OUTPUT="xml:Z:$(printf '%s' "$reports/mingw/" | tr / '\\')" ctest --preset mingw -j2 || status=1
echo "== fault sweep"
# Every fault point, every damaged package, one killed run (README: Reliability).
bash scripts/fault-sweep.sh || status=1
native_status=0
wait $native_pid || native_status=$?
cat "$native_log"
[ $native_status = 0 ] || { echo "native build or tests FAILED"; status=1; }
echo "== summary"
python3 scripts/skipped-tests.py "$reports/native" "$reports/mingw"
[ $status = 0 ] && echo "all tests passed" || echo "SOME TESTS FAILED (see above)"
exit $status

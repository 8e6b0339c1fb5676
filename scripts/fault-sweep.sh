#!/usr/bin/env bash
# The fault sweep on a built tree (scripts/build.sh): every fault point of a
# fresh installation, an update from 7.8.7.0 and a reinstallation made to
# fail once in the installer's fault flavour, every damaged package run
# through the shipped installer, and one killed run recorded.  Prints
#   fault sweep: P points × 3 scenarios (...), N restored exactly, M differ
#   damaged packages: N of N left nothing behind
# and exits non-zero when M > 0 or a damaged package misbehaved.  The test
# command runs it after the tests; arguments go to the sweep program
# (points, damaged, killed, --verbose).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
. scripts/display.sh
build/mingw/wine-run.sh --init
start=$(date +%s)
status=0
build/mingw/wine-run.sh build/mingw/tests-bin/fault_sweep.exe "$@" || status=$?
echo "fault sweep: $(( $(date +%s) - start )) s"
exit $status

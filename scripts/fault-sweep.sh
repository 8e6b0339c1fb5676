#!/usr/bin/env bash
# The fault sweep on a built tree (scripts/build.sh): every fault point of a
# fresh installation, an update from 7.8.7.0 and a reinstallation made to
# fail once in the installer's fault flavour, every damaged package run
# through the shipped installer, and one killed run recorded.  Prints
#   fault sweep: P points × 3 scenarios (...), N restored exactly, M differ
#   damaged packages: N of N left nothing behind
# and exits non-zero when M > 0 or a damaged package misbehaved.  With the
# argument "kills", the kill sweep instead: every point of the same
# scenarios held, killed and recovered by the next start; prints
#   kill sweep: P points × 3 scenarios, N recovered exactly, M differ
# and exits non-zero when M > 0.  The test command runs both after the
# tests; arguments go to the sweep program (points, damaged, killed, kills,
# --verbose).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
. scripts/display.sh
build/mingw/wine-run.sh --init
start=$(date +%s)
status=0
build/mingw/wine-run.sh build/mingw/tests-bin/fault_sweep.exe "$@" || status=$?
label="fault sweep"
case " $* " in *" kills "*) label="kill sweep" ;; esac
echo "$label: $(( $(date +%s) - start )) s"
exit $status

#!/usr/bin/env bash
# Builds the installer and runs it, on its embedded demo package, under Wine.
# With a display, the wizard opens on it for the person at the machine.
# Without one, a private X server is started and a quick installation is
# driven through the real wizard (Start, Mode, Install, End, Exit) by the
# window driver (tests-bin/wizard_pilot.exe); then the run prints the
# progress text, where the product went and the screenshots it took.
# Exits 0 only when the installation succeeded.  A second run is a
# reinstallation.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

step() { echo; echo "== $*"; }

had_display=${DISPLAY:-}
step "1/4 set-up and build (a first build takes many minutes; the build prints [done/total] steps)"
bash scripts/build.sh --installer-only
step "2/4 Wine prefix and display"
. scripts/display.sh
build/mingw/wine-run.sh --init
run=build/mingw/wine-run.sh
installer=build/mingw/bin/InstallTrelvane7.08g.exe

if [ -n "$had_display" ]; then
  step "3/4 starting $installer under Wine (display $DISPLAY)"
  set +e
  $run "$installer"
  rc=$?
  set -e
  echo "installer exit code: $rc"
  exit $rc
fi

pilot=build/mingw/tests-bin/wizard_pilot.exe
shots=build/run-screenshots
rm -rf "$shots"
mkdir -p "$shots"
state=$($run "$pilot" state | tr -d '\r')
step "3/4 no display: a quick installation through the wizard under Xvfb ($DISPLAY): $state"
[ "$state" = reinstallation ] && echo "the product of this build is installed already: this run is a reinstallation"

$run "$installer" &
installer_pid=$!
trap 'kill $installer_pid 2>/dev/null || true; kill ${trelvane_xvfb_pid:-} 2>/dev/null || true' EXIT

set +e
shot() {  # shot NAME: the wizard's window as it is now
  local geometry
  geometry=$($run "$pilot" wait | tr -d '\r') &&
    import -window root -crop "$geometry" +repage "$shots/$1.png" &&
    echo "  page shown: $1 ($shots/$1.png)"
}
driven=0
pilot_do() {  # one step of the wizard; a step that fails stops the road
  $run "$pilot" "$@" || { echo "the wizard did not take the step: $*" >&2; driven=1; return 1; }
}
installed=0
if shot 1-start && pilot_do next && shot 2-mode && pilot_do next && shot 3-install-before; then
  echo "  Install pressed; waiting for the end of the run"
  $run "$pilot" install && installed=1
  shot 4-install-after
  echo
  echo "progress text and status of the Install page:"
  $run "$pilot" progress | sed 's/^/  /'
  [ $installed = 1 ] && pilot_do next && shot 5-end
fi
$run "$pilot" exit || kill $installer_pid 2>/dev/null
wait $installer_pid
rc=$?
set -e
# Wine's own processes hold the private display: stop them before it.
trap 'WINEPREFIX="$PWD/build/mingw/wineprefix" wineserver -k 2>/dev/null || true; kill ${trelvane_xvfb_pid:-} 2>/dev/null || true' EXIT

step "4/4 what the installation left"
$run "$pilot" report 12
echo "screenshots:"
for f in "$shots"/*.png; do echo "  $f"; done
echo "installer exit code: $rc"
if [ $driven != 0 ] || [ $installed != 1 ] || [ $rc != 0 ]; then
  echo "the installation FAILED"
  exit $(( rc != 0 ? rc : 1 ))
fi
echo "the $state succeeded"

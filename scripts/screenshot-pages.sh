#!/usr/bin/env bash
# Screenshots of the wizard under Xvfb: the Start, Mode, Folder and Shortcut
# pages (advanced installation) in English, then in German; then in English
# the About box, the exit confirmation, the Install page before and after
# an installation of the embedded package and the End page, as PNG files in
# docs/screenshots/ (shown by the README), or in the folder given.  The
# installation is removed again at the end.  Needs the mingw build
# (installer and tests-bin/wizard_pilot.exe) and ImageMagick's import.
#   bash scripts/screenshot-pages.sh [FOLDER]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
. scripts/display.sh

# Another build tree, or another way to start its programs, may be given.
build=${TRELVANE_BUILD:-build/mingw}
run=${TRELVANE_RUN:-$build/wine-run.sh}
pilot=$build/tests-bin/wizard_pilot.exe
out=${1:-docs/screenshots}
mkdir -p "$out"
[ -n "${TRELVANE_RUN:-}" ] || $run --init

# A fresh installation with English as the persisted language.
$run "$pilot" prepare
$run "$build/bin/InstallTrelvane7.08g.exe" &
installer=$!
trap '$run "$pilot" clean || true; kill $installer 2>/dev/null || true; kill ${trelvane_xvfb_pid:-} 2>/dev/null || true' EXIT

picture() {  # picture NAME GEOMETRY
  import -window root -crop "$2" +repage "$out/$1.png"
  echo "$out/$1.png"
}
shot() {  # shot NAME: the wizard's window as it is now
  picture "$1" "$($run "$pilot" wait | tr -d '\r')"
}

# Start, Mode, then the advanced installation's Folder and Shortcut pages.
pages() {  # pages LANGUAGE
  shot start-$1
  $run "$pilot" next
  shot mode-$1
  $run "$pilot" advanced
  $run "$pilot" next
  shot folder-$1
  $run "$pilot" next
  shot shortcut-$1
  for _ in 1 2 3; do $run "$pilot" back; done
}

pages english
$run "$pilot" language 2  # German: third in the list
pages german
$run "$pilot" language 1  # English
picture about "$($run "$pilot" about | tr -d '\r')"
$run "$pilot" close-about
$run "$pilot" next
picture exit-question "$($run "$pilot" ask-exit | tr -d '\r')"
$run "$pilot" answer-no
for _ in 1 2 3; do $run "$pilot" next; done
shot install-before
$run "$pilot" install
shot install-after
$run "$pilot" next
shot end
$run "$pilot" exit
wait $installer || true

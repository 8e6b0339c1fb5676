#!/usr/bin/env bash
# Wall time of a quick installation under Wine through the real installer:
# the embedded demo package, then a synthetic package of each SIZE MiB
# (default 100) carried by a copy of the installer.
#   bash bench/install_time.sh [SIZE_MIB ...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"
sizes=("${@:-100}")
. scripts/display.sh

cmake -S bench/generator -B build/bench-host -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-host >/dev/null
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target installer install_bench >/dev/null
run=build/mingw/wine-run.sh
bench=build/mingw/bench/install_bench.exe
installer="build/mingw/bin/InstallTrelvane7.08g.exe"
work="$here/build/bench/work"
mkdir -p "$work"

echo "demo package:"
$run "$bench" "$installer" | tr -d '\r' | sed 's/^/  /'
for size in "${sizes[@]}"; do
  pkg="$work/bench_${size}.pkg"
  [ -f "$pkg" ] || build/bench-host/make-bench-package "$pkg" "$size"
  echo "synthetic package of $size MiB ($(du -m "$pkg" | cut -f1) MiB compressed):"
  $run "$bench" "$installer" "Z:${pkg//\//\\}" | tr -d '\r' | sed 's/^/  /'
done

#!/usr/bin/env bash
# The package reader's benchmark: a fixed-seed synthetic package of SIZE MiB
# (default 100), verified and extracted under Wine through the installer's
# own code, against `bzip2 -dc` of the same stream measured in the same run.
#   bash bench/run.sh [SIZE_MIB ...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"
sizes=("${@:-100}")

cmake -S bench/generator -B build/bench-host -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-host >/dev/null
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target package_bench >/dev/null
work="$here/build/bench/work"
mkdir -p "$work"

seconds() { date +%s.%N; }
for size in "${sizes[@]}"; do
  pkg="$work/bench_${size}.pkg"
  [ -f "$pkg" ] || build/bench-host/make-bench-package "$pkg" "$size"
  t0=$(seconds); bzip2 -dc "$pkg" > /dev/null; t1=$(seconds)
  out="$work/out_${size}"
  rm -rf "$out"; mkdir -p "$out"
  result=$(build/mingw/wine-run.sh build/mingw/bench/package_bench.exe "Z:${pkg//\//\\}" "Z:${out//\//\\}" | tr -d '\r')
  rm -rf "$out"
  get() { sed -n "s/^$1=//p" <<<"$result"; }
  python3 - "$size" "$(get decompressed_bytes)" "$(get compressed_bytes)" "$(get verify_seconds)" \
    "$(get extract_seconds)" "$(awk "BEGIN{print $t1-$t0}")" "$(get peak_private_bytes)" \
    "$(get peak_working_set_bytes)" "$(get verified)" "$(get extracted)" <<'PY'
import sys
size, total, comp, v, x, bz, priv, ws, ok1, ok2 = sys.argv[1:]
total, comp, v, x, bz = int(total), int(comp), float(v), float(x), float(bz)
mib = total / 2**20
print(f"package {size} MiB: {mib:.0f} MiB decompressed from {comp/2**20:.1f} MiB (verified={ok1}, extracted={ok2})")
print(f"  bzip2 -dc:          {bz:6.2f} s  {mib/bz:7.1f} MiB/s")
print(f"  verify (decompress): {v:6.2f} s  {mib/v:7.1f} MiB/s  ratio to bzip2 -dc {v/bz:.2f}")
print(f"  extract (write+CRC): {x:6.2f} s  {mib/x:7.1f} MiB/s  ratio to bzip2 -dc {x/bz:.2f}")
print(f"  peak private bytes {int(priv)/2**20:.1f} MiB, peak working set {int(ws)/2**20:.1f} MiB")
PY
done

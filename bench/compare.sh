#!/usr/bin/env bash
# Our package reader against a single-pass installer, on the same payload of
# real files (this machine's own ELF and PE binaries, taken in path order
# until SIZE MiB): our package and an NSIS installer (solid bzip2) are built
# from it, then in one run, under the same Wine prefix:
#   bzip2 -dc of our package, NSIS's silent install, our verify + extract
#   (package_bench: both checks, every file read back) on every processor
#   and on one thread, our full quiet installation (the real installer,
#   /quiet), and the ratios.
# Where this machine runs 32-bit programs only through qemu's emulator (see
# scripts/setup.sh), both sides are measured as 64-bit programs instead,
# which Wine runs natively: NSIS's amd64 stub and a 64-bit package_bench.
# Benchmarks only; installs the Debian package nsis when missing.
#   bash bench/compare.sh [SIZE_MIB ...]        (default: 100 1024)
#   BENCH_REPEAT=n repeats every timing n times in the run (default 5):
#   NSIS and our quiet installation run as n pairs, alternating which of
#   the two goes first, and the ratio is the median of the pairs' ratios.
#   BENCH_PAYLOAD=small takes files of 1-16 KiB instead (translations,
#   icons, headers, scripts: a product's many small assets), in their
#   hundreds of folders, until SIZE MiB.
# Afterwards our verify + extract runs again kept to 1, 2 ... of the
# machine's processors (process affinity) and prints the scaling.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"
sizes=("${@:-100 1024}")
sizes=(${sizes[@]})
repeat=${BENCH_REPEAT:-5}
payload=${BENCH_PAYLOAD:-binaries}
case "$payload" in binaries|small) ;; *) echo "BENCH_PAYLOAD: binaries or small" >&2; exit 2 ;; esac

if ! command -v makensis >/dev/null; then
  as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends nsis >/dev/null
fi

# The packager for the host; the Wine prefix of the installer's build.
cmake -S tools -B build/bench-tools -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTRELVANE_THIRD_PARTY="$here/third_party_src" >/dev/null
cmake --build build/bench-tools --target trelvane-packager >/dev/null
cmake --preset mingw >/dev/null
build/mingw/wine-run.sh --init
if grep -qsx enabled /proc/sys/fs/binfmt_misc/trelvane-i386; then
  arch=amd64
  cmake -S . -B build/bench-win64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/bench/toolchain-x86_64-mingw.cmake" >/dev/null
  cmake --build build/bench-win64 --target package_bench >/dev/null
  bench_exe=build/bench-win64/bench/package_bench.exe
  # wine64 directly: the wine command starts through the 32-bit loader.
  run_windows() {
    env WINEPREFIX="$here/build/mingw/wineprefix" WINEDEBUG=-all WINEARCH=win64 \
      WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d;comctl32=n,b' /usr/lib/wine/wine64 "$@"
  }
else
  arch=x86
  cmake --build --preset mingw --target package_bench >/dev/null
  bench_exe=build/mingw/bench/package_bench.exe
  run_windows() { build/mingw/wine-run.sh "$@"; }
fi

# Our full quiet installation runs the real, 32-bit installer (a copy
# carrying the payload's package), whatever the machine runs natively.
cmake --build --preset mingw --target installer install_bench >/dev/null
installer_exe="build/mingw/bin/InstallTrelvane7.08g.exe"
emulated=no
grep -qsx enabled /proc/sys/fs/binfmt_misc/trelvane-i386 && emulated=yes

work="$here/build/bench/compare"
mkdir -p "$work"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
now() { date +%s.%N; }

# Regular ELF or PE files of at least 512 KiB (small: any files of 1-16
# KiB), in path order, until the size is reached; names Windows cannot hold
# or would take for another file's are left out.
payload_list() {
  python3 - "$1" "$payload" <<'PY'
import os, sys
limit, total, kind = int(sys.argv[1]) << 20, 0, sys.argv[2]
roots = ("/usr/bin", "/usr/lib", "/usr/libexec") if kind == "binaries" else ("/usr/share", "/usr/include", "/usr/lib")
reserved = {"con", "prn", "aux", "nul"} | {f"{p}{i}" for p in ("com", "lpt") for i in range(10)}
paths = []
for root in roots:
    for folder, dirs, files in os.walk(root):
        paths += [os.path.join(folder, f) for f in files]
seen, folders = set(), set()
for path in sorted(paths):
    name = os.path.basename(path)
    if any(c in path for c in ':\\|"<>?*') or name.endswith((" ", ".")) or os.path.islink(path):
        continue
    if any(p.split(".")[0].lower() in reserved or p.endswith((" ", ".")) for p in path.split("/")[1:]):
        continue
    lower = path.lower()
    parents = ["/".join(lower.split("/")[:i]) for i in range(2, lower.count("/") + 1)]
    if len(path) > 180 or not path.isascii() or lower in seen or lower in folders or any(p in seen for p in parents):
        continue
    try:
        if not os.path.isfile(path):
            continue
        size = os.path.getsize(path)
        if kind == "small":
            if not 1024 <= size <= 16384:
                continue
        else:
            if size < 512 * 1024:
                continue
            with open(path, "rb") as f:
                magic = f.read(4)
            if magic != b"\x7fELF" and magic[:2] != b"MZ":
                continue
    except OSError:
        continue
    seen.add(lower)
    folders.update(parents)
    print(path)
    total += size
    if total >= limit:
        break
PY
}

run_nsis() {
  rm -rf "$dir/nsis-out"; mkdir -p "$dir/nsis-out"
  run_windows cmd /c exit  # the prefix's server and services up before the clock starts
  t0=$(now); run_windows "$dir/nsis-$arch.exe" /S "/D=$(winpath "$dir/nsis-out")"; t1=$(now)
  nsis+=("$(awk "BEGIN { print $t1 - $t0 }")")
  got=$(find "$dir/nsis-out" -type f | wc -l)
  [ "$got" = "$count" ] || { echo "NSIS installed $got of $count files" >&2; exit 1; }
  rm -rf "$dir/nsis-out"
}
run_quiet() {
  run_windows cmd /c exit
  result=$(build/mingw/wine-run.sh build/mingw/bench/install_bench.exe --quiet "$installer_exe" \
    "$(winpath "$dir/package.pkg")" | tr -d '\r')
  [ "$(sed -n 's/^exit_code=//p' <<<"$result")" = 0 ] || { echo "our quiet installation failed: $result" >&2; exit 1; }
  quiet+=("$(sed -n 's/^quiet_seconds=//p' <<<"$result")")
  quiet_mem+=("$(sed -n 's/^peak_private_bytes=//p' <<<"$result")")
}

for size in "${sizes[@]}"; do
  dir="$work/$size"
  [ "$payload" = binaries ] || dir="$work/$payload-$size"
  mkdir -p "$dir"
  payload_list "$size" > "$dir/files.new"
  if ! cmp -s "$dir/files.new" "$dir/files" || [ ! -f "$dir/package.pkg" ] || [ ! -f "$dir/nsis-$arch.exe" ] ||
     ! grep -qs '^uninstaller' "$dir/package.manifest"; then
    mv "$dir/files.new" "$dir/files"
    # Destinations mirror the source folders, so no two files meet.  Our
    # package also carries the product's program and uninstaller (the
    # demo's), without which the installation cannot write its log and
    # rolls back; two small files more than NSIS installs.
    {
      echo "program | <InstallPath> | $here/build/mingw/package/demo-payload/Trelvane.exe"
      echo "uninstaller | <InstallPath> | $here/build/mingw/package/demo-payload/Uninstall.exe"
      awk '{ d=$0; sub(/\/[^\/]*$/, "", d); gsub(/\//, "\\", d); print "program | <InstallPath>" d " | " $0 }' "$dir/files"
    } > "$dir/package.manifest"
    build/bench-tools/packager/trelvane-packager build "$dir/package.manifest" "$dir/package.pkg" >/dev/null
    {
      echo 'Unicode true'
      echo "Target $arch-unicode"
      echo 'SetCompressor /SOLID bzip2'
      echo 'SilentInstall silent'
      echo 'RequestExecutionLevel user'
      echo 'Name "bench"'
      echo "OutFile \"$dir/nsis-$arch.exe\""
      echo 'InstallDir "$TEMP\bench"'
      echo 'Section'
      awk '{ d=$0; sub(/\/[^\/]*$/, "", d); gsub(/\//, "\\", d);
             if (d != last) { print "SetOutPath \"$INSTDIR" d "\""; last = d }
             print "File \"" $0 "\"" }' "$dir/files"
      echo 'SectionEnd'
    } > "$dir/nsis.nsi"
    makensis -V1 "$dir/nsis.nsi" >/dev/null
  fi
  rm -f "$dir/files.new"
  count=$(wc -l < "$dir/files")
  bytes=$(awk '{ print }' "$dir/files" | xargs -d '\n' stat -c %s | awk '{ s += $1 } END { print s }')

  bz=(); nsis=(); ours=(); inside=(); mem=(); single=(); single_inside=(); single_mem=(); quiet=(); quiet_mem=()
  for ((r = 0; r < repeat; ++r)); do
    t0=$(now); bzip2 -dc "$dir/package.pkg" > /dev/null; t1=$(now)
    bz+=("$(awk "BEGIN { print $t1 - $t0 }")")

    # NSIS's silent install and our full quiet installation as a pair, one
    # right after the other, the first of them alternating from run to run,
    # so that a change of the machine's load falls on both alike.
    if (( r % 2 == 0 )); then run_nsis; run_quiet; else run_quiet; run_nsis; fi

    # Ours on every processor, then on one thread (the reader before it
    # decoded in parallel), each from a fresh output folder.
    for threads in all 1; do
      rm -rf "$dir/our-out"; mkdir -p "$dir/our-out"
      run_windows cmd /c exit
      arg=(); [ "$threads" = all ] || arg=("$threads")
      t0=$(now)
      result=$(run_windows "$bench_exe" "$(winpath "$dir/package.pkg")" "$(winpath "$dir/our-out")" "${arg[@]}" | tr -d '\r')
      t1=$(now)
      get() { sed -n "s/^$1=//p" <<<"$result"; }
      [ "$(get verified)$(get extracted)" = 11 ] || { echo "our reader failed: $result" >&2; exit 1; }
      if [ "$threads" = all ]; then
        ours+=("$(awk "BEGIN { print $t1 - $t0 }")")
        inside+=("$(get verify_seconds)/$(get extract_seconds)")
        mem+=("$(get peak_private_bytes)")
        processors=$(get processors)
      else
        single+=("$(awk "BEGIN { print $t1 - $t0 }")")
        single_inside+=("$(get verify_seconds)/$(get extract_seconds)")
        single_mem+=("$(get peak_private_bytes)")
      fi
      rm -rf "$dir/our-out"
    done
  done

  # The same verify + extract kept to 1, 2 ... processors.
  scaling=()
  for ((n = 1; n <= $(nproc); ++n)); do
    rm -rf "$dir/our-out"; mkdir -p "$dir/our-out"
    run_windows cmd /c exit
    t0=$(now)
    result=$(run_windows "$bench_exe" "$(winpath "$dir/package.pkg")" "$(winpath "$dir/our-out")" "affinity=$n" | tr -d '\r')
    t1=$(now)
    get() { sed -n "s/^$1=//p" <<<"$result"; }
    [ "$(get verified)$(get extracted)" = 11 ] || { echo "our reader failed: $result" >&2; exit 1; }
    scaling+=("$(get processors):$(awk "BEGIN { print $t1 - $t0 }"):$(get verify_seconds):$(get extract_seconds):$(get peak_private_bytes)")
    rm -rf "$dir/our-out"
  done

  python3 - "$size" "$count" "$bytes" "$(stat -c %s "$dir/package.pkg")" "$(stat -c %s "$dir/nsis-$arch.exe")" \
    "$(nproc)" "$processors" "$arch" "${bz[*]}" "${nsis[*]}" "${ours[*]}" "${inside[*]}" "${mem[*]}" \
    "${single[*]}" "${single_inside[*]}" "${single_mem[*]}" "${quiet[*]}" "$emulated" "$payload" "${scaling[*]}" \
    "${quiet_mem[*]}" <<'PY'
import statistics, sys
size, count, payload, pkg, exe, cores, procs, arch = sys.argv[1:9]
quiet, emulated = [float(x) for x in sys.argv[17].split()], sys.argv[18] == "yes"
bz, nsis, ours, mem, single, single_mem = ([float(x) for x in sys.argv[i].split()] for i in (9, 10, 11, 13, 14, 16))
def pairs(a):
    return [tuple(float(y) for y in x.split("/")) for x in a.split()]
inside, single_inside = pairs(sys.argv[12]), pairs(sys.argv[15])
def span(v):
    return f"{min(v):6.2f} s" if len(v) == 1 else f"{min(v):6.2f}-{max(v):.2f} s"
def parts(p):
    return (f"verify {span([v for v, _ in p]).strip()}, extract {span([e for _, e in p]).strip()}")
def ratio(a, b):
    r = [x / y for x, y in zip(a, b)]
    return f"{min(r):.2f}" + ("" if len(r) == 1 else f"-{max(r):.2f}")
kind = "real binaries" if sys.argv[19] == "binaries" else "small files"
print(f"payload {size} MiB: {count} {kind}, {int(payload)/2**20:.0f} MiB; our package "
      f"{int(pkg)/2**20:.0f} MiB, NSIS installer {int(exe)/2**20:.0f} MiB; {cores} cores, {procs} seen under Wine; "
      f"{'64' if arch == 'amd64' else '32'}-bit programs")
print(f"  bzip2 -dc of our package         {span(bz)}")
print(f"  NSIS silent install (/S)         {span(nsis)}")
print(f"  our verify + extract, parallel   {span(ours)}  ({parts(inside)}; "
      f"peak private {max(mem)/2**20:.1f} MiB)")
print(f"  our verify + extract, one thread {span(single)}  ({parts(single_inside)}; "
      f"peak private {max(single_mem)/2**20:.1f} MiB)")
quiet_mem = [int(x) for x in sys.argv[21].split()]
print(f"  our full quiet installation      {span(quiet)}  (32-bit installer, /quiet: verify, extract, every step; "
      f"peak private {max(quiet_mem)/2**20:.1f} MiB"
      + ("; through the emulator, so not comparable with the lines above)" if emulated else ")"))
print(f"  ours / NSIS                      {ratio(ours, nsis)} parallel, {ratio(single, nsis)} one thread")
if not emulated:
    paired = [q / n for q, n in zip(quiet, nsis)]
    print(f"  quiet installation / NSIS        median {statistics.median(paired):.2f} over {len(paired)} pairs "
          f"({' '.join(f'{r:.2f}' for r in paired)})")
print(f"  ours / bzip2 -dc                 {ratio(ours, bz)} parallel, {ratio(single, bz)} one thread")
scaling = [x.split(":") for x in sys.argv[20].split()]
base = float(scaling[0][1])
for procs_, wall, verify, extract, peak in scaling:
    print(f"  kept to {procs_} processor(s)           {float(wall):6.2f} s  (verify {float(verify):.2f} s, extract "
          f"{float(extract):.2f} s; peak private {int(peak)/2**20:.1f} MiB; speed-up {base/float(wall):.2f})")
print(f"  load average during the run      {open('/proc/loadavg').read().split()[0]} (of {cores} cores)")
PY
done

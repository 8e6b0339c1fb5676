#!/usr/bin/env bash
# Builds the shipped programs of one commit twice, in two fresh clones at
# different paths, and compares the results byte for byte: the installer,
# the uninstaller, their debug files, the packed package and the package
# managers' manifests.  Not part of the test command (it builds everything
# twice; README, Release, says how long).
#
#   scripts/check-reproducible.sh [COMMIT]     (default: HEAD; committed work only)
#
# The scratch trees stay under build/reproducible/ for inspection; each run
# starts them afresh.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
commit=$(git -C "$root" rev-parse --verify "${1:-HEAD}^{commit}")
scratch="$root/build/reproducible"
start=$(date +%s)

rm -rf "$scratch"
mkdir -p "$scratch"
export SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct "$commit")
# Two paths of different lengths: no path of the build may reach the output.
trees=("$scratch/a" "$scratch/second-tree")
# Both trees compile every object themselves, as a release build does: a
# cached object cannot hide a path that leaked in, and ccache's own rewriting
# of paths (base_dir) does not enter the debug information of one tree only.
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
export CCACHE_DISABLE=1
for tree in "${trees[@]}"; do
  git clone --quiet --shared --no-checkout "$root" "$tree"
  git -C "$tree" checkout --quiet --detach "$commit"
  echo "== building $commit in $tree"
  (cd "$tree" &&
   cmake --preset mingw -DTRELVANE_THIRD_PARTY="$root/third_party_src" >"$tree.configure.log" 2>&1 &&
   cmake --build --preset mingw --target installer uninstaller >"$tree.build.log" 2>&1) ||
    { echo "build failed in $tree: see $tree.build.log" >&2; exit 2; }
done

a="${trees[0]}/build/mingw"
b="${trees[1]}/build/mingw"
status=0
for file in bin/InstallTrelvane7.08g.exe bin/InstallTrelvane7.08g.exe.debug bin/Uninstall.exe bin/Uninstall.exe.debug \
            package/demo.pkg bin/deploy/Vantaro.Trelvane7.yaml bin/deploy/Vantaro.Trelvane7.locale.en-US.yaml \
            bin/deploy/Vantaro.Trelvane7.installer.yaml bin/deploy/chocolateyInstall.ps1; do
  if cmp -s "$a/$file" "$b/$file"; then
    printf 'same       %s  %s\n' "$(sha256sum "$a/$file" | cut -c1-16)" "$file"
  else
    printf 'DIFFERENT  %s\n' "$file"
    cmp "$a/$file" "$b/$file" | head -n1 || true
    status=1
  fi
done
echo "took $(( $(date +%s) - start )) s"
if [ "$status" = 0 ]; then
  echo "reproducible: both builds of $commit gave the same bytes"
else
  echo "NOT reproducible: the files marked DIFFERENT differ" >&2
fi
exit "$status"

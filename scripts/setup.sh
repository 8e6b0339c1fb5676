#!/usr/bin/env bash
# One-time machine set-up for building and testing the installer.
# Idempotent: a second run checks and changes nothing.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
third="$here/third_party_src"   # ignored by git; target-built pieces of Debian sources

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# The Debian mirror this machine's apt uses: the first http(s) address of a
# Debian entry for a release (not its security suite), from the deb822 files,
# then the one-line list.  Set-up fetches from nowhere apt does not.
debian_mirror() {
  local files=()
  for f in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list; do [ -f "$f" ] && files+=("$f"); done
  [ "${#files[@]}" -gt 0 ] || return 0
  awk '
    function release(suites) { return (" " suites " ") ~ /[ \t][a-z]+(-updates)?[ \t]/ }
    function take(uri) { if (uri ~ /^https?:\/\/.*debian/ && uri !~ /-security/) { sub(/\/+$/, "", uri); print uri; found = 1; exit } }
    function flush() { if (uris != "" && release(suites)) take(uris); uris = suites = "" }
    FNR == 1 { flush() }
    FILENAME ~ /\.sources$/ {
      if ($0 ~ /^URIs:/) uris = $2
      else if ($0 ~ /^Suites:/) { suites = $0; sub(/^Suites:/, "", suites) }
      else if ($0 ~ /^[ \t]*$/) flush()
      next
    }
    $1 == "deb" || $1 == "deb-src" { line = $0; sub(/\[[^]]*\]/, "", line); split(line, w, " ")
                                     if (release(w[3])) take(w[2]) }
    END { if (!found) flush() }' "${files[@]}"
}

# apt's own proxy, when the environment names none.
apt_proxy() { apt-config shell proxy Acquire::http::Proxy | sed -n "s/^proxy='\(.*\)'$/\1/p"; }

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  cmake ninja-build make pkg-config
  wine wine32:i386 wine64 xvfb xauth
  googletest libboost1.74-dev libboost-iostreams1.74-dev libbz2-dev bzip2
  dpkg-dev xz-utils curl python3
  imagemagick
  osslsigncode openssl
  clang-14 libclang-rt-14-dev
)

need_install=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need_install+=("$p")
done

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi

# deb-src mirroring the existing Debian entry, in its own file.
src_file=/etc/apt/sources.list.d/trelvane-deb-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  tmp=$(mktemp)
  awk '
    /^Types:/ { types=$0; next }
    /^URIs:/ { uris=$0 } /^Suites:/ { suites=$0 } /^Components:/ { comps=$0 } /^Signed-By:/ { sig=$0 }
    /^$/ { if (uris != "" && uris ~ /debian/) { print "Types: deb-src"; print uris; print suites; print comps; if (sig!="") print sig; print "" } uris=suites=comps=sig="" }
    END { if (uris != "" && uris ~ /debian/) { print "Types: deb-src"; print uris; print suites; print comps; if (sig!="") print sig; print "" } }
  ' /etc/apt/sources.list.d/debian.sources > "$tmp"
  as_root install -m 0644 "$tmp" "$src_file"
  rm -f "$tmp"
  need_update=1
fi

if [ "${#need_install[@]}" -gt 0 ] || [ -n "${need_update:-}" ] || [ ! -d "$third/bzip2" ] || [ ! -d "$third/boost" ]; then
  as_root apt-get update -qq
fi
if [ "${#need_install[@]}" -gt 0 ]; then
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need_install[@]}"
fi

mkdir -p "$third"

# libbz2's C sources, for the target.
if [ ! -f "$third/bzip2/bzlib.c" ]; then
  work=$(mktemp -d)
  (cd "$work" && apt-get source -qq --download-only bzip2 >/dev/null 2>&1)
  tarball=$(ls "$work"/bzip2_*.orig.tar.* | head -n1)
  mkdir -p "$third/bzip2.tmp"
  tar -xf "$tarball" -C "$third/bzip2.tmp" --strip-components=1
  rm -rf "$third/bzip2"; mv "$third/bzip2.tmp" "$third/bzip2"
  rm -rf "$work"
fi

# The two compiled Boost sources we need, out of the big tarball.
if [ ! -f "$third/boost/libs/iostreams/src/bzip2.cpp" ]; then
  work=$(mktemp -d)
  (cd "$work" && apt-get source -qq --download-only boost1.74 >/dev/null 2>&1)
  tarball=$(ls "$work"/boost1.74_*.orig.tar.* | head -n1)
  mkdir -p "$third/boost.tmp"
  tar -xf "$tarball" -C "$third/boost.tmp" --strip-components=1 --wildcards \
    '*/libs/iostreams/src/bzip2.cpp' \
    '*/libs/serialization/src/archive_exception.cpp'
  rm -rf "$third/boost"; mv "$third/boost.tmp" "$third/boost"
  rm -rf "$work"
fi

# Only boost/ is exposed to the cross compiler, never the host's /usr/include.
mkdir -p "$third/include"
[ -L "$third/include/boost" ] || ln -sfn /usr/include/boost "$third/include/boost"

# 32-bit Wine needs a kernel that runs i386 programs.  Where the kernel has
# that switched off (some virtual machines), the tests still run through
# qemu's user-mode emulator registered for i386 programs.  It must be QEMU 8.1
# or later: older ones track guest memory page by page, and every 32-bit Wine
# process then spends about 50 s reserving its address space before it starts.
# Debian 12 has 7.2, so the emulator comes from Debian 13's qemu-user package,
# whose programs are statically linked and run here as they are.
i386_runs() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
qemu_dir=/usr/local/lib/trelvane-qemu
qemu_bin="$qemu_dir/qemu-i386"
binfmt=/proc/sys/fs/binfmt_misc
if ! i386_runs || [ -e "$binfmt/trelvane-i386" ]; then
  echo "setup: this kernel does not run 32-bit programs; running them through qemu-i386"
  if [ ! -x "$qemu_bin" ]; then
    mirror=$(debian_mirror)
    [ -n "$mirror" ] || { echo "setup: no Debian mirror in /etc/apt/sources.list.d/*.sources or /etc/apt/sources.list" >&2; exit 1; }
    if [ -z "${http_proxy:-}" ] && proxy=$(apt_proxy) && [ -n "$proxy" ] && [ "$proxy" != DIRECT ]; then
      export http_proxy="$proxy" https_proxy="$proxy"
    fi
    echo "setup: qemu-user from $mirror"
    work=$(mktemp -d)
    # The index is trusted only through Debian's signed release file (any
    # mirror or proxy can serve it), the package only through the index.
    dists="$mirror/dists/trixie"
    curl -fsS "$dists/InRelease" -o "$work/InRelease"
    gpgv --keyring /usr/share/keyrings/debian-archive-keyring.gpg --output "$work/Release" "$work/InRelease" \
      2>"$work/gpgv.log" ||
      { cat "$work/gpgv.log" >&2; echo "setup: Debian 13's release file from $mirror has no valid Debian signature" >&2; exit 1; }
    index_sum=$(awk '/^SHA256:/ { s = 1; next } /^[^ ]/ { s = 0 }
                     s && $3 == "main/binary-amd64/Packages.xz" { print $1; exit }' "$work/Release")
    [ -n "$index_sum" ] || { echo "setup: Debian 13's release file lists no package index" >&2; exit 1; }
    curl -fsS "$dists/main/binary-amd64/Packages.xz" -o "$work/Packages.xz"
    echo "$index_sum  $work/Packages.xz" | sha256sum -c --quiet -
    # Name and checksum of the current qemu-user package, from Debian 13's package index.
    read -r deb sum < <(xz -dc "$work/Packages.xz" | awk '
      /^Package: / { p = ($2 == "qemu-user") }
      p && /^Filename: / { f = $2 }
      p && /^SHA256: / { s = $2 }
      /^$/ && p && f != "" { print f, s; exit }') || true
    [ -n "${deb:-}" ] && [ -n "${sum:-}" ] || { echo "setup: qemu-user not found in Debian 13's index" >&2; exit 1; }
    curl -fsS "$mirror/$deb" -o "$work/qemu-user.deb"
    echo "$sum  $work/qemu-user.deb" | sha256sum -c --quiet -
    dpkg-deb -x "$work/qemu-user.deb" "$work/root"
    as_root install -D -m 755 "$work/root/usr/bin/qemu-i386" "$qemu_bin"
    rm -rf "$work"
  fi
  [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
  # An older emulator registered for the same programs would be asked first.
  for other in "$binfmt"/qemu-i386*; do
    [ -e "$other" ] && echo 0 | as_root tee "$other" >/dev/null
  done
  if [ ! -e "$binfmt/trelvane-i386" ]; then
    printf '%s' ":trelvane-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$qemu_bin:F" |
      as_root tee "$binfmt/register" >/dev/null
  fi
  i386_runs || { echo "setup: 32-bit programs still do not run" >&2; exit 1; }
fi

# GoogleTest sources for the target build.
[ -f /usr/src/googletest/CMakeLists.txt ] || { echo "googletest sources missing" >&2; exit 1; }

echo "setup: ok"

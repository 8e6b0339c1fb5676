#!/usr/bin/env python3
"""The shipped programs as the build leaves them: stripped with their debug
information beside them, stamped with the build's time, the packed
uninstaller the one beside the installer, the package managers' manifests
describing the very file, and signed exactly when the build was asked to.

check_release.py --bin DIR --package PKG --packager TOOL --objdump TOOL
                 --epoch N [--ca CERT.pem --signtool TOOL]
"""
import argparse
import hashlib
import os
import re
import struct
import subprocess
import zlib

from release_checks import check, finish



def sections(objdump, path):
    out = subprocess.run([objdump, "-h", path], check=True, capture_output=True, text=True).stdout
    return set(re.findall(r"^\s*\d+\s+(\S+)", out, re.M))


def pe_header(path):
    with open(path, "rb") as f:
        data = f.read(4096)
    (pe,) = struct.unpack_from("<I", data, 60)
    assert data[pe:pe + 4] == b"PE\0\0", path
    (stamp,) = struct.unpack_from("<I", data, pe + 8)
    # PE32 optional header: the data directories start 96 bytes in; the
    # security directory (the signature) is the fifth.
    optional = pe + 24
    security_offset, security_size = struct.unpack_from("<II", data, optional + 96 + 4 * 8)
    return stamp, security_size


def check_program(args, name):
    path = os.path.join(args.bin, name)
    debug = path + ".debug"
    found = sections(args.objdump, path)
    check(not any(s.startswith(".debug") for s in found), f"{name} still carries debug sections: {sorted(found)}")
    check(".gnu_debuglink" in found, f"{name} has no .gnu_debuglink")
    if check(os.path.exists(debug), f"{debug} is missing"):
        check(".debug_info" in sections(args.objdump, debug), f"{name}.debug holds no debug information")
        with open(debug, "rb") as f:
            crc = zlib.crc32(f.read()) & 0xFFFFFFFF
        link = subprocess.run([args.objdump, "-s", "-j", ".gnu_debuglink", path], check=True,
                              capture_output=True, text=True).stdout
        raw = b"".join(bytes.fromhex("".join(m.split())) for m in re.findall(r"^ [0-9a-f]+ ((?:[0-9a-f]{2,8} ?)+)", link, re.M))
        linked_name = raw.split(b"\0", 1)[0].decode("ascii", "replace")
        check(linked_name == name + ".debug", f"{name} links {linked_name!r}, not {name}.debug")
        if len(raw) >= 4:
            (linked_crc,) = struct.unpack_from("<I", raw, len(raw) - 4)
            check(linked_crc == crc, f"{name}'s debug link CRC {linked_crc:08x} is not its .debug file's {crc:08x}")
    stamp, signature = pe_header(path)
    check(stamp == args.epoch & 0xFFFFFFFF, f"{name}'s PE time stamp is {stamp}, not the build's {args.epoch}")
    if args.ca:
        result = subprocess.run([args.signtool, "verify", "-CAfile", args.ca, "-in", path], capture_output=True, text=True)
        check(result.returncode == 0, f"{name}'s signature does not verify:\n{result.stdout}{result.stderr}")
    else:
        check(signature == 0, f"{name} is signed although the build was not asked to sign")
    return path


def main():
    p = argparse.ArgumentParser()
    for option in ("--bin", "--package", "--packager", "--objdump", "--ca", "--signtool"):
        p.add_argument(option)
    p.add_argument("--epoch", type=int, required=True)
    args = p.parse_args()

    installer = check_program(args, "InstallTrelvane7.08g.exe")
    uninstaller = check_program(args, "Uninstall.exe")

    with open(installer, "rb") as f:
        installer_bytes = f.read()
    with open(args.package, "rb") as f:
        check(f.read() in installer_bytes, "the installer does not carry the package the build packed")
    with open(uninstaller, "rb") as f:
        shipped = f.read()
    listing = subprocess.run([args.packager, "list", args.package], check=True, capture_output=True, text=True).stdout
    packed = [l for l in listing.splitlines() if re.search(r"\\Uninstall\.exe\b", l)]
    if check(len(packed) == 1, f"the package lists {len(packed)} Uninstall.exe:\n{listing}"):
        kind, size, crc = packed[0].split()[:3]
        check(int(size) == len(shipped) and int(crc, 16) == zlib.crc32(shipped) & 0xFFFFFFFF,
              f"the packed Uninstall.exe ({size} bytes, crc {crc}) is not the shipped one "
              f"({len(shipped)} bytes, crc {zlib.crc32(shipped) & 0xFFFFFFFF:08x})")

    digest = hashlib.sha256(installer_bytes).hexdigest().upper()
    deploy = os.path.join(args.bin, "deploy")
    with open(os.path.join(deploy, "Vantaro.Trelvane7.installer.yaml")) as f:
        winget = f.read()
    check(f"\n  InstallerSha256: {digest}\n" in winget, "the winget manifest names another installer's SHA-256")
    with open(os.path.join(deploy, "chocolateyInstall.ps1")) as f:
        check(f"checksum       = '{digest}'" in f.read(), "the Chocolatey fragment names another installer's SHA-256")
    for name in ("Vantaro.Trelvane7.yaml", "Vantaro.Trelvane7.locale.en-US.yaml"):
        check(os.path.exists(os.path.join(deploy, name)), f"{name} is missing")

    finish("release check(s)", "release checks passed: " + ("signed" if args.ca else "unsigned") + " build")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""set-pe-timestamp.py FILE EPOCH: writes EPOCH (seconds since 1970, taken
modulo 2^32) as the COFF header's TimeDateStamp of the PE program FILE, so
that two builds of one commit carry the same stamp."""
import struct
import sys


def main():
    if len(sys.argv) != 3 or not sys.argv[2].isdigit():
        sys.exit("usage: set-pe-timestamp.py FILE EPOCH")
    path, epoch = sys.argv[1], int(sys.argv[2]) & 0xFFFFFFFF
    with open(path, "r+b") as f:
        dos = f.read(64)
        if len(dos) < 64 or dos[:2] != b"MZ":
            sys.exit(f"{path}: not a PE program (no MZ header)")
        (pe_offset,) = struct.unpack_from("<I", dos, 60)
        f.seek(pe_offset)
        if f.read(4) != b"PE\0\0":
            sys.exit(f"{path}: not a PE program (no PE signature)")
        # Machine (2 bytes) and NumberOfSections (2) precede TimeDateStamp.
        f.seek(pe_offset + 8)
        f.write(struct.pack("<I", epoch))


if __name__ == "__main__":
    main()

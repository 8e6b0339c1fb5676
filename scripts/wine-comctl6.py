#!/usr/bin/env python3
"""Make the test prefix's Common Controls 6 report version 6.0.

Wine 8 serves the side-by-side Common Controls 6 assembly from the same
comctl32 build as version 5, and its DllGetVersion reports 5.81 in both.  On
Windows the version-6 assembly reports 6.x, and the installer refuses to start
below that.  This writes a copy of Wine's 32-bit comctl32 into the prefix's
version-6 assembly folder whose DllGetVersion reports 6.0, loaded as a native
DLL (wine-run.sh sets comctl32=n,b).  Nothing else in it changes.

usage: wine-comctl6.py <prefix>
"""
import glob
import os
import sys

BUILTIN = "/usr/lib/i386-linux-gnu/wine/i386-windows/comctl32.dll"
# DllGetVersion's stores: dwMajorVersion = 5, dwMinorVersion = 81, dwBuildNumber = 2919.
OLD = bytes.fromhex("c7400405000000" "c7400851000000" "c7400c670b0000")
NEW = bytes.fromhex("c7400406000000" "c7400800000000" "c7400c670b0000")
MARK = b"Wine builtin DLL"


def main(prefix: str) -> int:
    folders = glob.glob(os.path.join(
        prefix, "drive_c/windows/winsxs/x86_microsoft.windows.common-controls_6595b64144ccf1df_6.0.*"))
    if not folders:
        print("wine-comctl6: no 32-bit Common Controls 6 assembly in the prefix", file=sys.stderr)
        return 1
    data = bytearray(open(BUILTIN, "rb").read())
    if data.count(OLD) != 1:
        print("wine-comctl6: this Wine's comctl32 is not the expected build; left as it is",
              file=sys.stderr)
        return 1
    at = data.find(OLD)
    data[at:at + len(OLD)] = NEW
    mark = data.find(MARK, 0, 0x200)
    if mark >= 0:  # without the mark the loader takes the file as it is
        data[mark:mark + len(MARK)] = bytes(len(MARK))
    for folder in folders:
        with open(os.path.join(folder, "comctl32.dll"), "wb") as out:
            out.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))

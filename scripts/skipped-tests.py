#!/usr/bin/env python3
"""Lists the test cases that skipped, with their reasons, from GoogleTest's XML reports.

CTest counts a test program with skipped cases as passed; this makes every skip visible.
usage: skipped-tests.py <report folder>...
"""
import glob
import os
import sys
import xml.etree.ElementTree as ET

skips = []
for folder in sys.argv[1:]:
    for report in sorted(glob.glob(os.path.join(folder, "*.xml"))):
        try:
            root = ET.parse(report).getroot()
        except ET.ParseError:
            continue
        for case in root.iter("testcase"):
            skipped = case.find("skipped")
            if skipped is not None:
                reason = (skipped.get("message") or "").strip().splitlines()
                skips.append(f"{case.get('classname')}.{case.get('name')}: {reason[-1] if reason else ''}")
if skips:
    print(f"skipped test cases ({len(skips)}):")
    for line in skips:
        print("  " + line)
else:
    print("skipped test cases: none")

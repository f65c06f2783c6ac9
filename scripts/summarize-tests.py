#!/usr/bin/env python3
"""Sums the GoogleTest reports of the given result folders into one line.

A CTest test that left no GoogleTest report (a crash, a time-out, a script test)
counts once, with CTest's own verdict."""
import pathlib
import sys
import xml.etree.ElementTree as ET

passed = failed = skipped = 0
for folder in map(pathlib.Path, sys.argv[1:]):
    reported = set()
    for report in sorted(folder.glob("*.xml")):
        try:
            suites = ET.parse(report).getroot()
        except ET.ParseError:
            continue
        reported.add(report.stem)
        for case in suites.iter("testcase"):
            if case.find("failure") is not None:
                failed += 1
            elif case.get("result") == "skipped" or case.find("skipped") is not None:
                skipped += 1
            else:
                passed += 1
    junit = folder / "ctest.junit"
    if junit.exists():
        for case in ET.parse(junit).getroot().iter("testcase"):
            if case.get("name") in reported:
                continue
            status = case.get("status", "")
            if status == "run" and case.find("failure") is None:
                passed += 1
            elif status == "disabled" or case.find("skipped") is not None:
                skipped += 1
            else:
                failed += 1

print(f"Summary: {passed} passed, {failed} failed, {skipped} skipped")
sys.exit(1 if failed else 0)

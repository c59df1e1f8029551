#!/usr/bin/env python3
"""Counts the test cases in GoogleTest JSON reports.

  count_gtest.py REPORT...   prints "PASSED FAILED PROGRAMS"

A case passed when it ran (or was skipped on purpose) without a failure.
"""
import json
import sys


def main(paths):
    passed = failed = 0
    for path in paths:
        with open(path, encoding="utf-8") as report:
            data = json.load(report)
        for suite in data.get("testsuites", []):
            for case in suite.get("testsuite", []):
                if case.get("status") == "NOTRUN":
                    continue
                if case.get("failures"):
                    failed += 1
                else:
                    passed += 1
    print(passed, failed, len(paths))


if __name__ == "__main__":
    main(sys.argv[1:])

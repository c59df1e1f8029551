#!/usr/bin/env python3
"""Checks that the tools whose version matters are new enough.

The minimums have their homes elsewhere: Node's in web/package-lock.json
(the "engines" of every package the browser tests install), CMake's in
CMakePresets.json. Prints one line for each tool that is too old, saying
what is needed and how to get it, and exits 1; prints nothing and exits 0
when all is well.
"""
import json
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def version_tuple(text):
    """(major, minor, patch) of the first version number in `text`, or None."""
    found = re.search(r"(\d+)(?:\.(\d+))?(?:\.(\d+))?", text or "")
    if not found:
        return None
    return tuple(int(part or 0) for part in found.groups())


def shown(version):
    return ".".join(str(part) for part in version)


def node_minimum(lock):
    """The highest ">=" bound on Node among the lock file's packages, with the
    package that sets it; (None, None) when none sets one."""
    best, by = None, None
    for path, package in sorted(lock.get("packages", {}).items()):
        engines = package.get("engines")
        wanted = engines.get("node", "") if isinstance(engines, dict) else ""
        bound = re.match(r"\s*>=\s*v?([\d.]+)", wanted)
        if not bound:
            continue
        version = version_tuple(bound.group(1))
        if best is None or version > best:
            best, by = version, path.rsplit("node_modules/", 1)[-1] or "the tests"
    return best, by


def cmake_minimum(presets):
    wanted = presets.get("cmakeMinimumRequired", {})
    if not wanted:
        return None
    return (wanted.get("major", 0), wanted.get("minor", 0), wanted.get("patch", 0))


def installed(command):
    """The version a tool reports, or None when it is not there."""
    try:
        result = subprocess.run(command, capture_output=True, text=True, check=False)
    except OSError:
        return None
    return version_tuple(result.stdout)


def problems(node_version, cmake_version, lock, presets):
    """One line for each tool older than what this repo needs."""
    lines = []
    needed, by = node_minimum(lock)
    if needed and node_version and node_version < needed:
        lines.append(
            f"Node {shown(node_version)} is too old: the browser tests need Node {shown(needed)} or newer "
            f"({by}, web/package-lock.json); install a newer nodejs from your system's packages, "
            f"or pin {by} in web/package.json to a version that accepts Node {node_version[0]}")
    needed = cmake_minimum(presets)
    if needed and cmake_version and cmake_version < needed:
        lines.append(
            f"CMake {shown(cmake_version)} is too old: the build needs CMake {shown(needed)} or newer "
            f"(CMakePresets.json); install a newer cmake from your system's packages")
    return lines


def main():
    lock = json.loads((ROOT / "web" / "package-lock.json").read_text(encoding="utf-8"))
    presets = json.loads((ROOT / "CMakePresets.json").read_text(encoding="utf-8"))
    lines = problems(installed(["node", "--version"]), installed(["cmake", "--version"]), lock, presets)
    for line in lines:
        print(line, file=sys.stderr)
    return 1 if lines else 0


if __name__ == "__main__":
    sys.exit(main())

"""The check of the tools whose version matters, against the repo's own
minimums and against a made-up old Node on the PATH.

Run by tools/test-tools.sh.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))

import tool_versions  # noqa: E402

LOCK = {"packages": {
    "": {"name": "tests"},
    "node_modules/axe-core": {"engines": {"node": ">=4"}},
    "node_modules/playwright-core": {"engines": {"node": ">=18"}},
    "node_modules/odd": {"engines": {"node": "^16 || ^18"}},  # not a lower bound: left alone
    "node_modules/other": {"engines": ["node"]},  # an old style of the field
}}
PRESETS = {"cmakeMinimumRequired": {"major": 3, "minor": 20, "patch": 0}}


class Problems(unittest.TestCase):
    def test_each_tool_against_its_minimum(self):
        cases = [
            # node, cmake, which tools are reported
            ((18, 20, 4), (3, 25, 1), []),
            ((18, 0, 0), (3, 20, 0), []),
            ((17, 9, 1), (3, 25, 1), ["Node 17.9.1"]),
            ((20, 0, 0), (3, 19, 9), ["CMake 3.19.9"]),
            ((12, 22, 12), (3, 18, 4), ["Node 12.22.12", "CMake 3.18.4"]),
            (None, None, []),  # not installed: the package check installs it
        ]
        for node, cmake, reported in cases:
            with self.subTest(node=node, cmake=cmake):
                lines = tool_versions.problems(node, cmake, LOCK, PRESETS)
                self.assertEqual([line.split(" is too old")[0] for line in lines], reported)

    def test_says_what_is_needed_and_which_package_needs_it(self):
        (line,) = tool_versions.problems((16, 20, 2), (3, 25, 1), LOCK, PRESETS)
        self.assertIn("Node 18.0.0 or newer", line)
        self.assertIn("playwright-core", line)
        self.assertNotIn("\n", line)

    def test_the_repo_lock_file_accepts_debian_12_node(self):
        # Debian 12's nodejs is 18.19-18.20: the browser tests must run on it.
        with open(os.path.join(ROOT, "web", "package-lock.json"), encoding="utf-8") as file:
            lock = json.load(file)
        needed, by = tool_versions.node_minimum(lock)
        self.assertLessEqual(needed, (18, 19, 0), by)


class OnThePath(unittest.TestCase):
    def test_an_old_node_stops_with_one_line(self):
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder)
        fake = os.path.join(folder, "node")
        with open(fake, "w", encoding="utf-8") as file:
            file.write("#!/bin/sh\necho v10.24.0\n")
        os.chmod(fake, 0o755)
        env = dict(os.environ, PATH=folder + os.pathsep + os.environ["PATH"])
        result = subprocess.run([sys.executable, "-B", os.path.join(ROOT, "tools", "tool_versions.py")],
                                capture_output=True, text=True, env=env)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
        self.assertTrue(result.stderr.startswith("Node 10.24.0 is too old"), result.stderr)


if __name__ == "__main__":
    unittest.main()

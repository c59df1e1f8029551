"""The test command's tally: every suite runs even after one has failed, each
case is counted, and the closing lines name the suites that failed.

Run by tools/test-tools.sh.
"""
import json
import os
import shutil
import subprocess
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


class Tally(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.dir)

    def suite(self, name, lines, status):
        """A suite script that prints `lines` and exits with `status`."""
        path = os.path.join(self.dir, name)
        with open(path, "w", encoding="utf-8") as file:
            file.write("#!/bin/sh\n" + "".join(f"echo '{line}'\n" for line in lines) + f"exit {status}\n")
        os.chmod(path, 0o755)
        return path

    def fake_ctest(self, cases, status):
        """A ctest on the PATH that leaves one GoogleTest report of `cases`
        (name -> failed) in the build folder it is given."""
        bin_dir = os.path.join(self.dir, "bin")
        os.makedirs(bin_dir, exist_ok=True)
        report = {"testsuites": [{"testsuite": [
            {"name": name, "status": "RUN", **({"failures": [{"failure": "x"}]} if bad else {})}
            for name, bad in cases.items()]}]}
        with open(os.path.join(self.dir, "report.json"), "w", encoding="utf-8") as file:
            json.dump(report, file)
        with open(os.path.join(bin_dir, "ctest"), "w", encoding="utf-8") as file:
            file.write(f'#!/bin/sh\nmkdir -p "$2/test-results"\ncp "{self.dir}/report.json" "$2/test-results/"\n'
                       f"exit {status}\n")
        os.chmod(os.path.join(bin_dir, "ctest"), 0o755)
        return bin_dir

    def tally(self, script, path_first=None):
        env = dict(os.environ)
        if path_first:
            env["PATH"] = path_first + os.pathsep + env["PATH"]
        return subprocess.run(["bash", "-c", f'root="{ROOT}"; source "$root/tools/suite_tally.sh"\n{script}\nfinish'],
                              capture_output=True, text=True, env=env)

    def closing(self, result):
        return result.stdout.strip().splitlines()[-2:]

    def test_every_suite_runs_and_counts_after_failures(self):
        good = self.suite("good", ["good: 3 passed, 0 failed"], 0)
        bad = self.suite("bad", ["bad: 2 passed, 1 failed"], 1)
        died = self.suite("died", ["halfway"], 134)  # no count line
        lying = self.suite("lying", ["lying: 5 passed, 0 failed"], 1)  # says all passed, exits 1
        later = self.suite("later", ["later: 4 passed, 0 failed"], 0)
        result = self.tally(f"run_counted good {good}\nrun_counted bad {bad}\nrun_counted died {died}\n"
                            f"run_counted lying {lying}\nrun_plain plain false\nrun_counted later {later}")
        self.assertEqual(result.returncode, 1)
        self.assertEqual(self.closing(result),
                         ["failed suites: bad died lying plain", "tests: 14 passed, 4 failed"])
        self.assertIn("(6 test programs and suites)", result.stdout)

    def test_all_passing_ends_with_the_count_alone(self):
        good = self.suite("good", ["good: 3 passed, 0 failed"], 0)
        result = self.tally(f"run_counted good {good}\nrun_plain plain true")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.strip().splitlines()[-1], "tests: 4 passed, 0 failed")
        self.assertNotIn("failed suites", result.stdout)

    def test_one_script_runs_as_a_suite_for_each_argument_it_is_given(self):
        path = os.path.join(self.dir, "engines")
        with open(path, "w", encoding="utf-8") as file:
            file.write('#!/bin/sh\ncase "$1" in\n  firefox) echo "firefox: 2 passed, 0 failed" ;;\n'
                       '  webkit) echo "webkit: 1 passed, 1 failed"; exit 1 ;;\nesac\n')
        os.chmod(path, 0o755)
        result = self.tally(f"run_counted firefox {path} firefox\nrun_counted webkit {path} webkit")
        self.assertEqual(self.closing(result), ["failed suites: webkit", "tests: 3 passed, 1 failed"])

    def test_ctest_reports_are_counted_and_a_failure_without_one_counts_once(self):
        build = os.path.join(self.dir, "build")
        cases = [
            # the report's cases, ctest's status, the closing lines
            ({"a": False, "b": True, "c": False}, 8, ["failed suites: unit", "tests: 2 passed, 1 failed"]),
            ({"a": False, "b": False}, 8, ["failed suites: unit", "tests: 2 passed, 1 failed"]),
            ({"a": False, "b": False}, 0, ["(1 test programs and suites)", "tests: 2 passed, 0 failed"]),
        ]
        for report, status, expected in cases:
            with self.subTest(report=report, status=status):
                bin_dir = self.fake_ctest(report, status)
                result = self.tally(f'run_ctest unit "{build}"', bin_dir)
                self.assertEqual(self.closing(result), expected, result.stderr)
                self.assertEqual(result.returncode, 1 if status else 0)


if __name__ == "__main__":
    unittest.main()

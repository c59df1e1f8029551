#!/usr/bin/env bash
# Runs the tests of the repo's generators and scripts (tests/tools: the page's
# labels, the texts, the byte array, the site's
# assembly, the icon's PNGs, the check of tool versions, the test command's
# tally), with the native build's make_icon. Its last
# line: "tools: N passed, M failed".
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export TSWEEPER_MAKE_ICON="${TSWEEPER_MAKE_ICON:-$root/build/native/make_icon}"
counts=$(python3 -B - "$root/tests/tools" <<'PY'
import sys, unittest
suite = unittest.defaultTestLoader.discover(sys.argv[1], pattern="test_*.py")
result = unittest.TextTestRunner(verbosity=2, stream=sys.stderr).run(suite)
bad = len(result.failures) + len(result.errors)
print(result.testsRun - bad - len(result.skipped), bad)
PY
)
read -r passed failed <<<"${counts:-0 1}"
echo "tools: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# Tests the release: builds it twice from the commit and compares the bytes,
# checks what the archives hold, and runs the packaged tsweeper.exe under
# Wine from a folder with a Japanese name and a space, after checking that
# Wine makes and finds such a folder whatever locale the caller has. Needs the Windows
# build (tools/build.sh windows). Its last line: "package: N passed, M failed".
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(mktemp -d)"
passed=0
failed=0
cleanup() {
  rm -rf "$work"
  [ -z "${started_xvfb:-}" ] || { wineserver -k 2>/dev/null; tsweeper_stop_xvfb; }
}
trap cleanup EXIT
add() { passed=$((passed + $1)); failed=$((failed + $2)); }

version="$(sed -n 's/^project(ToluSweeper VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
dist="$work/dist"

echo "== The release, built twice"
if "$root/tools/check-reproducible.sh" "$dist"; then add 1 0; else add 0 1; fi

echo "== What the archives hold"
web_folder=""
[ -f "$dist/tsweeper-$version-web.zip" ] && web_folder="$root/build/web"
counts=$(TSWEEPER_DIST="$dist" TSWEEPER_VERSION="$version" TSWEEPER_WEB_FOLDER="$web_folder" \
  python3 - "$root/tests/package" <<'PY'
import sys, unittest
suite = unittest.defaultTestLoader.discover(sys.argv[1], pattern="test_archives.py")
result = unittest.TextTestRunner(verbosity=2, stream=sys.stderr).run(suite)
bad = len(result.failures) + len(result.errors)
print(result.testsRun - bad - len(result.skipped), bad)
PY
) || true
if [ -n "$counts" ]; then add $counts; else add 0 1; fi

echo "== The packaged program under Wine"
export TSWEEPER_BUILD="$root/build/windows"
source "$root/tools/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  tsweeper_start_xvfb && started_xvfb=1
  tsweeper_prepare_prefix
fi
echo "== Wine under each locale a caller may have"
# Whatever locale the caller has, or none, Wine makes and finds a folder
# whose name is Japanese and holds a space.
for caller_lang in unset C C.UTF-8; do
  folder="$work/locale-$caller_lang"
  mkdir -p "$folder"
  lang_var=()
  [ "$caller_lang" = unset ] || lang_var=(LANG="$caller_lang")
  env -i PATH="$PATH" HOME="$HOME" "${lang_var[@]}" TSWEEPER_BUILD="$TSWEEPER_BUILD" \
    TOOLS="$root/tools" FOLDER="$folder" bash -c '
    source "$TOOLS/wine-env.sh"
    dos="$(winepath -w "$FOLDER")\\ゲーム folder"
    wine cmd /c mkdir "$dos" </dev/null >/dev/null 2>&1
    wine cmd /c if not exist "$dos" exit 3 </dev/null >/dev/null 2>&1'
  found=$?
  if [ "$found" -eq 0 ] && [ -d "$folder/ゲーム folder" ]; then
    echo "[  PASSED  ] LANG $caller_lang: Wine makes and finds \"ゲーム folder\""
    add 1 0
  else
    echo "[  FAILED  ] LANG $caller_lang: \"ゲーム folder\" not made or not found ($found)" >&2
    add 0 1
  fi
done

tests="$TSWEEPER_BUILD/tests/package/package_tests.exe"
zip="$dist/tsweeper-$version-win64.zip"
if [ -f "$zip" ] && [ -x "$tests" ]; then
  python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$work/unpacked"
  exe="$(winepath -w "$work/unpacked/tsweeper-$version/tsweeper.exe" 2>/dev/null)"
  "$TSWEEPER_BUILD/wine-run.sh" "$tests" --gtest_brief=1 --gtest_output="json:Z:$work/package.json" "$exe"
  if [ -f "$work/package.json" ]; then
    add $(python3 "$root/tools/count_gtest.py" "$work/package.json" | cut -d' ' -f1,2)
  else
    add 0 1
  fi
else
  echo "package: $tests or $zip missing" >&2
  add 0 1
fi

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# Writes the release archives from a clean tree of the checked-out commit:
#   dist/tsweeper-VERSION-win64.zip   tsweeper.exe, readme.txt (Japanese,
#                                     Shift-JIS), README-en.txt (UTF-8)
#   dist/tsweeper-VERSION-web.zip     the page's static folder, for any host
#   dist/SHA256SUMS                   the archives' SHA-256 sums, and the exe's
#                                     under the name it has once unpacked
# Uncommitted changes are not packaged: the commit is exported into a fresh
# folder and built there, so no stale file can slip in. The same commit gives
# the same bytes (tools/check-reproducible.sh checks that).
# Usage: package.sh [--out DIR]   (default: dist/ in the repository)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/dist"
if [ "${1:-}" = --out ] && [ -n "${2:-}" ]; then
  out="$2"
elif [ $# -gt 0 ]; then
  echo "usage: $0 [--out DIR]" >&2
  exit 2
fi
source "$root/tools/setup.sh"
tsweeper_install_missing

if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
  echo "package: uncommitted changes are left out; packaging $(git -C "$root" rev-parse --short HEAD)" >&2
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
src="$work/src"
mkdir -p "$src" "$work/win64"
git -C "$root" archive --format=tar HEAD | tar -x -C "$src"
epoch="$(git -C "$root" log -1 --format=%ct HEAD)"

# The one version number, as the build reads it.
version="$(sed -n 's/^project(ToluSweeper VERSION \([0-9][0-9.]*\).*/\1/p' "$src/CMakeLists.txt")"
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }

echo "package: building tsweeper.exe $version"
(cd "$src" && cmake --preset windows >/dev/null && cmake --build --preset windows --target tsweeper >/dev/null)
cp "$src/build/windows/app/tsweeper.exe" "$work/win64/"
python3 "$src/tools/make_readme.py" "$src/docs/release/readme-ja.txt" "$version" "$src/LICENSE" \
  cp932 "$work/win64/readme.txt"
python3 "$src/tools/make_readme.py" "$src/docs/release/readme-en.txt" "$version" "$src/LICENSE" \
  utf-8-sig "$work/win64/README-en.txt"

mkdir -p "$out"
python3 "$src/tools/make_zip.py" "$out/tsweeper-$version-win64.zip" "$epoch" "tsweeper-$version" "$work/win64"
echo "package: $out/tsweeper-$version-win64.zip"

if [ -f "$src/CMakePresets.json" ] && grep -q '"name": "web"' "$src/CMakePresets.json"; then
  echo "package: building the web edition $version"
  (cd "$src" && cmake --preset web >/dev/null && cmake --build --preset web >/dev/null)
  python3 "$src/tools/make_zip.py" "$out/tsweeper-$version-web.zip" "$epoch" "tsweeper-$version-web" \
    "$src/build/web"
  echo "package: $out/tsweeper-$version-web.zip"
fi

# A player checks a download, or the unpacked exe, with `sha256sum -c`.
(cd "$work/win64" && sha256sum tsweeper.exe) | sed "s|  |  tsweeper-$version/|" >"$work/exe.sum"
(cd "$out" && sha256sum tsweeper-"$version"-*.zip && cat "$work/exe.sum") >"$out/SHA256SUMS"
echo "package: $out/SHA256SUMS"

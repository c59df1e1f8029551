#!/usr/bin/env bash
# Builds the release twice from the same commit, each time in a fresh folder
# of its own, and checks that both give the same bytes: tsweeper.exe and every
# archive. The first build's archives are kept in DIR (default: dist/).
# Usage: check-reproducible.sh [DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
keep="${1:-$root/dist}"
second="$(mktemp -d)"
trap 'rm -rf "$second"' EXIT

"$root/tools/package.sh" --out "$keep"
"$root/tools/package.sh" --out "$second"

status=0
for first in "$keep"/tsweeper-*.zip; do
  other="$second/$(basename "$first")"
  if [ ! -f "$other" ]; then
    echo "reproducible: $(basename "$first") was not made the second time" >&2
    status=1
  elif ! cmp -s "$first" "$other"; then
    echo "reproducible: $(basename "$first") differs between the two builds:" >&2
    python3 - "$first" "$other" >&2 <<'PY'
import sys, zipfile
a, b = (zipfile.ZipFile(p) for p in sys.argv[1:])
for info in a.infolist():
    if info.filename not in b.namelist() or a.read(info) != b.read(info.filename):
        print("  " + info.filename)
PY
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "reproducible: both builds gave the same bytes ($(cd "$keep" && ls tsweeper-*.zip | tr '\n' ' '))"
exit "$status"

#!/usr/bin/env bash
# Installs what building and testing the game needs, when it is missing.
# Sourced by the build, play and test scripts; safe to run again and again.
set -euo pipefail

tsweeper_missing_packages() {
  local -a missing=()
  command -v cmake >/dev/null || missing+=(cmake)
  command -v ninja >/dev/null || missing+=(ninja-build)
  command -v g++ >/dev/null || missing+=(g++)
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64-posix)
  command -v x86_64-w64-mingw32-windres >/dev/null || missing+=(binutils-mingw-w64-x86-64)
  command -v wine >/dev/null || missing+=(wine)
  [ -e /usr/lib/wine/wine64 ] || missing+=(wine64)
  command -v Xvfb >/dev/null || missing+=(xvfb)
  command -v xdotool >/dev/null || missing+=(xdotool)
  command -v xauth >/dev/null || missing+=(xauth)
  [ -d /usr/src/googletest ] || missing+=(googletest)
  [ -e /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
  [ -e /usr/include/benchmark/benchmark.h ] || missing+=(libbenchmark-dev)
  [ -e /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf ] || missing+=(fonts-ipafont-gothic)
  command -v clang++ >/dev/null || missing+=(clang)
  ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 \
    || missing+=(libclang-rt-14-dev)
  command -v python3 >/dev/null || missing+=(python3)
  [ -e /usr/include/zlib.h ] || missing+=(zlib1g-dev)
  # The web edition: wasm-ld for its module, esbuild for its script and style,
  # Node, npm and Chromium for its tests, and Firefox ESR and WebKitGTK's
  # WebDriver (which brings its MiniBrowser) for those run in every engine.
  command -v wasm-ld >/dev/null || missing+=(lld)
  command -v esbuild >/dev/null || missing+=(esbuild)
  command -v llvm-ar >/dev/null || missing+=(llvm)
  command -v node >/dev/null || missing+=(nodejs)
  command -v npm >/dev/null || missing+=(npm)
  [ -x /usr/bin/chromium ] || missing+=(chromium)
  [ -x /usr/bin/firefox-esr ] || missing+=(firefox-esr)
  command -v WebKitWebDriver >/dev/null || missing+=(webkit2gtk-driver)
  echo "${missing[@]:-}"
}

tsweeper_install_missing() {
  local missing
  missing=$(tsweeper_missing_packages)
  if [ -n "$missing" ]; then
    echo "Installing: $missing"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
  fi
  # A tool that is there but too old says so in one line, before any suite
  # fails for it.
  python3 "$(dirname "${BASH_SOURCE[0]}")/tool_versions.py"
}

# The browser tests' Node modules, pinned by web/package-lock.json (again
# whenever the lock file is newer than what was installed); never a browser
# download (the tests drive Debian's chromium and firefox-esr).
tsweeper_install_web_modules() {
  local web
  web="$(cd "$(dirname "${BASH_SOURCE[0]}")/../web" && pwd)"
  [ "$web/node_modules/.package-lock.json" -nt "$web/package-lock.json" ] && return 0
  (cd "$web" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  tsweeper_install_missing
fi

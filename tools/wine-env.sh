#!/usr/bin/env bash
# The Wine environment of the build: one prefix inside the build folder,
# quiet logs, no offers to install .NET or a browser engine, and a Japanese
# Gothic font standing in for the fonts the menu and the dialog ask for.
# Source it with TSWEEPER_BUILD set to the Windows build folder, and with
# TSWEEPER_WINE_DPI for a display at another DPI than 96.

tsweeper_main_prefix="${TSWEEPER_BUILD:?}/wineprefix"
export WINEPREFIX="$tsweeper_main_prefix"
if [ -n "${TSWEEPER_WINE_DPI:-}" ] && [ "$TSWEEPER_WINE_DPI" != 96 ]; then
  export WINEPREFIX="$tsweeper_main_prefix-${TSWEEPER_WINE_DPI}dpi"
fi
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

tsweeper_tools_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# Wine turns every file name into a Unix one through the locale's character
# set. Under a locale that is not UTF-8 (no LANG at all, as a container or a
# bare chroot starts, or LANG=C) it cannot make or find a file whose name is
# not ASCII, such as a folder called ゲーム. Such a caller's Wine gets the UTF-8
# form of its language when the system has one, C.UTF-8 (which every Debian
# has) otherwise; a caller's UTF-8 locale stays as it is.
tsweeper_utf8_locale() {
  [ "$(locale charmap 2>/dev/null)" = UTF-8 ] && return 0
  local language="${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" utf8=""
  language="${language%%[.@]*}"
  if [ -n "$language" ] && [ "$language" != C ] && [ "$language" != POSIX ]; then
    utf8="$(locale -a 2>/dev/null | grep -ix -m1 "$language\.utf-\?8")"
  fi
  export LC_ALL="${utf8:-C.UTF-8}"
}
tsweeper_utf8_locale

# Creates the prefix on first use, with the font replacements; and the
# prefix for another DPI beside it when one is asked for.
tsweeper_prepare_prefix() {
  if [ "$WINEPREFIX" != "$tsweeper_main_prefix" ]; then
    (export WINEPREFIX="$tsweeper_main_prefix"; tsweeper_prepare_prefix) && tsweeper_prepare_dpi_prefix
    return
  fi
  if [ -f "$WINEPREFIX/.tsweeper-ready" ]; then
    return 0
  fi
  echo "Preparing the Wine prefix in $WINEPREFIX (first use only)..."
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  # Wine's own Tahoma (menus, message boxes) and Marlett (the caption
  # buttons' symbols) are not always found where the package puts them.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  local reg="$WINEPREFIX/tsweeper-fonts.reg"
  iconv -f UTF-8 -t UTF-16LE "$tsweeper_tools_dir/wine-settings.reg" | { printf '\xff\xfe'; cat; } >"$reg"
  wine regedit /S "$reg" >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.tsweeper-ready"
}

# A prefix that differs from the main one only in its DPI: the main one's
# registry, with LogPixels set (Wine gives that DPI to every program), and
# its drive C itself, so that it takes seconds instead of a new Wine setup.
tsweeper_prepare_dpi_prefix() {
  local ready="$WINEPREFIX/.tsweeper-ready"
  if [ -f "$ready" ] && [ "$ready" -nt "$tsweeper_main_prefix/.tsweeper-ready" ]; then
    return 0
  fi
  echo "Preparing the Wine prefix in $WINEPREFIX at $TSWEEPER_WINE_DPI DPI..."
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX/dosdevices"
  cp -p "$tsweeper_main_prefix"/*.reg "$tsweeper_main_prefix/.update-timestamp" "$WINEPREFIX/"
  ln -s "$tsweeper_main_prefix/drive_c" "$WINEPREFIX/dosdevices/c:"
  ln -s / "$WINEPREFIX/dosdevices/z:"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$TSWEEPER_WINE_DPI" /f >/dev/null 2>&1
  wineserver -w
  touch "$ready"
}

source "$tsweeper_tools_dir/xvfb.sh"

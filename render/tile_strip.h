// The tile strip: 28 tiles of 16 x 16 pixels side by side, from the file
// that the settings name or else the built-in bitmap.
#pragma once

#include <windows.h>

#include "core/draw.h"

extern HBITMAP TileStrip;

// Loads the bitmap file `stripPath` (empty: none) as the strip; where the
// file gives no bitmap, or lacks whole tiles, the built-in strip supplies
// them. Runs once, right after the main window is created.
void ChooseTileStrip(const wchar_t* stripPath, HINSTANCE instance);

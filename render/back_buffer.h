// The screen-sized back buffer into which every tile is drawn, and the
// repaint that copies it to the window.
#pragma once

#include <windows.h>

// The window whose client area the back buffer holds: the one it was
// created for. Every draw marks its changed rectangle there.
extern HWND paintedWindow;
extern HDC tileDC;            // source of tile copies; the strip is selected on every draw
extern HDC backBufferDC;      // holds backBufferBitmap
extern HBITMAP backBufferBitmap;

// Run by the main window's creation: the back buffer, black, as large as the
// screen, and the tile source context, for `window`.
void CreateBackBuffer(HWND window);

// Run by the main window's paint: copies the invalid rectangle from the
// back buffer, at the same coordinates.
void PaintFromBackBuffer(HWND window);

// The screen-sized back buffer into which every tile is drawn, and the
// repaint that copies it to the window. Every draw is also recorded in the
// screen model, which names the squares to a screen reader.
#pragma once

#include <windows.h>

// The window whose client area the back buffer holds: the one it was
// created for. Every draw marks its changed rectangle there.
extern HWND paintedWindow;
extern HDC tileDC;            // source of tile copies; the strip is selected on every draw
extern HDC backBufferDC;      // holds backBufferBitmap
extern HBITMAP backBufferBitmap;

// The window shows each back-buffer pixel as a windowZoom x windowZoom block
// of its own pixels, a whole number so that every art pixel stays square
// and sharp on a display of any DPI. 1 at 96 DPI. The shell chooses it for
// the monitor the window is on; everything drawn into the back buffer stays
// in art pixels.
extern int windowZoom;

// Run by the main window's creation: the back buffer, black, as large as the
// screen, and the tile source context, for `window`.
void CreateBackBuffer(HWND window);

// Run by the main window's paint: copies the back-buffer pixels behind the
// invalid rectangle, each as a windowZoom x windowZoom block, then draws the
// keyboard cursor's frame over them where it is shown.
void PaintFromBackBuffer(HWND window);

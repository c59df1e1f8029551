// Where the main window lies and how large it is: a client area of the
// board's art pixels at the whole-number zoom for the monitor it is on, a
// caption on some screen at start, and the size it takes when it moves to a
// monitor of another DPI.
#pragma once

#include <windows.h>

// At start, before the window is shown: fits it to the board and, when the
// saved corner leaves its caption on no monitor, moves it onto the work area
// of the nearest one.
void PlaceMainWindow(HWND window);

// Moves the window to (windowX, windowY) at the size that gives the board a
// client area of exactly windowZoom times ClientWidth(columns) by
// ClientHeight(rows) pixels, the zoom chosen again for the window's monitor.
void FitWindowToBoard(HWND window);

// WM_DPICHANGED: the window has moved to a monitor of `dpi`; it takes the
// position the system suggests and its own size for that DPI.
void FollowDpiChange(HWND window, int dpi, const RECT* suggested);

// WM_GETDPISCALEDSIZE: the outer size the window will take at `dpi`.
void AnswerDpiScaledSize(int dpi, SIZE* size);

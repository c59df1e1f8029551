// The DPI of the main window and what its frame measures at a DPI. Windows 10
// gives both per monitor; the functions are looked up at run time, so that
// the program still starts on a system without them and takes the system's
// one DPI there.
#pragma once

#include <windows.h>

#include "app/window_fit.h"

// The main window's style: caption, system menu and minimize box. The player
// can move and minimize the window but neither resize nor maximize it.
constexpr DWORD MainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The DPI of the monitor the window is on.
int WindowDpi(HWND window);

// What the frame, the caption and a one-line menu bar add around the client
// area at `dpi`.
Extent FrameAt(int dpi);

// From the window's top edge to the bottom of its caption at `dpi`: the band
// the player takes hold of to move the window.
int CaptionBandHeight(int dpi);

// The work area of `monitor`: its screen less the task bar.
Box WorkArea(HMONITOR monitor);

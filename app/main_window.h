// The main window: its class, its creation at the size of the board, and
// its window procedure, which hands each message to the module that owns it.
#pragma once

#include <windows.h>

// Registers class "tsweep"; 0 when the class cannot be registered.
ATOM RegisterMainWindowClass(HINSTANCE instance);

// Creates the hidden main window at (windowX, windowY), fitted to the board
// at the zoom of its monitor, its caption on a screen.
HWND CreateMainWindow(HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

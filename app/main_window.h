// The main window: its class, its creation at the size of the board, and
// its window procedure, which hands each message to the module that owns it.
#pragma once

#include <windows.h>

// Registers class "tsweep"; 0 when the class cannot be registered.
ATOM RegisterMainWindowClass(HINSTANCE instance);

// Creates the hidden main window at (windowX, windowY), fitted to the board.
HWND CreateMainWindow(HINSTANCE instance);

// Moves the window to (windowX, windowY) at the size that gives the board a
// client area of exactly ClientWidth(columns) by ClientHeight(rows) pixels.
void FitWindowToBoard(HWND window);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

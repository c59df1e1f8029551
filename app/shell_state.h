// State of the application shell, reachable program-wide.
#pragma once

#include <windows.h>

// The main window and the program's instance, made reachable once the
// window exists and the tile strip is chosen, before the window is shown.
extern HWND mainWindow;
extern HINSTANCE instanceHandle;

// The main window's last reported top-left corner, in screen pixels.
extern int windowX;
extern int windowY;

// Paths are sized for what the profile functions accept, and held in UTF-16
// so that a folder of any name works on a system of any code page.
constexpr int PathBufferSize = MAX_PATH;
extern wchar_t modulePath[PathBufferSize];   // the program's directory, with its backslash
extern wchar_t iniPath[PathBufferSize];      // the settings file beside the program
extern wchar_t panelBmpPath[PathBufferSize]; // the "PanelBMP" value
// 1 when iniPath names the settings file in full; 0 when the program's
// directory is too long for it, and the program runs on defaults.
extern int iniPathUsable;

// Scratch buffer for formatted text: messages and values written to the file.
constexpr int TextBufferSize = 256;
extern char textBuffer[TextBufferSize];

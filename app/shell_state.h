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

// Paths are sized for what the ANSI profile functions accept.
constexpr int PathBufferSize = MAX_PATH;
extern char modulePath[PathBufferSize];   // the program's directory, with its backslash
extern char iniPath[PathBufferSize];      // the settings file beside the program
extern char panelBmpPath[PathBufferSize]; // the "PanelBMP" value
// 1 when iniPath names the settings file in full; 0 when the program's
// directory is too long for it, and the program runs on defaults.
extern int iniPathUsable;

// Scratch buffer for formatted text: messages and values written to the file.
constexpr int TextBufferSize = 256;
extern char textBuffer[TextBufferSize];

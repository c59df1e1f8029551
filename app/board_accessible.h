// The board for screen readers (Microsoft Active Accessibility): the main
// window's client area answers as a table of the squares, the counter and
// the notice of a game's end, read from the screen model. Nothing of it is
// loaded before a reader first asks.
#pragma once

#include <windows.h>

// A WM_GETOBJECT: the board's object for OBJID_CLIENT, the system's answer
// for anything else.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam);

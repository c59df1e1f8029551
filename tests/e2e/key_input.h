// Real key events for the program under test, as a keyboard gives them:
// SendInput reaches the foreground window, so the program is brought there
// first.
#pragma once

#include <windows.h>

// Makes `window` the foreground window and waits until it is.
bool BringToFront(HWND window);

// A key pressed and released; `control` holds Ctrl around it.
void TapKey(WORD key, bool control = false);
// A key pressed and held: `downs` key-down events as a held key repeats
// them, then its release.
void HoldKey(WORD key, int downs);

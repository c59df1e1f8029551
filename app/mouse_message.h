// The mouse messages of the main window as the mouse layer takes them: which
// of the five cases each is, and the buttons held. Shared by the window
// procedure and the end-to-end tests' model of it.
#pragma once

#include <windows.h>

#include "input/mouse.h"
#include "input/mouse_cases.h"

// The buttons held, from a mouse message's wParam.
inline unsigned HeldButtons(WPARAM wParam)
{
    return ((wParam & MK_LBUTTON) ? MouseLeft : 0u) | ((wParam & MK_RBUTTON) ? MouseRight : 0u);
}

// The case of a mouse message; MouseCaseCount for any other message.
inline int MouseCaseOfMessage(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE: return MouseCaseMove;
    case WM_LBUTTONDOWN: return MouseCaseLeftDown;
    case WM_LBUTTONUP: return MouseCaseLeftUp;
    case WM_RBUTTONDOWN: return MouseCaseRightDown;
    case WM_RBUTTONUP: return MouseCaseRightUp;
    default: return MouseCaseCount;
    }
}

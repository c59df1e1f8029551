// The five mouse messages of the main window by name, for the tests that
// send them to the mouse layer one at a time.
#pragma once

#include "input/mouse.h"

enum class MouseMessage { Move, LeftDown, LeftUp, RightDown, RightUp };

inline const char* MessageName(MouseMessage message)
{
    static const char* const names[] = {"MouseMove", "LeftButtonDown", "LeftButtonUp", "RightButtonDown",
                                        "RightButtonUp"};
    return names[static_cast<int>(message)];
}

inline void SendMouse(MouseMessage message, unsigned buttons, unsigned x, unsigned y)
{
    switch (message) {
    case MouseMessage::Move: MouseMove(buttons, x, y); break;
    case MouseMessage::LeftDown: LeftButtonDown(buttons, x, y); break;
    case MouseMessage::LeftUp: LeftButtonUp(buttons, x, y); break;
    case MouseMessage::RightDown: RightButtonDown(buttons, x, y); break;
    case MouseMessage::RightUp: RightButtonUp(buttons, x, y); break;
    }
}

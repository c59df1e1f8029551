// The five mouse cases by number, for every front end and tool that hands
// the mouse layer events: the exe's window procedure from its five mouse
// messages, the page, the replay, the tests and the fuzzer.
#pragma once

// Numbered as the page's script reads them by name (tools/make_page_labels.py).
enum MouseCase {
    MouseCaseMove = 0,
    MouseCaseLeftDown = 1,
    MouseCaseLeftUp = 2,
    MouseCaseRightDown = 3,
    MouseCaseRightUp = 4,
    MouseCaseCount = 5,
};

// The function each case calls, by name, for logs and failure reports.
extern const char* const mouseCaseNames[MouseCaseCount];

// Hands case `mouseCase` to the mouse layer with the buttons held (MouseLeft,
// MouseRight) and the client-area pixel. 1 when it named one of the five
// cases, else 0 and nothing happens.
int PlayMouseCase(int mouseCase, unsigned buttons, unsigned x, unsigned y);

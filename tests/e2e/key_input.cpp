#include "tests/e2e/key_input.h"

#include <vector>

#include "tests/e2e/driver.h"

namespace {

// The arrows, Home and End sit on the keyboard's extended block.
bool Extended(WORD key)
{
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN || key == VK_HOME ||
           key == VK_END;
}

INPUT KeyEvent(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (Extended(key) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

void Send(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

bool BringToFront(HWND window)
{
    return WaitUntil([window] {
        if (GetForegroundWindow() == window)
            return true;
        SetForegroundWindow(window);
        return false;
    });
}

void TapKey(WORD key, bool control)
{
    std::vector<INPUT> inputs;
    if (control)
        inputs.push_back(KeyEvent(VK_CONTROL, false));
    inputs.push_back(KeyEvent(key, false));
    inputs.push_back(KeyEvent(key, true));
    if (control)
        inputs.push_back(KeyEvent(VK_CONTROL, true));
    Send(inputs);
}

void HoldKey(WORD key, int downs)
{
    std::vector<INPUT> inputs(static_cast<size_t>(downs), KeyEvent(key, false));
    inputs.push_back(KeyEvent(key, true));
    Send(inputs);
}

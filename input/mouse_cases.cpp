#include "input/mouse_cases.h"

#include "input/mouse.h"

namespace {

using MouseFunction = void (*)(unsigned buttons, unsigned x, unsigned y);
const MouseFunction mouseFunctions[MouseCaseCount] = {MouseMove, LeftButtonDown, LeftButtonUp, RightButtonDown,
                                                      RightButtonUp};

}  // namespace

const char* const mouseCaseNames[MouseCaseCount] = {"MouseMove", "LeftButtonDown", "LeftButtonUp",
                                                    "RightButtonDown", "RightButtonUp"};

int PlayMouseCase(int mouseCase, unsigned buttons, unsigned x, unsigned y)
{
    if (mouseCase < 0 || mouseCase >= MouseCaseCount)
        return 0;
    mouseFunctions[mouseCase](buttons, x, y);
    return 1;
}

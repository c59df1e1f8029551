#include "app/window_dpi.h"

namespace {

// A function of user32.dll that older systems lack, or null there. Looked up
// on every call: the calls are few (a start, a settings change, a move to
// another monitor), and no state is kept for them.
template <typename Function>
Function UserFunction(const char* name)
{
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

int SystemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The rectangle around an empty client area at the origin: the frame's
// reach on each side.
RECT FrameAround(int dpi, BOOL withMenu)
{
    RECT frame = {0, 0, 0, 0};
    const auto adjustForDpi = UserFunction<decltype(&AdjustWindowRectExForDpi)>("AdjustWindowRectExForDpi");
    if (adjustForDpi)
        adjustForDpi(&frame, MainWindowStyle, withMenu, 0, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&frame, MainWindowStyle, withMenu, 0);
    return frame;
}

}  // namespace

int WindowDpi(HWND window)
{
    const auto getDpiForWindow = UserFunction<decltype(&GetDpiForWindow)>("GetDpiForWindow");
    const int dpi = getDpiForWindow ? static_cast<int>(getDpiForWindow(window)) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

Extent FrameAt(int dpi)
{
    const RECT frame = FrameAround(dpi, TRUE);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

int CaptionBandHeight(int dpi)
{
    return -FrameAround(dpi, FALSE).top;
}

Box WorkArea(HMONITOR monitor)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    const RECT& work = info.rcWork;
    return {work.left, work.top, work.right, work.bottom};
}

#include "app/window_placement.h"

#include "app/shell_state.h"
#include "app/window_dpi.h"
#include "app/window_fit.h"
#include "core/board.h"
#include "core/geometry.h"
#include "render/back_buffer.h"

namespace {

Extent BoardArt()
{
    return {ClientWidth(columns), ClientHeight(rows)};
}

Extent Size(Box box)
{
    return {box.right - box.left, box.bottom - box.top};
}

// Chooses windowZoom for a window at `dpi` on `monitor` and returns the
// window's outer size at it.
Extent ZoomOn(int dpi, HMONITOR monitor)
{
    const Extent frame = FrameAt(dpi);
    windowZoom = FittingZoom(dpi, BoardArt(), frame, Size(WorkArea(monitor)));
    return ZoomedWindowSize(windowZoom, BoardArt(), frame);
}

// A menu bar that wraps onto a second line takes room the frame metrics do
// not foresee: grow the window by whatever the client area still lacks.
void CorrectClientSize(HWND window)
{
    RECT client, outer;
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    const Extent art = BoardArt();
    const int dx = windowZoom * art.width - (client.right - client.left);
    const int dy = windowZoom * art.height - (client.bottom - client.top);
    if (dx != 0 || dy != 0)
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dx,
                     outer.bottom - outer.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A saved corner from a monitor that is gone (or a hand-edited file) would
// open the window where no screen shows it. A window only partly beyond an
// edge, its caption still on a screen, stays where the player left it.
void KeepCaptionOnScreen(HWND window)
{
    RECT outer;
    GetWindowRect(window, &outer);
    const RECT caption = {outer.left, outer.top, outer.right,
                          outer.top + CaptionBandHeight(WindowDpi(window))};
    if (MonitorFromRect(&caption, MONITOR_DEFAULTTONULL))
        return;
    const Box moved = MovedInside({outer.left, outer.top, outer.right, outer.bottom},
                                  WorkArea(MonitorFromRect(&outer, MONITOR_DEFAULTTONEAREST)));
    // The move may reach a monitor of another DPI: WM_DPICHANGED then sizes
    // the window for it. WM_WINDOWPOSCHANGED keeps the new corner.
    SetWindowPos(window, nullptr, moved.left, moved.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void PlaceMainWindow(HWND window)
{
    FitWindowToBoard(window);
    KeepCaptionOnScreen(window);
}

void FitWindowToBoard(HWND window)
{
    const Extent size = ZoomOn(WindowDpi(window), MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
    MoveWindow(window, windowX, windowY, size.width, size.height, FALSE);
    CorrectClientSize(window);
}

void FollowDpiChange(HWND window, int dpi, const RECT* suggested)
{
    const Extent size = ZoomOn(dpi, MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST));
    SetWindowPos(window, nullptr, suggested->left, suggested->top, size.width, size.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    CorrectClientSize(window);
    // Every window pixel now stands for other back-buffer pixels.
    InvalidateRect(window, nullptr, FALSE);
}

void AnswerDpiScaledSize(int dpi, SIZE* size)
{
    // The monitor the window is being taken to lies under the pointer that drags it.
    POINT pointer;
    GetCursorPos(&pointer);
    const HMONITOR monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST);
    const Extent scaled = DpiScaledWindowSize(dpi, BoardArt(), FrameAt(dpi), Size(WorkArea(monitor)));
    size->cx = scaled.width;
    size->cy = scaled.height;
}

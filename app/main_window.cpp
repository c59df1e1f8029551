#include "app/main_window.h"

#include "app/board_accessible.h"
#include "app/board_events.h"
#include "app/board_keys.h"
#include "app/menu_commands.h"
#include "app/mouse_message.h"
#include "app/shell_state.h"
#include "app/window_dpi.h"
#include "app/window_placement.h"
#include "core/board.h"
#include "core/geometry.h"
#include "render/back_buffer.h"
#include "resources/resource.h"

namespace {

const char WindowClassName[] = "tsweep";
const char WindowCaption[] = "Tolu Sweeper";

// The back-buffer pixel under the pointer: the window shows each one as a
// windowZoom x windowZoom block, any pixel of which is that pixel.
unsigned PointerX(LPARAM lParam)
{
    return LOWORD(lParam) / static_cast<unsigned>(windowZoom);
}

unsigned PointerY(LPARAM lParam)
{
    return HIWORD(lParam) / static_cast<unsigned>(windowZoom);
}

// One of the five mouse cases, then what it changed told to a reader.
void PlayMouseMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlayMouseCase(MouseCaseOfMessage(message), HeldButtons(wParam), PointerX(lParam), PointerY(lParam));
    AnnounceBoardChanges(window);
}

// The position of a minimized window lies far off the screen; keeping the
// last normal position means the next start opens where the player sees it.
void RememberWindowPosition(HWND window, const WINDOWPOS* position)
{
    if (IsIconic(window))
        return;
    windowX = position->x;
    windowY = position->y;
}

}  // namespace

ATOM RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TSWEEPER));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    windowClass.lpszClassName = WindowClassName;
    return RegisterClassA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance)
{
    // The size and the zoom depend on the monitor the window turns out to be
    // on: it is created at the saved corner, then fitted there.
    HWND window = CreateWindowExA(0, WindowClassName, WindowCaption, MainWindowStyle, windowX, windowY,
                                  ClientWidth(columns), ClientHeight(rows), nullptr, nullptr, instance,
                                  nullptr);
    if (window)
        PlaceMainWindow(window);
    return window;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateBackBuffer(window);
        TakeKeysAsKeys(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        PaintFromBackBuffer(window);
        return 0;
    case WM_WINDOWPOSCHANGED:
        RememberWindowPosition(window, reinterpret_cast<const WINDOWPOS*>(lParam));
        return 0;
    case WM_DPICHANGED:
        FollowDpiChange(window, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_GETDPISCALEDSIZE:
        AnswerDpiScaledSize(static_cast<int>(wParam), reinterpret_cast<SIZE*>(lParam));
        return TRUE;
    case WM_COMMAND:
        RunMenuCommand(window, LOWORD(wParam));
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        PlayMouseMessage(window, message, wParam, lParam);
        return 0;
    case WM_KEYDOWN:
        if (BoardKeyDown(window, wParam, lParam))
            return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_ACTIVATE:
        FollowActivation(window, wParam);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_GETOBJECT:
        return AnswerGetObject(window, wParam, lParam);
    case WM_TELL_READER:
        TellBoardChanges(window);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

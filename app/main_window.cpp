#include "app/main_window.h"

#include "app/menu_commands.h"
#include "app/shell_state.h"
#include "core/board.h"
#include "core/geometry.h"
#include "input/mouse.h"
#include "render/back_buffer.h"
#include "resources/resource.h"

namespace {

const char WindowClassName[] = "tsweep";
const char WindowCaption[] = "Tolu Sweeper";
// Caption, system menu and minimize box: the player can move and minimize
// the window but neither resize nor maximize it.
constexpr DWORD WindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

void ClientSize(int* width, int* height)
{
    *width = ClientWidth(columns);
    *height = ClientHeight(rows);
}

// The outer size for the board's client area on this system's frame metrics.
void OuterSize(int* width, int* height)
{
    int clientWidth, clientHeight;
    ClientSize(&clientWidth, &clientHeight);
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, WindowStyle, TRUE, 0);
    *width = frame.right - frame.left;
    *height = frame.bottom - frame.top;
}

// A menu bar that wraps onto a second line takes room the frame metrics do
// not foresee: grow the window by whatever the client area still lacks.
void CorrectClientSize(HWND window)
{
    RECT client, outer;
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    int wantWidth, wantHeight;
    ClientSize(&wantWidth, &wantHeight);
    const int dx = wantWidth - (client.right - client.left);
    const int dy = wantHeight - (client.bottom - client.top);
    if (dx != 0 || dy != 0)
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dx,
                     outer.bottom - outer.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The buttons held, as the mouse layer takes them.
unsigned HeldButtons(WPARAM wParam)
{
    return ((wParam & MK_LBUTTON) ? MouseLeft : 0u) | ((wParam & MK_RBUTTON) ? MouseRight : 0u);
}

unsigned PointerX(LPARAM lParam)
{
    return LOWORD(lParam);
}

unsigned PointerY(LPARAM lParam)
{
    return HIWORD(lParam);
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
    int width, height;
    OuterSize(&width, &height);
    HWND window = CreateWindowExA(0, WindowClassName, WindowCaption, WindowStyle, windowX, windowY,
                                  width, height, nullptr, nullptr, instance, nullptr);
    if (window)
        CorrectClientSize(window);
    return window;
}

void FitWindowToBoard(HWND window)
{
    int width, height;
    OuterSize(&width, &height);
    MoveWindow(window, windowX, windowY, width, height, FALSE);
    CorrectClientSize(window);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateBackBuffer(window);
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
    case WM_COMMAND:
        RunMenuCommand(window, LOWORD(wParam));
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(HeldButtons(wParam), PointerX(lParam), PointerY(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        LeftButtonDown(HeldButtons(wParam), PointerX(lParam), PointerY(lParam));
        return 0;
    case WM_LBUTTONUP:
        LeftButtonUp(HeldButtons(wParam), PointerX(lParam), PointerY(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        RightButtonDown(HeldButtons(wParam), PointerX(lParam), PointerY(lParam));
        return 0;
    case WM_RBUTTONUP:
        RightButtonUp(HeldButtons(wParam), PointerX(lParam), PointerY(lParam));
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

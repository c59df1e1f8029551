// The program's entry: start-up, the message loop, and the end.
#include <windows.h>

#include <commctrl.h>

#include "app/board_events.h"
#include "app/main_window.h"
#include "app/settings_file.h"
#include "app/shell_state.h"
#include "core/rules.h"
#include "render/screen_model.h"
#include "render/tile_strip.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    // The dialog's fields and buttons and the message boxes in the system's
    // own look (the manifest asks for version 6 of the common controls).
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ResetScreenModel();
    if (!RegisterMainWindowClass(instance))
        return 0;
    LoadSettings();
    HWND window = CreateMainWindow(instance);
    // Without a window there is nothing to play and nothing worth saving.
    if (!window)
        return 0;
    // The first game draws through the strip and invalidates mainWindow.
    ReadTileFileName();
    ChooseTileStrip(panelBmpPath, instance);
    mainWindow = window;
    instanceHandle = instance;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    NewGame();
    AnnounceBoardChanges(window);

    MSG message = {};
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    SaveSettings();
    // The quit message carries the exit code given to PostQuitMessage: 0.
    return got == 0 ? static_cast<int>(message.wParam) : 0;
}

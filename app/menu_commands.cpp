#include "app/menu_commands.h"

#include "app/board_keys.h"
#include "app/settings_dialog.h"
#include "app/texts.h"
#include "app/window_placement.h"
#include "core/rules.h"
#include "resources/resource.h"

namespace {

// OK in the settings dialog: the window takes the new board's size at its
// old top-left corner, every window is redrawn, and a new game starts.
void ChangeSettings(HWND window)
{
    if (RunSettingsDialog(window) != 1)
        return;
    FitWindowToBoard(window);
    InvalidateRect(nullptr, nullptr, FALSE);
    NewGame();
}

}  // namespace

void RunMenuCommand(HWND window, WORD command)
{
    switch (command) {
    case IDM_NEWGAME:
        NewGame();
        break;
    case IDM_SETTINGS:
        ChangeSettings(window);
        break;
    case IDM_EXIT:
        // The destroy message ends the loop; the window goes with the process.
        PostMessageA(window, WM_DESTROY, 0, 0);
        break;
    case IDM_ABOUT:
        ShowShiftJisMessage(window, VersionText, VersionCaption, MB_OK);
        break;
    default:
        break;
    }
    // A new game, maybe of another size: the cursor stays on the board, and
    // a reader hears the new squares.
    FollowBoardSize(window);
}

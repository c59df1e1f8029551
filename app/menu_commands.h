// The commands of the main window's menu.
#pragma once

#include <windows.h>

void RunMenuCommand(HWND window, WORD command);

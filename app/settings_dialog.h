// The settings dialog: board width, height and bomb count.
#pragma once

#include <windows.h>

// Runs the dialog modally over `owner`. 1 after OK stored new values in
// columns, rows and bombCount; 0 when cancelled; -1 when it could not run.
INT_PTR RunSettingsDialog(HWND owner);

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

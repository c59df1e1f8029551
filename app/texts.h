// The program's own texts, held as Shift-JIS bytes as a Japanese program
// holds them (generated from resources/texts.txt), and the one way they
// reach the screen.
#pragma once

#include <windows.h>

extern const char VersionCaption[];
extern const char VersionText[];
extern const char ErrorCaption[];
extern const char ColumnsRangeFormat[];
extern const char RowsRangeFormat[];
extern const char BombsRangeFormat[];

// Shows a message box of Shift-JIS text. The text is converted from code
// page 932 explicitly, so it reads right whatever the system's ANSI code
// page is; on a Japanese system it looks the same as through MessageBoxA.
int ShowShiftJisMessage(HWND owner, const char* text, const char* caption, UINT type);

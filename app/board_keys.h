// The board from the keyboard, with the page's keys: the arrow keys move the
// cursor one square, Home and End to the ends of its row, Ctrl+Home and
// Ctrl+End to the first and the last square; Space or Enter plays a left
// click on its square (on an opened number, the chord), F a right click.
// As Windows does with focus cues, the cursor's frame appears once a board
// key has been pressed, and only while the window is active.
#pragma once

#include <windows.h>

// 1 while the main window is the active one.
extern int windowActive;

// The window keeps no input context, so that with a Japanese IME on, F
// reaches it as F and nothing is typed into a composition window.
void TakeKeysAsKeys(HWND window);

// A WM_KEYDOWN; 1 when it was a board key and was played.
int BoardKeyDown(HWND window, WPARAM key, LPARAM flags);

// A WM_ACTIVATE: the frame follows, and the reader's focus with it.
void FollowActivation(HWND window, WPARAM state);

// The cursor put on square (column, row), as a reader's selection moves it.
// 1 when that square lies on the board.
int MoveCursorTo(HWND window, int column, int row);

// A left click on square (column, row), as Space there would play it.
void PlaySpaceAt(HWND window, int column, int row);

// After a command that may change the board's size: the cursor kept on it.
void FollowBoardSize(HWND window);

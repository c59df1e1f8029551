// What the board tells a screen reader as the game goes on (WinEvents): the
// square that takes the focus, each square whose picture changed and the
// counter when it changed, after the message that changed them, and the
// end of a game as an alert.
#pragma once

#include <windows.h>

// 1 once a reader has asked for the board's accessible object. Only then
// are the changes told, so that a flood costs a player without a reader
// nothing more.
extern int readerListening;

// The cursor's square has the focus, while the window is active.
void AnnounceFocus(HWND window);

// Tells what the screen model recorded since the last call, then forgets it.
void AnnounceBoardChanges(HWND window);

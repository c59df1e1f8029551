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

// The message by which the window tells a reader what changed, posted to
// itself after the message that changed it.
constexpr UINT WM_TELL_READER = WM_APP + 1;

// After a message that may have drawn: with a reader listening, asks for
// the changes to be told once the picture is painted (a flood's hundreds of
// names, each a round trip to the reader, would otherwise hold up its
// paint); else forgets them at once.
void AnnounceBoardChanges(HWND window);

// The WM_TELL_READER: paints what waits, then tells what the screen model
// recorded since the changes were last told, and forgets it.
void TellBoardChanges(HWND window);

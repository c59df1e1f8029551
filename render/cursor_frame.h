// The keyboard cursor's frame, as the page draws it: a black ring inside
// the square's block, white inside and outside it. It is painted over the
// picture at each repaint and never drawn into the back buffer, so what the
// game drew stays exactly as it was.
#pragma once

#include <windows.h>

// Shows the frame on square (column, row), or hides it when `shown` is 0.
// Marks the window pixels of the old frame and of the new one for repaint
// when anything changed.
void ShowCursorFrame(int shown, int column, int row);

// Run by the paint after the picture: the frame where it is shown.
void PaintCursorFrame(HDC windowDC);

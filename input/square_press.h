// Presses of one square that come from no mouse: a touch on the board, or a
// key on the square under the keyboard cursor. Each is played as the mouse
// cases that a mouse player makes for the same thing, so that it deals and
// draws exactly what those clicks would, the pressed look included.
#pragma once

#include "core/board.h"
#include "core/geometry.h"

// A client pixel past the largest board: the pointer has slid off every square.
constexpr unsigned OffBoardX = ClientWidth(MaxColumns);
constexpr unsigned OffBoardY = ClientHeight(MaxRows);

// The press begins on the square of client pixel (x, y): the pointer comes
// to it and the left button goes down; on an opened square the right one
// too, as for a chord, so the covered squares around it show pressed. The
// buttons now held (MouseLeft, with MouseRight for a chord press); 0 when
// play is not running and nothing was done.
unsigned PressSquare(unsigned x, unsigned y);

// The press ends as a click where it began: the left button goes up (for a
// chord press, then the right one), which opens the square or chords.
void ReleaseAsClick();

// The press ends as a flag: its buttons go up where the game does not hear
// them, then a right click on the same square changes its mark.
void ReleaseAsFlag();

// The press ends with nothing played: the pointer slides off the board with
// the buttons held and they go up there, unheard; the pressed look goes.
void CancelPress();

// A whole left click on the square of (x, y); on an opened square the chord.
void ClickSquare(unsigned x, unsigned y);

// A whole right click on the square of (x, y).
void FlagSquare(unsigned x, unsigned y);

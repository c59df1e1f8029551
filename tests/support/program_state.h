// The one way the tests put the program back to a fresh process, with the
// screen model emptied, for the native tests and the end-to-end tests' model
// alike.
#pragma once

// A fresh process: zeroed board, generator at 1, phase and counter at 0,
// mouse state cleared, the given size and bomb count, and the screen model
// and the stand-in drawing layer's log emptied. No game is laid out.
void ResetProgramState(int newColumns, int newRows, int newBombCount);

// Empties what the stand-in drawing layer keeps besides the screen model;
// defined beside its DrawTile and DrawCounter.
void ResetDrawingLog();

// The one way the tests put the program back to a fresh process, for the
// recorded screen of the native tests and the screen model of the
// end-to-end tests alike.
#pragma once

// A fresh process: zeroed board, generator at 1, phase and counter at 0,
// mouse state cleared, the given size and bomb count, and the stand-in
// drawing layer's screen emptied. No game is laid out.
void ResetProgramState(int newColumns, int newRows, int newBombCount);

// Empties the screen of the stand-in drawing layer; defined beside its
// DrawTile and DrawCounter.
void ResetScreenModel();

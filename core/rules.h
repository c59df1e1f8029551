// The rules of play: laying out a game, placing the bombs at the first open,
// opening with the flood, the chord, flags, and the end of a game. Each
// operation that answers returns 1 when it did something and 0 when the
// request did not apply, in which case nothing at all changed.
#pragma once

// Clears the current board, draws every square covered and shows the counter.
void NewGame();

// Lays out bombCount bombs anywhere but (column, row) and starts play.
void PlaceMines(int column, int row);

// Opens a square; places the bombs first when the game waits for its first
// open. 1 if the square was opened (a bomb included), else 0.
int OpenCell(int column, int row);

// Opens every neighbour when the marks around the square equal its bombs.
int OpenAround(int column, int row);

// Toggles the flag on a covered square while a game is in play.
int CycleMark(int column, int row);

// 1 when every bomb of the current board carries a mark.
int AllMinesMarked();

// Ends the game and shows the final picture: won = 1 for a win, 0 for a loss.
void RevealBoard(int won);

// Ends the game lost at the bomb just opened at (column, row).
void Explode(int column, int row);

// A stand-in for the drawing layer that logs every DrawTile and DrawCounter
// call in order and keeps the screen model (render/screen_model.h: shownTile,
// shownCounter), which is what a player would see.
#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "core/board.h"
#include "render/screen_model.h"
#include "tests/support/opened_squares.h"
#include "tests/support/program_state.h"

struct DrawCall {
    int column;  // -1 for a DrawCounter call
    int row;     // -1 for a DrawCounter call
    int tile;    // for DrawCounter: the counter value shown
    bool operator==(const DrawCall& other) const
    {
        return column == other.column && row == other.row && tile == other.tile;
    }
};

// A DrawCounter call in the log, showing `value`.
inline DrawCall CounterCall(int value) { return DrawCall{-1, -1, value}; }

// Readable calls in test failures: "(3,2)=5" or "counter 9".
inline std::ostream& operator<<(std::ostream& out, const DrawCall& call)
{
    if (call.column == -1 && call.row == -1)
        return out << "counter " << call.tile;
    return out << "(" << call.column << "," << call.row << ")=" << call.tile;
}

extern std::vector<DrawCall> drawLog;
// Calls whose square lay off the current board (always a fault).
extern int drawsOffBoard;

// When set, called at the start of every DrawTile, before the call is logged,
// so that a test can look at the board at the moment of the drawing. Nothing
// resets it: a test that sets it clears it again (see DrawObserverScope).
using DrawTileObserver = void (*)(int column, int row, int tile);
extern DrawTileObserver drawTileObserver;

// Sets drawTileObserver for the lifetime of the scope, also when a test
// stops early on a failed assertion.
struct DrawObserverScope {
    explicit DrawObserverScope(DrawTileObserver observer) { drawTileObserver = observer; }
    ~DrawObserverScope() { drawTileObserver = nullptr; }
    DrawObserverScope(const DrawObserverScope&) = delete;
    DrawObserverScope& operator=(const DrawObserverScope&) = delete;
};

// The screen model of the current board as text, one line per row, top row
// first, each line ending in a newline: one letter per square as
// tests/support/tile_letters.h writes tiles, ' ' for a square never drawn.
std::string ScreenPicture();

// What lies under each square of the current board, in the same letters,
// as a lost game would show it: '*' a covered bomb, 'R' a flagged bomb, 'X'
// a wrong flag, '@' an opened bomb, '#' a covered safe square, an opened
// one its number. For failure reports.
std::string BoardPicture();

// Joins rows written in the same letters into the form ScreenPicture gives.
std::string Picture(std::initializer_list<const char*> pictureRows);
std::string Picture(const char* const* pictureRows, int count);

// Everything a game operation or a mouse message may change, besides the
// picture: the whole board array (cells beyond the current board included),
// the size, the phase, the counter, the generator and the input state.
struct ProgramSnapshot {
    Cell board[MaxColumns][MaxRows];
    int32_t columns, rows, bombCount;
    int32_t gameActive, firstClickPending, mineCounter;
    uint32_t randomState;
    int32_t hoverColumn, hoverRow, chordLatch;
};
ProgramSnapshot TakeSnapshot();

// "" when the two snapshots are equal, else a list of what differs.
std::string SnapshotDifference(const ProgramSnapshot& before, const ProgramSnapshot& after);

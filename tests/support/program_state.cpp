#include "tests/support/program_state.h"

#include <cstring>

#include "core/board.h"
#include "input/mouse.h"
#include "render/screen_model.h"

void ResetProgramState(int newColumns, int newRows, int newBombCount)
{
    std::memset(Board, 0, sizeof Board);
    columns = newColumns;
    rows = newRows;
    bombCount = newBombCount;
    gameActive = 0;
    firstClickPending = 0;
    mineCounter = 0;
    randomState = 1;
    hoverColumn = 0;
    hoverRow = 0;
    chordLatch = 0;
    ResetScreenModel();
    ResetDrawingLog();
}

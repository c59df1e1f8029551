#include "tests/native/draw_recorder.h"

#include <cstring>
#include <sstream>

#include "input/mouse.h"
#include "core/draw.h"
#include "render/screen_model.h"
#include "tests/support/tile_letters.h"

std::vector<DrawCall> drawLog;
int drawsOffBoard;
DrawTileObserver drawTileObserver = nullptr;

void DrawTile(int column, int row, int tile)
{
    if (drawTileObserver)
        drawTileObserver(column, row, tile);
    drawLog.push_back(DrawCall{column, row, tile});
    if (!ShowTile(column, row, tile))
        ++drawsOffBoard;
}

void DrawCounter()
{
    drawLog.push_back(CounterCall(mineCounter));
    ShowCounter();
}

std::string ScreenPicture()
{
    std::string picture;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int tile = shownTile[column][row];
            picture += tile == NeverDrawn ? ' ' : TileLetter(tile);
        }
        picture += '\n';
    }
    return picture;
}

std::string BoardPicture()
{
    std::string picture;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const Cell& cell = Board[column][row];
            int tile = TileOpenedEmpty + CountAdjacentMines(column, row);
            if (cell.mine)
                tile = cell.opened ? TileExplodedBomb : cell.mark ? TileFlaggedBomb : TileBomb;
            else if (cell.mark)
                tile = TileWrongFlag;
            else if (!cell.opened)
                tile = TileCovered;
            picture += TileLetter(tile);
        }
        picture += '\n';
    }
    return picture;
}

std::string Picture(std::initializer_list<const char*> pictureRows)
{
    return Picture(pictureRows.begin(), static_cast<int>(pictureRows.size()));
}

std::string Picture(const char* const* pictureRows, int count)
{
    std::string picture;
    for (int row = 0; row < count; ++row) {
        picture += pictureRows[row];
        picture += '\n';
    }
    return picture;
}

ProgramSnapshot TakeSnapshot()
{
    ProgramSnapshot snapshot;
    std::memcpy(snapshot.board, Board, sizeof Board);
    snapshot.columns = columns;
    snapshot.rows = rows;
    snapshot.bombCount = bombCount;
    snapshot.gameActive = gameActive;
    snapshot.firstClickPending = firstClickPending;
    snapshot.mineCounter = mineCounter;
    snapshot.randomState = randomState;
    snapshot.hoverColumn = hoverColumn;
    snapshot.hoverRow = hoverRow;
    snapshot.chordLatch = chordLatch;
    return snapshot;
}

std::string SnapshotDifference(const ProgramSnapshot& before, const ProgramSnapshot& after)
{
    std::ostringstream out;
    for (int column = 0; column < MaxColumns; ++column) {
        for (int row = 0; row < MaxRows; ++row) {
            const Cell& a = before.board[column][row];
            const Cell& b = after.board[column][row];
            if (a.mine != b.mine || a.opened != b.opened || a.mark != b.mark)
                out << "cell (" << column << "," << row << ") mine/opened/mark " << a.mine << "/"
                    << a.opened << "/" << a.mark << " -> " << b.mine << "/" << b.opened << "/"
                    << b.mark << "; ";
        }
    }
    const auto field = [&out](const char* name, long long a, long long b) {
        if (a != b)
            out << name << " " << a << " -> " << b << "; ";
    };
    field("columns", before.columns, after.columns);
    field("rows", before.rows, after.rows);
    field("bombCount", before.bombCount, after.bombCount);
    field("gameActive", before.gameActive, after.gameActive);
    field("firstClickPending", before.firstClickPending, after.firstClickPending);
    field("mineCounter", before.mineCounter, after.mineCounter);
    field("randomState", before.randomState, after.randomState);
    field("hoverColumn", before.hoverColumn, after.hoverColumn);
    field("hoverRow", before.hoverRow, after.hoverRow);
    field("chordLatch", before.chordLatch, after.chordLatch);
    return out.str();
}

void ResetDrawingLog()
{
    drawLog.clear();
    drawsOffBoard = 0;
}

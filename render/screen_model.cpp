#include "render/screen_model.h"

#include "core/draw.h"
#include "core/geometry.h"

int8_t shownTile[MaxColumns][MaxRows];
int32_t shownCounter;
int32_t shownCounterTiles[CounterCells];
int32_t changedRect[4];
int16_t changedSquares[MaxColumns * MaxRows][2];
int32_t changedSquareCount;
int32_t counterChanged;

namespace {

// Which squares are in changedSquares already.
bool listed[MaxColumns][MaxRows];
// What each square read as when it was last drawn (TileSeen).
int8_t seenTile[MaxColumns][MaxRows];

}  // namespace

void ResetScreenModel()
{
    for (auto& column : shownTile)
        for (int8_t& tile : column)
            tile = NeverDrawn;
    for (auto& column : seenTile)
        for (int8_t& tile : column)
            tile = NeverDrawn;
    shownCounter = 0;
    for (int32_t& tile : shownCounterTiles)
        tile = NeverDrawn;
    ForgetChanges();
}

int ShowTile(int column, int row, int tile)
{
    if (!InBounds(column, row))
        return 0;
    // Drawn again as it was and reading as it did: repainted, but no square
    // a reader must hear again. A square opened empty where it was shown
    // pressed keeps its tile but now reads otherwise.
    const int tileBefore = shownTile[column][row];
    const int seenBefore = seenTile[column][row];
    shownTile[column][row] = static_cast<int8_t>(tile);
    seenTile[column][row] = static_cast<int8_t>(TileSeen(column, row));
    const bool differs = tile != tileBefore || seenTile[column][row] != seenBefore;
    const int left = SquareLeft(column);
    const int top = SquareTop(row);
    GrowChangedRect(left, top, left + SquareSize, top + SquareSize);
    if (differs && !listed[column][row]) {
        listed[column][row] = true;
        changedSquares[changedSquareCount][0] = static_cast<int16_t>(column);
        changedSquares[changedSquareCount][1] = static_cast<int16_t>(row);
        ++changedSquareCount;
    }
    return 1;
}

void ShowCounter()
{
    if (mineCounter != shownCounter || shownCounterTiles[0] == NeverDrawn)
        counterChanged = 1;
    shownCounter = mineCounter;
    int tiles[CounterCells];
    CounterTiles(mineCounter, tiles);
    for (int cell = 0; cell < CounterCells; ++cell)
        shownCounterTiles[cell] = tiles[cell];
    GrowChangedRect(0, 0, SquareSize * CounterCells, CounterStripHeight);
}

void GrowChangedRect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    if (changedRect[2] <= changedRect[0]) {
        changedRect[0] = left;
        changedRect[1] = top;
        changedRect[2] = right;
        changedRect[3] = bottom;
        return;
    }
    if (left < changedRect[0])
        changedRect[0] = left;
    if (top < changedRect[1])
        changedRect[1] = top;
    if (right > changedRect[2])
        changedRect[2] = right;
    if (bottom > changedRect[3])
        changedRect[3] = bottom;
}

void ForgetChanges()
{
    changedRect[0] = changedRect[1] = changedRect[2] = changedRect[3] = 0;
    for (int i = 0; i < changedSquareCount; ++i)
        listed[changedSquares[i][0]][changedSquares[i][1]] = false;
    changedSquareCount = 0;
    counterChanged = 0;
}

int TileSeen(int column, int row)
{
    if (!InBounds(column, row))
        return NeverDrawn;
    const int tile = shownTile[column][row];
    if (tile == TileOpenedEmpty && !Board[column][row].opened && (gameActive || firstClickPending))
        return TileCovered;
    return tile;
}

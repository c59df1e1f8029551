// Replays a list of game commands and mouse cases through the core and the
// mouse layer built natively, with a drawing layer that only remembers the
// last tile of every square and of every counter cell, and prints that
// picture and the board as JSON. The page's tests play the same list in the
// browser and compare its canvas with this, square by square.
//
// Input, one command a line:
//   size COLUMNS ROWS BOMBS        the settings, as loaded or accepted
//   new                            a new game
//   move|ldown|lup|rdown|rup BUTTONS X Y   a mouse case in client pixels
#include <cstdio>
#include <cstring>

#include "core/board.h"
#include "core/rules.h"
#include "input/mouse.h"
#include "render/counter_digits.h"
#include "render/draw.h"

namespace {

int shownTile[MaxColumns][MaxRows];
int counterTile[CounterCells];

void PrintRows(const char* name, int (*valueAt)(int column, int row))
{
    std::printf("\"%s\":[", name);
    for (int row = 0; row < rows; ++row) {
        std::printf("%s[", row ? "," : "");
        for (int column = 0; column < columns; ++column)
            std::printf("%s%d", column ? "," : "", valueAt(column, row));
        std::printf("]");
    }
    std::printf("]");
}

int Shown(int column, int row) { return shownTile[column][row]; }
int Mine(int column, int row) { return Board[column][row].mine; }
int Opened(int column, int row) { return Board[column][row].opened; }
int Mark(int column, int row) { return Board[column][row].mark; }

}  // namespace

void DrawTile(int column, int row, int tile)
{
    shownTile[column][row] = tile;
}

void DrawCounter()
{
    CounterTiles(mineCounter, counterTile);
}

int main()
{
    for (auto& column : shownTile)
        for (int& tile : column)
            tile = -1;
    for (int& tile : counterTile)
        tile = -1;
    char word[16];
    while (std::scanf("%15s", word) == 1) {
        unsigned a = 0, b = 0, c = 0;
        if (std::strcmp(word, "new") == 0) {
            NewGame();
            continue;
        }
        if (std::scanf("%u %u %u", &a, &b, &c) != 3) {
            std::fprintf(stderr, "replay_moves: bad command %s\n", word);
            return 2;
        }
        if (std::strcmp(word, "size") == 0) {
            columns = static_cast<int32_t>(a);
            rows = static_cast<int32_t>(b);
            bombCount = static_cast<int32_t>(c);
        } else if (std::strcmp(word, "move") == 0) {
            MouseMove(a, b, c);
        } else if (std::strcmp(word, "ldown") == 0) {
            LeftButtonDown(a, b, c);
        } else if (std::strcmp(word, "lup") == 0) {
            LeftButtonUp(a, b, c);
        } else if (std::strcmp(word, "rdown") == 0) {
            RightButtonDown(a, b, c);
        } else if (std::strcmp(word, "rup") == 0) {
            RightButtonUp(a, b, c);
        } else {
            std::fprintf(stderr, "replay_moves: unknown command %s\n", word);
            return 2;
        }
    }
    std::printf("{\"columns\":%d,\"rows\":%d,\"gameActive\":%d,\"firstClickPending\":%d,", columns,
                rows, gameActive, firstClickPending);
    std::printf("\"counter\":[%d,%d,%d,%d],", counterTile[0], counterTile[1], counterTile[2],
                counterTile[3]);
    PrintRows("tiles", Shown);
    std::printf(",");
    PrintRows("mines", Mine);
    std::printf(",");
    PrintRows("opened", Opened);
    std::printf(",");
    PrintRows("marks", Mark);
    std::printf("}\n");
    return 0;
}

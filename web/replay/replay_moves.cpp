// Replays a list of game commands and mouse cases through the core and the
// mouse layer built natively, drawing into the screen model alone (the last
// tile of every square and of every counter cell), and prints that picture
// and the board as JSON. The page's tests play the same list in the
// browser and compare its canvas with this, square by square.
//
// Input, one command a line:
//   size COLUMNS ROWS BOMBS        the settings, as loaded or accepted
//   new                            a new game
//   move|ldown|lup|rdown|rup BUTTONS X Y   a mouse case in client pixels
//   press X Y | click X Y | flag X Y       a touch's press, or a key's whole
//                                          click or flag, on the square of (X, Y)
//   release-click | release-flag | cancel  how a touch's press ends
#include <cstdio>
#include <cstring>

#include "core/board.h"
#include "core/rules.h"
#include "input/mouse_cases.h"
#include "input/square_press.h"
#include "render/screen_model.h"

namespace {

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

void SetSize(const unsigned* a)
{
    columns = static_cast<int32_t>(a[0]);
    rows = static_cast<int32_t>(a[1]);
    bombCount = static_cast<int32_t>(a[2]);
}

struct Command {
    const char* name;
    int arguments;
    void (*run)(const unsigned* a);
};
const Command commands[] = {
    {"size", 3, SetSize},
    {"new", 0, [](const unsigned*) { NewGame(); }},
    {"move", 3, [](const unsigned* a) { PlayMouseCase(MouseCaseMove, a[0], a[1], a[2]); }},
    {"ldown", 3, [](const unsigned* a) { PlayMouseCase(MouseCaseLeftDown, a[0], a[1], a[2]); }},
    {"lup", 3, [](const unsigned* a) { PlayMouseCase(MouseCaseLeftUp, a[0], a[1], a[2]); }},
    {"rdown", 3, [](const unsigned* a) { PlayMouseCase(MouseCaseRightDown, a[0], a[1], a[2]); }},
    {"rup", 3, [](const unsigned* a) { PlayMouseCase(MouseCaseRightUp, a[0], a[1], a[2]); }},
    {"press", 2, [](const unsigned* a) { PressSquare(a[0], a[1]); }},
    {"click", 2, [](const unsigned* a) { ClickSquare(a[0], a[1]); }},
    {"flag", 2, [](const unsigned* a) { FlagSquare(a[0], a[1]); }},
    {"release-click", 0, [](const unsigned*) { ReleaseAsClick(); }},
    {"release-flag", 0, [](const unsigned*) { ReleaseAsFlag(); }},
    {"cancel", 0, [](const unsigned*) { CancelPress(); }},
};
int Mine(int column, int row) { return Board[column][row].mine; }
int Opened(int column, int row) { return Board[column][row].opened; }
int Mark(int column, int row) { return Board[column][row].mark; }

}  // namespace

int main()
{
    ResetScreenModel();
    char word[16];
    while (std::scanf("%15s", word) == 1) {
        const Command* command = nullptr;
        for (const Command& known : commands)
            if (std::strcmp(word, known.name) == 0)
                command = &known;
        if (!command) {
            std::fprintf(stderr, "replay_moves: unknown command %s\n", word);
            return 2;
        }
        unsigned a[3] = {0, 0, 0};
        for (int i = 0; i < command->arguments; ++i) {
            if (std::scanf("%u", &a[i]) != 1) {
                std::fprintf(stderr, "replay_moves: bad command %s\n", word);
                return 2;
            }
        }
        command->run(a);
    }
    std::printf("{\"columns\":%d,\"rows\":%d,\"gameActive\":%d,\"firstClickPending\":%d,", columns,
                rows, gameActive, firstClickPending);
    std::printf("\"counter\":[%d,%d,%d,%d],", shownCounterTiles[0], shownCounterTiles[1], shownCounterTiles[2],
                shownCounterTiles[3]);
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

// Timings of the game core: laying out a game, the first open of the largest
// board with its flood over nearly every square, and whole random games.
// Every iteration starts from a fresh run (the generator at 1) and plays the
// same moves, so every iteration times the same game.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "core/board.h"
#include "core/rules.h"
#include "render/screen_model.h"
#include "tests/support/opened_squares.h"

// The game draws into the screen model, as the page, the replay and the
// tests' stand-ins do, so the figures are those of the rules and the model.
namespace {

void SetBoard(int newColumns, int newRows, int newBombs)
{
    columns = newColumns;
    rows = newRows;
    bombCount = newBombs;
    ResetScreenModel();
}

// Every square of the board in an order shuffled with a fixed seed.
std::vector<std::pair<int, int>> ShuffledSquares(unsigned seed)
{
    std::vector<std::pair<int, int>> squares;
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
            squares.emplace_back(column, row);
    std::mt19937 rng(seed);
    std::shuffle(squares.begin(), squares.end(), rng);
    return squares;
}

}  // namespace

// NewGame alone on the largest board: 864 covered squares and the counter.
static void BM_NewGame(benchmark::State& state)
{
    SetBoard(36, 24, 5);
    for (auto _ : state) {
        ForgetChanges();
        NewGame();
        benchmark::DoNotOptimize(shownTile);
        benchmark::ClobberMemory();
    }
    state.counters["squares drawn"] = changedSquareCount;
}
BENCHMARK(BM_NewGame);

// NewGame and the first open at (0, 0) of the 36 x 24 board with 5 bombs:
// the flood opens 857 squares, 796 levels deep at its deepest.
static void BM_NewGameAndFullBoardFlood(benchmark::State& state)
{
    SetBoard(36, 24, 5);
    for (auto _ : state) {
        randomState = 1;
        ForgetChanges();
        NewGame();
        OpenCell(0, 0);
        benchmark::DoNotOptimize(shownTile);
        benchmark::ClobberMemory();
    }
    if (OpenedSquares() != 857)
        state.SkipWithError("the flood did not open the expected 857 squares");
    state.counters["opened"] = OpenedSquares();
    state.counters["squares drawn"] = changedSquareCount;
}
BENCHMARK(BM_NewGameAndFullBoardFlood);

// The first open alone, the layout of the bombs and the flood: NewGame runs
// outside the timing.
static void BM_FullBoardFlood(benchmark::State& state)
{
    SetBoard(36, 24, 5);
    for (auto _ : state) {
        state.PauseTiming();
        randomState = 1;
        NewGame();
        ForgetChanges();
        state.ResumeTiming();
        OpenCell(0, 0);
        benchmark::DoNotOptimize(shownTile);
        benchmark::ClobberMemory();
    }
    if (OpenedSquares() != 857)
        state.SkipWithError("the flood did not open the expected 857 squares");
    state.counters["squares drawn"] = changedSquareCount;
}
BENCHMARK(BM_FullBoardFlood);

// A whole random game: squares opened in a shuffled order until a bomb is
// opened or every safe square is open.
static void BM_RandomGame(benchmark::State& state)
{
    SetBoard(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
             static_cast<int>(state.range(2)));
    const std::vector<std::pair<int, int>> order = ShuffledSquares(2024);
    const int safeSquares = columns * rows - bombCount;
    int opens = 0;
    for (auto _ : state) {
        randomState = 1;
        ForgetChanges();
        opens = 0;
        NewGame();
        ForgetChanges();
        for (const auto& square : order) {
            if (Board[square.first][square.second].opened)
                continue;
            OpenCell(square.first, square.second);
            ++opens;
            if (!gameActive)
                break;  // lost
            // Each open draws its squares once: all safe squares drawn is all open.
            if (changedSquareCount == safeSquares)
                break;
        }
        benchmark::DoNotOptimize(shownTile);
        benchmark::ClobberMemory();
    }
    state.counters["opens"] = opens;
    state.counters["opened"] = OpenedSquares();
}
BENCHMARK(BM_RandomGame)->Args({10, 5, 10})->Args({16, 16, 40})->Args({36, 24, 5})->Args({36, 24, 130});

// A whole won game, played by someone who knows the bombs: every safe square
// opened in a shuffled order, then every bomb flagged, the last flag showing
// the won board.
static void BM_WonGame(benchmark::State& state)
{
    SetBoard(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
             static_cast<int>(state.range(2)));
    const std::vector<std::pair<int, int>> order = ShuffledSquares(7);
    for (auto _ : state) {
        randomState = 1;
        ForgetChanges();
        NewGame();
        OpenCell(order[0].first, order[0].second);
        for (const auto& square : order) {
            const Cell& cell = Board[square.first][square.second];
            if (!cell.mine && !cell.opened)
                OpenCell(square.first, square.second);
        }
        for (const auto& square : order)
            if (Board[square.first][square.second].mine)
                CycleMark(square.first, square.second);
        benchmark::DoNotOptimize(shownTile);
        benchmark::ClobberMemory();
    }
    if (gameActive || mineCounter != 0)
        state.SkipWithError("the game was not won");
    state.counters["squares drawn"] = changedSquareCount;
}
BENCHMARK(BM_WonGame)->Args({16, 16, 40})->Args({36, 24, 130});

// Random games played straight through the rules, one run of the program
// after another (the game's own generator is left alone; std::mt19937 with
// fixed seeds picks sizes and moves). After every request the whole state is
// checked against what must always hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/rules.h"
#include "tests/native/draw_recorder.h"

namespace {

// Bombs around a square, counted here rather than through the game's own
// neighbour walk.
int MinesAround(int column, int row)
{
    int count = 0;
    for (int dc = -1; dc <= 1; ++dc) {
        for (int dr = -1; dr <= 1; ++dr) {
            const int c = column + dc, r = row + dr;
            if ((dc || dr) && c >= 0 && c < columns && r >= 0 && r < rows && Board[c][r].mine)
                ++count;
        }
    }
    return count;
}

enum class Request { Open, Mark, Chord };

struct Move {
    Request request;
    int column, row;
};

std::string Describe(const Move& move)
{
    std::ostringstream out;
    out << (move.request == Request::Open ? "OpenCell" : move.request == Request::Mark ? "CycleMark"
                                                                                      : "OpenAround")
        << "(" << move.column << "," << move.row << ")";
    return out.str();
}

class RandomGames {
public:
    explicit RandomGames(unsigned seed) : rng_(seed) {}

    // Lays out a game of a random size, with junk left in the cells beyond it
    // as if a larger board had been played before.
    void StartGame()
    {
        const int c = Uniform(10, 36), r = Uniform(5, 24);
        const int cells = c * r;
        // Half the games sparse enough to see floods and wins, half with any
        // bomb count the settings allow.
        const int bombs = Uniform(0, 1) ? Uniform(5, std::max(5, cells / 6)) : Uniform(5, cells - 5);
        columns = c;
        rows = r;
        bombCount = bombs;
        for (int column = 0; column < MaxColumns; ++column) {
            for (int row = 0; row < MaxRows; ++row) {
                if (column < columns && row < rows)
                    continue;
                const int junk[] = {0, 1, -1, 7};
                Board[column][row] = Cell{junk[Uniform(0, 3)], junk[Uniform(0, 3)], junk[Uniform(0, 3)]};
            }
        }
        NewGame();
        std::memcpy(outsideAtStart_, Board, sizeof Board);
        firstOpen_ = {-1, -1};
        lostAt_ = {-1, -1};
        // A third of the games are played by someone who never opens a square
        // at random: those reach the win more often.
        careful_ = Uniform(0, 2) == 0;
        wasOver_ = false;
    }

    Move NextMove()
    {
        const int kind = Uniform(0, 99);
        if (kind < 10)
            return {Uniform(0, 1) ? Request::Open : Request::Mark, OffBoardColumn(), Uniform(-2, rows + 2)};
        if (kind < 35)
            return careful_ ? Informed(Request::Open) : Move{Request::Open, Uniform(0, columns - 1), Uniform(0, rows - 1)};
        if (kind < 55)
            return careful_ ? Informed(Request::Mark) : Move{Request::Mark, Uniform(0, columns - 1), Uniform(0, rows - 1)};
        if (kind < 75) {
            // The chord is only ever asked for on an opened square.
            const auto opened = Squares([](const Cell& cell) { return cell.opened != 0; });
            if (!opened.empty()) {
                const auto square = opened[Uniform(0, static_cast<int>(opened.size()) - 1)];
                return {Request::Chord, square.first, square.second};
            }
            return {Request::Open, Uniform(0, columns - 1), Uniform(0, rows - 1)};
        }
        return Informed(kind < 88 ? Request::Mark : Request::Open);
    }

    // Moves of a player who knows the bombs, which drive games towards a win:
    // open a safe covered square; flag a bomb or take a wrong flag away.
    Move Informed(Request request)
    {
        const auto targets = Squares([request](const Cell& cell) {
            if (request == Request::Open)
                return !cell.mine && !cell.opened && !cell.mark;
            return cell.mine ? !cell.mark : cell.mark != 0;
        });
        if (targets.empty())
            return {request, Uniform(0, columns - 1), Uniform(0, rows - 1)};
        const auto square = targets[Uniform(0, static_cast<int>(targets.size()) - 1)];
        return {request, square.first, square.second};
    }

    // Makes the request and checks everything that must hold afterwards.
    void Play(const Move& move)
    {
        const ProgramSnapshot before = TakeSnapshot();
        const bool waitingBefore = firstClickPending != 0;
        const bool overBefore = Over();
        drawLog.clear();
        int result = 0;
        switch (move.request) {
        case Request::Open: result = OpenCell(move.column, move.row); break;
        case Request::Mark: result = CycleMark(move.column, move.row); break;
        case Request::Chord: result = OpenAround(move.column, move.row); break;
        }
        if (waitingBefore && !firstClickPending)
            firstOpen_ = {move.column, move.row};

        if (result == 0 || overBefore) {
            // Refused, or a chord after the end, whose every open is refused.
            ASSERT_TRUE(drawLog.empty()) << "drew " << drawLog.size() << " times";
            ASSERT_EQ(SnapshotDifference(before, TakeSnapshot()), "");
        } else {
            CheckWhatTheRequestDid(move, before);
            if (::testing::Test::HasFatalFailure())
                return;
        }
        CheckInvariants();
    }

    bool Over() const { return !gameActive && !firstClickPending; }

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

private:
    template <typename Predicate>
    std::vector<std::pair<int, int>> Squares(Predicate predicate) const
    {
        std::vector<std::pair<int, int>> squares;
        for (int column = 0; column < columns; ++column)
            for (int row = 0; row < rows; ++row)
                if (predicate(Board[column][row]))
                    squares.emplace_back(column, row);
        return squares;
    }

    int OffBoardColumn()
    {
        const int choices[] = {-1, -2, columns, columns + 1, MaxColumns, 4095, Uniform(0, columns - 1)};
        return choices[Uniform(0, 6)];
    }

    void CheckWhatTheRequestDid(const Move& move, const ProgramSnapshot& before)
    {
        ASSERT_TRUE(InBounds(move.column, move.row)) << Describe(move) << " gave 1";
        const Cell& was = before.board[move.column][move.row];
        if (move.request == Request::Mark) {
            // A mark alternates, the counter follows, the flag and the counter
            // are drawn first.
            ASSERT_EQ(Board[move.column][move.row].mark != 0, was.mark == 0);
            ASSERT_EQ(mineCounter, before.mineCounter + (was.mark ? 1 : -1));
            ASSERT_GE(drawLog.size(), 2u);
            ASSERT_EQ(drawLog[0], (DrawCall{move.column, move.row, was.mark ? 0 : 1}));
            ASSERT_EQ(drawLog[1], CounterCall(mineCounter));
            if (!gameActive) {
                ASSERT_EQ(mineCounter, 0) << "a mark ended the game with the counter not at 0";
            } else {
                ASSERT_EQ(drawLog.size(), 2u);
            }
            return;
        }
        if (move.request == Request::Open) {
            ASSERT_TRUE(Board[move.column][move.row].opened) << Describe(move) << " gave 1";
        }
        if (!gameActive)
            return;  // lost: the end-of-game picture is checked with the invariants

        // A request that opened without losing draws each newly opened square
        // once, with its number, and nothing else.
        std::vector<int> draws(MaxColumns * MaxRows, 0);
        for (const DrawCall& call : drawLog) {
            ASSERT_GE(call.column, 0) << call;
            ASSERT_TRUE(InBounds(call.column, call.row)) << call;
            ASSERT_FALSE(before.board[call.column][call.row].opened) << call << " was open already";
            ASSERT_TRUE(Board[call.column][call.row].opened) << call;
            ASSERT_EQ(call.tile, 3 + MinesAround(call.column, call.row)) << call;
            ASSERT_EQ(++draws[call.column * MaxRows + call.row], 1) << call << " drawn twice";
        }
        int newlyOpened = 0;
        for (int column = 0; column < columns; ++column) {
            for (int row = 0; row < rows; ++row) {
                if (!Board[column][row].opened || before.board[column][row].opened)
                    continue;
                ++newlyOpened;
                // The flood went on from every newly opened square with neither
                // a bomb nor a flag around it.
                if (MinesAround(column, row) != 0 || CountAdjacentMarks(column, row) != 0)
                    continue;
                for (int dc = -1; dc <= 1; ++dc) {
                    for (int dr = -1; dr <= 1; ++dr) {
                        if (InBounds(column + dc, row + dr)) {
                            ASSERT_TRUE(Board[column + dc][row + dr].opened)
                                << "flood stopped at (" << column << "," << row << ")";
                        }
                    }
                }
            }
        }
        ASSERT_EQ(static_cast<size_t>(newlyOpened), drawLog.size());
    }

    void CheckInvariants()
    {
        ASSERT_EQ(drawsOffBoard, 0);
        ASSERT_FALSE(gameActive && firstClickPending);
        ASSERT_TRUE(gameActive == 0 || gameActive == 1);
        ASSERT_TRUE(firstClickPending == 0 || firstClickPending == 1);

        // Cells beyond the board are never touched.
        for (int column = 0; column < MaxColumns; ++column) {
            for (int row = 0; row < MaxRows; ++row) {
                if (column >= columns || row >= rows) {
                    ASSERT_EQ(std::memcmp(&Board[column][row], &outsideAtStart_[column][row], sizeof(Cell)), 0)
                        << "cell (" << column << "," << row << ") beyond the board changed";
                }
            }
        }

        int bombs = 0, flags = 0, flaggedBombs = 0, openedBombs = 0;
        for (int column = 0; column < columns; ++column) {
            for (int row = 0; row < rows; ++row) {
                const Cell& cell = Board[column][row];
                ASSERT_TRUE(cell.mine == 0 || cell.mine == 1);
                ASSERT_TRUE(cell.opened == 0 || cell.opened == 1);
                ASSERT_TRUE(cell.mark == 0 || cell.mark == 1);
                ASSERT_FALSE(cell.opened && cell.mark) << "(" << column << "," << row << ") opened and marked";
                bombs += cell.mine;
                flags += cell.mark;
                flaggedBombs += cell.mine && cell.mark;
                openedBombs += cell.mine && cell.opened;
            }
        }
        ASSERT_EQ(mineCounter, bombCount - flags);
        ASSERT_EQ(screenCounter, mineCounter);
        if (firstClickPending) {
            ASSERT_EQ(bombs, 0);
        } else {
            ASSERT_EQ(bombs, bombCount);
            ASSERT_FALSE(Board[firstOpen_.first][firstOpen_.second].mine) << "bomb on the first square";
        }
        ASSERT_LE(openedBombs, 1);

        const bool won = mineCounter == 0 && flaggedBombs == bombCount;
        if (!Over()) {
            ASSERT_EQ(openedBombs, 0);
            ASSERT_FALSE(gameActive && won) << "every bomb flagged, yet still in play";
        } else {
            // Over only by opening a bomb or by the win.
            ASSERT_TRUE((openedBombs == 1) != won) << "game over without a loss or a win";
            if (!wasOver_ && openedBombs == 1)
                for (int column = 0; column < columns; ++column)
                    for (int row = 0; row < rows; ++row)
                        if (Board[column][row].mine && Board[column][row].opened)
                            lostAt_ = {column, row};
            wasOver_ = true;
        }
        CheckScreen(won && Over(), openedBombs == 1);
    }

    // The screen shows the board: while play runs, opened squares with their
    // number, flags, the rest covered; at the end the final picture.
    void CheckScreen(bool won, bool lost)
    {
        for (int column = 0; column < columns; ++column) {
            for (int row = 0; row < rows; ++row) {
                const Cell& cell = Board[column][row];
                int expected;
                if (lost && column == lostAt_.first && row == lostAt_.second)
                    expected = 15;
                else if ((won || lost) && cell.mine)
                    expected = cell.mark ? 12 : 14;
                else if ((won || lost) && cell.mark)
                    expected = 13;
                else if (cell.opened || (won && !cell.mine))
                    expected = 3 + MinesAround(column, row);
                else
                    expected = cell.mark ? 1 : 0;
                ASSERT_EQ(screenTile[column][row], expected)
                    << "square (" << column << "," << row << ")\n"
                    << ScreenPicture();
            }
        }
    }

    std::mt19937 rng_;
    Cell outsideAtStart_[MaxColumns][MaxRows];
    std::pair<int, int> firstOpen_{-1, -1};
    std::pair<int, int> lostAt_{-1, -1};
    bool wasOver_ = false;
    bool careful_ = false;

public:
    bool Lost() const { return Over() && lostAt_.first >= 0; }
    bool Won() const { return Over() && lostAt_.first < 0; }
};

}  // namespace

TEST(RulesProperty, RandomGamesKeepEveryInvariant)
{
    ResetProgramState(10, 5, 10);
    int wins = 0, losses = 0, movesAfterEnd = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        RandomGames games(seed);
        games.StartGame();
        SCOPED_TRACE(::testing::Message() << "seed " << seed << ", board " << columns << "x" << rows
                                          << " with " << bombCount << " bombs");
        games.Play({Request::Mark, 0, 0});  // before the first open: refused
        ASSERT_FALSE(HasFatalFailure());
        std::vector<Move> played;
        for (int step = 0; step < 400; ++step) {
            const Move move = games.NextMove();
            played.push_back(move);
            games.Play(move);
            if (HasFatalFailure()) {
                std::string history;
                for (const Move& m : played)
                    history += Describe(m) + " ";
                FAIL() << "after " << history;
            }
            if (games.Over() && games.Uniform(0, 9) == 0)
                break;
            movesAfterEnd += games.Over();
        }
        wins += games.Won();
        losses += games.Lost();
    }
    // The games must reach both endings, and requests after them.
    EXPECT_GT(wins, 40);
    EXPECT_GT(losses, 100);
    EXPECT_GT(movesAfterEnd, 1000);
}

// Long random streams of mouse messages, game after game, with the state of
// the input layer, the rules and the screen checked after every message.
//
// Most streams are the kind a window delivers: the pointer moves only with a
// move message, so every press and release comes over the square of the last
// move. Some streams send presses and releases anywhere, which a window never
// does; there the pressed preview may be left anywhere, and only the other
// checks apply.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/rules.h"
#include "input/mouse.h"
#include "tests/native/draw_recorder.h"

namespace {

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

bool OnBoard(int column, int row) { return column >= 0 && column < columns && row >= 0 && row < rows; }

// ---------------------------------------------------------------------------
// Who drew what. The input layer draws only tiles 0 and 3, and only on
// covered, unmarked squares. The rules draw tile 0 on a square they have just
// unflagged, tile 3 once on a square they have just opened with no bomb
// around it, and, when a flag wins, 3 + n on every covered square before the
// bombs get their ringed flag (a flagged bomb with no bomb around it gets
// tile 3). So during one message, a tile 0 or 3 on a square that is opened or
// flagged at the moment of the drawing is the input layer's fault, but for
// those drawings of the rules.

struct DrawWatch {
    bool active = false;
    bool openedBefore[MaxColumns][MaxRows];
    int emptyTilesWhileOpen[MaxColumns][MaxRows];
    std::vector<std::string> faults;
} watch;

void StartWatching()
{
    watch.active = true;
    for (int column = 0; column < MaxColumns; ++column) {
        for (int row = 0; row < MaxRows; ++row) {
            watch.openedBefore[column][row] = Board[column][row].opened != 0;
            watch.emptyTilesWhileOpen[column][row] = 0;
        }
    }
}

void WatchDrawTile(int column, int row, int tile)
{
    if (!watch.active || (tile != 0 && tile != 3) || !OnBoard(column, row))
        return;
    const Cell& cell = Board[column][row];
    const char* fault = nullptr;
    if (cell.mark) {
        const bool winningReveal = tile == 3 && !gameActive && !firstClickPending && cell.mine &&
                                   mineCounter == 0 && MinesAround(column, row) == 0;
        if (!winningReveal)
            fault = "the flagged";
    } else if (cell.opened) {
        const bool rulesOpenedItNow = tile == 3 && !watch.openedBefore[column][row] && !cell.mine &&
                                      MinesAround(column, row) == 0 &&
                                      watch.emptyTilesWhileOpen[column][row]++ == 0;
        if (!rulesOpenedItNow)
            fault = "the opened";
    }
    if (fault)
        watch.faults.push_back("tile " + std::to_string(tile) + " on " + fault + " (" +
                               std::to_string(column) + "," + std::to_string(row) + ")");
}

// ---------------------------------------------------------------------------

enum class Message { Move, LeftDown, LeftUp, RightDown, RightUp };

const char* Name(Message message)
{
    switch (message) {
    case Message::Move: return "MouseMove";
    case Message::LeftDown: return "LeftButtonDown";
    case Message::LeftUp: return "LeftButtonUp";
    case Message::RightDown: return "RightButtonDown";
    case Message::RightUp: return "RightButtonUp";
    }
    return "?";
}

struct Sent {
    Message message;
    unsigned buttons, x, y;
};

std::string Describe(const Sent& sent)
{
    std::ostringstream out;
    out << Name(sent.message) << "(" << sent.buttons << "," << sent.x << "," << sent.y << ")";
    return out.str();
}

// Where the pressed preview may still show after a message, around the square
// under the pointer.
enum class PressedAllowed { Nowhere, Centre, Block };

class MouseSession {
public:
    MouseSession(unsigned seed, bool windowLike, int purposefulPercent)
        : rng_(seed), windowLike_(windowLike), purposefulPercent_(purposefulPercent)
    {
    }

    void StartGame(bool newSize)
    {
        if (newSize) {
            columns = Uniform(10, 36);
            rows = Uniform(5, 24);
            const int cells = columns * rows;
            bombCount = Uniform(0, 2) ? Uniform(5, std::max(5, cells / 5)) : Uniform(5, cells - 5);
            // Junk beyond the board, as a larger board would leave it.
            for (int column = 0; column < MaxColumns; ++column)
                for (int row = 0; row < MaxRows; ++row)
                    if (column >= columns || row >= rows)
                        Board[column][row] = Cell{Uniform(0, 1), Uniform(0, 1), Uniform(0, 1)};
        }
        NewGame();
        std::memcpy(boardAtStart_, Board, sizeof Board);
        exploded_ = {-1, -1};
    }

    // Sends one message (a window-like stream may first move the pointer)
    // and checks everything afterwards. Returns false after a failure.
    bool Step(std::vector<Sent>& history)
    {
        if (Uniform(0, 99) < purposefulPercent_)
            return PurposefulStep(history);
        const Message message = RandomMessage();
        if (message == Message::Move) {
            MovePointer();
            return Deliver({Message::Move, RandomButtons(), x_, y_}, history);
        }
        if (windowLike_) {
            if (Uniform(0, 9) < 3) {
                MovePointer();
                if (!Deliver({Message::Move, RandomButtons(), x_, y_}, history))
                    return false;
            }
        } else {
            MovePointer();  // a press or release anywhere, with no move before it
        }
        return Deliver({message, RandomButtons(), x_, y_}, history);
    }

    bool Over() const { return !gameActive && !firstClickPending; }
    bool Lost() const { return exploded_.first >= 0; }
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    int chords = 0;

private:
    // What a player who knows the bombs would do, a whole click at a time:
    // open a safe square, flag a bomb, take a wrong flag away, or chord.
    bool PurposefulStep(std::vector<Sent>& history)
    {
        const int kind = Uniform(0, 3);
        std::vector<std::pair<int, int>> targets;
        for (int column = 0; column < columns; ++column) {
            for (int row = 0; row < rows; ++row) {
                const Cell& cell = Board[column][row];
                const bool fits = kind == 0   ? !cell.mine && !cell.opened && !cell.mark
                                  : kind == 1 ? cell.mine && !cell.mark
                                  : kind == 2 ? !cell.mine && cell.mark
                                              : cell.opened != 0;
                if (fits)
                    targets.emplace_back(column, row);
            }
        }
        if (targets.empty())
            return true;
        const auto square = targets[Uniform(0, static_cast<int>(targets.size()) - 1)];
        SetPointerIn(square.first, square.second);
        const unsigned x = x_, y = y_;
        const unsigned both = MouseLeft | MouseRight;
        Sent messages[5];
        int count = 0;
        messages[count++] = {Message::Move, 0, x, y};
        if (kind == 0) {
            messages[count++] = {Message::LeftDown, MouseLeft, x, y};
            messages[count++] = {Message::LeftUp, 0, x, y};
        } else if (kind < 3) {
            messages[count++] = {Message::RightDown, MouseRight, x, y};
            messages[count++] = {Message::RightUp, 0, x, y};
        } else {
            messages[count++] = {Message::LeftDown, MouseLeft, x, y};
            messages[count++] = {Message::RightDown, both, x, y};
            if (Uniform(0, 1)) {
                messages[count++] = {Message::LeftUp, MouseRight, x, y};
                messages[count++] = {Message::RightUp, 0, x, y};
            } else {
                messages[count++] = {Message::RightUp, MouseLeft, x, y};
                messages[count++] = {Message::LeftUp, 0, x, y};
            }
        }
        for (int i = 0; i < count; ++i)
            if (!Deliver(messages[i], history))
                return false;
        return true;
    }

    Message RandomMessage()
    {
        const int pick = Uniform(0, 99);
        if (pick < 30)
            return Message::Move;
        if (pick < 48)
            return Message::LeftDown;
        if (pick < 68)
            return Message::LeftUp;
        if (pick < 82)
            return Message::RightDown;
        return Message::RightUp;
    }

    unsigned RandomButtons()
    {
        unsigned buttons = static_cast<unsigned>(Uniform(0, 3));
        if (Uniform(0, 9) == 0)
            buttons |= static_cast<unsigned>(Uniform(1, 31)) << 2;  // other keys' bits
        return buttons;
    }

    void MovePointer()
    {
        const int pick = Uniform(0, 99);
        if (pick < 10) {
            // Over a bomb or a safe covered square: gives wins and losses.
            std::vector<std::pair<int, int>> targets;
            const bool bomb = pick < 5;
            for (int column = 0; column < columns; ++column)
                for (int row = 0; row < rows; ++row)
                    if (bomb ? Board[column][row].mine != 0 : !Board[column][row].mine && !Board[column][row].opened)
                        targets.emplace_back(column, row);
            if (!targets.empty()) {
                const auto square = targets[Uniform(0, static_cast<int>(targets.size()) - 1)];
                SetPointerIn(square.first, square.second);
                return;
            }
        }
        if (pick < 20 && windowLike_) {
            // A step to a neighbouring square, as a drag goes.
            int column = x_ / 16 + Uniform(-1, 1), row = static_cast<int>(y_ / 16) - 1 + Uniform(-1, 1);
            column = std::clamp(column, 0, columns - 1);
            row = std::clamp(row, -1, rows - 1);
            SetPointerIn(column, row);
            return;
        }
        if (pick < 75) {
            SetPointerIn(Uniform(0, columns - 1), Uniform(0, rows - 1));
        } else if (pick < 85) {
            x_ = static_cast<unsigned>(Uniform(0, 16 * columns - 1));  // the counter strip
            y_ = static_cast<unsigned>(Uniform(0, 15));
        } else if (pick < 93) {
            // Just beyond the right or bottom edge of the board.
            x_ = static_cast<unsigned>(Uniform(0, 16 * columns + 40));
            y_ = static_cast<unsigned>(Uniform(16 * (rows + 1), 16 * (rows + 1) + 40));
            if (Uniform(0, 1))
                std::swap(x_, y_);
        } else {
            x_ = static_cast<unsigned>(Uniform(0, 65535));
            y_ = static_cast<unsigned>(Uniform(0, 65535));
        }
    }

    void SetPointerIn(int column, int row)
    {
        x_ = static_cast<unsigned>(16 * column + Uniform(0, 15));
        y_ = static_cast<unsigned>(16 * (row + 1) + Uniform(0, 15));
    }

    bool Deliver(const Sent& sent, std::vector<Sent>& history)
    {
        history.push_back(sent);
        const ProgramSnapshot before = TakeSnapshot();
        const bool runningBefore = gameActive || firstClickPending;
        const bool waitingBefore = firstClickPending != 0;
        int column, row;
        SquareAtPoint(sent.x, sent.y, &column, &row);
        const bool centreOpenBefore = OnBoard(column, row) && Board[column][row].opened;

        drawLog.clear();
        watch.faults.clear();
        StartWatching();
        switch (sent.message) {
        case Message::Move: MouseMove(sent.buttons, sent.x, sent.y); break;
        case Message::LeftDown: LeftButtonDown(sent.buttons, sent.x, sent.y); break;
        case Message::LeftUp: LeftButtonUp(sent.buttons, sent.x, sent.y); break;
        case Message::RightDown: RightButtonDown(sent.buttons, sent.x, sent.y); break;
        case Message::RightUp: RightButtonUp(sent.buttons, sent.x, sent.y); break;
        }
        watch.active = false;

        EXPECT_TRUE(watch.faults.empty()) << "the input layer drew " << watch.faults.front();
        EXPECT_EQ(drawsOffBoard, 0);
        const ProgramSnapshot after = TakeSnapshot();
        if (!runningBefore) {
            // Dropped whole: no drawing, no change of any kind.
            EXPECT_TRUE(drawLog.empty());
            EXPECT_EQ(SnapshotDifference(before, after), "");
            return !::testing::Test::HasFailure();
        }
        EXPECT_EQ(hoverColumn, column);
        EXPECT_EQ(hoverRow, row);
        if (sent.message == Message::Move) {
            // A move within the hovered square draws nothing, any other at
            // most nine restored and nine pressed squares.
            const bool sameSquare = before.hoverColumn == column && before.hoverRow == row;
            EXPECT_LE(drawLog.size(), sameSquare ? 0u : 18u);
        }
        CheckRuleEffects(sent, before, column, row);
        if (waitingBefore && !firstClickPending)
            firstOpen_ = {column, row};
        CheckInvariants();

        const bool centreOpenedNow = OnBoard(column, row) && !centreOpenBefore && Board[column][row].opened;
        CheckScreen(PressedRegion(sent, before, column, row, centreOpenedNow), column, row);
        const bool chord = (sent.message == Message::LeftUp && (sent.buttons & MouseRight)) ||
                           (sent.message == Message::RightUp && (sent.buttons & MouseLeft));
        chords += chord && centreOpenBefore;
        return !::testing::Test::HasFailure();
    }

    // What each message may do to the board through the rules.
    void CheckRuleEffects(const Sent& sent, const ProgramSnapshot& before, int column, int row)
    {
        const bool leftHeld = (sent.buttons & MouseLeft) != 0;
        for (int c = 0; c < MaxColumns; ++c) {
            for (int r = 0; r < MaxRows; ++r) {
                const Cell& was = before.board[c][r];
                const Cell& now = Board[c][r];
                const bool underPointer = c == column && r == row;
                const char* fault = nullptr;
                switch (sent.message) {
                case Message::Move:
                case Message::LeftDown:
                    if (std::memcmp(&was, &now, sizeof(Cell)) != 0)
                        fault = "changed, though moves and left presses call no rule";
                    break;
                case Message::RightDown:
                    // Only the mark under the pointer, and only without the left button.
                    if (was.mine != now.mine || was.opened != now.opened)
                        fault = "opened by a right press";
                    else if (was.mark != now.mark && (leftHeld || !underPointer))
                        fault = "marked, though not a right press alone under the pointer";
                    break;
                case Message::LeftUp:
                case Message::RightUp:
                    if (was.mark != now.mark)
                        fault = "marked by a release";
                    break;
                }
                if (fault) {
                    FAIL() << "(" << c << "," << r << ") " << fault;
                }
            }
        }
        if (sent.message != Message::LeftUp && sent.message != Message::RightUp) {
            ASSERT_EQ(before.firstClickPending, firstClickPending) << "only a release opens";
            ASSERT_EQ(before.randomState, randomState);
        }
    }

    PressedAllowed PressedRegion(const Sent& sent, const ProgramSnapshot& before, int column, int row,
                                 bool centreOpenedNow) const
    {
        switch (sent.message) {
        case Message::Move:
            if (before.hoverColumn == column && before.hoverRow == row)
                return PressedAllowed::Block;
            if (!(sent.buttons & MouseLeft))
                return PressedAllowed::Nowhere;
            return (sent.buttons & MouseRight) ? PressedAllowed::Block : PressedAllowed::Centre;
        case Message::LeftDown:
        case Message::RightDown:
            return PressedAllowed::Block;
        case Message::LeftUp:
            // The ring is restored unless the release opened its square.
            return centreOpenedNow ? PressedAllowed::Block : PressedAllowed::Centre;
        case Message::RightUp:
            return PressedAllowed::Nowhere;
        }
        return PressedAllowed::Block;
    }

    void CheckInvariants()
    {
        int bombs = 0, flags = 0, flaggedBombs = 0, openedBombs = 0;
        for (int column = 0; column < MaxColumns; ++column) {
            for (int row = 0; row < MaxRows; ++row) {
                const Cell& cell = Board[column][row];
                if (!OnBoard(column, row)) {
                    if (std::memcmp(&cell, &boardAtStart_[column][row], sizeof(Cell)) != 0)
                        FAIL() << "cell (" << column << "," << row << ") beyond the board changed";
                    continue;
                }
                if (cell.opened && cell.mark)
                    FAIL() << "(" << column << "," << row << ") opened and flagged";
                bombs += cell.mine != 0;
                flags += cell.mark != 0;
                flaggedBombs += cell.mine && cell.mark;
                if (cell.mine && cell.opened) {
                    ++openedBombs;
                    exploded_ = {column, row};
                }
            }
        }
        ASSERT_EQ(mineCounter, bombCount - flags);
        ASSERT_EQ(screenCounter, mineCounter);
        ASSERT_FALSE(gameActive && firstClickPending);
        ASSERT_EQ(bombs, firstClickPending ? 0 : bombCount);
        if (!firstClickPending) {
            ASSERT_FALSE(Board[firstOpen_.first][firstOpen_.second].mine) << "bomb on the first square";
        }
        ASSERT_LE(openedBombs, 1);
        const bool won = mineCounter == 0 && flaggedBombs == bombCount;
        if (Over()) {
            ASSERT_TRUE((openedBombs == 1) != won) << "over without a loss or a win";
        } else {
            ASSERT_EQ(openedBombs, 0);
            ASSERT_FALSE(gameActive && won) << "every bomb flagged, yet still in play";
        }
    }

    void CheckScreen(PressedAllowed allowed, int column, int row)
    {
        const bool won = Over() && !Lost();
        const bool lost = Over() && Lost();
        for (int c = 0; c < columns; ++c) {
            for (int r = 0; r < rows; ++r) {
                const Cell& cell = Board[c][r];
                int expected;
                if (cell.opened && !cell.mine)
                    expected = 3 + MinesAround(c, r);
                else if (lost && cell.mine)
                    expected = c == exploded_.first && r == exploded_.second ? 15 : cell.mark ? 12 : 14;
                else if (won && cell.mine)
                    expected = 12;
                else if (won)
                    expected = 3 + MinesAround(c, r);
                else if (cell.mark)
                    expected = lost ? 13 : 1;
                else
                    expected = 0;  // covered and unmarked, or pressed near the pointer
                const int shown = screenTile[c][r];
                if (shown == expected)
                    continue;
                if (expected == 0 && shown == 3) {
                    const int dc = std::abs(c - column), dr = std::abs(r - row);
                    const bool inside = allowed == PressedAllowed::Block    ? dc <= 1 && dr <= 1
                                        : allowed == PressedAllowed::Centre ? dc == 0 && dr == 0
                                                                            : false;
                    if (inside || !windowLike_)
                        continue;
                    FAIL() << "(" << c << "," << r << ") shows pressed with the pointer over (" << column
                           << "," << row << ")\n"
                           << ScreenPicture();
                }
                FAIL() << "(" << c << "," << r << ") shows tile " << shown << " instead of " << expected << "\n"
                       << ScreenPicture();
            }
        }
    }

    std::mt19937 rng_;
    bool windowLike_;
    int purposefulPercent_;
    unsigned x_ = 0, y_ = 0;
    Cell boardAtStart_[MaxColumns][MaxRows];
    std::pair<int, int> firstOpen_{-1, -1};
    std::pair<int, int> exploded_{-1, -1};
};

}  // namespace

TEST(MouseProperty, RandomMessageStreamsKeepThePictureAndTheGameSound)
{
    DrawObserverScope observer(WatchDrawTile);
    ResetProgramState(10, 5, 10);
    int wins = 0, losses = 0, chords = 0;
    for (unsigned seed = 1; seed <= 100; ++seed) {
        // One stream in four sends presses anywhere; a third of them mixes in
        // a player's clicks, which reach wins.
        const bool windowLike = seed % 4 != 0;
        MouseSession session(seed, windowLike, seed % 3 == 0 ? 40 : 0);
        session.StartGame(true);
        std::vector<Sent> history;
        int afterEnd = 0;
        for (int step = 0; step < 500; ++step) {
            const bool ok = session.Step(history);
            if (!ok) {
                std::string trail;
                const size_t from = history.size() > 40 ? history.size() - 40 : 0;
                for (size_t i = from; i < history.size(); ++i)
                    trail += Describe(history[i]) + "\n";
                FAIL() << "seed " << seed << (windowLike ? "" : " (presses anywhere)") << ", board "
                       << columns << "x" << rows << " with " << bombCount << " bombs, after "
                       << history.size() << " messages, the last ones:\n"
                       << trail;
            }
            // Some messages after the end of a game, then a new one; now and
            // then the new game comes from the menu in the middle of play.
            if ((session.Over() && ++afterEnd > 8) || session.Uniform(0, 299) == 0) {
                wins += session.Over() && !session.Lost();
                losses += session.Over() && session.Lost();
                afterEnd = 0;
                session.StartGame(session.Uniform(0, 2) == 0);
                history.clear();
            }
        }
        chords += session.chords;
    }
    // The streams must have reached both endings and many chords.
    EXPECT_GT(wins, 10);
    EXPECT_GT(losses, 150);
    EXPECT_GT(chords, 1500);
}

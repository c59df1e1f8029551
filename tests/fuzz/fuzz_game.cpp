// Coverage-guided fuzzing of the whole game below the window: the rules, the
// mouse cases and the drawing they do, played from bytes that libFuzzer
// chooses, with everything that must always hold checked after every mouse
// message and every game call.
//
// An input is read from the front, one byte at a time; bytes past its end
// read as 0. It starts with a header:
//
//   columns   10 + b % 27
//   rows      5 + b % 20
//   bombs     a style byte and a 16-bit value (ReadBombCount)
//   options   bit 0: a window-like stream: presses and releases come where
//             the last move left the pointer, as a window delivers them;
//             otherwise each of them names its own position
//             bit 1: a 16-bit count of generator steps follows, taken before
//             the first game so that the bomb layouts vary
//             bit 2: a byte follows that fills the cells beyond the board
//             with what an earlier, larger board might have left there
//
// then the program starts (NewGame) and operations follow until the input
// ends: an opcode byte and its arguments (Session::RunOperation).
//
// A broken rule prints what broke, the state, the model and the last steps
// on stderr and aborts, so that libFuzzer keeps the input. The binary also
// replays an input given as a file argument.
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/board.h"
#include "core/rules.h"
#include "input/mouse.h"
#include "render/counter_digits.h"
#include "render/draw.h"
#include "tests/native/draw_recorder.h"

namespace {

// ---------------------------------------------------------------------------
// Small helpers, written here rather than taken from the game, so that a
// fault in the game's own counting cannot hide itself.

bool OnBoard(int column, int row) { return column >= 0 && column < columns && row >= 0 && row < rows; }

bool Over() { return !gameActive && !firstClickPending; }

int MinesAround(int column, int row)
{
    int count = 0;
    for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
            if ((dc || dr) && OnBoard(column + dc, row + dr) && Board[column + dc][row + dr].mine)
                ++count;
    return count;
}

int MarksAround(int column, int row)
{
    int count = 0;
    for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
            if ((dc || dr) && OnBoard(column + dc, row + dr) && Board[column + dc][row + dr].mark)
                ++count;
    return count;
}

bool OpenedAround(int column, int row)
{
    for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
            if ((dc || dr) && OnBoard(column + dc, row + dr) && Board[column + dc][row + dr].opened)
                return true;
    return false;
}

bool SameCell(const Cell& a, const Cell& b) { return a.mine == b.mine && a.opened == b.opened && a.mark == b.mark; }

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool AtEnd() const { return position_ >= size_; }
    unsigned Byte() { return position_ < size_ ? data_[position_++] : 0u; }
    unsigned Word()
    {
        const unsigned high = Byte();
        return high << 8 | Byte();
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

// Most boards sparse enough to see floods and wins, the rest with any count
// that the settings allow (5 to columns * rows - 5).
int ReadBombCount(ByteReader& in, int cells)
{
    const unsigned style = in.Byte();
    const unsigned value = in.Word();
    if (style & 1)
        return 5 + static_cast<int>(value % static_cast<unsigned>(cells - 9));
    const int sparse = std::max(6, cells / 8);
    return 5 + static_cast<int>(value % static_cast<unsigned>(sparse - 4));
}

// ---------------------------------------------------------------------------
// One step of a session: a mouse message or a direct game call.

enum class Kind { Move, LeftDown, LeftUp, RightDown, RightUp, Open, Chord, Mark, NewGame, Resize };

struct Step {
    Kind kind;
    unsigned buttons;  // mouse messages
    long a, b, c;      // x, y; column, row; or columns, rows, bombs
};

std::string Describe(const Step& step)
{
    char text[96];
    switch (step.kind) {
    case Kind::Move:
    case Kind::LeftDown:
    case Kind::LeftUp:
    case Kind::RightDown:
    case Kind::RightUp: {
        static const char* const names[] = {"MouseMove", "LeftButtonDown", "LeftButtonUp", "RightButtonDown",
                                            "RightButtonUp"};
        std::snprintf(text, sizeof text, "%s(%u, %ld, %ld)  square (%ld,%ld)", names[static_cast<int>(step.kind)],
                      step.buttons, step.a, step.b, step.a / 16, step.b / 16 - 1);
        break;
    }
    case Kind::Open: std::snprintf(text, sizeof text, "OpenCell(%ld, %ld)", step.a, step.b); break;
    case Kind::Chord: std::snprintf(text, sizeof text, "OpenAround(%ld, %ld)", step.a, step.b); break;
    case Kind::Mark: std::snprintf(text, sizeof text, "CycleMark(%ld, %ld)", step.a, step.b); break;
    case Kind::NewGame: std::snprintf(text, sizeof text, "NewGame()"); break;
    case Kind::Resize:
        std::snprintf(text, sizeof text, "settings %ld x %ld, %ld bombs, then NewGame()", step.a, step.b, step.c);
        break;
    }
    return text;
}

// ---------------------------------------------------------------------------
// Every DrawTile, looked at while it happens. The rules draw 3 + n only on a
// square they have just opened, or on every covered square at a win; flags
// only on flagged squares; tiles 12 to 15 only once the game is over. The
// mouse layer draws only on covered, unflagged squares. No square that was
// open when the step began is drawn again.

struct DrawWatch {
    bool openedAtStart[MaxColumns][MaxRows];
    char fault[160];
} watch;

void WatchDraw(int column, int row, int tile)
{
    if (watch.fault[0])
        return;
    if (tile < 0 || tile > 15 || tile == TileQuestion) {
        std::snprintf(watch.fault, sizeof watch.fault, "tile %d drawn on a square (%d,%d)", tile, column, row);
        return;
    }
    if (!OnBoard(column, row))
        return;  // counted by the recorder
    const Cell& cell = Board[column][row];
    const char* fault = nullptr;
    if (cell.opened && watch.openedAtStart[column][row])
        fault = "on a square that was open before this step";
    else if (tile == TileCovered && cell.mark)
        fault = "the covered tile on a flagged square";
    else if (tile == TileOpenedEmpty && cell.mark && !(Over() && cell.mine))
        fault = "the flat tile on a flagged square";
    else if (tile == TileFlag && !cell.mark)
        fault = "a flag on a square without a mark";
    else if (tile >= TileOpenedOne && tile <= TileOpenedOne + 7 && tile != 3 + MinesAround(column, row))
        fault = "a number that is not the count of bombs around";
    else if (tile >= TileOpenedOne && tile <= TileOpenedOne + 7 && !cell.opened && !Over())
        fault = "a number on a covered square while play runs";
    else if (tile >= TileFlaggedBomb && !Over())
        fault = "an end-of-game tile while play runs";
    if (fault)
        std::snprintf(watch.fault, sizeof watch.fault, "tile %d on (%d,%d): %s", tile, column, row, fault);
}

// ---------------------------------------------------------------------------

class Session {
public:
    explicit Session(ByteReader& in) : in_(in) {}

    void Run()
    {
        const int newColumns = 10 + static_cast<int>(in_.Byte() % 27);
        const int newRows = 5 + static_cast<int>(in_.Byte() % 20);
        const int bombs = ReadBombCount(in_, newColumns * newRows);
        const unsigned options = in_.Byte();
        windowLike_ = (options & 1) != 0;
        ResetProgramState(newColumns, newRows, bombs);
        if (options & 2) {
            for (unsigned steps = in_.Word(); steps > 0; --steps)
                NextRandom();
        }
        if (options & 4)
            LeaveJunkBeyondTheBoard(in_.Byte());
        drawTileObserver = WatchDraw;
        CallNewGame();  // the program's start
        while (!in_.AtEnd())
            RunOperation();
        drawTileObserver = nullptr;
    }

private:
    // Bombs, openings and flags beyond the board, as a larger board before it
    // would have left them. No operation may read or change them.
    void LeaveJunkBeyondTheBoard(unsigned seed)
    {
        uint32_t state = seed * 2654435761u + 1u;
        for (int column = 0; column < MaxColumns; ++column) {
            for (int row = 0; row < MaxRows; ++row) {
                if (OnBoard(column, row))
                    continue;
                state = state * 1103515245u + 12345u;
                const unsigned bits = state >> 16;
                Board[column][row] = Cell{static_cast<int32_t>(bits & 1), static_cast<int32_t>(bits >> 1 & 1),
                                          static_cast<int32_t>(bits >> 2 & 1)};
            }
        }
    }

    // One operation; the opcode is the byte modulo 32:
    //   0-5    a move (buttons, position)
    //   6-15   a press or release: 6-8 left press, 9-11 left release,
    //          12-13 right press, 14-15 right release (buttons; a position
    //          too unless the stream is window-like)
    //   16-17  OpenCell, 19-20 CycleMark, on or around the board or far off
    //   18     OpenAround on an opened square
    //   21     NewGame, as from the menu
    //   22     a new size and bomb count, then NewGame, as the settings do
    //   23-25  a left click on a safe covered square, 30 on any covered one
    //   26     a right click towards a win, 27 one beside an opened square
    //   28-29  a chord on an opened square
    //   31     guessed flags around a number, then a chord on it
    void RunOperation()
    {
        const unsigned op = in_.Byte() % 32;
        if (op < 6) {
            const unsigned buttons = ReadButtons();
            ReadPointer();
            Mouse(Kind::Move, buttons);
        } else if (op < 16) {
            const Kind kind = op < 9 ? Kind::LeftDown : op < 12 ? Kind::LeftUp : op < 14 ? Kind::RightDown : Kind::RightUp;
            const unsigned buttons = ReadButtons();
            if (!windowLike_)
                ReadPointer();
            Mouse(kind, buttons);
        } else if (op < 18) {
            const int column = ReadCoordinate(columns), row = ReadCoordinate(rows);
            CallOpen(column, row);
        } else if (op == 18) {
            const auto square = Pick([](int column, int row) { return Board[column][row].opened != 0; });
            if (square.first >= 0)
                CallChord(square.first, square.second);
        } else if (op < 21) {
            const int column = ReadCoordinate(columns), row = ReadCoordinate(rows);
            CallMark(column, row);
        } else if (op == 21) {
            CallNewGame();
        } else if (op == 22) {
            const int newColumns = 10 + static_cast<int>(in_.Byte() % 27);
            const int newRows = 5 + static_cast<int>(in_.Byte() % 20);
            CallResize(newColumns, newRows, ReadBombCount(in_, newColumns * newRows));
        } else if (op < 26 || op == 30) {
            // A whole left click on a covered square: a safe one, as a player
            // who guesses well would choose, or any one (bombs included).
            const bool any = op == 30 || firstClickPending;
            const auto square = Pick([any](int column, int row) {
                const Cell& cell = Board[column][row];
                return !cell.opened && !cell.mark && (any || !cell.mine);
            });
            if (square.first >= 0) {
                PointAt(square.first, square.second);
                Mouse(Kind::Move, 0);
                Mouse(Kind::LeftDown, MouseLeft);
                Mouse(Kind::LeftUp, 0);
            }
        } else if (op < 28) {
            // A whole right click: one that brings the flags closer to a win
            // (on a bomb without a flag, or on a wrong flag), or one on a
            // covered square beside an opened one, where a player's guesses,
            // right or wrong, go before a chord.
            const bool towardsWin = op == 26;
            const auto square = Pick([towardsWin](int column, int row) {
                const Cell& cell = Board[column][row];
                if (towardsWin)
                    return cell.mine ? !cell.mark : cell.mark != 0;
                return !cell.opened && OpenedAround(column, row);
            });
            if (square.first >= 0) {
                PointAt(square.first, square.second);
                Mouse(Kind::Move, 0);
                Mouse(Kind::RightDown, MouseRight);
                Mouse(Kind::RightUp, 0);
            }
        } else if (op == 31) {
            // A player who guesses the flags around a number, wrongly where the
            // input says so, and then chords on it: flags go on covered
            // neighbours, safe ones first when the input's bit is set, until
            // they account for the number.
            const auto square = Pick([](int column, int row) {
                return Board[column][row].opened && MinesAround(column, row) > MarksAround(column, row);
            });
            const bool wrongFirst = (in_.Byte() & 1) != 0;
            if (square.first >= 0) {
                for (int pass = 0; pass < 2; ++pass) {
                    for (const NeighbourOffset& n : NeighbourOrder) {
                        const int column = square.first + n.dc, row = square.second + n.dr;
                        if (!gameActive || MarksAround(square.first, square.second) >= MinesAround(square.first, square.second))
                            break;
                        if (!OnBoard(column, row) || Board[column][row].opened || Board[column][row].mark ||
                            (pass == 0 && wrongFirst == (Board[column][row].mine != 0)))
                            continue;
                        SetPointerIn(column, row, 0x88);
                        Mouse(Kind::Move, 0);
                        Mouse(Kind::RightDown, MouseRight);
                        Mouse(Kind::RightUp, 0);
                    }
                }
                Chord(square.first, square.second, wrongFirst);
            }
        } else {
            // A two-button chord on an opened square, either button let go first.
            const auto square = Pick([](int column, int row) { return Board[column][row].opened != 0; });
            const bool leftFirst = (in_.Byte() & 1) != 0;
            if (square.first >= 0) {
                PointAt(square.first, square.second);
                Chord(square.first, square.second, leftFirst);
            }
        }
    }

    // Both buttons pressed over a square and let go, the left one first or
    // the right one first.
    void Chord(int column, int row, bool leftFirst)
    {
        if (static_cast<int>(x_ / 16) != column || static_cast<int>(y_ / 16) - 1 != row)
            SetPointerIn(column, row, 0x77);
        const unsigned both = MouseLeft | MouseRight;
        Mouse(Kind::Move, 0);
        Mouse(Kind::LeftDown, MouseLeft);
        Mouse(Kind::RightDown, both);
        Mouse(leftFirst ? Kind::LeftUp : Kind::RightUp, leftFirst ? MouseRight : MouseLeft);
        Mouse(leftFirst ? Kind::RightUp : Kind::LeftUp, 0);
    }

    // The two buttons, now and then with other keys' bits, which play no part.
    unsigned ReadButtons()
    {
        const unsigned b = in_.Byte();
        return (b & 3u) | ((b & 0x80u) ? (b & 0x7Cu) : 0u);
    }

    // Moves the pointer: over a square or the counter strip, a step to a
    // neighbouring square, just beyond the board, anywhere up to 65535, or not
    // at all.
    void ReadPointer()
    {
        switch (in_.Byte() % 8) {
        case 0:
        case 1:
        case 2:
        case 3: {
            const int column = static_cast<int>(in_.Byte() % static_cast<unsigned>(columns));
            const int row = static_cast<int>(in_.Byte() % static_cast<unsigned>(rows + 1)) - 1;
            SetPointerIn(column, row, in_.Byte());
            break;
        }
        case 4: {
            const unsigned d = in_.Byte();
            const int column = std::clamp(static_cast<int>(x_ / 16) + static_cast<int>(d % 3) - 1, 0, 4095);
            const int row = std::clamp(static_cast<int>(y_ / 16) - 1 + static_cast<int>(d / 3 % 3) - 1, -1, 4094);
            SetPointerIn(column, row, d);
            break;
        }
        case 5:
            x_ = in_.Word() % static_cast<unsigned>(16 * columns + 48);
            y_ = in_.Word() % static_cast<unsigned>(16 * (rows + 1) + 48);
            break;
        case 6:
            x_ = in_.Word();
            y_ = in_.Word();
            break;
        default: break;
        }
    }

    void SetPointerIn(int column, int row, unsigned within)
    {
        x_ = static_cast<unsigned>(16 * column) + (within & 15u);
        y_ = static_cast<unsigned>(16 * (row + 1)) + (within >> 4 & 15u);
    }

    void PointAt(int column, int row) { SetPointerIn(column, row, in_.Byte()); }

    // A column or row for a direct call: mostly on or around the board.
    int ReadCoordinate(int limit)
    {
        const unsigned b = in_.Byte();
        if (b < 248)
            return static_cast<int>(b % static_cast<unsigned>(limit + 4)) - 2;
        const int far[] = {-1000, -1, -2, limit, limit + 1, MaxColumns, 4095, 65535};
        return far[b - 248];
    }

    // One of the squares of the board that satisfy `fits`, chosen by the
    // input, or (-1, -1) when there is none.
    template <typename Fits>
    std::pair<int, int> Pick(Fits fits)
    {
        const unsigned choice = in_.Word();
        int count = 0;
        for (int column = 0; column < columns; ++column)
            for (int row = 0; row < rows; ++row)
                count += fits(column, row) ? 1 : 0;
        if (count == 0)
            return {-1, -1};
        int index = static_cast<int>(choice % static_cast<unsigned>(count));
        for (int column = 0; column < columns; ++column)
            for (int row = 0; row < rows; ++row)
                if (fits(column, row) && index-- == 0)
                    return {column, row};
        return {-1, -1};
    }

    // -----------------------------------------------------------------------
    // The steps and what each may do.

    void Begin(const Step& step)
    {
        trail_.push_back(step);
        before_ = TakeSnapshot();
        drawLog.clear();
        watch.fault[0] = '\0';
        for (int column = 0; column < MaxColumns; ++column)
            for (int row = 0; row < MaxRows; ++row)
                watch.openedAtStart[column][row] = Board[column][row].opened != 0;
    }

    void Mouse(Kind kind, unsigned buttons)
    {
        Begin(Step{kind, buttons, static_cast<long>(x_), static_cast<long>(y_), 0});
        switch (kind) {
        case Kind::Move: MouseMove(buttons, x_, y_); break;
        case Kind::LeftDown: LeftButtonDown(buttons, x_, y_); break;
        case Kind::LeftUp: LeftButtonUp(buttons, x_, y_); break;
        case Kind::RightDown: RightButtonDown(buttons, x_, y_); break;
        case Kind::RightUp: RightButtonUp(buttons, x_, y_); break;
        default: break;
        }
        CheckMouse(kind, buttons);
    }

    void CheckMouse(Kind kind, unsigned buttons)
    {
        const bool left = (buttons & MouseLeft) != 0, right = (buttons & MouseRight) != 0;
        const int column = static_cast<int>(x_ / 16), row = static_cast<int>(y_ / 16) - 1;
        if (!(before_.gameActive || before_.firstClickPending)) {
            // Play is not running: the message is dropped whole.
            if (!drawLog.empty())
                Fail("a message while play is not running drew %zu times", drawLog.size());
            ExpectUnchanged("a message while play is not running");
            Finish(-1, -1);
            return;
        }
        if (hoverColumn != column || hoverRow != row)
            Fail("hovered square (%d,%d), pointer over (%d,%d)", hoverColumn, hoverRow, column, row);
        if (kind == Kind::Move && before_.hoverColumn == column && before_.hoverRow == row) {
            if (!drawLog.empty())
                Fail("a move within the hovered square drew %zu times", drawLog.size());
            ExpectUnchanged("a move within the hovered square");
        }

        int latch = before_.chordLatch;
        if (kind == Kind::LeftDown)
            latch = right ? 1 : 0;
        else if (kind == Kind::RightDown)
            latch = left ? 1 : 0;
        else if ((kind == Kind::LeftUp && !right) || kind == Kind::RightUp)
            latch = 0;
        if (chordLatch != latch)
            Fail("chordLatch %d after the message, expected %d", chordLatch, latch);

        // The rule call that the message makes, if any.
        const Cell was = OnBoard(column, row) ? before_.board[column][row] : Cell{0, 0, 0};
        const bool chord = ((kind == Kind::LeftUp && right) || (kind == Kind::RightUp && left)) && was.opened;
        const bool open = kind == Kind::LeftUp && !right && !before_.chordLatch && OnBoard(column, row) &&
                          !was.opened && !was.mark;
        const bool mark = kind == Kind::RightDown && !left && before_.gameActive && OnBoard(column, row) && !was.opened;
        // Without one of them (OpenCell, OpenAround or CycleMark refusing
        // included) the board, the counter and the phase stay as they were.
        if (!chord && !open && !mark)
            ExpectBoardUnchanged("a message whose rule call has nothing to do");
        if (open) {
            if (!Board[column][row].opened)
                Fail("a left release did not open the covered square (%d,%d)", column, row);
            if (before_.firstClickPending)
                firstOpen_ = {column, row};
        }
        if (mark) {
            if ((Board[column][row].mark != 0) == (was.mark != 0))
                Fail("a right press did not change the mark on (%d,%d)", column, row);
        }
        if (chord)
            CheckChord(column, row);

        // Where the pressed picture may show now: the squares that a press or
        // a move may have drawn pressed, less those that a restore covered.
        switch (kind) {
        case Kind::Move:
            if (before_.hoverColumn != column || before_.hoverRow != row) {
                SetPressed(before_.hoverColumn, before_.hoverRow, ShapeBlock, false);
                if (left)
                    SetPressed(column, row, right ? ShapeBlock : ShapeCentre, true);
            }
            break;
        case Kind::LeftDown: SetPressed(column, row, right ? ShapeRing : ShapeCentre, true); break;
        case Kind::RightDown:
            if (left)
                SetPressed(column, row, ShapeRing, true);
            break;
        case Kind::LeftUp:
            // No restore only when the release opened its square.
            if (!(OnBoard(column, row) && !was.opened && Board[column][row].opened))
                SetPressed(column, row, ShapeRing, false);
            break;
        case Kind::RightUp: SetPressed(column, row, ShapeBlock, false); break;
        default: break;
        }
        const bool lostNow = gameActive == 0 && firstClickPending == 0 && OpenedBomb().first >= 0;
        if (lostNow && chord) {
            // The restore after a chord that lost may take the bomb picture off
            // unflagged bombs of its shape; both pictures are allowed there.
            lossRestore_ = {column, row};
            lossRestoreShape_ = kind == Kind::LeftUp ? ShapeRing : ShapeBlock;
        }
        Finish(mark ? column : -1, mark ? row : -1);
    }

    // After a chord on an opened square in play: nothing changed when the
    // flags around it do not match its bombs; otherwise every unflagged
    // neighbour is open, unless a wrong flag made the chord open a bomb.
    void CheckChord(int column, int row)
    {
        if (MarksAround(column, row) != MinesAround(column, row)) {
            ExpectBoardUnchanged("a chord whose flags do not match the bombs around");
            return;
        }
        if (!gameActive)
            return;
        for (int dc = -1; dc <= 1; ++dc)
            for (int dr = -1; dr <= 1; ++dr)
                if (OnBoard(column + dc, row + dr) && !Board[column + dc][row + dr].mark &&
                    !Board[column + dc][row + dr].opened)
                    Fail("the chord on (%d,%d) left (%d,%d) covered", column, row, column + dc, row + dr);
    }

    void CallOpen(int column, int row)
    {
        Begin(Step{Kind::Open, 0, column, row, 0});
        const int result = OpenCell(column, row);
        const Cell was = OnBoard(column, row) ? before_.board[column][row] : Cell{0, 0, 0};
        const int expected = (before_.gameActive || before_.firstClickPending) && OnBoard(column, row) && !was.opened && !was.mark;
        if (result != expected)
            Fail("OpenCell gave %d, expected %d", result, expected);
        if (!result) {
            ExpectNothingDone("a refused OpenCell");
        } else {
            if (!Board[column][row].opened)
                Fail("OpenCell gave 1 and left (%d,%d) covered", column, row);
            if (before_.firstClickPending)
                firstOpen_ = {column, row};
        }
        ExpectInputStateUnchanged();
        Finish(-1, -1);
    }

    void CallChord(int column, int row)
    {
        Begin(Step{Kind::Chord, 0, column, row, 0});
        const bool over = !before_.gameActive && !before_.firstClickPending;
        const int result = OpenAround(column, row);
        const int expected = MarksAround(column, row) == MinesAround(column, row);
        if (result != expected)
            Fail("OpenAround gave %d, expected %d", result, expected);
        if (over || !result)
            ExpectNothingDone(over ? "OpenAround after the end of the game" : "a refused OpenAround");
        else
            CheckChord(column, row);
        ExpectInputStateUnchanged();
        Finish(-1, -1);
    }

    void CallMark(int column, int row)
    {
        Begin(Step{Kind::Mark, 0, column, row, 0});
        const int result = CycleMark(column, row);
        const Cell was = OnBoard(column, row) ? before_.board[column][row] : Cell{0, 0, 0};
        const int expected = before_.gameActive && OnBoard(column, row) && !was.opened;
        if (result != expected)
            Fail("CycleMark gave %d, expected %d", result, expected);
        if (!result) {
            ExpectNothingDone("a refused CycleMark");
        } else {
            const int mark = Board[column][row].mark != 0;
            if (mark == (was.mark != 0))
                Fail("CycleMark gave 1 and left the mark as it was");
            if (drawLog.size() < 2 || !(drawLog[0] == DrawCall{column, row, mark ? TileFlag : TileCovered}) ||
                !(drawLog[1] == CounterCall(mineCounter)))
                Fail("CycleMark did not draw the square and then the counter first");
        }
        ExpectInputStateUnchanged();
        Finish(result ? column : -1, result ? row : -1);
    }

    void CallNewGame()
    {
        Begin(Step{Kind::NewGame, 0, 0, 0, 0});
        NewGame();
        CheckNewGame();
    }

    // The settings dialog stores a new size and bomb count and starts a game.
    void CallResize(int newColumns, int newRows, int bombs)
    {
        Begin(Step{Kind::Resize, 0, newColumns, newRows, bombs});
        columns = newColumns;
        rows = newRows;
        bombCount = bombs;
        NewGame();
        CheckNewGame();
    }

    void CheckNewGame()
    {
        if (gameActive != 0 || firstClickPending != 1)
            Fail("NewGame left the phase (%d,%d)", gameActive, firstClickPending);
        for (int column = 0; column < columns; ++column)
            for (int row = 0; row < rows; ++row)
                if (!SameCell(Board[column][row], Cell{0, 0, 0}))
                    Fail("NewGame left (%d,%d) not cleared", column, row);
        if (randomState != before_.randomState)
            Fail("NewGame moved the generator");
        ExpectInputStateUnchanged();
        const size_t draws = static_cast<size_t>(columns * rows) + 1;
        if (drawLog.size() != draws || !(drawLog.back() == CounterCall(bombCount)))
            Fail("NewGame drew %zu times, expected every square and then the counter", drawLog.size());
        std::memset(pressed_, 0, sizeof pressed_);
        firstOpen_ = {-1, -1};
        lossRestore_ = {-1, -1};
        Finish(-1, -1, true);
    }

    // -----------------------------------------------------------------------
    // Checks shared by the steps.

    void ExpectUnchanged(const char* what)
    {
        const std::string difference = SnapshotDifference(before_, TakeSnapshot());
        if (!difference.empty())
            Fail("%s changed: %s", what, difference.c_str());
    }

    void ExpectNothingDone(const char* what)
    {
        if (!drawLog.empty())
            Fail("%s drew %zu times", what, drawLog.size());
        ExpectUnchanged(what);
    }

    void ExpectBoardUnchanged(const char* what)
    {
        for (int column = 0; column < MaxColumns; ++column)
            for (int row = 0; row < MaxRows; ++row)
                if (!SameCell(before_.board[column][row], Board[column][row]))
                    Fail("%s changed the square (%d,%d)", what, column, row);
        if (mineCounter != before_.mineCounter || gameActive != before_.gameActive ||
            firstClickPending != before_.firstClickPending || randomState != before_.randomState)
            Fail("%s changed the counter, the phase or the generator", what);
    }

    void ExpectInputStateUnchanged()
    {
        if (hoverColumn != before_.hoverColumn || hoverRow != before_.hoverRow || chordLatch != before_.chordLatch)
            Fail("a game call changed the input state");
    }

    void SetPressed(int column, int row, SquareShape shape, bool value)
    {
        for (int dc = -1; dc <= 1; ++dc) {
            for (int dr = -1; dr <= 1; ++dr) {
                const bool centre = dc == 0 && dr == 0;
                if ((shape == ShapeCentre && !centre) || (shape == ShapeRing && centre))
                    continue;
                // Hovered squares can lie far off the board; only those on it count.
                const long c = static_cast<long>(column) + dc, r = static_cast<long>(row) + dr;
                if (c >= 0 && c < columns && r >= 0 && r < rows)
                    pressed_[c][r] = value;
            }
        }
    }

    bool MayShowPressed(int column, int row) const
    {
        if (!pressed_[column][row])
            return false;
        // When every press and release comes where the last move left the
        // pointer, the pressed picture lies in the block around the hovered
        // square, which is why a move to another square clears it all.
        return !windowLike_ || (std::abs(column - hoverColumn) <= 1 && std::abs(row - hoverRow) <= 1);
    }

    std::pair<int, int> OpenedBomb() const
    {
        for (int column = 0; column < columns; ++column)
            for (int row = 0; row < rows; ++row)
                if (Board[column][row].mine && Board[column][row].opened)
                    return {column, row};
        return {-1, -1};
    }

    bool InLossRestore(int column, int row) const
    {
        if (lossRestore_.first < 0)
            return false;
        const int dc = std::abs(column - lossRestore_.first), dr = std::abs(row - lossRestore_.second);
        if (dc > 1 || dr > 1)
            return false;
        return lossRestoreShape_ == ShapeBlock || dc || dr;
    }

    // Everything that holds after every step. `markedColumn`, `markedRow`:
    // the one square whose mark the step may have changed, if any.
    void Finish(int markedColumn, int markedRow, bool newGame = false)
    {
        if (watch.fault[0])
            Fail("drawing: %s", watch.fault);
        if (drawsOffBoard != 0)
            Fail("%d draws off the board", drawsOffBoard);
        if (!((gameActive == 0 && firstClickPending == 1) || (gameActive == 1 && firstClickPending == 0) ||
              (gameActive == 0 && firstClickPending == 0)))
            Fail("phase flags (%d,%d)", gameActive, firstClickPending);

        CountBombsAround();
        int bombs = 0, flags = 0, flaggedBombs = 0, openedBombs = 0, opened = 0;
        for (int column = 0; column < MaxColumns; ++column) {
            for (int row = 0; row < MaxRows; ++row) {
                const Cell& cell = Board[column][row];
                const Cell& was = before_.board[column][row];
                if (!OnBoard(column, row)) {
                    if (!SameCell(cell, was))
                        Fail("(%d,%d) beyond the board changed", column, row);
                    continue;
                }
                if ((cell.mine | cell.opened | cell.mark) & ~1)
                    Fail("(%d,%d) holds a value other than 0 or 1", column, row);
                if (cell.opened && cell.mark)
                    Fail("(%d,%d) is opened and flagged", column, row);
                if (!newGame) {
                    if (was.opened && !cell.opened)
                        Fail("(%d,%d) closed again", column, row);
                    if (was.mine != cell.mine && !before_.firstClickPending)
                        Fail("a bomb on (%d,%d) moved during play", column, row);
                    if (was.mark != cell.mark && (column != markedColumn || row != markedRow))
                        Fail("the mark on (%d,%d) changed", column, row);
                    if (cell.opened && !was.opened && !cell.mine && around_[column][row] == 0 &&
                        MarksAround(column, row) == 0)
                        CheckFloodWentOn(column, row);
                }
                bombs += cell.mine;
                flags += cell.mark;
                flaggedBombs += cell.mine && cell.mark;
                openedBombs += cell.mine && cell.opened;
                opened += cell.opened;
            }
        }
        if (mineCounter != bombCount - flags)
            Fail("counter %d with %d bombs and %d flags", mineCounter, bombCount, flags);
        if (screenCounter != mineCounter)
            Fail("the counter shows %d, the game holds %d", screenCounter, mineCounter);
        CheckCounterTiles();
        if (firstClickPending) {
            if (bombs != 0 || flags != 0 || opened != 0)
                Fail("before the first open: %d bombs, %d flags, %d opened", bombs, flags, opened);
        } else {
            if (bombs != bombCount)
                Fail("%d bombs on the board, bombCount %d", bombs, bombCount);
            if (firstOpen_.first < 0)
                Fail("the bombs came without a first open");
            if (Board[firstOpen_.first][firstOpen_.second].mine)
                Fail("a bomb on the first opened square (%d,%d)", firstOpen_.first, firstOpen_.second);
        }
        if (openedBombs > 1)
            Fail("%d bombs opened", openedBombs);
        const bool wonBoard = mineCounter == 0 && flaggedBombs == bombCount;
        if (Over()) {
            if ((openedBombs == 1) == wonBoard)
                Fail("the game is over without a loss or a win");
        } else {
            if (openedBombs != 0)
                Fail("a bomb is open and play goes on");
            if (gameActive && wonBoard)
                Fail("every bomb is flagged and the counter is 0, yet play goes on");
        }
        CheckScreen();
    }

    // around_[c][r]: the bombs around each square of the board, counted once
    // per step by adding every bomb to its neighbours.
    void CountBombsAround()
    {
        std::memset(around_, 0, sizeof around_);
        for (int column = 0; column < columns; ++column)
            for (int row = 0; row < rows; ++row)
                if (Board[column][row].mine)
                    for (int dc = -1; dc <= 1; ++dc)
                        for (int dr = -1; dr <= 1; ++dr)
                            if ((dc || dr) && OnBoard(column + dc, row + dr))
                                ++around_[column + dc][row + dr];
    }

    // A newly opened square with neither a bomb nor a flag around it opens
    // all of its neighbours.
    void CheckFloodWentOn(int column, int row)
    {
        for (int dc = -1; dc <= 1; ++dc)
            for (int dr = -1; dr <= 1; ++dr)
                if (OnBoard(column + dc, row + dr) && !Board[column + dc][row + dr].opened)
                    Fail("the flood stopped at (%d,%d): (%d,%d) is covered", column, row, column + dc, row + dr);
    }

    // The counter's four cells read back as the value shown.
    void CheckCounterTiles()
    {
        int tiles[CounterCells];
        CounterTiles(screenCounter, tiles);
        int magnitude = 0;
        for (int i = 1; i < CounterCells; ++i) {
            if (tiles[i] < TileCounterZero || tiles[i] > TileCounterZero + 9)
                Fail("counter cell %d shows tile %d", i, tiles[i]);
            magnitude = magnitude * 10 + tiles[i] - TileCounterZero;
        }
        const int sign = screenCounter < 0 ? TileCounterMinus : TileCounterBlank;
        if (tiles[0] != sign || magnitude != std::abs(screenCounter))
            Fail("counter %d shows tiles %d %d %d %d", screenCounter, tiles[0], tiles[1], tiles[2], tiles[3]);
    }

    // The picture matches the board: while play runs, opened squares show
    // their number, flags the flag and the rest the covered tile (or the
    // pressed one where a press may have left it); at the end the final
    // picture of a win or a loss.
    void CheckScreen()
    {
        const std::pair<int, int> exploded = OpenedBomb();
        const bool lost = Over() && exploded.first >= 0;
        const bool won = Over() && !lost;
        for (int column = 0; column < columns; ++column) {
            for (int row = 0; row < rows; ++row) {
                const Cell& cell = Board[column][row];
                const int shown = screenTile[column][row];
                int expected;
                bool pressedAllowed = false, blankAllowed = false;
                if (cell.opened)
                    expected = cell.mine ? TileExplodedBomb : 3 + around_[column][row];
                else if (won)
                    expected = cell.mine ? TileFlaggedBomb : 3 + around_[column][row];
                else if (lost && cell.mine) {
                    expected = cell.mark ? TileFlaggedBomb : TileBomb;
                    blankAllowed = !cell.mark && InLossRestore(column, row);
                } else if (cell.mark)
                    expected = lost ? TileWrongFlag : TileFlag;
                else {
                    expected = TileCovered;
                    pressedAllowed = MayShowPressed(column, row);
                }
                if (shown == expected || (shown == TileOpenedEmpty && pressedAllowed) ||
                    (shown == TileCovered && blankAllowed))
                    continue;
                Fail("(%d,%d) shows tile %d, expected %d%s", column, row, shown, expected,
                     expected == TileCovered && shown == TileOpenedEmpty ? " (pressed where no press can have left it)"
                                                                        : "");
            }
        }
    }

    // -----------------------------------------------------------------------

    [[noreturn]] __attribute__((format(printf, 2, 3))) void Fail(const char* format, ...)
    {
        char message[512];
        va_list args;
        va_start(args, format);
        std::vsnprintf(message, sizeof message, format, args);
        va_end(args);
        std::fprintf(stderr, "\n==== tsweeper fuzz: invariant broken: %s\n", message);
        std::fprintf(stderr, "board %d x %d, %d bombs; phase (%d,%d); counter %d; hover (%d,%d); latch %d; %s stream\n",
                     columns, rows, bombCount, gameActive, firstClickPending, mineCounter, hoverColumn, hoverRow,
                     chordLatch, windowLike_ ? "window-like" : "presses-anywhere");
        const size_t from = trail_.size() > 40 ? trail_.size() - 40 : 0;
        std::fprintf(stderr, "last steps (%zu in all), the failing one last:\n", trail_.size());
        for (size_t i = from; i < trail_.size(); ++i)
            std::fprintf(stderr, "  #%zu %s\n", i, Describe(trail_[i]).c_str());
        std::fprintf(stderr, "screen:\n%s", ScreenPicture().c_str());
        // The model: '#' covered, '*' covered bomb, 'f' flag, 'F' flagged bomb,
        // '.' or a digit opened, '@' opened bomb.
        std::fprintf(stderr, "board:\n");
        for (int row = 0; row < rows; ++row) {
            std::string line;
            for (int column = 0; column < columns; ++column) {
                const Cell& cell = Board[column][row];
                const int n = MinesAround(column, row);
                line += cell.opened ? (cell.mine ? '@' : n ? static_cast<char>('0' + n) : '.')
                        : cell.mark ? (cell.mine ? 'F' : 'f')
                                    : (cell.mine ? '*' : '#');
            }
            std::fprintf(stderr, "%s\n", line.c_str());
        }
        std::fflush(stderr);
        std::abort();
    }

    ByteReader& in_;
    bool windowLike_ = false;
    unsigned x_ = 0, y_ = 0;
    ProgramSnapshot before_{};
    bool pressed_[MaxColumns][MaxRows] = {};
    int around_[MaxColumns][MaxRows] = {};
    std::pair<int, int> firstOpen_{-1, -1};
    std::pair<int, int> lossRestore_{-1, -1};
    SquareShape lossRestoreShape_ = ShapeBlock;
    std::vector<Step> trail_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ByteReader in(data, size);
    Session session(in);
    session.Run();
    return 0;
}

#include "tests/native/random_play.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/geometry.h"
#include "core/rules.h"
#include "core/settings.h"
#include "render/counter_digits.h"
#include "core/draw.h"
#include "input/mouse_cases.h"
#include "tests/support/program_state.h"
#include "tests/support/tile_letters.h"

namespace {

// ---------------------------------------------------------------------------
// Small helpers, written here rather than taken from the game, so that a
// fault in the game's own counting cannot hide itself.

bool OnBoard(long column, long row) { return column >= 0 && column < columns && row >= 0 && row < rows; }

bool GameOver() { return !gameActive && !firstClickPending; }

// Neighbours on the board for which `has` holds.
template <typename Has>
int CountAround(int column, int row, Has has)
{
    int count = 0;
    for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
            if ((dc || dr) && OnBoard(column + dc, row + dr) && has(Board[column + dc][row + dr]))
                ++count;
    return count;
}
int MinesAround(int column, int row)
{
    return CountAround(column, row, [](const Cell& cell) { return cell.mine != 0; });
}
int MarksAround(int column, int row)
{
    return CountAround(column, row, [](const Cell& cell) { return cell.mark != 0; });
}

// Sizes for the messages, which MinGW's printf checks could not take as %zu.
int Count(size_t size) { return static_cast<int>(size); }

bool SameCell(const Cell& a, const Cell& b) { return a.mine == b.mine && a.opened == b.opened && a.mark == b.mark; }

bool IsMouseMessage(Operation operation) { return operation <= Operation::RightRelease; }

// Every DrawTile, looked at while it happens. The rules draw 3 + n only on a
// square they have just opened, once, or on every covered square at a win;
// flags only on flagged squares; tiles 12 to 15 only once the game is over.
// The mouse layer draws only on covered, unflagged squares. No square that
// was open when the step began is drawn again.
struct DrawWatch {
    bool openedAtStart[MaxColumns][MaxRows];
    int numbersOnOpened[MaxColumns][MaxRows];
    char fault[160];
} watch;

void WatchDraw(int column, int row, int tile)
{
    if (watch.fault[0])
        return;
    if (tile < 0 || tile > TileExplodedBomb || tile == TileQuestion) {
        std::snprintf(watch.fault, sizeof watch.fault, "tile %d drawn on a square (%d,%d)", tile, column, row);
        return;
    }
    if (!OnBoard(column, row))
        return;  // counted by the recorder
    const Cell& cell = Board[column][row];
    const bool number = tile >= TileOpenedEmpty && tile <= TileOpenedOne + 7;
    const char* fault = nullptr;
    if (cell.opened && watch.openedAtStart[column][row])
        fault = "on a square that was open before this step";
    else if (tile == TileCovered && cell.mark)
        fault = "the covered tile on a flagged square";
    else if (tile == TileCovered && cell.opened)
        fault = "the covered tile on an opened square";
    else if (tile == TileOpenedEmpty && cell.mark && !(GameOver() && cell.mine))
        fault = "the flat tile on a flagged square";
    else if (tile == TileFlag && !cell.mark)
        fault = "a flag on a square without a mark";
    else if (tile >= TileOpenedOne && tile <= TileOpenedOne + 7 && tile != TileOpenedEmpty + MinesAround(column, row))
        fault = "a number that is not the count of bombs around";
    else if (tile >= TileOpenedOne && tile <= TileOpenedOne + 7 && !cell.opened && !GameOver())
        fault = "a number on a covered square while play runs";
    else if (tile >= TileFlaggedBomb && !GameOver())
        fault = "an end-of-game tile while play runs";
    else if (number && cell.opened && ++watch.numbersOnOpened[column][row] > 1)
        fault = "a newly opened square drawn twice";
    if (fault)
        std::snprintf(watch.fault, sizeof watch.fault, "tile %d on (%d,%d): %s", tile, column, row, fault);
}

}  // namespace

std::string Describe(const PlayStep& step)
{
    char text[96];
    if (IsMouseMessage(step.operation)) {
        std::snprintf(text, sizeof text, "%s(%u, %ld, %ld)  square (%d,%d)",
                      mouseCaseNames[static_cast<int>(step.operation)], step.buttons, step.a, step.b,
                      ColumnAtX(static_cast<unsigned>(step.a)), RowAtY(static_cast<unsigned>(step.b)));
        return text;
    }
    switch (step.operation) {
    case Operation::CallOpen: std::snprintf(text, sizeof text, "OpenCell(%ld, %ld)", step.a, step.b); break;
    case Operation::CallChord: std::snprintf(text, sizeof text, "OpenAround(%ld, %ld)", step.a, step.b); break;
    case Operation::CallMark: std::snprintf(text, sizeof text, "CycleMark(%ld, %ld)", step.a, step.b); break;
    case Operation::NewSettings:
        std::snprintf(text, sizeof text, "settings %ld x %ld, %ld bombs, then NewGame()", step.a, step.b, step.c);
        break;
    default: std::snprintf(text, sizeof text, "NewGame()"); break;
    }
    return text;
}


namespace {

using SquareTest = bool (*)(int column, int row);

bool IsOpened(int column, int row) { return Board[column][row].opened != 0; }

bool IsSafeCovered(int column, int row)
{
    const Cell& cell = Board[column][row];
    return !cell.opened && !cell.mark && !cell.mine;
}

// On a bomb without a flag, or on a wrong flag.
bool IsTowardsWin(int column, int row)
{
    const Cell& cell = Board[column][row];
    return cell.mine ? !cell.mark : cell.mark != 0;
}

}  // namespace

// The engine's state between steps and the checks it makes.
struct RandomPlay::Session {
    Session(ChoiceSource& in, FailureHandler onFailure) : in_(in), onFailure_(onFailure)
    {
        drawTileObserver = WatchDraw;
    }

    ~Session() { drawTileObserver = nullptr; }

    bool Over() const { return GameOver(); }

    bool Lost() const { return GameOver() && OpenedBomb().first >= 0; }

    void Start()
    {
        const int newColumns = MinColumns + static_cast<int>(in_.Byte() % (MaxColumns - MinColumns + 1));
        const int newRows = MinRows + static_cast<int>(in_.Byte() % (MaxRows - MinRows + 1));
        const int bombs = ReadBombCount(newColumns * newRows);
        const unsigned options = in_.Byte();
        windowLike_ = (options & 1) != 0;
        ResetProgramState(newColumns, newRows, bombs);
        if (options & 2) {
            for (unsigned steps = in_.Word(); steps > 0; --steps)
                NextRandom();
        }
        if (options & 4)
            LeaveJunkBeyondTheBoard(in_.Byte());
        trail_.clear();
        CallNewGame();  // the program's start
    }

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

    // Most boards sparse enough to see floods and wins, the rest with any count
    // that the settings allow.
    int ReadBombCount(int cells)
    {
        const unsigned style = in_.Byte();
        const unsigned value = in_.Word();
        if (style & 1)
            return MinBombs + static_cast<int>(value % static_cast<unsigned>(MaxBombs(1, cells) - MinBombs + 1));
        const int sparse = std::max(MinBombs + 1, cells / 8);
        return MinBombs + static_cast<int>(value % static_cast<unsigned>(sparse - MinBombs + 1));
    }

    void RunOperation(const PlayMix& mix)
    {
        unsigned total = 0;
        for (const WeightedOperation& entry : mix)
            total += entry.weight;
        unsigned pick = in_.Byte() % total;
        for (const WeightedOperation& entry : mix) {
            if (pick < entry.weight) {
                Run(entry.operation);
                return;
            }
            pick -= entry.weight;
        }
    }

    void Run(Operation operation)
    {
        switch (operation) {
        case Operation::Move: {
            const unsigned buttons = ReadButtons();
            ReadPointer();
            Mouse(Operation::Move, buttons);
            break;
        }
        case Operation::LeftPress:
        case Operation::LeftRelease:
        case Operation::RightPress:
        case Operation::RightRelease: {
            const unsigned buttons = ReadButtons();
            if (!windowLike_)
                ReadPointer();
            Mouse(operation, buttons);
            break;
        }
        case Operation::CallOpen:
        case Operation::CallMark: {
            const int column = ReadCoordinate(columns), row = ReadCoordinate(rows);
            if (operation == Operation::CallOpen)
                CallOpen(column, row);
            else
                CallMark(column, row);
            break;
        }
        case Operation::CallChord:
        case Operation::CallOpenSafe:
        case Operation::CallMarkTowardsWin: {
            const SquareTest fits = operation == Operation::CallChord      ? IsOpened
                                    : operation == Operation::CallOpenSafe ? IsSafeCovered
                                                                           : IsTowardsWin;
            const auto square = Pick(fits);
            if (square.first < 0)
                break;
            if (operation == Operation::CallChord)
                CallChord(square.first, square.second);
            else if (operation == Operation::CallOpenSafe)
                CallOpen(square.first, square.second);
            else
                CallMark(square.first, square.second);
            break;
        }
        case Operation::MenuNewGame: CallNewGame(); break;
        case Operation::NewSettings: {
            const int newColumns = MinColumns + static_cast<int>(in_.Byte() % (MaxColumns - MinColumns + 1));
            const int newRows = MinRows + static_cast<int>(in_.Byte() % (MaxRows - MinRows + 1));
            CallResize(newColumns, newRows, ReadBombCount(newColumns * newRows));
            break;
        }
        case Operation::ClickSafe:
        case Operation::ClickAnyCovered: {
            // A safe square, as a player who guesses well would choose, or any
            // one (bombs included); before the first open every square is safe.
            const bool any = operation == Operation::ClickAnyCovered || firstClickPending;
            const auto square = Pick([any](int column, int row) {
                const Cell& cell = Board[column][row];
                return !cell.opened && !cell.mark && (any || !cell.mine);
            });
            if (square.first >= 0)
                Click(MouseLeft, square.first, square.second);
            break;
        }
        case Operation::RightClickTowardsWin:
        case Operation::RightClickBesideOpened: {
            // Flags closer to a win, or a guess on a covered square beside an
            // opened one, where a player's guesses, right or wrong, go before a chord.
            const bool win = operation == Operation::RightClickTowardsWin;
            const auto square = Pick([win](int column, int row) {
                if (win)
                    return IsTowardsWin(column, row);
                return !Board[column][row].opened &&
                       CountAround(column, row, [](const Cell& cell) { return cell.opened != 0; }) > 0;
            });
            if (square.first >= 0)
                Click(MouseRight, square.first, square.second);
            break;
        }
        case Operation::ChordOnOpened: {
            const auto square = Pick(IsOpened);
            const bool leftFirst = (in_.Byte() & 1) != 0;
            if (square.first >= 0) {
                PointAt(square.first, square.second);
                Chord(square.first, square.second, leftFirst);
            }
            break;
        }
        case Operation::GuessFlagsThenChord: GuessFlagsThenChord(); break;
        }
    }

    // A whole click with one button on a square, the pointer moved there first.
    void Click(unsigned pressButton, int column, int row)
    {
        PointAt(column, row);
        Mouse(Operation::Move, 0);
        Mouse(pressButton == MouseLeft ? Operation::LeftPress : Operation::RightPress, pressButton);
        Mouse(pressButton == MouseLeft ? Operation::LeftRelease : Operation::RightRelease, 0);
    }

    // Both buttons pressed over a square and let go, the left one first or the
    // right one first.
    void Chord(int column, int row, bool leftFirst)
    {
        if (ColumnAtX(x_) != column || RowAtY(y_) != row)
            SetPointerIn(column, row, 0x77);
        const unsigned both = MouseLeft | MouseRight;
        Mouse(Operation::Move, 0);
        Mouse(Operation::LeftPress, MouseLeft);
        Mouse(Operation::RightPress, both);
        Mouse(leftFirst ? Operation::LeftRelease : Operation::RightRelease, leftFirst ? MouseRight : MouseLeft);
        Mouse(leftFirst ? Operation::RightRelease : Operation::LeftRelease, 0);
    }

    // A player who guesses the flags around a number, wrongly where the input
    // says so, and then chords on it: flags go on covered neighbours, safe ones
    // first when the input's bit is set, until they account for the number.
    void GuessFlagsThenChord()
    {
        const auto square = Pick([](int column, int row) {
            return Board[column][row].opened && MinesAround(column, row) > MarksAround(column, row);
        });
        const bool wrongFirst = (in_.Byte() & 1) != 0;
        if (square.first < 0)
            return;
        for (int pass = 0; pass < 2; ++pass) {
            for (const NeighbourOffset& n : NeighbourOrder) {
                const int column = square.first + n.dc, row = square.second + n.dr;
                if (!gameActive || MarksAround(square.first, square.second) >= MinesAround(square.first, square.second))
                    break;
                if (!OnBoard(column, row) || Board[column][row].opened || Board[column][row].mark ||
                    (pass == 0 && wrongFirst == (Board[column][row].mine != 0)))
                    continue;
                SetPointerIn(column, row, 0x88);
                Mouse(Operation::Move, 0);
                Mouse(Operation::RightPress, MouseRight);
                Mouse(Operation::RightRelease, 0);
            }
        }
        Chord(square.first, square.second, wrongFirst);
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
            const int column = std::clamp(ColumnAtX(x_) + static_cast<int>(d % 3) - 1, 0, 4095);
            const int row = std::clamp(RowAtY(y_) + static_cast<int>(d / 3 % 3) - 1, -1, 4094);
            SetPointerIn(column, row, d);
            break;
        }
        case 5:
            x_ = in_.Word() % static_cast<unsigned>(ClientWidth(columns) + 48);
            y_ = in_.Word() % static_cast<unsigned>(ClientHeight(rows) + 48);
            break;
        case 6:
            x_ = in_.Word();
            y_ = in_.Word();
            break;
        default: break;
        }
    }

    void PointAt(int column, int row) { SetPointerIn(column, row, in_.Byte()); }

    void SetPointerIn(int column, int row, unsigned within)
    {
        x_ = static_cast<unsigned>(SquareLeft(column)) + (within & 15u);
        y_ = static_cast<unsigned>(SquareTop(row)) + (within >> 4 & 15u);
    }

    // A column or row for a direct call: mostly on or around the board.
    int ReadCoordinate(int limit)
    {
        const unsigned b = in_.Byte();
        if (b < 248)
            return static_cast<int>(b % static_cast<unsigned>(limit + 4)) - 2;
        const int far[] = {-1000, -1, -2, limit, limit + 1, MaxColumns, 4095, 65535};
        return far[b - 248];
    }

    // One of the squares of the board that satisfy `fits`, chosen by the input,
    // or (-1, -1) when there is none.
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

    // ---------------------------------------------------------------------------
    // The steps and what each may do.

    void Begin(const PlayStep& step)
    {
        trail_.push_back(step);
        before_ = TakeSnapshot();
        drawLog.clear();
        watch.fault[0] = '\0';
        for (int column = 0; column < MaxColumns; ++column) {
            for (int row = 0; row < MaxRows; ++row) {
                watch.openedAtStart[column][row] = Board[column][row].opened != 0;
                watch.numbersOnOpened[column][row] = 0;
            }
        }
    }

    void Mouse(Operation message, unsigned buttons)
    {
        Begin(PlayStep{message, buttons, static_cast<long>(x_), static_cast<long>(y_), 0});
        // The first five operations are the five mouse cases, in their order.
        static_assert(static_cast<int>(Operation::RightRelease) == MouseCaseRightUp, "the mouse operations come first");
        PlayMouseCase(static_cast<int>(message), buttons, x_, y_);
        CheckMouse(message, buttons);
    }

    void CheckMouse(Operation message, unsigned buttons)
    {
        const bool left = (buttons & MouseLeft) != 0, right = (buttons & MouseRight) != 0;
        const int column = ColumnAtX(x_), row = RowAtY(y_);
        if (!(before_.gameActive || before_.firstClickPending)) {
            // Play is not running: the message is dropped whole.
            ExpectNothingDone("a message while play is not running");
            Finish(-1, -1);
            return;
        }
        if (hoverColumn != column || hoverRow != row)
            Fail("hovered square (%d,%d), pointer over (%d,%d)", hoverColumn, hoverRow, column, row);
        const bool sameSquare = before_.hoverColumn == column && before_.hoverRow == row;
        if (message == Operation::Move && sameSquare)
            ExpectNothingDone("a move within the hovered square");
        // Any other move restores at most nine squares and presses at most nine.
        if (message == Operation::Move && drawLog.size() > 18)
            Fail("a move drew %d times", Count(drawLog.size()));

        int latch = before_.chordLatch;
        if (message == Operation::LeftPress)
            latch = right ? 1 : 0;
        else if (message == Operation::RightPress)
            latch = left ? 1 : 0;
        else if ((message == Operation::LeftRelease && !right) || message == Operation::RightRelease)
            latch = 0;
        if (chordLatch != latch)
            Fail("chordLatch %d after the message, expected %d", chordLatch, latch);

        // The rule call that the message makes, if any.
        const Cell was = OnBoard(column, row) ? before_.board[column][row] : Cell{0, 0, 0};
        const bool chord =
            ((message == Operation::LeftRelease && right) || (message == Operation::RightRelease && left)) && was.opened;
        const bool open = message == Operation::LeftRelease && !right && !before_.chordLatch && OnBoard(column, row) &&
                          !was.opened && !was.mark;
        const bool mark =
            message == Operation::RightPress && !left && before_.gameActive && OnBoard(column, row) && !was.opened;
        chords_ += chord;
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
        if (mark && (Board[column][row].mark != 0) == (was.mark != 0))
            Fail("a right press did not change the mark on (%d,%d)", column, row);
        if (chord)
            CheckChord(column, row);

        // Where the pressed picture may show now: the squares that a press or a
        // move may have drawn pressed, less those that a restore covered.
        switch (message) {
        case Operation::Move:
            if (!sameSquare) {
                SetPressed(before_.hoverColumn, before_.hoverRow, ShapeBlock, false);
                if (left)
                    SetPressed(column, row, right ? ShapeBlock : ShapeCentre, true);
            }
            break;
        case Operation::LeftPress: SetPressed(column, row, right ? ShapeRing : ShapeCentre, true); break;
        case Operation::RightPress:
            if (left)
                SetPressed(column, row, ShapeRing, true);
            break;
        case Operation::LeftRelease:
            // No restore only when the release opened its square.
            if (!(OnBoard(column, row) && !was.opened && Board[column][row].opened))
                SetPressed(column, row, ShapeRing, false);
            break;
        case Operation::RightRelease: SetPressed(column, row, ShapeBlock, false); break;
        default: break;
        }
        if (chord && GameOver() && OpenedBomb().first >= 0) {
            // The restore after a chord that lost may take the bomb picture off
            // unflagged bombs of its shape; both pictures are allowed there.
            lossRestore_ = {column, row};
            lossRestoreShape_ = message == Operation::LeftRelease ? ShapeRing : ShapeBlock;
        }
        Finish(mark ? column : -1, mark ? row : -1);
    }

    // After a chord on an opened square in play: nothing changed when the flags
    // around it do not match its bombs; otherwise every unflagged neighbour is
    // open, unless a wrong flag made the chord open a bomb.
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
        Begin(PlayStep{Operation::CallOpen, 0, column, row, 0});
        const int result = OpenCell(column, row);
        const Cell was = OnBoard(column, row) ? before_.board[column][row] : Cell{0, 0, 0};
        const int expected =
            (before_.gameActive || before_.firstClickPending) && OnBoard(column, row) && !was.opened && !was.mark;
        if (result != expected)
            Fail("OpenCell gave %d, expected %d", result, expected);
        if (!result) {
            ExpectNothingDone("a refused OpenCell");
        } else {
            if (!Board[column][row].opened)
                Fail("OpenCell gave 1 and left (%d,%d) covered", column, row);
            if (before_.firstClickPending)
                firstOpen_ = {column, row};
            ExpectOnlyNewlyOpenedDrawn("OpenCell");
        }
        ExpectInputStateUnchanged();
        Finish(-1, -1);
    }

    void CallChord(int column, int row)
    {
        Begin(PlayStep{Operation::CallChord, 0, column, row, 0});
        const bool over = !before_.gameActive && !before_.firstClickPending;
        const int result = OpenAround(column, row);
        const int expected = MarksAround(column, row) == MinesAround(column, row);
        if (result != expected)
            Fail("OpenAround gave %d, expected %d", result, expected);
        if (over || !result) {
            ExpectNothingDone(over ? "OpenAround after the end of the game" : "a refused OpenAround");
        } else {
            CheckChord(column, row);
            ExpectOnlyNewlyOpenedDrawn("OpenAround");
        }
        ExpectInputStateUnchanged();
        Finish(-1, -1);
    }

    void CallMark(int column, int row)
    {
        Begin(PlayStep{Operation::CallMark, 0, column, row, 0});
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
            // Only a win draws more.
            if (gameActive && drawLog.size() != 2)
                Fail("CycleMark in play drew %d times", Count(drawLog.size()));
        }
        ExpectInputStateUnchanged();
        Finish(result ? column : -1, result ? row : -1);
    }

    void CallNewGame()
    {
        Begin(PlayStep{Operation::MenuNewGame, 0, 0, 0, 0});
        NewGame();
        CheckNewGame();
    }

    // The settings dialog stores a new size and bomb count and starts a game.
    void CallResize(int newColumns, int newRows, int bombs)
    {
        Begin(PlayStep{Operation::NewSettings, 0, newColumns, newRows, bombs});
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
            Fail("NewGame drew %d times, expected every square and then the counter", Count(drawLog.size()));
        std::memset(pressed_, 0, sizeof pressed_);
        firstOpen_ = {-1, -1};
        lossRestore_ = {-1, -1};
        Finish(-1, -1, true);
    }

    // ---------------------------------------------------------------------------
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
            Fail("%s drew %d times", what, Count(drawLog.size()));
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

    // A game call that opened without losing draws each newly opened square once,
    // with its number, and nothing else.
    void ExpectOnlyNewlyOpenedDrawn(const char* what)
    {
        if (!gameActive)
            return;  // lost: the end-of-game picture is checked with the screen
        size_t newlyOpened = 0;
        for (int column = 0; column < columns; ++column)
            for (int row = 0; row < rows; ++row)
                newlyOpened += Board[column][row].opened && !before_.board[column][row].opened;
        for (const DrawCall& call : drawLog)
            if (call.column < 0 || !OnBoard(call.column, call.row) || before_.board[call.column][call.row].opened ||
                !Board[call.column][call.row].opened)
                Fail("%s drew (%d,%d), which it did not open", what, call.column, call.row);
        if (drawLog.size() != newlyOpened)
            Fail("%s drew %d times for %d squares opened", what, Count(drawLog.size()), Count(newlyOpened));
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
                if (OnBoard(c, r))
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

    // Everything that holds after every step. `markedColumn`, `markedRow`: the
    // one square whose mark the step may have changed, if any.
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
        if (shownCounter != mineCounter)
            Fail("the counter shows %d, the game holds %d", shownCounter, mineCounter);
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
        if (GameOver()) {
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

    // around_[c][r]: the bombs around each square of the board, counted once per
    // step by adding every bomb to its neighbours.
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

    // A newly opened square with neither a bomb nor a flag around it opens all
    // of its neighbours.
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
        CounterTiles(shownCounter, tiles);
        int magnitude = 0;
        for (int i = 1; i < CounterCells; ++i) {
            if (tiles[i] < TileCounterZero || tiles[i] > TileCounterZero + 9)
                Fail("counter cell %d shows tile %d", i, tiles[i]);
            magnitude = magnitude * 10 + tiles[i] - TileCounterZero;
        }
        const int sign = shownCounter < 0 ? TileCounterMinus : TileCounterBlank;
        if (tiles[0] != sign || magnitude != std::abs(shownCounter))
            Fail("counter %d shows tiles %d %d %d %d", shownCounter, tiles[0], tiles[1], tiles[2], tiles[3]);
    }

    // The picture matches the board: while play runs, opened squares show their
    // number, flags the flag and the rest the covered tile (or the pressed one
    // where a press may have left it); at the end the final picture of a win or
    // a loss.
    void CheckScreen()
    {
        const bool lost = Lost();
        const bool won = GameOver() && !lost;
        for (int column = 0; column < columns; ++column) {
            for (int row = 0; row < rows; ++row) {
                const Cell& cell = Board[column][row];
                const int shown = shownTile[column][row];
                int expected;
                bool pressedAllowed = false, blankAllowed = false;
                if (cell.opened) {
                    expected = cell.mine ? TileExplodedBomb : TileOpenedEmpty + around_[column][row];
                } else if (won) {
                    expected = cell.mine ? TileFlaggedBomb : TileOpenedEmpty + around_[column][row];
                } else if (lost && cell.mine) {
                    expected = cell.mark ? TileFlaggedBomb : TileBomb;
                    blankAllowed = !cell.mark && InLossRestore(column, row);
                } else if (cell.mark) {
                    expected = lost ? TileWrongFlag : TileFlag;
                } else {
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

    // ---------------------------------------------------------------------------

    [[noreturn]] __attribute__((format(printf, 2, 3))) void Fail(const char* format, ...)
    {
        char message[512];
        va_list args;
        va_start(args, format);
        std::vsnprintf(message, sizeof message, format, args);
        va_end(args);
        std::string report = "\n==== tsweeper random play: invariant broken: ";
        report += message;
        char line[256];
        std::snprintf(line, sizeof line,
                      "\nboard %d x %d, %d bombs; phase (%d,%d); counter %d; hover (%d,%d); latch %d; %s stream\n",
                      columns, rows, bombCount, gameActive, firstClickPending, mineCounter, hoverColumn, hoverRow,
                      chordLatch, windowLike_ ? "window-like" : "presses-anywhere");
        report += line;
        const size_t from = trail_.size() > 40 ? trail_.size() - 40 : 0;
        std::snprintf(line, sizeof line, "last steps (%d in all), the failing one last:\n", Count(trail_.size()));
        report += line;
        for (size_t i = from; i < trail_.size(); ++i) {
            std::snprintf(line, sizeof line, "  #%d %s\n", Count(i), Describe(trail_[i]).c_str());
            report += line;
        }
        report += "screen:\n" + ScreenPicture() + "board:\n" + BoardPicture();
        onFailure_(report);
        std::abort();  // a handler that returned
    }

    ChoiceSource& in_;
    FailureHandler onFailure_;
    bool windowLike_ = false;
    int chords_ = 0;
    unsigned x_ = 0, y_ = 0;
    ProgramSnapshot before_{};
    bool pressed_[MaxColumns][MaxRows] = {};
    int around_[MaxColumns][MaxRows] = {};
    std::pair<int, int> firstOpen_{-1, -1};
    std::pair<int, int> lossRestore_{-1, -1};
    SquareShape lossRestoreShape_ = ShapeBlock;
    std::vector<PlayStep> trail_;
};

RandomPlay::RandomPlay(ChoiceSource& in, FailureHandler onFailure) : session_(new Session(in, onFailure)) {}
RandomPlay::~RandomPlay() = default;
void RandomPlay::Start() { session_->Start(); }
void RandomPlay::SetWindowLike(bool windowLike) { session_->windowLike_ = windowLike; }
void RandomPlay::RunOperation(const PlayMix& mix) { session_->RunOperation(mix); }
void RandomPlay::Run(Operation operation) { session_->Run(operation); }
bool RandomPlay::Over() const { return session_->Over(); }
bool RandomPlay::Lost() const { return session_->Lost(); }
int RandomPlay::Chords() const { return session_->chords_; }

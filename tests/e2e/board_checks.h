// Checks of the board that a keyboard player and a screen reader get from
// the real program, against the test's model of the game (game_model.h):
// the picture pixel for pixel with the cursor's frame over it, and the words
// that the board's accessible object gives.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/reader_texts_wide.h"
#include "render/board_reading.h"
#include "render/screen_model.h"
#include "tests/e2e/board_reader.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/game_model.h"
#include "tests/e2e/key_input.h"
#include "tests/e2e/screen_checks.h"

// The keyboard cursor's frame at the game's own scale: a white ring of one
// pixel outside the square's block, a black ring of two inside its edge and
// a white ring of two within that.
inline void DrawCursorFrame(Picture& picture, int column, int row)
{
    const int left = SquareLeft(column), top = SquareTop(row);
    for (int y = top - 1; y <= top + SquareSize; ++y) {
        for (int x = left - 1; x <= left + SquareSize; ++x) {
            if (x < 0 || y < 0 || x >= picture.width || y >= picture.height)
                continue;
            const int inward = std::min(std::min(x - left, left + SquareSize - 1 - x),
                                        std::min(y - top, top + SquareSize - 1 - y));
            if (inward < 4)
                picture.Set(x, y, inward == 0 || inward == 1 ? 0x000000 : 0xFFFFFF);
        }
    }
}

// The model's picture: its tiles and counter cells from the strip, the
// frame on the model's cursor when `frame`; the rest of the client area as
// `shown` has it.
inline Picture ModelPicture(const Picture& shown, bool frame)
{
    Picture expected = shown;
    const Picture& strip = BuiltInStrip();
    auto blit = [&](int tile, int x0, int y0) {
        for (int y = 0; y < SquareSize; ++y)
            for (int x = 0; x < SquareSize; ++x)
                if (x0 + x < expected.width && y0 + y < expected.height)
                    expected.Set(x0 + x, y0 + y, strip.At(SquareSize * tile + x, y));
    };
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
            blit(shownTile[column][row], SquareLeft(column), SquareTop(row));
    for (int cell = 0; cell < CounterCells; ++cell)
        blit(shownCounterTiles[cell], SquareSize * cell, 0);
    if (frame)
        DrawCursorFrame(expected, cursorColumn, cursorRow);
    return expected;
}

// Waits for the window to show the model's picture exactly, at the zoom.
inline ::testing::AssertionResult ShowsModel(const GameRun& game, bool frame, int zoom, int timeoutMs = 3000)
{
    Picture shown, expected;
    const bool same = WaitUntil(
        [&] {
            shown = ArtPixels(game.Capture(), zoom);
            expected = ModelPicture(shown, frame);
            return shown.pixels == expected.pixels;
        },
        timeoutMs);
    if (same)
        return ::testing::AssertionSuccess();
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (shown.At(x, y) != expected.At(x, y))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << shown.At(x, y) << " instead of "
                       << expected.At(x, y) << std::dec << "; cursor (" << cursorColumn << ", " << cursorRow
                       << "), frame " << frame << "; the screen shows\n"
                       << Describe(ReadScreen(shown, columns, rows));
    return ::testing::AssertionFailure() << "a picture of another size: " << shown.width << " x " << shown.height;
}

// The words that the model's screen gives an element, as the program's own
// texts say them.
inline std::wstring ModelName(long element)
{
    wchar_t text[256] = L"";
    int column, row;
    if (ElementSquare(element, &column, &row)) {
        int count;
        wchar_t shows[64];
        const ReaderText seen = TileWords(TileSeen(column, row), &count);
        wsprintfW(shows, ReaderTexts[seen], count);
        wsprintfW(text, ReaderTexts[ReaderSquareName], column + 1, row + 1, shows);
    } else if (element == CounterElement()) {
        wsprintfW(text, ReaderTexts[ReaderCounterStatus], shownCounter);
    } else if (element == BoardItself) {
        wsprintfW(text, ReaderTexts[ReaderBoardName], columns, rows);
    } else if (GameEnding() != ReaderTextCount) {
        return ReaderTexts[GameEnding()];
    }
    return text;
}

// The program's name of `element` against the model's.
inline ::testing::AssertionResult NamedAsModel(const BoardReader& reader, long element)
{
    const std::wstring name = reader.Name(element), expected = ModelName(element);
    if (name == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "element " << element << " is named \"" << Utf8(name)
                                         << "\" instead of \"" << Utf8(expected) << "\"";
}

// The board's words as a player reads them in the page, written out here
// so that a change of the texts' file shows.
namespace words {
inline const char* const Board10x5 = "盤 (横 10 × 縦 5)";
inline const char* const Keys = "矢印キーで移動、Space か Enter で開く、F で旗";
inline const char* const Covered31 = "横 3、縦 1: 未開封";
inline const char* const Counter10 = "残りの爆弾 10";
inline const char* const Lost = "爆弾を開きました。ゲームオーバーです。";
inline const char* const Won = "すべての爆弾に旗を立てました。クリアです。";
inline const char* const Open = "開く";
}  // namespace words

// A game played by keys and followed by a reader: the real program and the
// model take the same keys, and after each the picture, the events and the
// names must agree.
class KeyboardGameTest : public GameTest {
protected:
    void SetUp() override
    {
        ParkPointer();
        zoom_ = DisplayZoom();
        ASSERT_NE(zoom_, 0) << "no zoom known for the display's DPI";
    }

    // Starts the program on `ini`'s board, its model beside it, a reader
    // listening, and the window in front.
    ::testing::AssertionResult Start(int boardColumns, int boardRows, int bombs, const std::string& ini = "")
    {
        const ::testing::AssertionResult launched = Launch(ini);
        if (!launched)
            return launched;
        model::Start(boardColumns, boardRows, bombs);
        ForgetChanges();
        watch_ = std::make_unique<EventWatch>(game_->processId());
        reader_ = std::make_unique<BoardReader>(game_->window());
        if (!reader_->object())
            return ::testing::AssertionFailure() << "no accessible object";
        if (!BringToFront(game_->window()))
            return ::testing::AssertionFailure() << "the window did not come to the front";
        watch_->Take();
        names_ = ModelNames();
        toldColumns_ = columns;
        toldRows_ = rows;
        return ::testing::AssertionSuccess();
    }

    // One key in the program and in the model, then everything compared.
    ::testing::AssertionResult Play(WORD key, bool control = false)
    {
        const long before = SquareElement(cursorColumn, cursorRow);
        if (model::Key(key, control))
            frame_ = true;
        TapKey(key, control);
        return Follows(before);
    }

    // What the program shows and tells after the model's last step: the
    // picture, each square and the counter named again in the order they
    // changed, the focus when the cursor moved from `focusBefore` (once for
    // each of `moves` steps when given), the end once; the names of all of
    // them.
    ::testing::AssertionResult Follows(long focusBefore, int moves = -1)
    {
        ::testing::AssertionResult shown = ShowsModel(*game_, frame_, zoom_);
        if (!shown)
            return shown;
        std::vector<long> renamed;
        if (columns != toldColumns_ || rows != toldRows_)
            renamed.push_back(BoardItself);
        for (int i = 0; i < changedSquareCount; ++i)
            renamed.push_back(SquareElement(changedSquares[i][0], changedSquares[i][1]));
        if (counterChanged)
            renamed.push_back(CounterElement());
        const long focus = SquareElement(cursorColumn, cursorRow);
        const size_t focusEvents = moves >= 0 ? static_cast<size_t>(moves) : focus != focusBefore ? 1 : 0;
        const size_t alerts = GameEnding() != ReaderTextCount && !endingTold_ ? 1 : 0;
        WaitUntil([&] {
            const std::vector<BoardEvent>& seen = watch_->Seen();
            return ElementsOf(seen, EVENT_OBJECT_NAMECHANGE).size() >= renamed.size() &&
                   SquareFocuses(seen).size() >= focusEvents && ElementsOf(seen, EVENT_SYSTEM_ALERT).size() >= alerts;
        });
        const std::vector<BoardEvent> events = watch_->Take(30);
        const size_t reorders = columns != toldColumns_ || rows != toldRows_ ? 1 : 0;
        if (ElementsOf(events, EVENT_OBJECT_REORDER) != std::vector<long>(reorders, BoardItself))
            return ::testing::AssertionFailure() << "the board's children not told once after a change of size";
        if (ElementsOf(events, EVENT_OBJECT_NAMECHANGE) != renamed)
            return ::testing::AssertionFailure() << "renamed " << List(ElementsOf(events, EVENT_OBJECT_NAMECHANGE))
                                                 << " instead of " << List(renamed);
        // Told of every square and of the counter whose words changed,
        // whatever the screen model lists; after a change of size the
        // numbers name other squares, and the reorder tells them all.
        const std::vector<std::wstring> names = ModelNames();
        for (long element = BoardItself; !reorders && element < static_cast<long>(names.size()); ++element)
            if (names[element] != names_[element] &&
                std::find(renamed.begin(), renamed.end(), element) == renamed.end())
                return ::testing::AssertionFailure() << "element " << element << " now \"" << Utf8(names[element])
                                                     << "\", and no reader was told";
        names_ = names;
        const std::vector<BoardEvent> focuses = SquareFocuses(events);
        if (focuses.size() != focusEvents || (focusEvents && (focuses.back().child != focus ||
                                                               focuses.back().name != ModelName(focus) ||
                                                               focuses.back().role != ROLE_SYSTEM_CELL)))
            return ::testing::AssertionFailure()
                   << focuses.size() << " focus events for " << focus << ", wanted " << focusEvents
                   << (focuses.empty() ? std::string()
                                       : "; the last on " + std::to_string(focuses.back().child) + ", \"" +
                                             Utf8(focuses.back().name) + "\", role " +
                                             std::to_string(focuses.back().role));
        if (ElementsOf(events, EVENT_SYSTEM_ALERT).size() != alerts)
            return ::testing::AssertionFailure() << "not one alert at the end, or one before it";
        for (const BoardEvent& seen : events)
            if (seen.event == EVENT_SYSTEM_ALERT &&
                (seen.role != ROLE_SYSTEM_ALERT || seen.name != ModelName(EndingElement())))
                return ::testing::AssertionFailure() << "the alert says \"" << Utf8(seen.name) << "\"";
        renamed.push_back(focus);
        renamed.push_back(CounterElement());
        for (long element : renamed) {
            ::testing::AssertionResult named = NamedAsModel(*reader_, element);
            if (!named)
                return named;
        }
        toldColumns_ = columns;
        toldRows_ = rows;
        endingTold_ = GameEnding() != ReaderTextCount;
        ForgetChanges();
        return ::testing::AssertionSuccess();
    }

    // The keys that take the cursor to (column, row), played.
    ::testing::AssertionResult WalkTo(int column, int row)
    {
        while (cursorColumn != column || cursorRow != row) {
            const WORD key = cursorColumn < column ? VK_RIGHT
                             : cursorColumn > column ? VK_LEFT
                             : cursorRow < row       ? VK_DOWN
                                                     : VK_UP;
            ::testing::AssertionResult played = Play(key);
            if (!played)
                return played;
        }
        return ::testing::AssertionSuccess();
    }

    // The model's words for the board, its squares and the counter, by
    // element number.
    static std::vector<std::wstring> ModelNames()
    {
        std::vector<std::wstring> names;
        for (long element = BoardItself; element <= CounterElement(); ++element)
            names.push_back(ModelName(element));
        return names;
    }

    static std::vector<BoardEvent> SquareFocuses(const std::vector<BoardEvent>& events)
    {
        std::vector<BoardEvent> focuses;
        for (const BoardEvent& seen : events)
            if (seen.event == EVENT_OBJECT_FOCUS && seen.child > 0)
                focuses.push_back(seen);
        return focuses;
    }

    static std::string List(const std::vector<long>& elements)
    {
        std::string text = "{";
        for (long element : elements)
            text += " " + std::to_string(element);
        return text + " }";
    }

    std::unique_ptr<EventWatch> watch_;
    std::unique_ptr<BoardReader> reader_;
    std::vector<std::wstring> names_;  // the model's words when last compared
    bool frame_ = false;  // a board key has been pressed
    int toldColumns_ = 0, toldRows_ = 0;
    bool endingTold_ = false;
};

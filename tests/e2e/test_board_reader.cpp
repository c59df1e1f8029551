// The board as a screen reader finds it in the real program, asked from this
// process over Microsoft Active Accessibility: its table of squares, their
// words, places and neighbours; what a reader may do there; and that nothing
// a client sends, holds or forgets can play a move or harm the game.
#include <gtest/gtest.h>

#include "tests/e2e/board_checks.h"

namespace {

class BoardReading : public KeyboardGameTest {
protected:
    // Square (column, row)'s block on the screen at the zoom.
    RECT Block(int column, int row) const
    {
        POINT origin = {0, 0};
        ClientToScreen(game_->window(), &origin);
        const int left = origin.x + zoom_ * SquareLeft(column), top = origin.y + zoom_ * SquareTop(row);
        return {left, top, left + zoom_ * SquareSize, top + zoom_ * SquareSize};
    }
};

// A start without a reader loads nothing of the readers' (accessibility and
// OLE automation); the first reader's request does.
TEST_F(BoardReading, ReadersLibrariesLoadedOnlyWhenOneAsks)
{
    ASSERT_TRUE(Launch());
    auto loaded = [&](const wchar_t* library) {
        const std::vector<std::wstring> modules = LoadedModules(game_->processId());
        return std::find(modules.begin(), modules.end(), library) != modules.end();
    };
    ASSERT_TRUE(loaded(L"user32.dll")) << "the modules could not be read";
    EXPECT_FALSE(loaded(L"oleacc.dll"));
    EXPECT_FALSE(loaded(L"oleaut32.dll"));
    BoardReader reader(game_->window());
    ASSERT_NE(reader.object(), nullptr);
    EXPECT_TRUE(loaded(L"oleacc.dll"));
    EXPECT_TRUE(loaded(L"oleaut32.dll"));
}

TEST_F(BoardReading, TableOfNamedSquaresWithTheCounterAndTheEnd)
{
    ASSERT_TRUE(Start(10, 5, 10));
    EXPECT_EQ(reader_->ChildCount(), 52);
    EXPECT_EQ(reader_->Name(BoardItself), Wide(words::Board10x5));
    EXPECT_EQ(reader_->Description(BoardItself), Wide(words::Keys));
    EXPECT_EQ(reader_->Name(SquareElement(2, 0)), Wide(words::Covered31));
    EXPECT_EQ(reader_->Name(CounterElement()), Wide(words::Counter10));
    EXPECT_EQ(reader_->DefaultAction(SquareElement(0, 0)), Wide(words::Open));
    HRESULT result;
    EXPECT_EQ(reader_->Name(EndingElement(), &result), L"");
    EXPECT_EQ(result, S_FALSE) << "no end yet";

    const struct {
        long element;
        long role;
        long state;
    } elements[] = {
        {BoardItself, ROLE_SYSTEM_TABLE, STATE_SYSTEM_FOCUSABLE},
        {SquareElement(0, 0), ROLE_SYSTEM_CELL, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSED},
        {SquareElement(9, 4), ROLE_SYSTEM_CELL, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE},
        {CounterElement(), ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY},
        {EndingElement(), ROLE_SYSTEM_ALERT, STATE_SYSTEM_READONLY | STATE_SYSTEM_INVISIBLE},
    };
    for (const auto& e : elements) {
        EXPECT_EQ(reader_->Role(e.element), e.role) << e.element;
        EXPECT_EQ(reader_->State(e.element), e.state) << e.element;
    }
    for (long element = 1; element <= 50; ++element)
        EXPECT_TRUE(NamedAsModel(*reader_, element));
}

// Each square's place is its block at the zoom, and the first and the last
// pixels of the block hit it; the counter strip beyond the counter is the
// board itself, a point off the window nothing.
TEST_F(BoardReading, PlacesAndHitsFollowTheZoom)
{
    ASSERT_TRUE(Start(10, 5, 10));
    for (const std::pair<int, int>& square : {std::pair<int, int>{0, 0}, {9, 0}, {4, 2}, {0, 4}, {9, 4}}) {
        const long element = SquareElement(square.first, square.second);
        const RECT block = Block(square.first, square.second);
        const RECT place = reader_->Location(element);
        EXPECT_TRUE(EqualRect(&place, &block)) << element << ": " << place.left << "," << place.top << " "
                                               << place.right << "," << place.bottom;
        EXPECT_EQ(reader_->HitTest(block.left, block.top), element);
        EXPECT_EQ(reader_->HitTest(block.right - 1, block.bottom - 1), element);
    }
    const RECT first = Block(0, 0);
    const RECT counter = reader_->Location(CounterElement());
    EXPECT_EQ(counter.left, first.left);
    EXPECT_EQ(counter.bottom, first.top);
    EXPECT_EQ(counter.right - counter.left, zoom_ * SquareSize * CounterCells);
    EXPECT_EQ(reader_->HitTest(counter.right - 1, counter.top), CounterElement());
    EXPECT_EQ(reader_->HitTest(counter.right, counter.top), BoardItself);
    EXPECT_EQ(reader_->HitTest(first.left - 1, first.top), -1);
}

TEST_F(BoardReading, NavigationStopsAtTheEdges)
{
    ASSERT_TRUE(Start(10, 5, 10));
    const struct {
        long start, direction, end;
    } steps[] = {
        {1, NAVDIR_RIGHT, 2},     {1, NAVDIR_LEFT, -1},  {1, NAVDIR_UP, -1},          {1, NAVDIR_DOWN, 11},
        {10, NAVDIR_RIGHT, -1},   {11, NAVDIR_LEFT, -1}, {41, NAVDIR_DOWN, -1},       {50, NAVDIR_UP, 40},
        {0, NAVDIR_FIRSTCHILD, 1}, {0, NAVDIR_LASTCHILD, 52}, {50, NAVDIR_NEXT, 51},  {51, NAVDIR_PREVIOUS, 50},
        {52, NAVDIR_NEXT, -1},    {1, 99, -1},
    };
    for (const auto& step : steps)
        EXPECT_EQ(reader_->Navigate(step.start, step.direction), step.end)
            << step.start << " towards " << step.direction;
}

// A reader's selection moves the cursor and its default action plays Space
// there, as the keys do; a bomb opened so is a loss, told once, and after
// the end nothing more is played.
TEST_F(BoardReading, SelectAndDefaultActionPlayUntilTheEnd)
{
    ASSERT_TRUE(Start(10, 5, 10));
    long before = SquareElement(cursorColumn, cursorRow);
    ASSERT_EQ(reader_->Select(SELFLAG_TAKEFOCUS, SquareElement(3, 2)), S_OK);
    PlaceCursor(3, 2);
    ASSERT_TRUE(Follows(before));
    EXPECT_EQ(reader_->Focus(), SquareElement(3, 2));

    before = SquareElement(cursorColumn, cursorRow);
    ASSERT_EQ(reader_->DoDefaultAction(SquareElement(7, 0)), S_OK);
    PlaceCursor(7, 0);
    ClickAtCursor();
    ASSERT_TRUE(Follows(before)) << "opened (7, 0)";

    int bombColumn = 0, bombRow = 0;
    while (!Board[bombColumn][bombRow].mine)
        if (++bombColumn == columns)
            bombColumn = 0, ++bombRow;
    before = SquareElement(cursorColumn, cursorRow);
    ASSERT_EQ(reader_->DoDefaultAction(SquareElement(bombColumn, bombRow)), S_OK);
    PlaceCursor(bombColumn, bombRow);
    ClickAtCursor();
    ASSERT_TRUE(Follows(before)) << "the loss";
    EXPECT_EQ(reader_->Name(EndingElement()), Wide(words::Lost));
    EXPECT_EQ(reader_->State(EndingElement()), STATE_SYSTEM_READONLY);

    EXPECT_EQ(reader_->DoDefaultAction(SquareElement(0, 0)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(reader_->DefaultAction(SquareElement(0, 0)), L"");
    EXPECT_TRUE(Follows(SquareElement(cursorColumn, cursorRow))) << "nothing played after the end";
}

// A mouse press and its release, each a message of its own: the square
// shown pressed still reads as covered, and once opened it is told again
// though its tile looks the same as it did pressed.
TEST_F(BoardReading, MousePressAndReleaseAreToldAsTheyRead)
{
    // A square whose first open shows it empty, found on the model.
    int column = 0;
    for (; column < 10; ++column) {
        model::Start(10, 5, 10);
        model::Click(column, 2);
        if (CountAdjacentMines(column, 2) == 0)
            break;
    }
    ASSERT_LT(column, 10);
    ASSERT_TRUE(Start(10, 5, 10));
    const int x = zoom_ * SquareX(column), y = zoom_ * SquareY(2);
    const long focus = SquareElement(cursorColumn, cursorRow);
    game_->Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    model::Mouse(WM_LBUTTONDOWN, MK_LBUTTON, SquareX(column), SquareY(2));
    ASSERT_TRUE(Follows(focus)) << "pressed";
    EXPECT_EQ(reader_->Name(SquareElement(column, 2)), ModelName(SquareElement(column, 2)));
    EXPECT_EQ(TileSeen(column, 2), TileCovered);
    game_->Send(WM_LBUTTONUP, 0, x, y);
    model::Mouse(WM_LBUTTONUP, 0, SquareX(column), SquareY(2));
    ASSERT_TRUE(Follows(focus)) << "released";
    EXPECT_EQ(TileSeen(column, 2), TileOpenedEmpty);
}

// Element numbers beyond the board, other kinds of VARIANT and missing
// out-pointers are refused; the board stays as it was.
TEST_F(BoardReading, BadArgumentsAreRefusedAndChangeNothing)
{
    ASSERT_TRUE(Start(10, 5, 10));
    IAccessible* object = reader_->object();
    BSTR text = SysAllocString(L"1");
    VARIANT bad[6];
    for (VARIANT& v : bad)
        VariantInit(&v);
    bad[0] = Element(0x7FFFFFFF);
    bad[1] = Element(-1);
    bad[2] = Element(53);
    bad[3].vt = VT_I2;
    bad[3].iVal = 1;
    bad[4].vt = VT_BSTR;
    bad[4].bstrVal = text;
    // bad[5] stays VT_EMPTY
    for (const VARIANT& v : bad) {
        SCOPED_TRACE(testing::Message() << "VARIANT of type " << v.vt);
        BSTR name = nullptr;
        VARIANT out;
        VariantInit(&out);
        long left, top, width, height;
        EXPECT_EQ(object->get_accName(v, &name), E_INVALIDARG);
        EXPECT_EQ(object->get_accRole(v, &out), E_INVALIDARG);
        EXPECT_EQ(object->get_accState(v, &out), E_INVALIDARG);
        EXPECT_EQ(object->accLocation(&left, &top, &width, &height, v), E_INVALIDARG);
        EXPECT_EQ(object->accNavigate(NAVDIR_RIGHT, v, &out), E_INVALIDARG);
        EXPECT_EQ(object->accSelect(SELFLAG_TAKEFOCUS, v), E_INVALIDARG);
        EXPECT_EQ(object->accDoDefaultAction(v), E_INVALIDARG);
    }
    SysFreeString(text);
    EXPECT_EQ(object->accSelect(0x1000, Element(1)), E_INVALIDARG) << "an unknown selection flag";
    EXPECT_TRUE(FAILED(object->get_accName(Element(1), nullptr)));
    EXPECT_TRUE(FAILED(object->get_accChildCount(nullptr)));
    EXPECT_TRUE(FAILED(object->get_accFocus(nullptr)));
    EXPECT_TRUE(FAILED(object->accLocation(nullptr, nullptr, nullptr, nullptr, Element(1))));
    EXPECT_TRUE(Follows(SquareElement(0, 0))) << "nothing played, nothing moved";
    EXPECT_EQ(reader_->Focus(), SquareElement(0, 0));
    EXPECT_EQ(game_->Quit(), 0);
}

// While a box holds the window its squares are unavailable and play nothing.
TEST_F(BoardReading, NothingPlaysWhileABoxIsOpen)
{
    ASSERT_TRUE(Start(10, 5, 10));
    game_->MenuCommand(IDM_ABOUT);
    HWND box = game_->WaitForPopup();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(game_->window()); }));
    EXPECT_NE(reader_->State(SquareElement(4, 2)) & STATE_SYSTEM_UNAVAILABLE, 0);
    EXPECT_EQ(reader_->DoDefaultAction(SquareElement(4, 2)), DISP_E_MEMBERNOTFOUND);
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(game_->window()); }));
    watch_->Take();
    EXPECT_TRUE(ShowsModel(*game_, false, zoom_)) << "nothing was played";
    EXPECT_EQ(reader_->State(SquareElement(4, 2)) & STATE_SYSTEM_UNAVAILABLE, 0);
}

// A client that keeps the object across a change of the board's size reads
// the new board: its children told again, the cursor brought inside.
TEST_F(BoardReading, KeptObjectReadsTheNewBoardAfterItsSizeChanged)
{
    ASSERT_TRUE(Start(20, 10, 30, "[Set]\nX=20\nY=10\nBom=30\n"));
    ASSERT_TRUE(Play(VK_END, true));
    EXPECT_EQ(reader_->Focus(), SquareElement(19, 9));
    game_->MenuCommand(IDM_SETTINGS);
    HWND dialog = game_->WaitForPopup();
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, IDC_COLUMNS, L"10");
    SetDlgItemTextW(dialog, IDC_ROWS, L"5");
    SetDlgItemTextW(dialog, IDC_BOMBS, L"10");
    PressButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    const long before = SquareElement(cursorColumn, cursorRow);
    columns = 10;
    rows = 5;
    bombCount = 10;
    NewGame();
    KeepCursorOnBoard();
    ASSERT_TRUE(WaitUntil([&] { return game_->Columns() == 10 && game_->Rows() == 5; }));
    ASSERT_TRUE(Follows(before)) << "the focus on the new board's last square";
    EXPECT_EQ(reader_->ChildCount(), 52);
    EXPECT_EQ(reader_->Name(BoardItself), Wide(words::Board10x5));
    EXPECT_EQ(reader_->Focus(), SquareElement(9, 4));
    HRESULT result;
    reader_->Name(SquareElement(19, 9), &result);
    EXPECT_EQ(result, E_INVALIDARG) << "a square of the old board";
    ASSERT_TRUE(Play(VK_SPACE)) << "play goes on on the new board";
}

// A client that lets the object go late, or never, does not keep the game
// from ending well.
TEST_F(BoardReading, ClientsThatHoldTheObjectDoNotHarmTheGame)
{
    ASSERT_TRUE(Start(10, 5, 10));
    BoardReader another(game_->window());
    ASSERT_NE(another.object(), nullptr);
    EXPECT_EQ(another.ChildCount(), 52);
    EXPECT_EQ(game_->Quit(), 0) << "both clients still hold the object";
    HRESULT result;
    reader_->Name(BoardItself, &result);
    EXPECT_TRUE(FAILED(result)) << "the game is gone";
    another.Release();  // late, after the game ended
}

}  // namespace

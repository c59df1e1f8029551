// The real program on the display it finds, at 96 DPI and (run again in
// prefixes set to 120, 144 and 192 DPI) above it: a client area of the
// whole-number zoom times the board, every square and counter cell its tile
// scaled pixel for pixel, presses on the first and last pixels of a square's
// block, the settings dialog whole on the screen, the settings written at
// quit; and starts from saved corners beyond the screen.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/screen_checks.h"

namespace {

POINT ClientOrigin(HWND window)
{
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

::testing::AssertionResult Inside(const RECT& inner, const RECT& outer, const std::string& what)
{
    if (inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
        inner.bottom <= outer.bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << what << " {" << inner.left << "," << inner.top << "," << inner.right << "," << inner.bottom
           << "} reaches beyond {" << outer.left << "," << outer.top << "," << outer.right << ","
           << outer.bottom << "}";
}

class ScreenZoom : public GameTest {
protected:
    void SetUp() override
    {
        ParkPointer();
        zoom_ = DisplayZoom();
        ASSERT_NE(zoom_, 0) << "no zoom known for the display's DPI";
    }

    ::testing::AssertionResult ClientIsZoomed(int columns, int rows) const
    {
        const RECT client = ClientRect(game_->window());
        if (client.right == zoom_ * ClientWidth(columns) && client.bottom == zoom_ * ClientHeight(rows))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "client area " << client.right << " x " << client.bottom
                                             << " for " << columns << " x " << rows << " at x" << zoom_;
    }

    // A message at the first or the last window pixel of square (column, row).
    void AtCorner(UINT message, unsigned buttons, int column, int row, bool last) const
    {
        const int end = last ? SquareSize * zoom_ - 1 : 0;
        game_->Send(message, buttons, zoom_ * SquareLeft(column) + end, zoom_ * SquareTop(row) + end);
    }
};

// The worked game, every press and release on the edge of a square's block:
// a press on the first pixel and a release on the last open a square, a
// press held there shows it pressed, and a right press on either flags it.
TEST_F(ScreenZoom, EverySquareIsItsTileZoomedAndEveryPixelOfItsBlockHitsIt)
{
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(ClientIsZoomed(worked::Columns, worked::Rows));
    Screen expected = UniformScreen(worked::Columns, worked::Rows, TileCovered, worked::BombCount);
    ASSERT_TRUE(Shows(*game_, expected)) << "fresh board";

    AtCorner(WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, false);
    AtCorner(WM_MOUSEMOVE, MK_LBUTTON, 0, 0, true);
    AtCorner(WM_LBUTTONUP, 0, 0, 0, true);
    expected.Set(0, 0, worked::NumberTile(0, 0));
    ASSERT_TRUE(Shows(*game_, expected)) << "first open";

    // Held on the last pixel of (3, 3), then moved onto the first of (4, 3):
    // the pressed look follows, square by square, and the release opens (4, 3).
    AtCorner(WM_LBUTTONDOWN, MK_LBUTTON, 3, 3, true);
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{3, 3}}))) << "pressed on the last pixel";
    AtCorner(WM_MOUSEMOVE, MK_LBUTTON, 4, 3, false);
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{4, 3}}))) << "moved onto the next square's first pixel";
    AtCorner(WM_LBUTTONUP, 0, 4, 3, false);
    expected.Set(4, 3, worked::NumberTile(4, 3));
    ASSERT_TRUE(Shows(*game_, expected)) << "opened (4, 3)";

    // Every bomb flagged, on the first and the last pixels in turn: the win.
    bool last = false;
    for (const worked::Square& bomb : worked::bombs) {
        AtCorner(WM_RBUTTONDOWN, MK_RBUTTON, bomb.first, bomb.second, last);
        AtCorner(WM_RBUTTONUP, 0, bomb.first, bomb.second, last);
        last = !last;
    }
    EXPECT_TRUE(Shows(*game_, ScreenOf(worked::wonPicture, worked::Rows, 0))) << "the won board";
    EXPECT_EQ(game_->Quit(), 0);
}

// The dialog takes the display's scale by itself: it opens at the window's
// client corner with every control on the screen, and OK sizes the window
// for the new board at the same zoom; quitting writes the settings.
TEST_F(ScreenZoom, DialogIsWholeOnTheScreenAndTheNewBoardKeepsTheZoom)
{
    ASSERT_TRUE(Launch());
    game_->MenuCommand(IDM_SETTINGS);
    HWND dialog = game_->WaitForPopup();
    ASSERT_NE(dialog, nullptr);
    const POINT mainOrigin = ClientOrigin(game_->window());
    const POINT dialogOrigin = ClientOrigin(dialog);
    EXPECT_EQ(dialogOrigin.x, mainOrigin.x);
    EXPECT_EQ(dialogOrigin.y, mainOrigin.y);
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_TRUE(Inside(WindowRect(dialog), screen, "the dialog"));
    RECT client = ClientRect(dialog);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    int controls = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++controls)
        EXPECT_TRUE(Inside(WindowRect(child), client, "\"" + Utf8(WindowText(child)) + "\""));
    EXPECT_EQ(controls, 8);

    SetDlgItemTextW(dialog, IDC_COLUMNS, L"20");
    SetDlgItemTextW(dialog, IDC_ROWS, L"10");
    SetDlgItemTextW(dialog, IDC_BOMBS, L"30");
    PressButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return ClientIsZoomed(20, 10); })) << ClientIsZoomed(20, 10);
    EXPECT_TRUE(Shows(*game_, UniformScreen(20, 10, TileCovered, 30)));
    const RECT outer = WindowRect(game_->window());
    ASSERT_EQ(game_->Quit(), 0);

    const SettingsValues saved = ReadBackSettings(folder_->Ini());
    EXPECT_EQ(Describe(saved), Describe(SettingsValues{outer.left, outer.top, 20, 10, 30}));
}

// A saved corner whose caption lies on no screen (a monitor that is gone)
// opens the window on the work area, nearest the saved corner; one partly
// beyond an edge, its caption still on the screen, stays as it was.
TEST_F(ScreenZoom, StartFromACornerBeyondTheScreen)
{
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const struct {
        int x, y;
        bool moved;
    } cases[] = {{5000, 3000, true}, {-3000, 200, true}, {300, -2000, true}, {-40, 30, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE("saved at (" + std::to_string(c.x) + ", " + std::to_string(c.y) + ")");
        ASSERT_TRUE(Launch("[Set]\r\nWinX=" + std::to_string(c.x) + "\r\nWinY=" + std::to_string(c.y) + "\r\n"));
        EXPECT_TRUE(ClientIsZoomed(10, 5));
        const RECT outer = WindowRect(game_->window());
        if (c.moved) {
            EXPECT_TRUE(Inside(outer, work, "the window"));
            EXPECT_TRUE(Shows(*game_, UniformScreen(10, 5, TileCovered, 10)));
            // Nearest the saved corner: against the edges it went beyond.
            if (c.x > work.right) {
                EXPECT_EQ(outer.right, work.right);
            } else if (c.x < work.left) {
                EXPECT_EQ(outer.left, work.left);
            }
            if (c.y > work.bottom) {
                EXPECT_EQ(outer.bottom, work.bottom);
            } else if (c.y < work.top) {
                EXPECT_EQ(outer.top, work.top);
            }
        } else {
            EXPECT_EQ(outer.left, c.x);
            EXPECT_EQ(outer.top, c.y);
        }
        ASSERT_EQ(game_->Quit(), 0);
        // The file keeps where the window was when the player quit.
        EXPECT_EQ(folder_->IniInt("WinX"), outer.left);
        EXPECT_EQ(folder_->IniInt("WinY"), outer.top);
    }
}

}  // namespace

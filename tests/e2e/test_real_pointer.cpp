// The real X pointer, moved and pressed with xdotool, plays on the real
// tsweeper.exe: the mouse messages then come from the window system itself,
// with the button state it keeps, rather than from SendMessage.
//
// A fresh process always deals the worked game (tests/support/worked_game.h).
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "tests/e2e/screen_checks.h"

namespace {

using worked::Columns;
using worked::Rows;

std::wstring OnDriveZ(const std::string& unixPath)
{
    std::wstring path = L"Z:";
    for (char c : unixPath)
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

// Runs "/usr/bin/xdotool <arguments>" against the X server the game is shown
// on, and returns once it has finished. Wine starts Unix programs with
// "start /unix" but does not wait for them even with /wait, so the command
// runs from a small shell script that leaves a marker file when it is done.
bool XdoTool(const std::string& arguments)
{
    static int count = 0;
    char name[96];
    std::snprintf(name, sizeof name, "/tmp/tsweeper-xdo-%lu-%d",
                  static_cast<unsigned long>(GetCurrentProcessId()), ++count);
    const std::string script = std::string(name) + ".sh";
    const std::string marker = std::string(name) + ".done";
    FILE* file = _wfopen(OnDriveZ(script).c_str(), L"wb");
    if (!file)
        return false;
    std::fprintf(file, "#!/bin/sh\n/usr/bin/xdotool %s\ntouch %s\n", arguments.c_str(),
                 marker.c_str());
    std::fclose(file);

    const std::wstring command = L"start /unix /bin/sh " + OnDriveZ(script).substr(2);
    std::wstring unixCommand = command;
    for (wchar_t& c : unixCommand)
        if (c == L'\\')
            c = L'/';
    _wsystem(unixCommand.c_str());

    // Starting a Unix shell through Wine's start took over 5 s once on a
    // loaded machine; the wait ends as soon as the marker is there.
    const bool done =
        WaitUntil([&] { return GetFileAttributesW(OnDriveZ(marker).c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000);
    DeleteFileW(OnDriveZ(marker).c_str());
    DeleteFileW(OnDriveZ(script).c_str());
    return done;
}

class RealPointer : public WorkedGameTest {
protected:
    void TearDown() override { ParkPointer(); }

    // The square's centre in screen coordinates, where the X pointer goes.
    std::string At(int column, int row) const
    {
        POINT point = {SquareX(column), SquareY(row)};
        ClientToScreen(game_->window(), &point);
        return std::to_string(point.x) + " " + std::to_string(point.y);
    }

    ::testing::AssertionResult MoveTo(int column, int row) const
    {
        if (!XdoTool("mousemove " + At(column, row)))
            return ::testing::AssertionFailure() << "xdotool did not run";
        POINT point = {};
        GetCursorPos(&point);
        if (At(column, row) != std::to_string(point.x) + " " + std::to_string(point.y))
            return ::testing::AssertionFailure() << "the pointer did not reach square (" << column << ", " << row << ")";
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult Button(const char* action, int button) const
    {
        if (!XdoTool(std::string(action) + " " + std::to_string(button)))
            return ::testing::AssertionFailure() << "xdotool " << action << " did not run";
        return ::testing::AssertionSuccess();
    }
    // The pointer to (column, row), then both buttons pressed, `first` before the other.
    ::testing::AssertionResult PressBoth(int column, int row, int first) const
    {
        ::testing::AssertionResult moved = MoveTo(column, row);
        if (!moved)
            return moved;
        ::testing::AssertionResult pressed = Button("mousedown", first);
        return pressed ? Button("mousedown", first == 1 ? 3 : 1) : pressed;
    }
    ::testing::AssertionResult Click(int column, int row, int button) const
    {
        ::testing::AssertionResult moved = MoveTo(column, row);
        if (!moved)
            return moved;
        ::testing::AssertionResult pressed = Button("mousedown", button);
        return pressed ? Button("mouseup", button) : pressed;
    }

};

TEST_F(RealPointer, LeftButtonPressesDragsAndOpens)
{
    Screen expected = Fresh();
    ASSERT_TRUE(MoveTo(0, 0));
    ASSERT_TRUE(Button("mousedown", 1));
    EXPECT_TRUE(Shows(*game_, Fresh().Set(0, 0, 3))) << "left press on (0, 0)";
    ASSERT_TRUE(Button("mouseup", 1));
    expected.Set(0, 0, 4);
    EXPECT_TRUE(Shows(*game_, expected)) << "left release on (0, 0)";

    ASSERT_TRUE(Click(9, 0, 1));
    expected.Set(9, 0, 3).Set(8, 0, 4).Set(8, 1, 4).Set(9, 1, 3).Set(8, 2, 5).Set(9, 2, 4);
    EXPECT_TRUE(Shows(*game_, expected)) << "click on (9, 0)";

    // Pressed on (3, 3), dragged to (2, 3) and let go there.
    ASSERT_TRUE(MoveTo(3, 3));
    ASSERT_TRUE(Button("mousedown", 1));
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{3, 3}}))) << "left press on (3, 3)";
    ASSERT_TRUE(MoveTo(2, 3));
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{2, 3}}))) << "drag to (2, 3)";
    ASSERT_TRUE(Button("mouseup", 1));
    expected.Set(2, 3, 6);
    EXPECT_TRUE(Shows(*game_, expected)) << "left release on (2, 3)";
}

TEST_F(RealPointer, RightPressTogglesAFlag)
{
    ASSERT_TRUE(Click(0, 0, 1));
    Screen expected = Fresh();
    expected.Set(0, 0, 4);
    EXPECT_TRUE(Shows(*game_, expected)) << "open (0, 0)";

    ASSERT_TRUE(MoveTo(3, 3));
    ASSERT_TRUE(Button("mousedown", 3));
    expected.Set(3, 3, 1).Counter(9);
    EXPECT_TRUE(Shows(*game_, expected)) << "right press on (3, 3)";
    ASSERT_TRUE(Button("mouseup", 3));
    EXPECT_TRUE(StillShows(*game_, expected)) << "right release on (3, 3)";

    ASSERT_TRUE(Click(3, 3, 3));
    expected.Set(3, 3, 0).Counter(10);
    EXPECT_TRUE(Shows(*game_, expected)) << "second right click on (3, 3)";
}

TEST_F(RealPointer, BothButtonsChordOverAnOpenedSquare)
{
    ASSERT_TRUE(Click(0, 0, 1));
    ASSERT_TRUE(Click(1, 1, 3));
    Screen expected = Fresh();
    expected.Set(0, 0, 4).Set(1, 1, 1).Counter(9);
    EXPECT_TRUE(Shows(*game_, expected)) << "open (0, 0), flag the bomb (1, 1)";

    ASSERT_TRUE(PressBoth(0, 0, 1));
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{1, 0}, {0, 1}}))) << "both buttons on (0, 0)";
    ASSERT_TRUE(Button("mouseup", 1));
    expected.Set(1, 0, 4).Set(0, 1, 5);
    EXPECT_TRUE(Shows(*game_, expected)) << "left release: the chord";
    ASSERT_TRUE(Button("mouseup", 3));
    EXPECT_TRUE(StillShows(*game_, expected)) << "right release";

    // (0, 1) shows 2 with one flag around it: its neighbours show pressed,
    // then come back raised, and nothing opens.
    ASSERT_TRUE(PressBoth(0, 1, 3));
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{0, 2}, {1, 2}}))) << "both buttons on (0, 1)";
    ASSERT_TRUE(Button("mouseup", 3));
    EXPECT_TRUE(Shows(*game_, expected)) << "right release on (0, 1)";
    ASSERT_TRUE(Button("mouseup", 1));
    EXPECT_TRUE(StillShows(*game_, expected)) << "left release on (0, 1)";
}

}  // namespace

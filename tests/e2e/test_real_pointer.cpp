// The real X pointer, moved and pressed with xdotool, plays on the real
// tsweeper.exe: the mouse messages then come from the window system itself,
// with the button state it keeps, rather than from SendMessage.
//
// A fresh process always deals the same first game: on the default 10 x 5
// board with 10 bombs, a first open at (0, 0) puts bombs on (1, 1), (1, 2),
// (1, 4) and (2, 4) among others, so (0, 0) shows 1, (1, 0) shows 1, (0, 1)
// shows 2 and (2, 3) shows 3, and opening (9, 0) floods six squares.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "tests/e2e/driver.h"

namespace {

constexpr int Columns = 10;
constexpr int Rows = 5;

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

    bool done = false;
    for (int i = 0; i < 500 && !done; ++i) {
        done = GetFileAttributesW(OnDriveZ(marker).c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!done)
            Sleep(10);
    }
    DeleteFileW(OnDriveZ(marker).c_str());
    DeleteFileW(OnDriveZ(script).c_str());
    return done;
}

// The picture expected on the 10 x 5 board.
class Expected {
public:
    Expected() : screen_(UniformScreen(Columns, Rows, 0, 10)) {}
    Expected& Set(int column, int row, int tile)
    {
        screen_.squares[static_cast<size_t>(column) * Rows + row] = tile;
        return *this;
    }
    Expected& Counter(int value)
    {
        CounterTilesFor(value, screen_.counter);
        return *this;
    }
    const Screen& screen() const { return screen_; }

private:
    Screen screen_;
};

class RealPointer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ParkPointer();
        folder_ = std::make_unique<GameFolder>("real-pointer");
        game_ = std::make_unique<GameRun>(*folder_);
        ASSERT_TRUE(game_->started());
        ASSERT_EQ(game_->Columns(), Columns);
        ASSERT_EQ(game_->Rows(), Rows);
        Shows(Expected(), "fresh board");
    }

    void TearDown() override { ParkPointer(); }

    void Shows(const Expected& expected, const std::string& step) const
    {
        const Screen shown = game_->WaitForScreen(expected.screen());
        EXPECT_EQ(Describe(shown), Describe(expected.screen())) << "after: " << step;
    }

    // For steps that must change nothing on the screen.
    void StillShows(const Expected& expected, const std::string& step) const
    {
        Sleep(300);
        RedrawWindow(game_->window(), nullptr, nullptr, RDW_UPDATENOW);
        Sleep(300);
        EXPECT_EQ(Describe(game_->CurrentScreen()), Describe(expected.screen()))
            << "after: " << step;
    }

    // The square's centre in screen coordinates, where the X pointer goes.
    std::string At(int column, int row) const
    {
        POINT point = {SquareX(column), SquareY(row)};
        ClientToScreen(game_->window(), &point);
        return std::to_string(point.x) + " " + std::to_string(point.y);
    }

    void MoveTo(int column, int row) const
    {
        ASSERT_TRUE(XdoTool("mousemove " + At(column, row)));
        POINT point = {};
        GetCursorPos(&point);
        ASSERT_EQ(At(column, row), std::to_string(point.x) + " " + std::to_string(point.y))
            << "the pointer did not reach square (" << column << ", " << row << ")";
    }
    void Button(const char* action, int button) const
    {
        ASSERT_TRUE(XdoTool(std::string(action) + " " + std::to_string(button)));
    }
    void Click(int column, int row, int button) const
    {
        MoveTo(column, row);
        Button("mousedown", button);
        Button("mouseup", button);
    }

    std::unique_ptr<GameFolder> folder_;
    std::unique_ptr<GameRun> game_;
};

TEST_F(RealPointer, LeftButtonPressesDragsAndOpens)
{
    Expected expected;
    MoveTo(0, 0);
    Button("mousedown", 1);
    Shows(Expected().Set(0, 0, 3), "left press on (0, 0)");
    Button("mouseup", 1);
    expected.Set(0, 0, 4);
    Shows(expected, "left release on (0, 0)");

    Click(9, 0, 1);
    expected.Set(9, 0, 3).Set(8, 0, 4).Set(8, 1, 4).Set(9, 1, 3).Set(8, 2, 5).Set(9, 2, 4);
    Shows(expected, "click on (9, 0)");

    // Pressed on (3, 3), dragged to (2, 3) and let go there.
    MoveTo(3, 3);
    Button("mousedown", 1);
    Expected pressed = expected;
    Shows(pressed.Set(3, 3, 3), "left press on (3, 3)");
    MoveTo(2, 3);
    pressed = expected;
    Shows(pressed.Set(2, 3, 3), "drag to (2, 3)");
    Button("mouseup", 1);
    expected.Set(2, 3, 6);
    Shows(expected, "left release on (2, 3)");
}

TEST_F(RealPointer, RightPressTogglesAFlag)
{
    Click(0, 0, 1);
    Expected expected;
    expected.Set(0, 0, 4);
    Shows(expected, "open (0, 0)");

    MoveTo(3, 3);
    Button("mousedown", 3);
    expected.Set(3, 3, 1).Counter(9);
    Shows(expected, "right press on (3, 3)");
    Button("mouseup", 3);
    StillShows(expected, "right release on (3, 3)");

    Click(3, 3, 3);
    expected.Set(3, 3, 0).Counter(10);
    Shows(expected, "second right click on (3, 3)");
}

TEST_F(RealPointer, BothButtonsChordOverAnOpenedSquare)
{
    Click(0, 0, 1);
    Click(1, 1, 3);
    Expected expected;
    expected.Set(0, 0, 4).Set(1, 1, 1).Counter(9);
    Shows(expected, "open (0, 0), flag the bomb (1, 1)");

    MoveTo(0, 0);
    Button("mousedown", 1);
    Button("mousedown", 3);
    Expected pressed = expected;
    Shows(pressed.Set(1, 0, 3).Set(0, 1, 3), "both buttons on (0, 0)");
    Button("mouseup", 1);
    expected.Set(1, 0, 4).Set(0, 1, 5);
    Shows(expected, "left release: the chord");
    Button("mouseup", 3);
    StillShows(expected, "right release");

    // (0, 1) shows 2 with one flag around it: its neighbours show pressed,
    // then come back raised, and nothing opens.
    MoveTo(0, 1);
    Button("mousedown", 3);
    Button("mousedown", 1);
    pressed = expected;
    Shows(pressed.Set(0, 2, 3).Set(1, 2, 3), "both buttons on (0, 1)");
    Button("mouseup", 3);
    Shows(expected, "right release on (0, 1)");
    Button("mouseup", 1);
    StillShows(expected, "left release on (0, 1)");
}

}  // namespace

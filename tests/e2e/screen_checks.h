// Checks of what the real program shows, for the end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/support/worked_game.h"

// Waits for the game to show `expected`; a mismatch shows both pictures.
inline ::testing::AssertionResult Shows(const GameRun& game, const Screen& expected, int timeoutMs = 3000)
{
    const std::string shown = Describe(game.WaitForScreen(expected, timeoutMs));
    if (shown == Describe(expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the screen shows\n" << shown << "instead of\n" << Describe(expected);
}

// For steps that must change nothing: lets any pending repaint reach the
// screen first, then compares.
inline ::testing::AssertionResult StillShows(const GameRun& game, const Screen& expected)
{
    const std::string shown = Describe(game.SettledScreen());
    if (shown == Describe(expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the screen shows\n" << shown << "instead of\n" << Describe(expected);
}

// A test that plays one run of the program, in a fresh folder named after
// the test.
class GameTest : public ::testing::Test {
protected:
    // Writes `ini` as the settings file when given, starts the program and
    // waits for its first board.
    ::testing::AssertionResult Launch(const std::string& ini = std::string())
    {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/')
                c = '-';  // a parameterised test's name
        folder_ = std::make_unique<GameFolder>(name.c_str());
        if (!ini.empty())
            folder_->WriteIni(ini);
        game_ = std::make_unique<GameRun>(*folder_, -1, zoom_);
        if (!game_->started())
            return ::testing::AssertionFailure()
                   << "the program did not start (system error " << game_->startError() << ")";
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<GameFolder> folder_;
    std::unique_ptr<GameRun> game_;
    int zoom_ = 1;  // window pixels across a pixel of the game: more above 96 DPI
};

template <typename Param>
class GameTestWithParam : public GameTest, public ::testing::WithParamInterface<Param> {};

// A test that plays the worked game (tests/support/worked_game.h) on a fresh
// program with no settings file.
class WorkedGameTest : public GameTest {
protected:
    void SetUp() override
    {
        ParkPointer();
        ASSERT_TRUE(Launch());
        ASSERT_EQ(game_->Columns(), worked::Columns);
        ASSERT_EQ(game_->Rows(), worked::Rows);
        ASSERT_TRUE(Shows(*game_, Fresh())) << "fresh board";
    }

    // The fresh board of the worked game.
    static Screen Fresh() { return UniformScreen(worked::Columns, worked::Rows, TileCovered, worked::BombCount); }
};

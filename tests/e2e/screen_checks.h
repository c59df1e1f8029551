// Checks of what the real program shows, for the end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/driver.h"

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

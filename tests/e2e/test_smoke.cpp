// The program starts with a fresh board and ends with exit code 0.
#include <gtest/gtest.h>

#include "tests/e2e/screen_checks.h"

TEST(Smoke, FreshBoardThenQuit)
{
    GameFolder folder("smoke");
    GameRun game(folder);
    ASSERT_TRUE(game.started());
    EXPECT_TRUE(Shows(game, UniformScreen(10, 5, 0, 10)));
    EXPECT_EQ(game.Quit(), 0);
    EXPECT_EQ(folder.IniInt("X"), 10);
}

// What the four counter cells show for a value of the bomb counter.
#include <gtest/gtest.h>

#include <array>

#include "render/counter_digits.h"
#include "core/draw.h"
#include "tests/support/counter_cases.h"

TEST(CounterTiles, SignThenThreeDigitsWithLeadingZeros)
{
    for (const CounterCase& c : counterCases) {
        std::array<int, CounterCells> tiles;
        tiles.fill(-1);
        CounterTiles(c.value, tiles.data());
        EXPECT_EQ(tiles, (std::array<int, CounterCells>{c.tiles[0], c.tiles[1], c.tiles[2], c.tiles[3]}))
            << "counter " << c.value;
    }
}

TEST(IntPower, MultipliesOneByTheBaseExponentTimes)
{
    const struct {
        int base, exponent, expected;
    } cases[] = {
        {10, 0, 1}, {10, 1, 10}, {10, 2, 100}, {10, 3, 1000},
        {0, 0, 1},  {7, 0, 1},   {-5, 0, 1},   {0, 3, 0},
        {2, 10, 1024}, {-2, 3, -8}, {-2, 4, 16}, {1, 1000, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IntPower(c.base, c.exponent), c.expected) << c.base << "^" << c.exponent;
}

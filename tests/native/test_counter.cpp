// What the four counter cells show for a value of the bomb counter.
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "render/counter_digits.h"
#include "render/draw.h"

namespace {

struct CounterCase {
    int counter;
    std::array<int, CounterCells> tiles;  // sign, hundreds, tens, units
};

// Sign cell: 27 blank, 26 minus. Digits: 16 + digit.
const CounterCase counterCases[] = {
    {0, {27, 16, 16, 16}},
    {7, {27, 16, 16, 23}},
    {10, {27, 16, 17, 16}},
    {-3, {26, 16, 16, 19}},
    {999, {27, 25, 25, 25}},
    {-999, {26, 25, 25, 25}},
    {305, {27, 19, 16, 21}},
    {-1, {26, 16, 16, 17}},
    // Beyond three digits only the three lowest are shown.
    {1234, {27, 18, 19, 20}},
    {-1000, {26, 16, 16, 16}},
    {-1234, {26, 18, 19, 20}},
    // The magnitude of the most negative value still has defined digits.
    {INT_MIN, {26, 22, 20, 24}},  // 2147483648
    {INT_MAX, {27, 22, 20, 23}},  // 2147483647
};

}  // namespace

TEST(CounterTiles, SignThenThreeDigitsWithLeadingZeros)
{
    for (const CounterCase& c : counterCases) {
        std::array<int, CounterCells> tiles;
        tiles.fill(-1);
        CounterTiles(c.counter, tiles.data());
        EXPECT_EQ(tiles, c.tiles) << "counter " << c.counter;
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

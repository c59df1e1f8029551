#include "render/counter_digits.h"

#include "core/draw.h"

int IntPower(int base, int exponent)
{
    // Unsigned products wrap instead of overflowing; the counter only ever
    // asks for 10^0, 10^1 and 10^2.
    unsigned result = 1;
    for (unsigned i = 0; i < static_cast<unsigned>(exponent); ++i)
        result *= static_cast<unsigned>(base);
    return static_cast<int>(result);
}

void CounterTiles(int counter, int tiles[CounterCells])
{
    tiles[0] = counter < 0 ? TileCounterMinus : TileCounterBlank;
    // Unsigned negation keeps the magnitude defined for every int.
    const unsigned magnitude = counter < 0 ? 0u - static_cast<unsigned>(counter)
                                           : static_cast<unsigned>(counter);
    // Units at x = 48, tens at 32, hundreds at 16; anything above 999 shows
    // only its three lowest digits.
    for (int i = 0; i < 3; ++i) {
        const unsigned digit = magnitude / static_cast<unsigned>(IntPower(10, i)) % 10u;
        tiles[3 - i] = TileCounterZero + static_cast<int>(digit);
    }
}

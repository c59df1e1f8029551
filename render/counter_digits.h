// What the counter cells show for a value: platform-free so that the native
// tests reach it; the Windows drawing only copies the tiles it names.
#pragma once

constexpr int CounterCells = 4;  // sign, hundreds, tens, units

// 1 multiplied by base `exponent` times; the exponent counts unsigned.
int IntPower(int base, int exponent);

// Fills tiles[i] with the tile for the counter cell at x = 16 * i: the sign
// (blank or minus), then the three lowest decimal digits of the magnitude.
void CounterTiles(int counter, int tiles[CounterCells]);

// What the four counter cells show for a value of the bomb counter: the one
// table of the counter's digits, for the digit logic natively and for the
// drawing on the real GDI. Consecutive rows differ in their cells, so that
// a drawing of one row after the other also shows each cell replaced.
#pragma once

#include <climits>

struct CounterCase {
    int value;
    int tiles[4];  // sign, hundreds, tens, units
};

// Sign cell: 27 blank, 26 minus. Digits: 16 + digit.
constexpr CounterCase counterCases[] = {
    {0, {27, 16, 16, 16}},
    {10, {27, 16, 17, 16}},
    {-3, {26, 16, 16, 19}},
    // Beyond three digits only the three lowest are shown.
    {1234, {27, 18, 19, 20}},
    {-1000, {26, 16, 16, 16}},
    {7, {27, 16, 16, 23}},
    {-45, {26, 16, 20, 21}},
    {999, {27, 25, 25, 25}},
    {-999, {26, 25, 25, 25}},
    {1000, {27, 16, 16, 16}},
    {305, {27, 19, 16, 21}},
    {-1, {26, 16, 16, 17}},
    {-1234, {26, 18, 19, 20}},
    // The magnitude of the most negative value still has defined digits.
    {INT_MIN, {26, 22, 20, 24}},  // 2147483648
    {INT_MAX, {27, 22, 20, 23}},  // 2147483647
};

// The one way the tests write a tile of the board as a letter, in expected
// pictures and in failure reports alike:
//   '#' covered          'F' flag             '?' the unused tile 2
//   '_' flat: an opened square with no bomb around it, or the pressed look
//       of a covered one
//   '1'..'8' the numbers 'R' ringed flag      'X' crossed flag
//   '*' bomb             '@' exploded bomb    '!' anything else
// The counter is not written with these letters but as the value it reads.
#pragma once

constexpr char tileLetters[] = "#F?_12345678RX*@";

inline char TileLetter(int tile)
{
    return tile >= 0 && tile < 16 ? tileLetters[tile] : '!';
}

// The tile a letter stands for, or -1.
inline int TileOfLetter(char letter)
{
    for (int tile = 0; tile < 16; ++tile)
        if (tileLetters[tile] == letter)
            return tile;
    return -1;
}

// The one way the tests write a tile of the board as a letter, in expected
// pictures and in failure reports alike:
//   '#' covered          'F' flag             '?' the unused tile 2
//   '_' flat: an opened square with no bomb around it, or the pressed look
//       of a covered one
//   '1'..'8' the numbers 'R' ringed flag      'X' crossed flag
//   '*' bomb             '@' exploded bomb    '!' anything else
// The counter is not written with these letters but as the value it reads.
#pragma once

inline char TileLetter(int tile)
{
    static const char letters[] = "#F?_12345678RX*@";
    return tile >= 0 && tile < 16 ? letters[tile] : '!';
}

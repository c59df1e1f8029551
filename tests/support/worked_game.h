// The first game of a fresh run on the default 10 x 5 board with 10 bombs,
// opened first at (0, 0): the game most scenario tests play, natively and on
// the real program alike.
//
//   column 0123456789        the board at the win
//   row 0  ....BB....        1111RR211_
//   row 1  .B.....B..        2R21333R1_
//   row 2  .B...B....        2R2_1R2221
//   row 3  ........B.        23311111R2
//   row 4  .BB......B        1RR1___12R
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

namespace worked {

constexpr int Columns = 10;
constexpr int Rows = 5;
constexpr int BombCount = 10;

using Square = std::pair<int, int>;  // (column, row)

// The bombs in the order they are laid.
constexpr Square bombs[BombCount] = {{1, 2}, {4, 0}, {9, 4}, {8, 3}, {2, 4},
                                     {5, 0}, {1, 1}, {5, 2}, {7, 1}, {1, 4}};

// The picture of the win, in the letters of tests/support/tile_letters.h.
constexpr const char* wonPicture[Rows] = {
    "1111RR211_",
    "2R21333R1_",
    "2R2_1R2221",
    "23311111R2",
    "1RR1___12R",
};

inline bool IsBomb(int column, int row)
{
    for (const Square& bomb : bombs)
        if (bomb.first == column && bomb.second == row)
            return true;
    return false;
}

// The tile of the square opened: 3 + the bombs around it.
inline int NumberTile(int column, int row)
{
    int count = 0;
    for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
            count += (dc != 0 || dr != 0) && IsBomb(column + dc, row + dr);
    return 3 + count;
}

// A square and the letter it shows.
struct Shown {
    int column, row;
    char letter;
};

// The picture right after the first open, (0, 0) showing 1 and the rest
// covered, with the given squares changed: one row per line, each ending in
// a newline, as the native tests' ScreenPicture gives it.
inline std::string FirstOpenPictureWith(std::initializer_list<Shown> changes = {})
{
    std::string picture;
    for (int row = 0; row < Rows; ++row)
        picture += std::string(Columns, '#') + '\n';
    picture[0] = '1';
    for (const Shown& change : changes)
        picture[static_cast<size_t>(change.row * (Columns + 1) + change.column)] = change.letter;
    return picture;
}

}  // namespace worked

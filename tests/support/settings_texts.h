// Settings texts before and after a save, and settings dialog fields with
// what they read as: the native tests check the bytes, the Windows tests
// hand the same texts to the real profile function and edit control.
#pragma once

#include <string>
#include <vector>

#include "core/settings.h"
#include "core/settings_text.h"

// What a save writes, in this order, into section SettingsSection.
const ProfileInt SavedValues[] = {
    {WindowXKey, 10}, {WindowYKey, -20}, {ColumnsKey, 12}, {RowsKey, 7}, {BombsKey, 16}};

struct SavedText {
    const char* name;
    std::string before;
    std::string after;  // as Windows keeps it: every line not written to stays byte for byte
};

inline std::vector<SavedText> SavedTexts()
{
    const std::string xy = "WinX=10\r\nWinY=-20\r\n", all = xy + "X=12\r\nY=7\r\nBom=16\r\n";
    const std::string tiles = "[File Name]\r\nPanelBMP=C:\\tiles.bmp\r\n";
    return {
        {"empty", "", "[Set]\r\n" + all},
        {"a comment and the tile file", "; mine\r\n" + tiles, "; mine\r\n" + tiles + "[Set]\r\n" + all},
        {"comments, other keys and blanks", "[Set]\r\n; board\r\nX = 20 ; wide\r\nSound=on\r\n  bom\t=  30\r\n",
         "[Set]\r\n; board\r\nX =12\r\nSound=on\r\n  bom\t=16\r\n" + xy + "Y=7\r\n"},
        {"line feeds only", "[Set]\nX=20\nY=9\n", "[Set]\nX=12\nY=7\n" + xy + "Bom=16\r\n"},
        {"carriage returns only", "[Set]\rX=20\rY=9\r", "[Set]\rX=12\rY=7\rWinX=10\rWinY=-20\rBom=16\r"},
        {"two sections of the name", "[Set]\r\nX=20\r\n[Other]\r\nA=1\r\n[set]\r\nY=9\r\n",
         "[Set]\r\nX=12\r\n" + xy + "Y=7\r\nBom=16\r\n[Other]\r\nA=1\r\n[set]\r\nY=9\r\n"},
        {"no final line end", "[Set]\r\nX=20", "[Set]\r\nX=12\r\n" + xy + "Y=7\r\nBom=16\r\n"},
        {"no final line end, no section", "[Other]\r\nA=1", "[Other]\r\nA=1\r\n[Set]\r\n" + all},
        {"blank lines before the next section", "[Set]\r\nX=20\r\n\r\n  \r\n" + tiles,
         "[Set]\r\nX=12\r\n" + xy + "Y=7\r\nBom=16\r\n\r\n  \r\n" + tiles},
        {"a section without keys", "[Set]\r\n\r\n" + tiles, "[Set]\r\n" + all + "\r\n" + tiles},
        {"keys without values", "[Set]\r\nX\r\nY=\r\nBom =\r\n", "[Set]\r\nX=12\r\nY=7\r\nBom =16\r\n" + xy},
        {"keys before any section", "X=20\r\n[Set]\r\nBom=30\r\n",
         "X=20\r\n[Set]\r\nBom=16\r\n" + xy + "X=12\r\nY=7\r\n"},
        {"blanks in the brackets", "[ Set ]\r\nX=20\r\n", "[ Set ]\r\nX=12\r\n" + xy + "Y=7\r\nBom=16\r\n"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[Set]\r\nY=9\r\n",
         "\xEF\xBB\xBF[Set]\r\nY=7\r\n" + xy + "X=12\r\nBom=16\r\n"},
        {"an unclosed bracket in the section", "[Set]\r\nX=20\r\n[x\r\nY=9\r\n",
         "[Set]\r\nX=12\r\n[x\r\nY=7\r\n" + xy + "Bom=16\r\n"},
    };
}

struct FieldText {
    const char* text;
    int value;  // GetDlgItemInt(dialog, id, NULL, FALSE), as a signed number
};

const FieldText FieldTexts[] = {
    {"12", 12}, {"", 0}, {" ", 0}, {"  \t 15", 15}, {"+12", 12}, {"-5", -5}, {"-0", 0}, {"1a2", 1}, {"12a", 12},
    {"1 2", 1}, {"12 ", 12}, {"0x10", 0}, {"  +  7", 0}, {"+-3", 0}, {"a12", 0}, {"4294967295", -1},
    {"4294967296", 0}, {"99999999999", 0}, {"-4294967295", 1}, {"0000000000000000000000000000012", 0},
    {"00000000000000000000000000012", 12}, {"                           12", 12}, {"                            12", 1},
};

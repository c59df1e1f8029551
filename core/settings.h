// The five settings values: their names in the settings file, their
// defaults, their ranges and corrections, and the settings dialog's checks.
// Platform-free so that every front end reads, corrects, checks and writes
// them the same way; where they are stored is the front end's business.
#pragma once

#include <cstddef>

#include "core/board.h"

// The settings file beside the program, its section and its keys.
constexpr char SettingsFileName[] = "tsweeper.ini";
constexpr char SettingsSection[] = "Set";
constexpr char WindowXKey[] = "WinX";
constexpr char WindowYKey[] = "WinY";
constexpr char ColumnsKey[] = "X";
constexpr char RowsKey[] = "Y";
constexpr char BombsKey[] = "Bom";
// How many values ReadSettings reads and WriteSettings writes: the five keys
// above.
constexpr int SettingsKeyCount = 5;
// Section and key of the replacement tile strip: read, never written.
constexpr char TileFileSection[] = "File Name";
constexpr char TileFileKey[] = "PanelBMP";

// Board limits; the largest board is MaxColumns x MaxRows (board.h).
constexpr int MinColumns = 10;
constexpr int MinRows = 5;
constexpr int MinBombs = 5;
// A board always keeps this many squares free of bombs.
constexpr int BombFreeSquares = 5;

// What a missing value gives: these for the window's corner, DefaultColumns,
// DefaultRows and DefaultBombs (board.h) for the board.
constexpr int DefaultWindowX = 10;
constexpr int DefaultWindowY = 10;

// The most bombs a board of the given size takes.
int MaxBombs(int boardColumns, int boardRows);

// A stored value as the game takes it: one out of range is replaced, the
// size by its default, the bomb count by the least (within every board).
int CorrectColumns(int value);
int CorrectRows(int value);
int CorrectBombs(int value, int boardColumns, int boardRows);

// Reads the five values in the file's order through `readInt` (key and the
// value to give when the key is missing), correcting the board size and the
// bomb count into columns, rows and bombCount. The window position is kept
// as read.
void ReadSettings(int (*readInt)(const char* key, int fallback), int* windowX, int* windowY);

// Writes the five values, in the file's order, through `writeInt`.
void WriteSettings(void (*writeInt)(const char* key, int value), int windowX, int windowY);

// The settings dialog's checks, made in this order; only the first refused
// field is reported.
enum SettingsField {
    FieldNone = 0,
    FieldColumns,
    FieldRows,
    FieldBombs,
};

// The first field of (newColumns, newRows, newBombs) out of its range, with
// that range in *low and *high; FieldNone when all three pass. The bomb
// limit follows the size typed, not the board in play.
SettingsField FirstRefusedField(int newColumns, int newRows, int newBombs, int* low, int* high);

// A field's text (`length` bytes of UTF-8) read as the exe reads its
// dialog's fields: an unsigned decimal number, taken as signed 32 bits; 0
// when no digit follows the blanks and the sign, or when it is too large.
int ReadFieldNumber(const char* text, size_t length);

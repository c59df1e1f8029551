#include "core/settings.h"

#include "core/number_reading.h"

#include <cstdint>

namespace {

int InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

// The platform reads a field into a buffer of 30 characters: the first 29
// count. Counting bytes cuts the same number: only ASCII blanks, signs and
// digits make one, and any other character ends it.
constexpr size_t FieldBufferSize = 30;

int IsFieldBlank(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// A dialog field holds a decimal number; one too large for 32 bits reads 0.
constexpr NumberStyle FieldNumber = {IsFieldBlank, 0, 1};

}  // namespace

int MaxBombs(int boardColumns, int boardRows)
{
    return boardColumns * boardRows - BombFreeSquares;
}

int CorrectColumns(int value)
{
    return InRange(value, MinColumns, MaxColumns) ? value : DefaultColumns;
}

int CorrectRows(int value)
{
    return InRange(value, MinRows, MaxRows) ? value : DefaultRows;
}

int CorrectBombs(int value, int boardColumns, int boardRows)
{
    return InRange(value, MinBombs, MaxBombs(boardColumns, boardRows)) ? value : MinBombs;
}

void ReadSettings(int (*readInt)(const char* key, int fallback), int* windowX, int* windowY)
{
    *windowX = readInt(WindowXKey, DefaultWindowX);
    *windowY = readInt(WindowYKey, DefaultWindowY);
    columns = CorrectColumns(readInt(ColumnsKey, DefaultColumns));
    rows = CorrectRows(readInt(RowsKey, DefaultRows));
    // The bomb limit follows the size as corrected above.
    bombCount = CorrectBombs(readInt(BombsKey, DefaultBombs), columns, rows);
}

void WriteSettings(void (*writeInt)(const char* key, int value), int windowX, int windowY)
{
    writeInt(WindowXKey, windowX);
    writeInt(WindowYKey, windowY);
    writeInt(ColumnsKey, columns);
    writeInt(RowsKey, rows);
    writeInt(BombsKey, bombCount);
}

SettingsField FirstRefusedField(int newColumns, int newRows, int newBombs, int* low, int* high)
{
    *low = MinColumns;
    *high = MaxColumns;
    if (!InRange(newColumns, *low, *high))
        return FieldColumns;
    *low = MinRows;
    *high = MaxRows;
    if (!InRange(newRows, *low, *high))
        return FieldRows;
    *low = MinBombs;
    *high = MaxBombs(newColumns, newRows);
    if (!InRange(newBombs, *low, *high))
        return FieldBombs;
    return FieldNone;
}

int ReadFieldNumber(const char* text, size_t length)
{
    const size_t count = length < FieldBufferSize - 1 ? length : FieldBufferSize - 1;
    return ReadNumber(reinterpret_cast<const unsigned char*>(text), count, FieldNumber);
}

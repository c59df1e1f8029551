// The page's settings: a settings-file text kept by the script, read once
// with the exe's reading and corrections, and written back whole.
#include <cstddef>
#include <cstdint>

#include "core/board.h"
#include "core/settings.h"
#include "web/wasm/page_export.h"
#include "web/wasm/profile_text.h"

namespace {

// Kept as read, like the exe's window position; a page has no window to move.
int windowX = DefaultWindowX;
int windowY = DefaultWindowY;

// The range of the last field the dialog refused: low, high.
int32_t refusedRange[2];

const char* settingsText;
size_t settingsLength;

int ReadFromText(const char* key, int fallback)
{
    return ProfileTextInt(settingsText, settingsLength, SettingsSection, key, fallback);
}

// Room for "[Set]" and five lines of a key and a signed 32-bit number.
constexpr int OutCapacity = 128;
char outText[OutCapacity];
int outLength;

void Append(const char* text)
{
    while (*text && outLength < OutCapacity)
        outText[outLength++] = *text++;
}

// "%d": signed decimal without leading zeros or blanks.
void AppendNumber(int value)
{
    char digits[12];
    int count = 0;
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        Append("-");
    while (count > 0) {
        const char digit[2] = {digits[--count], 0};
        Append(digit);
    }
}

void WriteLine(const char* key, int value)
{
    Append(key);
    Append("=");
    AppendNumber(value);
    Append("\r\n");
}

}  // namespace

// Reads the settings from the `length` bytes at `text` (none: defaults).
PAGE_EXPORT(LoadSettingsText) void LoadSettingsText(const char* text, size_t length)
{
    settingsText = text;
    settingsLength = length;
    ReadSettings(ReadFromText, &windowX, &windowY);
    settingsText = nullptr;
    settingsLength = 0;
}

// Writes the whole settings text; its length. The text is at SettingsOut.
PAGE_EXPORT(SaveSettingsText) int SaveSettingsText()
{
    outLength = 0;
    Append("[");
    Append(SettingsSection);
    Append("]\r\n");
    WriteSettings(WriteLine, windowX, windowY);
    return outLength;
}

PAGE_EXPORT(SettingsOut) const char* SettingsOut()
{
    return outText;
}

// The settings dialog's OK: the three numbers as read from its fields. 0
// when they pass and are stored; else the refused field (1 width, 2 height,
// 3 bombs) with its range at RefusedRange.

PAGE_EXPORT(AcceptSettings) int AcceptSettings(int newColumns, int newRows, int newBombs)
{
    const SettingsField field =
        FirstRefusedField(newColumns, newRows, newBombs, &refusedRange[0], &refusedRange[1]);
    if (field != FieldNone)
        return field;
    columns = newColumns;
    rows = newRows;
    bombCount = newBombs;
    return FieldNone;
}

PAGE_EXPORT(RefusedRange) int32_t* RefusedRange()
{
    return refusedRange;
}

// The key under which the page keeps its settings text: the file's name.
PAGE_EXPORT(SettingsKey) const char* SettingsKey()
{
    return SettingsFileName;
}

// The page's settings: a settings-file text kept by the script, read with
// the exe's reading and corrections, and saved by writing the five values
// into the text as it is stored, as the exe's profile function writes them
// into its file.
#include <cstddef>
#include <cstdint>

#include "core/board.h"
#include "core/settings.h"
#include "core/settings_text.h"
#include "resources/dialog_fields.h"
#include "resources/resource.h"
#include "web/wasm/page_export.h"

namespace {

// Kept as read, like the exe's window position; a page has no window to move.
int windowX = DefaultWindowX;
int windowY = DefaultWindowY;

// The range of the last field the dialog refused: low, high.
int32_t refusedRange[2];
// The name of the text that refuses the last refused field, "" after a pass.
const char* refusalText = "";

// ReadSettings asks for one key at a time, but the text is read for all of
// them in one pass: a text of millions of short lines is gone through once,
// not once per key. So ReadSettings runs twice: first to learn its keys and
// their fallbacks, then to take what the text gives them, in the same order.
ProfileInt asked[SettingsKeyCount];
int askedCount;
int answered;

int Ask(const char* key, int fallback)
{
    if (askedCount < SettingsKeyCount)
        asked[askedCount++] = ProfileInt{key, fallback};
    return fallback;
}

int Answer(const char*, int fallback)
{
    return answered < askedCount ? asked[answered++].value : fallback;
}

// The values in the file's order as WriteSettings hands them over.
ProfileInt collected[SettingsKeyCount];
int collectedCount;

void Collect(const char* key, int value)
{
    if (collectedCount < SettingsKeyCount)
        collected[collectedCount++] = ProfileInt{key, value};
}

void CollectValues()
{
    collectedCount = 0;
    WriteSettings(Collect, windowX, windowY);
}

// The values as this page last read them from the stored text or wrote
// them into it. Another tab may have saved since: then only the values
// changed here are written, and the other tab's stay.
ProfileInt synchronised[SettingsKeyCount];

void Synchronise()
{
    for (int i = 0; i < collectedCount; ++i)
        synchronised[i] = collected[i];
}

}  // namespace

// Reads the settings from the `length` bytes at `text` (none: defaults).
PAGE_EXPORT(LoadSettingsText) void LoadSettingsText(const char* text, size_t length)
{
    askedCount = 0;
    ReadSettings(Ask, &windowX, &windowY);
    ProfileTextInts(text, length, SettingsSection, asked, askedCount);
    answered = 0;
    ReadSettings(Answer, &windowX, &windowY);
    CollectValues();
    Synchronise();
}

// Writes the values into the `length` bytes of the stored text at `text`,
// all five, or with `onlyChanged` those changed since they were last
// synchronised; the result at `out`. Its length, or a negative number when
// it does not fit in `capacity` bytes.
PAGE_EXPORT(SaveSettingsText)
int SaveSettingsText(const char* text, size_t length, int onlyChanged, char* out, size_t capacity)
{
    CollectValues();
    ProfileInt written[SettingsKeyCount];
    int count = 0;
    for (int i = 0; i < collectedCount; ++i) {
        if (!onlyChanged || collected[i].value != synchronised[i].value)
            written[count++] = collected[i];
    }
    const int result = WriteProfileTextInts(text, length, SettingsSection, written, count, out, capacity);
    // The values not written are the same as those last synchronised.
    if (result >= 0)
        Synchronise();
    return result;
}

// The most a save adds to the stored text's length.
PAGE_EXPORT(SettingsTextGrowth) int SettingsTextGrowth()
{
    CollectValues();
    return static_cast<int>(ProfileTextGrowth(SettingsSection, collected, collectedCount));
}

// A field of the settings dialog, its `length` bytes of UTF-8 at `text`,
// read as the exe reads it.
PAGE_EXPORT(ReadFieldNumber) int PageReadFieldNumber(const char* text, size_t length)
{
    return ReadFieldNumber(text, length);
}

// The settings dialog's OK: the three numbers as read from its fields. 0
// when they pass and are stored; else the dialog ID of the first field
// refused, with its range at RefusedRange and the name of its text at
// RefusalText, as the exe's dialog refuses it.
PAGE_EXPORT(AcceptSettings) int AcceptSettings(int newColumns, int newRows, int newBombs)
{
    const SettingsField refused = FirstRefusedField(newColumns, newRows, newBombs, &refusedRange[0], &refusedRange[1]);
    refusalText = "";
#define REFUSAL_OF(value, control, text) \
    if (refused == (value)) {           \
        refusalText = #text;            \
        return control;                 \
    }
    SETTINGS_DIALOG_FIELDS(REFUSAL_OF)
#undef REFUSAL_OF
    columns = newColumns;
    rows = newRows;
    bombCount = newBombs;
    return 0;
}

PAGE_EXPORT(RefusalText) const char* RefusalText()
{
    return refusalText;
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

// A save into the settings text, byte for byte and read back; the settings
// dialog's fields as the exe reads them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/settings_texts.h"

TEST(WriteProfileTextInts, KeepsEveryLineItDoesNotWriteAndReadsBack)
{
    const int count = SettingsKeyCount;
    for (const SavedText& c : SavedTexts()) {
        SCOPED_TRACE(c.name);
        std::string out(c.before.size() + ProfileTextGrowth(SettingsSection, SavedValues, count), '\0');
        const auto write = [&](size_t capacity) {
            return WriteProfileTextInts(c.before.data(), c.before.size(), SettingsSection, SavedValues, count,
                                        &out[0], capacity);
        };
        EXPECT_EQ(write(c.after.size() - 1), -1);
        out.resize(static_cast<size_t>(write(out.size())));
        EXPECT_EQ(out, c.after);
        ProfileInt read[] = {{WindowXKey, 0}, {WindowYKey, 0}, {ColumnsKey, 0}, {RowsKey, 0}, {BombsKey, 0}};
        ProfileTextInts(out.data(), out.size(), SettingsSection, read, count);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(read[i].value, SavedValues[i].value) << read[i].key;
    }
}

TEST(ReadFieldNumber, ReadsAsTheDialogReadsItsFields)
{
    for (const FieldText& c : FieldTexts)
        EXPECT_EQ(ReadFieldNumber(c.text, std::strlen(c.text)), c.value) << '"' << c.text << '"';
    // With a Japanese code page full-width digits are not digits.
    EXPECT_EQ(ReadFieldNumber("\xEF\xBC\x91\xEF\xBC\x92", 6), 0);
    EXPECT_EQ(ReadFieldNumber("3\xEF\xBC\x92", 4), 3);
}

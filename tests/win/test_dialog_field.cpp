// The settings dialog's reading of a field against the real GetDlgItemInt:
// each text of the table is put into an edit control of the dialog's kind
// and read as the exe's dialog reads it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "core/settings.h"
#include "tests/support/settings_texts.h"

TEST(DialogField, ReadsAsGetDlgItemInt)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const HWND dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, instance, nullptr);
    const int id = 2000;
    const HWND field = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL, 0, 0, 80, 20,
                                       dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    ASSERT_NE(field, nullptr);
    for (const FieldText& c : FieldTexts) {
        SetWindowTextA(field, c.text);
        const int real = static_cast<int>(GetDlgItemInt(dialog, id, nullptr, FALSE));
        EXPECT_EQ(ReadFieldNumber(c.text, std::strlen(c.text)), real) << '"' << c.text << '"';
    }
    DestroyWindow(dialog);
}

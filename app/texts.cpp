#include "app/texts.h"

// The texts themselves are generated from resources/texts.txt.

namespace {

constexpr UINT ShiftJisCodePage = 932;

void ToWide(const char* text, WCHAR* wide, int capacity)
{
    if (MultiByteToWideChar(ShiftJisCodePage, 0, text, -1, wide, capacity) == 0)
        wide[0] = 0;
}

}  // namespace

int ShowShiftJisMessage(HWND owner, const char* text, const char* caption, UINT type)
{
    WCHAR wideText[512];
    WCHAR wideCaption[64];
    ToWide(text, wideText, 512);
    ToWide(caption, wideCaption, 64);
    return MessageBoxW(owner, wideText, wideCaption, type);
}

#include "app/texts.h"

// ヴァージョン情報
const char VersionCaption[] = "\x83\x94\x83@\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1";
// Tolu Sweeper バージョン 1.0
// Copyright (C) 2026 Tolu Sweeper 開発チーム
const char VersionText[] = "Tolu Sweeper \x83o\x81[\x83W\x83\x87\x83\x93 1.0\r\n"
                           "Copyright (C) 2026 Tolu Sweeper \x8aJ\x94\xad\x83`\x81[\x83\x80";
const char ErrorCaption[] = "Error";
// X : %d から %d を選択してください。
const char ColumnsRangeFormat[] =
    "X : %d \x82\xa9\x82\xe7 %d \x82\xf0\x91I\x91\xf0\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81" "B";
// Y : %d から %d を選択してください。
const char RowsRangeFormat[] =
    "Y : %d \x82\xa9\x82\xe7 %d \x82\xf0\x91I\x91\xf0\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81" "B";
// Bom : %d から %d を選択してください。
const char BombsRangeFormat[] =
    "Bom : %d \x82\xa9\x82\xe7 %d \x82\xf0\x91I\x91\xf0\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81" "B";

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

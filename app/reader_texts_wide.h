// What a screen reader hears of the board, as the exe holds it: UTF-16, for
// its accessible object (generated from resources/texts.txt).
#pragma once

#include "reader_texts.h"

extern const wchar_t* const ReaderTexts[ReaderTextCount];

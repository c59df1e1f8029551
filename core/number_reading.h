// The one reading of a number in text, for the settings dialog's fields and
// the settings file's values: blanks, an optional sign, then digits read as
// an unsigned 32-bit number up to the first character that is not one,
// which a minus sign negates, as the platform's own readings do. The two
// differ only in what the style says.
#pragma once

#include <cstddef>

struct NumberStyle {
    int (*isBlank)(unsigned char c);  // what is skipped before the sign
    int basePrefixes;                 // 0x, 0o and 0b choose base 16, 8 and 2
    int zeroBeyond32Bits;             // a number too large reads 0; else it wraps
};

int ReadNumber(const unsigned char* chars, size_t count, const NumberStyle& style);

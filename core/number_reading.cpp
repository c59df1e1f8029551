#include "core/number_reading.h"

#include <cstdint>

namespace {

unsigned DigitValue(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10u;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10u;
    return 99;
}

}  // namespace

int ReadNumber(const unsigned char* chars, size_t count, const NumberStyle& style)
{
    size_t i = 0;
    while (i < count && style.isBlank(chars[i]))
        ++i;
    int negative = 0;
    if (i < count && (chars[i] == '+' || chars[i] == '-'))
        negative = chars[i++] == '-';
    unsigned base = 10;
    if (style.basePrefixes && i + 1 < count && chars[i] == '0') {
        const unsigned char prefix = chars[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10)
            i += 2;
    }
    uint32_t total = 0;
    for (; i < count; ++i) {
        const unsigned digit = DigitValue(chars[i]);
        if (digit >= base)
            break;
        if (style.zeroBeyond32Bits && total > (0xFFFFFFFFu - digit) / base)
            return 0;
        total = total * base + digit;
    }
    return static_cast<int>(negative ? 0u - total : total);
}

#include "web/wasm/profile_text.h"

#include <cstdint>

// How the platform goes about it, measured under Wine and mirrored here:
// - lines end at '\n' (at '\r' only in a text without any '\n'); blanks and
//   Ctrl-Z are trimmed from both ends of every line;
// - "[name]" opens a section: the name runs to the last ']' of the line,
//   without its blanks; a line starting with '[' but without ']' is an
//   ordinary line;
// - "key=value": the key is trimmed, the value loses its leading blanks; a
//   line without '=' is a key without a value;
// - only the first section of the name is searched, and its first line of
//   the key counts; names and values end at a NUL character;
// - the value is copied into a buffer of 30 characters (29 and the end),
//   losing a pair of enclosing quotes; an empty copy gives the fallback;
// - the number: leading characters up to the blank skipped, one sign, a
//   prefix 0x, 0o or 0b (lower case) for base 16, 8 or 2, then the digits
//   of that base as far as they go, wrapping modulo 2^32.

namespace {

// The text as a sequence of characters, after its byte-order mark: one byte
// each, or two for UTF-16. A character outside ASCII never matches a name,
// a blank or a digit here.
struct CharText {
    const unsigned char* bytes;
    size_t count;
    int wide;       // 2 bytes per character
    int bigEndian;  // of a wide text
};

CharText Characters(const char* text, size_t length)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return CharText{bytes + 2, (length - 2) / 2, 1, 0};
    if (length >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return CharText{bytes + 2, (length - 2) / 2, 1, 1};
    if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return CharText{bytes + 3, length - 3, 0, 0};
    return CharText{bytes, length, 0, 0};
}

unsigned At(const CharText& text, size_t i)
{
    if (!text.wide)
        return text.bytes[i];
    const unsigned first = text.bytes[2 * i];
    const unsigned second = text.bytes[2 * i + 1];
    return text.bigEndian ? (first << 8 | second) : (second << 8 | first);
}

int IsBlank(unsigned c)
{
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A;
}

unsigned Lower(unsigned c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// A range of characters [begin, end).
struct Span {
    size_t begin;
    size_t end;
};

Span Trimmed(const CharText& text, Span span)
{
    while (span.begin < span.end && IsBlank(At(text, span.begin)))
        ++span.begin;
    while (span.end > span.begin && IsBlank(At(text, span.end - 1)))
        --span.end;
    return span;
}

// Names and values are kept as C strings: they end at a NUL character.
Span UpToNul(const CharText& text, Span span)
{
    for (size_t i = span.begin; i < span.end; ++i) {
        if (At(text, i) == 0)
            return Span{span.begin, i};
    }
    return span;
}

int SameName(const CharText& text, Span span, const char* name)
{
    span = UpToNul(text, span);
    size_t i = span.begin;
    for (; *name; ++name, ++i) {
        if (i == span.end || Lower(At(text, i)) != Lower(static_cast<unsigned char>(*name)))
            return 0;
    }
    return i == span.end;
}

size_t Find(const CharText& text, size_t from, unsigned c)
{
    for (size_t i = from; i < text.count; ++i) {
        if (At(text, i) == c)
            return i;
    }
    return text.count;
}

// Where the value of key in section lies; 0 when there is no value.
int FindValue(const CharText& text, const char* section, const char* key, Span* value)
{
    // Lines end at '\n'; the platform falls back on '\r' only where no '\n'
    // follows any more.
    int inSection = 0;
    size_t next = 0;
    while (next < text.count) {
        size_t end = Find(text, next, '\n');
        if (end == text.count)
            end = Find(text, next, '\r');
        const size_t start = next;
        next = end < text.count ? end + 1 : end;
        const Span line = Trimmed(text, Span{start, next});
        if (line.begin == line.end)
            continue;
        if (At(text, line.begin) == '[') {
            size_t close = line.end - 1;
            while (close > line.begin && At(text, close) != ']')
                --close;
            if (close > line.begin) {
                // Past the first section of that name: the key is not there.
                if (inSection)
                    return 0;
                inSection = SameName(text, Trimmed(text, Span{line.begin + 1, close}), section);
                continue;
            }
        }
        if (!inSection)
            continue;
        size_t equals = line.begin;
        while (equals < line.end && At(text, equals) != '=')
            ++equals;
        if (!SameName(text, Trimmed(text, Span{line.begin, equals}), key))
            continue;
        if (equals == line.end)
            return 0;  // the key without a value reads as missing
        *value = UpToNul(text, Trimmed(text, Span{equals + 1, line.end}));
        return 1;
    }
    return 0;
}

constexpr size_t ValueBufferSize = 30;

// The value as the platform's buffer receives it, enclosing quotes taken
// off; the number of characters copied.
size_t CopyValue(const CharText& text, Span value, unsigned buffer[ValueBufferSize])
{
    size_t length = value.end - value.begin;
    int quoted = 0;
    if (length >= 2) {
        const unsigned first = At(text, value.begin);
        if ((first == '"' || first == '\'') && At(text, value.end - 1) == first) {
            quoted = 1;
            ++value.begin;
            --length;
        }
    }
    size_t copied = length < ValueBufferSize - 1 ? length : ValueBufferSize - 1;
    for (size_t i = 0; i < copied; ++i)
        buffer[i] = At(text, value.begin + i);
    // The closing quote goes when the value (without the opening one) fits
    // the buffer's size, terminator counted: then the copy's last character
    // is dropped, which is the quote, or a digit when it fitted only just.
    if (quoted && ValueBufferSize >= length && copied > 0)
        --copied;
    return copied;
}

int DigitValue(unsigned c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'z')
        return static_cast<int>(c - 'a') + 10;
    if (c >= 'A' && c <= 'Z')
        return static_cast<int>(c - 'A') + 10;
    return 99;
}

int ParseNumber(const unsigned* chars, size_t count)
{
    size_t i = 0;
    while (i < count && chars[i] <= ' ')
        ++i;
    int negative = 0;
    if (i < count && (chars[i] == '+' || chars[i] == '-'))
        negative = chars[i++] == '-';
    unsigned base = 10;
    if (i + 1 < count && chars[i] == '0') {
        const unsigned prefix = chars[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10)
            i += 2;
    }
    uint32_t total = 0;
    for (; i < count; ++i) {
        const int digit = DigitValue(chars[i]);
        if (digit >= static_cast<int>(base))
            break;
        total = total * base + static_cast<uint32_t>(digit);
    }
    return static_cast<int>(negative ? 0u - total : total);
}

}  // namespace

int ProfileTextInt(const char* text, size_t length, const char* section, const char* key,
                   int fallback)
{
    const CharText chars = Characters(text, length);
    Span value{0, 0};
    if (!FindValue(chars, section, key, &value))
        return fallback;
    unsigned buffer[ValueBufferSize];
    const size_t copied = CopyValue(chars, value, buffer);
    if (copied == 0)
        return fallback;
    return ParseNumber(buffer, copied);
}

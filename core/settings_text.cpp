#include "core/settings_text.h"

#include "core/number_reading.h"

#include <cstdint>

// How the profile functions take a file, measured under Wine and kept here:
// - lines end at '\n'; past the text's last '\n' they end at '\r' (so a text
//   with old Mac line ends is read line by line too). Blanks and Ctrl-Z are
//   trimmed from both ends of every line;
// - "[name]" opens a section: the name runs to the last ']' of the line,
//   without its blanks; a line starting with '[' but without ']' is an
//   ordinary line;
// - every other line that is not blank is a key line, "key=value": the key
//   is trimmed, the value loses its blanks; a line without '=' (a comment,
//   for one) is a key without a value;
// - only the first section of the name counts, and its first line of the
//   key; names and values end at a NUL character.
// Reading a number: the value is copied into a buffer of 30 characters (29
// and the end), losing a pair of enclosing quotes; an empty copy gives the
// fallback. Then leading characters up to the blank are skipped, one sign, a
// prefix 0x, 0o or 0b (lower case) for base 16, 8 or 2, and the digits of
// that base as far as they go, wrapping modulo 2^32.
// Reading goes through the text once for all the keys asked for.
// Writing keeps the file as Windows does (Wine rewrites it whole in a layout
// of its own): a key's line keeps its text up to its '=' and its own line
// end; an added line ends with CRLF (see AddedLineEnd for the exception).

namespace {

int IsBlank(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A;
}

unsigned char Lower(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// A range of bytes [begin, end) of the text.
struct Span {
    size_t begin;
    size_t end;
};

struct Text {
    const unsigned char* bytes;
    size_t length;
    size_t start;          // past a byte-order mark
    size_t lineFeedsEnd;   // just past the last '\n'; lines starting before it end at '\n'
    size_t firstTailReturn;  // the first '\r' past the last '\n': a line end there
};

Text Open(const char* text, size_t length)
{
    Text open{reinterpret_cast<const unsigned char*>(text), length, 0, 0, length};
    const unsigned char* bytes = open.bytes;
    if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        open.start = 3;
    open.lineFeedsEnd = open.start;
    for (size_t i = length; i > open.start; --i) {
        if (bytes[i - 1] == '\n') {
            open.lineFeedsEnd = i;
            break;
        }
    }
    for (size_t i = open.lineFeedsEnd; i < length; ++i) {
        if (bytes[i] == '\r') {
            open.firstTailReturn = i;
            break;
        }
    }
    return open;
}

Span Trimmed(const Text& text, Span span)
{
    while (span.begin < span.end && IsBlank(text.bytes[span.begin]))
        ++span.begin;
    while (span.end > span.begin && IsBlank(text.bytes[span.end - 1]))
        --span.end;
    return span;
}

// Names and values are kept as C strings: they end at a NUL character.
Span UpToNul(const Text& text, Span span)
{
    for (size_t i = span.begin; i < span.end; ++i) {
        if (text.bytes[i] == 0)
            return Span{span.begin, i};
    }
    return span;
}

int SameName(const Text& text, Span span, const char* name)
{
    span = UpToNul(text, span);
    size_t i = span.begin;
    for (; *name; ++name, ++i) {
        if (i == span.end || Lower(text.bytes[i]) != Lower(static_cast<unsigned char>(*name)))
            return 0;
    }
    return i == span.end;
}

enum LineKind { BlankLine, SectionLine, KeyLine };

struct Line {
    LineKind kind;
    size_t lineEnd;  // where its "\r\n", "\n" or "\r" begins (the text's end when it has none)
    size_t next;     // where the next line begins
    Span name;       // of a section, or the key
    int hasValue;    // a key line with '='
    size_t kept;     // a key line's text up to and including its '=', or its key when it has none
    Span value;
};

// The line that begins at `start`. The scan stops at the line's own end, so
// reading a whole text takes one pass over it. Blanks before the line's text,
// blank lines among them, are passed over at once: from any of them the
// text and its end are the same.
Line ReadLine(const Text& text, size_t start)
{
    const unsigned char* bytes = text.bytes;
    while (start < text.length && IsBlank(bytes[start]))
        ++start;
    const unsigned char ending = start < text.lineFeedsEnd ? '\n' : '\r';
    size_t stop = start;
    while (stop < text.length && bytes[stop] != ending)
        ++stop;
    Line line{};
    line.next = stop < text.length ? stop + 1 : stop;
    line.lineEnd = ending == '\n' && stop > start && bytes[stop - 1] == '\r' ? stop - 1 : stop;
    const Span trimmed = Trimmed(text, Span{start, stop});
    if (trimmed.begin == trimmed.end) {
        line.kind = BlankLine;
        return line;
    }
    if (bytes[trimmed.begin] == '[') {
        size_t close = trimmed.end - 1;
        while (close > trimmed.begin && bytes[close] != ']')
            --close;
        if (close > trimmed.begin) {
            line.kind = SectionLine;
            line.name = Trimmed(text, Span{trimmed.begin + 1, close});
            return line;
        }
    }
    line.kind = KeyLine;
    size_t equals = trimmed.begin;
    while (equals < trimmed.end && bytes[equals] != '=')
        ++equals;
    line.name = Trimmed(text, Span{trimmed.begin, equals});
    line.hasValue = equals < trimmed.end;
    line.kept = line.hasValue ? equals + 1 : line.name.end;
    if (line.hasValue)
        line.value = Trimmed(text, Span{equals + 1, trimmed.end});
    return line;
}

constexpr size_t ValueBufferSize = 30;

int IsValueBlank(unsigned char c)
{
    return c <= ' ';
}

// A value may carry a base prefix, and digits beyond 32 bits wrap around.
constexpr NumberStyle ValueNumberStyle = {IsValueBlank, 1, 0};

// The value as the platform's buffer receives it, read as a number.
int ValueNumber(const Text& text, Span value, int fallback)
{
    value = UpToNul(text, value);
    size_t length = value.end - value.begin;
    int quoted = 0;
    if (length >= 2) {
        const unsigned char first = text.bytes[value.begin];
        if ((first == '"' || first == '\'') && text.bytes[value.end - 1] == first) {
            quoted = 1;
            ++value.begin;
            --length;
        }
    }
    size_t copied = length < ValueBufferSize - 1 ? length : ValueBufferSize - 1;
    // The closing quote goes when the value (without the opening one) fits
    // the buffer's size, terminator counted: then the copy's last character
    // is dropped, which is the quote, or a digit when it fitted only just.
    if (quoted && ValueBufferSize >= length && copied > 0)
        --copied;
    if (copied == 0)
        return fallback;
    return ReadNumber(text.bytes + value.begin, copied, ValueNumberStyle);
}

// Reading and writing keep one bit for each value.
constexpr int MaxValues = 32;

uint32_t AllOf(int count)
{
    return count == MaxValues ? ~uint32_t{0} : (uint32_t{1} << count) - 1;
}

// The text being written, cut off when it would not fit.
struct Out {
    char* bytes;
    size_t capacity;
    size_t length;
    int full;
};

void Put(Out* out, const unsigned char* from, size_t count)
{
    if (count > out->capacity - out->length) {
        out->full = 1;
        return;
    }
    for (size_t i = 0; i < count; ++i)
        out->bytes[out->length++] = static_cast<char>(from[i]);
}

size_t Length(const char* text)
{
    size_t length = 0;
    while (text[length])
        ++length;
    return length;
}

void PutText(Out* out, const char* text)
{
    Put(out, reinterpret_cast<const unsigned char*>(text), Length(text));
}

constexpr char LongestNumber[] = "-2147483648";

// "%d": signed decimal without leading zeros or blanks.
void PutNumber(Out* out, int value)
{
    unsigned char digits[sizeof LongestNumber];
    size_t first = sizeof digits;
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[--first] = static_cast<unsigned char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        digits[--first] = '-';
    Put(out, digits + first, sizeof digits - first);
}

// The line end of a line added at `at`: CRLF, except where the lines before
// end at '\r' alone, past the text's last '\n'. A '\n' there would join
// them into one line for the reader.
const char* AddedLineEnd(const Text& text, size_t at)
{
    return text.firstTailReturn < at ? "\r" : "\r\n";
}

// A line added at `at` first needs a line end for the line before it.
int EndsUnfinishedLine(const Text& text, size_t at)
{
    return at > text.start && text.bytes[at - 1] != '\n' && text.bytes[at - 1] != '\r';
}

}  // namespace

void ProfileTextInts(const char* text, size_t length, const char* section, ProfileInt* values, int count)
{
    if (count < 0 || count > MaxValues)
        return;
    const Text open = Open(text, length);
    int inSection = 0;
    uint32_t met = 0;  // one bit for each key whose line has been met
    for (size_t at = open.start; at < open.length && met != AllOf(count);) {
        const Line line = ReadLine(open, at);
        at = line.next;
        if (line.kind == SectionLine) {
            // Past the first section of that name: the keys not met are not there.
            if (inSection)
                return;
            inSection = SameName(open, line.name, section);
            continue;
        }
        if (line.kind != KeyLine || !inSection)
            continue;
        for (int i = 0; i < count; ++i) {
            const uint32_t bit = uint32_t{1} << i;
            if ((met & bit) || !SameName(open, line.name, values[i].key))
                continue;
            met |= bit;
            // A key without a value reads as missing.
            if (line.hasValue)
                values[i].value = ValueNumber(open, line.value, values[i].value);
            break;
        }
    }
}

size_t ProfileTextGrowth(const char* section, const ProfileInt* values, int count)
{
    const size_t lineEnd = 2;
    size_t growth = lineEnd + Length(section) + 2 + lineEnd;
    for (int i = 0; i < count; ++i)
        growth += Length(values[i].key) + 1 + Length(LongestNumber) + lineEnd;
    return growth;
}

int WriteProfileTextInts(const char* text, size_t length, const char* section, const ProfileInt* values,
                         int count, char* out, size_t capacity)
{
    if (count < 0 || count > MaxValues)
        return -1;
    const size_t largest = 0x7FFFFFFF;
    Out result{out, capacity < largest ? capacity : largest, 0, 0};
    const Text open = Open(text, length);
    uint32_t replaced = 0;  // one bit for each value whose key line was found
    size_t copied = 0;      // the text is in `result` up to here
    int found = 0;          // the section
    size_t insertAt = 0;    // after the section's last key line, or after its header
    for (size_t at = open.start; at < open.length;) {
        const Line line = ReadLine(open, at);
        at = line.next;
        if (line.kind == SectionLine) {
            if (found)
                break;
            found = SameName(open, line.name, section);
            insertAt = line.next;
            continue;
        }
        if (!found || line.kind != KeyLine)
            continue;
        insertAt = line.next;
        for (int i = 0; i < count; ++i) {
            const uint32_t bit = uint32_t{1} << i;
            if ((replaced & bit) || !SameName(open, line.name, values[i].key))
                continue;
            Put(&result, open.bytes + copied, line.kept - copied);
            if (!line.hasValue)
                PutText(&result, "=");
            PutNumber(&result, values[i].value);
            copied = line.lineEnd;
            replaced |= bit;
            break;
        }
    }
    if (replaced != AllOf(count)) {
        if (!found)
            insertAt = open.length;
        Put(&result, open.bytes + copied, insertAt - copied);
        copied = insertAt;
        const char* lineEnd = AddedLineEnd(open, insertAt);
        if (EndsUnfinishedLine(open, insertAt))
            PutText(&result, lineEnd);
        if (!found) {
            PutText(&result, "[");
            PutText(&result, section);
            PutText(&result, "]");
            PutText(&result, lineEnd);
        }
        for (int i = 0; i < count; ++i) {
            if (replaced & (uint32_t{1} << i))
                continue;
            PutText(&result, values[i].key);
            PutText(&result, "=");
            PutNumber(&result, values[i].value);
            PutText(&result, lineEnd);
        }
    }
    Put(&result, open.bytes + copied, open.length - copied);
    return result.full ? -1 : static_cast<int>(result.length);
}

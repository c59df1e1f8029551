// The look at a strip file's headers before it is loaded: whole files pass,
// files whose pixel data is cut short or whose headers lie do not.
#include <gtest/gtest.h>

#include <string>

#include "render/bitmap_file_check.h"

namespace {

void Put(std::string& bytes, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Headers of an uncompressed bitmap with the pixel data right after them.
std::string Headers(int32_t width, int32_t height, int bits, uint32_t paletteBytes = 0)
{
    std::string bytes(54, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put(bytes, 10, 54 + paletteBytes, 4);
    Put(bytes, 14, 40, 4);
    Put(bytes, 18, static_cast<uint32_t>(width), 4);
    Put(bytes, 22, static_cast<uint32_t>(height), 4);
    Put(bytes, 26, 1, 2);
    Put(bytes, 28, static_cast<uint32_t>(bits), 2);
    return bytes;
}

int Check(const std::string& head, uint64_t fileSize)
{
    return BitmapFileIsWhole(reinterpret_cast<const unsigned char*>(head.data()), head.size(),
                             fileSize);
}

}  // namespace

TEST(BitmapFileCheck, UncompressedFilesPassOnlyWithAllTheirRows)
{
    struct Case {
        int32_t width, height;
        int bits;
        uint32_t palette;
        uint64_t pixelBytes;  // rows padded to 32 bits
    } cases[] = {
        {448, 16, 8, 1024, 448 * 16},
        {448, 16, 24, 0, 1344 * 16},
        {448, 16, 32, 0, 1792 * 16},
        {448, 16, 1, 8, 56 * 16},
        {448, 16, 4, 64, 224 * 16},
        {1, 1, 24, 0, 4},
        {15, 16, 24, 0, 48 * 16},
        {448, -16, 24, 0, 1344 * 16},  // top-down
    };
    for (const Case& c : cases) {
        const std::string head = Headers(c.width, c.height, c.bits, c.palette);
        const uint64_t whole = 54 + c.palette + c.pixelBytes;
        EXPECT_EQ(Check(head, whole), 1) << c.width << "x" << c.height << "@" << c.bits;
        EXPECT_EQ(Check(head, whole + 100), 1) << "trailing bytes are harmless";
        EXPECT_EQ(Check(head, whole - 1), 0) << c.width << "x" << c.height << "@" << c.bits;
        EXPECT_EQ(Check(head, whole / 2), 0) << c.width << "x" << c.height << "@" << c.bits;
    }
}

TEST(BitmapFileCheck, HeadersThatLieOrAreMissingFail)
{
    EXPECT_EQ(Check(std::string(), 0), 0);
    EXPECT_EQ(Check("BM", 2), 0);
    EXPECT_EQ(Check(std::string("Hello, world: not a bitmap at all, but long enough to read"), 58), 0);

    std::string offsetBeyondEnd = Headers(448, 16, 24);
    Put(offsetBeyondEnd, 10, 0x7FFFFFFF, 4);
    EXPECT_EQ(Check(offsetBeyondEnd, 54 + 1344 * 16), 0);

    std::string hugeSize = Headers(100000, 100000, 32);
    EXPECT_EQ(Check(hugeSize, 1 << 20), 0);

    EXPECT_EQ(Check(Headers(0, 16, 24), 1 << 20), 0);
    EXPECT_EQ(Check(Headers(-448, 16, 24), 1 << 20), 0);
    EXPECT_EQ(Check(Headers(448, 0, 24), 1 << 20), 0);
    EXPECT_EQ(Check(Headers(448, 16, 0), 1 << 20), 0);

    std::string cutHeader = Headers(448, 16, 24).substr(0, 30);
    EXPECT_EQ(Check(cutHeader, 30), 0);
}

TEST(BitmapFileCheck, CompressedDataIsMeasuredByItsStatedSize)
{
    std::string rle = Headers(448, 16, 8, 1024);
    Put(rle, 30, 1, 4);      // run-length encoded, 8 bits
    Put(rle, 34, 2000, 4);   // its data size
    EXPECT_EQ(Check(rle, 54 + 1024 + 2000), 1);
    EXPECT_EQ(Check(rle, 54 + 1024 + 1999), 0);
}

TEST(BitmapFileCheck, OldStyleCoreHeader)
{
    std::string core(26, '\0');
    core[0] = 'B';
    core[1] = 'M';
    Put(core, 10, 26 + 3 * 256, 4);
    Put(core, 14, 12, 4);
    Put(core, 18, 448, 2);
    Put(core, 20, 16, 2);
    Put(core, 22, 1, 2);
    Put(core, 24, 8, 2);
    EXPECT_EQ(Check(core, 26 + 768 + 448 * 16), 1);
    EXPECT_EQ(Check(core, 26 + 768 + 448 * 15), 0);
}
